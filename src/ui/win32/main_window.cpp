#include "ui/win32/main_window.h"

#include "ui/win32/win32_ids.h"
#include "ui/win32/win32_prompts.h"
#include "ui/win32/win32_skin.h"

#include <iostream>

namespace quorlin::win32 {
namespace {

// String 101 is one short menu text.
constexpr int kMenuTextChars = 128;

KeyCode keyCode(WPARAM virtualKey)
{
    switch (virtualKey) {
    case VK_RETURN: return KeyCode::Enter;
    case 'A': return KeyCode::A;
    case 'C': return KeyCode::C;
    case 'P': return KeyCode::P;
    case 'F': return KeyCode::F;
    default: return KeyCode::Other;
    }
}

HICON loadIcon(HINSTANCE instance, int widthMetric, int heightMetric)
{
    return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_QUORLIN), IMAGE_ICON,
                                         GetSystemMetrics(widthMetric), GetSystemMetrics(heightMetric),
                                         LR_DEFAULTCOLOR));
}

}  // namespace

Win32MainWindow::Win32MainWindow(HINSTANCE instance, const DialogServices& services, WindowPrompts& prompts,
                                 Win32Skin& skin)
    : instance_(instance), services_(services), prompts_(prompts), skin_(skin)
{
}

Win32MainWindow::~Win32MainWindow()
{
    if (hwnd() != nullptr)
        close();
    dlg_.reset();  // stops a worker that is still running, before the controls go
    if (bigIcon_ != nullptr)
        DestroyIcon(bigIcon_);
    if (smallIcon_ != nullptr)
        DestroyIcon(smallIcon_);
}

bool Win32MainWindow::create()
{
    HWND dialog = CreateDialogParamW(instance_, MAKEINTRESOURCEW(IDD_QUORLIN_DIALOG), nullptr, dialogProc,
                                     reinterpret_cast<LPARAM>(this));
    return dialog != nullptr;
}

void Win32MainWindow::onInitDialog(HWND dialog)
{
    hwnd_ = dialog;
    controls_.attach(dialog);
    setPromptOwner(dialog);

    // The behaviour puts both trackbars at 0 and "0" into both number edits.
    dlg_ = std::make_unique<CQuorlinDlg>(services_, DialogFrontEnd{controls_, prompts_, skin_, [this] { wakeUi(); }});

    // The About item at the end of the window menu, after a separator.
    if (HMENU menu = GetSystemMenu(dialog, FALSE)) {
        wchar_t text[kMenuTextChars] = {};
        if (LoadStringW(instance_, IDS_ABOUTBOX, text, kMenuTextChars) > 0) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            AppendMenuW(menu, MF_STRING, IDM_ABOUTBOX, text);
        }
    }

    bigIcon_ = loadIcon(instance_, SM_CXICON, SM_CYICON);
    smallIcon_ = loadIcon(instance_, SM_CXSMICON, SM_CYSMICON);
    SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_));
    SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));

    skin_.adopt(dialog);
    dlg_->OnInitDialog();
}

void Win32MainWindow::setPromptOwner(HWND owner)
{
    if (auto* own = dynamic_cast<Win32Prompts*>(&prompts_))
        own->setOwner(owner);
}

void Win32MainWindow::wakeUi()
{
    // Any thread. Once the window is gone the behaviour has closed its caller, so a
    // wake that still comes finds no window and is dropped.
    if (HWND dialog = hwnd_.load())
        PostMessageW(dialog, kRunQueuedUiWork, 0, 0);
}

bool Win32MainWindow::isOwnKeyMessage(const MSG& msg) const
{
    if (msg.message != WM_KEYDOWN && msg.message != WM_KEYUP)
        return false;
    HWND dialog = hwnd();
    return dialog != nullptr && (msg.hwnd == dialog || IsChild(dialog, msg.hwnd));
}

bool Win32MainWindow::isAltF4(const MSG& msg) const
{
    HWND dialog = hwnd();
    return msg.message == WM_SYSKEYDOWN && msg.wParam == VK_F4 && (HIWORD(msg.lParam) & KF_ALTDOWN) &&
           dialog != nullptr && (msg.hwnd == dialog || IsChild(dialog, msg.hwnd));
}

void Win32MainWindow::handle(MSG& msg)
{
    if (isOwnKeyMessage(msg) && dlg_)
        dlg_->PreTranslateMessage(keyCode(msg.wParam));  // never swallows the key
    HWND dialog = hwnd();  // the key step may have ended the window (a logoff meanwhile)
    if (isAltF4(msg)) {
        // What the default window procedure does with Alt+F4, done here so that no
        // control keeps it (Wine's combo boxes do).
        PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        return;
    }
    if (dialog != nullptr && IsDialogMessageW(dialog, &msg))
        return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

void Win32MainWindow::run()
{
    MSG msg;
    while (!ended_) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            close();
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (got < 0)
            return;
        handle(msg);
    }
}

void Win32MainWindow::close()
{
    HWND dialog = hwnd();
    if (dialog == nullptr)
        return;
    if (dlg_)
        dlg_->OnClose();
    DestroyWindow(dialog);
}

void Win32MainWindowHost::runMainWindow(const DialogServices& services)
{
    Win32MainWindow window(instance_, services, prompts_, skin_);
    if (window.create())
        window.run();
    else
        std::cerr << "Quorlin: the main window cannot be created (error " << GetLastError() << ")" << std::endl;
}

}  // namespace quorlin::win32
