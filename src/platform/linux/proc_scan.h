#pragma once
// The launcher check over /proc, cheap enough to run ten times a second on a desktop
// with hundreds of processes. A check lists /proc (one system call for the whole
// folder) unless no process or thread has started since the last one, and reads:
//   - every process it has not seen before, at once; so too a listed process whose
//     number has been handed out since the last listing (the newest number, from
//     /proc/loadavg, says which): its number now belongs to a new process;
//   - every process younger than kYoungMs, at every check: Wine sets the launcher's
//     name during its first moments, after the process has appeared;
//   - every process that matched last time, by a fresh open, so that an ended
//     launcher whose number was reused is not taken for running;
//   - each older process once every kSweepMs, so that an existing program that
//     execs into the name is seen within five seconds. Each process's turn comes at
//     its own moment (spread by its number), so every check reads a like share
//     rather than one check reading them all.
// Kernel threads (no arguments, and the kernel's flag in their stat) never exec:
// each is read once and then left alone until its number is handed out again (only
// a full turn of the numbers between two checks would hide that, as it would hide
// a new process from the listing). When the newest number cannot be read, numbers
// cannot be followed, and kernel threads are read like any other process.
// The cmdline files stay open between checks (within a budget): opening a /proc
// file costs several times more than reading it. A held file whose process has ended
// fails to read (ESRCH) even when its number is in use again; the number then counts
// as a new process.

#include "platform/process_list.h"
#include "platform/linux/proc_scan_list.h"
#include "platform/linux/proc_scan_name.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace quorlin {

class ProcScan : public ProcessList {
public:
    using NowMs = std::function<std::int64_t()>;
    static constexpr std::size_t kDefaultMaxHeldFiles = 2048;
    static constexpr std::int64_t kYoungMs = 3000;
    // An older process is read again at the first check after this long; half a
    // second below the five promised, so a check that comes late still keeps it.
    static constexpr std::int64_t kSweepMs = 4500;

    // `procRoot` is the folder holding one numeric folder per process; at most
    // `maxHeldFiles` cmdline files are kept open between calls (0: none); `nowMs`
    // is a monotonic clock in milliseconds (the steady clock when empty).
    explicit ProcScan(std::string procRoot = "/proc", std::size_t maxHeldFiles = kDefaultMaxHeldFiles,
                      NowMs nowMs = {});
    ProcScan(const ProcScan&) = delete;
    ProcScan& operator=(const ProcScan&) = delete;
    ~ProcScan() override;

    // A process's executable file name is the last element of its argv[0], split at
    // both '/' and '\', or its `comm` when argv[0] is empty (kernel threads, zombies;
    // a comm holds at most 15 characters, so longer names are not looked for there).
    // The comparison is exact and case-sensitive; an empty name never matches. An
    // unreadable root counts as nothing running. Asking for another name than the
    // last call starts afresh (every process is read). Safe from several threads.
    bool isRunning(std::string_view exeName) override;

    std::size_t heldFileCount() const;
    // Files read so far: cmdline files (with their comm when they hold no
    // arguments) and stat files.
    std::uint64_t readCount() const;

private:
    struct Process {
        long pid;
        int fd;  // its cmdline file, or -1
        std::int64_t firstSeenMs;
        std::int64_t sweepDueMs;  // its next turn in the sweep
        procscan::Verdict verdict;
        bool kernelThread;
    };

    static Process unread(long pid, std::int64_t now);
    // Lists the folder and brings the table in line; false when it cannot be read.
    // `lastPid` is the newest number handed out now, -1 when unknown.
    bool relist(std::int64_t now, long lastPid);
    // True when `pid` was handed out after the last listing's newest number and no
    // later than `lastPid`.
    bool numberedSinceListing(long pid, long lastPid) const;
    void refresh(Process& process, std::int64_t now, bool isNew);
    // Reads the verdict; true when the held file had ended and another process now
    // has the number. `noArguments` tells whether argv[0] was empty.
    bool readName(Process& process, bool& noArguments);
    void release(Process& process);
    // Drops every process and the open root folder.
    void forgetAll();

    const std::string procRoot_;
    const std::size_t maxHeld_;
    const NowMs nowMs_;
    mutable std::mutex mutex_;
    int procFd_ = -1;  // the root folder, open between checks
    std::string wanted_;
    bool numbersFollowed_ = false;  // this check knows the newest number handed out
    std::uint64_t reads_ = 0;
    std::vector<Process> table_;  // by ascending pid
    std::vector<Process> next_;
    std::vector<long> listed_;
    std::unique_ptr<char[]> listBuffer_;  // left uninitialised: only what a listing fills is resident
    const procscan::LastPid lastPid_;
    long lastPidListed_ = -1;
    std::size_t held_ = 0;
};

}  // namespace quorlin
