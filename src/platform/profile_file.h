#pragma once
// One key of a private profile (INI) file, read and written with the Windows
// semantics the program's language setting relies on.

#include "platform/profile_io.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace quorlin {

// A value read from a profile keeps at most this many bytes (a 100-byte buffer).
inline constexpr std::size_t kProfileValueLimit = 99;

// The program names its files Windows-style (".\\Language.ini"): backslashes become
// slashes and a leading ".\\" is dropped, so the name resolves against the current
// directory. Other paths keep their meaning.
std::string nativePath(std::string_view windowsPath);

// The value of `key` in `section` of the file at `path` (a Windows-style name, see
// nativePath): trimmed, unquoted, cut at a NUL byte and to kProfileValueLimit
// bytes. An empty value gives the empty text; `defaultValue` (cut the same way)
// stands in when the file cannot be read or holds no such section or key.
std::string readProfileString(std::string_view section, std::string_view key, std::string_view defaultValue,
                              const std::string& path, ProfileIo& io = systemProfileIo());

// Stores `value` as `key` in `section`, creating the file, the section or the key
// as needed and keeping every other byte of the file. The file is replaced whole
// through a temporary file beside it, keeping its permission bits, and only when
// the stored value differs. Failures are silent and leave the file as it was: an
// unreadable or unwritable file, a missing folder, any I/O error, and names or
// values the file could not hold (line breaks, see isStorableProfileEntry).
void writeProfileString(std::string_view section, std::string_view key, std::string_view value,
                        const std::string& path, ProfileIo& io = systemProfileIo());

}  // namespace quorlin
