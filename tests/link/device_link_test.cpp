#include "link/device_link.h"

#include "link/sim/simulated_light.h"
#include "shell/whole_data.h"
#include "support/fake_clock.h"
#include "support/fake_process_list.h"

#include <QLoggingCategory>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <sstream>
#include <thread>

namespace quorlin {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
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

// (kind, interface) of each call, to check the order on the wire.
std::vector<std::pair<Kind, int>> trail(const std::vector<Call>& calls)
{
    std::vector<std::pair<Kind, int>> out;
    for (const Call& c : calls)
        out.emplace_back(c.kind, c.interfaceIndex);
    return out;
}

int count(const std::string& text, const std::string& part)
{
    int n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

class DeviceLinkTest : public ::testing::Test {
protected:
    test::FakeClock clock;
    test::FakeProcessList processes;
    CWholeData data{processes};
    sim::SimulatedLight light{clock};
    std::ostringstream out, err;
    DeviceLink link{data, light, clock, out, err};

    void SetUp() override
    {
        data.setLinkBusyUsable(0, 1);
        data.linkReady = 1;
    }
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
    std::vector<int> writtenInterfaces() const
    {
        std::vector<int> out;
        for (const Call& c : light.calls(Kind::Write))
            out.push_back(c.interfaceIndex);
        return out;
    }
};

TEST_F(DeviceLinkTest, SecondInterfaceThatWillNotOpenStaysAsNullAndBlocksQueries)
{
    light.failOpen(1, EIO);
    connect(2);
    ASSERT_EQ(data.deviceHandles.size(), 2u);
    EXPECT_NE(data.deviceHandles[0], nullptr);
    EXPECT_EQ(data.deviceHandles[1], nullptr);
    EXPECT_STREQ(data.deviceInfos[1]->path, sim::SimulatedLight::interfacePath(1).c_str());
    EXPECT_EQ(out.str(), "cannot open dev!\n");
    EXPECT_EQ(err.str(), "") << "a partial open is still a connection";

    EXPECT_EQ(link.queryStatus(), 0);
    EXPECT_THAT(light.calls(), IsEmpty());
    data.settings.brightnessLevel = 3;
    EXPECT_EQ(link.writeSettings(0), 1);
    EXPECT_THAT(writtenInterfaces(), ElementsAre(0));
}

TEST_F(DeviceLinkTest, NothingListedIsReportedAndLeavesEmptyLists)
{
    light.unplug();
    EXPECT_EQ(link.openDevices(), 0);
    EXPECT_EQ(out.str(), "cannot enumerate dev!\n");
    EXPECT_TRUE(data.deviceHandles.empty());
    EXPECT_TRUE(data.deviceInfos.empty());
}

TEST_F(DeviceLinkTest, ListedButUnopenableIsNoConnectionAndExplainedOnce)
{
    light.setInterfaceCount(2);
    light.failOpen(0, EACCES);
    light.failOpen(1, EACCES);
    EXPECT_EQ(link.openDevices(), 0);
    EXPECT_EQ(link.openDevices(), 0);
    EXPECT_TRUE(data.deviceHandles.empty());
    EXPECT_EQ(light.liveEnumerationCount(), 0) << "the list goes back at once";
    EXPECT_EQ(count(out.str(), "cannot open dev!\n"), 4);
    EXPECT_EQ(count(err.str(), "none of its HID interfaces could be opened"), 1);
    EXPECT_THAT(err.str(), HasSubstr("70-quorlin.rules"));
    EXPECT_THAT(err.str(), HasSubstr("/etc/udev/rules.d"));

    std::ostringstream otherErr;
    DeviceLink other(data, light, clock, out, otherErr);
    light.failOpen(0, EBUSY);
    light.failOpen(1, EBUSY);
    EXPECT_EQ(other.openDevices(), 0);
    EXPECT_THAT(otherErr.str(), HasSubstr(std::strerror(EBUSY)));
    EXPECT_THAT(otherErr.str(), Not(HasSubstr("udev")));
}

TEST_F(DeviceLinkTest, SettingsReportIsWrittenWholeToEveryInterface)
{
    connect(3);
    data.settings.brightnessLevel = 55;
    data.settings.losCalc = 1;
    data.operationMode = 1;
    EXPECT_EQ(link.writeSettings(0), 1);
    const Bytes expected = fullReport({{1, 0x11}, {4, 55}, {10, 1}, {14, 2}, {15, 1}});
    const auto writes = light.calls(Kind::Write);
    ASSERT_EQ(writes.size(), 3u);
    for (const Call& w : writes) {
        EXPECT_EQ(w.bytes, expected);
        EXPECT_EQ(w.result, 65);
    }
    EXPECT_THAT(writtenInterfaces(), ElementsAre(0, 1, 2));
    EXPECT_THAT(clock.sleeps(), ElementsAre(40));
    EXPECT_EQ(light.settings()[2], 55);
}

TEST_F(DeviceLinkTest, UnchangedReportIsSuppressedAlsoWhenTheHeldOffLinkDroppedIt)
{
    connect(1);
    data.settings.brightnessLevel = 5;
    data.setLinkBusyUsable(1, 1);
    EXPECT_EQ(link.writeSettings(0), 1);
    data.setLinkBusyUsable(0, 0);
    data.settings.brightnessLevel = 6;
    EXPECT_EQ(link.writeSettings(0), 1);
    EXPECT_EQ(link.queryStatus(), 0);
    EXPECT_THAT(light.calls(), IsEmpty());

    data.setLinkBusyUsable(0, 1);
    EXPECT_EQ(link.writeSettings(0), 1);
    EXPECT_THAT(light.calls(), IsEmpty()) << "6 already counts as sent";
    data.settings.brightnessLevel = 7;
    EXPECT_EQ(link.writeSettings(0), 1);
    EXPECT_EQ(link.writeSettings(kDefaultsVariant), 1);
    EXPECT_EQ(light.calls(Kind::Write).size(), 2u);
}

TEST_F(DeviceLinkTest, LauncherRunningKeepsEveryCallOffTheLight)
{
    connect(2);
    processes.launcherRunning = true;
    data.settings.brightnessLevel = 9;
    EXPECT_EQ(link.writeSettings(0), 0);
    EXPECT_EQ(link.queryStatus(), 0);
    EXPECT_THAT(light.calls(), IsEmpty());
    EXPECT_EQ(link.lastSent, SettingBytes{}) << "no report was built";
}

TEST_F(DeviceLinkTest, StatusQueryReadsTheFirstReplyBeforeTheOtherRequests)
{
    SettingBytes lightBytes = defaultSettings;
    lightBytes[2] = 77;
    light.setSettings(lightBytes);
    connect(3);
    EXPECT_EQ(link.queryStatus(), 65);

    const auto calls = light.calls();
    ASSERT_THAT(trail(calls), ElementsAre(std::pair{Kind::Read, 0}, std::pair{Kind::Write, 0},
                                          std::pair{Kind::Read, 0}, std::pair{Kind::Write, 1},
                                          std::pair{Kind::Write, 2}));
    EXPECT_EQ(calls[0].timeoutMs, 0) << "draining never waits";
    EXPECT_EQ(calls[2].timeoutMs, DeviceLink::kReplyTimeoutMs);
    EXPECT_EQ(calls[2].timeMs - calls[1].timeMs, 40);
    for (std::size_t i : {1u, 3u, 4u})
        EXPECT_EQ(calls[i].bytes, fullReport({{1, 0x12}, {2, 0x01}}));
    EXPECT_THAT(clock.sleeps(), ElementsAre(10, 40, 10));
    EXPECT_EQ(data.settings.brightnessLevel, 77);
    EXPECT_EQ(data.settings.setting10, 15);
    EXPECT_EQ(link.bReadCnt[0], 1u);
    EXPECT_EQ(link.bReadCnt[1], 0u);
    EXPECT_EQ(link.m_temp_index, 1);
}

TEST_F(DeviceLinkTest, RejectedReplyStopsTheQueryAfterAPause)
{
    light.setReplyMark(0x0E);
    connect(3);
    EXPECT_EQ(link.queryStatus(), 0);
    EXPECT_THAT(writtenInterfaces(), ElementsAre(0));
    EXPECT_THAT(clock.sleeps(), ElementsAre(10, 40, 100));
    EXPECT_EQ(link.bReadCnt[0], 1u);
    EXPECT_EQ(link.bReadCnt[1], 1u);
    EXPECT_EQ(data.settings.brightnessLevel, 0);
}

TEST_F(DeviceLinkTest, ReplyThatNeverComesEndsAtTheTimeoutAndCountsAsRejected)
{
    light.withholdReplies(true);
    connect(2);
    EXPECT_EQ(link.queryStatus(), 0);
    const auto reads = light.calls(Kind::Read);
    ASSERT_EQ(reads.size(), 2u);
    EXPECT_EQ(reads[1].timeoutMs, DeviceLink::kReplyTimeoutMs);
    EXPECT_EQ(reads[1].result, 0);
    EXPECT_THAT(clock.sleeps(), ElementsAre(10, 40, DeviceLink::kReplyTimeoutMs, 100));
    EXPECT_THAT(writtenInterfaces(), ElementsAre(0));
    EXPECT_EQ(link.bReadCnt[1], 1u);
}

TEST_F(DeviceLinkTest, StaleReplyIsDrainedSoTheAnswerComesFromTheLight)
{
    connect(1);
    Bytes stale(17, 0);
    stale[4] = 11;
    stale[12] = 15;
    light.queueInput(0, stale);
    light.queueInput(0, stale);
    EXPECT_EQ(link.queryStatus(), 65);
    EXPECT_EQ(data.settings.brightnessLevel, defaultSettings[2]);
}

TEST_F(DeviceLinkTest, LightVanishingMidQueryIsARejectedReplyAndClosesCleanly)
{
    connect(2);
    light.setCallObserver([&](const Call& c) {
        if (c.kind == Kind::Write)
            light.unplug();
    });
    EXPECT_EQ(link.queryStatus(), 0);
    EXPECT_EQ(light.calls(Kind::Read).back().result, -1);
    EXPECT_THAT(writtenInterfaces(), ElementsAre(0));
    EXPECT_EQ(link.bReadCnt[1], 1u);
}

TEST_F(DeviceLinkTest, CloseGoesInListOrderWithSettleTimeAndReleasesTheListOnce)
{
    connect(3);
    EXPECT_EQ(link.closeDevices(), 0);
    const auto calls = light.calls();
    ASSERT_THAT(trail(calls), ElementsAre(std::pair{Kind::Close, 0}, std::pair{Kind::Close, 1},
                                          std::pair{Kind::Close, 2},
                                          std::pair{Kind::FreeEnumeration, -1}));
    for (std::size_t i = 1; i < calls.size(); ++i)
        EXPECT_EQ(calls[i].timeMs - calls[i - 1].timeMs, 10);
    EXPECT_THAT(clock.sleeps(), ElementsAre(10, 10, 10, 10));
    EXPECT_TRUE(data.deviceHandles.empty());
    EXPECT_TRUE(data.deviceInfos.empty());

    light.clearCalls();
    clock.clearSleeps();
    EXPECT_EQ(link.closeDevices(), 0);
    EXPECT_THAT(light.calls(), IsEmpty());
    EXPECT_THAT(clock.sleeps(), IsEmpty());
}

TEST_F(DeviceLinkTest, EmptyListsWriteNothing)
{
    EXPECT_EQ(link.queryStatus(), 0);
    EXPECT_THAT(clock.sleeps(), ElementsAre(10, 10));
    data.settings.brightnessLevel = 1;
    EXPECT_EQ(link.writeSettings(0), 1);
    EXPECT_THAT(light.calls(), IsEmpty());
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
    const auto sleeps = clock.sleeps();
    EXPECT_EQ(sleeps.back(), 40);
    EXPECT_GE(sleeps.size(), 4u);
    EXPECT_TRUE(std::all_of(sleeps.begin(), sleeps.end() - 1, [](int ms) { return ms == 10; }));
}

std::vector<std::string>* traceLines = nullptr;
void captureTrace(QtMsgType, const QMessageLogContext& context, const QString& text)
{
    if (traceLines != nullptr && qstrcmp(context.category, "quorlin.link.trace") == 0)
        traceLines->push_back(text.toStdString());
}

TEST_F(DeviceLinkTest, TraceLinesAreOffUntilTheirCategoryIsEnabled)
{
    std::vector<std::string> lines;
    traceLines = &lines;
    const QtMessageHandler previous = qInstallMessageHandler(captureTrace);
    connect(1);
    link.queryStatus();
    EXPECT_THAT(lines, IsEmpty());
    QLoggingCategory::setFilterRules("quorlin.link.trace.debug=true");
    link.queryStatus();
    QLoggingCategory::setFilterRules(QString());
    qInstallMessageHandler(previous);
    traceLines = nullptr;
    ASSERT_EQ(lines.size(), 16u);
    EXPECT_EQ(lines[0], "read: m_temp_index:2;;;12 :15   bReadCnt_0:2 ");
    EXPECT_EQ(lines[3], "90");
    EXPECT_EQ(lines[15], "write : m_temp_index :2,hid_write data res: 65");
}

TEST(DeviceLinkRace, WritesRacingReconnectsNeverTouchAClosedHandle)
{
    test::FakeClock clock(0.001);
    test::FakeProcessList processes;
    CWholeData data(processes);
    data.setLinkBusyUsable(0, 1);
    sim::SimulatedLight light(clock, 3);
    std::ostringstream out, err;
    DeviceLink link(data, light, clock, out, err);

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

    EXPECT_THAT(light.misuses(), IsEmpty());
    EXPECT_EQ(light.openHandleCount(), 0);
    EXPECT_EQ(light.liveEnumerationCount(), 0);
    const auto writes = light.calls(Kind::Write);
    EXPECT_FALSE(writes.empty()) << "the writer never met an open list";
    for (const Call& w : writes)
        EXPECT_EQ(w.result, 65);
}

}  // namespace
}  // namespace quorlin
