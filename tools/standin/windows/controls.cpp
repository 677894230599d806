#include "controls.h"

#include <cstdint>
#include <cwchar>

namespace quorlin::standin::win {
namespace {

constexpr const wchar_t* kPipePrefix = L"\\\\.\\pipe";
constexpr const wchar_t* kInterfaceName = L"\\vid_5046&pid_5631&mi_";
constexpr std::uint32_t kFnvOffset = 2166136261u;
constexpr std::uint32_t kFnvPrime = 16777619u;

// Win32 error codes (winerror.h), so that this file needs no Windows header.
constexpr unsigned long kErrorFileNotFound = 2;
constexpr unsigned long kErrorAccessDenied = 5;
constexpr unsigned long kErrorSharingViolation = 32;
constexpr unsigned long kErrorGenFailure = 31;
constexpr unsigned long kErrorDeviceNotConnected = 1167;

}  // namespace

std::string openErrorOf(const std::optional<std::string>& text, int index)
{
    // Any word but "0" injects an error: those win32ErrorFor does not know fail generally.
    return standin::openErrorOf(text, index, [](const std::string& word) { return word != "0"; });
}

unsigned long win32ErrorFor(const std::string& errnoText)
{
    if (errnoText == "EACCES" || errnoText == "EPERM" || errnoText == "13" || errnoText == "1")
        return kErrorAccessDenied;
    if (errnoText == "EBUSY" || errnoText == "16")
        return kErrorSharingViolation;
    if (errnoText == "ENOENT" || errnoText == "2")
        return kErrorFileNotFound;
    if (errnoText == "ENODEV" || errnoText == "ENXIO" || errnoText == "19" || errnoText == "6")
        return kErrorDeviceNotConnected;
    return kErrorGenFailure;
}

std::wstring channelOf(const std::wstring& controlDir)
{
    std::uint32_t hash = kFnvOffset;
    for (const wchar_t c : controlDir) {
        hash = (hash ^ (static_cast<std::uint32_t>(c) & 0xFF)) * kFnvPrime;
        hash = (hash ^ (static_cast<std::uint32_t>(c) >> 8)) * kFnvPrime;
    }
    wchar_t digits[12];
    std::swprintf(digits, 12, L"%08x", static_cast<unsigned>(hash));
    return std::wstring(L"quorlin-standin-") + digits;
}

std::wstring interfacePath(const std::wstring& channel, int index)
{
    wchar_t digits[8];
    std::swprintf(digits, 8, L"%02x", static_cast<unsigned>(index));
    return std::wstring(kPipePrefix) + L"\\" + channel + kInterfaceName + digits;
}

int interfaceOf(const std::wstring& channel, const std::wstring& pathOrName)
{
    std::wstring name = pathOrName;
    const std::wstring prefix = kPipePrefix;
    if (name.compare(0, prefix.size(), prefix) == 0)
        name.erase(0, prefix.size());
    const std::wstring head = L"\\" + channel + kInterfaceName;
    if (name.size() != head.size() + 2 || name.compare(0, head.size(), head) != 0)
        return -1;
    int index = 0;
    for (const wchar_t c : name.substr(head.size())) {
        int digit;
        if (c >= L'0' && c <= L'9')
            digit = c - L'0';
        else if (c >= L'a' && c <= L'f')
            digit = c - L'a' + 10;
        else
            return -1;
        index = index * 16 + digit;
    }
    return index < kMaxInterfaces ? index : -1;
}

}  // namespace quorlin::standin::win
