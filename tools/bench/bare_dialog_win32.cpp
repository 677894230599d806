// A bare Win32 dialog the size of the main window (320 x 200 dialog units, MS Shell
// Dlg 9 pt, one static text): what quorlin-demo.exe's start-up and memory are
// compared with under Wine (run-wine). Modeless, so that it lives like the main window.
#include <windows.h>

#include "bare_dialog_win32_ids.h"

namespace {

INT_PTR CALLBACK barePage(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_CLOSE || (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL)) {
        DestroyWindow(dialog);
        return TRUE;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return TRUE;
    }
    return message == WM_INITDIALOG;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show)
{
    HWND dialog = CreateDialogW(instance, MAKEINTRESOURCEW(IDD_BARE_DIALOG), nullptr, barePage);
    if (!dialog)
        return 1;
    ShowWindow(dialog, show);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageW(dialog, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return 0;
}
