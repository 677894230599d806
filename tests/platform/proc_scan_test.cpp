#include "platform/proc_scan.h"

#include "platform/spawned_process.h"
#include "shell/whole_data.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <thread>

namespace quorlin {
namespace {

namespace fs = std::filesystem;

using test::TempDir;

TEST(ProcScanFakeTree, MatchesTheLastElementOfArgv0ExactlyElseComm)
{
    using namespace std::string_literals;
    TempDir tree;
    const std::pair<const char*, std::string> processes[] = {
        {"100", "C:\\Program Files\\X\\SignalRgbLauncher.exe\0--tray\0"s},
        {"101", "/opt/Helper\0Arg.exe\0"s},
        {"102", "/usr/bin/Case.EXE\0"s},
        {"103", "/usr/bin/Suffix.exe.bak\0"s},
        {"104", "/" + std::string(9000, 'd') + "/Long.exe"},  // longer than one read, no NUL
        {"105", ""},                                          // kernel thread: comm only
        {"106", "\0--args-only\0"s},                          // empty argv[0]: comm
        {"107", "/bin/real\0"s},                               // comm ignored
        {"108", {}},                                          // vanished: no files at all
        {"self", "/x/NotAPid\0"s},
        {"12a", "/x/NotAPid\0"s},
    };
    for (const auto& [pid, cmdline] : processes) {
        fs::create_directories(tree.path / pid);
        if (std::string(pid) == "108")
            continue;
        std::ofstream(tree.path / pid / "cmdline", std::ios::binary) << cmdline;
        if (cmdline.empty() || cmdline[0] == '\0')
            std::ofstream(tree.path / pid / "comm") << "kthread" << pid << "\n";
    }
    std::ofstream(tree.path / "107" / "comm") << "commname\n";

    ProcScan scan(tree.path.string());
    for (const char* present :
         {"SignalRgbLauncher.exe", "Helper", "Case.EXE", "Suffix.exe.bak", "Long.exe", "kthread105", "kthread106"})
        EXPECT_TRUE(scan.isRunning(present)) << present;
    for (const char* absent : {"X", "--tray", "Arg.exe", "case.exe", "Suffix.exe", "uffix.exe.bak", "commname",
                               "kthread105\n", "kthread108", "NotAPid", ""})
        EXPECT_FALSE(scan.isRunning(absent)) << absent;
}

TEST(ProcScanFakeTree, UnreadableRootMeansNothingRuns)
{
    TempDir tree;
    std::ofstream(tree.path / "file") << "1";
    EXPECT_FALSE(ProcScan((tree.path / "missing").string()).isRunning("init"));
    EXPECT_FALSE(ProcScan((tree.path / "file").string()).isRunning("init"));
}

TEST(ProcScanFakeTree, KeepsFilesOpenOnlyForListedProcessesAndWithinItsBudget)
{
    TempDir tree;
    for (const char* pid : {"1", "2", "3"}) {
        fs::create_directories(tree.path / pid);
        std::ofstream(tree.path / pid / "cmdline", std::ios::binary) << "/bin/p" << pid << '\0';
    }
    ProcScan scan(tree.path.string(), 2);
    EXPECT_FALSE(scan.isRunning("absent"));
    EXPECT_EQ(scan.heldFileCount(), 2u) << "the budget caps what stays open";
    EXPECT_TRUE(scan.isRunning("p3")) << "a process beyond the budget is still read";
    fs::remove_all(tree.path / "1");
    EXPECT_FALSE(scan.isRunning("p1"));
    EXPECT_EQ(scan.heldFileCount(), 2u) << "the vanished process's file was let go, another took its place";

    ProcScan unheld(tree.path.string(), 0);
    EXPECT_TRUE(unheld.isRunning("p2"));
    EXPECT_EQ(unheld.heldFileCount(), 0u);
}

// A copy of sleep named `exeName`.
fs::path copySleepAs(const fs::path& folder, const std::string& exeName)
{
    const fs::path exe = folder / exeName;
    std::istringstream folders(std::getenv("PATH") != nullptr ? std::getenv("PATH") : "");
    for (std::string bin; std::getline(folders, bin, ':');) {
        std::error_code notThere;
        if (fs::copy_file(fs::path(bin) / "sleep", exe, fs::copy_options::overwrite_existing, notThere))
            break;
    }
    return exe;
}

// A copy of sleep running under the name `exeName`.
std::unique_ptr<test::SpawnedProcess> runSleepAs(const fs::path& folder, const std::string& exeName)
{
    const fs::path exe = copySleepAs(folder, exeName);
    return std::make_unique<test::SpawnedProcess>(exe.string(), std::vector<std::string>{exe.string(), "60"});
}

// A file kept open between scans reads the process's arguments as they are now: a
// process that execs another program is seen under its new name.
TEST(ProcScanRealProc, SeesAProcessUnderItsNewNameAfterExec)
{
    TempDir folder;
    const fs::path probe = copySleepAs(folder.path, "QuorlinExecProbe");
    ProcScan scan;
    test::SpawnedProcess shell("sh", {"sh", "-c", "sleep 0.3; exec \"$0\" 60", probe.string()});
    ASSERT_TRUE(shell.started());
    EXPECT_FALSE(scan.isRunning("QuorlinExecProbe-not"));  // holds the shell's file now
    bool seen = false;
    for (int i = 0; i < 500 && !seen; ++i) {
        seen = scan.isRunning("QuorlinExecProbe");
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(seen);
    shell.stop();
    EXPECT_FALSE(scan.isRunning("QuorlinExecProbe")) << "ended and reaped: its held file reads ESRCH";
}

// Only this case starts a process named exactly "SignalRgbLauncher.exe", so cases
// run in parallel cannot disturb its "not running" checks.
TEST(ProcScanRealProc, SeesOnlyTheExactlyNamedLauncher)
{
    ProcScan scan;
    if (scan.isRunning("SignalRgbLauncher.exe"))
        GTEST_SKIP() << "a real SignalRgbLauncher.exe runs on this machine";
    TempDir folder;
    const auto lowerCase = runSleepAs(folder.path, "signalrgblauncher.exe");
    const auto suffixed = runSleepAs(folder.path, "SignalRgbLauncher.exe.bak");
    ASSERT_TRUE(lowerCase->started() && suffixed->started());
    EXPECT_TRUE(scan.isRunning("signalrgblauncher.exe"));
    EXPECT_TRUE(scan.isRunning("SignalRgbLauncher.exe.bak"));
    EXPECT_FALSE(scan.isRunning("SignalRgbLauncher.exe"));

    CWholeData data(systemProcessList());
    const auto launcher = runSleepAs(folder.path, "SignalRgbLauncher.exe");
    ASSERT_TRUE(launcher->started());
    EXPECT_TRUE(data.isSignalRgbRunning());
    launcher->stop();
    EXPECT_FALSE(data.isSignalRgbRunning());
}

}  // namespace
}  // namespace quorlin
