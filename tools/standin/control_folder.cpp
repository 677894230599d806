#include "control_folder.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

namespace quorlin::standin {
namespace {

constexpr std::size_t kMaxControlFileSize = 64 * 1024;
constexpr int kMaxErrno = 200;

bool sameFile(const struct stat& a, const struct stat& b)
{
    return a.st_ino == b.st_ino && a.st_dev == b.st_dev && a.st_size == b.st_size &&
           a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec &&
           a.st_ctim.tv_sec == b.st_ctim.tv_sec && a.st_ctim.tv_nsec == b.st_ctim.tv_nsec;
}

std::optional<std::string> readSmallFile(const std::string& path)
{
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return std::nullopt;
    std::string text;
    char buffer[4096];
    for (;;) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        text.append(buffer, static_cast<std::size_t>(got));
        if (text.size() >= kMaxControlFileSize) {
            text.resize(kMaxControlFileSize);
            break;
        }
    }
    close(fd);
    return text;
}

void writeAll(int fd, const std::string& text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t put = write(fd, text.data() + done, text.size() - done);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return;
        done += static_cast<std::size_t>(put);
    }
}

}  // namespace

const std::string& controlDir()
{
    static const std::string dir = [] {
        const char* value = std::getenv("QUORLIN_STANDIN_DIR");
        std::string text = value != nullptr ? value : "";
        while (text.size() > 1 && text.back() == '/')
            text.pop_back();
        return text;
    }();
    return dir;
}

bool ensureFolder(const std::string& sub)
{
    const std::string& dir = controlDir();
    if (dir.empty())
        return false;
    if (mkdir(dir.c_str(), 0777) != 0 && errno != EEXIST)
        return false;
    if (sub.empty())
        return true;
    const std::string inner = dir + "/" + sub;
    return mkdir(inner.c_str(), 0777) == 0 || errno == EEXIST;
}

const std::optional<std::string>& ControlFile::content()
{
    if (controlDir().empty()) {
        content_.reset();
        return content_;
    }
    const std::string path = controlDir() + "/" + name_;
    struct stat now{};
    if (stat(path.c_str(), &now) != 0 || !S_ISREG(now.st_mode)) {
        known_ = false;
        content_.reset();
        return content_;
    }
    if (known_ && sameFile(now, seen_))
        return content_;
    content_ = readSmallFile(path);
    seen_ = now;
    known_ = true;
    return content_;
}

FolderLock::FolderLock()
{
    if (!ensureFolder())
        return;
    fd_ = open((controlDir() + "/lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd_ < 0)
        return;
    while (flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
    }
}

FolderLock::~FolderLock()
{
    if (fd_ >= 0)
        close(fd_);  // releases the flock
}

double monotonicMs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

std::string errnoName(int error)
{
    if (error == 0)
        return "-";
    const char* name = strerrorname_np(error);
    return name != nullptr ? name : std::to_string(error);
}

std::optional<int> parseErrno(const std::string& text)
{
    if (text.empty())
        return std::nullopt;
    if (text.find_first_not_of("0123456789") == std::string::npos) {
        if (text.size() > 6)
            return std::nullopt;
        return std::atoi(text.c_str());
    }
    for (int value = 1; value < kMaxErrno; ++value) {
        const char* name = strerrorname_np(value);
        if (name != nullptr && text == name)
            return value;
    }
    return std::nullopt;
}

void logCall(double startMs, const char* call, int interfaceIndex, long result, int error,
             const std::string& bytes, const std::string& extra)
{
    if (!ensureFolder())
        return;
    char head[160];
    std::snprintf(head, sizeof head, "%.3f %ld %s %s %ld %s ", startMs, static_cast<long>(getpid()),
                  call, interfaceIndex < 0 ? "-" : std::to_string(interfaceIndex).c_str(), result,
                  errnoName(error).c_str());
    std::string line = head + bytes;
    if (!extra.empty())
        line += " " + extra;
    line += "\n";
    const int savedErrno = errno;
    const int fd = open((controlDir() + "/calls.log").c_str(),
                        O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (fd >= 0) {
        writeAll(fd, line);  // one write: lines of processes never interleave
        close(fd);
    }
    errno = savedErrno;
}

bool writeWhole(const std::string& name, const std::string& content)
{
    if (!ensureFolder())
        return false;
    const std::string path = controlDir() + "/" + name;
    const std::string temporary = path + ".tmp." + std::to_string(getpid());
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    writeAll(fd, content);
    close(fd);
    if (rename(temporary.c_str(), path.c_str()) != 0) {
        unlink(temporary.c_str());
        return false;
    }
    return true;
}

bool processAlive(long pid)
{
    if (pid <= 0)
        return false;
    return kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

}  // namespace quorlin::standin
