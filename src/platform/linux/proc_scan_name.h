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

// Decides from an open cmdline file (read from its start) and, when argv[0] is
// empty, from PID/comm. Unreadable when the cmdline file fails to read: the process
// it was opened for has ended (ESRCH), even if its number is in use again.
Verdict nameVerdict(int cmdlineFd, int procFd, long pid, std::string_view wanted);

}  // namespace quorlin::procscan
