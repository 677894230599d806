// The scroll messages of mouse and wheel input, which the window's every-other
// counting relies on (key steps and moves from code are covered through the window).
#include "window/trackbar_scroll.h"

#include <QSlider>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

using namespace quorlin;

TEST(TrackbarScroll, DragMovesEndAtTheReleaseAndAWheelStepEndsAtOnce)
{
    QSlider slider(Qt::Horizontal);  // 0..99
    std::vector<std::pair<TrackbarCode, int>> sent;
    TrackbarScroll scroll(slider, [&](TrackbarCode code, int pos) { sent.emplace_back(code, pos); });
    slider.setSliderDown(true);  // the handle held and dragged, as the mouse does it
    slider.setSliderPosition(75);
    slider.setSliderDown(false);
    QTest::mouseRelease(&slider, Qt::LeftButton);
    QWheelEvent wheel({5, 5}, {5, 5}, {}, {0, 120}, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&slider, &wheel);
    using enum TrackbarCode;
    EXPECT_EQ(sent, (decltype(sent){{ThumbTrack, 75}, {EndTrack, 75},  // drag and release
                                    {ThumbTrack, slider.value()}, {EndTrack, slider.value()}}));  // a wheel step
}
