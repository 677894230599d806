#include "link/device_broadcast.h"

#include <array>
#include <cstdio>
#include <cstring>

namespace quorlin {
namespace {

// {A5DCBF10-6530-11D2-901F-00C04FB951ED}, GUID_DEVINTERFACE_USB_DEVICE, laid out as
// Windows keeps a GUID: Data1..Data3 in host order, Data4 as bytes.
constexpr std::uint32_t kGuidData1 = 0xA5DCBF10;
constexpr std::uint16_t kGuidData2 = 0x6530;
constexpr std::uint16_t kGuidData3 = 0x11D2;
constexpr std::array<std::uint8_t, 8> kGuidData4 = {0x90, 0x1F, 0x00, 0xC0, 0x4F, 0xB9, 0x51, 0xED};
constexpr const char* kGuidText = "{a5dcbf10-6530-11d2-901f-00c04fb951ed}";

// Longer serials are cut: Windows device instance ids stay under 200 characters.
constexpr std::size_t kMaxSerialLength = 128;

template <typename T>
void put(BroadcastRecord& record, std::size_t offset, T value)
{
    std::memcpy(record.data() + offset, &value, sizeof value);
}

std::optional<std::uint16_t> parseHexId(std::string_view text)
{
    if (text.empty() || text.size() > 4)
        return std::nullopt;
    std::uint16_t value = 0;
    for (const char c : text) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return std::nullopt;
        value = static_cast<std::uint16_t>(value * 16 + digit);
    }
    return value;
}

std::string_view property(const UsbDeviceEvent& event, const char* name)
{
    const auto found = event.properties.find(name);
    return found == event.properties.end() ? std::string_view() : std::string_view(found->second);
}

struct UsbIds {
    std::uint16_t vendor;
    std::uint16_t product;
};

// "vendor/product/bcdDevice", each in hexadecimal.
std::optional<UsbIds> idsFromProduct(std::string_view product)
{
    const std::size_t first = product.find('/');
    if (first == std::string_view::npos)
        return std::nullopt;
    const std::size_t second = product.find('/', first + 1);
    if (second == std::string_view::npos)
        return std::nullopt;
    const auto vendor = parseHexId(product.substr(0, first));
    const auto model = parseHexId(product.substr(first + 1, second - first - 1));
    const auto release = parseHexId(product.substr(second + 1));
    if (!vendor || !model || !release)
        return std::nullopt;
    return UsbIds{*vendor, *model};
}

std::optional<UsbIds> usbIds(const UsbDeviceEvent& event)
{
    const auto vendor = parseHexId(property(event, "ID_VENDOR_ID"));
    const auto model = parseHexId(property(event, "ID_MODEL_ID"));
    if (vendor && model)
        return UsbIds{*vendor, *model};
    return idsFromProduct(property(event, "PRODUCT"));
}

std::string cleanSerial(std::string_view raw)
{
    std::string serial(raw.substr(0, kMaxSerialLength));
    for (char& c : serial) {
        const bool printable = c > ' ' && c < '\x7f';
        if (!printable || c == '#' || c == '\\' || c == '/')
            c = '_';
    }
    return serial;
}

std::string serialOf(const UsbDeviceEvent& event)
{
    std::string_view serial = property(event, "ID_SERIAL_SHORT");
    if (serial.empty()) {
        const std::string_view path = property(event, "DEVPATH");
        serial = path.substr(path.find_last_of('/') + 1);
    }
    return serial.empty() ? std::string("0") : cleanSerial(serial);
}

}  // namespace

BroadcastRecord makeBroadcastRecord(std::uint32_t deviceType, std::string_view name)
{
    name = name.substr(0, name.find('\0'));
    std::size_t size = kBroadcastNameOffset + name.size() + 1;
    size = size < kBroadcastMinSize ? kBroadcastMinSize : size;
    BroadcastRecord record(size, 0);
    put(record, kBroadcastSizeOffset, static_cast<std::uint32_t>(size));
    put(record, kBroadcastTypeOffset, deviceType);
    put(record, kBroadcastGuidOffset, kGuidData1);
    put(record, kBroadcastGuidOffset + 4, kGuidData2);
    put(record, kBroadcastGuidOffset + 6, kGuidData3);
    std::memcpy(record.data() + kBroadcastGuidOffset + 8, kGuidData4.data(), kGuidData4.size());
    std::memcpy(record.data() + kBroadcastNameOffset, name.data(), name.size());
    return record;
}

std::string usbInterfaceName(const UsbDeviceEvent& event)
{
    char ids[32] = "UNKNOWN";
    if (const auto found = usbIds(event))
        std::snprintf(ids, sizeof ids, "VID_%04X&PID_%04X", unsigned{found->vendor},
                      unsigned{found->product});
    return std::string("\\\\?\\USB#") + ids + "#" + serialOf(event) + "#" + kGuidText;
}

std::optional<DeviceChange> deviceChangeFromUdev(const UsbDeviceEvent& event)
{
    std::uintptr_t kind;
    if (event.action == "add")
        kind = DBT_DEVICEARRIVAL;
    else if (event.action == "remove")
        kind = DBT_DEVICEREMOVECOMPLETE;
    else
        return std::nullopt;
    return DeviceChange{kind, makeBroadcastRecord(DBT_DEVTYP_DEVICEINTERFACE, usbInterfaceName(event))};
}

}  // namespace quorlin
