// The language list of the real window, with Language.ini in a temporary current
// directory.
#include "window/dialog_fixture.h"

#include <QComboBox>
#include <QAbstractItemView>
#include <QTemporaryDir>
#include <QWheelEvent>

#include <fstream>

namespace quorlin::test {
namespace {

struct LanguageSelectorTest : DialogFixture {
    void SetUp() override { ASSERT_TRUE(QDir::setCurrent(dir.path())); }
    void TearDown() override { closeDialog(); QDir::setCurrent(previousDir); }
    static std::string ini(const char* value) { return std::string("[Type]\nMyType=") + value + "\n"; }
    // Writes Language.ini (unless `value` is null) and starts as the program does:
    // language first.
    void start(const char* value)
    {
        if (value != nullptr)
            std::ofstream("Language.ini", std::ios::binary) << ini(value);
        data.loadLanguageSetting();
        startDialog();
    }
    static std::string iniNow() { QFile f("Language.ini"); return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : ""; }
    QComboBox* list() const { return ctl<QComboBox>(1018); }
    QStringList items() const { QStringList t; for (int i = 0; i < list()->count(); ++i) t << list()->itemText(i); return t; }

    QString previousDir = QDir::currentPath();
    QTemporaryDir dir;
};

// A wheel passing over the list, or the entry already selected picked again, is no
// choice; the focused list takes the wheel.
TEST_F(LanguageSelectorTest, AChangeOfSelectionOnlyFlagsEachEntryOfTheNameRelabelsAndReconnects)
{
    start("English,1;Japanese,0;Japanese,0;");
    EXPECT_EQ(items(), (QStringList{"English", "Japanese", "Japanese"})) << "a name listed twice is listed twice";
    ASSERT_TRUE(waitConnected());
    light.clearCalls();
    const auto wheelDown = [&] {
        QWheelEvent notch(QPointF(5, 5), list()->mapToGlobal(QPointF(5, 5)), {}, QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(list(), &notch);
    };
    ctl(1003)->setFocus();
    wheelDown();
    list()->showPopup();
    QTest::keyClick(list()->view(), Qt::Key_Return);  // English again
    settle(3);
    EXPECT_EQ(iniNow(), ini("English,1;Japanese,0;Japanese,0;"));
    const auto opened = [&] { return !light.calls(sim::SimulatedLight::CallKind::Open).empty(); };
    EXPECT_FALSE(opened()) << "no reconnect";

    dlg->activateWindow();  // the popup took the activation
    list()->setFocus();
    ASSERT_TRUE(waitUntil([&] { return list()->hasFocus(); }));
    wheelDown();
    EXPECT_EQ(iniNow(), ini("English,0;Japanese,1;Japanese,1;"));
    EXPECT_EQ(dlg->windowTitle(), QString::fromUtf8("Quorlin Sivane 設定ツール V2.3"));
    EXPECT_TRUE(waitUntil([&] { return opened() && statusText() == QString::fromUtf8("[接続済み]"); })) << "reconnected";
}

TEST_F(LanguageSelectorTest, WithNoLanguageSelectedTheListOffersTheBuiltInOnesAndAPickWritesTheFile)
{
    for (const char* value : {static_cast<const char*>(nullptr), "English,0;Japanese,0;"}) {
        start(value);
        EXPECT_EQ(items(), (QStringList{"English", "Japanese"}));
        EXPECT_EQ(list()->currentText(), "English");
        EXPECT_EQ(dlg->windowTitle(), "Quorlin Sivane Setting Tool V2.3");
        QTest::keyClick(list(), Qt::Key_Down);
        EXPECT_EQ(iniNow(), ini("English,0;Japanese,1;"));
        EXPECT_EQ(dlg->windowTitle(), QString::fromUtf8("Quorlin Sivane 設定ツール V2.3"));
        QTest::keyClick(list(), Qt::Key_Up);
        EXPECT_EQ(iniNow(), ini("English,1;Japanese,0;"));
        closeDialog();
        data.languageTable.replace({});
    }

    start("English,1;Japanese;");  // a file that selects a language keeps its entries
    EXPECT_EQ(items(), (QStringList{"", "English"}));
    QTest::keyClick(list(), Qt::Key_Up);  // from English, selected by its flag
    EXPECT_EQ(iniNow(), ini("English,0;,1;"));
    EXPECT_EQ(dlg->windowTitle(), "") << "a nameless entry loads empty texts";
}

}  // namespace
}  // namespace quorlin::test
