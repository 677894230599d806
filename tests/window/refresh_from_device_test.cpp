// Bringing the controls in line with the light's record, called on the UI thread as
// the LOS_CALC command does and on the worker's as a connection does.
#include "window/window_fixture.h"

#include <algorithm>

namespace quorlin::test {
namespace {

class RefreshFromDevice : public WindowFixture {
protected:
    // Connected, settled, with the wire log cleared.
    void startConnected()
    {
        startDialog();
        ASSERT_TRUE(waitConnected());
        settle(2);
        light.clearCalls();
    }
    // The light absent: the worker never refreshes, so these calls are the first.
    void startAlone()
    {
        light.unplug();
        startDialog();
    }
};

TEST_F(RefreshFromDevice, AnEditAlreadyShowingTheValueIsLeftAloneWithItsTrackbar)
{
    startConnected();
    data.settings.brightnessLevel = 90;
    controls.setTrackbarPosition(IDC_SLIDER_BRIGHTNESS, 5);
    controls.setText(IDC_EDIT_BRIGHTNESS, "90");
    controls.focus(IDC_COMBO_LANGUAGE);
    dlg->RefreshFromDevice();
    EXPECT_EQ(controls.trackbarPosition(IDC_SLIDER_BRIGHTNESS), 5);
    EXPECT_EQ(controls.focusedId(), IDC_COMBO_LANGUAGE);
}

TEST_F(RefreshFromDevice, NumberEditsCompareOnTheLowByte)
{
    startConnected();
    data.settings.brightnessLevel = 90;
    controls.setText(IDC_EDIT_BRIGHTNESS, "346");  // 346 & 0xFF == 90
    dlg->RefreshFromDevice();
    EXPECT_EQ(controls.text(IDC_EDIT_BRIGHTNESS), "346");
}

TEST_F(RefreshFromDevice, ParametersCompareTheWholeNumber)
{
    startConnected();
    data.settings.parameter2 = 7;
    controls.setText(IDC_EDIT_PARAM2, "263");  // the same low byte
    dlg->RefreshFromDevice();
    EXPECT_EQ(controls.text(IDC_EDIT_PARAM2), "7");
}

TEST_F(RefreshFromDevice, ChangedValuesMoveTheTrackbarsAndPutTheCaretAfterTheText)
{
    startConnected();
    data.settings.brightnessLevel = 12;
    data.settings.breathingFrequency = 34;
    dlg->RefreshFromDevice();
    EXPECT_EQ(controls.text(IDC_EDIT_BRIGHTNESS) + controls.text(IDC_EDIT_BREATHING), "1234");
    EXPECT_EQ(controls.trackbarPosition(IDC_SLIDER_BRIGHTNESS), 12);
    EXPECT_EQ(controls.trackbarPosition(IDC_SLIDER_BREATHING), 34);
    EXPECT_EQ(controls.at(IDC_EDIT_BREATHING).caret, 2);
    EXPECT_TRUE(settingsWrites().empty()) << "moving the trackbars sends nothing";
}

TEST_F(RefreshFromDevice, OnTheUiThreadTheFocusEndsInTheLastEditChanged)
{
    startConnected();
    data.settings.brightnessLevel = 12;
    data.settings.breathingFrequency = 34;
    dlg->RefreshFromDevice();
    EXPECT_EQ(controls.focusedId(), IDC_EDIT_BREATHING);
}

TEST_F(RefreshFromDevice, TheLosDisplayIsWrittenAtTheFirstRefreshAndThenOnlyOnAChange)
{
    startAlone();
    dlg->RefreshFromDevice();
    EXPECT_EQ(controls.text(IDC_EDIT_LOS_CALC), "00");
    controls.setText(IDC_EDIT_LOS_CALC, "typed");
    dlg->RefreshFromDevice();
    EXPECT_EQ(controls.text(IDC_EDIT_LOS_CALC), "typed") << "unchanged since last shown";
    data.settings.losCalc = 10;
    dlg->RefreshFromDevice();
    EXPECT_EQ(controls.text(IDC_EDIT_LOS_CALC), "0A");
}

TEST_F(RefreshFromDevice, LightModeRadiosShowKeepsOnFor1AndBreathingForAnythingElse)
{
    startAlone();
    for (std::uint8_t mode : {0, 1, 2, 7}) {
        data.settings.lightMode = mode;
        dlg->RefreshFromDevice();
        EXPECT_EQ(controls.checked(IDC_RADIO_KEEP_ON), mode == 1) << int(mode);
        EXPECT_EQ(controls.checked(IDC_RADIO_BREATHING), mode != 1) << int(mode);
    }
}

TEST_F(RefreshFromDevice, AReportedModeTheRadiosDoNotShowIsAdoptedAndSentBack)
{
    startConnected();
    data.settings.reportedOperationMode = 1;
    controls.setChecked(IDC_RADIO_MANUAL, false);
    controls.setChecked(IDC_RADIO_AUTO, false);
    dlg->RefreshFromDevice();
    EXPECT_TRUE(controls.checked(IDC_RADIO_MANUAL) && !controls.checked(IDC_RADIO_AUTO));
    EXPECT_EQ(data.operationMode, 1);
    ASSERT_EQ(settingsWrites().size(), 1u);
    EXPECT_EQ(settingsWrites()[0][kMode], 1);
}

// Every send attempt, written or not, begins with the report's 40 ms lead.
TEST_F(RefreshFromDevice, AModeTheRadiosShowIsNotSentAgain)
{
    startConnected();
    data.settings.reportedOperationMode = 2;
    clock.clearSleeps();
    dlg->RefreshFromDevice();
    EXPECT_EQ(std::ranges::count(clock.sleeps(), 40), 0);
    EXPECT_TRUE(settingsWrites().empty());
}

TEST_F(RefreshFromDevice, AnUnknownReportedModeChangesNothing)
{
    startConnected();
    data.settings.reportedOperationMode = 0;
    dlg->RefreshFromDevice();
    EXPECT_TRUE(controls.checked(IDC_RADIO_AUTO));
    EXPECT_TRUE(settingsWrites().empty());
}

}  // namespace
}  // namespace quorlin::test
