#pragma once
// One key of a private profile (INI) file, read and written with the Windows
// semantics the program's language setting relies on.

#include "platform/linux/profile_io.h"
#include "platform/profile_store.h"

#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>

namespace quorlin {

// Standard error: where the profile functions say why a file was passed over or
// not written, one line each time.
std::ostream& profileWarnings();

// The program names its files Windows-style (".\\Language.ini"): backslashes become
// slashes and a leading ".\\" is dropped, so the name resolves against the current
// directory. Other paths keep their meaning.
std::string nativePath(std::string_view windowsPath);

// The value of `key` in `section` of the file at `path` (a Windows-style name, see
// nativePath): trimmed, unquoted, cut at a NUL byte and to kProfileValueLimit
// bytes. An empty value gives the empty text; `defaultValue` (cut the same way)
// stands in when the file is missing or holds no such section or key. A file that
// is not a regular one, is larger than kProfileFileLimit or cannot be read is
// treated as missing, and one line on `warnings` says so.
std::string readProfileString(std::string_view section, std::string_view key, std::string_view defaultValue,
                              const std::string& path, ProfileIo& io = systemProfileIo(),
                              std::ostream& warnings = profileWarnings());

// ProfileWrite::notWritten: one line on `warnings` said why (except for names and
// values the file cannot hold).

// Stores `value` as `key` in `section`, creating the file, the section or the key
// as needed and keeping every other byte of the file. A symbolic link is written
// through (the link stays). The file is replaced whole through a temporary file
// beside it, keeping its permission bits; when its folder cannot be written, it is
// rewritten in place. Temporary files of earlier writers that are gone are removed
// first. Nothing is written when the file is read-only (no write permission bit, or
// none for this user), is not a regular file, is larger than kProfileFileLimit or
// cannot be read, or when a name or the value would break the file's lines (see
// isStorableProfileEntry); any failure leaves the old bytes.
ProfileWrite writeProfileString(std::string_view section, std::string_view key, std::string_view value,
                                const std::string& path, ProfileIo& io = systemProfileIo(),
                                std::ostream& warnings = profileWarnings());

}  // namespace quorlin
