#include "platform/linux/proc_scan_name.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace quorlin::procscan {
namespace {

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

enum class Argv0 { Matches, Differs, Empty, Unreadable };

Argv0 readArgv0(int fd, std::string_view wanted)
{
    LastElementMatcher matcher(wanted);
    char buffer[4096];
    // argv[0] is mostly short: the kernel copies no more of the arguments than asked.
    std::size_t ask = 256;
    for (off_t offset = 0;; ask = sizeof buffer) {
        const ssize_t got = preadSome(fd, buffer, ask, offset);
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

bool commMatches(int procFd, long pid, std::string_view wanted)
{
    char path[kMaxPidDigits + sizeof("/comm") + 1];
    std::snprintf(path, sizeof path, "%ld/comm", pid);
    const int fd = openat(procFd, path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    char buffer[256];
    const ssize_t got = preadSome(fd, buffer, sizeof buffer, 0);
    close(fd);
    if (got <= 0 || static_cast<std::size_t>(got) == sizeof buffer)
        return false;
    std::size_t length = static_cast<std::size_t>(got);
    if (buffer[length - 1] == '\n')
        --length;
    return std::string_view(buffer, length) == wanted;
}

}  // namespace

int openCmdline(int procFd, long pid)
{
    char path[kMaxPidDigits + sizeof("/cmdline") + 1];
    std::snprintf(path, sizeof path, "%ld/cmdline", pid);
    return openat(procFd, path, O_RDONLY | O_CLOEXEC);
}

NameRead readName(int cmdlineFd, int procFd, long pid, std::string_view wanted)
{
    switch (readArgv0(cmdlineFd, wanted)) {
    case Argv0::Matches: return {Verdict::Matches, false};
    case Argv0::Differs: return {Verdict::Differs, false};
    case Argv0::Unreadable: return {Verdict::Unreadable, false};
    case Argv0::Empty: break;
    }
    // Kernel threads and zombies have no arguments; only their comm names them.
    const bool matches = wanted.size() <= kMaxUserCommLength && commMatches(procFd, pid, wanted);
    return {matches ? Verdict::Matches : Verdict::Differs, true};
}

bool isKernelThread(int procFd, long pid)
{
    char path[kMaxPidDigits + sizeof("/stat") + 1];
    std::snprintf(path, sizeof path, "%ld/stat", pid);
    const int fd = openat(procFd, path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    char buffer[1024];
    const ssize_t got = preadSome(fd, buffer, sizeof buffer - 1, 0);
    close(fd);
    if (got <= 0)
        return false;
    buffer[got] = '\0';
    // "PID (comm) state ppid pgrp session tty tpgid flags ...": the comm may hold
    // spaces and parentheses, so the fields are counted from its last ')'.
    const char* field = static_cast<const char*>(memrchr(buffer, ')', static_cast<std::size_t>(got)));
    if (field == nullptr)
        return false;
    constexpr int kFieldsBeforeFlags = 6;  // state to tpgid
    ++field;
    for (int skipped = 0; skipped < kFieldsBeforeFlags; ++skipped) {
        field = std::strchr(field + 1, ' ');
        if (field == nullptr)
            return false;
    }
    char* end = nullptr;
    const unsigned long flags = std::strtoul(field + 1, &end, 10);
    return end != field + 1 && (flags & kKernelThreadFlag) != 0;
}

}  // namespace quorlin::procscan
