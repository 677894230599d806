#pragma once
// Where USB plug and unplug events come from: udev on a real system, a scripted
// source in tests.

#include <map>
#include <optional>
#include <string>

namespace quorlin {

// One event as udev tells it: the action ("add", "remove", "bind", ...) and the
// device's properties. The values come from outside the program and may be anything.
struct UsbDeviceEvent {
    std::string action;
    std::map<std::string, std::string> properties;
};

class UsbEventSource {
public:
    virtual ~UsbEventSource() = default;
    // A non-blocking descriptor that turns readable while events wait, or -1 when
    // the source could not be set up (then no event ever comes).
    virtual int fd() const = 0;
    // The next waiting event, or nothing when none waits or reading failed. Never
    // blocks.
    virtual std::optional<UsbDeviceEvent> receive() = 0;
};

}  // namespace quorlin
