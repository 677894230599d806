#include "platform/proc_scan.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>

namespace quorlin {
namespace {

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

class FileCloser {
public:
    explicit FileCloser(int fd) : fd_(fd) {}
    ~FileCloser() { if (fd_ >= 0) close(fd_); }
    FileCloser(const FileCloser&) = delete;
    FileCloser& operator=(const FileCloser&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

// Longest numeric folder name taken as a process id; anything longer is not one.
constexpr std::size_t kMaxPidDigits = 19;
// A user process's comm holds at most 15 characters (the kernel's task name); only
// kernel workers show longer ones. A longer wanted name is therefore never looked
// up there, which spares a file open for every kernel thread on each scan.
constexpr std::size_t kMaxUserCommLength = 15;

bool isPidName(const char* name)
{
    std::size_t length = 0;
    for (; name[length] != '\0'; ++length) {
        if (name[length] < '0' || name[length] > '9' || length == kMaxPidDigits)
            return false;
    }
    return length > 0;
}

// Bytes read, 0 at end of file, -1 on failure (the process may be gone).
ssize_t readSome(int fd, char* buffer, std::size_t size)
{
    for (;;) {
        const ssize_t got = read(fd, buffer, size);
        if (got >= 0 || errno != EINTR)
            return got;
    }
}

// Follows the bytes of argv[0] and keeps only what decides the answer: whether the
// part after the last separator so far equals the wanted name.
class LastElementMatcher {
public:
    explicit LastElementMatcher(std::string_view wanted) : wanted_(wanted) {}

    void feed(char c)
    {
        ++length_;
        if (c == '/' || c == '\\') {
            tail_ = 0;
            tailMatches_ = true;
            return;
        }
        if (tailMatches_ && tail_ < wanted_.size() && wanted_[tail_] == c)
            ++tail_;
        else
            tailMatches_ = false;
    }
    bool empty() const { return length_ == 0; }
    bool matches() const { return tailMatches_ && tail_ == wanted_.size(); }

private:
    std::string_view wanted_;
    std::size_t length_ = 0;
    std::size_t tail_ = 0;
    bool tailMatches_ = true;
};

enum class Argv0 { Matches, Differs, Empty, Unreadable };

Argv0 checkArgv0(int procFd, const char* pid, std::string_view wanted)
{
    char path[kMaxPidDigits + sizeof("/cmdline")];
    std::snprintf(path, sizeof path, "%s/cmdline", pid);
    const FileCloser file(openat(procFd, path, O_RDONLY | O_CLOEXEC));
    if (file.get() < 0)
        return Argv0::Unreadable;

    LastElementMatcher matcher(wanted);
    char buffer[4096];
    for (;;) {
        const ssize_t got = readSome(file.get(), buffer, sizeof buffer);
        if (got < 0)
            return Argv0::Unreadable;
        if (got == 0)
            break;
        const auto* end = static_cast<const char*>(std::memchr(buffer, '\0', static_cast<std::size_t>(got)));
        const char* stop = end != nullptr ? end : buffer + got;
        for (const char* c = buffer; c != stop; ++c)
            matcher.feed(*c);
        if (end != nullptr)
            break;
    }
    if (matcher.empty())
        return Argv0::Empty;
    return matcher.matches() ? Argv0::Matches : Argv0::Differs;
}

bool commMatches(int procFd, const char* pid, std::string_view wanted)
{
    char path[kMaxPidDigits + sizeof("/comm")];
    std::snprintf(path, sizeof path, "%s/comm", pid);
    const FileCloser file(openat(procFd, path, O_RDONLY | O_CLOEXEC));
    if (file.get() < 0)
        return false;
    char buffer[256];
    const ssize_t got = readSome(file.get(), buffer, sizeof buffer);
    if (got <= 0 || static_cast<std::size_t>(got) == sizeof buffer)
        return false;
    std::size_t length = static_cast<std::size_t>(got);
    if (buffer[length - 1] == '\n')
        --length;
    return std::string_view(buffer, length) == wanted;
}

bool processHasName(int procFd, const char* pid, std::string_view wanted)
{
    switch (checkArgv0(procFd, pid, wanted)) {
    case Argv0::Matches: return true;
    case Argv0::Empty: return wanted.size() <= kMaxUserCommLength && commMatches(procFd, pid, wanted);
    case Argv0::Differs:
    case Argv0::Unreadable: return false;
    }
    return false;
}

}  // namespace

ProcScan::ProcScan(std::string procRoot) : procRoot_(std::move(procRoot)) {}

bool ProcScan::isRunning(std::string_view exeName)
{
    if (exeName.empty())
        return false;
    const std::unique_ptr<DIR, DirCloser> dir(opendir(procRoot_.c_str()));
    if (!dir)
        return false;
    const int procFd = dirfd(dir.get());
    while (const dirent* entry = readdir(dir.get())) {
        if (isPidName(entry->d_name) && processHasName(procFd, entry->d_name, exeName))
            return true;
    }
    return false;
}

ProcessList& systemProcessList()
{
    static ProcScan scan;
    return scan;
}

}  // namespace quorlin
