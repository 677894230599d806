#pragma once
// The main window on Win32: dialog 102 made modeless and run by its own message loop,
// so that the window's key presses and releases reach the behaviour's key step before
// the dialog manager sees them. The dialog procedure turns the controls' notifications
// into the behaviour's handlers; the behaviour itself is CQuorlinDlg.

#include "shell/quorlin_app.h"
#include "ui/win32/win32_dialog_controls.h"
#include "window/quorlin_dlg.h"

#include <windows.h>

#include <atomic>
#include <memory>

namespace quorlin::win32 {

class Win32Prompts;
class Win32Skin;

class Win32MainWindow {
public:
    // `prompts` and `skin` must outlive the window. Win32Prompts get the window as
    // the owner of their boxes while it lives.
    Win32MainWindow(HINSTANCE instance, const DialogServices& services, WindowPrompts& prompts, Win32Skin& skin);
    // Closes the window the way its close box does if it is still open.
    ~Win32MainWindow();
    Win32MainWindow(const Win32MainWindow&) = delete;
    Win32MainWindow& operator=(const Win32MainWindow&) = delete;

    // Creates the dialog; its initialisation starts the worker. False when the dialog
    // could not be made (then nothing else has happened).
    bool create();
    // Runs the window's messages until it has ended. A WM_QUIT that arrives meanwhile
    // closes the window in order and is posted again for the loop outside.
    void run();
    // One message of the loop: the key step, then the dialog manager, then dispatch.
    void handle(MSG& msg);

    // Closes through the close protocol: the behaviour stops the worker (handing over
    // its pending control changes meanwhile), then the window goes.
    void close();

    HWND hwnd() const { return hwnd_.load(); }
    bool ended() const { return ended_; }
    CQuorlinDlg* dlg() { return dlg_.get(); }
    Win32DialogControls& controls() { return controls_; }

private:
    static INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR onMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void onInitDialog(HWND dialog);
    bool onCommand(int id, int code);
    INT_PTR onNotify(const NMHDR& header);
    bool onPaint();
    void setResult(LRESULT result);
    void wakeUi();
    bool isOwnKeyMessage(const MSG& msg) const;
    bool isAltF4(const MSG& msg) const;

    void setPromptOwner(HWND owner);

    HINSTANCE instance_;
    DialogServices services_;
    WindowPrompts& prompts_;
    Win32Skin& skin_;
    Win32DialogControls controls_;
    std::atomic<HWND> hwnd_{nullptr};
    HICON bigIcon_ = nullptr;
    HICON smallIcon_ = nullptr;
    bool ended_ = false;
    std::unique_ptr<CQuorlinDlg> dlg_;
};

// The start-up's main window: a Win32MainWindow run until it ends.
class Win32MainWindowHost final : public MainWindowHost {
public:
    Win32MainWindowHost(HINSTANCE instance, Win32Prompts& prompts, Win32Skin& skin)
        : instance_(instance), prompts_(prompts), skin_(skin)
    {
    }
    void runMainWindow(const DialogServices& services) override;

private:
    HINSTANCE instance_;
    Win32Prompts& prompts_;
    Win32Skin& skin_;
};

}  // namespace quorlin::win32
