#include "ui/qt/trackbar_scroll.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QSlider>
#include <QStyle>

namespace quorlin {
namespace {

bool isTrackingKey(int key)
{
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        return true;
    default:
        return false;
    }
}

bool codeForAction(int action, TrackbarCode& code)
{
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: code = TrackbarCode::LineDown; return true;
    case QAbstractSlider::SliderSingleStepSub: code = TrackbarCode::LineUp; return true;
    case QAbstractSlider::SliderPageStepAdd: code = TrackbarCode::PageDown; return true;
    case QAbstractSlider::SliderPageStepSub: code = TrackbarCode::PageUp; return true;
    case QAbstractSlider::SliderToMinimum: code = TrackbarCode::Top; return true;
    case QAbstractSlider::SliderToMaximum: code = TrackbarCode::Bottom; return true;
    case QAbstractSlider::SliderMove: code = TrackbarCode::ThumbTrack; return true;
    default: return false;
    }
}

}  // namespace

TrackbarScroll::TrackbarScroll(QSlider& slider, Handler onScroll)
    : slider_(&slider), onScroll_(std::move(onScroll))
{
    slider.installEventFilter(this);
    // actionTriggered comes only from the user's input, after the position moved and
    // before the value follows; setValue does not raise it.
    connect(&slider, &QAbstractSlider::actionTriggered, this, &TrackbarScroll::onAction);
}

TrackbarScroll::~TrackbarScroll()
{
    if (slider_)
        slider_->removeEventFilter(this);
}

void TrackbarScroll::send(TrackbarCode code)
{
    if (slider_ && onScroll_)
        onScroll_(code, slider_->sliderPosition());
}

void TrackbarScroll::onAction(int action)
{
    TrackbarCode code;
    if (!codeForAction(action, code))
        return;
    send(code);
    if (endAfterStep_) {
        endAfterStep_ = false;
        send(TrackbarCode::EndTrack);
    }
}

bool TrackbarScroll::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != slider_)
        return false;
    switch (event->type()) {
    case QEvent::Wheel:
        endAfterStep_ = true;
        break;
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
        endAfterStep_ = false;
        break;
    case QEvent::KeyRelease: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!key->isAutoRepeat() && isTrackingKey(key->key()))
            send(TrackbarCode::EndTrack);
        break;
    }
    case QEvent::MouseButtonRelease: {
        // The buttons the slider moves with: the left one, and whatever the style
        // lets jump or page.
        const int moving = Qt::LeftButton |
                           slider_->style()->styleHint(QStyle::SH_Slider_AbsoluteSetButtons, nullptr, slider_) |
                           slider_->style()->styleHint(QStyle::SH_Slider_PageSetButtons, nullptr, slider_);
        if (static_cast<QMouseEvent*>(event)->button() & moving)
            send(TrackbarCode::EndTrack);
        break;
    }
    default:
        break;
    }
    return false;
}

}  // namespace quorlin
