// The light controls: the key step, the number edits, the trackbars' scroll messages
// and the mode radios, with the simulated light recording the wire.
#include "window/window_fixture.h"

#include <algorithm>

namespace quorlin::test {
namespace {

constexpr unsigned kThumbTrack = 5;
constexpr unsigned kEndTrack = 8;

class LightControls : public ConnectedWindow {
protected:
    // A key pressed and let go, as the front end reports both.
    void click(KeyCode key)
    {
        dlg->PreTranslateMessage(key);
        dlg->PreTranslateMessage(key);
    }
    void typeIntoFocusedEdit(int id, const char* text)
    {
        controls.focus(id);
        id == IDC_EDIT_BRIGHTNESS ? dlg->OnEnSetfocusBrightness() : dlg->OnEnSetfocusBreathing();
        controls.setText(id, text);
    }
    void leaveEdit(int id)
    {
        id == IDC_EDIT_BRIGHTNESS ? dlg->OnEnKillfocusBrightness() : dlg->OnEnKillfocusBreathing();
    }
    void keys(std::initializer_list<KeyCode> sequence)
    {
        for (KeyCode key : sequence)
            click(key);
    }
};

TEST_F(LightControls, EnterInTheBrightnessEditMovesTheTrackbarAndSendsTheValue)
{
    typeIntoFocusedEdit(IDC_EDIT_BRIGHTNESS, "55");
    click(KeyCode::Enter);
    EXPECT_EQ(controls.trackbarPosition(IDC_SLIDER_BRIGHTNESS), 55);
    EXPECT_EQ(newBytes(kBrightness), std::vector<int>{55});
}

TEST_F(LightControls, AValueOver100Becomes100WithAWarning)
{
    typeIntoFocusedEdit(IDC_EDIT_BRIGHTNESS, "150");
    click(KeyCode::Enter);
    EXPECT_EQ(controls.text(IDC_EDIT_BRIGHTNESS), "100");
    EXPECT_EQ(newBytes(kBrightness), std::vector<int>{100});
    EXPECT_EQ(prompts.messages, std::vector<std::string>{"The maximum vlaue is 100"}) << "once: the release finds 100";
}

// The edit takes digits only; a sign can come only from code and must not become 251.
TEST_F(LightControls, ANegativeNumberIsSentAs0)
{
    typeIntoFocusedEdit(IDC_EDIT_BREATHING, "-5");
    click(KeyCode::Enter);
    EXPECT_EQ(controls.trackbarPosition(IDC_SLIDER_BREATHING), 0);
    EXPECT_EQ(newBytes(kBreathing), std::vector<int>{0});
}

TEST_F(LightControls, EnterOutsideTheNumberEditsConfirmsNothing)
{
    typeIntoFocusedEdit(IDC_EDIT_BRIGHTNESS, "80");
    leaveEdit(IDC_EDIT_BRIGHTNESS);
    click(KeyCode::Enter);
    EXPECT_TRUE(newWrites().empty());
    EXPECT_EQ(controls.trackbarPosition(IDC_SLIDER_BRIGHTNESS), 37);
}

TEST_F(LightControls, AThenCShowsTheParameterPanel)
{
    keys({KeyCode::A, KeyCode::Other, KeyCode::C});
    for (int id : kParameterPanel)
        EXPECT_TRUE(controls.shown(id)) << id;
}

TEST_F(LightControls, CWithoutAShowsNothing)
{
    keys({KeyCode::C, KeyCode::P, KeyCode::C});
    EXPECT_FALSE(controls.shown(IDC_EDIT_PARAM1));
}

TEST_F(LightControls, PThenFShowsTheModeButtons)
{
    dlg->ShowModeButtons(false);
    keys({KeyCode::F, KeyCode::A, KeyCode::F});
    EXPECT_FALSE(controls.shown(IDC_RADIO_MANUAL)) << "F needs P";
    keys({KeyCode::P, KeyCode::F});
    EXPECT_TRUE(controls.shown(IDC_RADIO_MANUAL) && controls.shown(IDC_RADIO_AUTO));
}

TEST_F(LightControls, ManualSendsMode1AndChecksOnlyManual)
{
    dlg->OnBnClickedManual();
    EXPECT_EQ(newBytes(kMode), std::vector<int>{1});
    EXPECT_TRUE(controls.checked(IDC_RADIO_MANUAL) && !controls.checked(IDC_RADIO_AUTO));
    EXPECT_EQ(data.settings.reportedOperationMode, 1) << "the report's mode field agrees";
}

TEST_F(LightControls, AScrollMessageSendsTheTrackbarsPositionAndShowsItInTheEdit)
{
    controls.setTrackbarPosition(IDC_SLIDER_BRIGHTNESS, 38);
    dlg->OnHScroll(kThumbTrack, 38, IDC_SLIDER_BRIGHTNESS);
    EXPECT_EQ(newBytes(kBrightness), std::vector<int>{38});
    EXPECT_EQ(controls.text(IDC_EDIT_BRIGHTNESS), "38");
}

TEST_F(LightControls, TheMessageAfterAHandledOneIsPassedOver)
{
    for (int position : {38, 39, 40}) {
        controls.setTrackbarPosition(IDC_SLIDER_BRIGHTNESS, position);
        dlg->OnHScroll(position == 39 ? kEndTrack : kThumbTrack, unsigned(position), IDC_SLIDER_BRIGHTNESS);
    }
    EXPECT_EQ(newBytes(kBrightness), (std::vector<int>{38, 40}));
    EXPECT_EQ(controls.text(IDC_EDIT_BRIGHTNESS), "40");
}

TEST_F(LightControls, DrawingTheBreathingTrackbarPutsItsPositionInItsEdit)
{
    controls.setText(IDC_EDIT_BREATHING, "7");
    dlg->OnNMCustomdrawBreathing();
    EXPECT_EQ(controls.text(IDC_EDIT_BREATHING), "64");
}

}  // namespace
}  // namespace quorlin::test
