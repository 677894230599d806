#include "platform/linux/udev_monitor.h"

#include <fcntl.h>
#include <libudev.h>

namespace quorlin {
namespace {

bool makeNonBlocking(int fd)
{
    const int flags = fcntl(fd, F_GETFL);
    return flags >= 0 && (flags & O_NONBLOCK || fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0);
}

}  // namespace

UdevMonitor::UdevMonitor()
{
    udev_ = udev_new();
    if (udev_ == nullptr)
        return;
    monitor_ = udev_monitor_new_from_netlink(udev_, "udev");
    if (monitor_ == nullptr)
        return;
    if (udev_monitor_filter_add_match_subsystem_devtype(monitor_, "usb", "usb_device") < 0
        || udev_monitor_enable_receiving(monitor_) < 0)
        return;
    const int fd = udev_monitor_get_fd(monitor_);
    if (fd >= 0 && makeNonBlocking(fd))
        fd_ = fd;
}

UdevMonitor::~UdevMonitor()
{
    if (monitor_ != nullptr)
        udev_monitor_unref(monitor_);
    if (udev_ != nullptr)
        udev_unref(udev_);
}

std::optional<UsbDeviceEvent> UdevMonitor::receive()
{
    if (fd_ < 0)
        return std::nullopt;
    udev_device* device = udev_monitor_receive_device(monitor_);
    if (device == nullptr)
        return std::nullopt;
    UsbDeviceEvent event;
    if (const char* action = udev_device_get_action(device))
        event.action = action;
    udev_list_entry* entry = nullptr;
    udev_list_entry_foreach(entry, udev_device_get_properties_list_entry(device)) {
        const char* name = udev_list_entry_get_name(entry);
        const char* value = udev_list_entry_get_value(entry);
        if (name != nullptr)
            event.properties[name] = value != nullptr ? value : "";
    }
    udev_device_unref(device);
    return event;
}

}  // namespace quorlin
