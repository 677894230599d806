#pragma once
// The launcher check over /proc, cheap enough to run ten times a second on a desktop
// with hundreds of processes. A check lists /proc (one system call for the whole
// folder) unless no process or thread has started since the last one, and reads:
//   - every process it has not seen before, at once;
//   - every process younger than kYoungMs, at every check: Wine sets the launcher's
//     name during its first moments, after the process has appeared;
//   - every process that matched last time, by a fresh open, so that an ended
//     launcher whose number was reused is not taken for running;
//   - every older process together, once every kRecheckMs, so that an existing
//     program that execs into the name is seen within a second. One sweep reads
//     them while the caches are warm: spread over every check, each read would
//     come cold after the worker's sleep and cost several times more.
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
    // Below one second by about one polling pass, so a pass is never late for it.
    static constexpr std::int64_t kRecheckMs = 900;

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

private:
    struct Process {
        long pid;
        int fd;  // its cmdline file, or -1
        std::int64_t firstSeenMs;
        procscan::Verdict verdict;
    };

    // Lists the folder and brings the table in line; false when it cannot be read.
    bool relist(std::int64_t now, bool sweep);
    void refresh(Process& process, std::int64_t now, bool isNew, bool sweep);
    // Reads the verdict; true when the held file had ended and another process now
    // has the number.
    bool readName(Process& process);
    void release(Process& process);
    // Drops every process and the open root folder.
    void forgetAll();

    const std::string procRoot_;
    const std::size_t maxHeld_;
    const NowMs nowMs_;
    mutable std::mutex mutex_;
    int procFd_ = -1;  // the root folder, open between checks
    std::string wanted_;
    std::int64_t nextSweepMs_ = 0;
    std::vector<Process> table_;  // by ascending pid
    std::vector<Process> next_;
    std::vector<long> listed_;
    std::unique_ptr<char[]> listBuffer_;  // left uninitialised: only what a listing fills is resident
    const procscan::LastPid lastPid_;
    long lastPidListed_ = -1;
    std::size_t held_ = 0;
};

}  // namespace quorlin
