#include "link/device_notifications.h"

#include "link/device_broadcast.h"
#include "shell/whole_data.h"
#include "support/fake_process_list.h"
#include "support/memory_profile_store.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

namespace quorlin {
namespace {

const std::string kGuid = "#{a5dcbf10-6530-11d2-901f-00c04fb951ed}";
const std::string kLightName = "\\\\?\\USB#VID_5046&PID_5631#QS0001" + kGuid;

std::pair<int, int> busyUsable(CWholeData& data) { return {data.linkBusy.load(), data.linkUsable.load()}; }

// The fixture is also the stream's buffer: it notes {linkBusy, linkUsable} whenever a line is flushed.
class DeviceChangeTest : public ::testing::Test, public std::stringbuf {
protected:
    int sync() override { atFlush.push_back(busyUsable(data)); return 0; }
    void handle(std::uintptr_t kind, std::uint32_t type, const std::string& name)
    {
        handleDeviceChange(data, kind, makeBroadcastRecord(type, name).data(), out);
    }
    test::FakeProcessList processes;
    test::MemoryProfileStore profiles;
    CWholeData data{processes, profiles};
    std::ostream out{this};
    std::vector<std::pair<int, int>> atFlush;
};

TEST_F(DeviceChangeTest, LightArrivalAndRemovalRequestReconnectWhileTrafficIsHeldOff)
{
    handle(DBT_DEVICEARRIVAL, DBT_DEVTYP_DEVICEINTERFACE, kLightName);
    EXPECT_EQ(data.reconnectRequested, 1u) << "arrival";
    data.reconnectRequested = 0, data.linkBusy = 1;
    handle(DBT_DEVICEREMOVECOMPLETE, DBT_DEVTYP_DEVICEINTERFACE, kLightName);
    EXPECT_EQ(data.reconnectRequested, 1u) << "removal";
    EXPECT_EQ(busyUsable(data), std::pair(0, 1)) << "both end released, whatever they were before";
    EXPECT_EQ(str(), "usb arrival" + kLightName + "\nusb remove" + kLightName + "\n");
    EXPECT_EQ(atFlush, (std::vector<std::pair<int, int>>{{0, 0}, {1, 1}})) << "traffic held off while writing";
}

TEST_F(DeviceChangeTest, OtherRecordsOnlyWriteOrToggleAndNamesStayWithinTheirRecord)
{
    for (const char* name : {"\\\\?\\usb#vid_5046&pid_5631#x", "\\\\?\\USB#VID_5046&PID_0001#x",
                             "\\\\?\\USB#VID_1234&PID_5631#VID_5O46", ""})
        handle(DBT_DEVICEARRIVAL, DBT_DEVTYP_DEVICEINTERFACE, name);
    data.setLinkBusyUsable(1, 0);
    handle(DBT_DEVICEREMOVECOMPLETE, DBT_DEVTYP_VOLUME, kLightName);
    handle(DBT_DEVICEARRIVAL, DBT_DEVTYP_PORT, kLightName);
    EXPECT_EQ(busyUsable(data), std::pair(0, 1)) << "released whatever the record's type";
    handleDeviceChange(data, DBT_DEVICEARRIVAL, nullptr, out);
    data.setLinkBusyUsable(1, 0);
    handle(0x0007, DBT_DEVTYP_DEVICEINTERFACE, kLightName);
    EXPECT_EQ(busyUsable(data), std::pair(1, 0)) << "another event kind touches nothing";
    EXPECT_EQ(atFlush.size(), 4u) << "a line for each device interface record, and only for those";

    BroadcastRecord record = makeBroadcastRecord(DBT_DEVTYP_DEVICEINTERFACE, kLightName);
    const std::uint32_t cut = kBroadcastNameOffset + 12;
    std::memcpy(record.data(), &cut, sizeof cut);
    handleDeviceChange(data, DBT_DEVICEARRIVAL, record.data(), out);
    EXPECT_EQ(str().substr(str().rfind("usb")), "usb arrival" + kLightName.substr(0, 12) + "\n") << "the stated size";
    EXPECT_EQ(data.reconnectRequested, 0u) << "only the light's exact ids ask for a reconnect";

    handle(DBT_DEVICEREMOVECOMPLETE, DBT_DEVTYP_DEVICEINTERFACE, "PID_5631 before VID_5046");
    EXPECT_EQ(data.reconnectRequested, 1u) << "the ids may come in any order";
}

TEST(BroadcastRecord, KeepsTheWindowsLayout)
{
    const BroadcastRecord record = makeBroadcastRecord(DBT_DEVTYP_DEVICEINTERFACE, std::string("AB\0CD", 5));
    ASSERT_EQ(record.size(), 32u) << "a short name is padded to the smallest record";
    const std::uint32_t head[] = {32, 5, 0, 0xA5DCBF10};
    EXPECT_EQ(std::memcmp(record.data(), head, sizeof head), 0) << "size, type, reserved, the GUID's first field";
    EXPECT_EQ(record[20] << 8 | record[27], 0x90ED) << "the GUID's last eight bytes, first and last";
    EXPECT_STREQ(reinterpret_cast<const char*>(&record[28]), "AB") << "the name ends at its first zero byte";
}

TEST(UdevRecord, ActionsNamesAndMalformedValues)
{
    const auto add = deviceChangeFromUdev({"add", {{"ID_VENDOR_ID", "5046"}, {"ID_MODEL_ID", "5631"},
                                                   {"ID_SERIAL_SHORT", "QS0001"}, {"PRODUCT", "1/2/3"}}});
    EXPECT_EQ(add.value().wParam, DBT_DEVICEARRIVAL);
    EXPECT_STREQ(static_cast<const char*>(add.value().lParam()) + kBroadcastNameOffset, kLightName.c_str());
    const UsbDeviceEvent remove{"remove", {{"PRODUCT", "5046/5631/100"}}};
    EXPECT_EQ(deviceChangeFromUdev(remove).value().wParam, DBT_DEVICEREMOVECOMPLETE);
    for (const char* action : {"bind", "change", "", "ADD"})
        EXPECT_FALSE(deviceChangeFromUdev({action, remove.properties})) << action;

    using Properties = std::map<std::string, std::string>;
    const std::pair<Properties, std::string> names[] = {
        {{{"PRODUCT", "5046/5631/100"}, {"DEVPATH", "/devices/usb1/1-2.4"}}, "VID_5046&PID_5631#1-2.4"},
        {{{"PRODUCT", "46/a/1"}, {"ID_VENDOR_ID", "5046"}}, "VID_0046&PID_000A#0"},
        {{{"ID_VENDOR_ID", "1234"}, {"ID_MODEL_ID", "abcd"},
          {"ID_SERIAL_SHORT", "A#B\\C/D E\x01\xff" + std::string(300, 'z')}},
         "VID_1234&PID_ABCD#A_B_C_D_E__" + std::string(128 - 11, 'z')},
    };
    for (const auto& [properties, expected] : names)
        EXPECT_EQ(usbInterfaceName({"add", properties}), "\\\\?\\USB#" + expected + kGuid);
    // Malformed ids give a name that matches no device.
    for (const Properties& properties : {Properties{{"ID_VENDOR_ID", "zz46"}, {"ID_MODEL_ID", "5631"}},
             {{"ID_VENDOR_ID", "05046"}, {"ID_MODEL_ID", "5631"}}, {{"PRODUCT", "5046/5631"}},
             {{"PRODUCT", "5046/56310/100"}}, {{"PRODUCT", "5046//100"}}, {{"PRODUCT", "-5046/5631/100"}}, {}})
        EXPECT_EQ(usbInterfaceName({"add", properties}), "\\\\?\\USB#UNKNOWN#0" + kGuid);
}

}  // namespace
}  // namespace quorlin
