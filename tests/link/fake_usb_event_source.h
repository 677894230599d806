#pragma once
// A USB event source that plugs and unplugs on demand. Its descriptor (an eventfd)
// stays readable while events wait, as a udev monitor's socket does.

#include "platform/usb_event_source.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>
#include <deque>

namespace quorlin::test {

class FakeUsbEventSource : public UsbEventSource {
public:
    explicit FakeUsbEventSource(bool working = true) : fd_(working ? eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC) : -1) {}
    ~FakeUsbEventSource() override { if (fd_ >= 0) close(fd_); }
    int fd() const override { return fd_; }

    std::optional<UsbDeviceEvent> receive() override
    {
        if (pending_.empty()) {
            std::uint64_t count;
            if (fd_ >= 0)
                (void)!read(fd_, &count, sizeof count);  // drained: no longer readable
            return std::nullopt;
        }
        UsbDeviceEvent event = std::move(pending_.front());
        pending_.pop_front();
        return event;
    }

    void push(UsbDeviceEvent event)
    {
        pending_.push_back(std::move(event));
        const std::uint64_t one = 1;
        if (fd_ >= 0 && write(fd_, &one, sizeof one) < 0)
            pending_.pop_back();
    }
    // A device as udev describes it; the light unless told otherwise.
    static UsbDeviceEvent device(std::string action, std::string vendor = "5046", std::string model = "5631")
    {
        return {std::move(action), {{"ID_VENDOR_ID", vendor}, {"ID_MODEL_ID", model}, {"ID_SERIAL_SHORT", "QS1"}}};
    }
    void plug() { push(device("add")); }
    void unplug() { push(device("remove")); }

private:
    int fd_;
    std::deque<UsbDeviceEvent> pending_;
};

}  // namespace quorlin::test
