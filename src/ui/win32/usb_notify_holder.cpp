#include "platform/windows/usb_notify_window.h"
#include "ui/win32/usb_watch.h"

namespace quorlin::win32 {

struct UsbNotifyHolder {
    UsbNotifyHolder(CWholeData& data, std::ostream& out) : window(data, out) {}
    NotifyWindow window;
};

void UsbNotifyHolderDelete::operator()(UsbNotifyHolder* holder) const
{
    delete holder;
}

UsbNotifyHandle createUsbNotifyWindow(CWholeData& data, std::ostream& out)
{
    UsbNotifyHandle holder(new UsbNotifyHolder(data, out));
    if (!holder->window.created())
        return nullptr;
    return holder;
}

}  // namespace quorlin::win32
