#include "platform/windows/toolhelp_process_list.h"

#include "child_process.h"

#include <gtest/gtest.h>

namespace quorlin {
namespace {

constexpr const char* kLauncher = "SignalRgbLauncher.exe";

class LauncherCheck : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(processes.isRunning(kLauncher)) << "a launcher runs already"; }

    test::WindowsTempDir dir;
    ToolhelpProcessList processes;
};

TEST_F(LauncherCheck, SeenAtTheFirstCheckAfterItStartsAndGoneAtTheFirstAfterItEnds)
{
    test::ChildProcess launcher(test::childNamed(dir.path, L"SignalRgbLauncher.exe"), L"hold");
    ASSERT_TRUE(launcher.started());
    ASSERT_EQ(launcher.readLine(), "ready");
    EXPECT_TRUE(processes.isRunning(kLauncher));
    ASSERT_EQ(launcher.finish(), 0);
    EXPECT_FALSE(processes.isRunning(kLauncher)) << "an ended process still counts, or a snapshot was reused";
}

// Each near miss is itself visible under its own name, so a miss is a real miss.
class NearMiss : public LauncherCheck, public ::testing::WithParamInterface<const wchar_t*> {};

TEST_P(NearMiss, IsNotTheLauncher)
{
    test::ChildProcess other(test::childNamed(dir.path, GetParam()), L"hold");
    ASSERT_TRUE(other.started());
    ASSERT_EQ(other.readLine(), "ready");
    EXPECT_TRUE(processes.isRunning(narrow(GetParam())));
    EXPECT_FALSE(processes.isRunning(kLauncher));
}

INSTANTIATE_TEST_SUITE_P(ToolhelpProcessList, NearMiss,
                         ::testing::Values(L"signalrgblauncher.exe", L"SignalRgbLauncher.exe.old",
                                           L"XSignalRgbLauncher.exe"));

TEST(ToolhelpProcessList, AnEmptyNameIsNeverRunning)
{
    ToolhelpProcessList processes;
    EXPECT_FALSE(processes.isRunning(""));
}

TEST(ToolhelpProcessList, SeesThisProgramUnderItsOwnImageName)
{
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    ASSERT_GT(length, 0u);
    const std::wstring name = std::filesystem::path(std::wstring(path, length)).filename().wstring();
    EXPECT_TRUE(ToolhelpProcessList().isRunning(narrow(name)));
}

}  // namespace
}  // namespace quorlin
