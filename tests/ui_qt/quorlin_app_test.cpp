// The program's start-up with the Qt window: language and skin from the current
// folder, the window run until closed (an application window, not a modal one), the
// skin off again.
#include "shell/quorlin_app.h"

#include "platform/linux/single_instance_lock.h"
#include "ui_qt/qt_window_fixture.h"
#include "ui/qt/skin.h"

#include <QTemporaryDir>
#include <QTimer>

namespace quorlin::test {
namespace {

class QtApplication : public QtWindowFixture {
protected:
    QTemporaryDir lockDir;
    QTemporaryDir workDir;
    QString previousDir = QDir::currentPath();
    QtSkin qtSkin;
    QtMainWindowHost host;

    void SetUp() override { QDir::setCurrent(workDir.path()); }
    void TearDown() override { QDir::setCurrent(previousDir); }
};

TEST_F(QtApplication, RunsTheWindowWithLanguageAndSkinFromTheCurrentFolder)
{
    for (auto [name, text] : {std::pair{"Language.ini", "[Type]\nMyType=English,0;Japanese,1;\n"},
                              std::pair{"red.she", "QLabel { color: red; }"}}) {
        QFile file(QString::fromLatin1(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(text) > 0);
    }
    SingleInstanceLock lock(lockDir.path().toStdString());
    CQuorlinApp app(data);
    QString title;
    QString styleWhileRunning;
    bool connected = false;
    bool modal = true;
    QTimer::singleShot(0, [&] {
        QtMainWindow* shown = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && qobject_cast<QtMainWindow*>(w) != nullptr)
                shown = qobject_cast<QtMainWindow*>(w);
        ASSERT_NE(shown, nullptr);
        modal = shown->isModal() || QApplication::activeModalWidget() != nullptr;
        title = shown->windowTitle();
        styleWhileRunning = qApp->styleSheet();
        connected = waitUntil([&] {
            return static_cast<QLabel*>(shown->control(IDC_STATIC_STATUS))->text() == QString::fromUtf8("[接続済み]");
        });
        shown->close();
    });
    EXPECT_EQ(app.InitInstance({link, light, clock, prompts, qtSkin, host, lock, nullptr}), 0);
    EXPECT_EQ(title, QString::fromUtf8("Quorlin Sivane 設定ツール V2.3"));
    EXPECT_EQ(styleWhileRunning, "QLabel { color: red; }");
    EXPECT_TRUE(connected);
    EXPECT_FALSE(modal) << "a modal window drops out of taskbars";
    EXPECT_TRUE(qApp->styleSheet().isEmpty()) << "closing takes the skin off";
    EXPECT_EQ(light.openHandleCount(), 0);
}

}  // namespace
}  // namespace quorlin::test
