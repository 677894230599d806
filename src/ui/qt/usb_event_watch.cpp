#include "ui/qt/usb_event_watch.h"

#include <QSocketNotifier>

namespace quorlin {

UsbEventWatch::UsbEventWatch(std::unique_ptr<NotifyWindow> receiver) : receiver_(std::move(receiver))
{
    if (!receiver_ || receiver_->fd() < 0)
        return;
    notifier_ = std::make_unique<QSocketNotifier>(receiver_->fd(), QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this,
            [this] { receiver_->handlePendingEvents(); });
}

UsbEventWatch::~UsbEventWatch() = default;

}  // namespace quorlin
