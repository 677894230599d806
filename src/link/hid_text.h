#pragma once
// hidapi's wide strings (serial numbers, failure texts) as UTF-8. wchar_t holds
// UTF-32 on Linux and UTF-16 on Windows.

#include <string>

namespace quorlin {

// Empty for nullptr. Whatever is no code point (an unpaired surrogate, a value past
// U+10FFFF) becomes '?'.
std::string hidTextToUtf8(const wchar_t* text);

}  // namespace quorlin
