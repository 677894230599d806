#pragma once
// The hidden receiver of USB plug and unplug events, the part every front end shares:
// it takes the events its source has waiting, turns each into the design's record and
// hands arrivals and removals to handleDeviceChange. The front end watches fd() on the
// window thread and calls handlePendingEvents when it is readable.

#include "platform/usb_event_source.h"

#include <iosfwd>
#include <memory>

namespace quorlin {

class CWholeData;

class NotifyWindow {
public:
    // `source` is usually a UdevMonitor; `out` receives the "usb arrival"/"usb remove"
    // lines.
    NotifyWindow(CWholeData& data, std::ostream& out, std::unique_ptr<UsbEventSource> source);
    ~NotifyWindow();
    NotifyWindow(const NotifyWindow&) = delete;
    NotifyWindow& operator=(const NotifyWindow&) = delete;

    // The descriptor to watch; -1 when there is none, and then no plug or unplug is
    // ever noticed.
    int fd() const;

    // Handles the events waiting now, at most kMaxEventsPerWake of them (the rest keep
    // the descriptor readable, so a flood cannot stall the window thread). Returns how
    // many arrivals and removals were handled.
    int handlePendingEvents();

    static constexpr int kMaxEventsPerWake = 64;

private:
    CWholeData& data_;
    std::ostream& out_;
    std::unique_ptr<UsbEventSource> source_;
};

}  // namespace quorlin
