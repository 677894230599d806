#pragma once
// The skin on Win32: the skin file's colours (skin_palette.h) painted through the
// dialog's WM_CTLCOLOR* brushes, owner-drawn push buttons and the trackbars' custom
// draw. A file that cannot be read, or that names no colour, leaves the standard look
// without a word. UI thread only.

#include "ui/win32/skin_palette.h"
#include "window/front_end.h"

#include <windows.h>
#include <commctrl.h>

#include <map>
#include <optional>
#include <set>
#include <vector>

namespace quorlin::win32 {

class Win32Skin final : public WindowSkin {
public:
    Win32Skin() = default;
    ~Win32Skin() override;
    Win32Skin(const Win32Skin&) = delete;
    Win32Skin& operator=(const Win32Skin&) = delete;

    bool attach(const std::string& path) override;
    void detach() override;
    bool active() const { return palette_.has_value(); }

    // A window whose controls follow the skin from now on, also through later attach
    // and detach calls, until release().
    void adopt(HWND window);
    void release(HWND window);

    // WM_CTLCOLOR* of an adopted window: the brush to paint `control` with (its colours
    // set into `dc`), or null for the standard look.
    HBRUSH controlColour(UINT message, HDC dc, HWND control);
    // The window's background colour as painted now.
    COLORREF windowBackground() const;
    // WM_DRAWITEM of a push button made owner-drawn by the skin. False when it is not
    // one of those.
    bool drawButton(const DRAWITEMSTRUCT& item);
    // NM_CUSTOMDRAW of a trackbar: the result to give back (CDRF_DODEFAULT without a
    // skin).
    LRESULT customDrawTrackbar(const NMCUSTOMDRAW& draw);

private:
    HBRUSH brush(Rgb colour);
    void freeBrushes();
    void restyle(HWND window);
    COLORREF colourOr(SkinPart part, SkinState state, SkinRole role, COLORREF fallback) const;

    std::optional<SkinPalette> palette_;
    std::map<COLORREF, HBRUSH> brushes_;
    std::vector<HWND> windows_;
    // Push buttons made owner-drawn, with the button type they had.
    std::map<HWND, LONG_PTR> ownerDrawn_;
    // Radios drawn without the visual style while a skin is on.
    std::set<HWND> unthemed_;
};

}  // namespace quorlin::win32
