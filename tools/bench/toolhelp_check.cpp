// Cost of the launcher check on Windows (the Toolhelp snapshot walk), with the system
// brought to a given number of processes by sleeping ones (quorlin-bench-sleeper.exe,
// beside this program). Made for Wine, where each snapshot is built by wineserver.
//
//   quorlin-bench-toolhelp PROCESSES [CHECKS]
//
// Starts sleepers until a Toolhelp snapshot lists PROCESSES (none when there are
// already as many), times CHECKS checks (default 300) 10 ms apart and ends the
// sleepers. Prints one line:
//   processes=N checks=K median_us=X mean_us=M p90_us=Y max_us=Z cpu_us=C snapshot_us=S
// The times are wall time: much of a snapshot's work is done in wineserver (another
// process), which this program's own CPU time (cpu_us, its mean per check) leaves out.
// snapshot_us is the median of taking and closing a snapshot alone, without the walk:
// the rest of a check is Process32NextW, once per process.
#include "platform/process_list.h"

#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <string>
#include <vector>

namespace {

constexpr const char* kLauncherExe = "SignalRgbLauncher.exe";
constexpr int kDefaultChecks = 300;
constexpr int kWarmUpChecks = 20;
constexpr DWORD kCheckSpacingMs = 10;
constexpr int kTopUpRounds = 5;
constexpr DWORD kSettleMs = 500;

int countProcesses()
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return -1;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
        ++count;
    CloseHandle(snapshot);
    return count;
}

std::wstring sleeperPath()
{
    wchar_t self[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self, length);
    path.resize(path.find_last_of(L"\\/") + 1);
    return path + L"quorlin-bench-sleeper.exe";
}

// Starts up to `count` sleepers; returns those that started.
std::vector<HANDLE> startSleepers(int count)
{
    std::vector<HANDLE> sleepers;
    const std::wstring program = sleeperPath();
    const std::wstring line = L"\"" + program + L"\" " + std::to_wstring(GetCurrentProcessId());
    for (int i = 0; i < count; ++i) {
        std::wstring mutableLine = line;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        if (!CreateProcessW(program.c_str(), mutableLine.data(), nullptr, nullptr, FALSE, DETACHED_PROCESS,
                            nullptr, nullptr, &startup, &info)) {
            // Wine now and then refuses a start while many others are under way.
            std::fprintf(stderr, "could not start a sleeper (error %lu)\n", GetLastError());
            break;
        }
        CloseHandle(info.hThread);
        sleepers.push_back(info.hProcess);
    }
    return sleepers;
}

void stopAll(const std::vector<HANDLE>& sleepers)
{
    for (HANDLE process : sleepers)
        TerminateProcess(process, 0);
    for (HANDLE process : sleepers) {
        WaitForSingleObject(process, INFINITE);
        CloseHandle(process);
    }
}

double processCpuMicroseconds()
{
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    const auto ticks = [](const FILETIME& t) {
        return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return static_cast<double>(ticks(kernel) + ticks(user)) / 10.0;  // 100 ns units
}

double snapshotMicroseconds()
{
    const auto start = std::chrono::steady_clock::now();
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot != INVALID_HANDLE_VALUE)
        CloseHandle(snapshot);
    const auto end = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::micro>(end - start).count();
}

double median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double checkMicroseconds()
{
    const auto start = std::chrono::steady_clock::now();
    const bool running = quorlin::systemProcessList().isRunning(kLauncherExe);
    const auto end = std::chrono::steady_clock::now();
    if (running)
        std::fprintf(stderr, "note: a %s runs here\n", kLauncherExe);
    return std::chrono::duration<double, std::micro>(end - start).count();
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: quorlin-bench-toolhelp PROCESSES [CHECKS]\n");
        return 2;
    }
    const int wanted = std::atoi(argv[1]);
    const int checks = argc > 2 ? std::max(1, std::atoi(argv[2])) : kDefaultChecks;
    // Wine's own short-lived processes come and go meanwhile, and a start may be
    // refused: top up a few times.
    std::vector<HANDLE> sleepers;
    for (int round = 0; round < kTopUpRounds; ++round) {
        const int missing = wanted - countProcesses();
        if (missing <= 0)
            break;
        const std::vector<HANDLE> started = startSleepers(missing);
        sleepers.insert(sleepers.end(), started.begin(), started.end());
        Sleep(kSettleMs);
    }

    for (int i = 0; i < kWarmUpChecks; ++i)
        checkMicroseconds();
    std::vector<double> times;
    std::vector<double> snapshots;
    double cpu = 0;
    for (int i = 0; i < checks; ++i) {
        Sleep(kCheckSpacingMs);
        const double cpuBefore = processCpuMicroseconds();
        times.push_back(checkMicroseconds());
        cpu += processCpuMicroseconds() - cpuBefore;
        Sleep(kCheckSpacingMs);
        snapshots.push_back(snapshotMicroseconds());
    }
    const int processes = countProcesses();
    stopAll(sleepers);

    std::sort(times.begin(), times.end());
    const auto at = [&](double fraction) { return times[static_cast<std::size_t>(fraction * (times.size() - 1))]; };
    const double mean = std::accumulate(times.begin(), times.end(), 0.0) / static_cast<double>(times.size());
    std::printf("processes=%d checks=%d median_us=%.1f mean_us=%.1f p90_us=%.1f max_us=%.1f cpu_us=%.1f "
                "snapshot_us=%.1f\n",
                processes, checks, at(0.5), mean, at(0.9), times.back(), cpu / checks, median(snapshots));
    return 0;
}
