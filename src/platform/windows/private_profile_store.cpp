#include "platform/windows/private_profile_store.h"

#include "platform/profile_text.h"
#include "platform/windows/wide_text.h"

#include <windows.h>

#include <optional>
#include <vector>

namespace quorlin {
namespace {

// A zero byte would end the text the call sees: such a text cannot be passed whole.
std::optional<std::string> asCallText(std::string_view text)
{
    if (text.find('\0') != std::string_view::npos)
        return std::nullopt;
    return std::string(text);
}

std::optional<std::string> ansiPath(const std::string& path)
{
    if (path.empty() || path.find('\0') != std::string::npos)
        return std::nullopt;
    return toAnsiCodePage(path);
}

// The stored value read through a buffer of `bufferSize` bytes, or `fallback`.
std::string readWith(const std::string& section, const std::string& key, const std::string& fallback,
                     const std::string& file, std::size_t bufferSize)
{
    std::vector<char> buffer(bufferSize, '\0');
    const DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback.c_str(), buffer.data(),
                                                  static_cast<DWORD>(buffer.size()), file.c_str());
    return std::string(buffer.data(), length < buffer.size() ? length : buffer.size() - 1);
}

// Windows refuses to open a read-only file for writing; Wine run by root opens it
// anyway. Asking first keeps the user's read-only choice on every host.
bool isReadOnlyFile(const std::string& path)
{
    const DWORD attributes = GetFileAttributesW(widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0
           && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// Large enough for any value the program writes, so that a long value is compared whole.
constexpr std::size_t kCompareBufferSize = 32 * 1024;

}  // namespace

std::string PrivateProfileStore::read(std::string_view section, std::string_view key, std::string_view defaultValue,
                                      const std::string& path)
{
    const std::string shortDefault(defaultValue.substr(0, std::min(defaultValue.find('\0'), kProfileValueLimit)));
    const auto file = ansiPath(path);
    const auto sectionText = asCallText(section);
    const auto keyText = asCallText(key);
    if (!file || !sectionText || !keyText)
        return shortDefault;
    return readWith(*sectionText, *keyText, shortDefault, *file, kProfileValueLimit + 1);
}

ProfileWrite PrivateProfileStore::write(std::string_view section, std::string_view key, std::string_view value,
                                        const std::string& path)
{
    const auto file = ansiPath(path);
    if (!file || !isStorableProfileEntry(section, key, value))
        return ProfileWrite::notWritten;
    const std::string sectionText(section);
    const std::string keyText(key);
    const std::string valueText(value);
    // Two reads with different stand-ins: only a stored value can equal both.
    if (readWith(sectionText, keyText, "", *file, kCompareBufferSize) == valueText
        && readWith(sectionText, keyText, "-", *file, kCompareBufferSize) == valueText)
        return ProfileWrite::alreadyStored;
    if (isReadOnlyFile(path))
        return ProfileWrite::notWritten;
    if (!WritePrivateProfileStringA(sectionText.c_str(), keyText.c_str(), valueText.c_str(), file->c_str()))
        return ProfileWrite::notWritten;
    return ProfileWrite::written;
}

ProfileStore& systemProfileStore()
{
    static PrivateProfileStore store;
    return store;
}

}  // namespace quorlin
