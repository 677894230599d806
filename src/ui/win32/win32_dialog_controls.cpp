#include "ui/win32/win32_dialog_controls.h"

#include "platform/windows/wide_text.h"

#include <commctrl.h>

namespace quorlin::win32 {

HWND Win32DialogControls::item(int id) const
{
    return dialog_ != nullptr ? GetDlgItem(dialog_, id) : nullptr;
}

std::string Win32DialogControls::windowText(HWND window)
{
    if (window == nullptr)
        return {};
    const int length = GetWindowTextLengthW(window);
    if (length <= 0)
        return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return narrow(text);
}

void Win32DialogControls::setWindowText(HWND window, const std::string& text)
{
    if (window != nullptr)
        SetWindowTextW(window, widen(text).c_str());
}

void Win32DialogControls::setCaption(const std::string& text)
{
    setWindowText(dialog_, text);
}

std::string Win32DialogControls::caption() const
{
    return windowText(dialog_);
}

void Win32DialogControls::setText(int id, const std::string& text)
{
    setWindowText(item(id), text);
}

std::string Win32DialogControls::text(int id) const
{
    return windowText(item(id));
}

void Win32DialogControls::placeCaretAtEnd(int id)
{
    HWND edit = item(id);
    if (edit == nullptr)
        return;
    const int length = GetWindowTextLengthW(edit);
    SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(length), static_cast<LPARAM>(length));
    SendMessageW(edit, EM_SCROLLCARET, 0, 0);
}

void Win32DialogControls::setTrackbarRange(int id, int low, int high)
{
    // Without redrawing, as the window's initialisation sets it.
    HWND trackbar = item(id);
    SendMessageW(trackbar, TBM_SETRANGEMIN, FALSE, low);
    SendMessageW(trackbar, TBM_SETRANGEMAX, FALSE, high);
}

int Win32DialogControls::trackbarLow(int id) const
{
    return static_cast<int>(SendMessageW(item(id), TBM_GETRANGEMIN, 0, 0));
}

int Win32DialogControls::trackbarHigh(int id) const
{
    return static_cast<int>(SendMessageW(item(id), TBM_GETRANGEMAX, 0, 0));
}

void Win32DialogControls::setTrackbarPosition(int id, int position)
{
    HWND trackbar = item(id);
    SendMessageW(trackbar, TBM_SETPOS, TRUE, position);
    // The trackbar repaints only the thumb's old and new place; a skin's filled
    // channel between them must follow as well.
    InvalidateRect(trackbar, nullptr, FALSE);
}

int Win32DialogControls::trackbarPosition(int id) const
{
    return static_cast<int>(SendMessageW(item(id), TBM_GETPOS, 0, 0));
}

void Win32DialogControls::setChecked(int id, bool checked)
{
    SendMessageW(item(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool Win32DialogControls::checked(int id) const
{
    return SendMessageW(item(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32DialogControls::setToolTip(int id, const std::string& text)
{
    HWND control = item(id);
    if (control == nullptr)
        return;
    if (toolTip_ == nullptr) {
        if (text.empty())
            return;
        toolTip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog_, nullptr,
                                   nullptr, nullptr);
        if (toolTip_ == nullptr)
            return;
        SendMessageW(toolTip_, TTM_SETMAXTIPWIDTH, 0, 400);  // long reasons wrap
    }
    // Static controls let the pointer through unless they notify.
    if (!text.empty())
        SetWindowLongPtrW(control, GWL_STYLE, GetWindowLongPtrW(control, GWL_STYLE) | SS_NOTIFY);
    std::wstring wide = widen(text);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = dialog_;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = wide.data();
    SendMessageW(toolTip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    if (!text.empty())
        SendMessageW(toolTip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void Win32DialogControls::show(int id, bool visible)
{
    if (HWND control = item(id))
        ShowWindow(control, visible ? SW_SHOWNORMAL : SW_HIDE);
}

bool Win32DialogControls::shown(int id) const
{
    // The control's own style, whether or not the window is on screen yet.
    HWND control = item(id);
    return control != nullptr && (GetWindowLongPtrW(control, GWL_STYLE) & WS_VISIBLE) != 0;
}

void Win32DialogControls::enable(int id, bool enabled)
{
    if (HWND control = item(id))
        EnableWindow(control, enabled ? TRUE : FALSE);
}

bool Win32DialogControls::enabled(int id) const
{
    HWND control = item(id);
    return control != nullptr && IsWindowEnabled(control) != FALSE;
}

void Win32DialogControls::focus(int id)
{
    if (HWND control = item(id))
        SetFocus(control);
}

bool Win32DialogControls::focused(int id) const
{
    HWND control = item(id);
    return control != nullptr && GetFocus() == control;
}

void Win32DialogControls::clearList(int id)
{
    SendMessageW(item(id), CB_RESETCONTENT, 0, 0);
}

void Win32DialogControls::insertListItem(int id, int row, const std::string& text)
{
    // CB_INSERTSTRING keeps the row given even in a sorted list: the behaviour has
    // already found the sorted place.
    const std::wstring wide = widen(text);
    SendMessageW(item(id), CB_INSERTSTRING, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(wide.c_str()));
}

int Win32DialogControls::listCount(int id) const
{
    const LRESULT count = SendMessageW(item(id), CB_GETCOUNT, 0, 0);
    return count > 0 ? static_cast<int>(count) : 0;
}

std::string Win32DialogControls::listItem(int id, int row) const
{
    HWND list = item(id);
    const LRESULT length = SendMessageW(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(row), 0);
    if (length <= 0)
        return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied =
        SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return narrow(text);
}

void Win32DialogControls::setListSelection(int id, int row)
{
    SendMessageW(item(id), CB_SETCURSEL, static_cast<WPARAM>(row), 0);
}

int Win32DialogControls::listSelection(int id) const
{
    HWND list = item(id);
    if (list == nullptr)
        return -1;
    const LRESULT row = SendMessageW(list, CB_GETCURSEL, 0, 0);
    return row == CB_ERR ? -1 : static_cast<int>(row);
}

}  // namespace quorlin::win32
