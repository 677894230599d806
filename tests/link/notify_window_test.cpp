#include "link/notify_window.h"

#include "link/device_broadcast.h"
#include "link/fake_usb_event_source.h"
#include "platform/udev_monitor.h"
#include "shell/whole_data.h"
#include "support/fake_process_list.h"

#include <QCoreApplication>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <fcntl.h>

#include <sstream>

namespace quorlin {
namespace {

void ensureCoreApplication()
{
    static int argc = 1;
    static char name[] = "core_tests";
    static char* argv[] = {name, nullptr};
    if (QCoreApplication::instance() == nullptr) {
        static QCoreApplication app(argc, argv);
    }
}

// Runs the event loop until `spy` has seen `count` signals; false if they stop coming.
bool waitFor(QSignalSpy& spy, int count)
{
    while (spy.count() < count) {
        if (!spy.wait(2000))
            return false;
    }
    return true;
}

class NotifyWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ensureCoreApplication();
        auto fake = std::make_unique<test::FakeUsbEventSource>();
        source = fake.get();
        window = std::make_unique<NotifyWindow>(data, out, std::move(fake));
        ASSERT_TRUE(window->registerUsbNotification());
    }
    test::FakeProcessList processes;
    CWholeData data{processes};
    std::ostringstream out;
    test::FakeUsbEventSource* source = nullptr;
    std::unique_ptr<NotifyWindow> window;
};

TEST_F(NotifyWindowTest, PlugAndUnplugReachTheFlagsInOrderAndOtherActionsAreSkipped)
{
    QSignalSpy handled(window.get(), &NotifyWindow::deviceChangeHandled);
    source->plug();
    ASSERT_TRUE(waitFor(handled, 1));
    EXPECT_EQ(data.reconnectRequested, 1u);
    data.reconnectRequested = 0;

    source->push(test::FakeUsbEventSource::device("bind"));
    source->push(test::FakeUsbEventSource::device("add", "046d", "c52b"));
    source->unplug();
    ASSERT_TRUE(waitFor(handled, 3));
    EXPECT_EQ(handled.at(1).at(0).value<quintptr>(), DBT_DEVICEARRIVAL);
    EXPECT_EQ(handled.at(2).at(0).value<quintptr>(), DBT_DEVICEREMOVECOMPLETE);
    EXPECT_EQ(data.reconnectRequested, 1u);
    const std::string kGuid = "#{a5dcbf10-6530-11d2-901f-00c04fb951ed}\n";
    EXPECT_EQ(out.str(), "usb arrival\\\\?\\USB#VID_5046&PID_5631#QS1" + kGuid +
                             "usb arrival\\\\?\\USB#VID_046D&PID_C52B#QS1" + kGuid +
                             "usb remove\\\\?\\USB#VID_5046&PID_5631#QS1" + kGuid);
}

TEST_F(NotifyWindowTest, AFloodIsHandledInBoundedBatches)
{
    constexpr int kEvents = NotifyWindow::kMaxEventsPerWake * 2 + 5;
    for (int i = 0; i < kEvents; ++i)
        source->push(test::FakeUsbEventSource::device("add", "1111", "2222"));
    EXPECT_EQ(window->handlePendingEvents(), NotifyWindow::kMaxEventsPerWake);
    QSignalSpy handled(window.get(), &NotifyWindow::deviceChangeHandled);
    EXPECT_TRUE(waitFor(handled, kEvents - NotifyWindow::kMaxEventsPerWake));
    EXPECT_EQ(window->handlePendingEvents(), 0);
}

TEST(NotifyWindowSetup, AMissingSourceWatchesNothingAndTheRealMonitorNeverBlocks)
{
    ensureCoreApplication();
    test::FakeProcessList processes;
    CWholeData data(processes);
    std::ostringstream out;
    EXPECT_FALSE(NotifyWindow(data, out, std::make_unique<test::FakeUsbEventSource>(false)).registerUsbNotification());
    EXPECT_EQ(NotifyWindow(data, out, nullptr).handlePendingEvents(), 0);

    // udev may or may not run here; either way nothing may block the window thread.
    auto monitor = std::make_unique<UdevMonitor>();
    if (monitor->fd() >= 0) {
        EXPECT_NE(fcntl(monitor->fd(), F_GETFL) & O_NONBLOCK, 0);
    }
    NotifyWindow real(data, out, std::move(monitor));
    EXPECT_GE(real.handlePendingEvents(), 0);
}

}  // namespace
}  // namespace quorlin
