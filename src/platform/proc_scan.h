#pragma once
// The running programs as /proc lists them. Each call lists the process folders and
// reads every argv[0] afresh, so a program that has just started, ended or exec'd is
// seen at once. It runs several times a second, so the cmdline files stay open
// between calls: opening a /proc file costs several times more than reading it. A
// file whose process has ended fails to read (ESRCH), even when its number has been
// reused, and is then opened again by number.

#include "platform/process_list.h"

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <unordered_map>

namespace quorlin {

class ProcScan : public ProcessList {
public:
    static constexpr std::size_t kDefaultMaxHeldFiles = 2048;
    // What a process's argv[0] says about a wanted name.
    enum class Argv0 { Matches, Differs, Empty, Unreadable };

    // `procRoot` is the folder holding one numeric folder per process; at most
    // `maxHeldFiles` cmdline files are kept open between calls (0: none).
    explicit ProcScan(std::string procRoot = "/proc", std::size_t maxHeldFiles = kDefaultMaxHeldFiles);
    ProcScan(const ProcScan&) = delete;
    ProcScan& operator=(const ProcScan&) = delete;
    ~ProcScan() override;

    // A process's executable file name is the last element of its argv[0], split at
    // both '/' and '\' (programs run under Wine carry their Windows path there), or
    // its `comm` when argv[0] is empty (kernel threads, zombies; a process's comm
    // holds at most 15 characters, so longer names are not looked for there). The
    // comparison is exact and case-sensitive. An unreadable root counts as nothing
    // running; a process that vanishes or cannot be read during the walk is skipped.
    // An empty name never matches. Safe to call from several threads at once.
    bool isRunning(std::string_view exeName) override;

    std::size_t heldFileCount() const
    {
        std::lock_guard lock(mutex_);
        return held_.size();
    }

private:
    struct Held {
        int fd;
        std::uint64_t seenInScan;
    };

    Argv0 argv0Of(int procFd, const char* pid, std::string_view wanted);
    void forgetVanished();

    const std::string procRoot_;
    const std::size_t maxHeld_;
    mutable std::mutex mutex_;
    std::unordered_map<std::string, Held> held_;  // by pid folder name
    std::uint64_t scan_ = 0;
};

}  // namespace quorlin
