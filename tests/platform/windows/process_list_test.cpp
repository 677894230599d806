#include "platform/windows/toolhelp_process_list.h"

#include "child_process.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <vector>

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

// Scripted Toolhelp calls: a snapshot of the names in `listed`, or a failure.
struct ScriptedToolhelp {
    static inline bool snapshotFails = false;
    static inline bool walkFails = false;
    static inline int snapshots = 0;
    static inline int closed = 0;
    static inline std::vector<std::wstring> listed;
    static inline std::size_t at = 0;
    static HANDLE WINAPI create(DWORD, DWORD)
    {
        ++snapshots;
        at = 0;
        return snapshotFails ? INVALID_HANDLE_VALUE : reinterpret_cast<HANDLE>(0x1234);
    }
    static BOOL entry(PROCESSENTRY32W* entry)
    {
        if (walkFails || at >= listed.size())
            return FALSE;
        wcsncpy(entry->szExeFile, listed[at++].c_str(), MAX_PATH - 1);
        return TRUE;
    }
    static BOOL WINAPI first(HANDLE, PROCESSENTRY32W* e) { return at = 0, entry(e); }
    static BOOL WINAPI next(HANDLE, PROCESSENTRY32W* e) { return entry(e); }
    static BOOL WINAPI close(HANDLE) { return ++closed, TRUE; }
};

class ScriptedLauncherCheck : public ::testing::Test {
protected:
    ScriptedLauncherCheck()
    {
        ScriptedToolhelp::snapshotFails = ScriptedToolhelp::walkFails = false;
        ScriptedToolhelp::snapshots = ScriptedToolhelp::closed = 0;
        ScriptedToolhelp::listed = {L"System", L"SignalRgbLauncher.exe"};
    }
    ToolhelpProcessList processes{{&ScriptedToolhelp::create, &ScriptedToolhelp::first, &ScriptedToolhelp::next,
                                   &ScriptedToolhelp::close}};
};

TEST_F(ScriptedLauncherCheck, EveryCheckTakesAndClosesItsOwnSnapshot)
{
    EXPECT_TRUE(processes.isRunning(kLauncher));
    ScriptedToolhelp::listed = {L"System"};
    EXPECT_FALSE(processes.isRunning(kLauncher));
    EXPECT_EQ(ScriptedToolhelp::snapshots, 2);
    EXPECT_EQ(ScriptedToolhelp::closed, 2);
}

TEST_F(ScriptedLauncherCheck, AnUnreadableSnapshotMeansNotRunningAndIsClosed)
{
    ScriptedToolhelp::walkFails = true;
    EXPECT_FALSE(processes.isRunning(kLauncher));
    EXPECT_EQ(ScriptedToolhelp::closed, 1);
}

}  // namespace
}  // namespace quorlin
