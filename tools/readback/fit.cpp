#include "fit.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>

namespace quorlin::readback {
namespace {

constexpr int kPointsPerInch = 72;
// Between a radio's box and its text, at 96 dots per inch.
constexpr int kBoxGap = 4;

// What a static or button shows of a text with & marks: "&&" is one "&", a lone "&"
// underlines the next letter and takes no room.
std::wstring withoutPrefixes(const std::wstring& text)
{
    std::wstring out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && i + 1 < text.size())
            ++i;
        else if (text[i] == L'&')
            continue;
        out += text[i];
    }
    return out;
}

bool isKind(const std::wstring& kind, const wchar_t* name)
{
    return _wcsicmp(kind.c_str(), name) == 0;
}

}  // namespace

TextFit::TextFit(const wchar_t* faceAndPoints)
{
    const wchar_t* comma = faceAndPoints != nullptr ? std::wcsrchr(faceAndPoints, L',') : nullptr;
    if (comma == nullptr || comma == faceAndPoints)
        return;
    const std::wstring face(faceAndPoints, comma);
    const int points = _wtoi(comma + 1);
    if (points <= 0 || face.size() >= LF_FACESIZE)
        return;
    dc_ = GetDC(nullptr);
    dpi_ = GetDeviceCaps(dc_, LOGPIXELSY);
    font_ = CreateFontW(-MulDiv(points, dpi_, kPointsPerInch), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                        DEFAULT_CHARSET, 0, 0, PROOF_QUALITY, FF_DONTCARE, face.c_str());
    if (font_ != nullptr)
        previous_ = SelectObject(dc_, font_);
}

TextFit::~TextFit()
{
    if (previous_ != nullptr)
        SelectObject(dc_, previous_);
    if (font_ != nullptr)
        DeleteObject(font_);
    if (dc_ != nullptr)
        ReleaseDC(nullptr, dc_);
}

std::string TextFit::fields(HWND control, const std::wstring& kind, const std::vector<std::wstring>& texts) const
{
    const LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
    RECT client{};
    GetClientRect(control, &client);
    SIZE room{client.right - client.left, client.bottom - client.top};
    bool prefixes = false;
    if (isKind(kind, WC_STATICW)) {
        const LONG_PTR type = style & SS_TYPEMASK;
        if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT && type != SS_LEFTNOWORDWRAP && type != SS_SIMPLE)
            return {};  // pictures and owner-drawn statics
        prefixes = (style & SS_NOPREFIX) == 0;
    } else if (isKind(kind, WC_BUTTONW)) {
        const LONG_PTR type = style & BS_TYPEMASK;
        prefixes = true;
        if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON ||
            type == BS_3STATE || type == BS_AUTO3STATE) {
            room.cx -= GetSystemMetrics(SM_CXMENUCHECK) + MulDiv(kBoxGap, dpi_, USER_DEFAULT_SCREEN_DPI);
        } else {
            // The frame, and the focus rectangle inside it.
            room.cx -= 2 * (GetSystemMetrics(SM_CXEDGE) + 1);
            room.cy -= 2 * (GetSystemMetrics(SM_CYEDGE) + 1);
        }
    } else if (isKind(kind, WC_EDITW)) {
        const LRESULT margins = SendMessageW(control, EM_GETMARGINS, 0, 0);
        room.cx -= LOWORD(margins) + HIWORD(margins);
    } else if (isKind(kind, WC_COMBOBOXW)) {
        // The drop-down button and the frame.
        room.cx -= GetSystemMetrics(SM_CXVSCROLL) + 2 * GetSystemMetrics(SM_CXEDGE);
        room.cy -= 2 * GetSystemMetrics(SM_CYEDGE);
    } else {
        return {};
    }
    SIZE need{0, 0};
    bool any = false;
    for (const std::wstring& raw : texts) {
        const std::wstring text = prefixes ? withoutPrefixes(raw) : raw;
        if (text.empty())
            continue;
        SIZE size{};
        GetTextExtentPoint32W(dc_, text.c_str(), static_cast<int>(text.size()), &size);
        need.cx = std::max(need.cx, size.cx);
        need.cy = std::max(need.cy, size.cy);
        any = true;
    }
    if (!any)
        return {};
    const bool fits = need.cx <= room.cx && need.cy <= room.cy;
    return "\tneed=" + std::to_string(need.cx) + "," + std::to_string(need.cy) + "\troom=" + std::to_string(room.cx) +
           "," + std::to_string(room.cy) + "\tfits=" + (fits ? "1" : "0");
}

}  // namespace quorlin::readback
