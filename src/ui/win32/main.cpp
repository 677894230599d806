// Quorlin's entry point on Windows. The three program-wide objects are built here in
// their fixed order (the data object, the application, the transport) and torn down
// in reverse when the entry point returns.
#include "licence.h"
#include "link/clock.h"
#include "link/device_link.h"
#include "link/device_event_watch.h"
#include "link/repeat_limiter.h"
#include "platform/open_failure_advice.h"
#include "platform/process_list.h"
#include "platform/profile_store.h"
#include "platform/trace_sink.h"
#include "platform/windows/app_data_folder.h"
#include "platform/windows/debug_trace_sink.h"
#include "platform/windows/named_mutex_instance.h"
#include "platform/windows/wide_text.h"
#include "program_hid_api.h"
#include "shell/quorlin_app.h"
#include "shell/whole_data.h"
#include "ui/win32/main_window.h"
#include "ui/win32/standard_streams.h"
#include "ui/win32/usb_watch.h"
#include "ui/win32/win32_prompts.h"
#include "ui/win32/win32_skin.h"
#include "window/quorlin_dlg.h"

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {

std::vector<std::wstring> arguments()
{
    std::vector<std::wstring> out;
    int count = 0;
    if (LPWSTR* list = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 1; i < count; ++i)
            out.emplace_back(list[i]);
        LocalFree(list);
    }
    return out;
}

// The program's own file name without ".exe": quorlin or quorlin-demo.
std::string programName()
{
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    return quorlin::narrow(std::filesystem::path(std::wstring(path, length)).stem().wstring());
}

void printHelp()
{
    std::cout << "Usage: " << programName() << " [--user-folder] [--trace]\n"
              << quorlin::programLight().helpLine << "\n\n"
              << "  --user-folder  work in %APPDATA%\\Quorlin, created and given the shipped\n"
              << "                 Language.ini and red.she when they are missing\n"
              << "  --trace        also print the light's traffic, line by line: on standard error\n"
              << "                 when it leads somewhere, else to the debugger's output\n"
              << "  --help         print this help and exit\n"
              << "  --version      print the version and the licence and exit\n\n"
              << "Without --user-folder, Language.ini and red.she are read from the current folder.\n"
              << std::flush;
}

void enterUserFolder()
{
    const quorlin::AppDataPlaces places =
        quorlin::systemAppDataPlaces({quorlin::CQuorlinApp::kLanguageFile, quorlin::CQuorlinApp::kSkinFile});
    for (const std::string& problem : quorlin::enterUserFolder(places))
        std::cerr << "Quorlin: " << problem << std::endl;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    const quorlin::win32::ConnectedStreams streams = quorlin::win32::connectStandardStreams();

    bool userFolder = false;
    bool trace = false;
    for (const std::wstring& option : arguments()) {
        if (option == L"--help" || option == L"-h" || option == L"/?") {
            printHelp();
            return 0;
        }
        if (option == L"--version") {
            std::cout << programName() << ' ' << QUORLIN_VERSION << quorlin::programLight().versionNote << '\n'
                      << quorlin::kLicenceNotice << std::endl;
            return 0;
        }
        userFolder = userFolder || option == L"--user-folder";
        trace = trace || option == L"--trace";
    }

    const INITCOMMONCONTROLSEX commonControls{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&commonControls);

    if (userFolder)
        enterUserFolder();
    if (trace)
        quorlin::setTraceSink(streams.error ? &quorlin::traceToStandardError : &quorlin::traceToDebugger);

    // Diagnostics that repeat for as long as the light is absent are counted, not
    // printed ten times a second. The worker and the UI thread write one stream each.
    quorlin::RepeatLimiter diagnostics(std::cout, quorlin::systemClock());
    quorlin::LimitedLineStream workerOut(diagnostics);
    quorlin::LimitedLineStream windowOut(diagnostics);

    quorlin::CWholeData wholeData(quorlin::systemProcessList(), quorlin::systemProfileStore());
    quorlin::CQuorlinApp theApp(wholeData);
    quorlin::DeviceLink deviceLink(wholeData, quorlin::programHidApi(), quorlin::systemClock(), workerOut,
                                   std::cerr, quorlin::systemOpenFailureAdvice());

    quorlin::NamedMutexInstance instanceLock;
    quorlin::win32::Win32Skin skin;
    quorlin::win32::Win32Prompts prompts(instance, skin);
    quorlin::win32::Win32MainWindowHost window(instance, prompts, skin);
    const quorlin::AppServices services{
        deviceLink,
        quorlin::programHidApi(),
        quorlin::systemClock(),
        prompts,
        skin,
        window,
        instanceLock,
        [&wholeData, &windowOut] { return quorlin::win32::createUsbWatch(wholeData, windowOut); },
        quorlin::programLight().aboutLine,
    };
    return theApp.InitInstance(services);
}
