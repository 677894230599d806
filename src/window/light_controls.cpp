// The handlers through which the user changes the light: brightness and breathing
// frequency with their number edits, the Manual/Auto mode, the hidden light-mode
// radios, and the window's key handling.
#include "window/light_controls.h"

#include "link/device_link.h"
#include "shell/language.h"
#include "shell/whole_data.h"
#include "window/quorlin_dlg.h"
#include "window/user_prompts.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>

#include <algorithm>

namespace quorlin {

std::atomic<std::uint32_t> g_scrollEventCount{0};

namespace {

constexpr int kNumberEditMax = 100;
constexpr const char* kMaximumMessage = "The maximum vlaue is 100";
constexpr std::uint8_t kHotkeyArmed = 2;
constexpr std::uint8_t kManual = 1;
constexpr std::uint8_t kAuto = 2;

}  // namespace

bool CQuorlinDlg::isFirstKeyReceiver(const QObject* watched) const
{
    const QWidget* focus = focusWidget();
    return watched == (focus != nullptr ? focus : this);
}

bool CQuorlinDlg::PreTranslateMessage(QKeyEvent* pMsg)
{
    // Only the key code counts, so the release of a key repeats what its press did.
    const int key = pMsg->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (m_bBrightnessEditFocus != 0)
            confirmNumberEdit(m_editBrightness, m_sliderBrightness, data_.settings.brightnessLevel);
        if (m_bBreathingEditFocus != 0)
            confirmNumberEdit(m_editBreathing, m_sliderBreathing, data_.settings.breathingFrequency);
    } else if (key == Qt::Key_A) {
        data_.hotkeyStateAC = kHotkeyArmed;
    } else if (key == Qt::Key_C && data_.hotkeyStateAC.load() == kHotkeyArmed) {
        data_.hotkeyStateAC = 0;
        ShowParameterPanel(true);
    } else if (key == Qt::Key_P) {
        data_.hotkeyStatePF = kHotkeyArmed;
    } else if (key == Qt::Key_F && data_.hotkeyStatePF.load() == kHotkeyArmed) {
        data_.hotkeyStatePF = 0;
        ShowModeButtons(true);
    }
    return false;
}

void CQuorlinDlg::confirmNumberEdit(QLineEdit* edit, QSlider* slider, std::atomic<std::uint8_t>& field)
{
    int value = leadingNumber(edit->text().toStdString());
    if (value > kNumberEditMax) {
        value = kNumberEditMax;
        edit->setText(QString::number(kNumberEditMax));
        prompts_.message(this, QString::fromUtf8(kMaximumMessage));
    }
    // The edit takes digits only; a sign put there some other way must not turn into
    // a large byte behind a trackbar standing at 0.
    value = std::max(value, 0);
    slider->setValue(value);
    field = static_cast<std::uint8_t>(value);
    link_.sendSettings(0);
}

void CQuorlinDlg::OnHScroll(unsigned /*nSBCode*/, unsigned /*nPos*/, QSlider* pScrollBar)
{
    // A move comes with its end-of-tracking message; one of the two is enough.
    if (g_scrollEventCount.fetch_add(1) + 1 > 1) {
        g_scrollEventCount = 0;
        return;
    }
    if (pScrollBar == m_sliderBrightness)
        applyTrackbarPosition(m_sliderBrightness, m_editBrightness, data_.settings.brightnessLevel);
    else if (pScrollBar == m_sliderBreathing)
        applyTrackbarPosition(m_sliderBreathing, m_editBreathing, data_.settings.breathingFrequency);
}

void CQuorlinDlg::applyTrackbarPosition(QSlider* slider, QLineEdit* edit, std::atomic<std::uint8_t>& field)
{
    const int position = slider->sliderPosition();
    field = static_cast<std::uint8_t>(position);
    link_.sendSettings(0);
    edit->setText(QString::number(position));
}

void CQuorlinDlg::OnNMCustomdrawBrightness()
{
    // Drawn as usual; edit 1005 does not follow this trackbar.
}

void CQuorlinDlg::OnNMCustomdrawBreathing()
{
    // Edit 1006 follows its trackbar whenever it is drawn, over anything typed there
    // and not yet confirmed. Rewriting an equal text would only move the caret.
    const QString text = QString::number(m_sliderBreathing->sliderPosition());
    if (m_editBreathing->text() != text)
        m_editBreathing->setText(text);
}

void CQuorlinDlg::OnEnSetfocusBrightness() { m_bBrightnessEditFocus = 1; }
void CQuorlinDlg::OnEnKillfocusBrightness() { m_bBrightnessEditFocus = 0; }
void CQuorlinDlg::OnEnSetfocusBreathing() { m_bBreathingEditFocus = 1; }
void CQuorlinDlg::OnEnKillfocusBreathing() { m_bBreathingEditFocus = 0; }

void CQuorlinDlg::OnBnClickedManual()
{
    data_.operationMode = kManual;
    SendOperationMode();
    m_radioManual->setChecked(true);
    m_radioAuto->setChecked(false);
}

void CQuorlinDlg::OnBnClickedAuto()
{
    data_.operationMode = kAuto;
    SendOperationMode();
    m_radioManual->setChecked(false);
    m_radioAuto->setChecked(true);
}

// The light mode follows the light's replies only; these radios never send.
void CQuorlinDlg::OnBnClickedKeepOn()
{
    m_radioKeepOn->setChecked(true);
    m_radioBreathing->setChecked(false);
}

void CQuorlinDlg::OnBnClickedBreathing()
{
    m_radioKeepOn->setChecked(false);
    m_radioBreathing->setChecked(true);
}

}  // namespace quorlin
