#pragma once
// The hidden receiver of USB plug and unplug events. It watches its event source's
// descriptor on the thread that creates it (the window thread) and hands every
// arrival and removal to handleDeviceChange there.

#include "platform/usb_event_source.h"

#include <QObject>

#include <iosfwd>
#include <memory>

class QSocketNotifier;

namespace quorlin {

class CWholeData;

class NotifyWindow : public QObject {
    Q_OBJECT

public:
    // `source` is usually a UdevMonitor; `out` receives the "usb arrival"/"usb remove"
    // lines. Starts watching at once (see registerUsbNotification).
    NotifyWindow(CWholeData& data, std::ostream& out, std::unique_ptr<UsbEventSource> source,
                 QObject* parent = nullptr);
    ~NotifyWindow() override;

    // Watches the source's descriptor; false when the source has none, and then no
    // plug or unplug is ever noticed. Calling it again changes nothing.
    bool registerUsbNotification();

    // Handles the events waiting now, at most kMaxEventsPerWake of them (the rest
    // wake the notifier again, so a flood cannot stall the window thread). Returns
    // how many arrivals and removals were handled.
    int handlePendingEvents();

    static constexpr int kMaxEventsPerWake = 64;

signals:
    // After each arrival or removal has been handled.
    void deviceChangeHandled(quintptr wParam);

private:
    CWholeData& data_;
    std::ostream& out_;
    std::unique_ptr<UsbEventSource> source_;
    // Declared after the source so that it stops watching before the descriptor closes.
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace quorlin
