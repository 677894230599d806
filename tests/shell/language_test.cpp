#include "shell/language.h"

#include "shell/language_strings.h"
#include "shell/whole_data.h"
#include "support/fake_process_list.h"

#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <tuple>

namespace quorlin {
namespace {

namespace fs = std::filesystem;

using Strings = std::vector<std::string>;

const Strings english(englishStrings().begin(), englishStrings().end());
const Strings japanese(japaneseStrings().begin(), japaneseStrings().end());

TEST(LanguageValue, SplitsIntoEntriesOfANameAndAFlagReadAsAtoiWouldButClamped)
{
    EXPECT_EQ(CWholeData::splitText(";;English,1;;;Japanese,0;", ";"), (Strings{"English,1", "Japanese,0"}));
    EXPECT_EQ(CWholeData::splitText("  English , 1 \t;\tJapanese,0  ", ";"), (Strings{"English , 1", "Japanese,0"}));
    EXPECT_EQ(CWholeData::splitText("English,0; ;Japanese,1", ";"), (Strings{"English,0"}));
    EXPECT_EQ(CWholeData::splitText(";;;", ";"), Strings{});

    for (const auto& [text, name, flag] : {std::tuple{"English, \t1", "English", 1}, {"English ,1", "English ", 1},
                                           {"English,1,0", "English", 1}, {"English,+1", "English", 1},
                                           {"English,x1", "English", 0}, {"English,-7", "English", -7},
                                           {"1", "", 1}, {"Japanese", "", 0}}) {
        const LanguageEntry entry = parseLanguageEntry(text);
        EXPECT_EQ(entry.name, name) << text;
        EXPECT_EQ(entry.flag, flag) << text;
    }
    for (const auto& [text, number] : {std::pair{"2147483647", INT_MAX}, {"-2147483648", INT_MIN},
                                       {"99999999999999999999999", INT_MAX}, {"-99999999999999999999999", INT_MIN},
                                       {"  -", 0}})
        EXPECT_EQ(leadingNumber(text), number) << text;
}

// A data object whose ".\Language.ini" lives in a fresh current directory.
class LanguageFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(::mkdtemp(folder_.data()), nullptr);
        fs::current_path(folder_);
    }
    void TearDown() override
    {
        fs::current_path(previous_);
        fs::remove_all(folder_);
    }
    void writeIni(const std::string& text) { std::ofstream("Language.ini", std::ios::binary) << text; }
    Strings table() const { return *data.languageTable.snapshot(); }

    test::FakeProcessList processes;
    CWholeData data{processes};
    std::string folder_ = (fs::temp_directory_path() / "quorlin-language-XXXXXX").string();
    fs::path previous_ = fs::current_path();
};

TEST_F(LanguageFile, FirstEntryFlaggedOneSelectsTheLanguageAndNoneLeavesTheTable)
{
    data.loadLanguageSetting();
    EXPECT_EQ(data.languageType, "0") << "no file";
    writeIni("[Type]\nOther=English,1;\n");
    data.loadLanguageSetting();
    EXPECT_EQ(data.languageType, "0") << "no key";
    EXPECT_TRUE(data.languageTable.empty());

    const std::pair<std::string, Strings> cases[] = {
        {"English,1;Japanese,0;", english},
        {";;Japanese, 1;;English,1;", japanese},  // the first flagged entry wins
        {"English,0;Japanese,0;", japanese},  // nothing flagged: unchanged
        {"Japanese,2;English,1,extra;", english},  // only a flag of exactly 1 selects
        {"English,0; ;Japanese,1;", english},  // the blank entry hides the flagged one
        {std::string(89, ';') + "Japanese,10", japanese},  // cut to 99 characters the flag reads 1
        {"english,1;", Strings(9)},  // an unknown name (names are case-sensitive) loads empty texts
    };
    for (const auto& [value, expected] : cases) {
        writeIni("[Type]\r\nMyType=" + value + "\r\n");
        data.loadLanguageSetting();
        EXPECT_EQ(data.languageType, value.substr(0, 99));
        EXPECT_EQ(table(), expected) << value;
    }
}

TEST_F(LanguageFile, SavedValueIsReadBackAndTheRestOfTheFileKept)
{
    data.saveLanguageType("English,1;Japanese,0;");
    data.loadLanguageSetting();
    EXPECT_EQ(table(), english) << "a missing file is created";

    writeIni("; languages\r\n[Type]\r\nMyType=English,1;Japanese,0;\r\n[Window]\r\nX=1\r\n");
    data.saveLanguageType("English,0;Japanese,1;");
    std::ifstream in("Language.ini", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}),
              "; languages\r\n[Type]\r\nMyType=English,0;Japanese,1;\r\n[Window]\r\nX=1\r\n");
    data.loadLanguageSetting();
    EXPECT_EQ(table(), japanese);
}

TEST_F(LanguageFile, ReaderOnAnotherThreadSeesWholeTablesOnly)
{
    std::atomic<bool> stop{false};
    std::atomic<int> torn{0}, reads{0};
    std::thread reader([&] {
        while (!stop.load()) {
            const auto table = data.languageTable.snapshot();
            ++reads;
            if (!table->empty() && *table != english && *table != japanese)
                ++torn;
        }
    });
    for (int i = 0; i < 2000 || reads.load() < 100; ++i)
        data.loadLanguage(i % 2 ? "English" : "Japanese");
    stop = true;
    reader.join();
    EXPECT_EQ(torn.load(), 0);
}

}  // namespace
}  // namespace quorlin
