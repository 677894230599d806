#include "platform/linux/single_instance_lock.h"

#include "platform/as_user.h"
#include "platform/spawned_process.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <iostream>
#include <functional>
#include <sstream>

namespace quorlin {
namespace {

namespace fs = std::filesystem;
using Result = SingleInstanceLock::Result;
using test::asUser, test::kRoot, test::kUser;

std::string describe(SingleInstanceLock& lock, const fs::path& top)
{
    const Result result = lock.acquire();
    const char* names[] = {"Acquired", "AlreadyRunning", "Unguarded"};
    std::string text = names[static_cast<int>(result)];
    if (result == Result::Acquired)
        text += " " + fs::path(lock.path()).lexically_relative(top).string();
    return text;
}

// A shared temp folder like /tmp: everyone may add, only owners remove.
struct SharedTemp : test::TempDir {
    SharedTemp() { fs::permissions(path, fs::perms::all | fs::perms::sticky_bit); }
    std::string at(const std::string& name) const { return (path / name).string(); }
    std::string uidName(const char* pattern, uid_t uid) const
    {
        std::string name = pattern;
        return at(name.replace(name.find('#'), 1, std::to_string(uid)));
    }
};

TEST(SingleInstance, LockIsHeldUntilItsHolderGoesOrIsKilled)
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
}

// Whatever stands at a place, the start neither hangs nor ends: it locks the next
// place, one the next copy of the same user finds held, or runs unguarded and says so.
TEST(SingleInstance, AnythingButTheUsersOwnFileIsPassedOverForTheNextPlace)
{
    using Setup = std::function<void(const SharedTemp&)>;
    const auto fileOf = [](uid_t owner, mode_t mode) {
        return [=](const std::string& path) {
            std::ofstream(path).put('x');
            EXPECT_EQ(chown(path.c_str(), owner, gid_t(-1)) | chmod(path.c_str(), mode), 0);
        };
    };
    const auto folderOf = [](uid_t owner, mode_t mode) {
        return [=](const std::string& path) {
            EXPECT_EQ(mkdir(path.c_str(), mode) | chown(path.c_str(), owner, gid_t(-1)) | chmod(path.c_str(), mode), 0);
        };
    };
    const auto atName = [](auto make) { return [=](const SharedTemp& t) { make(t.uidName("Quorlin-#.lock", kUser)); }; };
    const auto atRun = [](auto make) { return [=](const SharedTemp& t) { make(t.at("run")); }; };
    const Setup fifo = atName([](const std::string& p) { EXPECT_EQ(mkfifo(p.c_str(), 0666), 0); });
    const std::string name = "Quorlin-" + std::to_string(kUser) + ".lock";
    const std::string folder = "quorlin-" + std::to_string(kUser) + "/Quorlin.lock";
    struct Case {
        const char* what;
        bool needsRoot;
        std::vector<Setup> setup;
        std::string expected;
    };
    const Case cases[] = {
        {"own runtime folder", false, {atRun(folderOf(kUser, 0700))}, "Acquired run/Quorlin.lock"},
        {"runtime folder unwritable", false, {atRun(folderOf(kUser, 0500))}, "Acquired " + name},
        {"runtime folder writable by all", false, {atRun(folderOf(kUser, 0777))}, "Acquired " + name},
        {"runtime folder of another user", true, {atRun(folderOf(0, 0755))}, "Acquired " + name},
        {"runtime folder a link", false,
         {atRun([](const std::string& p) { fs::create_directory_symlink(".", p); })}, "Acquired " + name},
        {"FIFO", false, {fifo}, "Acquired " + folder},
        {"symlink", false, {atName([](const std::string& p) { fs::create_symlink("elsewhere", p); })}, "Acquired " + folder},
        {"folder", false, {atName(folderOf(kUser, 0700))}, "Acquired " + folder},
        {"mode 000", false, {atName(fileOf(kUser, 0))}, "Acquired " + folder},
        {"another user's file", true, {atName(fileOf(0, 0666))}, "Acquired " + folder},
        {"and a shared folder", false,
         {fifo, [&](const SharedTemp& t) { folderOf(kUser, 0777)(t.uidName("quorlin-#", kUser)); }}, "Unguarded"},
    };
    for (const Case& c : cases) {
        if (c.needsRoot && !kRoot) {
            std::cout << "skipped as not root: " << c.what << '\n';
            continue;
        }
        SharedTemp temp;
        for (const Setup& setup : c.setup)
            setup(temp);
        const std::string outcome = asUser(kUser, [&] {
            std::ostringstream warnings;
            const LockPlaces places{temp.at("run"), temp.path.string()};
            SingleInstanceLock first(places, warnings), second(places, warnings);
            std::string seen = describe(first, temp.path);
            seen += " / " + describe(second, temp.path);
            describe(first, temp.path);
            const std::string lines = warnings.str();
            return seen + " / lines " + std::to_string(std::count(lines.begin(), lines.end(), '\n'));
        });
        const bool guarded = c.expected != "Unguarded";
        EXPECT_EQ(outcome, c.expected + " / " + (guarded ? "AlreadyRunning" : "Unguarded") + " / lines "
                               + (guarded ? "0" : "2"))
            << c.what;
        EXPECT_FALSE(fs::exists(temp.at("elsewhere"))) << "links are not followed";
    }
}

// Lock calls that fail for reasons other than a holder (no locks on that file
// system) pass the place over like any unusable file.
TEST(SingleInstance, FailingLockCallsMoveOnAndFinallyRunUnguarded)
{
    struct FailingFlock : LockSystem {
        int lstat(const char* p, struct stat* i) override { return real.lstat(p, i); }
        int fstat(int fd, struct stat* i) override { return real.fstat(fd, i); }
        int open(const char* p, int f, mode_t m) override { return real.open(p, f, m); }
        int close(int fd) override { return real.close(fd); }
        int flock(int fd, int op) override { return failures-- > 0 ? (errno = ENOLCK, -1) : real.flock(fd, op); }
        int mkdir(const char* p, mode_t m) override { return real.mkdir(p, m); }
        int canAccess(const char* p, int m) override { return real.canAccess(p, m); }
        uid_t uid() override { return real.uid(); }
        LockSystem& real = systemLockSystem();
        int failures = 0;
    } system;
    test::TempDir dir;
    std::ostringstream warnings;
    const LockPlaces places{dir.path.string(), dir.path.string()};
    system.failures = 1;
    SingleInstanceLock once(places, warnings, system);
    EXPECT_EQ(once.acquire(), Result::Acquired);
    EXPECT_EQ(once.path(), (dir.path / ("Quorlin-" + std::to_string(geteuid()) + ".lock")).string());
    system.failures = 3;
    SingleInstanceLock always({dir.path.string() + "/other", dir.path.string() + "/other"}, warnings, system);
    fs::create_directory(dir.path / "other");
    EXPECT_EQ(always.acquire(), Result::Unguarded);
    EXPECT_NE(warnings.str().find("running without one"), std::string::npos) << warnings.str();
}

}  // namespace
}  // namespace quorlin
