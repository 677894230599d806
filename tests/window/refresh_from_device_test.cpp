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
