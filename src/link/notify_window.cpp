#include "link/notify_window.h"

#include "link/device_broadcast.h"
#include "link/device_notifications.h"

#include <QSocketNotifier>

namespace quorlin {

NotifyWindow::NotifyWindow(CWholeData& data, std::ostream& out, std::unique_ptr<UsbEventSource> source,
                           QObject* parent)
    : QObject(parent), data_(data), out_(out), source_(std::move(source))
{
    registerUsbNotification();
}

NotifyWindow::~NotifyWindow() = default;

bool NotifyWindow::registerUsbNotification()
{
    if (notifier_)
        return true;
    if (!source_ || source_->fd() < 0)
        return false;
    notifier_ = std::make_unique<QSocketNotifier>(source_->fd(), QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { handlePendingEvents(); });
    return true;
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
        emit deviceChangeHandled(change->wParam);
    }
    return handled;
}

}  // namespace quorlin
