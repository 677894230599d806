#include "ui/win32/win32_skin.h"

#include "platform/windows/wide_text.h"

#include <uxtheme.h>

#include <algorithm>
#include <string>

namespace quorlin::win32 {
namespace {

COLORREF toColorRef(Rgb colour)
{
    return RGB(colour.r, colour.g, colour.b);
}

std::wstring className(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

bool isClass(HWND window, const wchar_t* name)
{
    return lstrcmpiW(className(window).c_str(), name) == 0;
}

LONG_PTR buttonType(HWND button)
{
    return GetWindowLongPtrW(button, GWL_STYLE) & BS_TYPEMASK;
}

bool isPushButton(HWND window)
{
    if (!isClass(window, L"Button"))
        return false;
    const LONG_PTR type = buttonType(window);
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

bool isRadioOrCheck(HWND window)
{
    if (!isClass(window, L"Button"))
        return false;
    const LONG_PTR type = buttonType(window);
    return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON || type == BS_CHECKBOX || type == BS_AUTOCHECKBOX;
}

// The file's text, or nothing when it is not a readable small text file.
std::optional<std::string> readSkinFile(const std::string& path)
{
    if (path.empty())
        return std::nullopt;
    // A folder does not open without backup semantics; a device or pipe is no disk file.
    HANDLE file = CreateFileW(widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::optional<std::string> text;
    LARGE_INTEGER size{};
    if (GetFileType(file) == FILE_TYPE_DISK && GetFileSizeEx(file, &size) && size.QuadPart >= 0 &&
        static_cast<unsigned long long>(size.QuadPart) <= kMaxSkinBytes) {
        std::string content(static_cast<std::size_t>(size.QuadPart), '\0');
        DWORD read = 0;
        if (content.empty() || (ReadFile(file, content.data(), static_cast<DWORD>(content.size()), &read, nullptr) &&
                                read == content.size())) {
            if (content.find('\0') == std::string::npos)
                text = std::move(content);
        }
    }
    CloseHandle(file);
    return text;
}

SkinState stateOf(HWND control)
{
    return IsWindowEnabled(control) ? SkinState::Normal : SkinState::Disabled;
}

}  // namespace

Win32Skin::~Win32Skin()
{
    freeBrushes();
}

bool Win32Skin::attach(const std::string& path)
{
    const std::optional<std::string> text = readSkinFile(path);
    std::optional<SkinPalette> palette;
    if (text) {
        palette = parseSkin(*text);
        if (!palette->any())
            palette.reset();
    }
    palette_ = std::move(palette);
    freeBrushes();
    for (HWND window : windows_)
        restyle(window);
    return palette_.has_value();
}

void Win32Skin::detach()
{
    palette_.reset();
    for (HWND window : windows_)
        restyle(window);
    freeBrushes();
}

void Win32Skin::adopt(HWND window)
{
    if (std::find(windows_.begin(), windows_.end(), window) == windows_.end())
        windows_.push_back(window);
    restyle(window);
}

void Win32Skin::release(HWND window)
{
    windows_.erase(std::remove(windows_.begin(), windows_.end(), window), windows_.end());
    std::erase_if(unthemed_, [window](HWND child) { return GetParent(child) == window || !IsWindow(child); });
    for (auto it = ownerDrawn_.begin(); it != ownerDrawn_.end();) {
        if (GetParent(it->first) == window || !IsWindow(it->first))
            it = ownerDrawn_.erase(it);
        else
            ++it;
    }
}

void Win32Skin::restyle(HWND window)
{
    // Push buttons are drawn by the window while a skin is on, by the system otherwise.
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        const auto known = ownerDrawn_.find(child);
        if (palette_ && known == ownerDrawn_.end() && isPushButton(child)) {
            ownerDrawn_.emplace(child, buttonType(child));
            SendMessageW(child, BM_SETSTYLE, BS_OWNERDRAW, FALSE);
        } else if (!palette_ && known != ownerDrawn_.end()) {
            SendMessageW(child, BM_SETSTYLE, static_cast<WPARAM>(known->second), FALSE);
            ownerDrawn_.erase(known);
        }
        // A themed radio draws its text in the theme's colour, whatever the skin says;
        // without the theme it takes the colour the window gives it.
        const bool unthemed = unthemed_.count(child) != 0;
        if (palette_ && !unthemed && isRadioOrCheck(child)) {
            SetWindowTheme(child, L"", L"");
            unthemed_.insert(child);
        } else if (!palette_ && unthemed) {
            SetWindowTheme(child, nullptr, nullptr);
            unthemed_.erase(child);
        }
    }
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

HBRUSH Win32Skin::brush(Rgb colour)
{
    const COLORREF key = toColorRef(colour);
    auto it = brushes_.find(key);
    if (it == brushes_.end())
        it = brushes_.emplace(key, CreateSolidBrush(key)).first;
    return it->second;
}

void Win32Skin::freeBrushes()
{
    for (auto& [colour, handle] : brushes_)
        DeleteObject(handle);
    brushes_.clear();
}

COLORREF Win32Skin::colourOr(SkinPart part, SkinState state, SkinRole role, COLORREF fallback) const
{
    if (!palette_)
        return fallback;
    const std::optional<Rgb> colour = palette_->colour(part, state, role);
    return colour ? toColorRef(*colour) : fallback;
}

COLORREF Win32Skin::windowBackground() const
{
    return colourOr(SkinPart::Window, SkinState::Normal, SkinRole::Background, GetSysColor(COLOR_3DFACE));
}

HBRUSH Win32Skin::controlColour(UINT message, HDC dc, HWND control)
{
    if (!palette_)
        return nullptr;
    const std::optional<Rgb> window = palette_->colour(SkinPart::Window, SkinState::Normal, SkinRole::Background);

    // Edits, the list and its drop-down take their own colours; a disabled or
    // read-only edit asks as a static does.
    SkinPart part = SkinPart::Label;
    bool ownBackground = false;
    if (message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX || isClass(control, L"Edit") ||
        isClass(control, L"ComboBox")) {
        part = (message == WM_CTLCOLORLISTBOX || isClass(control, L"ComboBox")) ? SkinPart::List : SkinPart::Edit;
        ownBackground = true;
    } else if (message == WM_CTLCOLORDLG) {
        return window ? brush(*window) : nullptr;
    } else if (isClass(control, L"Button")) {
        part = SkinPart::Radio;
    }

    const SkinState state = message == WM_CTLCOLORLISTBOX ? SkinState::Normal : stateOf(control);
    if (const std::optional<Rgb> text = palette_->colour(part, state, SkinRole::Text))
        SetTextColor(dc, toColorRef(*text));
    const std::optional<Rgb> background =
        ownBackground ? palette_->colour(part, state, SkinRole::Background) : window;
    if (!background)
        return nullptr;
    SetBkColor(dc, toColorRef(*background));
    if (!ownBackground)
        SetBkMode(dc, TRANSPARENT);
    return brush(*background);
}

bool Win32Skin::drawButton(const DRAWITEMSTRUCT& item)
{
    if (!palette_ || item.CtlType != ODT_BUTTON || ownerDrawn_.find(item.hwndItem) == ownerDrawn_.end())
        return false;
    SkinState state = SkinState::Normal;
    if (item.itemState & ODS_DISABLED)
        state = SkinState::Disabled;
    else if (item.itemState & ODS_SELECTED)
        state = SkinState::Pressed;
    else if (item.itemState & ODS_FOCUS)
        state = SkinState::Focused;

    const COLORREF face = colourOr(SkinPart::Button, state, SkinRole::Background, GetSysColor(COLOR_BTNFACE));
    const COLORREF edge = colourOr(SkinPart::Button, state, SkinRole::Border, face);
    const COLORREF ink = colourOr(SkinPart::Button, state, SkinRole::Text, GetSysColor(COLOR_BTNTEXT));

    HDC dc = item.hDC;
    RECT rect = item.rcItem;
    HBRUSH fill = CreateSolidBrush(face);
    HPEN pen = CreatePen(PS_SOLID, 1, edge);
    HGDIOBJ oldBrush = SelectObject(dc, fill);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(pen);
    DeleteObject(fill);

    const int length = GetWindowTextLengthW(item.hwndItem);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(item.hwndItem, text.data(), length + 1)));
    HGDIOBJ oldFont = nullptr;
    if (auto font = reinterpret_cast<HFONT>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0)))
        oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ink);
    if (item.itemState & ODS_SELECTED)
        OffsetRect(&rect, 1, 1);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (oldFont != nullptr)
        SelectObject(dc, oldFont);
    return true;
}

LRESULT Win32Skin::customDrawTrackbar(const NMCUSTOMDRAW& draw)
{
    if (!palette_)
        return CDRF_DODEFAULT;
    if (draw.dwDrawStage == CDDS_PREPAINT)
        return CDRF_NOTIFYITEMDRAW;
    if (draw.dwDrawStage != CDDS_ITEMPREPAINT)
        return CDRF_DODEFAULT;

    HWND trackbar = draw.hdr.hwndFrom;
    const SkinState state = stateOf(trackbar);
    HDC dc = draw.hdc;
    if (draw.dwItemSpec == TBCD_CHANNEL) {
        const COLORREF groove = colourOr(SkinPart::TrackGroove, state, SkinRole::Background, GetSysColor(COLOR_3DSHADOW));
        const COLORREF filled = colourOr(SkinPart::TrackFilled, state, SkinRole::Background, groove);
        RECT channel = draw.rc;
        RECT thumb{};
        SendMessageW(trackbar, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
        RECT left = channel;
        left.right = std::clamp<LONG>((thumb.left + thumb.right) / 2, channel.left, channel.right);
        RECT right = channel;
        right.left = left.right;
        HBRUSH grooveBrush = CreateSolidBrush(groove);
        HBRUSH filledBrush = CreateSolidBrush(filled);
        FillRect(dc, &left, filledBrush);
        FillRect(dc, &right, grooveBrush);
        DeleteObject(filledBrush);
        DeleteObject(grooveBrush);
        return CDRF_SKIPDEFAULT;
    }
    if (draw.dwItemSpec == TBCD_THUMB) {
        const COLORREF face = colourOr(SkinPart::TrackThumb, state, SkinRole::Background, GetSysColor(COLOR_BTNFACE));
        const COLORREF edge = colourOr(SkinPart::TrackThumb, state, SkinRole::Border, face);
        // The thumb as a disc the width of its rectangle, standing on the channel.
        const RECT& r = draw.rc;
        const int size = std::min(r.right - r.left, r.bottom - r.top);
        const int cx = (r.left + r.right) / 2;
        const int cy = (r.top + r.bottom) / 2;
        HBRUSH fill = CreateSolidBrush(face);
        HPEN pen = CreatePen(PS_SOLID, 1, edge);
        HGDIOBJ oldBrush = SelectObject(dc, fill);
        HGDIOBJ oldPen = SelectObject(dc, pen);
        Ellipse(dc, cx - size / 2, cy - size / 2, cx - size / 2 + size, cy - size / 2 + size);
        SelectObject(dc, oldPen);
        SelectObject(dc, oldBrush);
        DeleteObject(pen);
        DeleteObject(fill);
        return CDRF_SKIPDEFAULT;
    }
    return CDRF_DODEFAULT;
}

}  // namespace quorlin::win32
