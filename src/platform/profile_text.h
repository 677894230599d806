#pragma once
// Reading and editing one key of INI text in memory, the way the Windows private
// profile functions see the file: section and key names compared case-blind and
// trimmed, `key=value` lines split at the first "=", values trimmed and unquoted,
// ";" comment lines, lines ending in LF, CR or CRLF, the first matching section and
// the first matching key in it.

#include <optional>
#include <string>
#include <string_view>

namespace quorlin {

// The stored value of `key` in `section`, in full; nothing when the section or the
// key is absent. A key line without "=" is not a key line.
std::optional<std::string> findProfileValue(std::string_view text, std::string_view section,
                                            std::string_view key);

// `text` with `key` in `section` set to `value`, every other byte kept: the key's
// own line is changed (its line ending kept), or the key is added after the last
// non-blank line of the section, or the section and the key are added at the end.
// Nothing when the key already holds `value` (no change is needed).
std::optional<std::string> withProfileValue(std::string_view text, std::string_view section,
                                            std::string_view key, std::string_view value);

// False for names and values that would break the file's line structure or could
// not be found again: line breaks anywhere, an empty or blank section or key, "]"
// in a section, "=" in a key, or a key that reads as a comment or a section.
bool isStorableProfileEntry(std::string_view section, std::string_view key, std::string_view value);

}  // namespace quorlin
