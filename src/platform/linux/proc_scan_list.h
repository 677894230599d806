#pragma once
// The process numbers in a /proc folder, listed with few system calls.

#include <cstddef>
#include <span>
#include <string>
#include <vector>

namespace quorlin::procscan {

// Lists the numeric entries of the directory `dirFd` (rewound first) into `pids`,
// ascending, using `buffer` for the raw entries. False when the directory cannot be
// read; `pids` is then empty.
bool listPids(int dirFd, std::span<char> buffer, std::vector<long>& pids);

// The newest process or thread id handed out, from `procRoot`/loadavg: while it stays
// the same, no process has started. Only trusted when `procRoot` shows this
// process's own pid namespace (its "self" is getpid()); -1 otherwise or on failure.
class LastPid {
public:
    explicit LastPid(const std::string& procRoot);
    ~LastPid();
    LastPid(const LastPid&) = delete;
    LastPid& operator=(const LastPid&) = delete;
    long read() const;

private:
    int fd_ = -1;
};

}  // namespace quorlin::procscan
