#include "ui/win32/win32_prompts.h"

#include "platform/windows/wide_text.h"
#include "ui/win32/win32_ids.h"
#include "ui/win32/win32_skin.h"

#include <commdlg.h>

#include <algorithm>

#include <string>
#include <vector>

namespace quorlin::win32 {
namespace {

// Room for a long path (\\?\ names reach 32767 characters).
constexpr std::size_t kPathBuffer = 32768;

struct AboutContext {
    const AboutBox* box;
    Win32Skin& skin;
};

}  // namespace

void Win32Prompts::message(const std::string& text)
{
    MessageBoxW(owner_, widen(text).c_str(), kCaption, MB_OK | MB_ICONWARNING);
}

bool Win32Prompts::confirm(const std::string& text)
{
    return MessageBoxW(owner_, widen(text).c_str(), kCaption, MB_OKCANCEL) == IDOK;
}

std::string Win32Prompts::openFile(const std::string& initialName, const std::string& filterName)
{
    // One filter, named `filterName`, that matches every file; a double-NUL ends it.
    const std::wstring name = widen(filterName);
    std::wstring filter = name;
    filter.push_back(L'\0');
    filter += L"*.*";
    filter.push_back(L'\0');
    filter.push_back(L'\0');

    std::vector<wchar_t> path(kPathBuffer, L'\0');
    const std::wstring initial = widen(initialName);
    std::copy_n(initial.begin(), std::min(initial.size(), kPathBuffer - 1), path.begin());

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = nullptr;  // no parent window, as the skin button's dialog has
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    dialog.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_EXPLORER | OFN_ENABLESIZING;
    if (!GetOpenFileNameW(&dialog))
        return {};
    return narrow(path.data());
}

void Win32Prompts::showAbout(const AboutBox& box)
{
    AboutContext context{&box, skin_};
    DialogBoxParamW(instance_, MAKEINTRESOURCEW(IDD_ABOUTBOX), nullptr, aboutProc,
                    reinterpret_cast<LPARAM>(&context));
}

INT_PTR CALLBACK Win32Prompts::aboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* context = reinterpret_cast<AboutContext*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG: {
        context = reinterpret_cast<AboutContext*>(lParam);
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        const AboutBox& box = *context->box;
        SetWindowTextW(dialog, widen(box.caption).c_str());
        SetDlgItemTextW(dialog, IDC_ABOUT_NAME, widen(box.nameAndVersion).c_str());
        SetDlgItemTextW(dialog, IDC_ABOUT_DESCRIPTION, widen(box.description).c_str());
        SetDlgItemTextW(dialog, IDOK, widen(box.okButton).c_str());
        context->skin.adopt(dialog);
        return TRUE;
    }
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        if (context != nullptr)
            return reinterpret_cast<INT_PTR>(
                context->skin.controlColour(message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
        return FALSE;
    case WM_DRAWITEM:
        return context != nullptr &&
               context->skin.drawButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    case WM_DESTROY:
        if (context != nullptr)
            context->skin.release(dialog);
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace quorlin::win32
