#pragma once
// A slider's user input as the scroll messages a trackbar sends its window: one for
// every step, page or drag move, and an end-of-tracking message when the key or the
// mouse button that moved it is let go (a wheel step ends at once). Moving the
// slider from code (setValue) sends none.

#include <QObject>
#include <QPointer>

#include <functional>

class QSlider;

namespace quorlin {

// The trackbar's scroll codes, with their platform values.
enum class TrackbarCode : unsigned {
    LineUp = 0,
    LineDown = 1,
    PageUp = 2,
    PageDown = 3,
    ThumbPosition = 4,
    ThumbTrack = 5,
    Top = 6,
    Bottom = 7,
    EndTrack = 8,
};

class TrackbarScroll final : public QObject {
public:
    // Runs on the slider's thread for each message, with the slider's position at
    // that moment (a step reports the position it moved to).
    using Handler = std::function<void(TrackbarCode code, int position)>;

    TrackbarScroll(QSlider& slider, Handler onScroll);
    ~TrackbarScroll() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onAction(int action);
    void send(TrackbarCode code);

    QPointer<QSlider> slider_;
    Handler onScroll_;
    // Set by a wheel turn: its step is followed by the end message at once.
    bool endAfterStep_ = false;
};

}  // namespace quorlin
