// Asks hidapi, through the program's own backend, for the light and says what it
// found. Under Wine 8 hidapi cannot start (Wine's cfgmgr32 lacks a function hidapi
// needs), and the probe says so; on Windows it lists the light's interfaces.
// Exit status 0 whenever the question could be asked.

#include "link/device_link.h"
#include "link/hid_api.h"

#include <cstdio>
#include <cwchar>

namespace {

void printHidapiError()
{
    const wchar_t* text = hid_error(nullptr);
    std::printf("hidapi says: %ls\n", text != nullptr ? text : L"(nothing)");
}

}  // namespace

int main()
{
    quorlin::HidApi& hid = quorlin::systemHidApi();
    if (hid.init() != 0) {
        std::printf("hid_init failed: no HID device can be listed\n");
        printHidapiError();
        return 0;
    }
    quorlin::HidDeviceInfo* devices =
        hid.enumerate(quorlin::DeviceLink::kVendorId, quorlin::DeviceLink::kProductId);
    int count = 0;
    for (const quorlin::HidDeviceInfo* node = devices; node != nullptr; node = node->next) {
        ++count;
        std::printf("interface %d: %s (usage page 0x%04x)\n", node->interface_number, node->path,
                    static_cast<unsigned>(node->usage_page));
    }
    std::printf("%d interface(s) of %04x:%04x found\n", count, quorlin::DeviceLink::kVendorId,
                quorlin::DeviceLink::kProductId);
    if (count == 0)
        printHidapiError();
    hid.freeEnumeration(devices);
    hid.exit();
    return 0;
}
