#pragma once
// Whatever a front end keeps alive while it watches for plug and unplug events: the
// udev watch on Linux, the hidden notification window on Windows.

namespace quorlin {

class DeviceEventWatch {
public:
    virtual ~DeviceEventWatch() = default;
};

}  // namespace quorlin
