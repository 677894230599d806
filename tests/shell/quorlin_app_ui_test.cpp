#include "shell/quorlin_app.h"

#include "platform/linux/single_instance_lock.h"
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

    AppServices appServices(SingleInstanceLock& lock) { return {link, light, clock, prompts, lock, nullptr}; }
};

TEST_F(Application, SecondCopyShowsItsMessageAndLeavesTheFirstAlone)
{
    SingleInstanceLock first(lockDir.path().toStdString());
    ASSERT_EQ(first.acquire(), SingleInstanceLock::Result::Acquired);
    SingleInstanceLock second(lockDir.path().toStdString());
    CQuorlinApp app(data);
    EXPECT_EQ(app.InitInstance(appServices(second)), 0);
    EXPECT_EQ(prompts.messages, std::vector<QString>{QString::fromUtf8("程序已运行")});
    EXPECT_TRUE(light.calls().empty());
    EXPECT_EQ(first.acquire(), SingleInstanceLock::Result::Acquired);
}

TEST_F(Application, RunsTheWindowWithLanguageAndSkinFromTheCurrentFolder)
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
