#include "platform/single_instance.h"

#include "platform/spawned_process.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <memory>

namespace quorlin {
namespace {

namespace fs = std::filesystem;
using Result = SingleInstanceLock::Result;

TEST(SingleInstance, SecondLockIsRefusedUntilTheFirstGoesEvenIfItStartedPrograms)
{
    test::TempDir dir;
    auto first = std::make_unique<SingleInstanceLock>(dir.path.string());
    EXPECT_EQ(first->acquire(), Result::Acquired);
    EXPECT_EQ(first->acquire(), Result::Acquired) << "asking again keeps it";
    SingleInstanceLock second(dir.path.string());
    EXPECT_EQ(second.acquire(), Result::AlreadyRunning);
    test::SpawnedProcess started("sleep", {"sleep", "30"});
    ASSERT_TRUE(started.started());
    first.reset();
    EXPECT_EQ(second.acquire(), Result::Acquired) << "a program the holder started does not keep the lock";
}

TEST(SingleInstance, LockFileThatCannotBeMadeFailsAndSymlinksAreNotFollowed)
{
    test::TempDir dir;
    EXPECT_EQ(SingleInstanceLock((dir.path / "missing").string()).acquire(), Result::Failed);
    fs::create_symlink(dir.path / "elsewhere", dir.path / "Quorlin.lock");
    EXPECT_EQ(SingleInstanceLock(dir.path.string()).acquire(), Result::Failed);
    EXPECT_FALSE(fs::exists(dir.path / "elsewhere"));
}

TEST(SingleInstance, AnotherProcessHoldsTheLockUntilItIsKilled)
{
    test::TempDir dir;
    SingleInstanceLock childLock(dir.path.string());  // built here: the child only makes system calls
    SingleInstanceLock mine(dir.path.string());
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const char answer = childLock.acquire() == Result::Acquired ? 'y' : 'n';
        if (write(ready[1], &answer, 1) == 1)
            pause();  // until killed, which is when the system drops the lock
        _exit(1);
    }
    close(ready[1]);  // so that a child that dies first gives end of file
    char answer = 0;
    EXPECT_TRUE(read(ready[0], &answer, 1) == 1 && answer == 'y') << "the child holds the lock";
    close(ready[0]);
    EXPECT_EQ(mine.acquire(), Result::AlreadyRunning);
    kill(child, SIGKILL);
    ASSERT_EQ(waitpid(child, nullptr, 0), child);
    EXPECT_EQ(mine.acquire(), Result::Acquired) << "a killed holder leaves the lock free";
}

}  // namespace
}  // namespace quorlin
