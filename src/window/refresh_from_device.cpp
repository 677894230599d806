// Bringing the controls in line with the light's reported settings.
#include "link/settings_reports.h"
#include "shell/whole_data.h"
#include "window/quorlin_dlg.h"
#include "window/resource_ids.h"

namespace quorlin {

void CQuorlinDlg::RefreshFromDevice()
{
    // Another thread cannot take the keyboard focus: it moves along only on the UI thread.
    const bool moveFocus = ui_.onUiThread();
    LightSettings& s = data_.settings;

    // Rewrites a number edit and moves its trackbar only when the edit shows another
    // value (compared on the low 8 bits, as the byte is kept).
    const auto refreshNumber = [&](int editId, int trackbarId, std::uint8_t value) {
        if (static_cast<std::uint8_t>(editNumber(editId)) == value)
            return;
        controls_.setTrackbarPosition(trackbarId, value);
        controls_.setNumber(editId, value);
        controls_.placeCaretAtEnd(editId);
        if (moveFocus)
            controls_.focus(editId);
    };

    onUi([&] {
        const bool keepsOn = s.lightMode.load() == kLightModeKeepsOn;
        controls_.setChecked(IDC_RADIO_KEEP_ON, keepsOn);
        controls_.setChecked(IDC_RADIO_BREATHING, !keepsOn);

        refreshNumber(IDC_EDIT_BRIGHTNESS, IDC_SLIDER_BRIGHTNESS, s.brightnessLevel.load());
        refreshNumber(IDC_EDIT_BREATHING, IDC_SLIDER_BREATHING, s.breathingFrequency.load());

        const std::pair<int, Byte*> parameters[] = {{IDC_EDIT_PARAM1, &s.parameter1},
                                                    {IDC_EDIT_PARAM2, &s.parameter2},
                                                    {IDC_EDIT_PARAM3, &s.parameter3},
                                                    {IDC_EDIT_PARAM4, &s.parameter4}};
        for (auto [id, field] : parameters) {
            const int value = field->load();
            if (editNumber(id) != value)
                controls_.setNumber(id, value);
        }

        const std::uint8_t los = s.losCalc.load();
        if (!m_lastLosCalcShown || *m_lastLosCalcShown != los)
            controls_.setText(IDC_EDIT_LOS_CALC, losCalcText(los));
    });

    // The light's own Manual/Auto choice wins; it is sent back so the report agrees.
    // Auto is looked at first.
    adoptReportedMode(kOperationAuto, IDC_RADIO_AUTO, IDC_RADIO_MANUAL);
    adoptReportedMode(kOperationManual, IDC_RADIO_MANUAL, IDC_RADIO_AUTO);

    onUi([this, &s] { m_lastLosCalcShown = s.losCalc.load(); });
}

void CQuorlinDlg::adoptReportedMode(std::uint8_t mode, int id, int otherId)
{
    bool checked = false;
    onUi([&] { checked = controls_.checked(id); });
    if (checked || data_.settings.reportedOperationMode.load() != mode)
        return;
    data_.operationMode = mode;
    SendOperationMode();
    onUi([this, id, otherId] {
        controls_.setChecked(otherId, false);
        controls_.setChecked(id, true);
    });
}

}  // namespace quorlin
