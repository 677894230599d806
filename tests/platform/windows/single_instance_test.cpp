#include "platform/windows/named_mutex_instance.h"

#include "child_process.h"

#include <gtest/gtest.h>

namespace quorlin {
namespace {

using Result = SingleInstance::Result;

TEST(NamedMutexInstance, AHolderInAnotherProcessTurnsUsAwayUntilItEnds)
{
    test::ChildProcess holder(test::testChild(), L"hold-mutex");
    ASSERT_EQ(holder.readLine(), "0");
    NamedMutexInstance instance;
    EXPECT_EQ(instance.acquire(), Result::AlreadyRunning);
    ASSERT_EQ(holder.finish(), 0);
    // Turned away, this object let go of the name: it does not keep the old mutex alive.
    EXPECT_EQ(instance.acquire(), Result::Acquired);
}

TEST(NamedMutexInstance, TheNameTakenByAnotherKindOfObjectLeavesItUnguarded)
{
    const HANDLE squatter = CreateEventA(nullptr, FALSE, FALSE, NamedMutexInstance::kMutexName);
    ASSERT_NE(squatter, nullptr);
    NamedMutexInstance instance;
    EXPECT_EQ(instance.acquire(), Result::Unguarded);
    CloseHandle(squatter);
}

}  // namespace
}  // namespace quorlin
