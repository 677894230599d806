// Draws the main window as it looks against a connected light, in English and in
// Japanese, into PNG files (the README's screenshots). The window is the real one,
// with its real worker, skinned; only the light is simulated.
//
//   screenshot <english.png> <japanese.png> [skin file, default resources/red.she]
//
// Runs without a display (offscreen) unless QT_QPA_PLATFORM says otherwise. Exits
// 0 when both pictures were written, 1 when one could not be, 2 on wrong usage.
#include "link/clock.h"
#include "link/device_link.h"
#include "link/sim/simulated_light.h"
#include "platform/process_list.h"
#include "shell/skin.h"
#include "shell/whole_data.h"
#include "window/quorlin_dlg.h"
#include "window/user_prompts.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPixmap>
#include <QThread>

#include <cstdio>
#include <sstream>
#include <string>

namespace {

constexpr int kConnectTimeoutMs = 5000;

// A light with values that show: brightness 60, breathing 35, Manual.
const quorlin::SettingBytes kShownSettings = {0x01, 0x01, 60, 35, 0xB4, 0xB4, 0xAA,
                                              0x32, 0x01, 0x01, 0x0F, 0x00, 0x02, 0x00};

bool shoot(const std::string& language, const std::string& skin, const QString& path)
{
    using namespace quorlin;
    // Closing a window takes the skin off; each picture puts it on again.
    if (SkinH_AttachEx(skin.c_str(), "") == 0)
        std::fprintf(stderr, "screenshot: cannot use the skin %s; drawing the standard look\n", skin.c_str());

    CWholeData data(systemProcessList());
    data.languageType = language == "English" ? "English,1;Japanese,0;" : "English,0;Japanese,1;";
    data.loadLanguage(language);
    sim::SimulatedLight light(systemClock(), 1, kShownSettings);
    std::ostringstream diagnostics;
    DeviceLink link(data, light, systemClock(), diagnostics, diagnostics);

    CQuorlinDlg dlg({data, link, light, systemClock(), systemPrompts(), nullptr});
    dlg.OnInitDialog();
    dlg.show();
    QElapsedTimer waited;
    waited.start();
    while (!(data.reconnectRequested == 0 && dlg.m_picConnected->isVisible())) {
        if (waited.elapsed() > kConnectTimeoutMs) {
            std::fprintf(stderr, "screenshot: the simulated light did not connect\n");
            break;
        }
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
    QApplication::processEvents();

    const bool saved = dlg.grab().save(path, "PNG");
    if (!saved)
        std::fprintf(stderr, "screenshot: cannot write %s\n", qPrintable(path));
    dlg.OnClose();
    return saved;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: %s <english.png> <japanese.png> [skin file]\n", argv[0]);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorlin"));

    const std::string skin = argc == 4 ? argv[3] : "resources/red.she";
    const bool english = shoot("English", skin, QString::fromLocal8Bit(argv[1]));
    const bool japanese = shoot("Japanese", skin, QString::fromLocal8Bit(argv[2]));
    return english && japanese ? 0 : 1;
}
