#include "link/notify_window.h"

#include "link/device_broadcast.h"
#include "link/device_notifications.h"

namespace quorlin {

NotifyWindow::NotifyWindow(CWholeData& data, std::ostream& out, std::unique_ptr<UsbEventSource> source)
    : data_(data), out_(out), source_(std::move(source))
{
}

NotifyWindow::~NotifyWindow() = default;

int NotifyWindow::fd() const
{
    return source_ ? source_->fd() : -1;
}

int NotifyWindow::handlePendingEvents()
{
    if (!source_)
        return 0;
    int handled = 0;
    for (int received = 0; received < kMaxEventsPerWake; ++received) {
        const auto event = source_->receive();
        if (!event)
            break;
        const auto change = deviceChangeFromUdev(*event);
        if (!change)
            continue;
        handleDeviceChange(data_, change->wParam, change->lParam(), out_);
        ++handled;
    }
    return handled;
}

}  // namespace quorlin
