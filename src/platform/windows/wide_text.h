#pragma once
// The core speaks UTF-8; Win32's wide calls speak UTF-16. These two cross the edge.

#include <optional>
#include <string>
#include <string_view>

namespace quorlin {

// UTF-8 to UTF-16. A byte that is not part of valid UTF-8 becomes U+FFFD.
std::wstring widen(std::string_view utf8);

// UTF-16 to UTF-8. An unpaired surrogate becomes U+FFFD.
std::string narrow(std::wstring_view utf16);

// The same text in the system's ANSI code page, for the calls that only come in an
// "A" form; nothing when a character has no form there (the call could not name
// it, and a best-fit stand-in could name another file).
std::optional<std::string> toAnsiCodePage(std::string_view utf8);

}  // namespace quorlin
