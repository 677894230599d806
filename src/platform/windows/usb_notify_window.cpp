#include "platform/windows/usb_notify_window.h"

#include "link/device_notifications.h"

#include <windows.h>
#include <dbt.h>

namespace quorlin {
namespace {

// GUID_DEVINTERFACE_USB_DEVICE, spelled out so that no extra import library is needed.
constexpr GUID kUsbDeviceInterface = {0xA5DCBF10, 0x6530, 0x11D2, {0x90, 0x1F, 0x00, 0xC0, 0x4F, 0xB9, 0x51, 0xED}};

LRESULT CALLBACK notifyWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<NotifyWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self != nullptr && message == WM_DEVICECHANGE)
        self->receive(message, wParam, lParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

bool registerClassOnce(HINSTANCE instance)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = notifyWndProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = NotifyWindow::kClassName;
    return RegisterClassA(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

NotifyWindow::NotifyWindow(CWholeData& data, std::ostream& out, std::function<void(std::uintptr_t)> handled)
    : data_(data), out_(out), handled_(std::move(handled))
{
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    if (!registerClassOnce(instance))
        return;
    // Top-level and never shown: a hidden window still gets device broadcasts.
    window_ = CreateWindowExA(0, kClassName, "", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, nullptr, nullptr, instance, this);
    if (window_ != nullptr)
        registerUsbNotification();
}

NotifyWindow::~NotifyWindow()
{
    if (registration_ != nullptr)
        UnregisterDeviceNotification(static_cast<HDEVNOTIFY>(registration_));
    if (window_ != nullptr) {
        // No message may reach a destroyed object.
        SetWindowLongPtrA(static_cast<HWND>(window_), GWLP_USERDATA, 0);
        DestroyWindow(static_cast<HWND>(window_));
    }
}

bool NotifyWindow::registerUsbNotification()
{
    DEV_BROADCAST_DEVICEINTERFACE_A filter{};
    filter.dbcc_size = sizeof filter;
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    filter.dbcc_classguid = kUsbDeviceInterface;
    registration_ = RegisterDeviceNotificationA(static_cast<HWND>(window_), &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
    return registration_ != nullptr;
}

std::intptr_t NotifyWindow::receive(unsigned message, std::uintptr_t wParam, std::intptr_t lParam)
{
    if (message != WM_DEVICECHANGE || (wParam != DBT_DEVICEARRIVAL && wParam != DBT_DEVICEREMOVECOMPLETE))
        return 0;
    handleDeviceChange(data_, wParam, reinterpret_cast<const void*>(lParam), out_);
    if (handled_)
        handled_(wParam);
    return 0;
}

}  // namespace quorlin
