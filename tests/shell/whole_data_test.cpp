#include "shell/whole_data.h"

#include "support/fake_process_list.h"
#include "support/memory_profile_store.h"

#include <gtest/gtest.h>

#include <thread>

namespace quorlin {
namespace {

TEST(WholeData, StartsWithEverythingOffAndTheLanguageFileName)
{
    test::FakeProcessList processes;
    test::MemoryProfileStore profiles;
    CWholeData data(processes, profiles);
    for (std::size_t i = 0; i < 20; ++i)
        EXPECT_EQ(data.settings.at(i), 0);
    EXPECT_EQ(data.reconnectRequested | data.pollEnabled | data.linkReady, 0u);
    EXPECT_EQ(data.linkBusy | data.linkUsable, 0);
    EXPECT_EQ(data.iniPath, ".\\Language.ini");
    EXPECT_TRUE(data.languageTable.empty());
}

// Both threads write their own byte of the busy/usable word; neither may lose the
// other's write, and the pair can still be set in one step.
TEST(WholeData, BusyAndUsableBytesNeverOverwriteEachOther)
{
    test::FakeProcessList processes;
    test::MemoryProfileStore profiles;
    CWholeData data(processes, profiles);
    data.setLinkBusyUsable(1, 0);
    EXPECT_EQ(data.linkBusy, 1);
    EXPECT_EQ(data.linkUsable, 0);
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

}  // namespace
}  // namespace quorlin
