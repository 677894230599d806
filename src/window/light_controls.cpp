// The handlers through which the user changes the light: brightness and breathing
// frequency with their number edits, the Manual/Auto mode, the hidden light-mode
// radios, and the window's key step.
#include "link/device_link.h"
#include "link/send_gate.h"
#include "shell/language.h"
#include "shell/whole_data.h"
#include "window/front_end.h"
#include "window/quorlin_dlg.h"
#include "window/resource_ids.h"

#include <algorithm>

namespace quorlin {
namespace {

constexpr int kNumberEditMax = 100;
constexpr const char* kMaximumMessage = "The maximum vlaue is 100";
constexpr std::uint8_t kHotkeyArmed = 2;

}  // namespace

bool CQuorlinDlg::PreTranslateMessage(KeyCode key)
{
    // Only the key code counts, so the release of a key repeats what its press did.
    switch (key) {
    case KeyCode::Enter:
        if (m_bBrightnessEditFocus != 0)
            confirmNumberEdit(IDC_EDIT_BRIGHTNESS, IDC_SLIDER_BRIGHTNESS, data_.settings.brightnessLevel);
        if (m_bBreathingEditFocus != 0)
            confirmNumberEdit(IDC_EDIT_BREATHING, IDC_SLIDER_BREATHING, data_.settings.breathingFrequency);
        break;
    case KeyCode::A:
        data_.hotkeyStateAC = kHotkeyArmed;
        break;
    case KeyCode::C:
        if (data_.hotkeyStateAC.load() == kHotkeyArmed) {
            data_.hotkeyStateAC = 0;
            ShowParameterPanel(true);
        }
        break;
    case KeyCode::P:
        data_.hotkeyStatePF = kHotkeyArmed;
        break;
    case KeyCode::F:
        if (data_.hotkeyStatePF.load() == kHotkeyArmed) {
            data_.hotkeyStatePF = 0;
            ShowModeButtons(true);
        }
        break;
    case KeyCode::Other:
        break;
    }
    return false;
}

void CQuorlinDlg::confirmNumberEdit(int editId, int trackbarId, std::atomic<std::uint8_t>& field)
{
    int value = editNumber(editId);
    if (value > kNumberEditMax) {
        value = kNumberEditMax;
        controls_.setNumber(editId, kNumberEditMax);
        prompts_.message(kMaximumMessage);
    }
    // The edit takes digits only; a sign put there some other way must not turn into
    // a large byte behind a trackbar standing at 0.
    value = std::max(value, 0);
    controls_.setTrackbarPosition(trackbarId, value);
    field = static_cast<std::uint8_t>(value);
    link_.sendSettings(kNormalVariant);
}

void CQuorlinDlg::OnHScroll(unsigned /*nSBCode*/, unsigned /*nPos*/, int trackbarId)
{
    // A move comes with its end-of-tracking message; one of the two is enough.
    if (++scrollEventCount_ > 1) {
        scrollEventCount_ = 0;
        return;
    }
    if (trackbarId == IDC_SLIDER_BRIGHTNESS)
        applyTrackbarPosition(IDC_SLIDER_BRIGHTNESS, IDC_EDIT_BRIGHTNESS, data_.settings.brightnessLevel);
    else if (trackbarId == IDC_SLIDER_BREATHING)
        applyTrackbarPosition(IDC_SLIDER_BREATHING, IDC_EDIT_BREATHING, data_.settings.breathingFrequency);
}

void CQuorlinDlg::applyTrackbarPosition(int trackbarId, int editId, std::atomic<std::uint8_t>& field)
{
    const int position = controls_.trackbarPosition(trackbarId);
    field = static_cast<std::uint8_t>(position);
    link_.sendSettings(kNormalVariant);
    controls_.setNumber(editId, position);
}

void CQuorlinDlg::OnNMCustomdrawBrightness()
{
    // Drawn as usual; the brightness edit does not follow this trackbar.
}

void CQuorlinDlg::OnNMCustomdrawBreathing()
{
    // The breathing edit follows its trackbar whenever it is drawn, over anything typed there
    // and not yet confirmed. Rewriting an equal text would only move the caret.
    const std::string text = std::to_string(controls_.trackbarPosition(IDC_SLIDER_BREATHING));
    if (controls_.text(IDC_EDIT_BREATHING) != text)
        controls_.setText(IDC_EDIT_BREATHING, text);
}

void CQuorlinDlg::OnEnSetfocusBrightness() { m_bBrightnessEditFocus = 1; }
void CQuorlinDlg::OnEnKillfocusBrightness() { m_bBrightnessEditFocus = 0; }
void CQuorlinDlg::OnEnSetfocusBreathing() { m_bBreathingEditFocus = 1; }
void CQuorlinDlg::OnEnKillfocusBreathing() { m_bBreathingEditFocus = 0; }

void CQuorlinDlg::OnBnClickedManual()
{
    data_.operationMode = kOperationManual;
    SendOperationMode();
    controls_.setChecked(IDC_RADIO_MANUAL, true);
    controls_.setChecked(IDC_RADIO_AUTO, false);
}

void CQuorlinDlg::OnBnClickedAuto()
{
    data_.operationMode = kOperationAuto;
    SendOperationMode();
    controls_.setChecked(IDC_RADIO_MANUAL, false);
    controls_.setChecked(IDC_RADIO_AUTO, true);
}

// The light mode follows the light's replies only; these radios never send.
void CQuorlinDlg::OnBnClickedKeepOn()
{
    controls_.setChecked(IDC_RADIO_KEEP_ON, true);
    controls_.setChecked(IDC_RADIO_BREATHING, false);
}

void CQuorlinDlg::OnBnClickedBreathing()
{
    controls_.setChecked(IDC_RADIO_KEEP_ON, false);
    controls_.setChecked(IDC_RADIO_BREATHING, true);
}

}  // namespace quorlin
