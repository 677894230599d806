#include "link/link_worker.h"

#include "link/device_link.h"
#include "link/link_window.h"
#include "link/sim/simulated_light.h"
#include "shell/whole_data.h"
#include "support/fake_clock.h"
#include "support/fake_process_list.h"
#include "support/memory_profile_store.h"
#include "support/locked_stream.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace quorlin {
namespace {

using sim::SimulatedLight;
using ::testing::ElementsAre;

// A clock whose sleeps drive the scenario: after each sleep the test's hook runs, on
// the worker's own thread, so a whole run is deterministic.
class ScriptClock : public test::FakeClock {
public:
    void sleepMs(int ms) override
    {
        FakeClock::sleepMs(ms);
        if (hook)
            hook(ms);
    }
    std::function<void(int)> hook;
};

// Records what the worker asked of the window, in order.
class RecordingWindow : public LinkWindow {
public:
    void ShowConnectionState(bool connected) override
    {
        events.push_back(connected ? "shown:connected" : "shown:disconnected");
    }
    void RefreshFromDevice() override { events.push_back("refresh"); }
    std::atomic<std::uint32_t>& threadRunFlag() override { return run; }

    int count(const std::string& event) const { return static_cast<int>(std::count(events.begin(), events.end(), event)); }

    std::vector<std::string> events;
    std::atomic<std::uint32_t> run{1};
};

class LinkWorkerTest : public ::testing::Test {
protected:
    ScriptClock clock;
    SimulatedLight light{clock, 2};
    test::FakeProcessList processes;
    test::MemoryProfileStore profiles;
    CWholeData data{processes, profiles};
    test::LockedStream out;
    test::LockedStream err;
    DeviceLink link{data, light, clock, out, err};
    LinkWorker worker{data, link, light, clock};
    RecordingWindow window;
    int passes = 0;

    void SetUp() override
    {
        // As the window starts the worker.
        data.pollEnabled = 1;
        data.linkReady = 1;
        data.reconnectRequested = 1;
        data.setLinkBusyUsable(0, 1);
    }

    // Runs the worker on this thread until `stopAfter` pass-ending 100 ms sleeps, with
    // `each` run after every sleep.
    void run(int stopAfter, std::function<void(int)> each = {})
    {
        clock.hook = [&, each](int ms) {
            if (each)
                each(ms);
            if (ms == LinkWorker::kPassMs && ++passes >= stopAfter)
                window.run = 0;
        };
        EXPECT_EQ(worker.linkWorkerProc(window), 1u);
    }
    int statusRequests() const
    {
        int n = 0;
        for (const auto& c : light.calls(SimulatedLight::CallKind::Write))
            n += c.bytes.size() > 1 && c.bytes[1] == kStatusCommand;
        return n;
    }
};

TEST_F(LinkWorkerTest, LightPresentConnectsOnceThenPollsEveryHundredMilliseconds)
{
    run(3);
    EXPECT_THAT(std::vector<std::string>(window.events.begin(), window.events.begin() + 3),
                ElementsAre("shown:disconnected", "refresh", "shown:connected"));
    EXPECT_EQ(window.count("shown:connected"), 1 + 3);
    EXPECT_EQ(statusRequests(), 2) << "one query, written to both interfaces";
    EXPECT_EQ(data.reconnectRequested, 0u);
    EXPECT_EQ(data.settings.setting10, 15) << "the reply was applied";
    const auto sleeps = clock.sleeps();
    EXPECT_THAT(std::vector<int>(sleeps.begin(), sleeps.begin() + 3), ElementsAre(50, 50, 10));
    EXPECT_EQ(light.openHandleCount() + light.liveEnumerationCount(), 0) << "the end of the loop closes the devices";
    EXPECT_EQ(light.calls(SimulatedLight::CallKind::Exit).size(), 1u);
}

TEST_F(LinkWorkerTest, HeldOffAndPausedPassesLeaveTheLightAndTheLauncherCheckAlone)
{
    run(4, [&](int ms) {
        if (ms != LinkWorker::kPassMs)
            return;
        data.linkBusy = passes == 0 ? 1 : 0;     // a removal is being handled
        data.pollEnabled = passes == 1 ? 0 : 1;  // a send is under way
    });
    // Checks: the reconnect, its query, the first poll, and the last poll only.
    EXPECT_EQ(processes.calls, 4);
    EXPECT_EQ(statusRequests(), 2);
    EXPECT_EQ(window.count("shown:disconnected"), 2) << "the reconnect's and the held-off pass's";
}

TEST_F(LinkWorkerTest, AReconnectHeldOffByTheLauncherRecordsWhyWithoutLookingForTheLight)
{
    processes.launcherRunning = true;
    worker.reconnectDevice(window);
    EXPECT_EQ(link.down().reason, LinkDownReason::LauncherRunning);
    EXPECT_TRUE(light.calls(SimulatedLight::CallKind::Enumerate).empty());
}

TEST_F(LinkWorkerTest, QuitAtTheTopOfAPassOrDuringAReconnectStillReleasesTheLight)
{
    light.setCallObserver([&](const SimulatedLight::Call& call) {
        if (call.kind == SimulatedLight::CallKind::Open)
            data.quitRequested = 1;
    });
    worker.reconnectDevice(window);
    EXPECT_EQ(light.openHandleCount(), 0) << "what the reconnect had just opened is closed again";
    EXPECT_EQ(data.reconnectRequested, 1u) << "an interrupted reconnect withdraws nothing";
    EXPECT_EQ(statusRequests(), 0);

    light.setCallObserver({});
    data.quitRequested = 0;
    run(2, [&](int ms) {
        if (ms == LinkWorker::kPassMs && passes == 0)
            data.quitRequested = 1;
    });
    EXPECT_EQ(light.openHandleCount() + light.liveEnumerationCount(), 0);
    EXPECT_EQ(light.calls(SimulatedLight::CallKind::Exit).size(), 1u);
}

}  // namespace
}  // namespace quorlin
