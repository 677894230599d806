#include "platform/linux/proc_scan.h"

#include "platform/spawned_process.h"

#include <gtest/gtest.h>

#include <sys/prctl.h>
#include <unistd.h>

#include <algorithm>
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

// A /proc-like folder that also says which number was handed out last (its "self"
// names this test program, as the real /proc's does, so the scan trusts loadavg).
class NumberedTree {
public:
    NumberedTree()
    {
        fs::create_symlink(std::to_string(getpid()), dir_.path / "self");
        handOut(kFirstLastPid);
    }
    static constexpr long kFirstLastPid = 400;
    std::string root() const { return dir_.path.string(); }
    void handOut(long lastPid) { std::ofstream(dir_.path / "loadavg") << "0.00 0.01 0.05 1/90 " << lastPid << "\n"; }
    // A process with `argv0` (empty: no arguments) and the given stat flags and comm.
    void set(long pid, const std::string& argv0, unsigned long flags = 0, const std::string& comm = "p")
    {
        const fs::path folder = dir_.path / std::to_string(pid);
        fs::create_directories(folder);
        std::ofstream(folder / "cmdline", std::ios::binary) << argv0 << (argv0.empty() ? "" : "\0"s);
        std::ofstream(folder / "comm") << comm << "\n";
        std::ofstream(folder / "stat") << pid << " (" << comm << ") S 1 1 1 0 -1 " << flags << " 120 0 0 0\n";
    }

private:
    test::TempDir dir_;
};

constexpr unsigned long kKernelFlags = procscan::kKernelThreadFlag | 0x40;
constexpr const char* kLauncher = "SignalRgbLauncher.exe";
constexpr std::int64_t kPassMs = 100;  // the worker's polling pass

// Checks every pass from `now` on until the launcher shows; the time it took, or -1
// when it did not within `limitMs`.
std::int64_t msUntilSeen(ProcScan& scan, std::int64_t& now, std::int64_t limitMs)
{
    for (const std::int64_t start = now; now - start <= limitMs; now += kPassMs)
        if (scan.isRunning(kLauncher))
            return now - start;
    return -1;
}

// The worst case for an older process `pid` that takes the name: it does so just
// after the sweep has read it. Checks come every `passMs`; returns the time from that
// read to the check that sees the name, or -1 when none does within ten seconds.
std::int64_t worstDelayToSee(long pid, std::int64_t passMs)
{
    NumberedTree tree;
    tree.set(pid, "/usr/bin/idle");
    std::int64_t now = 1000;
    ProcScan scan(tree.root(), ProcScan::kDefaultMaxHeldFiles, [&] { return now; });
    for (; now <= 1000 + ProcScan::kYoungMs; now += passMs)
        scan.isRunning(kLauncher);
    for (std::uint64_t reads = scan.readCount(); scan.readCount() == reads; now += passMs)
        scan.isRunning(kLauncher);
    const std::int64_t readAt = now - passMs;
    tree.set(pid, "/opt/x/"s + kLauncher);
    for (; now - readAt <= 10000; now += passMs)
        if (scan.isRunning(kLauncher))
            return now - readAt;
    return -1;
}

TEST(ProcScanSweep, AnOlderProcessTakingTheNameIsSeenWithinFiveSecondsWhateverItsNumber)
{
    for (const long pid : {1L, 2L, 299L, 300L, 301L, 4499L, 4500L, 4501L, 32767L, 4194303L}) {
        const std::int64_t took = worstDelayToSee(pid, kPassMs);
        EXPECT_TRUE(took > 0 && took <= 5000) << "pid " << pid << " seen after " << took << " ms";
    }
}

TEST(ProcScanKernelThreads, AreReadOnceAndNeverAgainWhileTheirNumberStays)
{
    NumberedTree tree;
    tree.set(2, "", kKernelFlags, "kthreadd");
    tree.set(3, "", 0, "zombie");  // no arguments, yet a user process
    std::int64_t now = 0;
    ProcScan scan(tree.root(), ProcScan::kDefaultMaxHeldFiles, [&] { return now; });
    scan.isRunning(kLauncher);
    EXPECT_EQ(scan.heldFileCount(), 1u) << "a kernel thread's file is let go";
    now += ProcScan::kYoungMs;
    const std::uint64_t afterFirst = scan.readCount();
    // Impossible for a kernel thread; shows it is no longer read.
    tree.set(2, "/opt/x/"s + kLauncher);
    EXPECT_EQ(msUntilSeen(scan, now, 3 * ProcScan::kSweepMs), -1);
    EXPECT_GE(scan.readCount() - afterFirst, 3u) << "the other process without arguments is still swept";
}

TEST(ProcScanKernelThreads, OnlyTheFlagAfterTheLastParenthesisMarksOne)
{
    NumberedTree tree;
    // A user process whose comm imitates the rest of a kernel thread's stat line.
    const std::string comm = "a) S 2 0 0 0 -1 " + std::to_string(kKernelFlags) + " x";
    tree.set(7, "", 0, comm);
    std::int64_t now = 0;
    ProcScan scan(tree.root(), ProcScan::kDefaultMaxHeldFiles, [&] { return now; });
    scan.isRunning(kLauncher);
    now += ProcScan::kYoungMs;
    tree.set(7, "/opt/x/"s + kLauncher);
    const std::int64_t took = msUntilSeen(scan, now, 10000);
    EXPECT_TRUE(took >= 0 && took <= 5000) << took;
}

TEST(ProcScanKernelThreads, ANumberHandedOutAgainIsReadAtTheNextCheck)
{
    NumberedTree tree;
    tree.set(2, "", kKernelFlags, "kworker/0:1");
    tree.set(390, "", kKernelFlags, "kworker/1:2");
    std::int64_t now = 0;
    ProcScan scan(tree.root(), ProcScan::kDefaultMaxHeldFiles, [&] { return now; });
    scan.isRunning(kLauncher);
    now += ProcScan::kYoungMs;
    scan.isRunning(kLauncher);

    // 390 ends and a launcher gets its number; numbers up to 450 were handed out.
    tree.set(390, "/opt/x/"s + kLauncher);
    tree.handOut(450);
    EXPECT_FALSE(scan.isRunning(kLauncher)) << "390 was handed out before the last listing";
    // Numbers started again from the bottom: 2 is among those handed out.
    tree.set(2, "/opt/x/"s + kLauncher);
    tree.handOut(5);
    EXPECT_TRUE(scan.isRunning(kLauncher));
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

}  // namespace
}  // namespace quorlin
