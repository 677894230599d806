// The one way senders pass the link worker, and the LOS_CALC pulse built on it.
#include "link/send_gate.h"

#include "link/device_link.h"
#include "link/sim/simulated_light.h"
#include "shell/whole_data.h"
#include "support/fake_clock.h"
#include "support/fake_process_list.h"
#include "support/memory_profile_store.h"

#include <gtest/gtest.h>

#include <sstream>

namespace quorlin {
namespace {

class SendGate : public ::testing::Test {
protected:
    test::FakeClock clock;
    test::FakeProcessList processes;
    test::MemoryProfileStore profiles;
    CWholeData data{processes, profiles};
    sim::SimulatedLight light{clock, 1};
    std::ostringstream out;
    DeviceLink link{data, light, clock, out, out};

    void SetUp() override
    {
        data.setLinkBusyUsable(0, 1);
        data.linkReady = 1;
        data.pollEnabled = 1;
        ASSERT_EQ(link.openDevices(), 1);
        light.clearCalls();
        clock.clearSleeps();
    }
    std::vector<int> losCalcWritten() const
    {
        std::vector<int> values;
        for (const auto& call : light.calls(sim::SimulatedLight::CallKind::Write))
            if (call.bytes.size() > 15 && call.bytes[1] == kSettingsCommand)
                values.push_back(call.bytes[15]);
        return values;
    }
};

TEST_F(SendGate, HoldsPollingOffOnlyWhileWriting)
{
    int pollWhileWriting = -1;
    EXPECT_EQ(sendThroughGate(data, clock, [&] { pollWhileWriting = data.pollEnabled; return 7; }), 7);
    EXPECT_EQ(pollWhileWriting, 0);
    EXPECT_EQ(data.pollEnabled, 1u);
    EXPECT_TRUE(clock.sleeps().empty()) << "an open gate costs no step";
}

TEST_F(SendGate, WaitsInStepsUntilTheLinkIsReady)
{
    data.linkReady = 0;
    int steps = 0;
    struct OpensAfterThree : Clock {
        CWholeData& data; int& steps;
        OpensAfterThree(CWholeData& d, int& s) : data(d), steps(s) {}
        void sleepMs(int ms) override { EXPECT_EQ(ms, kGateStepMs); if (++steps == 3) data.linkReady = 1; }
        std::int64_t nowMs() override { return 0; }
    } opening(data, steps);
    bool wrote = false;
    sendThroughGate(data, opening, [&] { wrote = data.linkReady == 1; return 1; });
    EXPECT_EQ(steps, 3);
    EXPECT_TRUE(wrote);
}

TEST_F(SendGate, PulseSends1Then0EachAfterAStepAndEndsWithAStep)
{
    EXPECT_EQ(losCalcPulse(data, clock, link, OnRefusal::Stop), -1);
    EXPECT_EQ(losCalcWritten(), (std::vector<int>{1, 0}));
    EXPECT_EQ(clock.sleeps(), (std::vector<int>{10, 40, 10, 40, 10}));
}

TEST_F(SendGate, ARefusedPulseStopsAtOnceWhenAskedTo)
{
    processes.launcherRunning = true;
    EXPECT_EQ(losCalcPulse(data, clock, link, OnRefusal::Stop), 1);
    EXPECT_EQ(clock.sleeps(), (std::vector<int>{10, 40}));
    EXPECT_TRUE(losCalcWritten().empty());
}

TEST_F(SendGate, ARefusedPulseGoesOnToLeaveLosCalcAt0)
{
    processes.launcherRunning = true;
    EXPECT_EQ(losCalcPulse(data, clock, link, OnRefusal::GoOn), 1);
    EXPECT_EQ(data.settings.losCalc, 0);
    EXPECT_EQ(clock.sleeps(), (std::vector<int>{10, 40, 10, 40, 10}));
}

}  // namespace
}  // namespace quorlin
