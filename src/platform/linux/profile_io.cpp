#include "platform/linux/profile_io.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorlin {
namespace {

bool writeAllAt(int fd, std::string_view bytes, off_t offset)
{
    while (!bytes.empty()) {
        const ssize_t written = ::pwrite(fd, bytes.data(), bytes.size(), offset);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
        offset += written;
    }
    return true;
}

std::string folderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

// Makes a finished rename survive a crash; a failure here loses nothing, as the
// rename itself has already happened.
void syncFolderOf(const std::string& path)
{
    const int fd = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

ProfileFileRead readOpenFile(int fd)
{
    using Status = ProfileFileRead::Status;
    ProfileFileRead result;
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return {Status::failed, {}, 0};
    if (!S_ISREG(info.st_mode))
        return {Status::notRegular, {}, 0};
    if (static_cast<std::size_t>(info.st_size) > kProfileFileLimit)
        return {Status::tooLarge, {}, 0};
    result.status = Status::ok;
    result.mode = static_cast<unsigned>(info.st_mode & 07777);
    // The size may be stale or, in /proc and the like, 0: read to the end, bounded,
    // in small pieces so that a small file costs no megabyte of zeroed pages.
    std::string bytes;
    char chunk[4096];
    while (bytes.size() <= kProfileFileLimit) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got == 0)
            break;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return {Status::failed, {}, 0};
        }
        bytes.append(chunk, static_cast<std::size_t>(got));
    }
    if (bytes.size() > kProfileFileLimit)
        return {Status::tooLarge, {}, 0};
    result.bytes = std::move(bytes);
    return result;
}

class SystemProfileIo final : public ProfileIo {
public:
    ProfileFileRead readFile(const std::string& path) override
    {
        const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0) {
            const bool absent = errno == ENOENT || errno == ENOTDIR;
            return {absent ? ProfileFileRead::Status::missing : ProfileFileRead::Status::failed, {}, 0};
        }
        ProfileFileRead result = readOpenFile(fd);
        const int error = errno;
        ::close(fd);
        errno = error;
        return result;
    }

    std::string resolveLinks(const std::string& path) override
    {
        std::string current = path;
        for (int hop = 0; hop < 40; ++hop) {
            struct stat info {};
            if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
                return current;
            std::string target(PATH_MAX, '\0');
            const ssize_t length = ::readlink(current.c_str(), target.data(), target.size());
            if (length <= 0 || static_cast<std::size_t>(length) >= target.size())
                return {};
            target.resize(static_cast<std::size_t>(length));
            current = target.front() == '/' || current.find('/') == std::string::npos
                          ? target
                          : folderOf(current) + "/" + target;
        }
        errno = ELOOP;
        return {};
    }

    bool canAccess(const std::string& path, int mode) override
    {
        return ::faccessat(AT_FDCWD, path.c_str(), mode, AT_EACCESS) == 0;
    }

    bool writeNewFile(const std::string& path, std::string_view bytes, bool keepMode, unsigned mode) override
    {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0)
            return false;
        bool ok = (!keepMode || ::fchmod(fd, static_cast<mode_t>(mode)) == 0) && writeAllAt(fd, bytes, 0)
                  && ::fsync(fd) == 0;
        const int error = errno;
        ok = (::close(fd) == 0) && ok;
        if (!ok) {
            ::unlink(path.c_str());
            errno = error;
        }
        return ok;
    }

    bool rename(const std::string& from, const std::string& to) override
    {
        if (::rename(from.c_str(), to.c_str()) != 0)
            return false;
        syncFolderOf(to);
        return true;
    }

    bool rewriteInPlace(const std::string& path, std::string_view before, std::string_view after) override
    {
        const int fd = ::open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0)
            return false;
        struct stat info {};
        if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || static_cast<std::size_t>(info.st_size) != before.size()) {
            ::close(fd);
            errno = EAGAIN;  // not the file that was read: changed meanwhile
            return false;
        }
        const auto differ = static_cast<std::size_t>(
            std::mismatch(before.begin(), before.end(), after.begin(), after.end()).first - before.begin());
        // A longer file needs its room first, so that a full disk fails before a
        // single byte is changed. File systems without the call simply skip it.
        const bool roomy = after.size() <= before.size()
                           || ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(after.size())) == 0
                           || errno == EOPNOTSUPP;
        if (!roomy) {
            const int error = errno;
            ::close(fd);
            errno = error;
            return false;
        }
        const auto offset = static_cast<off_t>(differ);
        bool ok = writeAllAt(fd, after.substr(differ), offset)
                  && ::ftruncate(fd, static_cast<off_t>(after.size())) == 0 && ::fsync(fd) == 0;
        const int error = errno;
        if (!ok) {
            (void)(writeAllAt(fd, before.substr(differ), offset)
                   && ::ftruncate(fd, static_cast<off_t>(before.size())) == 0 && ::fsync(fd) == 0);
        }
        ok = (::close(fd) == 0) && ok;
        if (!ok)
            errno = error;
        return ok;
    }

    void remove(const std::string& path) override { ::unlink(path.c_str()); }

    std::vector<std::string> folderEntries(const std::string& folder) override
    {
        std::vector<std::string> names;
        DIR* dir = ::opendir(folder.c_str());
        if (dir == nullptr)
            return names;
        while (const dirent* entry = ::readdir(dir)) {
            const std::string_view name = entry->d_name;
            if (name != "." && name != "..")
                names.emplace_back(name);
        }
        ::closedir(dir);
        return names;
    }

    bool processExists(pid_t pid) override { return ::kill(pid, 0) == 0 || errno != ESRCH; }
};

}  // namespace

ProfileIo& systemProfileIo()
{
    static SystemProfileIo io;
    return io;
}

}  // namespace quorlin
