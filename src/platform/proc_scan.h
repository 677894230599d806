#pragma once
// The running programs as /proc lists them. Each call walks the process folders
// afresh; nothing is cached, so a program that has just started or ended is seen at
// once. Cheap enough to run several times a second: no allocation per process.

#include "platform/process_list.h"

#include <string>

namespace quorlin {

class ProcScan : public ProcessList {
public:
    // `procRoot` is the folder holding one numeric folder per process.
    explicit ProcScan(std::string procRoot = "/proc");

    // A process's executable file name is the last element of its argv[0], split at
    // both '/' and '\' (programs run under Wine carry their Windows path there), or
    // its `comm` when argv[0] is empty (kernel threads, zombies; a process's comm
    // holds at most 15 characters, so longer names are not looked for there). The
    // comparison is exact and case-sensitive. An unreadable root counts as nothing
    // running; a process that vanishes or cannot be read during the walk is skipped.
    // An empty name never matches. Safe to call from several threads at once.
    bool isRunning(std::string_view exeName) override;

private:
    const std::string procRoot_;
};

}  // namespace quorlin
