#pragma once
// Helpers for tests that start real processes: a temporary folder, and a child
// program that is killed and reaped when the object goes.

#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

extern char** environ;

namespace quorlin::test {

struct TempDir {
    std::string pattern = (std::filesystem::temp_directory_path() / "quorlin-test-XXXXXX").string();
    std::filesystem::path path = mkdtemp(pattern.data()) != nullptr ? pattern : "";
    ~TempDir() { std::error_code ignored; std::filesystem::remove_all(path, ignored); }
};

struct SpawnedProcess {
    // Runs `program` (looked up in PATH) with `args`, args[0] included. Returns once
    // the exec is complete: the parent of a spawn may go on before the child's close-
    // on-exec descriptors are closed and its new arguments are in place.
    SpawnedProcess(const std::string& program, std::vector<std::string> args)
    {
        std::vector<char*> argv;
        std::string expected;
        for (std::string& arg : args)
            argv.push_back(arg.data()), expected += arg + '\0';
        argv.push_back(nullptr);
        if (posix_spawnp(&pid_, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0)
            pid_ = -1;
        for (int i = 0; pid_ > 0 && i < 1000 && cmdline() != expected; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    ~SpawnedProcess() { stop(); }
    // One owner kills and reaps.
    SpawnedProcess(const SpawnedProcess&) = delete; void operator=(const SpawnedProcess&) = delete;
    bool started() const { return pid_ > 0; }
    void stop()
    {
        if (const pid_t pid = std::exchange(pid_, -1); pid > 0 && kill(pid, SIGKILL) == 0)
            waitpid(pid, nullptr, 0);
    }
    std::string cmdline() const
    {
        return {std::istreambuf_iterator<char>(std::ifstream("/proc/" + std::to_string(pid_) + "/cmdline").rdbuf()), {}};
    }
    pid_t pid_ = -1;
};

}  // namespace quorlin::test
