// The light controls through the real window: keys pass the window's key filter,
// trackbars send through their scroll messages, the simulated light records the wire.
#include "window/connected_dialog.h"

#include <QRadioButton>
#include <QStyleOptionSlider>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>

namespace quorlin::test {
namespace {

class LightControlsTest : public ConnectedDialogTest {
protected:
    void focusOn(QWidget* w) { w->setFocus(); ASSERT_TRUE(waitUntil([&] { return w->hasFocus(); })); }
    // One byte of each settings report since mark().
    auto newBytes(std::size_t i) const { std::vector<int> v; for (auto& w : newWrites()) v.push_back(w[i]); return v; }
};

TEST_F(LightControlsTest, EnterConfirmsANumberEditOnceClampedTo0To100AndLettersRevealTheHiddenControls)
{
    // The release repeats what the press did, and finds nothing changed. A sign can
    // only come from code; it must not become 251.
    const std::tuple<int, int, std::size_t, Qt::Key, const char*, int> rows[] = {
        {1005, 1003, kBrightness, Qt::Key_Return, "150", 100}, {1006, 1004, kBreathing, Qt::Key_Enter, "100", 100},
        {1006, 1004, kBreathing, Qt::Key_Enter, "-5", 0}};
    for (auto [id, slider, byte, key, typed, expected] : rows) {
        focusOn(ctl(id));
        ctl<QLineEdit>(id)->setText(typed);
        mark();
        clock.clearSleeps();
        QTest::keyClick(ctl(id), key);
        // Settings writes attempted, sent or not, each begin with a 40 ms sleep (the
        // polling worker never takes one): each key event is handled once.
        EXPECT_EQ(std::ranges::count(clock.sleeps(), 40), 2) << typed;
        EXPECT_EQ(ctl<QSlider>(slider)->value(), expected) << typed;
        EXPECT_EQ(newBytes(byte), std::vector<int>{expected}) << typed;
    }
    EXPECT_EQ(prompts.messages, std::vector<QString>{"The maximum vlaue is 100"}) << "for 150 only";
    EXPECT_EQ(ctl<QLineEdit>(1005)->text(), "100");

    focusOn(ctl(1003));
    QTest::keyClicks(ctl(1003), "axc");
    for (int id : {1020, 1022, 1023, 1021, 1024, 1025, 1026})
        EXPECT_TRUE(ctl(id)->isVisible()) << id;
    mark();
    ctl<QLineEdit>(1005)->setText("80");
    for (int id : {1017, 1020, 1003}) {
        focusOn(ctl(id));
        QTest::keyClick(ctl(id), Qt::Key_Return);
    }
    EXPECT_TRUE(newWrites().empty() && dlg->isVisible()) << "Enter outside the number edits confirms nothing";

    dlg->ShowParameterPanel(false);
    dlg->ShowModeButtons(false);
    QTest::keyClicks(ctl(1003), "cf");
    EXPECT_FALSE(ctl(1020)->isVisible() || ctl(1027)->isVisible()) << "a second C needs A again; F needs P";
    QTest::keyClicks(ctl(1003), "pf");
    EXPECT_TRUE(ctl(1027)->isVisible() && ctl(1028)->isVisible());

    // Manual and Auto send only a change; the light-mode radio never sends.
    for (int id : {1027, 1027, 1001, 1028})
        ctl<QRadioButton>(id)->click();
    EXPECT_EQ(newBytes(kMode), (std::vector<int>{1, 2})) << "Manual, Auto";
    EXPECT_TRUE(ctl<QRadioButton>(1028)->isChecked() && !ctl<QRadioButton>(1027)->isChecked());
    EXPECT_TRUE(ctl<QRadioButton>(1001)->isChecked()) << "a click on a checked radio keeps it checked";
}

TEST_F(LightControlsTest, TrackbarsSendEveryOtherUserScrollMessageAndEdit1006FollowsOnPaint)
{
    ASSERT_TRUE(waitUntil([&] { return ctl<QSlider>(1003)->value() == 37 && ctl<QSlider>(1004)->value() == 64; }));
    EXPECT_EQ(g_scrollEventCount.load(), 0u) << "connecting moved both trackbars from code, silently";
    ctl<QLineEdit>(1005)->setText("7");
    ctl<QLineEdit>(1006)->setText("7");
    dlg->update();
    EXPECT_TRUE(waitUntil([&] { return ctl<QLineEdit>(1006)->text() == "64"; }));
    EXPECT_EQ(ctl<QLineEdit>(1005)->text(), "7") << "edit 1005 does not follow";

    focusOn(ctl(1003));
    QTest::keySequence(ctl(1003), QKeySequence(Qt::Key_Right, Qt::Key_Right));
    EXPECT_EQ(newBytes(kBrightness), (std::vector<int>{38, 39}));
    EXPECT_EQ(ctl<QLineEdit>(1005)->text(), "39");
    // A step whose end has not come yet: the other trackbar's next step is passed over.
    QTest::keyPress(ctl(1003), Qt::Key_Left);
    focusOn(ctl(1004));
    QTest::keyPress(ctl(1004), Qt::Key_Right);
    EXPECT_EQ(ctl<QSlider>(1004)->value(), 65);
    EXPECT_EQ(newBytes(kBreathing), (std::vector<int>{64, 64, 64}));
}

TEST_F(LightControlsTest, ManualAndAutoAreOneKeyboardGroupAndADraggedTrackbarShowsItsPosition)
{
    focusOn(ctl(1028));  // Auto, as the light reports
    QTest::keyClick(ctl(1028), Qt::Key_Left);
    EXPECT_TRUE(ctl(1027)->hasFocus() && ctl<QRadioButton>(1027)->isChecked() && !ctl<QRadioButton>(1028)->isChecked());
    EXPECT_EQ(newBytes(kMode), std::vector<int>{1}) << "the arrow picks Manual, which is sent";
    QTest::keyClick(ctl(1027), Qt::Key_Tab);
    EXPECT_FALSE(ctl(1027)->hasFocus() || ctl(1028)->hasFocus()) << "one tab stop";

    mark();
    auto* slider = ctl<QSlider>(1003);
    QStyleOptionSlider opt;
    opt.initFrom(slider);
    opt.minimum = slider->minimum();
    opt.maximum = slider->maximum();
    opt.sliderPosition = opt.sliderValue = slider->value();
    const QPoint grip = slider->style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderHandle, slider).center();
    // Of a drag's two moves and its end at the release, the first and the end are
    // handled; a wheel step ends at once. A missing end would hold a later step back.
    QTest::mousePress(slider, Qt::LeftButton, {}, grip);
    std::vector<int> shown;
    for (int dx : {15, 30}) {
        QTest::mouseMove(slider, grip + QPoint(dx, 0));
        EXPECT_TRUE(QToolTip::isVisible());
        EXPECT_EQ(QToolTip::text(), QString::number(slider->sliderPosition()));
        shown.push_back(slider->sliderPosition());
    }
    QTest::mouseRelease(slider, Qt::LeftButton, {}, grip + QPoint(30, 0));
    EXPECT_FALSE(QToolTip::isVisible());
    for (int notch = 0; notch < 2; ++notch) {
        QWheelEvent wheel(grip, slider->mapToGlobal(grip), {}, {0, 120}, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(slider, &wheel);
        shown.push_back(slider->value());
    }
    EXPECT_EQ(newBytes(kBrightness), shown);
}

}  // namespace
}  // namespace quorlin::test
