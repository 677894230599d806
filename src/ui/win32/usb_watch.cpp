#include "ui/win32/usb_watch.h"

#include "link/device_event_watch.h"
#include "platform/windows/usb_notify_window.h"

namespace quorlin::win32 {
namespace {

class UsbWatch final : public DeviceEventWatch {
public:
    UsbWatch(CWholeData& data, std::ostream& out) : window_(data, out) {}
    bool created() const { return window_.created(); }

private:
    NotifyWindow window_;
};

}  // namespace

std::unique_ptr<DeviceEventWatch> createUsbWatch(CWholeData& data, std::ostream& out)
{
    auto watch = std::make_unique<UsbWatch>(data, out);
    if (!watch->created())
        return nullptr;
    return watch;
}

}  // namespace quorlin::win32
