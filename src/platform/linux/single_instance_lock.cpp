#include "platform/linux/single_instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <iostream>
#include <utility>

namespace quorlin {
namespace {

class SystemLockSystem final : public LockSystem {
public:
    int lstat(const char* path, struct stat* info) override { return ::lstat(path, info); }
    int fstat(int fd, struct stat* info) override { return ::fstat(fd, info); }
    int open(const char* path, int flags, mode_t mode) override { return ::open(path, flags, mode); }
    int close(int fd) override { return ::close(fd); }
    int flock(int fd, int operation) override { return ::flock(fd, operation); }
    int mkdir(const char* path, mode_t mode) override { return ::mkdir(path, mode); }
    int canAccess(const char* path, int mode) override { return ::faccessat(AT_FDCWD, path, mode, AT_EACCESS); }
    uid_t uid() override { return ::geteuid(); }
};

bool isAbsoluteFolder(const char* path)
{
    struct stat info {};
    return path != nullptr && path[0] == '/' && ::stat(path, &info) == 0 && S_ISDIR(info.st_mode);
}

// Never a FIFO (an open could block or be answered by its owner), never a link,
// never a file another user could hold a lock on.
constexpr int kOpenFlags = O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY;

}  // namespace

LockSystem& systemLockSystem()
{
    static SystemLockSystem system;
    return system;
}

LockPlaces LockPlaces::fromEnvironment()
{
    LockPlaces places;
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && runtime[0] == '/')
        places.runtimeFolder = runtime;
    const char* temp = std::getenv("TMPDIR");
    places.tempFolder = isAbsoluteFolder(temp) ? temp : "/tmp";
    return places;
}

std::ostream& SingleInstanceLock::defaultWarnings()
{
    return std::cerr;
}

SingleInstanceLock::SingleInstanceLock(LockPlaces places, std::ostream& warnings, LockSystem& system)
    : places_(std::move(places)), warnings_(warnings), system_(system)
{
}

SingleInstanceLock::SingleInstanceLock(std::string privateFolder)
    : SingleInstanceLock(LockPlaces{std::move(privateFolder), {}})
{
}

SingleInstanceLock::~SingleInstanceLock()
{
    if (fd_ >= 0)
        system_.close(fd_);
}

// The user's own folder: a real folder (not a link to one) that only the user can
// add to, and the user can.
bool SingleInstanceLock::isOwnFolder(const std::string& folder, bool makeIfMissing)
{
    struct stat info {};
    if (system_.lstat(folder.c_str(), &info) != 0) {
        if (!makeIfMissing || errno != ENOENT || system_.mkdir(folder.c_str(), 0700) != 0
            || system_.lstat(folder.c_str(), &info) != 0)
            return false;
    }
    return S_ISDIR(info.st_mode) && info.st_uid == system_.uid() && (info.st_mode & 022) == 0
           && system_.canAccess(folder.c_str(), W_OK | X_OK) == 0;
}

SingleInstanceLock::Attempt SingleInstanceLock::tryPlace(const std::string& file)
{
    const uid_t user = system_.uid();
    for (int attempt = 0; attempt < 3; ++attempt) {
        struct stat info {};
        int fd;
        if (system_.lstat(file.c_str(), &info) == 0) {
            if (!S_ISREG(info.st_mode) || info.st_uid != user)
                return Attempt::unusable;
            fd = system_.open(file.c_str(), kOpenFlags, 0);
        } else if (errno == ENOENT) {
            fd = system_.open(file.c_str(), kOpenFlags | O_CREAT | O_EXCL, 0600);
            if (fd < 0 && errno == EEXIST)
                continue;  // made meanwhile, by another copy or by someone else: look again
        } else {
            return Attempt::unusable;
        }
        if (fd < 0)
            return Attempt::unusable;  // a mode-000 file, a full or read-only folder, ...
        // What was opened is what was looked at: the folders in use let nobody else
        // swap the name, but a check on the open file costs nothing.
        if (system_.fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != user) {
            system_.close(fd);
            return Attempt::unusable;
        }
        int locked;
        do {
            locked = system_.flock(fd, LOCK_EX | LOCK_NB);
        } while (locked != 0 && errno == EINTR);
        if (locked == 0) {
            fd_ = fd;
            path_ = file;
            return Attempt::locked;
        }
        const bool held = errno == EWOULDBLOCK;
        system_.close(fd);
        return held ? Attempt::held : Attempt::unusable;
    }
    return Attempt::unusable;
}

SingleInstanceLock::Result SingleInstanceLock::acquire()
{
    if (fd_ >= 0)
        return Result::Acquired;
    const std::string uid = std::to_string(system_.uid());
    const std::string& runtime = places_.runtimeFolder;
    const std::string& temp = places_.tempFolder;
    // Each place is looked at only when every earlier one was unusable, so that two
    // copies of one user always settle on the same file.
    const auto outcome = [&]() {
        if (!runtime.empty() && isOwnFolder(runtime, false)) {
            if (const Attempt a = tryPlace(runtime + "/" + kLockFileName); a != Attempt::unusable)
                return a;
        }
        if (temp.empty())
            return Attempt::unusable;
        if (const Attempt a = tryPlace(temp + "/Quorlin-" + uid + ".lock"); a != Attempt::unusable)
            return a;
        const std::string folder = temp + "/quorlin-" + uid;
        return isOwnFolder(folder, true) ? tryPlace(folder + "/" + kLockFileName) : Attempt::unusable;
    }();
    switch (outcome) {
    case Attempt::locked:
        return Result::Acquired;
    case Attempt::held:
        return Result::AlreadyRunning;
    case Attempt::unusable:
        break;
    }
    if (!std::exchange(warned_, true)) {
        warnings_ << "Quorlin: no single-instance lock could be taken in "
                  << (runtime.empty() ? std::string() : runtime + " or ") << (temp.empty() ? "no temp folder" : temp)
                  << "; running without one, so a second copy may start" << std::endl;
    }
    return Result::Unguarded;
}

}  // namespace quorlin
