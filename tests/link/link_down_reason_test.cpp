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

TEST_F(LinkDownReasonTest, AReconnectHeldOffByTheLauncherSaysSoWithoutLookingForTheLight)
{
    processes.launcherRunning = true;
    worker.reconnectDevice(window);
    EXPECT_EQ(reason(), LinkDownReason::LauncherRunning);
    EXPECT_TRUE(light.calls(sim::SimulatedLight::CallKind::Enumerate).empty());
}

}  // namespace
}  // namespace quorlin
