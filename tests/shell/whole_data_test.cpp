#include "shell/whole_data.h"

#include "support/fake_process_list.h"

#include <gtest/gtest.h>

#include <thread>

namespace quorlin {
namespace {

TEST(WholeData, StartsWithEverythingOffAndTheLanguageFileName)
{
    test::FakeProcessList processes;
    CWholeData data(processes);
    for (std::size_t i = 0; i < 20; ++i)
        EXPECT_EQ(data.settings.at(i), 0);
    EXPECT_EQ(data.pollEnabled, 0u);
    EXPECT_EQ(data.linkReady, 0u);
    EXPECT_EQ(data.reconnectRequested, 0u);
    EXPECT_EQ(data.linkBusy, 0);
    EXPECT_EQ(data.linkUsable, 0);
    EXPECT_EQ(data.iniPath, ".\\Language.ini");
    EXPECT_TRUE(data.languageType.empty());
    EXPECT_TRUE(data.languageTable.empty());
    EXPECT_EQ(data.singleSlot.firstHandle, HandleSlot::kInvalid);
    EXPECT_EQ(data.slotTable[49].secondHandle, HandleSlot::kInvalid);
}

TEST(WholeData, SettingsBlockKeepsItsByteOffsets)
{
    test::FakeProcessList processes;
    CWholeData data(processes);
    data.settings.brightnessLevel = 4;
    data.settings.breathingFrequency = 7;
    data.settings.parameter1 = 10;
    data.settings.reportedOperationMode = 14;
    data.settings.losCalc = 19;
    EXPECT_EQ(data.settings.at(4), 4);
    EXPECT_EQ(data.settings.at(7), 7);
    EXPECT_EQ(data.settings.at(10), 10);
    EXPECT_EQ(data.settings.at(14), 14);
    EXPECT_EQ(data.settings.at(19), 19);
}

TEST(WholeData, BusyAndUsableChangeTogetherOrAlone)
{
    test::FakeProcessList processes;
    CWholeData data(processes);
    data.setLinkBusyUsable(1, 0);
    EXPECT_EQ(data.linkBusy, 1);
    EXPECT_EQ(data.linkUsable, 0);
    data.linkUsable = 1;
    EXPECT_EQ(data.linkBusy, 1);
    data.linkBusy = 0;
    EXPECT_EQ(data.linkUsable, 1);
}

TEST(WholeData, SingleByteWritesFromTwoThreadsNeverLoseTheOtherByte)
{
    test::FakeProcessList processes;
    CWholeData data(processes);
    std::thread busy([&] {
        for (int i = 0; i < 20000; ++i)
            data.linkBusy = static_cast<std::uint8_t>(i & 1);
        data.linkBusy = 0;
    });
    for (int i = 0; i < 20000; ++i)
        data.linkUsable = static_cast<std::uint8_t>(1 + (i & 1));
    data.linkUsable = 1;
    busy.join();
    EXPECT_EQ(data.linkBusy, 0);
    EXPECT_EQ(data.linkUsable, 1);
}

TEST(WholeData, LauncherCheckAsksTheProcessListEveryTime)
{
    test::FakeProcessList processes;
    CWholeData data(processes);
    EXPECT_FALSE(data.isSignalRgbRunning());
    processes.launcherRunning = true;
    EXPECT_TRUE(data.isSignalRgbRunning());
    EXPECT_EQ(processes.calls, 2);
}

}  // namespace
}  // namespace quorlin
