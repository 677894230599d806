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

namespace quorlin {
namespace {

namespace fs = std::filesystem;

using Strings = std::vector<std::string>;

Strings column(const LanguageStrings& strings) { return Strings(strings.begin(), strings.end()); }

TEST(LanguageSplit, SkipsDelimiterRunsTrimsAndStopsAtTheFirstBlankEntry)
{
    EXPECT_EQ(CWholeData::splitText(";;English,1;;;Japanese,0;", ";"), (Strings{"English,1", "Japanese,0"}));
    EXPECT_EQ(CWholeData::splitText("  English , 1 \t;\tJapanese,0  ", ";"), (Strings{"English , 1", "Japanese,0"}));
    EXPECT_EQ(CWholeData::splitText("English,0; ;Japanese,1", ";"), (Strings{"English,0"}));
    EXPECT_EQ(CWholeData::splitText("", ";"), Strings{});
    EXPECT_EQ(CWholeData::splitText(";;;", ";"), Strings{});
}

TEST(LanguageEntry, NameBeforeTheFirstCommaAndFlagReadAsAtoiWould)
{
    const auto expectEntry = [](const std::string& text, const std::string& name, int flag) {
        const LanguageEntry entry = parseLanguageEntry(text);
        EXPECT_EQ(entry.name, name) << text;
        EXPECT_EQ(entry.flag, flag) << text;
    };
    expectEntry("English,1", "English", 1);
    expectEntry("English, \t1", "English", 1);
    expectEntry("English ,1", "English ", 1);
    expectEntry("English,1,0", "English", 1);
    expectEntry("English,1abc", "English", 1);
    expectEntry("English,+1", "English", 1);
    expectEntry("English,x1", "English", 0);
    expectEntry("English,", "English", 0);
    expectEntry("1", "", 1);
    expectEntry("Japanese", "", 0);
    expectEntry("English,-7", "English", -7);
}

TEST(LanguageEntry, NumbersBeyondIntAreClamped)
{
    EXPECT_EQ(leadingNumber("2147483647"), INT_MAX);
    EXPECT_EQ(leadingNumber("-2147483648"), INT_MIN);
    EXPECT_EQ(leadingNumber("99999999999999999999999"), INT_MAX);
    EXPECT_EQ(leadingNumber("-99999999999999999999999"), INT_MIN);
    EXPECT_EQ(leadingNumber("  -"), 0);
}

TEST(LanguageLoad, BuildsNineEntriesForAnyName)
{
    test::FakeProcessList processes;
    CWholeData data(processes);
    data.loadLanguage("English");
    EXPECT_EQ(*data.languageTable.snapshot(), column(englishStrings()));
    EXPECT_EQ(data.languageTable.snapshot()->at(0), "Quorlin Sivane Setting Tool V2.3");
    data.loadLanguage("Japanese");
    EXPECT_EQ(*data.languageTable.snapshot(), column(japaneseStrings()));
    EXPECT_EQ(data.languageTable.snapshot()->at(3), "[接続されていません]");
    data.loadLanguage("english");
    EXPECT_EQ(*data.languageTable.snapshot(), Strings(9));
}

// A data object whose ".\Language.ini" lives in a fresh current directory.
class LanguageFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "quorlin-language-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
        previous_ = fs::current_path();
        fs::current_path(folder_);
    }
    void TearDown() override
    {
        fs::current_path(previous_);
        fs::remove_all(folder_);
    }
    void writeIni(const std::string& text) { std::ofstream("Language.ini", std::ios::binary) << text; }
    void loadValue(const std::string& value)
    {
        writeIni("[Type]\r\nMyType=" + value + "\r\n");
        data.loadLanguageSetting();
    }
    Strings table() const { return *data.languageTable.snapshot(); }

    test::FakeProcessList processes;
    CWholeData data{processes};
    fs::path folder_;
    fs::path previous_;
};

TEST_F(LanguageFile, FirstFlaggedEntrySelectsTheLanguage)
{
    loadValue("English,1;Japanese,0;");
    EXPECT_EQ(data.languageType, "English,1;Japanese,0;");
    EXPECT_EQ(table(), column(englishStrings()));

    loadValue(";;Japanese, 1;;English,1;");
    EXPECT_EQ(table(), column(japaneseStrings()));
}

TEST_F(LanguageFile, UnusualEntriesFollowTheirReadingRules)
{
    loadValue("English ,1;Japanese,0;");
    EXPECT_EQ(table(), Strings(9)) << "a blank before the comma is part of the name";

    loadValue("English,0; ;Japanese,1;");
    EXPECT_EQ(table(), Strings(9)) << "unchanged: the blank entry hides the flagged one";

    data.loadLanguage("English");
    loadValue("English,0;1;Japanese,1;");
    EXPECT_EQ(table(), Strings(9)) << "an entry \"1\" selects the empty name";

    loadValue("Japanese,1,extra;");
    EXPECT_EQ(table(), column(japaneseStrings()));
}

TEST_F(LanguageFile, NoSelectionLeavesTheTableAsItWas)
{
    data.loadLanguageSetting();
    EXPECT_EQ(data.languageType, "0");
    writeIni("[Type]\nOther=English,1;\n");
    data.loadLanguageSetting();
    EXPECT_EQ(data.languageType, "0");
    loadValue("English,0;Japanese,0;");
    EXPECT_TRUE(data.languageTable.empty());
}

TEST_F(LanguageFile, OnlyTheFirst99CharactersOfTheValueCount)
{
    // Read whole, the flag would be 10; cut to 99 characters it reads 1.
    loadValue(std::string(90, ';') + "English,10");
    EXPECT_EQ(data.languageType.size(), 99u);
    EXPECT_EQ(table(), column(englishStrings()));
}

TEST_F(LanguageFile, SavedValueIsReadBackAndTheRestOfTheFileKept)
{
    data.saveLanguageType("English,1;Japanese,0;");
    data.loadLanguageSetting();
    EXPECT_EQ(table(), column(englishStrings())) << "a missing file is created";

    writeIni("; languages\r\n[Type]\r\nMyType=English,1;Japanese,0;\r\n[Window]\r\nX=1\r\n");
    data.saveLanguageType("English,0;Japanese,1;");
    std::ifstream in("Language.ini", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}),
              "; languages\r\n[Type]\r\nMyType=English,0;Japanese,1;\r\n[Window]\r\nX=1\r\n");
    data.loadLanguageSetting();
    EXPECT_EQ(table(), column(japaneseStrings()));
}

TEST(LanguageTableSwap, ReaderSeesWholeTablesOnly)
{
    test::FakeProcessList processes;
    CWholeData data(processes);
    const Strings english = column(englishStrings());
    const Strings japanese = column(japaneseStrings());
    std::atomic<bool> stop{false};
    std::atomic<int> torn{0};
    std::atomic<int> reads{0};

    std::thread reader([&] {
        while (!stop.load()) {
            const auto table = data.languageTable.snapshot();
            ++reads;
            if (table->empty())
                continue;
            const std::pair<std::string, std::string> status{table->at(2), table->at(3)};
            if (table->size() != 9
                || (status != std::pair{english[2], english[3]} && status != std::pair{japanese[2], japanese[3]}))
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
