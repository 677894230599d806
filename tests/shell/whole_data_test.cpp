#include "shell/whole_data.h"

#include "support/fake_process_list.h"
#include "support/memory_profile_store.h"

#include <gtest/gtest.h>

#include <thread>

namespace quorlin {
namespace {

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
