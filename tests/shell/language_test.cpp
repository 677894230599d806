#include "shell/language.h"

#include "shell/language_strings.h"
#include "shell/whole_data.h"
#include "support/fake_process_list.h"
#include "support/memory_profile_store.h"

#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <string>
#include <thread>
#include <vector>

namespace quorlin {
namespace {

using Strings = std::vector<std::string>;

const Strings english(englishStrings().begin(), englishStrings().end());
const Strings japanese(japaneseStrings().begin(), japaneseStrings().end());

TEST(LanguageValue, SplitsIntoEntriesOfANameAndAFlagReadAsAtoiWouldButClamped)
{
    EXPECT_EQ(CWholeData::splitText(";;English,1;;;Japanese,0;", ";"), (Strings{"English,1", "Japanese,0"}));
    EXPECT_EQ(CWholeData::splitText("  English , 1 \t;\tJapanese,0  ", ";"), (Strings{"English , 1", "Japanese,0"}));
    EXPECT_EQ(CWholeData::splitText(";;;", ";"), Strings{});
    for (const auto& [text, name, flag] : {std::tuple{"English, \t1", "English", 1}, {"English ,1", "English ", 1},
             {"English,1,0", "English", 1}, {"English,+1", "English", 1}, {"English,x1", "English", 0},
             {"English,-7", "English", -7}, {"1", "", 1}, {"Japanese", "", 0}, {"E,2147483647", "E", INT_MAX},
             {"E,-2147483648", "E", INT_MIN}, {"E,99999999999999999999999", "E", INT_MAX}, {"E,  -", "E", 0},
             {"E,-99999999999999999999999", "E", INT_MIN}}) {
        const LanguageEntry entry = parseLanguageEntry(text);
        EXPECT_EQ(std::pair(entry.name, entry.flag), std::pair(std::string(name), flag)) << text;
    }
}

// A data object whose ".\Language.ini" lives in a profile store in memory; the
// stores themselves have their own suites.
class LanguageFile : public ::testing::Test {
protected:
    void writeIni(const std::string& text) { profiles.files[CWholeData::kDefaultIniPath] = text; }
    std::string iniText() const { return profiles.files.at(CWholeData::kDefaultIniPath); }
    Strings table() const { return *data.languageTable.snapshot(); }

    test::FakeProcessList processes;
    test::MemoryProfileStore profiles;
    CWholeData data{processes, profiles};
};

TEST_F(LanguageFile, FirstEntryFlaggedOneSelectsTheLanguageAndNoneLeavesTheTable)
{
    writeIni("[Type]\nOther=English,1;\n");
    data.loadLanguageSetting();
    EXPECT_EQ(data.languageType, "0") << "no key";
    EXPECT_TRUE(data.languageTable.empty());

    // The first flagged entry wins; nothing flagged leaves the table; only a flag of exactly 1 selects; a blank
    // entry hides those after it; cut to 99 characters the flag reads 1; an unknown (case-sensitive) name loads
    // empty texts.
    const std::pair<std::string, Strings> cases[] = {
        {"English,1;Japanese,0;", english}, {";;Japanese, 1;;English,1;", japanese},
        {"English,0;Japanese,0;", japanese}, {"Japanese,2;English,1,extra;", english},
        {"English,0; ;Japanese,1;", english}, {std::string(89, ';') + "Japanese,10", japanese},
        {"english,1;", Strings(9)}};
    for (const auto& [value, expected] : cases) {
        writeIni("[Type]\r\nMyType=" + value + "\r\n");
        data.loadLanguageSetting();
        EXPECT_EQ(data.languageType, value.substr(0, 99));
        EXPECT_EQ(table(), expected) << value;
    }
}

TEST_F(LanguageFile, ReaderOnAnotherThreadSeesWholeTablesOnly)
{
    std::atomic<bool> stop{false};
    std::atomic<int> torn{0}, reads{0};
    std::thread reader([&] {
        for (; !stop; ++reads)
            if (const auto table = data.languageTable.snapshot(); !table->empty() && *table != english && *table != japanese)
                ++torn;
    });
    for (int i = 0; i < 2000 || reads < 100; ++i)
        data.loadLanguage(i % 2 ? "English" : "Japanese");
    stop = true;
    reader.join();
    EXPECT_EQ(torn, 0);
}

}  // namespace
}  // namespace quorlin
