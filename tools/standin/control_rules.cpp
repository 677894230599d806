#include "control_rules.h"

#include <cctype>
#include <cstdlib>
#include <sstream>
#include <vector>

namespace quorlin::standin {
namespace {

constexpr std::size_t kMaxNumberDigits = 12;
constexpr long long kMaxGeneration = 999999999999LL;
constexpr std::size_t kMaxSerial = 126;
constexpr const wchar_t* kDefaultSerial = L"SIM0001";

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

}  // namespace

std::optional<long long> parseNumber(const std::string& word, long long low, long long high)
{
    if (word.empty() || word.size() > kMaxNumberDigits || word.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const long long value = std::atoll(word.c_str());
    if (value < low || value > high)
        return std::nullopt;
    return value;
}

Presence parsePresence(const std::optional<std::string>& text)
{
    Presence state;
    const auto list = words(text);
    if (!list.empty())
        state.plugged = list[0] != "0";
    if (list.size() > 1)
        state.generation = static_cast<std::uint64_t>(parseNumber(list[1], 0, kMaxGeneration).value_or(0));
    return state;
}

int parseInterfaces(const std::optional<std::string>& text)
{
    const auto list = words(text);
    if (list.empty())
        return kDefaultInterfaces;
    return static_cast<int>(parseNumber(list[0], 0, kMaxInterfaces).value_or(kDefaultInterfaces));
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

std::string openErrorOf(const std::optional<std::string>& text, int index,
                        const std::function<bool(const std::string&)>& isError)
{
    if (!text)
        return {};
    std::istringstream lines(*text);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream in(line);
        std::string which, error;
        if (!(in >> which >> error))
            continue;
        if (which != "*" && parseNumber(which, 0, kMaxInterfaces) != index)
            continue;
        if (isError(error))
            return error;
    }
    return {};
}

bool writeFails(const std::optional<std::string>& text, int index)
{
    for (const std::string& word : words(text)) {
        if (word == "all" || word == "*" || word == "on" || parseNumber(word, 0, kMaxInterfaces) == index)
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

}  // namespace quorlin::standin
