// The hidden parameter panel (four parameters with Set, the LOS_CALC pulse), the
// Default command and the hidden skin button.
#include "link/device_link.h"
#include "link/send_gate.h"
#include "link/settings_reports.h"
#include "shell/whole_data.h"
#include "window/front_end.h"
#include "window/quorlin_dlg.h"
#include "window/resource_ids.h"

namespace quorlin {
namespace {

constexpr int kParameterLow = 1;
constexpr int kParameterHigh = 255;
constexpr int kLastParameterHigh = 100;
constexpr const char* kParameterRangeMessage = "value 得在1~255之间";
constexpr const char* kLastParameterRangeMessage = "value 得在1~100之间";
constexpr const char* kLoadDefaultQuestion = "Load Default Setting?";
// The skin dialog: every file, under one filter named "*.*".
constexpr const char* kSkinInitialName = "*.*";
constexpr const char* kSkinFilterName = "*.*";

bool inRange(int value, int low, int high)
{
    return value >= low && value <= high;
}

}  // namespace

void CQuorlinDlg::OnBnClickedSet()
{
    const int first = editNumber(IDC_EDIT_PARAM1);
    const int second = editNumber(IDC_EDIT_PARAM2);
    const int third = editNumber(IDC_EDIT_PARAM3);
    const int fourth = editNumber(IDC_EDIT_PARAM4);
    if (!inRange(first, kParameterLow, kParameterHigh) || !inRange(second, kParameterLow, kParameterHigh) ||
        !inRange(third, kParameterLow, kParameterHigh)) {
        prompts_.message(kParameterRangeMessage);
        return;
    }
    if (!inRange(fourth, kParameterLow, kLastParameterHigh)) {
        prompts_.message(kLastParameterRangeMessage);
        return;
    }
    data_.settings.parameter1 = static_cast<std::uint8_t>(first);
    data_.settings.parameter2 = static_cast<std::uint8_t>(second);
    data_.settings.parameter3 = static_cast<std::uint8_t>(third);
    data_.settings.parameter4 = static_cast<std::uint8_t>(fourth);
    link_.sendSettings(kNormalVariant);
    ShowParameterPanel(false);
}

void CQuorlinDlg::OnBnClickedLosCalc()
{
    // Both reports go out even when the first is refused, so losCalc ends at 0.
    losCalcPulse(data_, clock_, link_, OnRefusal::GoOn);
    RefreshFromDevice();
}

void CQuorlinDlg::OnBnClickedDefault()
{
    // The window keeps showing its values until the next status read.
    if (prompts_.confirm(kLoadDefaultQuestion))
        link_.sendSettings(kDefaultsVariant);
}

void CQuorlinDlg::OnBnClickedLoadSkin()
{
    skin_.detach();
    const std::string path = prompts_.openFile(kSkinInitialName, kSkinFilterName);
    if (!path.empty())
        skin_.attach(path);
}

}  // namespace quorlin
