#pragma once
// What the Win32 window tests share: this program's resources, a bare dialog 102, and
// running the thread's messages until something has happened.

#include "window/front_end.h"

#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace quorlin::test {

inline HINSTANCE thisModule()
{
    return GetModuleHandleW(nullptr);
}

inline void registerCommonControls()
{
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
}

// Why a window could not be made, most often.
inline constexpr const char* kNeedsDisplay = "no window could be made: these tests need a display (xvfb-run ctest)";

// Dialog 102 with no behaviour behind it; records the notifications it gets.
class BareDialog {
public:
    BareDialog()
    {
        registerCommonControls();
        hwnd = CreateDialogParamW(thisModule(), MAKEINTRESOURCEW(102), nullptr, proc, reinterpret_cast<LPARAM>(this));
    }
    ~BareDialog()
    {
        if (hwnd != nullptr)
            DestroyWindow(hwnd);
    }
    BareDialog(const BareDialog&) = delete;
    BareDialog& operator=(const BareDialog&) = delete;

    HWND hwnd = nullptr;
    // (control id, notification code) of every WM_COMMAND from a control.
    std::vector<std::pair<int, int>> commands;

private:
    static INT_PTR CALLBACK proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_INITDIALOG) {
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            return TRUE;
        }
        auto* self = reinterpret_cast<BareDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
        if (message == WM_COMMAND && self != nullptr && lParam != 0)
            self->commands.emplace_back(LOWORD(wParam), HIWORD(wParam));
        return FALSE;
    }
};

// Runs the thread's messages through `handle` until `done` says so; false when
// `limitMs` passed first. The limit only guards against a hang.
inline bool pumpUntil(const std::function<bool()>& done, const std::function<void(MSG&)>& handle, int limitMs = 10000)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    while (!done()) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            handle(msg);
            if (done())
                return true;
        }
        if (std::chrono::steady_clock::now() > until)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

// Runs every message waiting now through `handle`.
inline void drain(const std::function<void(MSG&)>& handle)
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        handle(msg);
}

// The template rectangle in dialog units as pixels of `dialog`: place and size are
// converted each on its own, as the dialog manager does.
inline RECT templateRect(HWND dialog, int x, int y, int w, int h)
{
    RECT units{x, y, w, h};
    MapDialogRect(dialog, &units);
    return {units.left, units.top, units.left + units.right, units.top + units.bottom};
}

// Where `control` stands in its dialog's client area.
inline RECT placeInParent(HWND control)
{
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

inline std::wstring windowText(HWND window)
{
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

// Prompts that answer at once and remember what they were asked.
class RecordingPrompts final : public WindowPrompts {
public:
    void message(const std::string& text) override { messages.push_back(text); }
    bool confirm(const std::string& text) override
    {
        questions.push_back(text);
        return confirmAnswer;
    }
    std::string openFile(const std::string&, const std::string&) override { return chosenFile; }
    void showAbout(const AboutBox&) override { ++aboutShown; }

    std::vector<std::string> messages;
    std::vector<std::string> questions;
    bool confirmAnswer = false;
    std::string chosenFile;
    int aboutShown = 0;
};

}  // namespace quorlin::test
