#include "platform/linux/xdg_user_folder.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorlin {
namespace {

std::string describe(const std::string& what, const std::string& path, int error)
{
    return what + " " + path + ": " + std::strerror(error);
}

bool isAbsolute(const std::string& path)
{
    return !path.empty() && path.front() == '/';
}

// mkdir -p with 0700 for every folder it makes; an existing one is left alone.
int makeFolders(const std::string& path)
{
    for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return errno;
        if (slash == std::string::npos)
            break;
    }
    struct stat made {};
    if (::stat(path.c_str(), &made) != 0)
        return errno;
    return S_ISDIR(made.st_mode) ? 0 : ENOTDIR;
}

bool writeAll(int fd, const char* data, ssize_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, static_cast<std::size_t>(size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= n;
    }
    return true;
}

// Copies `from` into a private temporary beside `to` and links it in under its
// name: the name appears whole or not at all, and never over anything there.
// Returns 0, or the errno of the step that failed (EEXIST is success: seeded by
// another start meanwhile).
int copyNew(const std::string& from, const std::string& to, std::string& failedPath)
{
    failedPath = from;
    const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return errno;
    std::string temp = to + ".XXXXXX";
    const int out = ::mkostemp(temp.data(), O_CLOEXEC);
    if (out < 0) {
        const int error = errno;
        ::close(in);
        failedPath = to;
        return error;
    }
    int error = 0;
    char buffer[16384];
    for (;;) {
        const ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            error = errno;
            break;
        }
        if (n == 0)
            break;
        if (!writeAll(out, buffer, n)) {
            error = errno != 0 ? errno : EIO;
            failedPath = to;
            break;
        }
    }
    ::close(in);
    if (::close(out) != 0 && error == 0) {
        error = errno;
        failedPath = to;
    }
    if (error == 0 && ::link(temp.c_str(), to.c_str()) != 0 && errno != EEXIST) {
        error = errno;
        failedPath = to;
    }
    ::unlink(temp.c_str());
    return error;
}

}  // namespace

std::string userFolderPath(const UserFolderPlaces& places)
{
    if (isAbsolute(places.configHome))
        return places.configHome + "/quorlin";
    if (isAbsolute(places.home))
        return places.home + "/.config/quorlin";
    return {};
}

std::vector<std::string> enterUserFolder(const UserFolderPlaces& places)
{
    std::vector<std::string> problems;
    const std::string folder = userFolderPath(places);
    if (folder.empty()) {
        problems.push_back("no per-user folder: neither XDG_CONFIG_HOME nor HOME is an absolute path");
        return problems;
    }
    if (const int error = makeFolders(folder); error != 0) {
        problems.push_back(describe("cannot create", folder, error));
        return problems;
    }
    for (const std::string& name : places.seedFiles) {
        const std::string target = folder + "/" + name;
        struct stat there {};
        if (::lstat(target.c_str(), &there) == 0)
            continue;
        std::string failedPath;
        if (const int error = copyNew(places.defaults + "/" + name, target, failedPath); error != 0)
            problems.push_back(describe("cannot copy the default", failedPath, error));
    }
    if (::chdir(folder.c_str()) != 0)
        problems.push_back(describe("cannot enter", folder, errno));
    return problems;
}

std::string executableFolder()
{
    char path[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0)
        return {};
    const std::string exe(path, static_cast<std::size_t>(n));
    return exe.substr(0, exe.rfind('/'));
}

}  // namespace quorlin
