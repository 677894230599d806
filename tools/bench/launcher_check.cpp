// Cost of the launcher check as the link worker makes it: one check every 100 ms,
// with the machine brought to a given number of processes by extra sleeping ones.
//
//   quorlin-bench-check PROCESSES [CHECKS]
//
// Starts as many `sleep` processes as it takes to list PROCESSES in /proc (none
// when there are already as many), lets them age past the check's young period,
// times CHECKS checks (default 30; the CPU time each takes) and ends the extra
// processes. Prints one line:
//   processes=N checks=K median_us=X mean_us=M p90_us=Y max_us=Z
// (the mean takes in the sweep: each older process read once every few seconds,
// a share of them at each check)
#include "platform/process_list.h"
#include "sleepers.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace quorlin::bench;

double threadCpuMicroseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) / 1e3;
}

// CPU time rather than wall time: on a busy machine the check may wait for a core.
double checkMicroseconds()
{
    const double start = threadCpuMicroseconds();
    const bool running = quorlin::systemProcessList().isRunning("SignalRgbLauncher.exe");
    const double end = threadCpuMicroseconds();
    if (running)
        std::fprintf(stderr, "note: a SignalRgbLauncher.exe runs on this machine\n");
    return end - start;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: quorlin-bench-check PROCESSES [CHECKS]\n");
        return 2;
    }
    const int wanted = std::atoi(argv[1]);
    const int checks = argc > 2 ? std::max(1, std::atoi(argv[2])) : 30;
    const std::vector<pid_t> children = spawnSleepers(std::max(0, wanted - countProcesses()));
    // Past the young period (3 s): the steady state of a long-running window.
    for (int i = 0; i < 35; ++i) {
        checkMicroseconds();
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    std::vector<double> times;
    for (int i = 0; i < checks; ++i) {
        times.push_back(checkMicroseconds());
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    const int processes = countProcesses();
    stopAll(children);
    std::sort(times.begin(), times.end());
    const auto at = [&](double fraction) { return times[static_cast<std::size_t>(fraction * (times.size() - 1))]; };
    const double mean = std::accumulate(times.begin(), times.end(), 0.0) / static_cast<double>(times.size());
    std::printf("processes=%d checks=%d median_us=%.1f mean_us=%.1f p90_us=%.1f max_us=%.1f\n", processes, checks,
                at(0.5), mean, at(0.9), times.back());
    return 0;
}
