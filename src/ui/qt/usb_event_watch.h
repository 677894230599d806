#pragma once
// USB plug and unplug events in Qt: the window thread's event loop watches the
// receiver's descriptor and lets it handle what waits whenever it turns readable.

#include "link/device_event_watch.h"
#include "link/notify_window.h"

#include <QObject>

#include <memory>

class QSocketNotifier;

namespace quorlin {

class UsbEventWatch final : public QObject, public DeviceEventWatch {
public:
    // Starts watching at once, on the calling thread; a receiver without a descriptor
    // is kept but never woken.
    explicit UsbEventWatch(std::unique_ptr<NotifyWindow> receiver);
    ~UsbEventWatch() override;

private:
    std::unique_ptr<NotifyWindow> receiver_;
    // Declared after the receiver so that it stops watching before the descriptor closes.
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace quorlin
