// Dialog 102 as built from the resource script: every control at its designed place
// and of the kind the window's behaviour relies on.
#include "ui/win32/win32_ids.h"
#include "win32_test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace quorlin::test {
namespace {

struct Placed {
    int id;
    int x, y, w, h;  // dialog units
};

// The main window's layout in dialog units, as designed.
constexpr Placed kLayout[] = {
    {IDC_STATIC_BRIGHTNESS_LABEL, 48, 83, 74, 8}, {IDC_STATIC_BREATHING_LABEL, 18, 133, 105, 8},
    {IDC_RADIO_KEEP_ON, 142, 46, 63, 10},         {IDC_RADIO_BREATHING, 217, 46, 59, 10},
    {IDC_SLIDER_BRIGHTNESS, 133, 80, 100, 27},    {IDC_SLIDER_BREATHING, 133, 129, 100, 29},
    {IDC_EDIT_BRIGHTNESS, 240, 81, 23, 14},       {IDC_EDIT_BREATHING, 240, 130, 23, 14},
    {IDC_STATIC_STATUS_LABEL, 51, 34, 71, 8},     {IDC_PIC_DISCONNECTED, 240, 31, 14, 14},
    {IDC_PIC_CONNECTED, 240, 31, 14, 14},         {IDC_STATIC_STATUS, 131, 34, 76, 8},
    {IDC_BUTTON_LOAD_SKIN, 297, 179, 16, 14},     {IDC_BUTTON_DEFAULT, 278, 31, 35, 14},
    {IDC_EDIT_PARAM1, 35, 179, 21, 14},           {IDC_BUTTON_SET, 142, 179, 36, 14},
    {IDC_EDIT_PARAM2, 66, 179, 18, 14},           {IDC_EDIT_PARAM3, 94, 179, 17, 14},
    {IDC_EDIT_PARAM4, 120, 179, 18, 14},          {IDC_EDIT_LOS_CALC, 212, 179, 24, 14},
    {IDC_BUTTON_LOS_CALC, 244, 179, 37, 14},      {IDC_RADIO_MANUAL, 103, 158, 49, 10},
    {IDC_RADIO_AUTO, 191, 158, 53, 10},
};

void expectRect(const RECT& actual, const RECT& expected, const std::string& what)
{
    EXPECT_EQ(actual.left, expected.left) << what;
    EXPECT_EQ(actual.top, expected.top) << what;
    EXPECT_EQ(actual.right, expected.right) << what;
    EXPECT_EQ(actual.bottom, expected.bottom) << what;
}

// The child without an id whose text is `text`.
HWND unnamedStatic(HWND dialog, const wchar_t* text)
{
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        const int id = GetDlgCtrlID(child);
        if ((id == -1 || id == 0xFFFF) && windowText(child) == text)
            return child;
    }
    return nullptr;
}

LONG_PTR style(HWND window)
{
    return GetWindowLongPtrW(window, GWL_STYLE);
}

class Win32DialogLayout : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(dialog.hwnd, nullptr) << kNeedsDisplay; }

    BareDialog dialog;
    HWND item(int id) const { return GetDlgItem(dialog.hwnd, id); }
};

TEST_F(Win32DialogLayout, ClientAreaIsTheTemplateSize)
{
    RECT client{};
    GetClientRect(dialog.hwnd, &client);
    expectRect(client, templateRect(dialog.hwnd, 0, 0, 320, 200), "client area");
}

TEST_F(Win32DialogLayout, EachControlStandsAtItsTemplateRectangle)
{
    for (const Placed& p : kLayout) {
        HWND control = item(p.id);
        ASSERT_NE(control, nullptr) << "control " << p.id;
        expectRect(placeInParent(control), templateRect(dialog.hwnd, p.x, p.y, p.w, p.h),
                   "control " + std::to_string(p.id));
    }
}

TEST_F(Win32DialogLayout, LanguageListDropsToItsTemplateHeight)
{
    // A drop-down list stands one line high; the template's height is its open list.
    RECT dropped{};
    SendMessageW(item(IDC_COMBO_LANGUAGE), CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    MapWindowPoints(HWND_DESKTOP, dialog.hwnd, reinterpret_cast<POINT*>(&dropped), 2);
    const RECT designed = templateRect(dialog.hwnd, 256, 5, 57, 101);
    EXPECT_EQ(dropped.left, designed.left);
    EXPECT_EQ(dropped.top, designed.top);
    EXPECT_EQ(dropped.right, designed.right);
    EXPECT_GT(dropped.bottom, designed.top + (designed.bottom - designed.top) / 2);
    EXPECT_LE(dropped.bottom, designed.bottom);
}

TEST_F(Win32DialogLayout, HiddenControlsStartHidden)
{
    for (int id : {IDC_RADIO_KEEP_ON, IDC_RADIO_BREATHING, IDC_BUTTON_LOAD_SKIN})
        EXPECT_FALSE(style(item(id)) & WS_VISIBLE) << id;
    EXPECT_FALSE(style(unnamedStatic(dialog.hwnd, L"Light Mode:")) & WS_VISIBLE);
    for (int id : {IDC_SLIDER_BRIGHTNESS, IDC_EDIT_BRIGHTNESS, IDC_BUTTON_DEFAULT, IDC_COMBO_LANGUAGE, IDC_RADIO_MANUAL})
        EXPECT_TRUE(style(item(id)) & WS_VISIBLE) << id;
}

}  // namespace
}  // namespace quorlin::test
