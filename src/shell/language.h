#pragma once
// One entry of the language setting ("name,flag"), as the start-up load and the
// window's language list both read it.

#include <string>
#include <string_view>

namespace quorlin {

// The languages the program speaks, as a language setting selecting English; the
// language list offers them while the setting selects none.
inline constexpr const char* kBuiltInLanguages = "English,1;Japanese,0;";

struct LanguageEntry {
    std::string name;  // the text before the first ","; empty when there is none
    int flag = 0;      // 1 marks the language in use
};

// Splits an entry at its first ",": the name before it, the flag read from the text
// after it (the whole entry when there is no ","). Never fails.
LanguageEntry parseLanguageEntry(const std::string& entry);

// The leading decimal number of `text` as atoi reads it: leading whitespace, an
// optional sign, then digits up to the first non-digit. No digits give 0; numbers
// beyond the int range are clamped to it.
int leadingNumber(std::string_view text);

}  // namespace quorlin
