// The language list of the real window, with Language.ini in a temporary current
// directory.
#include "window/dialog_fixture.h"

#include <QComboBox>
#include <QTemporaryDir>

#include <fstream>

namespace quorlin::test {
namespace {

struct LanguageSelectorTest : DialogFixture {
    void SetUp() override { ASSERT_TRUE(QDir::setCurrent(dir.path())); }
    void TearDown() override { closeDialog(); QDir::setCurrent(previousDir); }
    static QByteArray ini(const char* value) { return QByteArray("[Type]\nMyType=") + value + "\n"; }
    // Writes Language.ini and starts as the program does: language first.
    void start(const char* value)
    {
        std::ofstream("Language.ini", std::ios::binary) << ini(value).constData();
        data.loadLanguageSetting();
        startDialog();
    }
    static QByteArray iniNow() { QFile f("Language.ini"); return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray(); }
    QComboBox* list() const { return ctl<QComboBox>(1018); }
    QStringList items() const { QStringList t; for (int i = 0; i < list()->count(); ++i) t << list()->itemText(i); return t; }

    QString previousDir = QDir::currentPath();
    QTemporaryDir dir;
};

TEST_F(LanguageSelectorTest, PickingANameFlagsEachOfItsEntriesRelabelsAndReconnects)
{
    start("English,1;Japanese,0;Japanese,0;");
    EXPECT_EQ(items(), (QStringList{"English", "Japanese", "Japanese"})) << "a name listed twice is listed twice";
    ASSERT_TRUE(waitConnected());
    light.clearCalls();
    QTest::keyClick(list(), Qt::Key_Down);  // the user moves the selection with the arrow keys
    EXPECT_EQ(iniNow(), ini("English,0;Japanese,1;Japanese,1;"));
    EXPECT_EQ(dlg->windowTitle(), QString::fromUtf8("Quorlin Sivane 設定ツール V2.3"));
    const auto opened = [&] { return !light.calls(sim::SimulatedLight::CallKind::Open).empty(); };
    EXPECT_TRUE(waitUntil([&] { return opened() && statusText() == QString::fromUtf8("[接続済み]"); })) << "reconnected";
}

TEST_F(LanguageSelectorTest, WithoutLanguageIniEnglishAndNoSelectionAndAnEntryWithoutACommaIsAnEmptyItem)
{
    data.loadLanguageSetting();
    startDialog();
    EXPECT_EQ(items(), QStringList{""});
    EXPECT_EQ(list()->currentIndex(), -1);
    EXPECT_EQ(dlg->windowTitle(), "Quorlin Sivane Setting Tool V2.3") << "English without Language.ini";

    closeDialog();
    start("English,1;Japanese;");
    EXPECT_EQ(items(), (QStringList{"", "English"}));
    QTest::keyClick(list(), Qt::Key_Up);  // from English, selected by its flag
    EXPECT_EQ(iniNow(), ini("English,0;,1;"));
    EXPECT_EQ(dlg->windowTitle(), "") << "a nameless entry loads empty texts";
}

}  // namespace
}  // namespace quorlin::test
