// Win32DialogControls over dialog 102: each id reaches its control, texts cross the
// UTF-8/UTF-16 edge intact, and nothing the behaviour sets looks like a user's choice.
#include "ui/win32/win32_dialog_controls.h"
#include "ui/win32/win32_ids.h"
#include "win32_test_support.h"

#include <gtest/gtest.h>

namespace quorlin::test {
namespace {

class Win32ControlsById : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(dialog.hwnd, nullptr) << kNeedsDisplay;
        controls.attach(dialog.hwnd);
    }

    BareDialog dialog;
    win32::Win32DialogControls controls;
};

TEST_F(Win32ControlsById, EveryIdReachesTheControlOfThatId)
{
    for (int id : kMainWindowControls) {
        HWND control = controls.item(id);
        ASSERT_NE(control, nullptr) << id;
        EXPECT_EQ(GetDlgCtrlID(control), id);
        EXPECT_EQ(GetParent(control), dialog.hwnd) << id;
    }
}

TEST_F(Win32ControlsById, JapaneseStatusTextRoundTrips)
{
    controls.setText(IDC_STATIC_STATUS, "[接続されていません]");
    EXPECT_EQ(controls.text(IDC_STATIC_STATUS), "[接続されていません]");
    EXPECT_EQ(windowText(GetDlgItem(dialog.hwnd, IDC_STATIC_STATUS)), L"[\x63A5\x7D9A\x3055\x308C\x3066\x3044\x307E\x305B\x3093]");
}

TEST_F(Win32ControlsById, TrackbarRangeAndPosition)
{
    controls.setTrackbarRange(IDC_SLIDER_BREATHING, 0, 100);
    controls.setTrackbarPosition(IDC_SLIDER_BREATHING, 40);
    EXPECT_EQ(controls.trackbarLow(IDC_SLIDER_BREATHING), 0);
    EXPECT_EQ(controls.trackbarHigh(IDC_SLIDER_BREATHING), 100);
    EXPECT_EQ(controls.trackbarPosition(IDC_SLIDER_BREATHING), 40);
    EXPECT_EQ(SendMessageW(GetDlgItem(dialog.hwnd, IDC_SLIDER_BREATHING), TBM_GETPOS, 0, 0), 40);
    EXPECT_EQ(controls.trackbarPosition(IDC_SLIDER_BRIGHTNESS), 0);
}

TEST_F(Win32ControlsById, ListKeepsTheRowsGivenAndSelectsWithoutNotifying)
{
    // The list is sorted by style, but the rows given are kept: the behaviour sorts.
    controls.insertListItem(IDC_COMBO_LANGUAGE, 0, "Japanese");
    controls.insertListItem(IDC_COMBO_LANGUAGE, 0, "English");
    controls.insertListItem(IDC_COMBO_LANGUAGE, 0, "zzz");
    ASSERT_EQ(controls.listCount(IDC_COMBO_LANGUAGE), 3);
    EXPECT_EQ(controls.listItem(IDC_COMBO_LANGUAGE, 0), "zzz");
    EXPECT_EQ(controls.listItem(IDC_COMBO_LANGUAGE, 2), "Japanese");
    EXPECT_EQ(controls.listSelection(IDC_COMBO_LANGUAGE), -1);
    controls.setListSelection(IDC_COMBO_LANGUAGE, 2);
    EXPECT_EQ(controls.listSelection(IDC_COMBO_LANGUAGE), 2);
    controls.setListSelection(IDC_COMBO_LANGUAGE, -1);
    EXPECT_EQ(controls.listSelection(IDC_COMBO_LANGUAGE), -1);
    for (const auto& [id, code] : dialog.commands)
        EXPECT_NE(code, CBN_SELCHANGE);
}

TEST_F(Win32ControlsById, FocusMovesToTheEditAndRaisesItsNotification)
{
    controls.focus(IDC_EDIT_BREATHING);
    EXPECT_TRUE(controls.focused(IDC_EDIT_BREATHING));
    EXPECT_FALSE(controls.focused(IDC_EDIT_BRIGHTNESS));
    bool notified = false;
    for (const auto& [id, code] : dialog.commands)
        notified = notified || (id == IDC_EDIT_BREATHING && code == EN_SETFOCUS);
    EXPECT_TRUE(notified);
}

}  // namespace
}  // namespace quorlin::test
