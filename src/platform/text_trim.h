#pragma once
// Cutting blanks off both ends of a text, for the profile store and the language rules;
// each says which characters count as blanks for it.

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

}  // namespace quorlin
