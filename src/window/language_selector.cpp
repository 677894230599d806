// The window's side of the interface language: the language list, and the texts of
// the caption and labels.
#include "platform/ascii_text.h"
#include "shell/language.h"
#include "shell/language_strings.h"
#include "shell/whole_data.h"
#include "window/quorlin_dlg.h"
#include "window/resource_ids.h"

#include <algorithm>

namespace quorlin {
namespace {

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && compareIgnoringCase(text.substr(0, prefix.size()), prefix) == 0;
}

// Where a sorted list puts a new item: after every item that does not sort after it.
int sortedPosition(const DialogControls& controls, int id, const std::string& text)
{
    int row = 0;
    while (row < controls.listCount(id) && compareIgnoringCase(controls.listItem(id, row), text) <= 0)
        ++row;
    return row;
}

// The first item that begins with `prefix`, ignoring case, searching from the second
// item on and ending with the first; -1 when none does.
int findPrefix(const DialogControls& controls, int id, const std::string& prefix)
{
    const int count = controls.listCount(id);
    for (int step = 1; step <= count; ++step) {
        const int row = step % count;
        if (startsWithIgnoringCase(controls.listItem(id, row), prefix))
            return row;
    }
    return -1;
}

}  // namespace

std::string CQuorlinDlg::tableText(int index) const
{
    // Without a loaded language (no Language.ini, or nothing flagged) the window
    // still has to be readable: it speaks English until the user picks a language.
    const auto strings = data_.languageTable.snapshot();
    if (strings->size() == kLanguageStringCount)
        return (*strings)[static_cast<std::size_t>(index)];
    return std::string(englishStrings()[static_cast<std::size_t>(index)]);
}

UiLanguage CQuorlinDlg::tableLanguage() const
{
    const auto strings = data_.languageTable.snapshot();
    const LanguageStrings& japanese = japaneseStrings();
    const bool isJapanese = strings->size() == japanese.size() &&
                            std::equal(strings->begin(), strings->end(), japanese.begin());
    return isJapanese ? UiLanguage::Japanese : UiLanguage::English;
}

std::string CQuorlinDlg::listedLanguages() const
{
    // With no language selected (no Language.ini, no key, nothing flagged) a list of
    // what the setting holds would be a dead end; the built-in languages are not.
    return data_.languageTable.empty() ? std::string(kBuiltInLanguages) : data_.languageType;
}

void CQuorlinDlg::FillLanguageCombo()
{
    controls_.clearList(IDC_COMBO_LANGUAGE);
    const auto entries = CWholeData::splitText(listedLanguages(), ";");
    for (const std::string& entry : entries) {
        const std::string name = parseLanguageEntry(entry).name;
        controls_.insertListItem(IDC_COMBO_LANGUAGE, sortedPosition(controls_, IDC_COMBO_LANGUAGE, name), name);
    }
    controls_.setListSelection(IDC_COMBO_LANGUAGE, -1);
    for (const std::string& entry : entries) {
        const LanguageEntry parsed = parseLanguageEntry(entry);
        if (parsed.flag == 1) {
            controls_.setListSelection(IDC_COMBO_LANGUAGE, findPrefix(controls_, IDC_COMBO_LANGUAGE, parsed.name));
            break;
        }
    }
}

void CQuorlinDlg::ApplyLanguage()
{
    controls_.setCaption(tableText(kTextCaption));
    controls_.setText(IDC_STATIC_STATUS_LABEL, tableText(kTextStatusLabel));
    controls_.setText(IDC_BUTTON_DEFAULT, tableText(kTextDefault));
    controls_.setText(IDC_STATIC_BRIGHTNESS_LABEL, tableText(kTextBrightnessLabel));
    controls_.setText(IDC_STATIC_BREATHING_LABEL, tableText(kTextBreathingLabel));
    controls_.setText(IDC_RADIO_MANUAL, tableText(kTextManual));
    controls_.setText(IDC_RADIO_AUTO, tableText(kTextAuto));
}

std::string CQuorlinDlg::GetSelectedLanguage() const
{
    const int row = controls_.listSelection(IDC_COMBO_LANGUAGE);
    return row < 0 ? std::string() : controls_.listItem(IDC_COMBO_LANGUAGE, row);
}

void CQuorlinDlg::OnCbnSelchangeLanguage()
{
    const std::string selected = GetSelectedLanguage();
    std::string value;
    for (const std::string& entry : CWholeData::splitText(listedLanguages(), ";")) {
        const std::string name = parseLanguageEntry(entry).name;
        if (selected == name) {
            value += name + ",1";
            data_.loadLanguage(name);
            ApplyLanguage();
        } else {
            value += name + ",0";
        }
        value += ";";
    }
    data_.languageType = value;
    data_.saveLanguageType(value);
    data_.reconnectRequested = 1;
}

}  // namespace quorlin
