#pragma once
// USB device arrivals and removals from the udev daemon (subsystem "usb", device type
// "usb_device": one event per physical device, not per interface).

#include "platform/usb_event_source.h"

struct udev;
struct udev_monitor;

namespace quorlin {

class UdevMonitor : public UsbEventSource {
public:
    // Set-up failures (no udev, no netlink permission) are silent: the monitor then
    // has no descriptor and reports no events.
    UdevMonitor();
    UdevMonitor(const UdevMonitor&) = delete;
    UdevMonitor& operator=(const UdevMonitor&) = delete;
    ~UdevMonitor() override;

    int fd() const override { return fd_; }
    std::optional<UsbDeviceEvent> receive() override;

private:
    udev* udev_ = nullptr;
    udev_monitor* monitor_ = nullptr;
    int fd_ = -1;
};

}  // namespace quorlin
