// udev records from outside the program into device-change records, and any
// record (with a truthful size) through the notification handling: the interface
// name keeps its four '#'-separated parts, only the light's ids ask for a
// reconnect, and no record is read past the size it states.
#include "link/device_broadcast.h"
#include "link/device_notifications.h"
#include "shell/whole_data.h"

#include "no_processes.h"
#include "platform/profile_store.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <sstream>

namespace {

using namespace quorlin;

const char* const kNames[] = {"ID_VENDOR_ID", "ID_MODEL_ID", "PRODUCT", "ID_SERIAL_SHORT", "DEVPATH", "OTHER"};

void checkRecord(const DeviceChange& change)
{
    const BroadcastRecord& record = change.record;
    std::uint32_t size = 0;
    std::memcpy(&size, record.data(), sizeof size);
    if (record.size() < kBroadcastMinSize || size != record.size() || record.back() != 0)
        std::abort();
    const std::string name(reinterpret_cast<const char*>(record.data()) + kBroadcastNameOffset);
    if (std::count(name.begin(), name.end(), '#') != 3 || !name.starts_with("\\\\?\\USB#"))
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    NoProcesses processes;
    CWholeData whole(processes, quorlin::systemProfileStore());
    whole.setLinkBusyUsable(0, 1);
    std::ostringstream out;

    UsbDeviceEvent event;
    event.action = input.PickValueInArray({"add", "remove", "bind", ""});
    for (int i = input.ConsumeIntegralInRange(0, 6); i > 0; --i)
        event.properties[input.PickValueInArray(kNames)] = input.ConsumeRandomLengthString(160);
    if (const auto change = deviceChangeFromUdev(event)) {
        checkRecord(*change);
        const std::string name = usbInterfaceName(event);
        whole.reconnectRequested = 0;
        handleDeviceChange(whole, change->wParam, change->lParam(), out);
        const bool light = name.find("VID_5046") != std::string::npos && name.find("PID_5631") != std::string::npos;
        if ((whole.reconnectRequested != 0) != light || whole.linkBusy != 0 || whole.linkUsable != 1)
            std::abort();
    }

    // A raw record: its own bytes, the size field set to the buffer's true length
    // or less (the system never states more than it hands over).
    std::vector<std::uint8_t> raw = input.ConsumeRemainingBytes<std::uint8_t>();
    if (raw.size() < kBroadcastNameOffset)
        raw.resize(kBroadcastNameOffset);
    std::uint32_t stated = 0;
    std::memcpy(&stated, raw.data(), sizeof stated);
    stated = std::min<std::uint32_t>(stated, static_cast<std::uint32_t>(raw.size()));
    std::memcpy(raw.data(), &stated, sizeof stated);
    // Exactly the buffer's length on the heap, so that a read past it is caught.
    std::unique_ptr<std::uint8_t[]> exact(new std::uint8_t[raw.size()]);
    std::memcpy(exact.get(), raw.data(), raw.size());
    handleDeviceChange(whole, raw[5] & 1 ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE, exact.get(), out);
    if (whole.linkBusy != 0 || whole.linkUsable != 1)
        std::abort();
    return 0;
}
