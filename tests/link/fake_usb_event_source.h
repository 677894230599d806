#pragma once
// A USB event source fed by the test. Its descriptor (a semaphore eventfd) stays
// readable while events wait, as a udev monitor's socket does.

#include "platform/usb_event_source.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <deque>

namespace quorlin::test {

struct FakeUsbEventSource : UsbEventSource {
    explicit FakeUsbEventSource(bool working = true) : fd_(working ? eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC | EFD_SEMAPHORE) : -1) {}
    ~FakeUsbEventSource() override { if (fd_ >= 0) close(fd_); }
    int fd() const override { return fd_; }
    std::optional<UsbDeviceEvent> receive() override
    {
        eventfd_t one;
        if (pending_.empty() || eventfd_read(fd_, &one) != 0)
            return std::nullopt;
        std::optional<UsbDeviceEvent> event = std::move(pending_.front());
        pending_.pop_front();
        return event;
    }
    // Dropped when the source is not working, as nothing would ever read it.
    void push(UsbDeviceEvent event)
    {
        if (fd_ >= 0 && eventfd_write(fd_, 1) == 0)
            pending_.push_back(std::move(event));
    }
    // A device as udev describes it; the light unless told otherwise.
    static UsbDeviceEvent device(std::string action, std::string vendor = "5046", std::string model = "5631")
    {
        return {std::move(action), {{"ID_VENDOR_ID", vendor}, {"ID_MODEL_ID", model}, {"ID_SERIAL_SHORT", "QS1"}}};
    }
    const int fd_; std::deque<UsbDeviceEvent> pending_;
};

}  // namespace quorlin::test
