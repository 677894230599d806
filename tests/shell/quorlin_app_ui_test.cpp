#include "shell/quorlin_app.h"

#include "platform/single_instance.h"
#include "window/dialog_fixture.h"

#include <QTemporaryDir>
#include <QTimer>

namespace quorlin::test {
namespace {

class Application : public DialogFixture {
protected:
    QTemporaryDir lockDir;
    QTemporaryDir workDir;
    QString previousDir;

    void SetUp() override
    {
        previousDir = QDir::currentPath();
        QDir::setCurrent(workDir.path());
    }
    void TearDown() override { QDir::setCurrent(previousDir); }

    AppServices appServices(SingleInstanceLock& lock)
    {
        return {link, light, clock, prompts, lock, nullptr};
    }
};

TEST_F(Application, SecondCopyShowsItsMessageAndLeavesTheFirstAlone)
{
    SingleInstanceLock first(lockDir.path().toStdString());
    ASSERT_EQ(first.acquire(), SingleInstanceLock::Result::Acquired);
    SingleInstanceLock second(lockDir.path().toStdString());
    CQuorlinApp app(data);
    EXPECT_EQ(app.InitInstance(appServices(second)), 0);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0], QString::fromUtf8("程序已运行"));
    EXPECT_TRUE(light.calls().empty());
    EXPECT_EQ(first.acquire(), SingleInstanceLock::Result::Acquired);
}

TEST_F(Application, RunsTheWindowWithLanguageAndSkinFromTheCurrentFolder)
{
    QFile ini(QStringLiteral("Language.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Type]\nMyType=English,0;Japanese,1;\n");
    ini.close();
    QFile skin(QStringLiteral("red.she"));
    ASSERT_TRUE(skin.open(QIODevice::WriteOnly));
    skin.write("QLabel { color: red; }");
    skin.close();

    SingleInstanceLock lock(lockDir.path().toStdString());
    CQuorlinApp app(data);
    QString title;
    QString styleWhileRunning;
    bool connected = false;
    QTimer::singleShot(0, [&] {
        auto* window = qobject_cast<CQuorlinDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(window, nullptr);
        title = window->windowTitle();
        styleWhileRunning = qApp->styleSheet();
        connected = waitUntil([&] { return window->m_staticStatus->text() == QString::fromUtf8("[接続済み]"); });
        window->close();
    });
    EXPECT_EQ(app.InitInstance(appServices(lock)), 0);
    EXPECT_EQ(title, QString::fromUtf8("Quorlin Sivane 設定ツール V2.3"));
    EXPECT_EQ(styleWhileRunning, "QLabel { color: red; }");
    EXPECT_TRUE(connected);
    EXPECT_TRUE(qApp->styleSheet().isEmpty()) << "closing takes the skin off";
    EXPECT_EQ(light.openHandleCount(), 0);
}

}  // namespace
}  // namespace quorlin::test
