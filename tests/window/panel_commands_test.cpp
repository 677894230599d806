// The parameter panel, Default and the skin button through the real window.
#include "window/connected_dialog.h"

#include "shell/skin.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>

#include <fstream>

namespace quorlin::test {
namespace {

using PanelCommandsTest = ConnectedDialogTest;

TEST_F(PanelCommandsTest, SetRefusesOutOfRangeValuesElseStoresSendsOnceAndHidesThePanel)
{
    const auto clickSet = [&](const std::vector<const char*>& texts) {
        for (std::size_t i = 0; i < texts.size(); ++i)
            ctl<QLineEdit>(std::array{1020, 1022, 1023, 1024}[i])->setText(texts[i]);
        ctl<QPushButton>(1021)->click();
    };
    const auto& s = data.settings;
    const auto parameters = [&] { return std::vector<int>{s.parameter1, s.parameter2, s.parameter3, s.parameter4}; };
    dlg->ShowParameterPanel(true);
    const QString range255 = QString::fromUtf8("value 得在1~255之间");
    const QString range100 = QString::fromUtf8("value 得在1~100之间");
    // The first three are checked before the fourth.
    const std::pair<std::vector<const char*>, QString> cases[] = {
        {{"", "20", "30", "40"}, range255},     {{"10", "256", "30", "40"}, range255},
        {{"10", "20", "256", "101"}, range255}, {{"10", "20", "30", "101"}, range100},
        {{"255", "1", "255", "0"}, range100},
    };
    for (const auto& [texts, message] : cases) {
        prompts.messages.clear();
        clickSet(texts);
        EXPECT_EQ(prompts.messages, std::vector<QString>{message}) << texts[0] << ' ' << texts[2] << ' ' << texts[3];
        EXPECT_EQ(parameters(), (std::vector<int>{11, 22, 33, 44})) << "a refused Set stores nothing";
        EXPECT_TRUE(ctl(1020)->isVisible());
    }

    for (int round : {1, 2}) {  // the second finds nothing changed, and still hides the panel
        dlg->ShowParameterPanel(true);
        clickSet({"255", "1", "255", "100"});
        EXPECT_FALSE(ctl(1026)->isVisible()) << round;
    }
    const std::vector<int> accepted{255, 1, 255, 100};
    EXPECT_EQ(parameters(), accepted);
    const auto writes = newWrites();
    ASSERT_EQ(writes.size(), 1u) << "refused Sets send nothing, an unchanged one neither";
    EXPECT_EQ(std::vector<int>(writes[0].begin() + kParameter1, writes[0].begin() + kParameter1 + 4), accepted);
}

TEST_F(PanelCommandsTest, LosCalcSendsAPulseOfTwoReports50MsApart)
{
    clock.clearSleeps();
    ctl<QPushButton>(1026)->click();
    auto writes = newWrites();
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(std::exchange(writes[1][kLosCalc], 1), 0);
    EXPECT_EQ(writes[1], writes[0]) << "the first has losCalc 1 and the two differ in nothing else";
    EXPECT_EQ(ctl<QLineEdit>(1025)->text(), "00") << "the display follows, from 0A";

    // Each report goes after a 10 ms gate step and its 40 ms lead, and a last gate step
    // comes before the refresh; the worker's 100 ms passes may fall in between.
    auto sleeps = clock.sleeps();
    std::erase(sleeps, 100);
    EXPECT_EQ(sleeps, (std::vector<int>{10, 40, 10, 40, 10}));
}

TEST_F(PanelCommandsTest, DefaultAsksFirstAndSendsTheDefaultsWithoutMovingControls)
{
    prompts.confirmAnswers = {false, true};
    ctl<QPushButton>(1017)->click();
    ctl<QPushButton>(1017)->click();
    EXPECT_EQ(prompts.questions, (std::vector<QString>(2, "Load Default Setting?")));
    const auto writes = newWrites();
    ASSERT_EQ(writes.size(), 1u) << "only the second, accepted, Default sends";
    SettingBytes expected = defaultSettings;
    std::copy_n(kLight.begin() + 4, 4, expected.begin() + 4);  // the parameters stay
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), writes[0].begin() + 2));
    EXPECT_EQ(ctl<QSlider>(1003)->value(), 37);
}

TEST_F(PanelCommandsTest, SkinButtonDetachesAndAttachesOnlyAChosenFile)
{
    qApp->setStyleSheet("QDialog { background: black; }");
    ctl<QPushButton>(1014)->click();
    EXPECT_EQ(prompts.fileDialogs, std::vector<QString>{"*.*|*.* (*)"});
    EXPECT_TRUE(qApp->styleSheet().isEmpty());

    QTemporaryDir dir;
    prompts.fileAnswer = dir.filePath("blue.she");
    std::ofstream(prompts.fileAnswer.toStdString()) << "QLabel { color: blue; }";
    ctl<QPushButton>(1014)->click();
    EXPECT_EQ(qApp->styleSheet(), "QLabel { color: blue; }");
    SkinH_Detach();
}

}  // namespace
}  // namespace quorlin::test
