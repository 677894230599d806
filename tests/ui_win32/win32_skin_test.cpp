// The skin on the Win32 window: the standard look without a usable file, the file's
// colours through the dialog's brushes and owner-drawn buttons with one, and the discs.
#include "ui/win32/disc_image.h"
#include "ui/win32/win32_ids.h"
#include "ui/win32/win32_skin.h"
#include "win32_test_support.h"

#include <gtest/gtest.h>

#include <fstream>

namespace quorlin::test {
namespace {

COLORREF brushColour(HBRUSH brush)
{
    LOGBRUSH logical{};
    GetObjectW(brush, sizeof(logical), &logical);
    return logical.lbColor;
}

LONG_PTR buttonType(HWND button)
{
    return GetWindowLongPtrW(button, GWL_STYLE) & BS_TYPEMASK;
}

class Win32SkinTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(dialog.hwnd, nullptr) << kNeedsDisplay; }
    HBRUSH dialogBrush()
    {
        HDC dc = GetDC(dialog.hwnd);
        HBRUSH brush = skin.controlColour(WM_CTLCOLORDLG, dc, dialog.hwnd);
        ReleaseDC(dialog.hwnd, dc);
        return brush;
    }
    HWND item(int id) const { return GetDlgItem(dialog.hwnd, id); }

    BareDialog dialog;
    win32::Win32Skin skin;
};

TEST_F(Win32SkinTest, MissingFileKeepsTheStandardLook)
{
    skin.adopt(dialog.hwnd);
    EXPECT_FALSE(skin.attach("no-such-skin.she"));
    EXPECT_FALSE(skin.active());
    EXPECT_EQ(dialogBrush(), nullptr);
    EXPECT_EQ(buttonType(item(IDC_BUTTON_DEFAULT)), BS_PUSHBUTTON);
}

TEST_F(Win32SkinTest, ShippedSkinPaintsTheWindowBackground)
{
    skin.adopt(dialog.hwnd);
    ASSERT_TRUE(skin.attach("red.she"));
    HBRUSH brush = dialogBrush();
    ASSERT_NE(brush, nullptr);
    EXPECT_EQ(brushColour(brush), RGB(0x2b, 0x12, 0x14));
    EXPECT_EQ(skin.windowBackground(), RGB(0x2b, 0x12, 0x14));
}

TEST_F(Win32SkinTest, PushButtonsAreDrawnByTheSkinUntilDetached)
{
    skin.adopt(dialog.hwnd);
    ASSERT_TRUE(skin.attach("red.she"));
    EXPECT_EQ(buttonType(item(IDC_BUTTON_DEFAULT)), BS_OWNERDRAW);
    EXPECT_EQ(buttonType(item(IDC_RADIO_MANUAL)), BS_AUTORADIOBUTTON);
    skin.detach();
    EXPECT_FALSE(skin.active());
    EXPECT_EQ(buttonType(item(IDC_BUTTON_DEFAULT)), BS_PUSHBUTTON);
    EXPECT_EQ(dialogBrush(), nullptr);
}

// Discs

std::uint32_t pixel(const std::vector<std::uint32_t>& pixels, int size, int x, int y)
{
    return pixels[static_cast<std::size_t>(y * size + x)];
}

TEST(Win32Disc, CentreIsTheDiscColourAndCornersTheBackground)
{
    const auto pixels = win32::discPixels(25, win32::kConnectedGreen, {10, 20, 30});
    ASSERT_EQ(pixels.size(), 625u);
    EXPECT_EQ(pixel(pixels, 25, 12, 12), 0x008000u);
    EXPECT_EQ(pixel(pixels, 25, 0, 0), 0x0A141Eu);
    EXPECT_EQ(pixel(pixels, 25, 24, 24), 0x0A141Eu);
}

}  // namespace
}  // namespace quorlin::test
