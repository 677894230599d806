#pragma once
// What one /proc/PID folder says about a process's executable file name: the last
// element of argv[0] (split at '/' and '\', so programs run under Wine match), or
// its comm when argv[0] is empty. Compared exactly and case-sensitively.

#include <cstddef>
#include <string_view>

namespace quorlin::procscan {

enum class Verdict { Matches, Differs, Unreadable };

// A user process's comm holds at most 15 characters; a longer wanted name is never
// looked for there.
constexpr std::size_t kMaxUserCommLength = 15;

// Longest numeric folder name taken as a process id.
constexpr std::size_t kMaxPidDigits = 18;

// Opens PID/cmdline below `procFd`; -1 on failure (errno set).
int openCmdline(int procFd, long pid);

struct NameRead {
    Verdict verdict;
    // argv[0] was empty: a kernel thread, a zombie, or a program that cleared it.
    bool noArguments;
};

// Decides from an open cmdline file (read from its start) and, when argv[0] is
// empty, from PID/comm. Unreadable when the cmdline file fails to read: the process
// it was opened for has ended (ESRCH), even if its number is in use again.
NameRead readName(int cmdlineFd, int procFd, long pid, std::string_view wanted);

// The kernel's flag for its own threads, in field 9 of PID/stat.
constexpr unsigned long kKernelThreadFlag = 0x00200000;

// True when PID/stat below `procFd` carries kKernelThreadFlag. False when it cannot be
// read: the caller then keeps treating the process as one that may exec.
bool isKernelThread(int procFd, long pid);

}  // namespace quorlin::procscan
