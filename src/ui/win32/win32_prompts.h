#pragma once
// The window's prompts on Win32: message boxes, the open-file dialog and the About box
// (dialog 100), all through the wide calls so that Chinese and Japanese texts show on
// any system code page.

#include "window/front_end.h"

#include <windows.h>

namespace quorlin::win32 {

class Win32Skin;

class Win32Prompts final : public WindowPrompts {
public:
    // `skin` colours the About box as it does the main window.
    Win32Prompts(HINSTANCE instance, Win32Skin& skin) : instance_(instance), skin_(skin) {}

    // The window the boxes belong to (they are modal to it); null before it exists.
    void setOwner(HWND owner) { owner_ = owner; }

    void message(const std::string& text) override;
    bool confirm(const std::string& text) override;
    std::string openFile(const std::string& initialName, const std::string& filterName) override;
    void showAbout(const AboutBox& box) override;

    // The caption of every box.
    static constexpr const wchar_t* kCaption = L"Quorlin";

private:
    static INT_PTR CALLBACK aboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

    HINSTANCE instance_;
    Win32Skin& skin_;
    HWND owner_ = nullptr;
};

}  // namespace quorlin::win32
