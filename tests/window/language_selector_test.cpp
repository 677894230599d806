// The language list, with Language.ini in a temporary current folder.
#include "window/window_fixture.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace quorlin::test {
namespace {

namespace fs = std::filesystem;

class LanguageSelector : public WindowFixture {
protected:
    void SetUp() override
    {
        previous = fs::current_path();
        dir = fs::temp_directory_path() / ("quorlin-language-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
        fs::current_path(dir);
    }
    void TearDown() override
    {
        closeDialog();
        fs::current_path(previous);
        fs::remove_all(dir);
    }
    static std::string ini(const char* value) { return std::string("[Type]\nMyType=") + value + "\n"; }
    // Writes Language.ini (unless `value` is null) and starts as the program does:
    // language first.
    void start(const char* value)
    {
        if (value != nullptr)
            std::ofstream("Language.ini", std::ios::binary) << ini(value);
        data.loadLanguageSetting();
        startDialog();
    }
    static std::string iniNow()
    {
        std::ifstream file("Language.ini", std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }
    std::vector<std::string> items() const { return controls.at(IDC_COMBO_LANGUAGE).items; }
    // The user picks `row`: the front end reports a change of selection.
    void pick(int row)
    {
        controls.setListSelection(IDC_COMBO_LANGUAGE, row);
        dlg->OnCbnSelchangeLanguage();
    }

    fs::path previous;
    fs::path dir;
};

TEST_F(LanguageSelector, ListsTheNamesSortedIgnoringCaseAndANameListedTwiceTwice)
{
    start("japanese,0;English,1;Japanese,0;apple,0;");
    EXPECT_EQ(items(), (std::vector<std::string>{"apple", "English", "japanese", "Japanese"}));
}

TEST_F(LanguageSelector, SelectsTheFlaggedEntry)
{
    start("English,0;Japanese,1;");
    EXPECT_EQ(controls.listSelection(IDC_COMBO_LANGUAGE), 1);
    EXPECT_EQ(dlg->GetSelectedLanguage(), "Japanese");
}

TEST_F(LanguageSelector, FillingTheListChoosesNothing)
{
    start("English,1;Japanese,0;");
    EXPECT_EQ(iniNow(), ini("English,1;Japanese,0;"));
}

TEST_F(LanguageSelector, WithoutALanguageFileTheListOffersTheBuiltInOnesInEnglish)
{
    start(nullptr);
    EXPECT_EQ(items(), (std::vector<std::string>{"English", "Japanese"}));
    EXPECT_EQ(dlg->GetSelectedLanguage(), "English");
    EXPECT_EQ(controls.caption(), "Quorlin Sivane Setting Tool V2.3");
}

TEST_F(LanguageSelector, WithNothingFlaggedTheListOffersTheBuiltInOnes)
{
    start("French,0;Japanese,0;");
    EXPECT_EQ(items(), (std::vector<std::string>{"English", "Japanese"}));
}

TEST_F(LanguageSelector, APickWritesTheFileAndRelabelsTheWindow)
{
    start(nullptr);
    pick(1);
    EXPECT_EQ(iniNow(), ini("English,0;Japanese,1;"));
    EXPECT_EQ(controls.caption(), "Quorlin Sivane 設定ツール V2.3");
    EXPECT_EQ(controls.text(IDC_BUTTON_DEFAULT), dlg->tableText(kTextDefault));
}

TEST_F(LanguageSelector, APickReconnectsAndTheStatusSpeaksTheNewLanguage)
{
    start("English,1;Japanese,0;");
    ASSERT_TRUE(waitConnected());
    light.clearCalls();
    pick(1);
    EXPECT_TRUE(waitUntil([&] { return !light.calls(sim::SimulatedLight::CallKind::Open).empty() && statusText() == "[接続済み]"; }));
}

TEST_F(LanguageSelector, APickFlagsEveryEntryOfTheName)
{
    start("English,1;Japanese,0;Japanese,0;");
    pick(2);
    EXPECT_EQ(iniNow(), ini("English,0;Japanese,1;Japanese,1;"));
}

TEST_F(LanguageSelector, ANamelessEntryIsListedAndPickedWithEmptyTexts)
{
    start("English,1;Japanese;");  // a file that selects a language keeps its entries
    EXPECT_EQ(items(), (std::vector<std::string>{"", "English"}));
    pick(0);
    EXPECT_EQ(iniNow(), ini("English,0;,1;"));
    EXPECT_EQ(controls.caption(), "");
}

}  // namespace
}  // namespace quorlin::test
