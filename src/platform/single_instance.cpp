#include "platform/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <utility>

namespace quorlin {
namespace {

bool isUsableDirectory(const char* path)
{
    struct stat info {};
    return path != nullptr && path[0] == '/' && stat(path, &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

SingleInstanceLock::SingleInstanceLock(std::string directory)
    : path_(std::move(directory) + "/" + kLockFileName)
{
}

SingleInstanceLock::~SingleInstanceLock()
{
    if (fd_ >= 0)
        close(fd_);
}

std::string SingleInstanceLock::defaultDirectory()
{
    for (const char* variable : {"XDG_RUNTIME_DIR", "TMPDIR"}) {
        const char* value = std::getenv(variable);
        if (isUsableDirectory(value))
            return value;
    }
    return "/tmp";
}

// The file is opened read-only and left readable by all: in a shared temp folder a
// lock file left behind by another user must not keep this user's copy from
// starting. Opening an existing file without O_CREAT also keeps clear of the
// kernel's refusal to O_CREAT-open other users' files in sticky folders.
int SingleInstanceLock::openLockFile() const
{
    constexpr int kFlags = O_RDONLY | O_CLOEXEC | O_NOFOLLOW;
    for (int attempt = 0; attempt < 3; ++attempt) {
        int fd = open(path_.c_str(), kFlags);
        if (fd >= 0 || errno != ENOENT)
            return fd;
        fd = open(path_.c_str(), kFlags | O_CREAT | O_EXCL, 0644);
        if (fd >= 0 || errno != EEXIST)
            return fd;
        // Another copy created it between the two opens: open what it made.
    }
    return -1;
}

SingleInstanceLock::Result SingleInstanceLock::acquire()
{
    if (fd_ >= 0)
        return Result::Acquired;
    const int fd = openLockFile();
    if (fd < 0)
        return Result::Failed;
    int locked;
    do {
        locked = flock(fd, LOCK_EX | LOCK_NB);
    } while (locked != 0 && errno == EINTR);
    if (locked == 0) {
        fd_ = fd;
        return Result::Acquired;
    }
    const bool heldElsewhere = errno == EWOULDBLOCK;
    close(fd);
    return heldElsewhere ? Result::AlreadyRunning : Result::Failed;
}

}  // namespace quorlin
