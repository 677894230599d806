#include "platform/profile_file.h"

#include "platform/profile_text.h"

#include <algorithm>
#include <atomic>
#include <optional>
#include <unistd.h>

namespace quorlin {
namespace {

std::string asReturnedValue(std::string_view value)
{
    value = value.substr(0, value.find('\0'));
    return std::string(value.substr(0, kProfileValueLimit));
}

// A name beside the target that no other writer of this process or another one uses.
std::string temporaryNameFor(const std::string& target)
{
    static std::atomic<unsigned> counter{0};
    return target + ".tmp." + std::to_string(::getpid()) + "." + std::to_string(counter.fetch_add(1));
}

}  // namespace

std::string nativePath(std::string_view windowsPath)
{
    std::string path(windowsPath);
    std::replace(path.begin(), path.end(), '\\', '/');
    if (path.starts_with("./")) {
        const auto rest = path.find_first_not_of('/', 2);
        path.erase(0, rest == std::string::npos ? path.size() : rest);
    }
    return path;
}

std::string readProfileString(std::string_view section, std::string_view key, std::string_view defaultValue,
                              const std::string& path, ProfileIo& io)
{
    const ProfileFileRead file = io.readFile(nativePath(path));
    if (file.status == ProfileFileRead::Status::ok) {
        if (const auto value = findProfileValue(file.bytes, section, key))
            return asReturnedValue(*value);
    }
    return asReturnedValue(defaultValue);
}

void writeProfileString(std::string_view section, std::string_view key, std::string_view value,
                        const std::string& path, ProfileIo& io)
{
    if (!isStorableProfileEntry(section, key, value))
        return;
    const std::string target = nativePath(path);
    if (target.empty() || target.back() == '/')
        return;

    const ProfileFileRead file = io.readFile(target);
    std::optional<std::string> content;
    std::optional<unsigned> permissions;
    switch (file.status) {
    case ProfileFileRead::Status::failed:
        return;  // never replace a file whose content we could not see
    case ProfileFileRead::Status::missing:
        content = withProfileValue("", section, key, value);
        break;
    case ProfileFileRead::Status::ok:
        content = withProfileValue(file.bytes, section, key, value);
        if (!content)
            return;  // already stored: leave the file alone
        permissions = io.permissions(target);
        if (!permissions)
            return;
        break;
    }

    const std::string temporary = temporaryNameFor(target);
    if (!io.writeNewFile(temporary, *content, permissions))
        return;
    if (!io.rename(temporary, target))
        io.remove(temporary);
}

}  // namespace quorlin
