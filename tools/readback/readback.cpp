// readback.exe: what a black-box test needs to know of another program's dialog,
// read from outside with window messages, one line per control.
//
//   readback [--class NAME] [--title TEXT] [--wait MS] [--visible] [--id N]
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

#include <windows.h>
#include <commctrl.h>

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

std::string comboFields(HWND combo)
{
    const LRESULT count = ask(combo, CB_GETCOUNT);
    std::string items;
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = ask(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i));
        std::wstring item;
        if (length > 0) {
            std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1, L'\0');
            if (ask(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buffer.data())) > 0)
                item = buffer.data();
        }
        if (i > 0)
            items += '|';
        items += escaped(item);
    }
    std::string fields = "\tselected=";
    fields += std::to_string(ask(combo, CB_GETCURSEL));
    fields += "\titems=";
    return fields + items;
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

std::string line(HWND window, HWND parent, const std::string& id)
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
    if (_wcsicmp(kind.c_str(), TRACKBAR_CLASSW) == 0)
        text += trackbarFields(window);
    else if (_wcsicmp(kind.c_str(), WC_COMBOBOXW) == 0)
        text += comboFields(window);
    else if (_wcsicmp(kind.c_str(), WC_BUTTONW) == 0)
        text += buttonFields(window);
    return text + "\ttext=" + escaped(windowText(window)) + "\n";
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const Options options = parse(argc, argv);
    if (!options.valid) {
        std::fputs("usage: readback [--class NAME] [--title TEXT] [--wait MS] [--visible] [--id N]\n", stderr);
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
    // Client coordinates of the window itself: its rectangle relative to its client area.
    std::string out = options.onlyId < 0 ? line(window, window, "window") : std::string();
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        const int id = GetDlgCtrlID(child);
        if (options.onlyId < 0 || id == options.onlyId)
            out += line(child, window, std::to_string(id));
    }
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), out.data(), static_cast<DWORD>(out.size()), &written, nullptr);
    return 0;
}
