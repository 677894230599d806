// Quorlin's entry point. The three program-wide objects are built here in their
// fixed order (the data object, the application, the transport) and torn down in
// reverse when main returns.
#include "licence.h"
#include "link/clock.h"
#include "link/device_link.h"
#include "link/notify_window.h"
#include "link/repeat_limiter.h"
#include "platform/open_failure_advice.h"
#include "platform/process_list.h"
#include "platform/profile_store.h"
#include "platform/trace_sink.h"
#include "platform/linux/single_instance_lock.h"
#include "platform/linux/termination_signals.h"
#include "platform/linux/udev_monitor.h"
#include "platform/linux/xdg_user_folder.h"
#include "program_hid_api.h"
#include "shell/quorlin_app.h"
#include "shell/whole_data.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_prompts.h"
#include "ui/qt/skin.h"
#include "ui/qt/usb_event_watch.h"

#include <QApplication>
#include <QLoggingCategory>
#include <QDialog>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>

namespace {

// The link's trace lines, off unless QT_LOGGING_RULES="quorlin.link.trace=true".
Q_LOGGING_CATEGORY(lcLinkTrace, "quorlin.link.trace", QtInfoMsg)

void traceToQt(std::string_view line)
{
    qCDebug(lcLinkTrace, "%.*s", static_cast<int>(line.size()), line.data());
}

const char* programName(const char* argv0)
{
    const char* slash = std::strrchr(argv0, '/');
    return slash != nullptr ? slash + 1 : argv0;
}

void printHelp(const char* name)
{
    std::cout << "Usage: " << name << " [--user-folder]\n"
              << quorlin::programLight().helpLine << "\n\n"
              << "  --user-folder  work in $XDG_CONFIG_HOME/quorlin (~/.config/quorlin), created and\n"
              << "                 given the installed Language.ini and red.she when they are missing\n"
              << "  --help         print this help and exit\n"
              << "  --version      print the version and the licence and exit\n\n"
              << "Without --user-folder, Language.ini and red.she are read from the current folder.\n"
              << "Qt's own options (-platform, -style, ...) are accepted as well.\n";
}

std::string environment(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

void enterUserFolder()
{
    const quorlin::UserFolderPlaces places{
        environment("XDG_CONFIG_HOME"),
        environment("HOME"),
        quorlin::executableFolder() + "/" + QUORLIN_DEFAULTS_FROM_BIN,
        {quorlin::CQuorlinApp::kLanguageFile, quorlin::CQuorlinApp::kSkinFile},
    };
    for (const std::string& problem : quorlin::enterUserFolder(places))
        std::cerr << "Quorlin: " << problem << std::endl;
}

// Ends the innermost modal window (a message box, the About box) the way its close
// box would; once its caller has returned, the next one, down to the main window.
void closeForSignal()
{
    QWidget* top = QApplication::activeModalWidget();
    if (top == nullptr) {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->isVisible())
                window->close();
        }
        return;
    }
    top->close();
    auto* dialog = qobject_cast<QDialog*>(top);
    if (dialog != nullptr && dialog->isVisible())
        dialog->reject();  // a box without an escape button ignores the close
    if (QWidget* next = QApplication::activeModalWidget(); next != nullptr && next != top)
        QTimer::singleShot(0, &closeForSignal);
}

}  // namespace

int main(int argc, char** argv)
{
    // These options touch neither the display, the light nor any file.
    bool userFolder = false;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--help" || option == "-h") {
            printHelp(programName(argv[0]));
            return 0;
        }
        if (option == "--version") {
            std::cout << programName(argv[0]) << ' ' << QUORLIN_VERSION
                      << quorlin::programLight().versionNote << '\n'
                      << quorlin::kLicenceNotice << std::endl;
            return 0;
        }
        userFolder = userFolder || option == "--user-folder";
    }

    const int signalPipe = quorlin::installTerminationSignals();
    if (signalPipe < 0)
        std::cerr << "Quorlin: cannot watch for SIGTERM (" << std::strerror(errno)
                  << "); a logout ends the program without its close steps" << std::endl;
    if (userFolder)
        enterUserFolder();

    // Diagnostics that repeat for as long as the light is absent are counted, not
    // printed ten times a second. The worker and the UI thread write one stream each.
    quorlin::RepeatLimiter diagnostics(std::cout, quorlin::systemClock());
    quorlin::LimitedLineStream workerOut(diagnostics);
    quorlin::LimitedLineStream windowOut(diagnostics);

    QApplication framework(argc, argv);
    if (lcLinkTrace().isDebugEnabled())
        quorlin::setTraceSink(&traceToQt);
    QApplication::setApplicationName(QStringLiteral("Quorlin"));
    // Wayland compositors find the menu entry (name, icon) by this id.
    QApplication::setDesktopFileName(QString::fromUtf8(quorlin::programLight().desktopFileName));
    std::unique_ptr<QSocketNotifier> signalWatch;
    if (signalPipe >= 0) {
        signalWatch = std::make_unique<QSocketNotifier>(signalPipe, QSocketNotifier::Read);
        QObject::connect(signalWatch.get(), &QSocketNotifier::activated, [signalPipe] {
            if (quorlin::takeTerminationSignal(signalPipe) != 0)
                closeForSignal();
        });
    }

    quorlin::CWholeData wholeData(quorlin::systemProcessList(), quorlin::systemProfileStore());
    quorlin::CQuorlinApp theApp(wholeData);
    quorlin::DeviceLink deviceLink(wholeData, quorlin::programHidApi(), quorlin::systemClock(),
                                   workerOut, std::cerr, quorlin::systemOpenFailureAdvice());

    quorlin::SingleInstanceLock instanceLock;
    quorlin::QtPrompts prompts;
    quorlin::QtSkin skin;
    quorlin::QtMainWindowHost window;
    const quorlin::AppServices services{
        deviceLink,
        quorlin::programHidApi(),
        quorlin::systemClock(),
        prompts,
        skin,
        window,
        instanceLock,
        [&wholeData, &windowOut]() -> std::unique_ptr<quorlin::DeviceEventWatch> {
            return std::make_unique<quorlin::UsbEventWatch>(std::make_unique<quorlin::NotifyWindow>(
                wholeData, windowOut, std::make_unique<quorlin::UdevMonitor>()));
        },
        quorlin::programLight().aboutLine,
    };
    return theApp.InitInstance(services);
}
