#include "ui/qt/trackbar_tip.h"

#include <QSlider>
#include <QStyle>
#include <QToolTip>

namespace quorlin {
namespace {

void showPosition(QSlider& slider, int position)
{
    // Over the thumb's centre, one line above the slider.
    const int x = QStyle::sliderPositionFromValue(slider.minimum(), slider.maximum(), position, slider.width());
    const QPoint above = slider.mapToGlobal(QPoint(x, -2 * slider.fontMetrics().height()));
    QToolTip::showText(above, QString::number(position), &slider);
}

}  // namespace

void showPositionWhileDragged(QSlider& slider)
{
    QObject::connect(&slider, &QAbstractSlider::sliderPressed, &slider,
                     [&slider] { showPosition(slider, slider.sliderPosition()); });
    QObject::connect(&slider, &QAbstractSlider::sliderMoved, &slider,
                     [&slider](int position) { showPosition(slider, position); });
    QObject::connect(&slider, &QAbstractSlider::sliderReleased, &slider, [] { QToolTip::hideText(); });
}

}  // namespace quorlin
