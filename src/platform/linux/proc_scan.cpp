#include "platform/linux/proc_scan.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <numeric>
#include <utility>

namespace quorlin {
namespace {

using procscan::Verdict;

// Room for a few thousand entries: a desktop's /proc in one getdents64 call.
constexpr std::size_t kListBufferBytes = 128 * 1024;

std::int64_t steadyNowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::int64_t floorDiv(std::int64_t a, std::int64_t b)
{
    return a / b - (a % b < 0 ? 1 : 0);
}

// When an older process read at `readMs` has its next turn in the sweep. Each has its
// own moment in every kSweepMs, set by its number; the multiplier (prime to kSweepMs,
// near its golden section) puts consecutive numbers far apart, so the processes
// started together by one program are not read together.
std::int64_t nextTurnMs(long pid, std::int64_t readMs)
{
    constexpr std::int64_t periodMs = ProcScan::kSweepMs;
    constexpr std::int64_t kSpread = 2783;
    static_assert(std::gcd(kSpread, periodMs) == 1);
    const std::int64_t offset = (static_cast<std::int64_t>(pid) % periodMs) * kSpread % periodMs;
    return (floorDiv(readMs + offset, periodMs) + 1) * periodMs - offset;
}

}  // namespace

ProcScan::ProcScan(std::string procRoot, std::size_t maxHeldFiles, NowMs nowMs)
    : procRoot_(std::move(procRoot)),
      maxHeld_(maxHeldFiles),
      nowMs_(nowMs ? std::move(nowMs) : NowMs(steadyNowMs)),
      listBuffer_(new char[kListBufferBytes]),
      lastPid_(procRoot_)
{
}

ProcScan::~ProcScan()
{
    forgetAll();
}

std::size_t ProcScan::heldFileCount() const
{
    std::lock_guard lock(mutex_);
    return held_;
}

std::uint64_t ProcScan::readCount() const
{
    std::lock_guard lock(mutex_);
    return reads_;
}

void ProcScan::release(Process& process)
{
    if (process.fd >= 0) {
        close(process.fd);
        process.fd = -1;
        --held_;
    }
}

void ProcScan::forgetAll()
{
    for (Process& process : table_)
        release(process);
    table_.clear();
    if (procFd_ >= 0)
        close(procFd_);
    procFd_ = -1;
}

bool ProcScan::readName(Process& process, bool& noArguments)
{
    bool ended = false;
    noArguments = false;
    if (process.fd >= 0) {
        ++reads_;
        const procscan::NameRead read = procscan::readName(process.fd, procFd_, process.pid, wanted_);
        process.verdict = read.verdict;
        noArguments = read.noArguments;
        if (process.verdict != Verdict::Unreadable)
            return false;
        release(process);  // its number may belong to another process by now
        ended = true;
    }
    const int fd = procscan::openCmdline(procFd_, process.pid);
    if (fd < 0) {
        process.verdict = Verdict::Differs;  // gone since the listing, or not ours to read
        return false;
    }
    ++reads_;
    const procscan::NameRead read = procscan::readName(fd, procFd_, process.pid, wanted_);
    process.verdict = read.verdict == Verdict::Unreadable ? Verdict::Differs : read.verdict;
    noArguments = read.noArguments;
    if (held_ < maxHeld_) {
        process.fd = fd;
        ++held_;
    } else {
        close(fd);
    }
    return ended;
}

ProcScan::Process ProcScan::unread(long pid, std::int64_t now)
{
    return Process{pid, -1, now, now, Verdict::Differs, false};
}

void ProcScan::refresh(Process& process, std::int64_t now, bool isNew)
{
    const bool matched = process.verdict == Verdict::Matches;
    if (process.kernelThread && !matched)
        return;
    const bool young = now - process.firstSeenMs < kYoungMs;
    if (!isNew && !young && !matched && now < process.sweepDueMs)
        return;
    if (matched)
        release(process);  // read by number: a reused number must not keep it running
    bool noArguments = false;
    const bool renumbered = readName(process, noArguments);
    process.sweepDueMs = nextTurnMs(process.pid, now);
    if (renumbered)
        process.firstSeenMs = now;  // a new process under that number
    // A kernel thread has no arguments from its start, so only a first read tells.
    if ((isNew || renumbered) && noArguments && numbersFollowed_ && !process.kernelThread) {
        ++reads_;
        if (procscan::isKernelThread(procFd_, process.pid)) {
            process.kernelThread = true;
            release(process);
        }
    }
}

bool ProcScan::isRunning(std::string_view exeName)
{
    if (exeName.empty())
        return false;
    std::lock_guard lock(mutex_);
    if (exeName != wanted_) {
        forgetAll();
        wanted_ = exeName;
    }
    if (procFd_ < 0)
        procFd_ = open(procRoot_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (procFd_ < 0)
        return false;
    const std::int64_t now = nowMs_();
    const long lastPid = lastPid_.read();
    numbersFollowed_ = lastPid >= 0;
    if (!numbersFollowed_) {
        // A kernel thread's number could pass to another process unnoticed.
        for (Process& process : table_)
            process.kernelThread = false;
    }
    if (lastPid < 0 || lastPid != lastPidListed_ || table_.empty()) {
        if (!relist(now, lastPid)) {
            forgetAll();
            return false;
        }
        lastPidListed_ = lastPid;
    } else {
        for (Process& process : table_)
            refresh(process, now, false);
    }
    return std::any_of(table_.begin(), table_.end(),
                       [](const Process& process) { return process.verdict == Verdict::Matches; });
}

bool ProcScan::numberedSinceListing(long pid, long lastPid) const
{
    const long before = lastPidListed_;
    if (before < 0 || lastPid < 0)
        return false;
    // Numbers are handed out upwards and start again low after the largest.
    return before <= lastPid ? pid > before && pid <= lastPid : pid > before || pid <= lastPid;
}

bool ProcScan::relist(std::int64_t now, long lastPid)
{
    if (!procscan::listPids(procFd_, {listBuffer_.get(), kListBufferBytes}, listed_))
        return false;
    next_.clear();
    auto known = table_.begin();
    for (const long pid : listed_) {
        for (; known != table_.end() && known->pid < pid; ++known)
            release(*known);  // ended
        const bool isKnown = known != table_.end() && known->pid == pid;
        if (isKnown && !numberedSinceListing(pid, lastPid)) {
            next_.push_back(*known++);
            refresh(next_.back(), now, false);
            continue;
        }
        if (isKnown)
            release(*known++);  // ended, and its number went to a new process
        next_.push_back(unread(pid, now));
        refresh(next_.back(), now, true);
    }
    for (; known != table_.end(); ++known)
        release(*known);
    table_.swap(next_);
    return true;
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
