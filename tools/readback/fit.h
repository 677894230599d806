#pragma once
// Whether a control's text fits the control, measured in readback's own process with a
// font made as the dialog manager makes a template's font (FACE at POINTS at the
// screen's resolution): Wine answers no WM_GETFONT across processes.

#include <windows.h>

#include <string>
#include <vector>

namespace quorlin::readback {

class TextFit {
public:
    // "FACE,POINTS", e.g. "MS Shell Dlg,9"; valid() is false for anything else.
    explicit TextFit(const wchar_t* faceAndPoints);
    ~TextFit();
    TextFit(const TextFit&) = delete;
    TextFit& operator=(const TextFit&) = delete;

    bool valid() const { return font_ != nullptr; }

    // "\tneed=W,H\troom=W,H\tfits=0|1" for a control of class `kind` showing `texts`
    // (its text, or a combo box's items: the widest counts); "" for a control that
    // shows no text.
    std::string fields(HWND control, const std::wstring& kind, const std::vector<std::wstring>& texts) const;

private:
    HDC dc_ = nullptr;
    HFONT font_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    int dpi_ = USER_DEFAULT_SCREEN_DPI;
};

}  // namespace quorlin::readback
