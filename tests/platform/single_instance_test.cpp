#include "platform/single_instance.h"

#include "platform/spawned_process.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <memory>

namespace quorlin {
namespace {

namespace fs = std::filesystem;
using Result = SingleInstanceLock::Result;

class SingleInstanceTest : public ::testing::Test {
protected:
    test::TempDir dir;
};

TEST_F(SingleInstanceTest, SecondLockIsRefusedUntilTheFirstGoes)
{
    auto first = std::make_unique<SingleInstanceLock>(dir.path.string());
    EXPECT_EQ(first->acquire(), Result::Acquired);
    EXPECT_EQ(first->acquire(), Result::Acquired);
    SingleInstanceLock second(dir.path.string());
    EXPECT_EQ(second.acquire(), Result::AlreadyRunning);
    first.reset();
    EXPECT_EQ(second.acquire(), Result::Acquired);
}

TEST_F(SingleInstanceTest, LockFileThatCannotBeMadeFailsAndSymlinksAreNotFollowed)
{
    EXPECT_EQ(SingleInstanceLock((dir.path / "missing").string()).acquire(), Result::Failed);
    fs::create_symlink(dir.path / "elsewhere", dir.path / "Quorlin.lock");
    EXPECT_EQ(SingleInstanceLock(dir.path.string()).acquire(), Result::Failed);
    EXPECT_FALSE(fs::exists(dir.path / "elsewhere"));
}

TEST_F(SingleInstanceTest, AnotherProcessHoldsTheLockUntilItEnds)
{
    int ready[2];
    int release[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(release), 0);
    SingleInstanceLock childLock(dir.path.string());  // built here: the child only makes system calls
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(ready[0]);
        close(release[1]);  // else the child never sees the parent let go
        const char answer = childLock.acquire() == Result::Acquired ? 'y' : 'n';
        char ignored;
        if (write(ready[1], &answer, 1) == 1 && read(release[0], &ignored, 1) >= 0)
            _exit(0);  // the lock is left to the system to drop
        _exit(1);
    }
    close(ready[1]);
    close(release[0]);
    char answer = 0;
    EXPECT_EQ(read(ready[0], &answer, 1), 1);
    EXPECT_EQ(answer, 'y');
    SingleInstanceLock mine(dir.path.string());
    EXPECT_EQ(mine.acquire(), Result::AlreadyRunning);
    close(release[1]);
    close(ready[0]);
    ASSERT_EQ(waitpid(child, nullptr, 0), child);
    EXPECT_EQ(mine.acquire(), Result::Acquired);
}

TEST_F(SingleInstanceTest, ProgramsStartedByTheHolderDoNotKeepTheLock)
{
    auto holder = std::make_unique<SingleInstanceLock>(dir.path.string());
    ASSERT_EQ(holder->acquire(), Result::Acquired);
    test::SpawnedProcess started("sleep", {"sleep", "30"});
    ASSERT_TRUE(started.started());
    holder.reset();
    EXPECT_EQ(SingleInstanceLock(dir.path.string()).acquire(), Result::Acquired);
}

}  // namespace
}  // namespace quorlin
