#pragma once
// NotifyWindow on Windows: the hidden top-level window "usb_test msg window" that
// the system tells about USB device interfaces coming and going. Every arrival and
// removal record goes to handleDeviceChange on the thread that made the window,
// which must pump messages (the main window's loop does).
//
// A message-only window would be simpler, but broadcasts never reach those.

#include <cstdint>
#include <functional>
#include <iosfwd>

namespace quorlin {

class CWholeData;

class NotifyWindow {
public:
    static constexpr const char* kClassName = "usb_test msg window";

    // Registers the class (once per process), makes the hidden window and registers
    // it for the USB device interface class. `out` gets the "usb arrival" and
    // "usb remove" lines; `handled` (optional) is called after each arrival or
    // removal has been handled, with its event kind.
    NotifyWindow(CWholeData& data, std::ostream& out, std::function<void(std::uintptr_t)> handled = {});
    // Withdraws the registration, then destroys the window. Same thread as made it.
    ~NotifyWindow();
    NotifyWindow(const NotifyWindow&) = delete;
    NotifyWindow& operator=(const NotifyWindow&) = delete;

    // False when the window could not be made: then no plug or unplug is noticed.
    bool created() const { return window_ != nullptr; }
    // False when the system gave no registration; the window may still receive
    // records sent to it directly.
    bool registered() const { return registration_ != nullptr; }
    void* handle() const { return window_; }  // HWND

    // The window procedure's work for one message; public for the procedure only.
    std::intptr_t receive(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);

private:
    bool registerUsbNotification();

    CWholeData& data_;
    std::ostream& out_;
    std::function<void(std::uintptr_t)> handled_;
    void* window_ = nullptr;        // HWND
    void* registration_ = nullptr;  // HDEVNOTIFY
};

}  // namespace quorlin
