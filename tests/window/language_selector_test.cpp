// The language list of the real window, with Language.ini in a temporary current
// directory.
#include "window/dialog_fixture.h"

#include <QComboBox>
#include <QPushButton>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace quorlin::test {
namespace {

const QString kJapaneseCaption = QString::fromUtf8("Quorlin Sivane 設定ツール V2.3");

class LanguageSelectorTest : public DialogFixture {
protected:
    void SetUp() override { ASSERT_TRUE(QDir::setCurrent(dir.path())); }
    void TearDown() override
    {
        closeDialog();
        QDir::setCurrent(previousDir);
    }
    static QByteArray ini(const char* value) { return QByteArray("[Type]\nMyType=") + value + "\n"; }
    // Writes Language.ini (unless null) and starts as the program does: language first.
    void start(const char* value)
    {
        if (value != nullptr) {
            QFile file("Language.ini");
            ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(ini(value)) > 0);
        }
        data.loadLanguageSetting();
        startDialog();
    }
    QByteArray iniNow() const
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
    // The user moves the selection with the arrow keys.
    void pick(Qt::Key key)
    {
        list()->setFocus();
        ASSERT_TRUE(waitUntil([&] { return list()->hasFocus(); }));
        QTest::keyClick(list(), key);
    }

    QString previousDir = QDir::currentPath();
    QTemporaryDir dir;
};

TEST_F(LanguageSelectorTest, PickingJapaneseRewritesTheValueRelabelsAndReconnects)
{
    start("English,1;Japanese,0;");
    EXPECT_EQ(dlg->windowTitle(), "Quorlin Sivane Setting Tool V2.3");
    EXPECT_EQ(items(), (QStringList{"English", "Japanese"}));
    EXPECT_EQ(dlg->GetSelectedLanguage(), "English");
    ASSERT_TRUE(waitConnected());

    pick(Qt::Key_Down);
    EXPECT_EQ(iniNow(), ini("English,0;Japanese,1;"));
    EXPECT_EQ(dlg->windowTitle(), kJapaneseCaption);
    EXPECT_TRUE(waitUntil([&] { return statusText() == QString::fromUtf8("[接続済み]"); }));
}

TEST_F(LanguageSelectorTest, ANameListedTwiceIsListedTwiceAndPickingItFlagsBoth)
{
    start("English,1;Japanese,0;Japanese,0;");
    EXPECT_EQ(items(), (QStringList{"English", "Japanese", "Japanese"}));
    pick(Qt::Key_Down);
    EXPECT_EQ(iniNow(), ini("English,0;Japanese,1;Japanese,1;"));
    EXPECT_EQ(dlg->windowTitle(), kJapaneseCaption);
}

TEST_F(LanguageSelectorTest, AnEntryWithoutACommaIsAnEmptyItemThatLoadsEmptyTexts)
{
    start("English,1;Japanese;");
    EXPECT_EQ(items(), (QStringList{"", "English"}));
    EXPECT_EQ(dlg->GetSelectedLanguage(), "English");
    pick(Qt::Key_Up);
    EXPECT_EQ(iniNow(), ini("English,0;,1;"));
    EXPECT_EQ(dlg->windowTitle(), "");
}

TEST_F(LanguageSelectorTest, WithoutLanguageIniTheWindowSpeaksEnglishAndSelectsNothing)
{
    start(nullptr);
    EXPECT_EQ(items(), QStringList{""});
    EXPECT_EQ(list()->currentIndex(), -1);
    EXPECT_EQ(dlg->windowTitle(), "Quorlin Sivane Setting Tool V2.3");
    EXPECT_EQ(ctl<QPushButton>(1017)->text(), "Default");
    EXPECT_TRUE(waitConnected());
}

}  // namespace
}  // namespace quorlin::test
