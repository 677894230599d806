#include "link/notify_window.h"

#include "link/fake_usb_event_source.h"
#include "platform/linux/udev_monitor.h"
#include "shell/whole_data.h"
#include "support/fake_process_list.h"
#include "support/memory_profile_store.h"

#include <gtest/gtest.h>

#include <fcntl.h>

#include <sstream>

namespace quorlin {
namespace {

using Source = test::FakeUsbEventSource;

class NotifyWindowTest : public ::testing::Test {
protected:
    test::FakeProcessList processes;
    test::MemoryProfileStore profiles;
    CWholeData data{processes, profiles};
    std::ostringstream out;
    Source* source = new Source;
    NotifyWindow window{data, out, std::unique_ptr<UsbEventSource>(source)};
};

TEST_F(NotifyWindowTest, ArrivalsAndRemovalsReachTheFlagsInOrderAndOtherActionsAreSkipped)
{
    for (auto event : {Source::device("add"), Source::device("bind"), Source::device("add", "046d", "c52b"),
                       Source::device("remove")})
        source->push(std::move(event));
    EXPECT_EQ(window.handlePendingEvents(), 3) << "all but \"bind\"";
    EXPECT_EQ(data.reconnectRequested, 1u) << "the light reaches the flags";
    const std::string guid = "#{a5dcbf10-6530-11d2-901f-00c04fb951ed}\n", light = "\\\\?\\USB#VID_5046&PID_5631#QS1" + guid;
    EXPECT_EQ(out.str(), "usb arrival" + light + "usb arrival\\\\?\\USB#VID_046D&PID_C52B#QS1" + guid + "usb remove" + light);
}

TEST_F(NotifyWindowTest, AWakeHandlesABoundedBatchAndLeavesTheRestReadable)
{
    for (int i = 0; i < NotifyWindow::kMaxEventsPerWake + 5; ++i)
        source->push(Source::device("add", "1111", "2222"));
    EXPECT_EQ(window.handlePendingEvents(), NotifyWindow::kMaxEventsPerWake);
    EXPECT_EQ(window.handlePendingEvents(), 5);
    EXPECT_EQ(window.handlePendingEvents(), 0);
}

TEST_F(NotifyWindowTest, TheUdevMonitorNeverBlocksTheWindowThread)
{
    auto monitor = std::make_unique<UdevMonitor>();  // udev may or may not run here
    EXPECT_TRUE(monitor->fd() < 0 || (fcntl(monitor->fd(), F_GETFL) & O_NONBLOCK) != 0);
    EXPECT_GE(NotifyWindow(data, out, std::move(monitor)).handlePendingEvents(), 0);
}

}  // namespace
}  // namespace quorlin
