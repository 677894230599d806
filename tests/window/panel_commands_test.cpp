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

TEST_F(PanelCommands, TheSkinButtonAttachesTheChosenFile)
{
    prompts.fileAnswer = "skins/blue.she";
    dlg->OnBnClickedLoadSkin();
    EXPECT_EQ(skin.calls, (std::vector<std::string>{"detach", "attach skins/blue.she"}));
}

}  // namespace
}  // namespace quorlin::test
