#include "platform/linux/profile_file.h"

#include "platform/profile_text.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <iostream>
#include <optional>
#include <unistd.h>

namespace quorlin {
namespace {

using Status = ProfileFileRead::Status;

constexpr std::string_view kTemporaryMark = ".tmp.";

std::string asReturnedValue(std::string_view value)
{
    value = value.substr(0, value.find('\0'));
    return std::string(value.substr(0, kProfileValueLimit));
}

// A name beside the target that no other writer of this process or another one
// uses: <target>.tmp.<pid>.<n>.
std::string temporaryNameFor(const std::string& target)
{
    static std::atomic<unsigned> counter{0};
    return target + std::string(kTemporaryMark) + std::to_string(::getpid()) + "."
           + std::to_string(counter.fetch_add(1));
}

std::string folderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

std::string_view baseName(std::string_view path)
{
    const auto slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// The writer's pid when `name` is a temporary file of `base` as temporaryNameFor
// makes them.
std::optional<pid_t> temporaryWriter(std::string_view name, std::string_view base)
{
    if (!name.starts_with(base) || !name.substr(base.size()).starts_with(kTemporaryMark))
        return std::nullopt;
    name.remove_prefix(base.size() + kTemporaryMark.size());
    const auto dot = name.find('.');
    if (dot == std::string_view::npos)
        return std::nullopt;
    const std::string_view counter = name.substr(dot + 1);
    pid_t pid = 0;
    const auto parsed = std::from_chars(name.data(), name.data() + dot, pid);
    const bool digits = !counter.empty() && std::all_of(counter.begin(), counter.end(), [](char c) {
        return c >= '0' && c <= '9';
    });
    if (parsed.ec != std::errc() || parsed.ptr != name.data() + dot || pid <= 0 || !digits)
        return std::nullopt;
    return pid;
}

// A writer killed between creating its temporary file and the rename leaves it
// behind; nothing else would ever remove it.
void removeLeftovers(const std::string& target, ProfileIo& io)
{
    const std::string folder = folderOf(target);
    const std::string_view base = baseName(target);
    for (const std::string& name : io.folderEntries(folder)) {
        if (const auto pid = temporaryWriter(name, base); pid && !io.processExists(*pid))
            io.remove(folder + "/" + name);
    }
}

// Why a file that is there cannot be used, for the warning line; empty for a usable one.
std::string unusableReason(const ProfileFileRead& file, int error)
{
    switch (file.status) {
    case Status::notRegular:
        return "it is not a regular file";
    case Status::tooLarge:
        return "it is larger than 1 MiB";
    case Status::failed:
        return std::string("it cannot be read (") + std::strerror(error) + ")";
    case Status::ok:
    case Status::missing:
        break;
    }
    return {};
}

ProfileWrite notWritten(std::ostream& warnings, const std::string& path, const std::string& reason)
{
    warnings << "Quorlin: " << path << " not saved: " << reason << std::endl;
    return ProfileWrite::notWritten;
}

}  // namespace

std::ostream& profileWarnings()
{
    return std::cerr;
}

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
                              const std::string& path, ProfileIo& io, std::ostream& warnings)
{
    const std::string name = nativePath(path);
    const ProfileFileRead file = io.readFile(name);
    if (file.status == Status::ok) {
        if (const auto value = findProfileValue(file.bytes, section, key))
            return asReturnedValue(*value);
    } else if (const std::string reason = unusableReason(file, errno); !reason.empty()) {
        warnings << "Quorlin: " << name << " read as absent: " << reason
                 << (file.status == Status::tooLarge ? "; it is left untouched" : "") << std::endl;
    }
    return asReturnedValue(defaultValue);
}

ProfileWrite writeProfileString(std::string_view section, std::string_view key, std::string_view value,
                                const std::string& path, ProfileIo& io, std::ostream& warnings)
{
    const std::string name = nativePath(path);
    if (!isStorableProfileEntry(section, key, value) || name.empty() || name.back() == '/')
        return ProfileWrite::notWritten;
    // Through a link to the file it leads to, so that the link stays a link.
    const std::string target = io.resolveLinks(name);
    if (target.empty())
        return notWritten(warnings, name, std::string("its link cannot be followed (") + std::strerror(errno) + ")");

    const ProfileFileRead file = io.readFile(target);
    if (const std::string reason = unusableReason(file, errno); !reason.empty())
        return notWritten(warnings, name, reason);  // never replace what we could not see whole
    const bool exists = file.status == Status::ok;
    const std::optional<std::string> content = withProfileValue(exists ? file.bytes : "", section, key, value);
    if (exists && !content)
        return ProfileWrite::alreadyStored;
    if (exists && ((file.mode & 0222) == 0 || !io.canAccess(target, W_OK)))
        return notWritten(warnings, name, "it is read-only");

    removeLeftovers(target, io);
    if (exists && !io.canAccess(folderOf(target), W_OK | X_OK)) {
        if (!io.rewriteInPlace(target, file.bytes, *content))
            return notWritten(warnings, name, std::strerror(errno));
        return ProfileWrite::written;
    }
    const std::string temporary = temporaryNameFor(target);
    if (!io.writeNewFile(temporary, *content, exists, file.mode))
        return notWritten(warnings, name, std::strerror(errno));
    if (!io.rename(temporary, target)) {
        const int error = errno;
        io.remove(temporary);
        return notWritten(warnings, name, std::strerror(error));
    }
    return ProfileWrite::written;
}

}  // namespace quorlin
