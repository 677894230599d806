// The language list, with Language.ini in a profile store in memory.
#include "window/window_fixture.h"


namespace quorlin::test {
namespace {

class LanguageSelector : public WindowFixture {
protected:
    void TearDown() override { closeDialog(); }
    static std::string ini(const char* value) { return std::string("[Type]\nMyType=") + value + "\n"; }
    // Writes Language.ini (unless `value` is null) and starts as the program does:
    // language first.
    void start(const char* value)
    {
        if (value != nullptr)
            profiles.files[CWholeData::kDefaultIniPath] = ini(value);
        data.loadLanguageSetting();
        startDialog();
    }
    std::string iniNow() const
    {
        const auto file = profiles.files.find(CWholeData::kDefaultIniPath);
        return file == profiles.files.end() ? std::string() : file->second;
    }
    std::vector<std::string> items() const { return controls.at(IDC_COMBO_LANGUAGE).items; }
    // The user picks `row`: the front end reports a change of selection.
    void pick(int row)
    {
        controls.setListSelection(IDC_COMBO_LANGUAGE, row);
        dlg->OnCbnSelchangeLanguage();
    }
};

TEST_F(LanguageSelector, ListsTheNamesSortedIgnoringCaseAndANameListedTwiceTwice)
{
    start("japanese,0;English,1;Japanese,0;apple,0;");
    EXPECT_EQ(items(), (std::vector<std::string>{"apple", "English", "japanese", "Japanese"}));
}

TEST_F(LanguageSelector, WithoutALanguageFileTheListOffersTheBuiltInOnesInEnglish)
{
    start(nullptr);
    EXPECT_EQ(items(), (std::vector<std::string>{"English", "Japanese"}));
    EXPECT_EQ(dlg->GetSelectedLanguage(), "English");
    EXPECT_EQ(controls.caption(), "Quorlin Sivane Setting Tool V2.3");
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
