// A second process for the platform tests, copied under whatever name a test needs:
//   hold                       print "ready", then wait until standard input closes
//   hold-mutex                 take the single-instance mutex, print the result
//                              ("0" Acquired, "1" AlreadyRunning, "2" Unguarded), hold it
//                              until standard input closes
//   device-change <kind> <type> <name>
//                              send WM_DEVICECHANGE (kind "arrival", "removal" or a
//                              number) with a record of device type <type> and
//                              interface name <name> to the notification window;
//                              exit 0, or 3 when no such window exists
#include "link/device_broadcast.h"
#include "platform/windows/named_mutex_instance.h"
#include "platform/windows/usb_notify_window.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr int kNoWindow = 3;
constexpr int kBadArguments = 4;

void waitForInputToClose()
{
    char buffer[64];
    DWORD got = 0;
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    while (ReadFile(input, buffer, sizeof buffer, &got, nullptr) && got > 0) {
    }
}

void say(const char* text)
{
    std::fputs(text, stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

std::uintptr_t eventKind(const char* kind)
{
    if (std::strcmp(kind, "arrival") == 0)
        return quorlin::DBT_DEVICEARRIVAL;
    if (std::strcmp(kind, "removal") == 0)
        return quorlin::DBT_DEVICEREMOVECOMPLETE;
    return std::strtoul(kind, nullptr, 0);
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "hold") {
        say("ready");
        waitForInputToClose();
        return 0;
    }
    if (mode == "hold-mutex") {
        quorlin::NamedMutexInstance instance;
        const int result = static_cast<int>(instance.acquire());
        say(std::to_string(result).c_str());
        waitForInputToClose();
        return 0;
    }
    if (mode == "device-change" && argc == 5) {
        const HWND window = FindWindowA(quorlin::NotifyWindow::kClassName, nullptr);
        if (window == nullptr)
            return kNoWindow;
        const quorlin::BroadcastRecord record =
            quorlin::makeBroadcastRecord(static_cast<std::uint32_t>(std::strtoul(argv[3], nullptr, 0)), argv[4]);
        SendMessageA(window, WM_DEVICECHANGE, eventKind(argv[2]), reinterpret_cast<LPARAM>(record.data()));
        return 0;
    }
    return kBadArguments;
}
