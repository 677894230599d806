// Bringing the controls in line with the light's reported settings.
#include "window/quorlin_dlg.h"

#include "shell/language.h"
#include "shell/whole_data.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>

namespace quorlin {
namespace {

constexpr std::uint8_t kManualMode = 1;
constexpr std::uint8_t kAutoMode = 2;

int editNumber(const QLineEdit* edit)
{
    return leadingNumber(edit->text().toStdString());
}

// Rewrites a number edit and moves its trackbar only when the edit shows another
// value (compared on the low 8 bits, as the byte is kept). The focus moves along only
// when running on the UI thread: another thread cannot take the keyboard focus.
void refreshNumber(QLineEdit* edit, QSlider* slider, std::uint8_t value, bool moveFocus)
{
    if (static_cast<std::uint8_t>(editNumber(edit)) == value)
        return;
    const QString text = QString::number(value);
    slider->setValue(value);
    edit->setText(text);
    edit->setCursorPosition(static_cast<int>(text.size()));
    if (moveFocus)
        edit->setFocus(Qt::OtherFocusReason);
}

}  // namespace

void CQuorlinDlg::RefreshFromDevice()
{
    const bool moveFocus = onUiThread();
    LightSettings& s = data_.settings;

    onUi([&] {
        const bool keepsOn = s.lightMode.load() == 1;
        m_radioKeepOn->setChecked(keepsOn);
        m_radioBreathing->setChecked(!keepsOn);

        refreshNumber(m_editBrightness, m_sliderBrightness, s.brightnessLevel.load(), moveFocus);
        refreshNumber(m_editBreathing, m_sliderBreathing, s.breathingFrequency.load(), moveFocus);

        const std::pair<QLineEdit*, Byte*> parameters[] = {
            {m_editParam1, &s.parameter1}, {m_editParam2, &s.parameter2},
            {m_editParam3, &s.parameter3}, {m_editParam4, &s.parameter4}};
        for (auto [edit, field] : parameters) {
            const int value = field->load();
            if (editNumber(edit) != value)
                edit->setText(QString::number(value));
        }

        const std::uint8_t los = s.losCalc.load();
        if (!m_lastLosCalcShown || *m_lastLosCalcShown != los)
            m_editLosCalc->setText(QString::asprintf("%02X", los));
    });

    // The light's own Manual/Auto choice wins; it is sent back so the report agrees.
    // Auto is looked at first.
    adoptReportedMode(kAutoMode, m_radioAuto, m_radioManual);
    adoptReportedMode(kManualMode, m_radioManual, m_radioAuto);

    onUi([this, &s] { m_lastLosCalcShown = s.losCalc.load(); });
}

void CQuorlinDlg::adoptReportedMode(std::uint8_t mode, QRadioButton* radio, QRadioButton* other)
{
    bool checked = false;
    onUi([&] { checked = radio->isChecked(); });
    if (checked || data_.settings.reportedOperationMode.load() != mode)
        return;
    data_.operationMode = mode;
    SendOperationMode();
    onUi([radio, other] {
        other->setChecked(false);
        radio->setChecked(true);
    });
}

}  // namespace quorlin
