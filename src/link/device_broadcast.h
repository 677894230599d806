#pragma once
// Device-change records in the Windows broadcast layout (DEV_BROADCAST_DEVICEINTERFACE_A),
// so that the notification handling reads them as the original system did:
//   bytes  0..3   record size (the whole record, name and its terminator included)
//   bytes  4..7   device type
//   bytes  8..11  reserved, 0
//   bytes 12..27  interface class GUID
//   bytes 28..    the interface name, 8-bit text ending in a zero byte
// The 32-bit fields are in host byte order.

#include "platform/usb_event_source.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorlin {

// Event kinds (the notification's wParam).
constexpr std::uintptr_t DBT_DEVICEARRIVAL = 0x8000;
constexpr std::uintptr_t DBT_DEVICEREMOVECOMPLETE = 0x8004;

// Device types (the record's second field).
constexpr std::uint32_t DBT_DEVTYP_VOLUME = 2;
constexpr std::uint32_t DBT_DEVTYP_PORT = 3;
constexpr std::uint32_t DBT_DEVTYP_DEVICEINTERFACE = 5;

constexpr std::size_t kBroadcastSizeOffset = 0;
constexpr std::size_t kBroadcastTypeOffset = 4;
constexpr std::size_t kBroadcastGuidOffset = 12;
constexpr std::size_t kBroadcastNameOffset = 28;
// The smallest record: the header and a one-byte name, padded to 32 bytes.
constexpr std::size_t kBroadcastMinSize = 32;

using BroadcastRecord = std::vector<std::uint8_t>;

// A record of `deviceType` carrying `name` (cut at its first zero byte) and the USB
// device interface class GUID. Never fails.
BroadcastRecord makeBroadcastRecord(std::uint32_t deviceType, std::string_view name);

// An arrival or removal as the notification handling receives it.
struct DeviceChange {
    std::uintptr_t wParam;
    BroadcastRecord record;
    const void* lParam() const { return record.data(); }
};

// The Windows device interface name of a USB device from its udev properties:
//   \\?\USB#VID_5046&PID_5631#<serial>#{a5dcbf10-6530-11d2-901f-00c04fb951ed}
// Vendor and product come from ID_VENDOR_ID/ID_MODEL_ID, else from the kernel's
// PRODUCT ("5046/5631/100"); when neither pair is well formed the name says
// "UNKNOWN" in their place, so it matches no device. The serial is ID_SERIAL_SHORT,
// else the last element of DEVPATH, else "0"; characters that would break the name's '#'
// structure or are not printable ASCII become '_'.
std::string usbInterfaceName(const UsbDeviceEvent& event);

// "add" becomes an arrival, "remove" a removal, both of a device interface record
// named by usbInterfaceName; every other action gives nothing.
std::optional<DeviceChange> deviceChangeFromUdev(const UsbDeviceEvent& event);

}  // namespace quorlin
