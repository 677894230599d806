// The light controls through the real window: keys pass the window's key filter,
// trackbars send through their scroll messages, the simulated light records the wire.
#include "window/connected_dialog.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>

#include <algorithm>

namespace quorlin::test {
namespace {

class LightControlsTest : public ConnectedDialogTest {
protected:
    void focusOn(QWidget* w) { w->setFocus(); ASSERT_TRUE(waitUntil([&] { return w->hasFocus(); })); }
    // Settings writes attempted since clock.clearSleeps(), sent or not: each begins
    // with a 40 ms sleep, which a steadily polling worker never takes.
    long writesAttempted() const { return std::ranges::count(clock.sleeps(), 40); }
};

TEST_F(LightControlsTest, EnterConfirmsANumberEditOncePerKeyEventAndClampsItTo0To100)
{
    // The release repeats what the press did, and finds nothing changed. A sign can
    // only come from code; it must not become 251.
    const std::tuple<int, const char*, int> rows[] = {{1005, "150", 100}, {1006, "100", 100}, {1006, "-5", 0}};
    for (auto [id, typed, expected] : rows) {
        const bool brightness = id == 1005;
        const auto key = brightness ? Qt::Key_Return : Qt::Key_Enter;
        auto* edit = ctl<QLineEdit>(id);
        focusOn(edit);
        edit->setText(typed);
        mark();
        clock.clearSleeps();
        QTest::keyPress(edit, key);
        QTest::keyRelease(edit, key);
        EXPECT_EQ(writesAttempted(), 2) << typed << ": each key event is handled once";
        EXPECT_EQ(ctl<QSlider>(brightness ? 1003 : 1004)->value(), expected) << typed;
        ASSERT_EQ(newWrites().size(), 1u) << typed;
        EXPECT_EQ(newWrites()[0][brightness ? kBrightness : kBreathing], expected) << typed;
    }
    EXPECT_EQ(prompts.messages, std::vector<QString>{"The maximum vlaue is 100"}) << "for 150 only";
    EXPECT_EQ(ctl<QLineEdit>(1005)->text(), "100");

    mark();
    dlg->ShowParameterPanel(true);
    ctl<QLineEdit>(1005)->setText("80");
    for (int id : {1003, 1017, 1020}) {
        focusOn(ctl(id));
        QTest::keyClick(ctl(id), Qt::Key_Return);
    }
    EXPECT_TRUE(newWrites().empty()) << "Enter outside the number edits confirms nothing";
    EXPECT_TRUE(dlg->isVisible());
}

TEST_F(LightControlsTest, LetterSequencesRevealTheHiddenControls)
{
    auto* slider = ctl(1003);
    focusOn(slider);
    QTest::keyClicks(slider, "axc");
    for (int id : {1020, 1022, 1023, 1021, 1024, 1025, 1026})
        EXPECT_TRUE(ctl(id)->isVisible()) << id;
    dlg->ShowParameterPanel(false);
    dlg->ShowModeButtons(false);
    QTest::keyClicks(slider, "cf");
    EXPECT_FALSE(ctl(1020)->isVisible() || ctl(1027)->isVisible()) << "a second C needs A again; F needs P";
    QTest::keyClicks(slider, "pf");
    EXPECT_TRUE(ctl(1027)->isVisible() && ctl(1028)->isVisible());
}

TEST_F(LightControlsTest, TrackbarsSendEveryOtherUserScrollMessageAndEdit1006FollowsOnPaint)
{
    ASSERT_TRUE(waitUntil([&] { return ctl<QSlider>(1003)->value() == 37 && ctl<QSlider>(1004)->value() == 64; }));
    EXPECT_EQ(g_scrollEventCount.load(), 0u) << "connecting moved both trackbars from code, silently";
    for (int id : {1005, 1006})
        ctl<QLineEdit>(id)->setText("7");
    dlg->update();
    EXPECT_TRUE(waitUntil([&] { return ctl<QLineEdit>(1006)->text() == "64"; }));
    EXPECT_EQ(ctl<QLineEdit>(1005)->text(), "7") << "edit 1005 does not follow";

    auto* brightness = ctl<QSlider>(1003);
    focusOn(brightness);
    QTest::keyClick(brightness, Qt::Key_Right);
    QTest::keyClick(brightness, Qt::Key_Right);
    const auto writes = newWrites();
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ((std::vector<int>{writes[0][kBrightness], writes[1][kBrightness]}), (std::vector<int>{38, 39}));
    EXPECT_EQ(ctl<QLineEdit>(1005)->text(), "39");

    // A step whose end has not come yet: the other trackbar's next step is passed over.
    QTest::keyPress(brightness, Qt::Key_Left);
    auto* breathing = ctl<QSlider>(1004);
    focusOn(breathing);
    QTest::keyPress(breathing, Qt::Key_Right);
    EXPECT_EQ(breathing->value(), 65);
    EXPECT_EQ(newWrites().size(), 3u);
}

TEST_F(LightControlsTest, ModeRadiosSendOnlyAChangeAndLightModeRadiosNever)
{
    for (int id : {1027, 1027, 1001, 1028})
        ctl<QRadioButton>(id)->click();
    const auto writes = newWrites();
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ((std::vector<int>{writes[0][kMode], writes[1][kMode]}), (std::vector<int>{1, 2})) << "Manual, Auto";
    EXPECT_TRUE(ctl<QRadioButton>(1028)->isChecked() && !ctl<QRadioButton>(1027)->isChecked());
    EXPECT_TRUE(ctl<QRadioButton>(1001)->isChecked()) << "a click on a checked radio keeps it checked";
}

}  // namespace
}  // namespace quorlin::test
