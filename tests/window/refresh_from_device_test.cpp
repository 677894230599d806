#include "dialog_fixture.h"

#include <QButtonGroup>
#include <QRadioButton>

namespace quorlin::test {
namespace {

class RefreshFromDevice : public DialogFixture {
protected:
    // Connected, settled, with the wire log cleared.
    void startConnected()
    {
        startDialog();
        ASSERT_TRUE(waitConnected());
        settle(2);
        light.clearCalls();
    }
    QLineEdit* edit(int id) const { return ctl<QLineEdit>(id); }
    QRadioButton* radio(int id) const { return ctl<QRadioButton>(id); }
};

TEST_F(RefreshFromDevice, EditsAreRewrittenOnlyWhenTheyShowAnotherValue)
{
    startConnected();
    ctl(1018)->setFocus();
    data.settings.brightnessLevel = 90;
    ctl<QSlider>(1003)->setValue(5);
    edit(1005)->setText("90");
    dlg->RefreshFromDevice();
    EXPECT_EQ(ctl<QSlider>(1003)->value(), 5) << "an edit already showing the value is left alone";
    EXPECT_EQ(QApplication::focusWidget(), ctl(1018));

    edit(1005)->setText("346");  // 346 & 0xFF == 90
    dlg->RefreshFromDevice();
    EXPECT_EQ(edit(1005)->text(), "346");

    data.settings.brightnessLevel = 0;
    edit(1005)->setText("");
    EXPECT_EQ(edit(1020)->text(), "180") << "filled from the light's reply";
    data.settings.parameter1 = 0;
    edit(1020)->setText("");
    data.settings.parameter2 = 7;
    edit(1022)->setText("263");  // the same low byte: parameters compare the whole number
    dlg->RefreshFromDevice();
    EXPECT_EQ(edit(1005)->text() + edit(1020)->text(), "") << "an empty edit reads as 0";
    EXPECT_EQ(edit(1022)->text(), "7");
    EXPECT_TRUE(settingsWrites().empty());
}

TEST_F(RefreshFromDevice, BothValuesChangedOnTheUiThreadLeaveTheFocusInTheBreathingEdit)
{
    startConnected();
    data.settings.brightnessLevel = 12;
    data.settings.breathingFrequency = 34;
    dlg->RefreshFromDevice();
    EXPECT_EQ(edit(1005)->text() + edit(1006)->text(), "1234");
    EXPECT_EQ(ctl<QSlider>(1003)->value() + ctl<QSlider>(1004)->value(), 12 + 34);
    EXPECT_EQ(QApplication::focusWidget(), ctl(1006));
    EXPECT_EQ(edit(1006)->cursorPosition(), 2) << "the caret stands after the text";
    EXPECT_EQ(std::pair(dlg->m_bBrightnessEditFocus, dlg->m_bBreathingEditFocus), std::pair(0, 1));
    EXPECT_TRUE(settingsWrites().empty()) << "moving the trackbars sends nothing";
}

// With the light absent the worker never refreshes: these calls are the first.
TEST_F(RefreshFromDevice, LosDisplayAndLightModeRadiosFollowTheRecord)
{
    light.unplug();
    startDialog();
    dlg->RefreshFromDevice();
    EXPECT_EQ(edit(1025)->text(), "00") << "the first refresh always writes it";
    EXPECT_TRUE(radio(1002)->isChecked()) << "light mode 0 is breathing";
    edit(1025)->setText("typed");
    dlg->RefreshFromDevice();
    EXPECT_EQ(edit(1025)->text(), "typed") << "unchanged since last shown";
    data.settings.losCalc = 10;
    dlg->RefreshFromDevice();
    EXPECT_EQ(edit(1025)->text(), "0A");
    for (std::uint8_t mode : {1, 2, 7}) {
        data.settings.lightMode = mode;
        dlg->RefreshFromDevice();
        EXPECT_EQ(radio(1001)->isChecked(), mode == 1) << int(mode);
        EXPECT_EQ(radio(1002)->isChecked(), mode != 1) << int(mode);
    }
}

TEST_F(RefreshFromDevice, ReportedModeIsAdoptedAndSentBackOnce)
{
    startConnected();
    data.settings.reportedOperationMode = 1;
    radio(1027)->group()->setExclusive(false);  // neither checked, as before any reply
    radio(1027)->setChecked(false);
    radio(1028)->setChecked(false);
    radio(1027)->group()->setExclusive(true);
    dlg->RefreshFromDevice();
    EXPECT_TRUE(radio(1027)->isChecked() && !radio(1028)->isChecked());
    EXPECT_EQ(data.operationMode, 1);
    ASSERT_EQ(settingsWrites().size(), 1u);
    EXPECT_EQ(settingsWrites()[0][10], 1) << "the mode byte of the report";

    data.settings.reportedOperationMode = 2;
    dlg->RefreshFromDevice();
    EXPECT_TRUE(radio(1028)->isChecked() && !radio(1027)->isChecked());
    EXPECT_EQ(data.operationMode, 2);
    dlg->RefreshFromDevice();
    EXPECT_EQ(settingsWrites().size(), 2u) << "nothing more once the window agrees";

    data.settings.reportedOperationMode = 0;
    dlg->RefreshFromDevice();
    EXPECT_TRUE(radio(1028)->isChecked()) << "an unknown reported mode changes nothing";
    EXPECT_EQ(settingsWrites().size(), 2u);
}

}  // namespace
}  // namespace quorlin::test
