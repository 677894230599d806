#pragma once
// The colours of a skin file, per control kind and state. The skin file ("red.she") is
// a style sheet written for the Qt front end; the Win32 window draws its own controls
// from the plain colours in it: `color`, `background-color` (or a plain `background`)
// and the colour of `border` / `border-color`. Gradients, sizes and any rule the
// Win32 window has no control for are skipped. Standard C++ only.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorlin::win32 {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

enum class SkinPart {
    Window,        // QDialog
    Label,         // QLabel
    Button,        // QPushButton
    Edit,          // QLineEdit
    List,          // QComboBox
    Radio,         // QRadioButton
    TrackGroove,   // QSlider::groove
    TrackFilled,   // QSlider::sub-page
    TrackThumb,    // QSlider::handle
    Count
};

enum class SkinState { Normal, Disabled, Pressed, Focused, Hover, Count };
enum class SkinRole { Text, Background, Border, Count };

class SkinPalette {
public:
    // The colour for `part` in `state`; a state the skin does not name falls back to
    // Normal. Nothing when the skin gives no such colour.
    std::optional<Rgb> colour(SkinPart part, SkinState state, SkinRole role) const;
    void set(SkinPart part, SkinState state, SkinRole role, Rgb colour);
    // True when the skin gave at least one colour.
    bool any() const { return count_ > 0; }

private:
    using Slot = std::optional<Rgb>;
    std::array<Slot, static_cast<std::size_t>(SkinPart::Count) * static_cast<std::size_t>(SkinState::Count) *
                         static_cast<std::size_t>(SkinRole::Count)>
        slots_{};
    int count_ = 0;

    static std::size_t index(SkinPart part, SkinState state, SkinRole role);
};

// "#rgb" or "#rrggbb"; nothing for anything else.
std::optional<Rgb> parseColour(std::string_view text);

// The palette of a style sheet's text. Text that is not a style sheet gives a palette
// without colours.
SkinPalette parseSkin(std::string_view sheet);

// A skin file is a small text file; anything larger is not one.
inline constexpr std::size_t kMaxSkinBytes = 1 << 20;

}  // namespace quorlin::win32
