// The language value as the start-up load and the language list read and rebuild
// it: tokens are trimmed and non-empty, a rebuilt value lists the same names, and
// a flag reads as atoi would read it.
#include "shell/language.h"
#include "shell/whole_data.h"

#include "no_processes.h"
#include "platform/profile_store.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cctype>
#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace quorlin;

std::vector<std::string> namesOf(const std::string& value)
{
    std::vector<std::string> names;
    for (const std::string& token : CWholeData::splitText(value, ";")) {
        if (token.empty() || std::isspace(static_cast<unsigned char>(token.front()))
            || std::isspace(static_cast<unsigned char>(token.back())) || token.find(';') != std::string::npos)
            std::abort();
        names.push_back(parseLanguageEntry(token).name);
    }
    return names;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const std::size_t selected = input.ConsumeIntegral<std::uint8_t>();
    const std::string value = input.ConsumeRemainingBytesAsString();

    // The flag, against the C library's own reading (clamped to int as the
    // program's reader clamps).
    const std::string text = value.substr(0, value.find('\0'));
    const long parsed = std::strtol(text.c_str(), nullptr, 10);
    const long clamped = parsed > INT_MAX ? INT_MAX : parsed < INT_MIN ? INT_MIN : parsed;
    if (leadingNumber(text) != clamped)
        std::abort();

    // The list rebuilds into a value with the same names, one of them flagged.
    const std::vector<std::string> names = namesOf(value);
    std::string rebuilt;
    for (std::size_t i = 0; i < names.size(); ++i)
        rebuilt += names[i] + (i == selected ? ",1;" : ",0;");
    if (namesOf(rebuilt) != names)
        std::abort();

    NoProcesses processes;
    CWholeData whole(processes, quorlin::systemProfileStore());
    for (const std::string& name : names) {
        whole.loadLanguage(name);
        if (whole.languageTable.size() != 9)
            std::abort();
    }
    return 0;
}
