// The interface language: the "MyType" value of the language file and the table of
// the chosen language's strings.

#include "shell/language.h"

#include "platform/profile_store.h"
#include "platform/ascii_text.h"
#include "shell/language_strings.h"
#include "shell/whole_data.h"

#include <climits>

namespace quorlin {
namespace {

constexpr const char* kSection = "Type";
constexpr const char* kKey = "MyType";
constexpr const char* kNothingSelected = "0";
constexpr std::string_view kWhitespace = " \t\n\v\f\r";

std::string_view trimmedWhitespace(std::string_view text)
{
    return trimmed(text, kWhitespace);
}

}  // namespace

int leadingNumber(std::string_view text)
{
    std::size_t pos = text.find_first_not_of(kWhitespace);
    if (pos == std::string_view::npos)
        return 0;
    bool negative = false;
    if (text[pos] == '+' || text[pos] == '-') {
        negative = text[pos] == '-';
        ++pos;
    }
    // Magnitude up to one past INT_MAX, enough for INT_MIN; anything more is clamped.
    constexpr long long kLimit = static_cast<long long>(INT_MAX) + 1;
    long long magnitude = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        magnitude = magnitude * 10 + (text[pos] - '0');
        if (magnitude > kLimit)
            magnitude = kLimit;
    }
    if (negative)
        return static_cast<int>(-magnitude);
    return magnitude > INT_MAX ? INT_MAX : static_cast<int>(magnitude);
}

LanguageEntry parseLanguageEntry(const std::string& entry)
{
    const auto comma = entry.find(',');
    if (comma == std::string::npos)
        return {std::string(), leadingNumber(entry)};
    return {entry.substr(0, comma), leadingNumber(std::string_view(entry).substr(comma + 1))};
}

std::vector<std::string> CWholeData::splitText(std::string text, std::string delimiters)
{
    std::vector<std::string> tokens;
    std::size_t pos = 0;
    for (;;) {
        const auto begin = text.find_first_not_of(delimiters, pos);
        if (begin == std::string::npos)
            break;
        const auto end = text.find_first_of(delimiters, begin);
        const std::string_view token =
            trimmedWhitespace(std::string_view(text).substr(begin, end == std::string::npos ? end : end - begin));
        if (token.empty())
            break;  // a blank entry ends the list
        tokens.emplace_back(token);
        if (end == std::string::npos)
            break;
        pos = end + 1;
    }
    return tokens;
}

void CWholeData::loadLanguageSetting()
{
    languageType = profiles_.read(kSection, kKey, kNothingSelected, iniPath);
    for (const std::string& text : splitText(languageType, ";")) {
        const LanguageEntry entry = parseLanguageEntry(text);
        if (entry.flag == 1) {
            loadLanguage(entry.name);
            return;
        }
    }
}

void CWholeData::loadLanguage(std::string name)
{
    LanguageTable::Strings strings(kLanguageStringCount);
    const LanguageStrings* column = name == "Japanese"  ? &japaneseStrings()
                                    : name == "English" ? &englishStrings()
                                                        : nullptr;
    if (column != nullptr)
        strings.assign(column->begin(), column->end());
    // Replaced in one step: the link worker may be reading the status texts.
    languageTable.replace(std::move(strings));
}

void CWholeData::saveLanguageType(std::string value)
{
    profiles_.write(kSection, kKey, value, iniPath);
}

}  // namespace quorlin
