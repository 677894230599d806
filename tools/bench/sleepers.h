#pragma once
// Extra processes for the launcher-check benchmarks: sleeping children, started and
// ended here, and a count of what /proc lists.

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace quorlin::bench {

inline int countProcesses()
{
    int count = 0;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
        const std::string name = entry.path().filename().string();
        count += name.find_first_not_of("0123456789") == std::string::npos ? 1 : 0;
    }
    return count;
}

// Starts up to `count` sleeping children; returns those that started.
inline std::vector<pid_t> spawnSleepers(int count)
{
    std::vector<pid_t> children;
    char program[] = "sleep";
    char seconds[] = "600";
    char* argv[] = {program, seconds, nullptr};
    for (int i = 0; i < count; ++i) {
        pid_t pid = 0;
        if (posix_spawnp(&pid, program, nullptr, nullptr, argv, environ) != 0)
            break;
        children.push_back(pid);
    }
    return children;
}

inline void stopAll(const std::vector<pid_t>& children)
{
    for (const pid_t pid : children)
        kill(pid, SIGKILL);
    for (const pid_t pid : children)
        waitpid(pid, nullptr, 0);
}

}  // namespace quorlin::bench
