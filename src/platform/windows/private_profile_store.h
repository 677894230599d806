#pragma once
// The language setting's store on Windows: the system's own private profile
// functions (GetPrivateProfileStringA / WritePrivateProfileStringA), which the
// project's INI module on Linux imitates.

#include "platform/profile_store.h"

namespace quorlin {

class PrivateProfileStore final : public ProfileStore {
public:
    // At most kProfileValueLimit bytes, as a 100-byte buffer holds. A path the ANSI
    // call cannot name (a character outside the system's code page) reads as a
    // missing file.
    std::string read(std::string_view section, std::string_view key, std::string_view defaultValue,
                     const std::string& path) override;
    // Reads first: a file that holds the value already is not touched. Names and
    // values that would break the file's lines (isStorableProfileEntry) and paths
    // the ANSI call cannot name are not written, nor is a read-only file.
    ProfileWrite write(std::string_view section, std::string_view key, std::string_view value,
                       const std::string& path) override;
};

}  // namespace quorlin
