#include "platform/linux/proc_scan_list.h"

#include "platform/linux/proc_scan_name.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace quorlin::procscan {
namespace {

// The number a folder name spells, or -1 when it is not a process id.
long pidOf(const char* name)
{
    long pid = 0;
    std::size_t length = 0;
    for (; name[length] != '\0'; ++length) {
        if (name[length] < '0' || name[length] > '9' || length == kMaxPidDigits)
            return -1;
        pid = pid * 10 + (name[length] - '0');
    }
    return length > 0 ? pid : -1;
}

}  // namespace

bool listPids(int dirFd, std::span<char> buffer, std::vector<long>& pids)
{
    pids.clear();
    if (lseek(dirFd, 0, SEEK_SET) != 0)
        return false;
    for (;;) {
        const ssize_t got = getdents64(dirFd, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            pids.clear();
            return false;
        }
        if (got == 0)
            break;
        for (ssize_t at = 0; at < got;) {
            dirent64 entry;
            // Records are packed; copy the fixed part out before reading its fields.
            std::memcpy(&entry, buffer.data() + at, offsetof(dirent64, d_name));
            if (entry.d_reclen == 0)
                return pids.clear(), false;
            const long pid = pidOf(buffer.data() + at + offsetof(dirent64, d_name));
            if (pid >= 0)
                pids.push_back(pid);
            at += entry.d_reclen;
        }
    }
    // /proc lists processes in ascending order; other folders need sorting.
    if (!std::is_sorted(pids.begin(), pids.end()))
        std::sort(pids.begin(), pids.end());
    return true;
}

LastPid::LastPid(const std::string& procRoot)
{
    char self[32] = {};
    if (readlink((procRoot + "/self").c_str(), self, sizeof self - 1) < 0 || std::atol(self) != getpid())
        return;
    fd_ = open((procRoot + "/loadavg").c_str(), O_RDONLY | O_CLOEXEC);
}

LastPid::~LastPid()
{
    if (fd_ >= 0)
        close(fd_);
}

long LastPid::read() const
{
    // "0.10 0.05 0.01 1/234 5678": the last field.
    char text[128];
    const ssize_t got = fd_ >= 0 ? pread(fd_, text, sizeof text - 1, 0) : -1;
    if (got <= 0)
        return -1;
    text[got] = '\0';
    const char* last = std::strrchr(text, ' ');
    if (last == nullptr)
        return -1;
    char* end = nullptr;
    const long pid = std::strtol(last + 1, &end, 10);
    return end != last + 1 && pid >= 0 ? pid : -1;
}

}  // namespace quorlin::procscan
