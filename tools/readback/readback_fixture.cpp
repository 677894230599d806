// readback-fixture.exe: a window with one control of each kind readback reports on, at
// known places and with known states, for readback's own check (check.sh). Ends on
// WM_CLOSE or after 60 s.

#include <windows.h>
#include <commctrl.h>

#include <initializer_list>

namespace {

constexpr UINT_PTR kLifeTimer = 1;
constexpr UINT kLifeMs = 60000;

LRESULT CALLBACK fixtureProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_TIMER:
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

HWND child(HWND parent, const wchar_t* kind, const wchar_t* text, DWORD style, int id, int x, int y, int w, int h)
{
    return CreateWindowExW(0, kind, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = fixtureProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"QuorlinReadbackFixture";
    RegisterClassW(&windowClass);
    // A top-level window that is never shown, as a program's notification window.
    WNDCLASSW hiddenClass{};
    hiddenClass.lpfnWndProc = DefWindowProcW;
    hiddenClass.hInstance = instance;
    hiddenClass.lpszClassName = L"QuorlinReadbackHidden";
    RegisterClassW(&hiddenClass);
    CreateWindowExW(0, hiddenClass.lpszClassName, L"", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                    CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);

    // Untitled until it is complete: a reader waiting for the title sees it whole.
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"", WS_OVERLAPPEDWINDOW, 40, 40, 400, 300, nullptr,
                                  nullptr, instance, nullptr);

    child(window, WC_STATICW, L"亮度\t50%", SS_LEFT, 1001, 10, 10, 120, 20);
    HWND trackbar = child(window, TRACKBAR_CLASSW, L"", TBS_HORZ, 1002, 10, 40, 200, 30);
    SendMessageW(trackbar, TBM_SETRANGE, TRUE, MAKELPARAM(0, 255));
    SendMessageW(trackbar, TBM_SETPOS, TRUE, 90);
    HWND combo = child(window, WC_COMBOBOXW, L"", CBS_DROPDOWNLIST | WS_VSCROLL, 1003, 10, 80, 150, 200);
    for (const wchar_t* item : {L"English", L"中文", L"a|b"})
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    SendMessageW(combo, CB_SETCURSEL, 1, 0);
    HWND check = child(window, WC_BUTTONW, L"Breathe", BS_AUTOCHECKBOX, 1004, 10, 120, 100, 20);
    SendMessageW(check, BM_SETCHECK, BST_CHECKED, 0);
    HWND button = child(window, WC_BUTTONW, L"&Apply", BS_PUSHBUTTON, 1005, 120, 120, 80, 24);
    EnableWindow(button, FALSE);
    HWND hidden = child(window, WC_EDITW, L"line 1\r\nline 2", ES_MULTILINE, 1006, 10, 160, 100, 40);
    ShowWindow(hidden, SW_HIDE);
    // A text far wider than its static, for --fit.
    child(window, WC_STATICW, L"A text far too long for forty pixels", SS_LEFT, 1007, 10, 210, 40, 20);

    ShowWindow(window, SW_SHOW);
    SetFocus(check);  // for --focus
    SetWindowTextW(window, L"读回 fixture");
    SetTimer(window, kLifeTimer, kLifeMs, nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
