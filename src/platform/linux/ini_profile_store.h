#pragma once
// The language setting's store on Linux: the project's own INI module
// (profile_file.h), which reads and writes as the Windows profile functions do.

#include "platform/profile_store.h"

namespace quorlin {

class IniProfileStore final : public ProfileStore {
public:
    std::string read(std::string_view section, std::string_view key, std::string_view defaultValue,
                     const std::string& path) override;
    ProfileWrite write(std::string_view section, std::string_view key, std::string_view value,
                       const std::string& path) override;
};

}  // namespace quorlin
