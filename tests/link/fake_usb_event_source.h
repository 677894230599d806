#pragma once
// A USB event source fed by the test. Its descriptor (a semaphore eventfd) stays
// readable while events wait, as a udev monitor's socket does.

#include "platform/usb_event_source.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>
#include <deque>

namespace quorlin::test {

class FakeUsbEventSource : public UsbEventSource {
public:
    explicit FakeUsbEventSource(bool working = true)
        : fd_(working ? eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC | EFD_SEMAPHORE) : -1) {}
    ~FakeUsbEventSource() override { if (fd_ >= 0) close(fd_); }
    int fd() const override { return fd_; }

    std::optional<UsbDeviceEvent> receive() override
    {
        std::uint64_t one;
        if (pending_.empty() || read(fd_, &one, sizeof one) != sizeof one)
            return std::nullopt;
        UsbDeviceEvent event = std::move(pending_.front());
        pending_.pop_front();
        return event;
    }
    // Dropped when the source is not working, as nothing would ever read it.
    void push(UsbDeviceEvent event)
    {
        const std::uint64_t one = 1;
        if (fd_ >= 0 && write(fd_, &one, sizeof one) == sizeof one)
            pending_.push_back(std::move(event));
    }
    // A device as udev describes it; the light unless told otherwise.
    static UsbDeviceEvent device(std::string action, std::string vendor = "5046", std::string model = "5631")
    {
        return {std::move(action), {{"ID_VENDOR_ID", vendor}, {"ID_MODEL_ID", model}, {"ID_SERIAL_SHORT", "QS1"}}};
    }

private:
    int fd_;
    std::deque<UsbDeviceEvent> pending_;
};

}  // namespace quorlin::test
