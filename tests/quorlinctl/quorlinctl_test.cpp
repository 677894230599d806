#include "quorlinctl.h"

#include "link/device_link.h"
#include "link/sim/simulated_light.h"
#include "platform/open_failure_advice.h"
#include "shell/whole_data.h"
#include "support/fake_clock.h"
#include "support/fake_process_list.h"
#include "support/memory_profile_store.h"

#include <gmock/gmock.h>

#include <cerrno>
#include <cstdio>
#include <functional>
#include <sstream>

namespace quorlin::ctl {
namespace {

using namespace ::testing;
using Kind = sim::SimulatedLight::CallKind;

// What the system's advice says about a light that will not open.
#ifdef _WIN32
constexpr const char* kOpenFailureAdvice = "Another program may be holding the light";
#else
constexpr const char* kOpenFailureAdvice = "70-quorlin.rules";
#endif

// Keeps on, brightness 0x21, breathing 0x22, panel 11..14, Manual, LOS_CALC 07.
constexpr SettingBytes kLightState = {0x01, 0x01, 0x21, 0x22, 0x0B, 0x0C, 0x0D,
                                      0x0E, 0x01, 0x01, 0x0F, 0x00, 0x02, 0x07};

class QuorlinctlTest : public Test {
protected:
    test::FakeClock clock;
    test::FakeProcessList processes;
    sim::SimulatedLight light{clock, 2, kLightState};
    std::ostringstream out, err;
    const OpenFailureAdvice& advice = systemOpenFailureAdvice();  // what quorlinctl gives

    int run(const std::vector<std::string>& args)
    {
        Quorlinctl tool(light, processes, clock, out, err, advice);
        return tool.run(args);
    }
    // Every write as "<interface>:<bytes 0..15 in hex>"; the rest of a report must be zeros.
    std::vector<std::string> wire() const
    {
        std::vector<std::string> writes;
        for (const auto& call : light.calls(Kind::Write)) {
            EXPECT_EQ(call.bytes.size(), kOutputReportSize);
            std::string text = std::to_string(call.interfaceIndex) + ":";
            for (std::size_t i = 0; i < call.bytes.size(); ++i) {
                char hex[3];
                std::snprintf(hex, sizeof hex, "%02x", call.bytes[i]);
                if (i < 16)
                    text += hex;
                else
                    EXPECT_EQ(call.bytes[i], 0) << "byte " << i;
            }
            writes.push_back(text);
        }
        return writes;
    }
    void TearDown() override
    {
        EXPECT_EQ(std::pair(light.openHandleCount(), light.liveEnumerationCount()), std::pair(0, 0));
        EXPECT_THAT(light.misuses(), IsEmpty());
    }
};

// The status request, bytes 0..15.
const std::string kQuery = "00120100000000000000000000000000";

// What each command puts on the wire of both interfaces after its status query.
TEST_F(QuorlinctlTest, CommandsSendTheWindowsReportsKeepingWhatTheyDoNotName)
{
    const struct {
        std::vector<std::string> args;
        std::vector<std::string> reports;  // bytes 0..15, each to interface 0 then 1
        bool queryAfter = false;
    } cases[] = {
        {{"status"}, {}},
        {{"set", "brightness", "50"}, {"0011010132220b0c0d0e01010f000207"}},
        {{"set", "breathing", "0"}, {"0011010121000b0c0d0e01010f000207"}},
        {{"mode", "auto"}, {"0011010121220b0c0d0e02010f000207"}},
        {{"params", "255", "1", "9", "100"}, {"001101012122ff01096401010f000207"}},
        {{"defaults"}, {"001101025a1e0b0c0d0e02010f000200"}},
        {{"los-calc"}, {"0011010121220b0c0d0e01010f000201", "0011010121220b0c0d0e01010f000200"}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[0]);
        light.setSettings(kLightState);
        light.clearCalls();
        ASSERT_EQ(run(c.args), 0) << err.str();
        std::vector<std::string> expected = {"0:" + kQuery, "1:" + kQuery};
        for (const std::string& report : c.reports) {
            expected.push_back("0:" + report);
            expected.push_back("1:" + report);
        }
        if (c.queryAfter)
            expected.insert(expected.end(), {expected[0], expected[1]});
        EXPECT_EQ(wire(), expected);
    }
}

// Every failure has its own exit code, and none of them sends a settings report.
TEST_F(QuorlinctlTest, FailuresExitWithTheirCodeAndSendNoSettings)
{
    const std::vector<std::string> set = {"set", "brightness", "50"};
    const struct {
        const char* name;
        std::function<void(sim::SimulatedLight&, test::FakeProcessList&)> arrange;
        std::vector<std::string> args;
        int code;
        const char* says;
    } cases[] = {
        {"brightness 101", {}, {"set", "brightness", "101"}, 2, "from 0 to 100, not '101'"},
        {"negative", {}, {"set", "breathing", "-1"}, 2, "not '-1'"},
        {"P1 0", {}, {"params", "0", "1", "1", "1"}, 2, "P1 must be"},
        {"P4 101", {}, {"params", "1", "1", "1", "101"}, 2, "P4 must be"},
        {"three params", {}, {"params", "1", "1", "1"}, 2, "takes 4"},
        {"unknown mode", {}, {"mode", "off"}, 2, "'manual' or 'auto'"},
        {"json with set", {}, {"--json", "set", "brightness", "5"}, 2, "--json goes with 'status'"},
        {"no command", {}, {}, 2, "no command"},
        {"device without path", {}, {"status", "--device"}, 2, "needs a path"},
        {"unplugged", [](auto& l, auto&) { l.unplug(); }, set, 1, "no light found"},
        {"other device", {}, {"--device", "/dev/hidraw9", "status"}, 1, "no light found at /dev/hidraw9"},
        {"no permission", [](auto& l, auto&) { l.failOpen(1, EACCES); }, set, 3, kOpenFailureAdvice},
        {"launcher", [](auto&, auto& p) { p.launcherRunning = true; }, set, 4, "nothing was sent"},
        {"no reply", [](auto& l, auto&) { l.withholdReplies(true); }, set, 5, "did not answer"},
        {"wrong mark", [](auto& l, auto&) { l.setReplyMark(0x0E); }, set, 5, "mark 0x0E"},
        {"write fails", [](auto& l, auto&) { l.failWrites(1, true); }, set, 5, "could not be written"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sim::SimulatedLight fresh(clock, 2, kLightState);
        test::FakeProcessList freshProcesses;
        if (c.arrange)
            c.arrange(fresh, freshProcesses);
        err.str("");
        Quorlinctl tool(fresh, freshProcesses, clock, out, err, advice);
        EXPECT_EQ(tool.run(c.args), c.code);
        EXPECT_THAT(err.str(), HasSubstr(c.says));
        if (c.code == 2) {
            EXPECT_THAT(err.str(), HasSubstr("usage: quorlinctl"));
            EXPECT_THAT(fresh.calls(), IsEmpty());
        }
        for (const auto& call : fresh.calls(Kind::Write))
            EXPECT_NE(call.bytes.at(1), kSettingsCommand);
        EXPECT_EQ(fresh.settings(), kLightState);
        EXPECT_EQ(std::pair(fresh.openHandleCount(), fresh.liveEnumerationCount()), std::pair(0, 0));
    }
}

// A status that never reached the script is no success.
TEST_F(QuorlinctlTest, UnwritableOutputIsAFailure)
{
    out.setstate(std::ios::badbit);
    EXPECT_EQ(run({"status"}), 6);
    EXPECT_THAT(err.str(), HasSubstr("output could not be written"));
}

// Interfaces group into lights by serial number; --device picks one light.
TEST_F(QuorlinctlTest, ListShowsEachLightAndDevicePicksOne)
{
    light.setSerialNumber(1, L"SIM0002");
    light.failOpen(1, EACCES);
    EXPECT_EQ(run({"list"}), 3);
    EXPECT_EQ(out.str(), "light 1: serial SIM0001, 1 interface\n  sim-quorlin:0: openable\n"
                         "light 2: serial SIM0002, 1 interface\n  sim-quorlin:1: not openable (Permission denied)\n");
    EXPECT_THAT(light.calls(Kind::Write), IsEmpty());

    light.clearCalls();
    ASSERT_EQ(run({"--device", "sim-quorlin:0", "set", "brightness", "50"}), 0) << err.str();
    EXPECT_EQ(wire(), (std::vector<std::string>{"0:" + kQuery, "0:0011010132220b0c0d0e01010f000207"}));
}

// Every open file of a hidraw node gets its own copy of each input report: a running
// window must skip the tool's reply and read the light's answer to its own query.
TEST_F(QuorlinctlTest, RunningWindowSkipsTheToolsReplyAndSeesTheChangeAtItsNextQuery)
{
    test::MemoryProfileStore profiles;
    CWholeData windowData{processes, profiles};
    windowData.setLinkBusyUsable(0, 1);
    std::ostringstream windowOut;
    DeviceLink window(windowData, light, clock, windowOut, windowOut);
    ASSERT_EQ(window.openDevices(), 1);

    ASSERT_EQ(run({"set", "brightness", "50"}), 0) << err.str();
    EXPECT_EQ(windowData.settings.brightnessLevel.load(), 0);
    EXPECT_EQ(window.queryStatus(), static_cast<int>(kOutputReportSize));
    EXPECT_EQ(windowData.settings.brightnessLevel.load(), 50);
    window.closeDevices();
}

}  // namespace
}  // namespace quorlin::ctl
