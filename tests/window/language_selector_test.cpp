// The language list of the real window, with Language.ini in a temporary current
// directory.
#include "window/dialog_fixture.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <fstream>

namespace quorlin::test {
namespace {

class LanguageSelectorTest : public DialogFixture {
protected:
    void SetUp() override { ASSERT_TRUE(QDir::setCurrent(dir.path())); }
    void TearDown() override { closeDialog(); QDir::setCurrent(previousDir); }
    static QByteArray ini(const char* value) { return QByteArray("[Type]\nMyType=") + value + "\n"; }
    // Writes Language.ini (unless null) and starts as the program does: language first.
    void start(const char* value)
    {
        if (value != nullptr)
            std::ofstream("Language.ini", std::ios::binary) << ini(value).constData();
        data.loadLanguageSetting();
        startDialog();
    }
    static QByteArray iniNow()
    {
        QFile file("Language.ini");
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QComboBox* list() const { return ctl<QComboBox>(1018); }
    QStringList items() const
    {
        QStringList texts;
        for (int i = 0; i < list()->count(); ++i)
            texts << list()->itemText(i);
        return texts;
    }

    QString previousDir = QDir::currentPath();
    QTemporaryDir dir;
};

TEST_F(LanguageSelectorTest, PickingANameFlagsEachOfItsEntriesRelabelsAndReconnects)
{
    start("English,1;Japanese,0;Japanese,0;");
    EXPECT_EQ(items(), (QStringList{"English", "Japanese", "Japanese"})) << "a name listed twice is listed twice";
    ASSERT_TRUE(waitConnected());
    const auto opens = [&] { return light.calls(sim::SimulatedLight::CallKind::Open).size(); };
    const auto openedBefore = opens();

    QTest::keyClick(list(), Qt::Key_Down);  // the user moves the selection with the arrow keys
    EXPECT_EQ(iniNow(), ini("English,0;Japanese,1;Japanese,1;"));
    EXPECT_EQ(dlg->windowTitle(), QString::fromUtf8("Quorlin Sivane 設定ツール V2.3"));
    EXPECT_TRUE(waitUntil([&] { return opens() > openedBefore && statusText() == QString::fromUtf8("[接続済み]"); }))
        << "reconnected, with the status in Japanese";
}

TEST_F(LanguageSelectorTest, AnEntryWithoutACommaIsAnEmptyItemThatLoadsEmptyTexts)
{
    start("English,1;Japanese;");
    EXPECT_EQ(items(), (QStringList{"", "English"}));
    EXPECT_EQ(dlg->GetSelectedLanguage(), "English");
    QTest::keyClick(list(), Qt::Key_Up);
    EXPECT_EQ(iniNow(), ini("English,0;,1;"));
    EXPECT_EQ(dlg->windowTitle(), "");
}

TEST_F(LanguageSelectorTest, WithoutLanguageIniTheWindowSpeaksEnglishAndSelectsNothing)
{
    start(nullptr);
    EXPECT_EQ(items(), QStringList{""});
    EXPECT_EQ(list()->currentIndex(), -1);
    EXPECT_EQ(dlg->windowTitle(), "Quorlin Sivane Setting Tool V2.3");
    EXPECT_TRUE(waitConnected()) << "the status speaks English too";
}

}  // namespace
}  // namespace quorlin::test
