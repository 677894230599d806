#include "ui/win32/usb_watch.h"

#include "link/device_event_watch.h"

namespace quorlin::win32 {
namespace {

class UsbWatch final : public DeviceEventWatch {
public:
    explicit UsbWatch(UsbNotifyHandle window) : window_(std::move(window)) {}

private:
    UsbNotifyHandle window_;
};

}  // namespace

std::unique_ptr<DeviceEventWatch> createUsbWatch(CWholeData& data, std::ostream& out)
{
    UsbNotifyHandle window = createUsbNotifyWindow(data, out);
    if (!window)
        return nullptr;
    return std::make_unique<UsbWatch>(std::move(window));
}

}  // namespace quorlin::win32
