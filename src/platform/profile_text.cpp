#include "platform/profile_text.h"

#include "platform/ascii_text.h"

#include <vector>

namespace quorlin {
namespace {

constexpr std::string_view kBlanks = " \t\v\f";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::string_view trimmed(std::string_view text)
{
    return quorlin::trimmed(text, kBlanks);
}

bool sameName(std::string_view a, std::string_view b)
{
    return compareIgnoringCase(trimmed(a), trimmed(b)) == 0;
}

std::string unquoted(std::string_view value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

// One line: [begin, contentEnd) is its text, [contentEnd, next) its line ending.
struct Line {
    std::size_t begin;
    std::size_t contentEnd;
    std::size_t next;
};

std::vector<Line> splitLines(std::string_view text)
{
    std::vector<Line> lines;
    // An editor's byte-order mark is not part of the first line's text.
    std::size_t pos = text.starts_with(kUtf8Bom) ? kUtf8Bom.size() : 0;
    while (pos < text.size()) {
        const auto end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) {
            lines.push_back({pos, text.size(), text.size()});
            break;
        }
        std::size_t next = end + 1;
        if (text[end] == '\r' && next < text.size() && text[next] == '\n')
            ++next;
        lines.push_back({pos, end, next});
        pos = next;
    }
    return lines;
}

enum class LineKind { blank, comment, section, key, other };

struct ParsedLine {
    LineKind kind = LineKind::other;
    std::string_view name;        // section or key name, untrimmed
    std::size_t valueOffset = 0;  // key lines: offset of the value's first byte in the line
    std::size_t equalsEnd = 0;    // key lines: offset just past the "="
    std::string_view value;       // key lines: the raw value, untrimmed
};

ParsedLine parseLine(std::string_view line)
{
    ParsedLine parsed;
    const std::string_view body = trimmed(line);
    if (body.empty()) {
        parsed.kind = LineKind::blank;
    } else if (body.front() == ';') {
        parsed.kind = LineKind::comment;
    } else if (body.front() == '[') {
        parsed.kind = LineKind::section;
        const auto close = body.find(']');
        parsed.name = body.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1);
    } else if (const auto equals = line.find('='); equals != std::string_view::npos) {
        parsed.kind = LineKind::key;
        parsed.name = line.substr(0, equals);
        parsed.equalsEnd = equals + 1;
        const auto valueStart = line.find_first_not_of(kBlanks, equals + 1);
        parsed.valueOffset = valueStart == std::string_view::npos ? line.size() : valueStart;
        parsed.value = line.substr(parsed.valueOffset);
    }
    return parsed;
}

// Where the key stands, or where it would go.
struct KeyPlace {
    bool sectionFound = false;
    bool keyFound = false;
    std::size_t valueBegin = 0;  // key found: the stored value's range in the text
    std::size_t valueEnd = 0;
    std::size_t equalsEnd = 0;   // key found: just past its "=" in the text
    std::string value;           // key found: trimmed and unquoted
    Line lastFilledLine{};       // section found: its last non-blank line (at least its header)
};

KeyPlace locate(std::string_view text, const std::vector<Line>& lines, std::string_view section,
                std::string_view key)
{
    KeyPlace place;
    bool inSection = false;
    for (const Line& line : lines) {
        const std::string_view lineText = text.substr(line.begin, line.contentEnd - line.begin);
        const ParsedLine parsed = parseLine(lineText);
        if (parsed.kind == LineKind::section) {
            if (place.sectionFound)
                break;  // only the first matching section counts
            inSection = sameName(parsed.name, section);
            place.sectionFound = inSection;
        }
        if (!inSection)
            continue;
        if (parsed.kind != LineKind::blank)
            place.lastFilledLine = line;
        if (parsed.kind == LineKind::key && sameName(parsed.name, key)) {
            place.keyFound = true;
            place.valueBegin = line.begin + parsed.valueOffset;
            place.valueEnd = line.contentEnd;
            place.equalsEnd = line.begin + parsed.equalsEnd;
            place.value = unquoted(trimmed(parsed.value));
            break;
        }
    }
    return place;
}

// The line ending the file already uses (its first one), LF for a file without one.
std::string_view lineEndingOf(std::string_view text, const std::vector<Line>& lines)
{
    for (const Line& line : lines) {
        if (line.next > line.contentEnd)
            return text.substr(line.contentEnd, line.next - line.contentEnd);
    }
    return "\n";
}

bool endsWithLineBreak(std::string_view text)
{
    return !text.empty() && (text.back() == '\n' || text.back() == '\r');
}

}  // namespace

std::optional<std::string> findProfileValue(std::string_view text, std::string_view section,
                                            std::string_view key)
{
    const KeyPlace place = locate(text, splitLines(text), section, key);
    if (!place.keyFound)
        return std::nullopt;
    return place.value;
}

std::optional<std::string> withProfileValue(std::string_view text, std::string_view section,
                                            std::string_view key, std::string_view value)
{
    const std::vector<Line> lines = splitLines(text);
    const KeyPlace place = locate(text, lines, section, key);
    const std::string_view eol = lineEndingOf(text, lines);
    std::string result(text);

    if (place.keyFound) {
        if (place.value == value)
            return std::nullopt;
        // A value that starts with blanks takes the place of the old blanks too, or
        // every save of it would add to them.
        const bool leadingBlank = !value.empty() && kBlanks.find(value.front()) != std::string_view::npos;
        const std::size_t begin = leadingBlank ? place.equalsEnd : place.valueBegin;
        result.replace(begin, place.valueEnd - begin, value);
        return result;
    }

    const std::string keyLine = std::string(trimmed(key)) + "=" + std::string(value) + std::string(eol);
    if (place.sectionFound) {
        const Line& after = place.lastFilledLine;
        const bool unterminated = after.next == after.contentEnd;
        result.insert(after.next, (unterminated ? std::string(eol) : std::string()) + keyLine);
        return result;
    }

    if (!text.empty() && !endsWithLineBreak(text))
        result += eol;
    result.append("[").append(trimmed(section)).append("]").append(eol).append(keyLine);
    return result;
}

bool isStorableProfileEntry(std::string_view section, std::string_view key, std::string_view value)
{
    const auto breaksLine = [](std::string_view text) {
        return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
    };
    if (breaksLine(section) || breaksLine(key) || breaksLine(value))
        return false;
    const std::string_view sectionName = trimmed(section);
    const std::string_view keyName = trimmed(key);
    return !sectionName.empty() && sectionName.find(']') == std::string_view::npos && !keyName.empty()
           && keyName.find('=') == std::string_view::npos && keyName.front() != ';' && keyName.front() != '[';
}

}  // namespace quorlin
