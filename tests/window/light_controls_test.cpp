// The light controls through the real window: keys pass the window's key filter,
// trackbars send through their scroll messages, the simulated light records the wire.
#include "window/connected_dialog.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>

namespace quorlin::test {
namespace {

using LightControlsTest = ConnectedDialogTest;

TEST_F(LightControlsTest, EnterAbove100ClampsWarnsAndSendsOnceAndItsReleaseSendsNothingMore)
{
    auto* edit = ctl<QLineEdit>(1005);
    focusOn(edit);
    edit->clear();
    QTest::keyClicks(edit, "150");
    clock.clearSleeps();
    QTest::keyPress(edit, Qt::Key_Return);
    EXPECT_EQ(writesAttempted(), 1) << "one key event is handled once";
    EXPECT_EQ(edit->text(), "100");
    EXPECT_EQ(prompts.messages, std::vector<QString>{"The maximum vlaue is 100"});
    EXPECT_EQ(ctl<QSlider>(1003)->value(), 100);
    EXPECT_EQ(data.settings.brightnessLevel.load(), 100);
    ASSERT_EQ(newWrites().size(), 1u);
    EXPECT_EQ(newWrites()[0][kBrightness], 100);

    QTest::keyRelease(edit, Qt::Key_Return);  // handled again, finds nothing changed
    EXPECT_EQ(writesAttempted(), 2);
    EXPECT_EQ(newWrites().size(), 1u);
    EXPECT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(g_scrollEventCount.load(), 0u) << "a trackbar moved from code sends no scroll message";
}

TEST_F(LightControlsTest, EnterSendsValuesUpTo100AndNothingOutsideTheNumberEdits)
{
    auto* edit = ctl<QLineEdit>(1006);
    focusOn(edit);
    for (auto [typed, expected] : {std::pair{"100", 100}, {"0", 0}, {"55", 55}, {"", 0}}) {
        edit->setText(typed);
        mark();
        QTest::keyClick(edit, Qt::Key_Enter);
        EXPECT_EQ(ctl<QSlider>(1004)->value(), expected) << typed;
        ASSERT_EQ(newWrites().size(), 1u) << typed;
        EXPECT_EQ(newWrites()[0][kBreathing], expected) << typed;
    }
    edit->setText("-5");  // only code can put a sign there; it must not become 251
    QTest::keyClick(edit, Qt::Key_Enter);
    EXPECT_EQ(data.settings.breathingFrequency.load(), 0);
    EXPECT_TRUE(prompts.messages.empty());

    mark();
    dlg->ShowParameterPanel(true);
    for (int id : {1003, 1017, 1020}) {
        focusOn(ctl(id));
        ctl<QLineEdit>(1005)->setText("80");
        typeKeys({Qt::Key_Return});
    }
    EXPECT_TRUE(newWrites().empty());
    EXPECT_TRUE(dlg->isVisible());
}

TEST_F(LightControlsTest, LetterSequencesRevealTheHiddenControls)
{
    focusOn(ctl(1003));
    typeKeys({Qt::Key_C});
    EXPECT_FALSE(ctl(1020)->isVisible());
    typeKeys({Qt::Key_A, Qt::Key_X, Qt::Key_C});
    for (int id : {1020, 1022, 1023, 1021, 1024, 1025, 1026})
        EXPECT_TRUE(ctl(id)->isVisible()) << id;
    dlg->ShowParameterPanel(false);
    typeKeys({Qt::Key_C});
    EXPECT_FALSE(ctl(1020)->isVisible()) << "a second C needs A again";

    dlg->ShowModeButtons(false);
    typeKeys({Qt::Key_F});
    EXPECT_FALSE(ctl(1027)->isVisible());
    typeKeys({Qt::Key_P, Qt::Key_F});
    EXPECT_TRUE(ctl(1027)->isVisible() && ctl(1028)->isVisible());
}

TEST_F(LightControlsTest, EachArrowStepSendsItsPositionAndTheTrackbarsShareOneCount)
{
    auto* brightness = ctl<QSlider>(1003);
    focusOn(brightness);
    QTest::keyClick(brightness, Qt::Key_Right);
    QTest::keyClick(brightness, Qt::Key_Right);
    auto writes = newWrites();
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(writes[0][kBrightness], 38);
    EXPECT_EQ(writes[1][kBrightness], 39);
    EXPECT_EQ(ctl<QLineEdit>(1005)->text(), "39");

    // A step whose end has not come yet: the other trackbar's next step is passed over.
    QTest::keyPress(brightness, Qt::Key_Left);
    auto* breathing = ctl<QSlider>(1004);
    focusOn(breathing);
    QTest::keyPress(breathing, Qt::Key_Right);
    EXPECT_EQ(breathing->value(), 65);
    EXPECT_EQ(newWrites().size(), 3u);
    EXPECT_EQ(data.settings.breathingFrequency.load(), 64);
}

TEST_F(LightControlsTest, RefreshMovesTrackbarsSilentlyAndEdit1006FollowsItsTrackbarOnPaint)
{
    SettingBytes changed = kLight;
    changed[2] = 12;
    changed[3] = 88;
    light.setSettings(changed);
    data.reconnectRequested = 1;
    ASSERT_TRUE(waitUntil([&] { return ctl<QSlider>(1004)->value() == 88 && data.reconnectRequested == 0; }));
    EXPECT_EQ(ctl<QSlider>(1003)->value(), 12);
    EXPECT_TRUE(newWrites().empty());
    EXPECT_EQ(g_scrollEventCount.load(), 0u);

    ctl<QLineEdit>(1006)->setText("7");
    ctl<QLineEdit>(1005)->setText("7");
    ctl(1003)->update();
    ctl(1004)->update();
    EXPECT_TRUE(waitUntil([&] { return ctl<QLineEdit>(1006)->text() == "88"; }));
    EXPECT_EQ(ctl<QLineEdit>(1005)->text(), "7");
}

TEST_F(LightControlsTest, ModeRadiosSendOnlyAChangeAndLightModeRadiosNever)
{
    ctl<QRadioButton>(1027)->click();
    ctl<QRadioButton>(1027)->click();
    ctl<QRadioButton>(1001)->click();
    ASSERT_EQ(newWrites().size(), 1u);
    EXPECT_EQ(newWrites()[0][kMode], 1);
    EXPECT_TRUE(ctl<QRadioButton>(1027)->isChecked());
    EXPECT_FALSE(ctl<QRadioButton>(1028)->isChecked());
    EXPECT_TRUE(ctl<QRadioButton>(1001)->isChecked());
    EXPECT_FALSE(ctl<QRadioButton>(1002)->isChecked());

    ctl<QRadioButton>(1028)->click();
    ASSERT_EQ(newWrites().size(), 2u);
    EXPECT_EQ(newWrites()[1][kMode], 2);
    EXPECT_FALSE(ctl<QRadioButton>(1027)->isChecked());
}

}  // namespace
}  // namespace quorlin::test
