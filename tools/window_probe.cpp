// Measures the main window the way a user runs it: time from program start to the
// window shown, resident memory, and the CPU it takes while connected and polling.
// The window, its worker and the launcher check are the real ones; only the light is
// simulated. With --bare it measures an empty Qt dialog started the same way.
//
//   window_probe [--bare] [--seconds=N]
//
// Prints one line per figure. Runs offscreen unless QT_QPA_PLATFORM says otherwise.
#include "link/clock.h"
#include "link/device_link.h"
#include "link/sim/simulated_light.h"
#include "platform/process_list.h"
#include "platform/profile_store.h"
#include "shell/whole_data.h"
#include "ui/qt/main_window.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QTimer>

#include <sys/resource.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

namespace {

long residentKiB()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Runs the event loop for `ms` milliseconds.
void runFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace

int main(int argc, char** argv)
{
    QElapsedTimer sinceStart;
    sinceStart.start();
    bool bare = false;
    int seconds = 30;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--bare") == 0)
            bare = true;
        else if (std::strncmp(argv[i], "--seconds=", 10) == 0)
            seconds = std::atoi(argv[i] + 10);
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    using namespace quorlin;
    CWholeData data(systemProcessList(), systemProfileStore());
    data.loadLanguage("English");
    sim::SimulatedLight light(systemClock(), 1);
    std::ostringstream diagnostics;
    DeviceLink link(data, light, systemClock(), diagnostics, diagnostics);
    std::unique_ptr<QDialog> window;
    if (bare) {
        window = std::make_unique<QDialog>();
        window->show();
    } else {
        auto dlg = std::make_unique<QtMainWindow>(DialogServices{data, link, light, systemClock(), nullptr});
        dlg->OnInitDialog();
        dlg->show();
        window = std::move(dlg);
    }
    QApplication::processEvents();
    std::printf("shown after: %lld ms\n", static_cast<long long>(sinceStart.elapsed()));
    std::printf("resident at show: %ld KiB\n", residentKiB());

    runFor(2000);  // connected and settled
    if (!bare)
        std::printf("connected: %s\n", data.reconnectRequested == 0 ? "yes" : "no");
    const double cpuBefore = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    runFor(seconds * 1000);
    const double cpu = cpuSeconds() - cpuBefore;
    std::printf("cpu over %d s: %.3f s = %.2f %% of one core\n", seconds, cpu,
                100.0 * cpu / (static_cast<double>(wall.elapsed()) / 1000.0));
    std::printf("resident after: %ld KiB\n", residentKiB());

    QElapsedTimer closing;
    closing.start();
    window->close();
    std::printf("close took: %lld ms\n", static_cast<long long>(closing.elapsed()));
    return 0;
}
