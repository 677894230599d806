#pragma once
// What a USB plug or unplug does to the link: a short hold on device traffic while
// the event is handled, one diagnostic line, and a reconnect request when the event
// concerns the light.

#include <cstdint>
#include <iosfwd>

namespace quorlin {

class CWholeData;

// Window thread. `wParam` is the event kind (DBT_DEVICEARRIVAL,
// DBT_DEVICEREMOVECOMPLETE; anything else is ignored), `lParam` a broadcast record
// (link/device_broadcast.h) or null. A removal holds linkBusy at 1 and an arrival
// holds linkUsable at 0 while the event is handled; both end released, whatever the
// record says. Only a device interface record writes "usb remove"/"usb arrival" and
// its name as one line to `out`, and only a name containing both "VID_5046" and
// "PID_5631" (case-sensitive) sets reconnectRequested. The name is never read past
// the size the record states.
void handleDeviceChange(CWholeData& data, std::uintptr_t wParam, const void* lParam, std::ostream& out);

}  // namespace quorlin
