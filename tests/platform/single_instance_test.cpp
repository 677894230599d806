#include "platform/single_instance.h"

#include "platform/spawned_process.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace quorlin {
namespace {

using Result = SingleInstanceLock::Result;

TEST(SingleInstance, LockIsHeldUntilItsHolderGoesOrIsKilledAndNeverThroughASymlink)
{
    test::TempDir dir;
    SingleInstanceLock childLock(dir.path.string()), second(dir.path.string());  // the child only makes system calls
    auto first = std::make_unique<SingleInstanceLock>(dir.path.string());
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {  // holds the lock until killed, which is when the system drops it
        if (const char answer = childLock.acquire() == Result::Acquired ? 'y' : 'n'; write(ready[1], &answer, 1) == 1)
            pause();
        _exit(1);
    }
    close(ready[1]);  // so that a child that dies first gives end of file
    char answer = 0;
    EXPECT_TRUE(read(ready[0], &answer, 1) == 1 && answer == 'y') << "the child holds the lock";
    close(ready[0]);
    EXPECT_EQ(first->acquire(), Result::AlreadyRunning);
    kill(child, SIGKILL);
    ASSERT_EQ(waitpid(child, nullptr, 0), child);
    EXPECT_EQ(first->acquire(), Result::Acquired) << "a killed holder leaves the lock free";
    EXPECT_EQ(first->acquire(), Result::Acquired) << "asking again keeps it";
    EXPECT_EQ(second.acquire(), Result::AlreadyRunning);
    test::SpawnedProcess started("sleep", {"sleep", "30"});
    ASSERT_TRUE(started.started());
    first.reset();
    EXPECT_EQ(second.acquire(), Result::Acquired) << "a program the holder started does not keep the lock";

    const auto sub = dir.path / "sub";
    EXPECT_EQ(SingleInstanceLock(sub.string()).acquire(), Result::Failed) << "no folder";
    std::filesystem::create_directory(sub);
    std::filesystem::create_symlink(sub / "elsewhere", sub / "Quorlin.lock");
    EXPECT_EQ(SingleInstanceLock(sub.string()).acquire(), Result::Failed) << "symlinks are not followed";
    EXPECT_FALSE(std::filesystem::exists(sub / "elsewhere"));
}

}  // namespace
}  // namespace quorlin
