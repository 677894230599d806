// The hidden parameter panel (four parameters with Set, the LOS_CALC pulse), the
// Default command and the hidden skin button.
#include "link/clock.h"
#include "link/device_link.h"
#include "shell/language.h"
#include "shell/skin.h"
#include "shell/whole_data.h"
#include "window/quorlin_dlg.h"
#include "window/user_prompts.h"

#include <QLineEdit>

namespace quorlin {
namespace {

constexpr int kGateStepMs = 10;
constexpr const char* kParameterRangeMessage = "value 得在1~255之间";
constexpr const char* kLastParameterRangeMessage = "value 得在1~100之间";
constexpr const char* kLoadDefaultQuestion = "Load Default Setting?";
// The skin dialog: every file, under one filter named "*.*".
constexpr const char* kSkinInitialName = "*.*";
constexpr const char* kSkinFilter = "*.* (*)";

int editNumber(const QLineEdit* edit)
{
    return leadingNumber(edit->text().toStdString());
}

bool inRange(int value, int low, int high)
{
    return value >= low && value <= high;
}

}  // namespace

void CQuorlinDlg::OnBnClickedSet()
{
    const int first = editNumber(m_editParam1);
    const int second = editNumber(m_editParam2);
    const int third = editNumber(m_editParam3);
    const int fourth = editNumber(m_editParam4);
    if (!inRange(first, 1, 255) || !inRange(second, 1, 255) || !inRange(third, 1, 255)) {
        prompts_.message(this, QString::fromUtf8(kParameterRangeMessage));
        return;
    }
    if (!inRange(fourth, 1, 100)) {
        prompts_.message(this, QString::fromUtf8(kLastParameterRangeMessage));
        return;
    }
    data_.settings.parameter1 = static_cast<std::uint8_t>(first);
    data_.settings.parameter2 = static_cast<std::uint8_t>(second);
    data_.settings.parameter3 = static_cast<std::uint8_t>(third);
    data_.settings.parameter4 = static_cast<std::uint8_t>(fourth);
    link_.sendSettings(0);
    ShowParameterPanel(false);
}

void CQuorlinDlg::waitForLinkReady()
{
    clock_.sleepMs(kGateStepMs);
    while (data_.linkReady.load() == 0)
        clock_.sleepMs(kGateStepMs);
}

void CQuorlinDlg::OnBnClickedLosCalc()
{
    // A pulse: one report with losCalc 1, the next with 0, about 50 ms apart.
    for (const std::uint8_t los : {std::uint8_t{1}, std::uint8_t{0}}) {
        data_.settings.losCalc = los;
        waitForLinkReady();
        data_.pollEnabled = 0;
        link_.writeSettings(0);
        data_.pollEnabled = 1;
    }
    clock_.sleepMs(kGateStepMs);
    RefreshFromDevice();
}

void CQuorlinDlg::OnBnClickedDefault()
{
    // The window keeps showing its values until the next status read.
    if (prompts_.confirm(this, QString::fromUtf8(kLoadDefaultQuestion)))
        link_.sendSettings(kDefaultsVariant);
}

void CQuorlinDlg::OnBnClickedLoadSkin()
{
    SkinH_Detach();
    const QString path =
        prompts_.openFile(nullptr, QString::fromUtf8(kSkinInitialName), QString::fromUtf8(kSkinFilter));
    if (!path.isEmpty())
        SkinH_AttachEx(path.toLocal8Bit().constData(), "");
}

}  // namespace quorlin
