#include "link/device_notifications.h"

#include "link/device_broadcast.h"
#include "shell/whole_data.h"
#include "support/fake_process_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <sstream>
#include <vector>

namespace quorlin {
namespace {

const std::string kGuid = "#{a5dcbf10-6530-11d2-901f-00c04fb951ed}";
const std::string kLightName = "\\\\?\\USB#VID_5046&PID_5631#QS0001" + kGuid;

// Notes {linkBusy, linkUsable} whenever a line is flushed.
class FlagProbe : public std::stringbuf {
public:
    explicit FlagProbe(CWholeData& data) : data_(data) {}
    std::vector<std::pair<int, int>> atFlush;

protected:
    int sync() override
    {
        atFlush.emplace_back(data_.linkBusy.load(), data_.linkUsable.load());
        return 0;
    }

private:
    CWholeData& data_;
};

class DeviceChangeTest : public ::testing::Test {
protected:
    void handle(std::uintptr_t kind, std::uint32_t type, const std::string& name)
    {
        handleDeviceChange(data, kind, makeBroadcastRecord(type, name).data(), out);
    }
    test::FakeProcessList processes;
    CWholeData data{processes};
    FlagProbe probe{data};
    std::ostream out{&probe};
};

TEST_F(DeviceChangeTest, LightArrivalAndRemovalRequestReconnectWhileTrafficIsHeldOff)
{
    handle(DBT_DEVICEARRIVAL, DBT_DEVTYP_DEVICEINTERFACE, kLightName);
    EXPECT_EQ(data.reconnectRequested, 1u);
    EXPECT_EQ(data.linkUsable, 1) << "an arrival ends usable even if it was not before";
    data.reconnectRequested = 0;
    data.linkBusy = 1;
    handle(DBT_DEVICEREMOVECOMPLETE, DBT_DEVTYP_DEVICEINTERFACE, kLightName);
    EXPECT_EQ(data.reconnectRequested, 1u);
    EXPECT_EQ(data.linkBusy, 0);
    EXPECT_EQ(probe.str(), "usb arrival" + kLightName + "\nusb remove" + kLightName + "\n");
    const std::vector<std::pair<int, int>> heldOff = {{0, 0}, {1, 1}};
    EXPECT_EQ(probe.atFlush, heldOff);
}

TEST_F(DeviceChangeTest, OtherNamesAndDeviceTypesOnlyWriteOrToggle)
{
    for (const char* name : {"\\\\?\\usb#vid_5046&pid_5631#x", "\\\\?\\USB#VID_5046&PID_0001#x",
                             "\\\\?\\USB#VID_1234&PID_5631#VID_5O46", ""})
        handle(DBT_DEVICEARRIVAL, DBT_DEVTYP_DEVICEINTERFACE, name);
    EXPECT_EQ(probe.atFlush.size(), 4u) << "every other device still gets its line";
    for (const std::uint32_t type : {DBT_DEVTYP_VOLUME, DBT_DEVTYP_PORT}) {
        data.setLinkBusyUsable(1, 0);
        handle(DBT_DEVICEREMOVECOMPLETE, type, kLightName);
        handle(DBT_DEVICEARRIVAL, type, kLightName);
        EXPECT_EQ(data.linkBusy, 0);
        EXPECT_EQ(data.linkUsable, 1);
    }
    handleDeviceChange(data, DBT_DEVICEARRIVAL, nullptr, out);
    data.setLinkBusyUsable(1, 0);
    handle(0x0007, DBT_DEVTYP_DEVICEINTERFACE, kLightName);  // another event kind: nothing at all
    EXPECT_EQ(data.linkBusy, 1);
    EXPECT_EQ(data.linkUsable, 0);
    EXPECT_EQ(data.reconnectRequested, 0u);
    EXPECT_EQ(probe.atFlush.size(), 4u);

    handle(DBT_DEVICEREMOVECOMPLETE, DBT_DEVTYP_DEVICEINTERFACE, "PID_5631 before VID_5046");
    EXPECT_EQ(data.reconnectRequested, 1u);
}

TEST_F(DeviceChangeTest, NameIsNeverReadPastTheStatedRecordSize)
{
    BroadcastRecord record = makeBroadcastRecord(DBT_DEVTYP_DEVICEINTERFACE, kLightName);
    EXPECT_EQ(record.size(), kBroadcastNameOffset + kLightName.size() + 1);
    const std::uint32_t cut = kBroadcastNameOffset + 12;
    std::memcpy(record.data(), &cut, sizeof cut);
    handleDeviceChange(data, DBT_DEVICEARRIVAL, record.data(), out);
    EXPECT_EQ(probe.str(), "usb arrival" + kLightName.substr(0, 12) + "\n");
    EXPECT_EQ(data.reconnectRequested, 0u);
}

TEST(BroadcastRecord, KeepsTheWindowsLayout)
{
    const BroadcastRecord record = makeBroadcastRecord(DBT_DEVTYP_DEVICEINTERFACE, std::string("AB\0CD", 5));
    std::uint32_t head[4];
    ASSERT_EQ(record.size(), 32u);
    std::memcpy(head, record.data(), sizeof head);
    EXPECT_EQ(head[0], 32u);
    EXPECT_EQ(head[1], 5u);
    EXPECT_EQ(head[2], 0u);
    EXPECT_EQ(head[3], 0xA5DCBF10u);
    EXPECT_EQ(record[20], 0x90);
    EXPECT_EQ(record[27], 0xED);
    EXPECT_STREQ(reinterpret_cast<const char*>(&record[28]), "AB");
}

std::string nameFrom(std::map<std::string, std::string> properties)
{
    return usbInterfaceName({"add", std::move(properties)});
}

TEST(UdevRecord, ActionsAndWhereTheIdsComeFrom)
{
    const auto add = deviceChangeFromUdev({"add", {{"ID_VENDOR_ID", "5046"}, {"ID_MODEL_ID", "5631"},
                                                   {"ID_SERIAL_SHORT", "QS0001"}, {"PRODUCT", "1/2/3"}}});
    ASSERT_TRUE(add.has_value());
    EXPECT_EQ(add->wParam, DBT_DEVICEARRIVAL);
    EXPECT_STREQ(static_cast<const char*>(add->lParam()) + kBroadcastNameOffset, kLightName.c_str());
    const auto remove = deviceChangeFromUdev({"remove", {{"PRODUCT", "5046/5631/100"}}});
    ASSERT_TRUE(remove.has_value());
    EXPECT_EQ(remove->wParam, DBT_DEVICEREMOVECOMPLETE);
    for (const char* action : {"bind", "change", "", "ADD"})
        EXPECT_FALSE(deviceChangeFromUdev({action, {{"PRODUCT", "5046/5631/100"}}})) << action;

    EXPECT_EQ(nameFrom({{"PRODUCT", "5046/5631/100"}, {"DEVPATH", "/devices/usb1/1-2.4"}}),
              "\\\\?\\USB#VID_5046&PID_5631#1-2.4" + kGuid);
    EXPECT_EQ(nameFrom({{"PRODUCT", "46/a/1"}, {"ID_VENDOR_ID", "5046"}}), "\\\\?\\USB#VID_0046&PID_000A#0" + kGuid);
}

TEST(UdevRecord, MalformedValuesGiveANameThatMatchesNothing)
{
    const std::map<std::string, std::string> malformed[] = {
        {{"ID_VENDOR_ID", "zz46"}, {"ID_MODEL_ID", "5631"}}, {{"ID_VENDOR_ID", "05046"}, {"ID_MODEL_ID", "5631"}},
        {{"PRODUCT", "5046/5631"}}, {{"PRODUCT", "5046/56310/100"}}, {{"PRODUCT", "5046//100"}},
        {{"PRODUCT", "-5046/5631/100"}}, {},
    };
    for (const auto& properties : malformed)
        EXPECT_EQ(nameFrom(properties).rfind("\\\\?\\USB#UNKNOWN#0#", 0), 0u) << nameFrom(properties);

    const std::string name = nameFrom({{"ID_VENDOR_ID", "1234"}, {"ID_MODEL_ID", "abcd"},
                                       {"ID_SERIAL_SHORT", "A#B\\C/D E\x01\xff" + std::string(300, 'z')}});
    EXPECT_EQ(name, "\\\\?\\USB#VID_1234&PID_ABCD#A_B_C_D_E__" + std::string(128 - 11, 'z') + kGuid);
}

}  // namespace
}  // namespace quorlin
