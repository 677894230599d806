#include "platform/proc_scan.h"

#include "platform/spawned_process.h"
#include "shell/whole_data.h"

#include <gtest/gtest.h>

namespace quorlin {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

TEST(ProcScanFakeTree, MatchesTheLastElementOfArgv0ExactlyElseComm)
{
    test::TempDir tree;
    const std::pair<const char*, std::string> processes[] = {
        {"100", "C:\\Program Files\\X\\SignalRgbLauncher.exe\0--tray\0"s},
        {"101", "/opt/Helper\0Arg.exe\0"s}, {"102", "/usr/bin/Case.EXE\0"s}, {"103", "/usr/bin/Suffix.exe.bak\0"s},
        // 104 is longer than one read with no NUL; 105 a kernel thread (comm only); 106 has an empty argv[0]
        // (comm); 107's comm is ignored; 108 vanished (comm without cmdline).
        {"104", "/" + std::string(9000, 'd') + "/Long.exe"}, {"105", ""}, {"106", "\0--args-only\0"s},
        {"107", "/bin/real\0"s}, {"108", ""}, {"self", "/x/NotAPid\0"s}, {"12a", "/x/NotAPid\0"s},
    };
    for (const auto& [pid, cmdline] : processes) {
        fs::create_directories(tree.path / pid);
        if (pid != "108"s)
            std::ofstream(tree.path / pid / "cmdline", std::ios::binary) << cmdline;
        std::ofstream(tree.path / pid / "comm") << "kthread" << pid << "\n";
    }
    ProcScan scan(tree.path.string());
    for (const char* present :
         {"SignalRgbLauncher.exe", "Helper", "Case.EXE", "Suffix.exe.bak", "Long.exe", "kthread105", "kthread106"})
        EXPECT_TRUE(scan.isRunning(present)) << present;
    for (const char* absent : {"X", "--tray", "Arg.exe", "case.exe", "Suffix.exe", "uffix.exe.bak", "kthread107",
                               "kthread105\n", "kthread108", "NotAPid", ""})
        EXPECT_FALSE(scan.isRunning(absent)) << absent;
    for (const char* root : {"missing", "107/comm"})
        EXPECT_FALSE(ProcScan((tree.path / root).string()).isRunning("kthread105")) << "unreadable root " << root;
}

TEST(ProcScanFakeTree, KeepsFilesOpenOnlyForListedProcessesAndWithinItsBudget)
{
    test::TempDir tree;
    for (const char* pid : {"1", "2", "3"})
        fs::create_directories(tree.path / pid), std::ofstream(tree.path / pid / "cmdline") << "/bin/p" << pid << '\0';
    ProcScan scan(tree.path.string(), 2);
    EXPECT_FALSE(scan.isRunning("absent"));
    EXPECT_EQ(scan.heldFileCount(), 2u) << "the budget caps what stays open";
    EXPECT_TRUE(scan.isRunning("p3")) << "a process beyond the budget is still read";
    fs::remove_all(tree.path / "1");
    EXPECT_FALSE(scan.isRunning("p1"));
    EXPECT_EQ(scan.heldFileCount(), 2u) << "the vanished process's file was let go, another took its place";

    ProcScan unheld(tree.path.string(), 0);
    EXPECT_TRUE(unheld.isRunning("p2") && unheld.heldFileCount() == 0) << "a budget of 0 holds nothing";
}

// A file kept open between scans reads the process's arguments as they are now: a
// process that execs another program is seen under its new name.
TEST(ProcScanRealProc, SeesAProcessUnderItsNewNameAfterExecAndTheLauncherStartAndEnd)
{
    test::TempDir folder;
    ProcScan scan;
    test::SpawnedProcess shell("sh", {"sh", "-c", "cp \"$(command -v sleep)\" \"$0\" && sleep 0.3 && exec \"$0\" 60",
                                      (folder.path / "QuorlinExecProbe").string()});
    ASSERT_TRUE(shell.started());
    EXPECT_FALSE(scan.isRunning("QuorlinExecProbe-not"));  // holds the shell's file now
    int tries = 0;
    while (!scan.isRunning("QuorlinExecProbe") && ++tries < 500)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_LT(tries, 500) << "seen under its new name";
    shell.stop();
    EXPECT_FALSE(scan.isRunning("QuorlinExecProbe")) << "ended and reaped: its held file reads ESRCH";

    // Only this case starts a process named exactly "SignalRgbLauncher.exe", so cases run in parallel cannot
    // disturb its "not running" checks. It is sleep started under that name: argv[0] is what the scan reads.
    if (scan.isRunning("SignalRgbLauncher.exe"))
        GTEST_SKIP() << "a real SignalRgbLauncher.exe runs on this machine";
    CWholeData data(systemProcessList());
    test::SpawnedProcess launcher("sleep", {"/x/SignalRgbLauncher.exe", "60"});
    ASSERT_TRUE(launcher.started());
    EXPECT_TRUE(data.isSignalRgbRunning());
    launcher.stop();
    EXPECT_FALSE(data.isSignalRgbRunning());
}

}  // namespace
}  // namespace quorlin
