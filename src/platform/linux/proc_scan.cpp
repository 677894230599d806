#include "platform/linux/proc_scan.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
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

bool ProcScan::readName(Process& process)
{
    bool ended = false;
    if (process.fd >= 0) {
        process.verdict = procscan::nameVerdict(process.fd, procFd_, process.pid, wanted_);
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
    process.verdict = procscan::nameVerdict(fd, procFd_, process.pid, wanted_);
    if (process.verdict == Verdict::Unreadable)
        process.verdict = Verdict::Differs;
    if (held_ < maxHeld_) {
        process.fd = fd;
        ++held_;
    } else {
        close(fd);
    }
    return ended;
}

void ProcScan::refresh(Process& process, std::int64_t now, bool isNew, bool sweep)
{
    const bool young = now - process.firstSeenMs < kYoungMs;
    if (!isNew && !young && !sweep && process.verdict != Verdict::Matches)
        return;
    if (process.verdict == Verdict::Matches)
        release(process);  // read by number: a reused number must not keep it running
    if (readName(process))
        process.firstSeenMs = now;  // a new process under that number
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
    const bool sweep = now >= nextSweepMs_;
    if (sweep)
        nextSweepMs_ = now + kRecheckMs;
    const long lastPid = lastPid_.read();
    if (lastPid < 0 || lastPid != lastPidListed_ || table_.empty()) {
        if (!relist(now, sweep)) {
            forgetAll();
            return false;
        }
        lastPidListed_ = lastPid;
    } else {
        for (Process& process : table_)
            refresh(process, now, false, sweep);
    }
    return std::any_of(table_.begin(), table_.end(),
                       [](const Process& process) { return process.verdict == Verdict::Matches; });
}

bool ProcScan::relist(std::int64_t now, bool sweep)
{
    if (!procscan::listPids(procFd_, {listBuffer_.get(), kListBufferBytes}, listed_))
        return false;
    next_.clear();
    auto known = table_.begin();
    for (const long pid : listed_) {
        for (; known != table_.end() && known->pid < pid; ++known)
            release(*known);  // ended
        if (known != table_.end() && known->pid == pid) {
            next_.push_back(*known++);
            refresh(next_.back(), now, false, sweep);
        } else {
            next_.push_back(Process{pid, -1, now, Verdict::Differs});
            refresh(next_.back(), now, true, sweep);
        }
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
