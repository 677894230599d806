#pragma once
// The window's controls as the behaviour addresses them, over a Win32 dialog: each id
// is the dialog item of that id, reached with the control's own messages. Texts cross
// here from UTF-8 to UTF-16 and back.

#include "window/dialog_controls.h"

#include <windows.h>

namespace quorlin::win32 {

class Win32DialogControls final : public DialogControls {
public:
    // The dialog whose items these are; set once it exists.
    void attach(HWND dialog) { dialog_ = dialog; }
    HWND item(int id) const;

    void setCaption(const std::string& text) override;
    std::string caption() const override;

    void setText(int id, const std::string& text) override;
    std::string text(int id) const override;
    void placeCaretAtEnd(int id) override;

    void setTrackbarRange(int id, int low, int high) override;
    int trackbarLow(int id) const override;
    int trackbarHigh(int id) const override;
    void setTrackbarPosition(int id, int position) override;
    int trackbarPosition(int id) const override;

    void setChecked(int id, bool checked) override;
    bool checked(int id) const override;

    // One tooltip window for the dialog, made on first use; each control is a tool
    // found by its window (the tooltip subclasses it to see the pointer).
    void setToolTip(int id, const std::string& text) override;

    void show(int id, bool visible) override;
    bool shown(int id) const override;
    void enable(int id, bool enabled) override;
    bool enabled(int id) const override;
    void focus(int id) override;
    bool focused(int id) const override;

    void clearList(int id) override;
    void insertListItem(int id, int row, const std::string& text) override;
    int listCount(int id) const override;
    std::string listItem(int id, int row) const override;
    void setListSelection(int id, int row) override;
    int listSelection(int id) const override;

private:
    static std::string windowText(HWND window);
    static void setWindowText(HWND window, const std::string& text);

    HWND dialog_ = nullptr;
    HWND toolTip_ = nullptr;
};

}  // namespace quorlin::win32
