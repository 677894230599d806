#include "link/device_link.h"

#include "link/sim/simulated_light.h"
#include "shell/whole_data.h"
#include "support/fake_clock.h"
#include "support/fake_process_list.h"

#include <QLoggingCategory>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <functional>
#include <sstream>
#include <thread>

namespace quorlin {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using Kind = sim::SimulatedLight::CallKind;
using Call = sim::SimulatedLight::Call;
using Bytes = std::vector<std::uint8_t>;

Bytes fullReport(std::initializer_list<std::pair<std::size_t, std::uint8_t>> set)
{
    Bytes report(65, 0);
    for (auto [index, value] : set)
        report[index] = value;
    return report;
}

// The calls in order, as kind letter and interface: "R0 W0 W1 F" (F: list freed).
std::string trail(const std::vector<Call>& calls)
{
    std::string out;
    for (const Call& c : calls)
        out += (out.empty() ? "" : " ") + std::string(1, "IXEFOWRC"[static_cast<int>(c.kind)])
               + (c.interfaceIndex < 0 ? "" : std::to_string(c.interfaceIndex));
    return out;
}

class DeviceLinkTest : public ::testing::Test {
protected:
    // Sleeps take a thousandth of their time for real, so threaded cases do not spin.
    test::FakeClock clock{0.001};
    test::FakeProcessList processes;
    CWholeData data{processes};
    sim::SimulatedLight light{clock};
    std::ostringstream out, err;
    DeviceLink link{data, light, clock, out, err};

    DeviceLinkTest() { data.setLinkBusyUsable(0, 1); }
    void TearDown() override
    {
        light.setCallObserver({});
        link.closeDevices();
        EXPECT_EQ(light.openHandleCount(), 0);
        EXPECT_EQ(light.liveEnumerationCount(), 0);
        EXPECT_THAT(light.misuses(), IsEmpty());
    }
    void connect(int interfaces)
    {
        light.setInterfaceCount(interfaces);
        ASSERT_EQ(link.openDevices(), 1);
        light.clearCalls();
        clock.clearSleeps();
    }
    std::string writes() const { return trail(light.calls(Kind::Write)); }
};

TEST_F(DeviceLinkTest, OpenFailuresAreExplainedOnceAndAPartialOpenIsAConnection)
{
    light.unplug();
    EXPECT_EQ(link.openDevices(), 0);
    EXPECT_EQ(out.str(), "cannot enumerate dev!\n");
    light.plug();
    light.setInterfaceCount(2);
    light.failOpen(0, EACCES);
    light.failOpen(1, EACCES);
    EXPECT_EQ(link.openDevices(), 0);
    EXPECT_EQ(out.str(), "cannot enumerate dev!\ncannot open dev!\ncannot open dev!\n");
    const std::string explained = err.str();
    EXPECT_EQ(link.openDevices(), 0);
    EXPECT_EQ(err.str(), explained) << "explained once per link";
    EXPECT_TRUE(data.deviceHandles.empty() && data.deviceInfos.empty());
    EXPECT_EQ(light.liveEnumerationCount(), 0) << "the list goes back at once";
    EXPECT_THAT(explained, HasSubstr("70-quorlin.rules")) << "the fix for a permission error";

    std::ostringstream otherErr;
    DeviceLink other(data, light, clock, out, otherErr);
    light.failOpen(0, EBUSY);
    light.failOpen(1, EBUSY);
    EXPECT_EQ(other.openDevices(), 0);
    EXPECT_THAT(otherErr.str(), HasSubstr(std::strerror(EBUSY)));
    EXPECT_EQ(otherErr.str().find("udev"), std::string::npos) << "no udev advice for a busy device";

    light.failOpen(0, 0);
    connect(2);
    ASSERT_EQ(data.deviceHandles.size(), 2u);
    EXPECT_EQ(data.deviceHandles[1], nullptr) << "the unopened interface keeps its place";
    EXPECT_EQ(link.queryStatus(), 0);
    EXPECT_THAT(light.calls(), IsEmpty()) << "a query needs every interface";
    data.settings.brightnessLevel = 3;
    EXPECT_EQ(link.writeSettings(0), 1);
    EXPECT_EQ(writes(), "W0") << "writes skip the missing interface";
}

TEST_F(DeviceLinkTest, SettingsGoWholeToEveryInterfaceUnlessTheLauncherRunsOrTheLinkIsHeldOff)
{
    connect(3);
    processes.launcherRunning = true;
    data.settings.brightnessLevel = 5;
    EXPECT_EQ(link.writeSettings(0), 0);
    EXPECT_EQ(link.queryStatus(), 0);
    EXPECT_EQ(link.lastSent, SettingBytes{}) << "no report is built while the launcher runs";
    processes.launcherRunning = false;
    data.setLinkBusyUsable(0, 0);
    EXPECT_EQ(link.writeSettings(0), 1);
    EXPECT_EQ(link.queryStatus(), 0);
    EXPECT_THAT(light.calls(), IsEmpty());

    data.setLinkBusyUsable(0, 1);
    clock.clearSleeps();
    EXPECT_EQ(link.writeSettings(0), 1);
    EXPECT_THAT(light.calls(), IsEmpty()) << "a report dropped while held off counts as sent";
    data.settings.losCalc = 1;
    data.operationMode = 1;
    EXPECT_EQ(link.writeSettings(0), 1);
    EXPECT_EQ(writes(), "W0 W1 W2");
    for (const Call& w : light.calls(Kind::Write))
        EXPECT_EQ(w.bytes, fullReport({{1, 0x11}, {4, 5}, {10, 1}, {14, 2}, {15, 1}}));
    EXPECT_THAT(clock.sleeps(), ElementsAre(40, 40)) << "each write leads with a pause";

    link.closeDevices();
    light.clearCalls();
    data.settings.brightnessLevel = 7;
    EXPECT_EQ(link.writeSettings(0), 1) << "empty lists";
    EXPECT_EQ(link.queryStatus(), 0) << "empty lists";
    EXPECT_THAT(light.calls(), IsEmpty());
}

TEST_F(DeviceLinkTest, StatusQueryDrainsStaleInputThenReadsTheFirstReplyBeforeTheOtherRequests)
{
    connect(3);
    // Two stale replies, valid-looking (mark 15) but with another brightness.
    light.queueInput(0, Bytes(17, 15));
    light.queueInput(0, Bytes(17, 15));
    EXPECT_EQ(link.queryStatus(), 65);

    const auto calls = light.calls();
    ASSERT_EQ(trail(calls), "R0 R0 R0 W0 R0 W1 W2");
    for (std::size_t i : {0u, 1u, 2u})
        EXPECT_EQ(calls[i].timeoutMs, 0) << "draining never waits";
    EXPECT_EQ(calls[4].timeoutMs, DeviceLink::kReplyTimeoutMs);
    EXPECT_EQ(calls[4].timeMs - calls[3].timeMs, 40) << "the reply is read 40 ms after the request";
    for (std::size_t i : {3u, 5u, 6u})
        EXPECT_EQ(calls[i].bytes, fullReport({{1, 0x12}, {2, 0x01}})) << "request " << i;
    EXPECT_THAT(clock.sleeps(), ElementsAre(10, 40, 10));
    EXPECT_EQ(data.settings.brightnessLevel, defaultSettings[2]) << "the answer comes from the light";
}

TEST_F(DeviceLinkTest, WrongMarkMissingReplyOrVanishedLightStopsTheQueryAfterAPause)
{
    connect(2);
    const std::function<void()> faults[] = {
        [&] { light.setReplyMark(0x0E); },
        [&] { light.setReplyMark(kReplyMark); light.withholdReplies(true); },
        [&] {
            light.withholdReplies(false);
            light.setCallObserver([&](const Call& c) { if (c.kind == Kind::Write) light.unplug(); });
        },
    };
    const std::vector<int> sleeps[] = {{10, 40, 100}, {10, 40, DeviceLink::kReplyTimeoutMs, 100}, {10, 40, 100}};
    for (unsigned i = 0; i < 3; ++i) {
        faults[i]();
        light.clearCalls();
        clock.clearSleeps();
        EXPECT_EQ(link.queryStatus(), 0) << "fault " << i;
        EXPECT_EQ(writes(), "W0") << "the query stops at the first interface, fault " << i;
        EXPECT_EQ(clock.sleeps(), sleeps[i]) << "fault " << i;
        EXPECT_EQ(link.bReadCnt[1], i + 1) << "counted as rejected, fault " << i;
    }
    EXPECT_EQ(link.bReadCnt[0], 3u);
    EXPECT_EQ(data.settings.brightnessLevel, 0) << "no rejected reply is applied";
}

TEST_F(DeviceLinkTest, CloseGoesInListOrderWithSettleTimeAndReleasesTheListOnce)
{
    connect(3);
    EXPECT_EQ(link.closeDevices(), 0);
    const auto calls = light.calls();
    ASSERT_EQ(trail(calls), "C0 C1 C2 F");
    for (std::size_t i = 1; i < calls.size(); ++i)
        EXPECT_EQ(calls[i].timeMs - calls[i - 1].timeMs, 10) << "settle time before call " << i;
    EXPECT_THAT(clock.sleeps(), ElementsAre(10, 10, 10, 10)) << "and after the list is freed";
    EXPECT_TRUE(data.deviceHandles.empty() && data.deviceInfos.empty());
    light.clearCalls();
    EXPECT_EQ(link.closeDevices(), 0);
    EXPECT_THAT(light.calls(), IsEmpty()) << "a second close frees nothing twice";
}

TEST_F(DeviceLinkTest, SendWaitsForReadyAndHoldsPollingOffWhileWriting)
{
    connect(1);
    data.linkReady = 0;
    data.pollEnabled = 1;
    std::atomic<std::uint32_t> pollDuringWrite{99};
    light.setCallObserver([&](const Call&) { pollDuringWrite = data.pollEnabled.load(); });
    data.settings.brightnessLevel = 8;
    std::thread sender([&] { EXPECT_EQ(link.sendSettings(0), 1); });
    while (clock.sleptMs() < 30)
        std::this_thread::yield();
    data.linkReady = 1;
    sender.join();
    EXPECT_EQ(pollDuringWrite, 0u);
    EXPECT_EQ(data.pollEnabled, 1u);
    EXPECT_EQ(clock.sleeps().back(), 40) << "the settings lead follows the wait";
}

TEST_F(DeviceLinkTest, WritesRacingReconnectsNeverTouchAClosedHandle)
{
    light.setInterfaceCount(3);
    std::atomic<bool> stop{false};
    std::thread writer([&] {
        for (std::uint8_t level = 0; !stop; ++level) {
            data.settings.brightnessLevel = level;
            link.writeSettings(0);
        }
    });
    for (int i = 0; i < 150; ++i) {
        link.openDevices();
        std::this_thread::sleep_for(std::chrono::microseconds(200));
        link.closeDevices();
    }
    stop = true;
    writer.join();
    const auto calls = light.calls(Kind::Write);
    EXPECT_FALSE(calls.empty()) << "the writer never met an open list";
    for (const Call& w : calls)
        EXPECT_EQ(w.result, 65);
}

}  // namespace
}  // namespace quorlin
