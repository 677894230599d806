// The parameter panel, Default and the skin button.
#include "window/window_fixture.h"

#include <array>

namespace quorlin::test {
namespace {

constexpr const char* kRange255 = "value 得在1~255之间";
constexpr const char* kRange100 = "value 得在1~100之间";

class PanelCommands : public ConnectedWindow {
protected:
    void SetUp() override
    {
        ConnectedWindow::SetUp();
        dlg->ShowParameterPanel(true);
    }
    void clickSet(const std::array<const char*, 4>& texts)
    {
        const int ids[] = {IDC_EDIT_PARAM1, IDC_EDIT_PARAM2, IDC_EDIT_PARAM3, IDC_EDIT_PARAM4};
        for (std::size_t i = 0; i < texts.size(); ++i)
            controls.setText(ids[i], texts[i]);
        dlg->OnBnClickedSet();
    }
    std::vector<int> parameters() const
    {
        const auto& s = data.settings;
        return {s.parameter1, s.parameter2, s.parameter3, s.parameter4};
    }
};

TEST_F(PanelCommands, SetRefusesAnyOfTheFirstThreeOutside1To255)
{
    const std::array<const char*, 4> refused[] = {
        {"", "20", "30", "40"}, {"10", "256", "30", "40"}, {"10", "20", "0", "40"}};
    for (const auto& texts : refused)
        clickSet(texts);
    EXPECT_EQ(prompts.messages, std::vector<std::string>(3, kRange255));
}

TEST_F(PanelCommands, SetRefusesAFourthOutside1To100)
{
    clickSet({"10", "20", "30", "101"});
    clickSet({"255", "1", "255", "0"});
    EXPECT_EQ(prompts.messages, std::vector<std::string>(2, kRange100));
}

TEST_F(PanelCommands, ARefusedSetStoresSendsAndHidesNothing)
{
    clickSet({"10", "20", "30", "101"});
    EXPECT_EQ(parameters(), (std::vector<int>{11, 22, 33, 44}));
    EXPECT_TRUE(newWrites().empty());
    EXPECT_TRUE(controls.shown(IDC_EDIT_PARAM1));
}

TEST_F(PanelCommands, SetStoresAndSendsTheFourAndHidesThePanel)
{
    clickSet({"255", "1", "255", "100"});
    EXPECT_EQ(parameters(), (std::vector<int>{255, 1, 255, 100}));
    const auto writes = newWrites();
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(std::vector<int>(writes[0].begin() + kParameter1, writes[0].begin() + kParameter1 + 4),
              (std::vector<int>{255, 1, 255, 100}));
    for (int id : kParameterPanel)
        EXPECT_FALSE(controls.shown(id)) << id;
}

TEST_F(PanelCommands, ASetThatChangesNothingSendsNothingButStillHidesThePanel)
{
    clickSet({"11", "22", "33", "44"});
    EXPECT_TRUE(newWrites().empty());
    EXPECT_FALSE(controls.shown(IDC_BUTTON_LOS_CALC));
}

// Each report goes after a 10 ms gate step and its 40 ms lead, and a last gate step
// comes before the refresh; the worker's 100 ms passes may fall in between.
TEST_F(PanelCommands, LosCalcSendsTwoReportsInTheGatesSteps)
{
    clock.clearSleeps();
    dlg->OnBnClickedLosCalc();
    auto sleeps = clock.sleeps();
    std::erase(sleeps, 100);
    EXPECT_EQ(sleeps, (std::vector<int>{10, 40, 10, 40, 10}));
}

TEST_F(PanelCommands, LosCalcPulses1Then0AndTheReportsDifferInNothingElse)
{
    dlg->OnBnClickedLosCalc();
    auto writes = newWrites();
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(std::exchange(writes[0][kLosCalc], 0), 1);
    EXPECT_EQ(writes[1][kLosCalc], 0);
    EXPECT_EQ(writes[0], writes[1]);
}

// A refused first report must not leave losCalc at 1 for the next settings report.
TEST_F(PanelCommands, LosCalcRefusedWhileTheLauncherRunsStillEndsAt0)
{
    processes.launcherRunning = true;
    clock.clearSleeps();
    dlg->OnBnClickedLosCalc();
    EXPECT_EQ(data.settings.losCalc, 0);
    EXPECT_TRUE(newWrites().empty());
    auto sleeps = clock.sleeps();
    std::erase(sleeps, 100);
    EXPECT_EQ(sleeps, (std::vector<int>{10, 40, 10, 40, 10})) << "the same steps as a pulse that went out";
}

TEST_F(PanelCommands, DefaultAsksFirstAndSendsNothingOnCancel)
{
    prompts.confirmAnswers = {false};
    dlg->OnBnClickedDefault();
    EXPECT_EQ(prompts.questions, std::vector<std::string>{"Load Default Setting?"});
    EXPECT_TRUE(newWrites().empty());
}

TEST_F(PanelCommands, AcceptedDefaultSendsTheBuiltInSettingsKeepingTheParameters)
{
    prompts.confirmAnswers = {true};
    dlg->OnBnClickedDefault();
    const auto writes = newWrites();
    ASSERT_EQ(writes.size(), 1u);
    SettingBytes expected = defaultSettings;
    std::copy_n(kLight.begin() + 4, 4, expected.begin() + 4);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), writes[0].begin() + 2));
}

TEST_F(PanelCommands, TheSkinButtonTakesTheSkinOffAndAsksForAFileOfAnyName)
{
    dlg->OnBnClickedLoadSkin();
    EXPECT_EQ(prompts.fileDialogs, std::vector<std::string>{"*.*|*.*"});
    EXPECT_EQ(skin.calls, std::vector<std::string>{"detach"}) << "cancelled: the standard look stays";
}

TEST_F(PanelCommands, TheSkinButtonAttachesTheChosenFile)
{
    prompts.fileAnswer = "skins/blue.she";
    dlg->OnBnClickedLoadSkin();
    EXPECT_EQ(skin.calls, (std::vector<std::string>{"detach", "attach skins/blue.she"}));
}

}  // namespace
}  // namespace quorlin::test
