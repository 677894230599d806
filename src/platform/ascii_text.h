#pragma once
// Plain-text rules shared by the profile store, the language rules, the language list
// and the skin reader: cutting blanks off both ends (each says which characters count
// as blanks for it) and comparing without regard to the case of ASCII letters.

#include <algorithm>
#include <string_view>

namespace quorlin {

// `text` without the characters of `blanks` at either end; empty when nothing else is left.
inline std::string_view trimmed(std::string_view text, std::string_view blanks)
{
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

inline char asciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Below 0, 0 or above 0 as `a` sorts before, with or after `b`, byte by byte with ASCII
// letters taken in lower case.
inline int compareIgnoringCase(std::string_view a, std::string_view b)
{
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const auto x = static_cast<unsigned char>(asciiLower(a[i]));
        const auto y = static_cast<unsigned char>(asciiLower(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

}  // namespace quorlin
