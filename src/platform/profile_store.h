#pragma once
// One key of a private profile (INI) file, with the semantics of the Windows
// profile functions the language setting is stored through: names compared
// case-blind, values trimmed and unquoted, at most kProfileValueLimit bytes read.

#include <cstddef>
#include <string>
#include <string_view>

namespace quorlin {

// A value read from a profile keeps at most this many bytes (a 100-byte buffer).
inline constexpr std::size_t kProfileValueLimit = 99;

enum class ProfileWrite {
    written,        // the file now holds the value
    alreadyStored,  // it held it already and was not touched
    notWritten,     // the file is as it was
};

class ProfileStore {
public:
    virtual ~ProfileStore() = default;
    // The value of `key` in `section` of the file at `path` (a Windows-style name
    // such as ".\\Language.ini"), or `defaultValue` when the file, the section or
    // the key is missing or the file cannot be read. Never fails.
    virtual std::string read(std::string_view section, std::string_view key, std::string_view defaultValue,
                             const std::string& path) = 0;
    // Stores `value` as `key` in `section`, keeping every other line of the file.
    virtual ProfileWrite write(std::string_view section, std::string_view key, std::string_view value,
                               const std::string& path) = 0;
};

// The system's store: the project's own INI module on Linux, the Windows profile
// API on Windows. One per program.
ProfileStore& systemProfileStore();

}  // namespace quorlin
