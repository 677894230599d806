// The window's side of the interface language: the language list, and the texts of
// the caption and labels.
#include "window/quorlin_dlg.h"

#include "shell/language.h"
#include "shell/language_strings.h"
#include "shell/whole_data.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

namespace quorlin {
namespace {

// Where a sorted list puts a new item: after every item that does not sort after it.
int sortedPosition(const QComboBox& list, const QString& text)
{
    int row = 0;
    while (row < list.count() && QString::compare(list.itemText(row), text, Qt::CaseInsensitive) <= 0)
        ++row;
    return row;
}

// The first item that begins with `prefix`, ignoring case, searching from the second
// item on and ending with the first; -1 when none does.
int findPrefix(const QComboBox& list, const QString& prefix)
{
    const int count = list.count();
    for (int step = 1; step <= count; ++step) {
        const int row = step % count;
        if (list.itemText(row).startsWith(prefix, Qt::CaseInsensitive))
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

std::string CQuorlinDlg::listedLanguages() const
{
    // With no language selected (no Language.ini, no key, nothing flagged) a list of
    // what the setting holds would be a dead end; the built-in languages are not.
    return data_.languageTable.empty() ? std::string(kBuiltInLanguages) : data_.languageType;
}

void CQuorlinDlg::FillLanguageCombo()
{
    const QSignalBlocker quiet(m_comboLanguage);  // filling is no choice of the user's
    m_comboLanguage->clear();
    const auto entries = CWholeData::splitText(listedLanguages(), ";");
    for (const std::string& entry : entries) {
        const QString name = QString::fromStdString(parseLanguageEntry(entry).name);
        m_comboLanguage->insertItem(sortedPosition(*m_comboLanguage, name), name);
    }
    m_comboLanguage->setCurrentIndex(-1);
    for (const std::string& entry : entries) {
        const LanguageEntry parsed = parseLanguageEntry(entry);
        if (parsed.flag == 1) {
            m_comboLanguage->setCurrentIndex(findPrefix(*m_comboLanguage, QString::fromStdString(parsed.name)));
            break;
        }
    }
}

void CQuorlinDlg::ApplyLanguage()
{
    auto text = [this](int index) { return QString::fromStdString(tableText(index)); };
    setWindowTitle(text(0));
    m_staticStatusLabel->setText(text(1));
    m_btnDefault->setText(text(4));
    m_staticBrightnessLabel->setText(text(5));
    m_staticBreathingLabel->setText(text(6));
    m_radioManual->setText(text(7));
    m_radioAuto->setText(text(8));
}

std::string CQuorlinDlg::GetSelectedLanguage() const
{
    const int row = m_comboLanguage->currentIndex();
    return row < 0 ? std::string() : m_comboLanguage->itemText(row).toStdString();
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
