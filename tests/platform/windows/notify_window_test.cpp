#include "platform/windows/usb_notify_window.h"

#include "child_process.h"
#include "link/device_broadcast.h"
#include "shell/whole_data.h"
#include "support/fake_process_list.h"
#include "support/memory_profile_store.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace quorlin {
namespace {

constexpr const char* kLight = "\\\\?\\USB#VID_5046&PID_5631#0001#{a5dcbf10-6530-11d2-901f-00c04fb951ed}";

class NotifyWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(window.created()) << "no window could be made (under Wine: is DISPLAY set to an X server?)";
    }

    // Another process sends the record, as the system would, while this thread pumps
    // its messages. The child's exit code (3: the window was not found).
    int sendFromAnotherProcess(const std::wstring& kind, std::uint32_t type, const std::string& name)
    {
        test::ChildProcess sender(test::testChild(), L"device-change " + kind + L" " + std::to_wstring(type)
                                                         + L" \"" + widen(name) + L"\"");
        if (!sender.started())
            return -1;
        const HANDLE process = sender.process();
        for (;;) {
            const DWORD woke = MsgWaitForMultipleObjects(1, &process, FALSE, 10000, QS_ALLINPUT);
            if (woke != WAIT_OBJECT_0 + 1)
                break;
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageW(&message);
        }
        return sender.wait(0);
    }
    std::string arrivalLine(const char* name) { return std::string("usb arrival") + name + "\n"; }

    test::FakeProcessList processes;
    test::MemoryProfileStore profiles;
    CWholeData data{processes, profiles};
    std::ostringstream out;
    std::vector<std::uintptr_t> handled;
    std::vector<DWORD> handlingThreads;
    NotifyWindow window{data, out, [this](std::uintptr_t kind) {
                            handled.push_back(kind);
                            handlingThreads.push_back(GetCurrentThreadId());
                        }};
};

TEST_F(NotifyWindowTest, TheLightArrivingRequestsAReconnectOnTheWindowThread)
{
    data.linkUsable = 0;
    ASSERT_EQ(sendFromAnotherProcess(L"arrival", DBT_DEVTYP_DEVICEINTERFACE, kLight), 0);
    EXPECT_EQ(data.reconnectRequested.load(), 1u);
    EXPECT_EQ(data.linkUsable.load(), 1);
    EXPECT_EQ(out.str(), arrivalLine(kLight));
    ASSERT_EQ(handlingThreads.size(), 1u);
    EXPECT_EQ(handlingThreads[0], GetCurrentThreadId());
}

TEST_F(NotifyWindowTest, TheLightLeavingRequestsAReconnectAndReleasesTheLink)
{
    data.linkBusy = 1;
    ASSERT_EQ(sendFromAnotherProcess(L"removal", DBT_DEVTYP_DEVICEINTERFACE, kLight), 0);
    EXPECT_EQ(data.reconnectRequested.load(), 1u);
    EXPECT_EQ(data.linkBusy.load(), 0);
    EXPECT_EQ(out.str(), std::string("usb remove") + kLight + "\n");
}

TEST_F(NotifyWindowTest, OtherDeviceEventsAreNotHandled)
{
    constexpr int kNodesChanged = 0x0007;  // DBT_DEVNODES_CHANGED: no record
    ASSERT_EQ(sendFromAnotherProcess(std::to_wstring(kNodesChanged), DBT_DEVTYP_DEVICEINTERFACE, kLight), 0);
    EXPECT_TRUE(handled.empty());
    EXPECT_EQ(data.reconnectRequested.load(), 0u);
}

}  // namespace
}  // namespace quorlin
