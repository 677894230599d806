// The parameter panel, Default and the skin button through the real window.
#include "window/connected_dialog.h"

#include <QPushButton>
#include <QTemporaryDir>

#include <fstream>

namespace quorlin::test {
namespace {

using PanelCommandsTest = ConnectedDialogTest;

TEST_F(PanelCommandsTest, SetRefusesOutOfRangeValuesElseStoresSendsOnceAndHidesThePanel)
{
    const auto clickSet = [&](const std::array<const char*, 4>& texts) {
        for (std::size_t i = 0; i < texts.size(); ++i)
            ctl<QLineEdit>(std::array{1020, 1022, 1023, 1024}[i])->setText(texts[i]);
        ctl<QPushButton>(1021)->click();
    };
    const auto parameters = [&s = data.settings] { return std::vector<int>{s.parameter1, s.parameter2, s.parameter3, s.parameter4}; };
    dlg->ShowParameterPanel(true);
    // The first three are checked before the fourth.
    const std::array<const char*, 4> refused[] = {{"", "20", "30", "40"}, {"10", "256", "30", "40"},
        {"10", "20", "256", "101"}, {"10", "20", "30", "101"}, {"255", "1", "255", "0"}};
    for (const auto& texts : refused)
        clickSet(texts);
    const QString range255 = QString::fromUtf8("value 得在1~255之间"), range100 = QString::fromUtf8("value 得在1~100之间");
    EXPECT_EQ(prompts.messages, (std::vector<QString>{range255, range255, range255, range100, range100}));
    for (const PromptBox& box : prompts.boxes)
        EXPECT_EQ(std::pair(box.icon, box.caption), std::pair(PromptBox::Icon::Warning, QApplication::applicationName()));
    EXPECT_EQ(parameters(), (std::vector<int>{11, 22, 33, 44})) << "a refused Set stores nothing";
    EXPECT_TRUE(ctl(1020)->isVisible()) << "nor hides the panel";

    clickSet({"255", "1", "255", "100"});
    dlg->ShowParameterPanel(true);
    clickSet({"255", "1", "255", "100"});
    EXPECT_FALSE(ctl(1026)->isVisible()) << "a Set that finds nothing changed still hides the panel";
    const auto writes = newWrites();
    ASSERT_EQ(writes.size(), 1u) << "refused Sets send nothing, an unchanged one neither";
    const auto* sent = writes[0].data() + kParameter1;
    EXPECT_EQ(std::vector<int>(sent, sent + 4), (std::vector<int>{255, 1, 255, 100}));
}

TEST_F(PanelCommandsTest, LosCalcPulsesDefaultAsksFirstAndTheSkinButtonAttachesOnlyAChosenFile)
{
    clock.clearSleeps();
    ctl<QPushButton>(1026)->click();
    // Each report goes after a 10 ms gate step and its 40 ms lead, and a last gate step
    // comes before the refresh; the worker's 100 ms passes may fall in between.
    auto sleeps = clock.sleeps();
    std::erase(sleeps, 100);
    EXPECT_EQ(sleeps, (std::vector<int>{10, 40, 10, 40, 10}));
    EXPECT_EQ(ctl<QLineEdit>(1025)->text(), "00") << "the display follows, from 0A";

    prompts.confirmAnswers = {false, true};
    ctl<QPushButton>(1017)->click();
    ctl<QPushButton>(1017)->click();
    EXPECT_EQ(prompts.questions, (std::vector<QString>(2, "Load Default Setting?")));
    EXPECT_EQ(prompts.boxes.back().icon, PromptBox::Icon::None) << "the window's own question has no icon";
    auto writes = newWrites();
    ASSERT_EQ(writes.size(), 3u) << "the two of the pulse, then only the accepted Default";
    EXPECT_EQ(std::exchange(writes[1][kLosCalc], 1), 0);
    EXPECT_EQ(writes[1], writes[0]) << "the first has losCalc 1 and the two differ in nothing else";
    SettingBytes expected = defaultSettings;
    std::copy_n(kLight.begin() + 4, 4, expected.begin() + 4);  // the parameters stay
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), writes[2].begin() + 2));
    EXPECT_EQ(ctl<QSlider>(1003)->value(), 37) << "Default moves no control";

    qApp->setStyleSheet("QDialog { background: black; }");
    ctl<QPushButton>(1014)->click();
    EXPECT_EQ(prompts.fileDialogs, std::vector<QString>{"*.*|*.* (*)"});
    EXPECT_TRUE(qApp->styleSheet().isEmpty());
    QTemporaryDir dir;
    prompts.fileAnswer = dir.filePath("blue.she");
    std::ofstream(prompts.fileAnswer.toStdString()) << "QLabel { color: blue; }";
    ctl<QPushButton>(1014)->click();
    EXPECT_EQ(qApp->styleSheet(), "QLabel { color: blue; }");
    qApp->setStyleSheet({});  // the skin off again for the tests that follow
}

}  // namespace
}  // namespace quorlin::test
