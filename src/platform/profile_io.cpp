#include "platform/profile_io.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorlin {
namespace {

bool writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Makes a finished rename survive a crash; a failure here loses nothing, as the
// rename itself has already happened.
void syncFolderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

class SystemProfileIo final : public ProfileIo {
public:
    ProfileFileRead readFile(const std::string& path) override
    {
        ProfileFileRead result;
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            result.status = (errno == ENOENT || errno == ENOTDIR) ? ProfileFileRead::Status::missing
                                                                  : ProfileFileRead::Status::failed;
            return result;
        }
        result.status = ProfileFileRead::Status::ok;
        char buffer[4096];
        for (;;) {
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got == 0)
                break;
            if (got < 0) {
                if (errno == EINTR)
                    continue;
                result.status = ProfileFileRead::Status::failed;
                result.bytes.clear();
                break;
            }
            result.bytes.append(buffer, static_cast<std::size_t>(got));
        }
        ::close(fd);
        return result;
    }

    std::optional<unsigned> permissions(const std::string& path) override
    {
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0)
            return std::nullopt;
        return static_cast<unsigned>(info.st_mode & 07777);
    }

    bool writeNewFile(const std::string& path, std::string_view bytes,
                      std::optional<unsigned> permissions) override
    {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0)
            return false;
        bool ok = (!permissions || ::fchmod(fd, static_cast<mode_t>(*permissions)) == 0)
                  && writeAll(fd, bytes) && ::fsync(fd) == 0;
        ok = (::close(fd) == 0) && ok;
        if (!ok)
            ::unlink(path.c_str());
        return ok;
    }

    bool rename(const std::string& from, const std::string& to) override
    {
        if (::rename(from.c_str(), to.c_str()) != 0)
            return false;
        syncFolderOf(to);
        return true;
    }

    void remove(const std::string& path) override { ::unlink(path.c_str()); }
};

}  // namespace

ProfileIo& systemProfileIo()
{
    static SystemProfileIo io;
    return io;
}

}  // namespace quorlin
