#include "link/device_notifications.h"

#include "link/device_broadcast.h"
#include "shell/whole_data.h"

#include <cstring>
#include <ostream>
#include <string>

namespace quorlin {
namespace {

constexpr const char* kLightVendor = "VID_5046";
constexpr const char* kLightProduct = "PID_5631";

std::uint32_t field(const void* record, std::size_t offset)
{
    std::uint32_t value;
    std::memcpy(&value, static_cast<const char*>(record) + offset, sizeof value);
    return value;
}

void reportDevice(CWholeData& data, const void* record, const char* what, std::ostream& out)
{
    if (field(record, kBroadcastTypeOffset) != DBT_DEVTYP_DEVICEINTERFACE)
        return;
    const std::uint32_t size = field(record, kBroadcastSizeOffset);
    const char* text = static_cast<const char*>(record) + kBroadcastNameOffset;
    const std::size_t room = size > kBroadcastNameOffset ? size - kBroadcastNameOffset : 0;
    const std::string name(text, strnlen(text, room));
    out << what << name << std::endl;
    if (!name.empty() && name.find(kLightVendor) != std::string::npos
        && name.find(kLightProduct) != std::string::npos)
        data.reconnectRequested = 1;
}

}  // namespace

void handleDeviceChange(CWholeData& data, std::uintptr_t wParam, const void* lParam, std::ostream& out)
{
    if (wParam == DBT_DEVICEREMOVECOMPLETE) {
        data.linkBusy = 1;
        if (lParam != nullptr)
            reportDevice(data, lParam, "usb remove", out);
        data.linkBusy = 0;
    } else if (wParam == DBT_DEVICEARRIVAL) {
        data.linkUsable = 0;
        if (lParam != nullptr)
            reportDevice(data, lParam, "usb arrival", out);
        data.linkUsable = 1;
    }
}

}  // namespace quorlin
