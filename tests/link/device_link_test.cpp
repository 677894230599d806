#include "link/device_link.h"

#include "link/sim/simulated_light.h"
#include "shell/whole_data.h"
#include "support/fake_clock.h"
#include "support/fake_process_list.h"
#include "support/memory_profile_store.h"

#include <gmock/gmock.h>

#include <cerrno>
#include <cstring>
#include <sstream>
#include <thread>

namespace quorlin {
namespace {

using namespace ::testing;
using Kind = sim::SimulatedLight::CallKind;
using Call = sim::SimulatedLight::Call;

std::vector<std::uint8_t> fullReport(std::initializer_list<std::pair<std::size_t, std::uint8_t>> set)
{
    std::vector<std::uint8_t> report(65, 0);
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

// Says which error it was asked about, so a test sees that and when it was asked.
struct RecordingAdvice final : OpenFailureAdvice {
    void write(std::ostream& out, int error) const override { out << "advice for " << error << "\n"; }
};

class DeviceLinkTest : public Test {
protected:
    // Sleeps take a thousandth of their time for real, so threaded cases do not spin.
    test::FakeClock clock{0.001};
    test::FakeProcessList processes;
    test::MemoryProfileStore profiles;
    CWholeData data{processes, profiles};
    sim::SimulatedLight light{clock};
    std::ostringstream out, err;
    RecordingAdvice advice;
    DeviceLink link{data, light, clock, out, err, advice};

    DeviceLinkTest() { data.setLinkBusyUsable(0, 1); }
    void TearDown() override
    {
        light.setCallObserver({});
        link.closeDevices();  // a second close must free nothing twice
        EXPECT_EQ(std::pair(light.openHandleCount(), light.liveEnumerationCount()), std::pair(0, 0));
        EXPECT_THAT(light.misuses(), IsEmpty());
    }
    void connect(int interfaces)
    {
        light.setInterfaceCount(interfaces);
        ASSERT_EQ(link.openDevices(), 1);
        forget();
    }
    void forget() { light.clearCalls(), clock.clearSleeps(); }
    std::string writes() const { return trail(light.calls(Kind::Write)); }
    std::pair<int, int> writeAndQuery() { return {link.writeSettings(0), link.queryStatus()}; }
};

TEST_F(DeviceLinkTest, OpenFailuresAreExplainedOnceAndAPartialOpenIsAConnection)
{
    light.unplug();
    EXPECT_EQ(link.openDevices(), 0);
    light.plug();
    light.setInterfaceCount(2);
    for (int i : {0, 1})
        light.failOpen(i, EACCES);
    EXPECT_EQ(link.openDevices(), 0);
    EXPECT_EQ(out.str(), "cannot enumerate dev!\ncannot open dev!\ncannot open dev!\n");
    const std::string explained = err.str();
    EXPECT_EQ(link.openDevices(), 0);
    EXPECT_EQ(err.str(), explained) << "explained once per link";
    EXPECT_EQ(light.liveEnumerationCount(), 0) << "the list goes back at once";
    EXPECT_THAT(explained, HasSubstr("advice for " + std::to_string(EACCES) + "\n")) << "the system's advice follows";

    std::ostringstream otherErr;
    DeviceLink other(data, light, clock, out, otherErr, advice);
    for (int i : {0, 1})
        light.failOpen(i, EBUSY);
    EXPECT_EQ(other.openDevices(), 0);
    EXPECT_THAT(otherErr.str(), AllOf(HasSubstr(std::strerror(EBUSY)), HasSubstr("advice for " + std::to_string(EBUSY))));

    light.failOpen(0, 0);
    connect(2);
    ASSERT_EQ(data.deviceHandles.size(), 2u) << "no handles left from the failed opens";
    EXPECT_EQ(data.deviceHandles[1], nullptr) << "the unopened interface keeps its place";
    EXPECT_EQ(link.queryStatus(), 0);
    EXPECT_THAT(light.calls(), IsEmpty()) << "a query needs every interface";
    data.settings.brightnessLevel = 3;
    EXPECT_EQ(link.writeSettings(0), 1);
    EXPECT_EQ(writes(), "W0") << "writes skip the missing interface";
}

TEST_F(DeviceLinkTest, ALightThatWillNotOpenIsRecordedWithThePermissionErrorOverOthers)
{
    light.setInterfaceCount(2);
    light.failOpen(0, EIO);
    light.failOpen(1, EACCES);
    EXPECT_EQ(link.openDevices(), 0);
    EXPECT_EQ(link.down().reason, LinkDownReason::NotOpenable);
    EXPECT_EQ(link.down().openError, EACCES) << "the error that has a fix is the one explained";
}

TEST_F(DeviceLinkTest, SettingsGoWholeToEveryInterfaceUnlessTheLauncherRunsOrTheLinkIsHeldOff)
{
    connect(3);
    processes.launcherRunning = true;
    data.settings.brightnessLevel = 5;
    EXPECT_EQ(writeAndQuery(), std::pair(0, 0));
    EXPECT_EQ(link.lastSent, SettingBytes{}) << "no report is built while the launcher runs";
    processes.launcherRunning = false;
    data.setLinkBusyUsable(0, 0);
    EXPECT_EQ(writeAndQuery(), std::pair(1, 0));
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
    EXPECT_THAT(clock.sleeps(), ElementsAre(40, 40));

    forget();
    EXPECT_EQ(link.closeDevices(), 0);
    const auto calls = light.calls();
    ASSERT_EQ(trail(calls), "C0 C1 C2 F") << "closed in list order";
    for (std::size_t i = 1; i < calls.size(); ++i)
        EXPECT_EQ(calls[i].timeMs - calls[i - 1].timeMs, 10) << "settle time before call " << i;
    EXPECT_THAT(clock.sleeps(), ElementsAre(10, 10, 10, 10)) << "and after the list is freed";
    EXPECT_TRUE(data.deviceHandles.empty() && data.deviceInfos.empty());
    data.settings.brightnessLevel = 7;
    EXPECT_EQ(writeAndQuery(), std::pair(1, 0)) << "empty lists";
    EXPECT_EQ(light.calls().size(), calls.size());
}

TEST_F(DeviceLinkTest, APathListedOncePerCollectionIsOpenedAndWrittenOnce)
{
    light.setCollectionCount(0, 3);
    light.setInterfaceCount(2);
    ASSERT_EQ(link.openDevices(), 1);
    EXPECT_EQ(trail(light.calls(Kind::Open)), "O0 O1");
    EXPECT_EQ(out.str(), "");
    forget();
    data.settings.brightnessLevel = 9;
    EXPECT_EQ(writeAndQuery(), std::pair(1, 65));
    EXPECT_EQ(writes(), "W0 W1 W0 W1") << "one report and one status request each";
}

TEST_F(DeviceLinkTest, StatusQueryDrainsStaleInputReadsTheFirstReplyAndStopsAtAnyFault)
{
    connect(3);
    for (int stale = 0; stale < 2; ++stale)  // valid-looking (mark 15) but with another brightness
        light.queueInput(0, std::vector<std::uint8_t>(17, 15));
    EXPECT_EQ(link.queryStatus(), 65);
    const auto calls = light.calls();
    ASSERT_EQ(trail(calls), "R0 R0 R0 W0 R0 W1 W2");
    EXPECT_THAT((std::vector{calls[0].timeoutMs, calls[1].timeoutMs, calls[2].timeoutMs}), Each(0)) << "draining";
    EXPECT_EQ(calls[4].timeoutMs, DeviceLink::kReplyTimeoutMs);
    EXPECT_EQ(calls[4].timeMs - calls[3].timeMs, 40) << "the reply is read 40 ms after the request";
    for (std::size_t i : {3u, 5u, 6u})
        EXPECT_EQ(calls[i].bytes, fullReport({{1, 0x12}, {2, 0x01}})) << "request " << i;
    EXPECT_THAT(clock.sleeps(), ElementsAre(10, 40, 10));
    EXPECT_EQ(data.settings.brightnessLevel, defaultSettings[2]) << "the answer comes from the light";

    data.settings.brightnessLevel = 0;
    unsigned rejected = 0;
    const auto expectRejected = [&](const std::vector<int>& sleeps) {
        forget();
        EXPECT_EQ(link.queryStatus(), 0);
        EXPECT_EQ(writes(), "W0") << "the query stops at the first interface";
        EXPECT_EQ(clock.sleeps(), sleeps);
        EXPECT_EQ(link.bReadCnt[1], ++rejected) << "counted as rejected";
    };
    light.setReplyMark(0x0E);
    expectRejected({10, 40, 100});
    light.setReplyMark(kReplyMark);
    light.withholdReplies(true);
    expectRejected({10, 40, DeviceLink::kReplyTimeoutMs, 100});
    light.withholdReplies(false);
    light.setCallObserver([&](const Call& c) { if (c.kind == Kind::Write) light.unplug(); });
    expectRejected({10, 40, 100});
    EXPECT_EQ(link.bReadCnt[0], 4u);
    EXPECT_EQ(data.settings.brightnessLevel, 0) << "no rejected reply is applied";
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
    EXPECT_EQ(std::pair(pollDuringWrite.load(), data.pollEnabled.load()), std::pair(0u, 1u)) << "off, then back";
    EXPECT_EQ(clock.sleeps().back(), 40) << "the settings lead follows the wait";
}

TEST_F(DeviceLinkTest, WritesRacingReconnectsNeverTouchAClosedHandle)
{
    light.setInterfaceCount(3);
    std::atomic<bool> stop{false};
    std::thread writer([&] {
        for (std::uint8_t level = 0; !stop; link.writeSettings(0))
            data.settings.brightnessLevel = ++level;
    });
    // A thread may take milliseconds to start and a short sleep may not sleep at all
    // (Windows): cycle until the writer has met open lists, within a bound.
    for (int i = 0; i < 150 || (i < 200000 && light.calls(Kind::Write).size() < 3); ++i) {
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
