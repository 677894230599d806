// readback.exe: what a black-box test needs to know of another program's dialog,
// read from outside with window messages, one line per control.
//
//   readback [--class NAME] [--title TEXT] [--wait MS] [--visible] [--id N] [--focus]
//            [--fit FACE,POINTS]
//
// Finds the top-level window by class and/or title (waiting up to MS for it; with
// --visible, for it to be shown too: a dialog exists before it is on the screen), then
// prints a line for the window itself (id "window") and one per direct child in
// z-order, tab-separated:
//
//   ID  CLASS  visible=0|1  enabled=0|1  rect=X,Y,W,H  [kind fields]  text=TEXT
//
// rect is in the window's client coordinates. Kind fields: trackbars
// `pos=N range=MIN..MAX`, combo boxes `selected=N items=A|B|C`, check boxes and radio
// buttons `check=0|1|2`. Texts are UTF-8 with \ | tab and line breaks escaped as
// \\ \| \t \n \r. Exit 1 when no such window appears, 2 on a usage error.
//
// --focus prints only the control that has the keyboard focus (exit 3 when none of the
// window's controls has it). --fit measures each control's text as the window draws it
// and adds `need=W,H room=W,H fits=0|1` (pixels) to the lines of controls that show
// text: statics, buttons, edits, and every item of a combo box. Another process's font
// cannot be asked for (Wine answers no WM_GETFONT across processes), so the font is made
// as the dialog manager makes a template's: FACE at POINTS at the screen's resolution.

#include <windows.h>
#include <commctrl.h>

#include "fit.h"

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr UINT kMessageTimeoutMs = 2000;
constexpr int kPollMs = 50;

struct Options {
    const wchar_t* className = nullptr;
    const wchar_t* title = nullptr;
    int waitMs = 0;
    int onlyId = -1;
    bool visible = false;
    bool focus = false;
    const wchar_t* fitFont = nullptr;
    bool valid = true;
};

Options parse(int argc, wchar_t** argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::wstring arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == L"--class" && hasValue)
            options.className = argv[++i];
        else if (arg == L"--title" && hasValue)
            options.title = argv[++i];
        else if (arg == L"--wait" && hasValue)
            options.waitMs = _wtoi(argv[++i]);
        else if (arg == L"--visible")
            options.visible = true;
        else if (arg == L"--id" && hasValue)
            options.onlyId = _wtoi(argv[++i]);
        else if (arg == L"--focus")
            options.focus = true;
        else if (arg == L"--fit" && hasValue)
            options.fitFont = argv[++i];
        else
            options.valid = false;
    }
    if (options.className == nullptr && options.title == nullptr)
        options.valid = false;
    return options;
}

std::string utf8(const std::wstring& text)
{
    if (text.empty())
        return {};
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string out(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), length, nullptr,
                        nullptr);
    return out;
}

std::string escaped(const std::wstring& text)
{
    std::string out;
    for (const char c : utf8(text)) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '|': out += "\\|"; break;
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out += c; break;
        }
    }
    return out;
}

// A message to another process's window that cannot hang the reader.
LRESULT ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &result))
        return -1;
    return static_cast<LRESULT>(result);
}

std::wstring windowText(HWND window)
{
    const LRESULT length = ask(window, WM_GETTEXTLENGTH);
    if (length <= 0)
        return {};
    std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT got = ask(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
    return got > 0 ? std::wstring(buffer.data(), static_cast<std::size_t>(got)) : std::wstring();
}

std::wstring classOf(HWND window)
{
    wchar_t name[256] = L"";
    GetClassNameW(window, name, 256);
    return name;
}

std::vector<std::wstring> comboItems(HWND combo)
{
    const LRESULT count = ask(combo, CB_GETCOUNT);
    std::vector<std::wstring> items;
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = ask(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i));
        std::wstring item;
        if (length > 0) {
            std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1, L'\0');
            if (ask(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buffer.data())) > 0)
                item = buffer.data();
        }
        items.push_back(item);
    }
    return items;
}

std::string comboFields(HWND combo, const std::vector<std::wstring>& items)
{
    std::string list;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0)
            list += '|';
        list += escaped(items[i]);
    }
    std::string fields = "\tselected=";
    fields += std::to_string(ask(combo, CB_GETCURSEL));
    fields += "\titems=";
    return fields + list;
}

std::string trackbarFields(HWND trackbar)
{
    return "\tpos=" + std::to_string(ask(trackbar, TBM_GETPOS)) + "\trange=" +
           std::to_string(ask(trackbar, TBM_GETRANGEMIN)) + ".." + std::to_string(ask(trackbar, TBM_GETRANGEMAX));
}

std::string buttonFields(HWND button)
{
    const LONG_PTR style = GetWindowLongPtrW(button, GWL_STYLE) & BS_TYPEMASK;
    switch (style) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
        return "\tcheck=" + std::to_string(ask(button, BM_GETCHECK));
    default:
        return {};
    }
}

std::string line(HWND window, HWND parent, const std::string& id, const quorlin::readback::TextFit* fit)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
    const std::wstring kind = classOf(window);
    char head[160];
    std::snprintf(head, sizeof head, "\tvisible=%d\tenabled=%d\trect=%ld,%ld,%ld,%ld", IsWindowVisible(window) ? 1 : 0,
                  IsWindowEnabled(window) ? 1 : 0, rect.left, rect.top, rect.right - rect.left,
                  rect.bottom - rect.top);
    std::string text = id + "\t" + escaped(kind) + head;
    const std::wstring own = windowText(window);
    std::vector<std::wstring> shown{own};
    if (_wcsicmp(kind.c_str(), TRACKBAR_CLASSW) == 0) {
        text += trackbarFields(window);
    } else if (_wcsicmp(kind.c_str(), WC_COMBOBOXW) == 0) {
        shown = comboItems(window);
        text += comboFields(window, shown);
    } else if (_wcsicmp(kind.c_str(), WC_BUTTONW) == 0) {
        text += buttonFields(window);
    }
    if (fit != nullptr && window != parent)
        text += fit->fields(window, kind, shown);
    return text + "\ttext=" + escaped(own) + "\n";
}

// The window's control that has the keyboard focus, or null.
HWND focusedControl(HWND window)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) || info.hwndFocus == nullptr)
        return nullptr;
    HWND control = info.hwndFocus;
    // A combo box's edit or list: the combo box is the dialog's control.
    while (control != nullptr && GetParent(control) != window)
        control = GetParent(control);
    return control;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const Options options = parse(argc, argv);
    if (!options.valid) {
        std::fputs("usage: readback [--class NAME] [--title TEXT] [--wait MS] [--visible] [--id N] [--focus]\n"
                   "                [--fit FACE,POINTS]\n",
                   stderr);
        return 2;
    }
    HWND window = nullptr;
    for (int waited = 0;; waited += kPollMs) {
        window = FindWindowW(options.className, options.title);
        if (window != nullptr && options.visible && !IsWindowVisible(window))
            window = nullptr;
        if (window != nullptr || waited >= options.waitMs)
            break;
        Sleep(kPollMs);
    }
    if (window == nullptr) {
        std::fputs("readback: no such window\n", stderr);
        return 1;
    }
    std::string out;
    if (options.focus) {
        HWND control = focusedControl(window);
        if (control == nullptr) {
            std::fputs("readback: no control has the focus\n", stderr);
            return 3;
        }
        out = line(control, window, std::to_string(GetDlgCtrlID(control)), nullptr);
    } else {
        const quorlin::readback::TextFit fit(options.fitFont);
        if (options.fitFont != nullptr && !fit.valid()) {
            std::fputs("readback: --fit wants FACE,POINTS\n", stderr);
            return 2;
        }
        const quorlin::readback::TextFit* measure = options.fitFont != nullptr ? &fit : nullptr;
        // Client coordinates of the window itself: its rectangle relative to its client area.
        if (options.onlyId < 0)
            out = line(window, window, "window", measure);
        for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
            const int id = GetDlgCtrlID(child);
            if (options.onlyId < 0 || id == options.onlyId)
                out += line(child, window, std::to_string(id), measure);
        }
    }
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), out.data(), static_cast<DWORD>(out.size()), &written, nullptr);
    return 0;
}
