#include "platform/linux/proc_scan.h"

#include "platform/spawned_process.h"

#include <gtest/gtest.h>

#include <sys/prctl.h>
#include <unistd.h>

#include <cstring>
#include <iterator>
#include <sstream>

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
        {"1234567890123456789", "/x/TooLong\0"s},
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
                               "kthread105\n", "kthread108", "NotAPid", "TooLong", ""})
        EXPECT_FALSE(scan.isRunning(absent)) << absent;
    for (const char* root : {"missing", "107/comm"})
        EXPECT_FALSE(ProcScan((tree.path / root).string()).isRunning("kthread105")) << "unreadable root " << root;
    fs::remove_all(tree.path);
    EXPECT_FALSE(scan.isRunning("SignalRgbLauncher.exe")) << "a root that became unreadable";
}

TEST(ProcScanFakeTree, HoldsFilesWithinItsBudgetAndDropsAReusedLauncherNumberAtOnce)
{
    test::TempDir tree;
    auto start = [&](const char* pid, const std::string& argv0) {
        fs::create_directories(tree.path / pid);
        std::ofstream(tree.path / pid / "cmdline") << argv0 << '\0';
    };
    for (const char* pid : {"1", "2", "3"})
        start(pid, "/bin/p"s + pid);
    std::int64_t now = 0;
    ProcScan scan(tree.path.string(), 2, [&] { return now; });
    EXPECT_FALSE(scan.isRunning("absent"));
    EXPECT_EQ(scan.heldFileCount(), 2u) << "the budget caps what stays open";
    EXPECT_TRUE(scan.isRunning("p3")) << "a process beyond the budget is still read";
    fs::remove_all(tree.path / "1");
    EXPECT_FALSE(scan.isRunning("p1"));
    EXPECT_EQ(scan.heldFileCount(), 2u) << "the vanished process's file was let go, another took its place";

    start("7", "/x/SignalRgbLauncher.exe");
    EXPECT_TRUE(scan.isRunning("SignalRgbLauncher.exe"));
    now += ProcScan::kYoungMs;  // old, and its file is not held
    EXPECT_TRUE(scan.isRunning("SignalRgbLauncher.exe"));
    fs::remove_all(tree.path / "7");
    start("7", "/usr/bin/other");
    EXPECT_FALSE(scan.isRunning("SignalRgbLauncher.exe")) << "the number now belongs to another program";

    ProcScan unheld(tree.path.string(), 0);
    EXPECT_TRUE(unheld.isRunning("p2") && unheld.heldFileCount() == 0) << "a budget of 0 holds nothing";
}

// A forked child that waits for go(), then becomes the named program by exec or by
// rewriting its own argv[0] (as Wine's loader does), and stays until killed.
class Child {
public:
    enum class Becomes { ByExec, ByRename };

    Child(Becomes how, const std::string& argv0) : argv0_(argv0)
    {
        std::string sleep = fs::exists("/usr/bin/sleep") ? "/usr/bin/sleep" : "/bin/sleep";
        char* argv[] = {argv0_.data(), seconds_.data(), nullptr};
        std::pair<char*, char*> args = ownArgs();
        if (how == Becomes::ByRename && args.second - args.first <= static_cast<long>(argv0_.size()))
            return;  // the test program's own arguments are too short to hold the name
        if (pipe(go_) != 0)
            return;
        pid_ = fork();
        if (pid_ != 0)
            return;
        char byte = 0;
        if (read(go_[0], &byte, 1) == 1) {
            if (how == Becomes::ByExec) {
                execv(sleep.c_str(), argv);
            } else {
                std::memset(args.first, 0, static_cast<std::size_t>(args.second - args.first));
                std::memcpy(args.first, argv0_.data(), argv0_.size());
                prctl(PR_SET_NAME, "launcher", 0, 0, 0);
                for (;;)
                    pause();
            }
        }
        _exit(1);
    }
    ~Child()
    {
        end();
        for (int fd : go_)
            if (fd >= 0)
                close(fd);
    }
    bool started() const { return pid_ > 0; }
    // Lets the child change and returns once /proc shows its new argv[0].
    bool go()
    {
        if (write(go_[1], "g", 1) != 1)
            return false;
        const std::string path = "/proc/" + std::to_string(pid_) + "/cmdline";
        for (int i = 0; i < 2500; ++i) {
            std::string cmdline{std::istreambuf_iterator<char>(std::ifstream(path).rdbuf()), {}};
            if (cmdline.compare(0, argv0_.size() + 1, argv0_ + std::string(1, '\0')) == 0)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return false;
    }
    void end()
    {
        if (const pid_t pid = std::exchange(pid_, -1); pid > 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }

private:
    // The memory holding this program's arguments (fields 48 and 49 of its stat).
    static std::pair<char*, char*> ownArgs()
    {
        std::string stat{std::istreambuf_iterator<char>(std::ifstream("/proc/self/stat").rdbuf()), {}};
        std::istringstream rest(stat.substr(stat.rfind(')') + 2));  // from field 3 on
        const std::vector<std::string> fields{std::istream_iterator<std::string>(rest), {}};
        if (fields.size() < 47)
            return {nullptr, nullptr};
        return {reinterpret_cast<char*>(std::stoul(fields[45])), reinterpret_cast<char*>(std::stoul(fields[46]))};
    }

    std::string argv0_;
    std::string seconds_ = "60";
    int go_[2] = {-1, -1};
    pid_t pid_ = -1;
};

// A name no other test or program uses, so cases run in parallel cannot disturb it.
std::string uniqueName(const char* kind)
{
    return "Launcher"s + kind + std::to_string(getpid()) + ".exe";
}

TEST(ProcScanRealProc, ANewLauncherIsSeenAtTheFirstCheckAndGoneAtTheFirstAfterItsEnd)
{
    std::int64_t now = 0;  // frozen: only first reads and young processes' reads can see it
    ProcScan scan("/proc", ProcScan::kDefaultMaxHeldFiles, [&] { return now; });
    const std::string name = uniqueName("New");
    ASSERT_FALSE(scan.isRunning(name));
    {
        test::SpawnedProcess native("sleep", {"/opt/x/" + name, "60"});
        ASSERT_TRUE(native.started());
        EXPECT_TRUE(scan.isRunning(name)) << "started under the name";
    }
    EXPECT_FALSE(scan.isRunning(name)) << "ended";

    for (const auto how : {Child::Becomes::ByExec, Child::Becomes::ByRename}) {
        Child child(how, "C:\\x\\" + name);  // short: it must fit in this program's own arguments
        if (!child.started())
            GTEST_SKIP() << "cannot start a child that renames itself here";
        EXPECT_FALSE(scan.isRunning(name)) << "seen first under its old name";
        ASSERT_TRUE(child.go());
        EXPECT_TRUE(scan.isRunning(name)) << static_cast<int>(how) << ": took the name in its first moments";
        child.end();
        EXPECT_FALSE(scan.isRunning(name)) << static_cast<int>(how) << ": ended";
    }
}

TEST(ProcScanRealProc, AnOlderProcessThatExecsIntoTheNameIsSeenWithinASecond)
{
    std::int64_t now = 0;
    ProcScan scan("/proc", ProcScan::kDefaultMaxHeldFiles, [&] { return now; });
    const std::string name = uniqueName("Old");
    Child child(Child::Becomes::ByExec, "/opt/x/" + name);
    ASSERT_TRUE(child.started());
    EXPECT_FALSE(scan.isRunning(name));
    now += ProcScan::kYoungMs;
    EXPECT_FALSE(scan.isRunning(name));  // no longer young
    ASSERT_TRUE(child.go());
    bool seen = false;
    for (int step = 0; step <= 10 && !(seen = scan.isRunning(name)); ++step)
        now += 100;
    EXPECT_TRUE(seen) << "seen within a second of its exec";
}

}  // namespace
}  // namespace quorlin
