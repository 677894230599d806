#pragma once
// The position tooltip of a trackbar: shown above the thumb while the user drags it,
// following it, and gone when the thumb is let go.

class QSlider;

namespace quorlin {

// Gives `slider` the tooltip for as long as the slider lives. Never fails.
void showPositionWhileDragged(QSlider& slider);

}  // namespace quorlin
