#include "link/settings_reports.h"

#include "shell/whole_data.h"
#include "support/fake_process_list.h"
#include "support/memory_profile_store.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace quorlin {
namespace {

class SettingsReports : public ::testing::Test {
protected:
    test::FakeProcessList processes;
    test::MemoryProfileStore profiles;
    CWholeData data{processes, profiles};
    SettingBytes lastSent{};
    OutputReport report{};

    void SetUp() override { data.setLinkBusyUsable(0, 1); }
    bool build(std::uint8_t variant = 0) { return buildSettingsReport(variant, report, data, lastSent); }
    bool zeroFrom(std::size_t from) const
    {
        return std::all_of(report.begin() + from, report.end(), [](auto b) { return b == 0; });
    }
};

TEST_F(SettingsReports, NormalReportMapsTheBlockAndSendsTheUsersModeAndAConstantTwo)
{
    data.operationMode = 2;
    data.settings.reportedOperationMode = 1;
    data.settings.setting12 = 0x77;
    data.settings.brightnessLevel = 90;
    data.settings.losCalc = 5;
    EXPECT_TRUE(build());
    const std::uint8_t expected[16] = {0x00, 0x11, 0, 0, 90, 0, 0, 0, 0, 0, 2, 0, 0, 0, 2, 5};
    EXPECT_TRUE(std::equal(std::begin(expected), std::end(expected), report.begin()));
    EXPECT_TRUE(zeroFrom(16));
    EXPECT_EQ(report.size(), 65u) << "report number and the light's 64 bytes";
}

TEST_F(SettingsReports, UnchangedSettingsAreSuppressedAndTheLosPulseIsNot)
{
    data.settings.brightnessLevel = 40;
    EXPECT_TRUE(build());
    EXPECT_FALSE(build());
    data.settings.losCalc = 1;
    EXPECT_TRUE(build());
    data.settings.losCalc = 0;
    EXPECT_TRUE(build()) << "1 -> 0 counts as a change";
    EXPECT_FALSE(build());
}

StatusReply validReply()
{
    StatusReply reply{};
    for (std::size_t i = 2; i < 16; ++i)
        reply[i] = static_cast<std::uint8_t>(0x20 + i);
    reply[kReplyMarkIndex] = kReplyMark;
    return reply;
}

TEST_F(SettingsReports, ValidReplyFillsEveryMappedByteAndNoOther)
{
    ASSERT_TRUE(applyStatusReply(validReply(), data));
    const std::pair<std::size_t, int> stored[] = {{0, 0x22}, {1, 0x23}, {4, 0x24}, {7, 0x25}, {13, 0x29},
                                                  {14, 0x2A}, {16, 15}, {18, 0x2E}, {19, 0x2F}};
    for (auto [offset, value] : stored)
        EXPECT_EQ(data.settings.at(offset), value) << "block byte " << offset;
    for (std::size_t unused : {2, 3, 5, 6, 8, 9})
        EXPECT_EQ(data.settings.at(unused), 0) << "block byte " << unused;
    EXPECT_EQ(data.operationMode, 0) << "the reported mode never overwrites the user's choice";
}

TEST_F(SettingsReports, RejectedOrHeldOffRepliesChangeNothing)
{
    StatusReply reply = validReply();
    reply[kReplyMarkIndex] = 0x0E;
    EXPECT_FALSE(applyStatusReply(reply, data));
    EXPECT_FALSE(applyStatusReply(StatusReply{}, data)) << "a reply that never came reads as zeros";
    data.setLinkBusyUsable(1, 1);
    EXPECT_TRUE(applyStatusReply(validReply(), data));
    data.setLinkBusyUsable(0, 0);
    EXPECT_TRUE(applyStatusReply(validReply(), data));
    for (std::size_t i = 0; i < 20; ++i)
        EXPECT_EQ(data.settings.at(i), 0);
}

TEST_F(SettingsReports, BusyTurningOnHalfWayLeavesTheRemainingBytes)
{
    data.setLinkBusyUsable(0, 1);
    int applied = 0;
    applyStatusReply(validReply(), data, [&](std::uint8_t) {
        if (++applied == 3)
            data.linkBusy = 1;
    });
    EXPECT_EQ(applied, 3);
    EXPECT_EQ(data.settings.brightnessLevel, 0x24);
    EXPECT_EQ(data.settings.breathingFrequency, 0);
}

}  // namespace
}  // namespace quorlin
