#include "platform/proc_scan.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
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

ssize_t preadSome(int fd, char* buffer, std::size_t size, off_t offset)
{
    for (;;) {
        const ssize_t got = pread(fd, buffer, size, offset);
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

using Argv0 = ProcScan::Argv0;

// Reads argv[0] from an open cmdline file, from its start.
Argv0 readArgv0(int fd, std::string_view wanted)
{
    LastElementMatcher matcher(wanted);
    char buffer[4096];
    for (off_t offset = 0;;) {
        const ssize_t got = preadSome(fd, buffer, sizeof buffer, offset);
        if (got < 0)
            return Argv0::Unreadable;
        if (got == 0)
            break;
        offset += got;
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

int openCmdline(int procFd, const char* pid)
{
    char path[kMaxPidDigits + sizeof("/cmdline")];
    std::snprintf(path, sizeof path, "%s/cmdline", pid);
    return openat(procFd, path, O_RDONLY | O_CLOEXEC);
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

bool processHasName(int procFd, const char* pid, Argv0 argv0, std::string_view wanted)
{
    switch (argv0) {
    case Argv0::Matches: return true;
    case Argv0::Empty: return wanted.size() <= kMaxUserCommLength && commMatches(procFd, pid, wanted);
    case Argv0::Differs:
    case Argv0::Unreadable: return false;
    }
    return false;
}

}  // namespace

ProcScan::ProcScan(std::string procRoot, std::size_t maxHeldFiles)
    : procRoot_(std::move(procRoot)), maxHeld_(maxHeldFiles)
{
}

ProcScan::~ProcScan()
{
    for (const auto& [pid, held] : held_)
        close(held.fd);
}

ProcScan::Argv0 ProcScan::argv0Of(int procFd, const char* pid, std::string_view wanted)
{
    const auto it = held_.find(pid);
    if (it != held_.end()) {
        it->second.seenInScan = scan_;
        const Argv0 verdict = readArgv0(it->second.fd, wanted);
        if (verdict != Argv0::Unreadable)
            return verdict;
        // The process it was opened for has ended; the number may belong to a new one.
        close(it->second.fd);
        held_.erase(it);
    }
    const int fd = openCmdline(procFd, pid);
    if (fd < 0)
        return Argv0::Unreadable;
    const Argv0 verdict = readArgv0(fd, wanted);
    if (verdict != Argv0::Unreadable && held_.size() < maxHeld_)
        held_.emplace(pid, Held{fd, scan_});
    else
        close(fd);
    return verdict;
}

void ProcScan::forgetVanished()
{
    for (auto it = held_.begin(); it != held_.end();) {
        if (it->second.seenInScan != scan_) {
            close(it->second.fd);
            it = held_.erase(it);
        } else {
            ++it;
        }
    }
}

bool ProcScan::isRunning(std::string_view exeName)
{
    if (exeName.empty())
        return false;
    std::lock_guard lock(mutex_);
    const std::unique_ptr<DIR, DirCloser> dir(opendir(procRoot_.c_str()));
    if (!dir)
        return false;
    ++scan_;
    const int procFd = dirfd(dir.get());
    while (const dirent* entry = readdir(dir.get())) {
        if (isPidName(entry->d_name) &&
            processHasName(procFd, entry->d_name, argv0Of(procFd, entry->d_name, exeName), exeName))
            return true;  // a partial walk: vanished processes are forgotten next time
    }
    forgetVanished();
    return false;
}

ProcessList& systemProcessList()
{
    // Keep a quarter of the descriptors the process may have for the scan at most.
    rlimit limit{};
    std::size_t budget = ProcScan::kDefaultMaxHeldFiles;
    if (getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
        budget = std::min<std::size_t>(budget, limit.rlim_cur / 4);
    static ProcScan scan("/proc", budget);
    return scan;
}

}  // namespace quorlin
