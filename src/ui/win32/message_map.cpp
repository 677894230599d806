// Which message of the main window reaches which handler of the behaviour: the
// controls' notifications, the trackbars' scrolling and drawing, the window menu,
// the colours of the skin, and the ways the window is closed.
#include "ui/win32/disc_image.h"
#include "ui/win32/main_window.h"
#include "ui/win32/win32_ids.h"
#include "ui/win32/win32_prompts.h"
#include "ui/win32/win32_skin.h"

#include <commctrl.h>

namespace quorlin::win32 {
namespace {

// The low four bits of a system command are the system's own.
constexpr WPARAM kSystemCommandMask = 0xFFF0;

}  // namespace

INT_PTR CALLBACK Win32MainWindow::dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<Win32MainWindow*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<Win32MainWindow*>(lParam);
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        self->onInitDialog(dialog);
        return TRUE;  // the dialog manager gives the focus to the first control that takes it
    }
    if (self == nullptr || !self->dlg_)
        return FALSE;
    return self->onMessage(message, wParam, lParam);
}

void Win32MainWindow::setResult(LRESULT result)
{
    SetWindowLongPtrW(hwnd(), DWLP_MSGRESULT, result);
}

INT_PTR Win32MainWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case kRunQueuedUiWork:
        dlg_->RunQueuedUiWork();
        return TRUE;
    case WM_SYSCOMMAND:
        if ((wParam & kSystemCommandMask) == IDM_ABOUTBOX) {
            dlg_->OnSysCommand(static_cast<unsigned>(wParam));
            return TRUE;
        }
        return FALSE;  // minimise, move, close ... as usual
    case WM_PAINT:
        return onPaint();
    case WM_QUERYDRAGICON:
        return reinterpret_cast<INT_PTR>(bigIcon_);
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
        return reinterpret_cast<INT_PTR>(
            skin_.controlColour(message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item.CtlID == IDC_PIC_DISCONNECTED || item.CtlID == IDC_PIC_CONNECTED) {
            drawDisc(item.hDC, item.rcItem, item.CtlID == IDC_PIC_CONNECTED ? kConnectedGreen : kDisconnectedGrey,
                     skin_.windowBackground());
            return TRUE;
        }
        return skin_.drawButton(item);
    }
    case WM_DEVICECHANGE:
        // The hidden notification window handles the light's plug events.
        setResult(TRUE);
        return TRUE;
    case WM_NOTIFY:
        return onNotify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_HSCROLL: {
        HWND trackbar = reinterpret_cast<HWND>(lParam);
        InvalidateRect(trackbar, nullptr, FALSE);  // the filled part of the channel follows the thumb
        dlg_->OnHScroll(LOWORD(wParam), HIWORD(wParam), GetDlgCtrlID(trackbar));
        return TRUE;
    }
    case WM_COMMAND:
        return onCommand(LOWORD(wParam), HIWORD(wParam));
    case WM_CLOSE:
        close();
        return TRUE;
    case WM_ENDSESSION:
        // The system ends the process once this returns: close in order first.
        if (wParam != FALSE)
            close();
        setResult(0);
        return TRUE;
    case WM_DESTROY:
        skin_.release(hwnd());
        setPromptOwner(nullptr);
        return FALSE;
    case WM_NCDESTROY:
        hwnd_ = nullptr;
        controls_.attach(nullptr);
        ended_ = true;
        return FALSE;
    default:
        return FALSE;
    }
}

bool Win32MainWindow::onCommand(int id, int code)
{
    switch (id) {
    case IDOK:
        return true;  // Enter never closes the window; the key step has handled it
    case IDCANCEL:
        close();  // Escape goes the close box's way, so the worker is stopped
        return true;
    case IDC_EDIT_BRIGHTNESS:
        if (code == EN_SETFOCUS)
            dlg_->OnEnSetfocusBrightness();
        else if (code == EN_KILLFOCUS)
            dlg_->OnEnKillfocusBrightness();
        return true;
    case IDC_EDIT_BREATHING:
        if (code == EN_SETFOCUS)
            dlg_->OnEnSetfocusBreathing();
        else if (code == EN_KILLFOCUS)
            dlg_->OnEnKillfocusBreathing();
        return true;
    case IDC_COMBO_LANGUAGE:
        if (code == CBN_SELCHANGE)
            dlg_->OnCbnSelchangeLanguage();
        return true;
    default:
        break;
    }
    if (code != BN_CLICKED)
        return false;
    switch (id) {
    case IDC_RADIO_KEEP_ON: dlg_->OnBnClickedKeepOn(); return true;
    case IDC_RADIO_BREATHING: dlg_->OnBnClickedBreathing(); return true;
    case IDC_BUTTON_LOAD_SKIN: dlg_->OnBnClickedLoadSkin(); return true;
    case IDC_BUTTON_DEFAULT: dlg_->OnBnClickedDefault(); return true;
    case IDC_BUTTON_SET: dlg_->OnBnClickedSet(); return true;
    case IDC_BUTTON_LOS_CALC: dlg_->OnBnClickedLosCalc(); return true;
    case IDC_RADIO_MANUAL: dlg_->OnBnClickedManual(); return true;
    case IDC_RADIO_AUTO: dlg_->OnBnClickedAuto(); return true;
    default: return false;
    }
}

INT_PTR Win32MainWindow::onNotify(const NMHDR& header)
{
    if (header.code != static_cast<UINT>(NM_CUSTOMDRAW) ||
        (header.idFrom != IDC_SLIDER_BRIGHTNESS && header.idFrom != IDC_SLIDER_BREATHING))
        return FALSE;
    const auto& draw = reinterpret_cast<const NMCUSTOMDRAW&>(header);
    // Once per painting of the trackbar, not once per part of it.
    if (draw.dwDrawStage == CDDS_PREPAINT) {
        if (header.idFrom == IDC_SLIDER_BRIGHTNESS)
            dlg_->OnNMCustomdrawBrightness();
        else
            dlg_->OnNMCustomdrawBreathing();  // edit 1006 follows the trackbar
    }
    setResult(skin_.customDrawTrackbar(draw));
    return TRUE;
}

bool Win32MainWindow::onPaint()
{
    HWND dialog = hwnd();
    if (!IsIconic(dialog))
        return false;  // the controls and the skin give the window its look
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(dialog, &paint);
    SendMessageW(dialog, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client;
    GetClientRect(dialog, &client);
    const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, bigIcon_);
    EndPaint(dialog, &paint);
    return true;
}

}  // namespace quorlin::win32
