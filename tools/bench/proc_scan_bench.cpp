// Cost of one look at the running programs, with a few hundred extra processes
// about. The link worker makes this check about ten times a second.
//   bench_proc_scan [--children=N] [benchmark options]

#include "platform/linux/proc_scan.h"
#include "sleepers.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace quorlin::bench;

void BM_ScanNoMatch(benchmark::State& state)
{
    quorlin::ProcScan scan;
    for (auto _ : state)
        benchmark::DoNotOptimize(scan.isRunning("SignalRgbLauncher.exe"));
    state.counters["processes"] = countProcesses();
}
BENCHMARK(BM_ScanNoMatch)->Unit(benchmark::kMicrosecond);

// The same walk opening every cmdline file afresh on each call.
void BM_ScanNoMatchNothingHeld(benchmark::State& state)
{
    quorlin::ProcScan scan("/proc", 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(scan.isRunning("SignalRgbLauncher.exe"));
    state.counters["processes"] = countProcesses();
}
BENCHMARK(BM_ScanNoMatchNothingHeld)->Unit(benchmark::kMicrosecond);

void BM_SystemProcessList(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(quorlin::systemProcessList().isRunning("SignalRgbLauncher.exe"));
}
BENCHMARK(BM_SystemProcessList)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    int childCount = 300;
    std::vector<char*> rest;
    for (int i = 0; i < argc; ++i) {
        if (std::strncmp(argv[i], "--children=", 11) == 0)
            childCount = std::atoi(argv[i] + 11);
        else
            rest.push_back(argv[i]);
    }
    int restCount = static_cast<int>(rest.size());
    benchmark::Initialize(&restCount, rest.data());
    const std::vector<pid_t> children = spawnSleepers(childCount);
    std::fprintf(stderr, "started %zu sleeping children\n", children.size());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    stopAll(children);
    return 0;
}
