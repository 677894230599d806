#include "platform/linux/ini_profile_store.h"

#include "platform/linux/profile_file.h"

namespace quorlin {

std::string IniProfileStore::read(std::string_view section, std::string_view key, std::string_view defaultValue,
                                  const std::string& path)
{
    return readProfileString(section, key, defaultValue, path);
}

ProfileWrite IniProfileStore::write(std::string_view section, std::string_view key, std::string_view value,
                                    const std::string& path)
{
    return writeProfileString(section, key, value, path);
}

ProfileStore& systemProfileStore()
{
    static IniProfileStore store;
    return store;
}

}  // namespace quorlin
