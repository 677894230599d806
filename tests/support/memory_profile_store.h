#pragma once
// A profile store holding its files in memory, read and edited with the same INI
// rules as the files on disk (platform/profile_text.h).

#include "platform/profile_store.h"
#include "platform/profile_text.h"

#include <map>
#include <string>

namespace quorlin::test {

class MemoryProfileStore final : public ProfileStore {
public:
    std::string read(std::string_view section, std::string_view key, std::string_view defaultValue,
                     const std::string& path) override
    {
        const auto file = files.find(path);
        std::optional<std::string> value;
        if (file != files.end())
            value = findProfileValue(file->second, section, key);
        const std::string_view found = value ? std::string_view(*value) : defaultValue;
        return std::string(found.substr(0, std::min(found.find('\0'), kProfileValueLimit)));
    }

    ProfileWrite write(std::string_view section, std::string_view key, std::string_view value,
                       const std::string& path) override
    {
        if (!isStorableProfileEntry(section, key, value))
            return ProfileWrite::notWritten;
        const auto edited = withProfileValue(files[path], section, key, value);
        if (!edited)
            return ProfileWrite::alreadyStored;
        files[path] = *edited;
        return ProfileWrite::written;
    }

    std::map<std::string, std::string> files;  // path as the program names it → text
};

}  // namespace quorlin::test
