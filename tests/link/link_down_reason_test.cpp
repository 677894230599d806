// Why the link is not connected, as the transport and the worker record it for the
// window: set by the attempt that found it, replaced by the next one.
#include "link/device_link.h"
#include "link/link_window.h"
#include "link/link_worker.h"
#include "link/sim/simulated_light.h"
#include "shell/whole_data.h"
#include "support/fake_clock.h"
#include "support/fake_process_list.h"
#include "support/locked_stream.h"
#include "support/memory_profile_store.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace quorlin {
namespace {

class NoWindow final : public LinkWindow {
public:
    void ShowConnectionState(bool) override {}
    void RefreshFromDevice() override {}
    std::atomic<std::uint32_t>& threadRunFlag() override { return run; }
    std::atomic<std::uint32_t> run{1};
};

class LinkDownReasonTest : public ::testing::Test {
protected:
    test::FakeClock clock{0.0};
    sim::SimulatedLight light{clock, 2};
    test::FakeProcessList processes;
    test::MemoryProfileStore profiles;
    CWholeData data{processes, profiles};
    test::LockedStream out;
    test::LockedStream err;
    DeviceLink link{data, light, clock, out, err};
    LinkWorker worker{data, link, light, clock};
    NoWindow window;

    LinkDownReasonTest() { data.setLinkBusyUsable(0, 1); }
    void TearDown() override { link.closeDevices(); }
    LinkDownReason reason() const { return link.down().reason; }
};

TEST_F(LinkDownReasonTest, ALightThatWillNotOpenKeepsThePermissionErrorOverOthers)
{
    light.failOpen(0, EIO);
    light.failOpen(1, EACCES);
    EXPECT_EQ(link.openDevices(), 0);
    EXPECT_EQ(reason(), LinkDownReason::NotOpenable);
    EXPECT_EQ(link.down().openError, EACCES) << "the error that has a fix is the one explained";
}

TEST_F(LinkDownReasonTest, OneOpenedInterfaceClearsTheReason)
{
    light.unplug();
    link.openDevices();
    light.plug();
    light.failOpen(1, EACCES);
    EXPECT_EQ(link.openDevices(), 1);
    EXPECT_EQ(reason(), LinkDownReason::None);
    EXPECT_EQ(link.down().openError, 0);
}

TEST_F(LinkDownReasonTest, AReconnectHeldOffByTheLauncherSaysSoWithoutLookingForTheLight)
{
    processes.launcherRunning = true;
    worker.reconnectDevice(window);
    EXPECT_EQ(reason(), LinkDownReason::LauncherRunning);
    EXPECT_TRUE(light.calls(sim::SimulatedLight::CallKind::Enumerate).empty());
}

TEST_F(LinkDownReasonTest, APollingPassFollowsTheLauncherBothWays)
{
    ASSERT_EQ(link.openDevices(), 1);
    data.reconnectRequested = 0;
    data.pollEnabled = 1;
    std::vector<LinkDownReason> seen;
    int passes = 0;
    // One pass with the launcher, one without; the reason is read at each pass's end.
    struct PassClock final : test::FakeClock {
        std::function<void(int)> hook;
        void sleepMs(int ms) override
        {
            if (hook)
                hook(ms);
        }
    } passClock;
    LinkWorker polling{data, link, light, passClock};
    processes.launcherRunning = true;
    passClock.hook = [&](int ms) {
        if (ms != LinkWorker::kPassMs)
            return;
        seen.push_back(reason());
        processes.launcherRunning = false;
        if (++passes == 2)
            window.run = 0;
    };
    polling.linkWorkerProc(window);
    EXPECT_EQ(seen, (std::vector{LinkDownReason::LauncherRunning, LinkDownReason::None}));
}

}  // namespace
}  // namespace quorlin
