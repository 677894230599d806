// The scroll messages of mouse and wheel input, which the window's every-other
// counting relies on (key steps are covered through the window).
#include "window/trackbar_scroll.h"

#include <QSlider>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace quorlin::test {
namespace {

TEST(TrackbarScroll, DragMovesEndAtTheReleaseAndAWheelStepEndsAtOnce)
{
    QSlider slider(Qt::Horizontal);
    slider.setRange(0, 100);
    std::vector<std::pair<TrackbarCode, int>> sent;
    TrackbarScroll scroll(slider, [&](TrackbarCode code, int pos) { sent.emplace_back(code, pos); });
    slider.setValue(50);
    EXPECT_TRUE(sent.empty());

    slider.setSliderDown(true);  // the handle held and dragged, as the mouse does it
    slider.setSliderPosition(70);
    slider.setSliderPosition(75);
    slider.setSliderDown(false);
    QTest::mouseRelease(&slider, Qt::LeftButton);
    EXPECT_EQ(sent, (decltype(sent){{TrackbarCode::ThumbTrack, 70}, {TrackbarCode::ThumbTrack, 75},
                                    {TrackbarCode::EndTrack, 75}}));

    sent.clear();
    QWheelEvent wheel({5, 5}, {5, 5}, {}, {0, 120}, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&slider, &wheel);
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].second, slider.value());
    EXPECT_EQ(sent[1].first, TrackbarCode::EndTrack);
}

}  // namespace
}  // namespace quorlin::test
