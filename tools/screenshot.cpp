// Draws the main window, connected to the simulated light, into PNG files. The window is the
// real one, with its real worker; only the light is simulated.
//
//   screenshot <english.png> <japanese.png> [skin]   the README's pictures, skinned
//   screenshot --check <folder> [skin]               both languages, skinned and plain,
//       with the parameter panel shown, into <folder>/<language>-<skin|plain>-x<scale>.png
//       (the scale as QT_SCALE_FACTOR gives it); prints every control whose text does
//       not fit the room its style leaves it
//
// The skin defaults to resources/red.she. Runs offscreen unless QT_QPA_PLATFORM says
// otherwise. Exits 0 when every picture was written (and, with --check, every text
// fits), 1 otherwise, 2 on wrong usage.
#include "link/clock.h"
#include "link/device_link.h"
#include "link/sim/simulated_light.h"
#include "platform/process_list.h"
#include "platform/profile_store.h"
#include "shell/language_strings.h"
#include "shell/whole_data.h"
#include "ui/qt/main_window.h"
#include "ui/qt/skin.h"
#include "window/resource_ids.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOption>
#include <QThread>

#include <cstdio>
#include <cstring>
#include <functional>
#include <sstream>
#include <string>

namespace {

using namespace quorlin;

constexpr int kConnectTimeoutMs = 5000;

// A light with values that show: brightness 60, breathing 35, Manual, parameters
// 180 180 170 50.
const SettingBytes kShownSettings = {0x01, 0x01, 60, 35, 0xB4, 0xB4, 0xAA, 0x32, 0x01, 0x01, 0x0F, 0x00, 0x02, 0x00};

// Runs `use` on the connected window in `language`, with `skin` attached unless it is
// empty. Closing a window takes the skin off, so each window puts it on again.
bool withWindow(const std::string& language, const std::string& skin, const std::function<bool(QtMainWindow&)>& use)
{
    if (!skin.empty() && SkinH_AttachEx(skin.c_str(), "") == 0)
        std::fprintf(stderr, "screenshot: cannot use the skin %s; drawing the standard look\n", skin.c_str());
    CWholeData data(systemProcessList(), systemProfileStore());
    data.languageType = language == "English" ? "English,1;Japanese,0;" : "English,0;Japanese,1;";
    data.loadLanguage(language);
    sim::SimulatedLight light(systemClock(), 1, kShownSettings);
    std::ostringstream diagnostics;
    DeviceLink link(data, light, systemClock(), diagnostics, diagnostics);

    QtMainWindow dlg({data, link, light, systemClock(), nullptr});
    dlg.OnInitDialog();
    dlg.show();
    QElapsedTimer waited;
    waited.start();
    while (!(data.reconnectRequested == 0 && dlg.control(IDC_PIC_CONNECTED)->isVisible())) {
        if (waited.elapsed() > kConnectTimeoutMs) {
            std::fprintf(stderr, "screenshot: the simulated light did not connect\n");
            break;
        }
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
    QApplication::processEvents();
    const bool result = use(dlg);
    dlg.dlg().OnClose();
    return result;
}

bool save(QWidget& window, const QString& path)
{
    const bool saved = window.grab().save(path, "PNG");
    if (!saved)
        std::fprintf(stderr, "screenshot: cannot write %s\n", qPrintable(path));
    return saved;
}

// How wide `text` is drawn in `w`: its advance, less the blank that a last glyph such
// as a full-width colon carries after its ink. A line edit scrolls by the whole advance.
int drawnWidth(const QWidget& w, const QString& text)
{
    const QFontMetrics& fm = w.fontMetrics();
    if (text.isEmpty() || qobject_cast<const QLineEdit*>(&w) != nullptr)
        return fm.horizontalAdvance(text);
    const QChar last = text.back();
    return fm.horizontalAdvance(text) - fm.horizontalAdvance(last) +
           std::min(fm.horizontalAdvance(last), fm.boundingRect(last).right() + 1);
}

// Where the control's style draws its text, less what the control keeps for itself.
QRect textRoom(QWidget& w)
{
    QStyle* style = w.style();
    if (auto* label = qobject_cast<QLabel*>(&w))
        return label->contentsRect().marginsRemoved(QMargins(label->margin(), 0, label->margin(), 0));
    if (auto* button = qobject_cast<QAbstractButton*>(&w)) {
        QStyleOptionButton opt;
        opt.initFrom(button);
        opt.text = button->text();
        const bool radio = qobject_cast<QRadioButton*>(button) != nullptr;
        return style->subElementRect(radio ? QStyle::SE_RadioButtonContents : QStyle::SE_PushButtonContents, &opt,
                                     button);
    }
    if (auto* edit = qobject_cast<QLineEdit*>(&w)) {
        QStyleOptionFrame opt;
        opt.initFrom(edit);
        opt.lineWidth = style->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, edit);
        // A line edit keeps 2 pixels each side and scrolls unless the caret fits after
        // the text.
        return style->subElementRect(QStyle::SE_LineEditContents, &opt, edit)
            .marginsRemoved(edit->textMargins())
            .adjusted(2, 0, -3, 0);
    }
    auto* combo = qobject_cast<QComboBox*>(&w);
    if (combo == nullptr)
        return {};
    QStyleOptionComboBox opt;
    opt.initFrom(combo);
    opt.subControls = QStyle::SC_All;
    return style->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, combo);
}

// The widest text of `count` characters from `alphabet` in `w`'s font.
QString widest(const QWidget& w, const QString& alphabet, int count)
{
    QChar best = alphabet[0];
    for (QChar c : alphabet)
        if (w.fontMetrics().horizontalAdvance(c) > w.fontMetrics().horizontalAdvance(best))
            best = c;
    return QString(count, best);
}

// The texts each shown control can hold: the status text both ways, the number edits
// their widest numbers, the language list its items, the others what they show.
QStringList textsOf(QWidget& w, const LanguageStrings& strings)
{
    const auto text = [&](int index) { return QString::fromUtf8(strings[index].data(), qsizetype(strings[index].size())); };
    const QString digits = QStringLiteral("0123456789");
    const int id = w.objectName().toInt();
    if (id == IDC_STATIC_STATUS)
        return {text(2), text(3)};
    if (id == IDC_EDIT_LOS_CALC)
        return {widest(w, digits + "ABCDEF", 2)};
    if (auto* combo = qobject_cast<QComboBox*>(&w)) {
        QStringList items;
        for (int i = 0; i < combo->count(); ++i)
            items << combo->itemText(i);
        return items;
    }
    if (qobject_cast<QLineEdit*>(&w) != nullptr)
        return {widest(w, digits, 3)};
    if (auto* label = qobject_cast<QLabel*>(&w))
        return label->pixmap().isNull() ? QStringList{label->text()} : QStringList{};
    if (auto* button = qobject_cast<QAbstractButton*>(&w))
        return {button->text()};
    return {};
}

// Prints each shown control of `dlg` whose text does not fit, and how many were
// measured; true when all fit.
bool textsFit(QtMainWindow& dlg, const LanguageStrings& strings, const char* picture)
{
    bool fit = true;
    int measured = 0;
    for (QWidget* w : dlg.findChildren<QWidget*>()) {
        if (!w->isVisible() || qobject_cast<QComboBox*>(w->parentWidget()) != nullptr)
            continue;  // a list's own parts draw no text of the window's
        const QStringList texts = textsOf(*w, strings);
        const QRect room = texts.isEmpty() ? QRect() : textRoom(*w);
        measured += !texts.isEmpty();
        for (const QString& text : texts) {
            const int width = drawnWidth(*w, text);
            if (width > room.width() || w->fontMetrics().height() > room.height()) {
                std::printf("%s: control %s \"%s\" needs %d x %d, has %d x %d\n", picture,
                            qPrintable(w->objectName()), qPrintable(text), width, w->fontMetrics().height(),
                            room.width(), room.height());
                fit = false;
            }
        }
    }
    std::printf("%s: %d controls measured\n", picture, measured);
    return fit;
}

int check(const QString& folder, const std::string& skin)
{
    QDir().mkpath(folder);
    const QString scale = qEnvironmentVariableIsSet("QT_SCALE_FACTOR") ? qEnvironmentVariable("QT_SCALE_FACTOR")
                                                                         : QStringLiteral("1");
    bool ok = true;
    for (const std::string language : {"English", "Japanese"}) {
        const LanguageStrings& strings = language == "English" ? englishStrings() : japaneseStrings();
        for (const bool skinned : {true, false}) {
            const QString name = QString::fromStdString(language).toLower() + (skinned ? "-skin" : "-plain") +
                                 "-x" + scale;
            ok = withWindow(language, skinned ? skin : std::string(), [&](QtMainWindow& dlg) {
                     dlg.dlg().ShowParameterPanel(true);
                     QApplication::processEvents();
                     const bool fit = textsFit(dlg, strings, qPrintable(name));
                     return save(dlg, folder + '/' + name + ".png") && fit;
                 }) && ok;
        }
    }
    std::printf("screenshot: %s at scale %s\n", ok ? "every text fits" : "some texts do not fit", qPrintable(scale));
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    const bool checking = argc >= 2 && std::strcmp(argv[1], "--check") == 0;
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: %s <english.png> <japanese.png> [skin]\n       %s --check <folder> [skin]\n",
                     argv[0], argv[0]);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorlin"));

    const std::string skin = argc == 4 ? argv[3] : "resources/red.she";
    if (checking)
        return check(QString::fromLocal8Bit(argv[2]), skin);
    const auto shoot = [&](const std::string& language, const char* path) {
        return withWindow(language, skin, [&](QtMainWindow& dlg) { return save(dlg, QString::fromLocal8Bit(path)); });
    };
    const bool english = shoot("English", argv[1]);
    const bool japanese = shoot("Japanese", argv[2]);
    return english && japanese ? 0 : 1;
}
