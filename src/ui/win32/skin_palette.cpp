#include "ui/win32/skin_palette.h"

#include "platform/ascii_text.h"

#include <vector>

namespace quorlin::win32 {
namespace {

std::string_view trim(std::string_view text)
{
    return trimmed(text, " \t\r\n\f");
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string withoutComments(std::string_view sheet)
{
    std::string out;
    out.reserve(sheet.size());
    for (std::size_t i = 0; i < sheet.size(); ++i) {
        if (sheet[i] == '/' && i + 1 < sheet.size() && sheet[i + 1] == '*') {
            const std::size_t end = sheet.find("*/", i + 2);
            if (end == std::string_view::npos)
                break;  // an unclosed comment runs to the end
            i = end + 1;
            out += ' ';
            continue;
        }
        out += sheet[i];
    }
    return out;
}

std::vector<std::string_view> split(std::string_view text, char separator)
{
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    return parts;
}

struct Target {
    SkinPart part;
    SkinState state;
};

// "QPushButton:disabled", "QSlider::handle:horizontal:pressed", ... A selector with
// more than one element (a descendant) names controls of other windows: none.
std::optional<Target> targetOf(std::string_view selector)
{
    selector = trim(selector);
    if (selector.empty() || selector.find_first_of(" \t\r\n>") != std::string_view::npos)
        return std::nullopt;
    const std::size_t colon = selector.find(':');
    const std::string_view widget = selector.substr(0, colon);
    std::string_view sub;
    std::string_view rest = colon == std::string_view::npos ? std::string_view() : selector.substr(colon);
    if (rest.substr(0, 2) == "::") {
        rest.remove_prefix(2);
        const std::size_t next = rest.find(':');
        sub = rest.substr(0, next);
        rest = next == std::string_view::npos ? std::string_view() : rest.substr(next);
    }

    std::optional<SkinPart> part;
    if (widget == "QSlider") {
        if (sub == "groove")
            part = SkinPart::TrackGroove;
        else if (sub == "sub-page")
            part = SkinPart::TrackFilled;
        else if (sub == "handle")
            part = SkinPart::TrackThumb;
    } else if (sub.empty()) {
        if (widget == "QDialog")
            part = SkinPart::Window;
        else if (widget == "QLabel")
            part = SkinPart::Label;
        else if (widget == "QPushButton")
            part = SkinPart::Button;
        else if (widget == "QLineEdit")
            part = SkinPart::Edit;
        else if (widget == "QComboBox")
            part = SkinPart::List;
        else if (widget == "QRadioButton")
            part = SkinPart::Radio;
    }
    if (!part)
        return std::nullopt;

    SkinState state = SkinState::Normal;
    for (std::string_view pseudo : split(rest, ':')) {
        pseudo = trim(pseudo);
        if (pseudo.empty() || pseudo == "horizontal")
            continue;
        if (pseudo == "disabled")
            state = SkinState::Disabled;
        else if (pseudo == "pressed")
            state = SkinState::Pressed;
        else if (pseudo == "focus")
            state = SkinState::Focused;
        else if (pseudo == "hover")
            state = SkinState::Hover;
        else
            return std::nullopt;  // a state the window never shows (checked, selected, ...)
    }
    return Target{*part, state};
}

// The colour among a shorthand's words ("1px solid #e0474f").
std::optional<Rgb> colourAmongWords(std::string_view value)
{
    std::size_t start = 0;
    while (start < value.size()) {
        const std::size_t end = value.find_first_of(" \t\r\n", start);
        const std::string_view word = value.substr(start, end == std::string_view::npos ? end : end - start);
        if (auto colour = parseColour(word))
            return colour;
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    return std::nullopt;
}

}  // namespace

std::size_t SkinPalette::index(SkinPart part, SkinState state, SkinRole role)
{
    return (static_cast<std::size_t>(part) * static_cast<std::size_t>(SkinState::Count) +
            static_cast<std::size_t>(state)) *
               static_cast<std::size_t>(SkinRole::Count) +
           static_cast<std::size_t>(role);
}

std::optional<Rgb> SkinPalette::colour(SkinPart part, SkinState state, SkinRole role) const
{
    if (const Slot& own = slots_[index(part, state, role)])
        return own;
    return slots_[index(part, SkinState::Normal, role)];
}

void SkinPalette::set(SkinPart part, SkinState state, SkinRole role, Rgb colour)
{
    Slot& slot = slots_[index(part, state, role)];
    if (!slot)
        ++count_;
    slot = colour;
}

std::optional<Rgb> parseColour(std::string_view text)
{
    text = trim(text);
    if (text.size() != 4 && text.size() != 7)
        return std::nullopt;
    if (text.front() != '#')
        return std::nullopt;
    int digits[6] = {};
    const std::size_t count = text.size() - 1;
    for (std::size_t i = 0; i < count; ++i) {
        digits[i] = hexDigit(text[i + 1]);
        if (digits[i] < 0)
            return std::nullopt;
    }
    const auto channel = [&](std::size_t i) {
        return count == 3 ? static_cast<std::uint8_t>(digits[i] * 17)
                          : static_cast<std::uint8_t>(digits[2 * i] * 16 + digits[2 * i + 1]);
    };
    return Rgb{channel(0), channel(1), channel(2)};
}

SkinPalette parseSkin(std::string_view sheet)
{
    SkinPalette palette;
    const std::string text = withoutComments(sheet);
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t open = text.find('{', pos);
        if (open == std::string::npos)
            break;
        const std::size_t close = text.find('}', open + 1);
        if (close == std::string::npos)
            break;  // an unclosed rule is dropped
        const std::string_view selectors = std::string_view(text).substr(pos, open - pos);
        const std::string_view body = std::string_view(text).substr(open + 1, close - open - 1);
        pos = close + 1;

        std::vector<Target> targets;
        for (std::string_view selector : split(selectors, ','))
            if (auto target = targetOf(selector))
                targets.push_back(*target);
        if (targets.empty())
            continue;

        for (std::string_view declaration : split(body, ';')) {
            const std::size_t colon = declaration.find(':');
            if (colon == std::string_view::npos)
                continue;
            const std::string_view name = trim(declaration.substr(0, colon));
            const std::string_view value = trim(declaration.substr(colon + 1));
            std::optional<Rgb> colour;
            SkinRole role = SkinRole::Text;
            if (name == "color") {
                colour = parseColour(value);
            } else if (name == "background-color" || name == "background") {
                colour = parseColour(value);
                role = SkinRole::Background;
            } else if (name == "border" || name == "border-color") {
                colour = colourAmongWords(value);
                role = SkinRole::Border;
            }
            if (!colour)
                continue;
            for (const Target& target : targets)
                palette.set(target.part, target.state, role, *colour);
        }
    }
    return palette;
}

}  // namespace quorlin::win32
