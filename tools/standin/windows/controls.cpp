#include "controls.h"

#include <cctype>
#include <cstdlib>
#include <cwchar>
#include <sstream>

namespace quorlin::standin::win {
namespace {

constexpr const wchar_t* kPipePrefix = L"\\\\.\\pipe";
constexpr const wchar_t* kInterfaceName = L"\\vid_5046&pid_5631&mi_";
constexpr std::uint32_t kFnvOffset = 2166136261u;
constexpr std::uint32_t kFnvPrime = 16777619u;
constexpr std::size_t kMaxSerial = 126;

// Win32 error codes (winerror.h), so that this file needs no Windows header.
constexpr unsigned long kErrorFileNotFound = 2;
constexpr unsigned long kErrorAccessDenied = 5;
constexpr unsigned long kErrorSharingViolation = 32;
constexpr unsigned long kErrorGenFailure = 31;
constexpr unsigned long kErrorDeviceNotConnected = 1167;

std::vector<std::string> words(const std::optional<std::string>& text)
{
    std::vector<std::string> list;
    if (!text)
        return list;
    std::istringstream in(*text);
    for (std::string word; in >> word;)
        list.push_back(word);
    return list;
}

std::optional<long long> number(const std::string& word, long long low, long long high)
{
    if (word.empty() || word.size() > 12 || word.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const long long value = std::atoll(word.c_str());
    if (value < low || value > high)
        return std::nullopt;
    return value;
}

}  // namespace

Presence parsePresence(const std::optional<std::string>& text)
{
    Presence state;
    const auto list = words(text);
    if (!list.empty() && (list[0] == "0" || list[0] == "1"))
        state.plugged = list[0] == "1";
    if (list.size() > 1)
        state.generation = static_cast<std::uint64_t>(number(list[1], 0, 999999999999LL).value_or(0));
    return state;
}

int parseInterfaces(const std::optional<std::string>& text)
{
    const auto list = words(text);
    if (list.empty())
        return kDefaultInterfaces;
    return static_cast<int>(number(list[0], 0, kMaxInterfaces).value_or(kDefaultInterfaces));
}

std::wstring parseSerial(const std::optional<std::string>& text)
{
    const auto list = words(text);
    if (list.empty())
        return kDefaultSerial;
    std::wstring wide;
    for (const char c : list[0].substr(0, kMaxSerial))
        wide += (c > ' ' && c < 0x7F) ? static_cast<wchar_t>(c) : L'?';
    return wide;
}

std::string openErrorOf(const std::optional<std::string>& text, int index)
{
    if (!text)
        return {};
    std::istringstream lines(*text);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream in(line);
        std::string which, error;
        if (!(in >> which >> error))
            continue;
        if (which != "*" && number(which, 0, kMaxInterfaces) != index)
            continue;
        if (error != "0")
            return error;
    }
    return {};
}

bool writeFails(const std::optional<std::string>& text, int index)
{
    for (const std::string& word : words(text)) {
        if (word == "all" || word == "*" || word == "on" || number(word, 0, kMaxInterfaces) == index)
            return true;
    }
    return false;
}

ReplyMode parseReply(const std::optional<std::string>& text)
{
    const auto list = words(text);
    if (list.empty())
        return ReplyMode::Normal;
    if (list[0] == "none")
        return ReplyMode::None;
    if (list[0] == "wrong")
        return ReplyMode::Wrong;
    if (list[0] == "short")
        return ReplyMode::Short;
    return ReplyMode::Normal;
}

SettingBytes parseSettings(const std::optional<std::string>& text)
{
    std::string digits;
    if (text) {
        for (const char c : *text) {
            if (std::isxdigit(static_cast<unsigned char>(c)))
                digits += c;
            else if (!std::isspace(static_cast<unsigned char>(c)))
                return defaultSettings;
        }
    }
    if (digits.size() != 2 * kSettingCount)
        return defaultSettings;
    SettingBytes bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(std::strtoul(digits.substr(2 * i, 2).c_str(), nullptr, 16));
    return bytes;
}

std::string formatSettings(const SettingBytes& settings)
{
    std::string text;
    for (const std::uint8_t byte : settings)
        text += hexBytes(&byte, 1) + " ";
    text.back() = '\n';
    return text;
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

std::string hexBytes(const unsigned char* data, std::size_t length)
{
    if (data == nullptr || length == 0)
        return "-";
    static const char digits[] = "0123456789abcdef";
    std::string text;
    text.reserve(length * 2);
    for (std::size_t i = 0; i < length; ++i) {
        text += digits[data[i] >> 4];
        text += digits[data[i] & 0x0F];
    }
    return text;
}

}  // namespace quorlin::standin::win
