#include "link/notify_window.h"

#include "link/fake_usb_event_source.h"
#include "platform/udev_monitor.h"
#include "shell/whole_data.h"
#include "support/fake_process_list.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <fcntl.h>

#include <sstream>

namespace quorlin {
namespace {

using Source = test::FakeUsbEventSource;

class NotifyWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        static int argc = 1;
        static char name[] = "core_tests";
        static char* argv[] = {name, nullptr};
        static QCoreApplication app(argc, argv);  // the only one core_tests makes
    }
    test::FakeProcessList processes;
    CWholeData data{processes};
    std::ostringstream out;
    Source* source = new Source;
    NotifyWindow window{data, out, std::unique_ptr<UsbEventSource>(source)};
};

TEST_F(NotifyWindowTest, EventsReachTheFlagsInOrderAndAFloodIsHandledInBoundedBatches)
{
    QSignalSpy handled(&window, &NotifyWindow::deviceChangeHandled);
    for (auto event : {Source::device("add"), Source::device("bind"), Source::device("add", "046d", "c52b"),
                       Source::device("remove")})
        source->push(std::move(event));
    EXPECT_TRUE(QTest::qWaitFor([&] { return handled.count() == 3; })) << "all but \"bind\", in one wake";
    EXPECT_EQ(data.reconnectRequested, 1u) << "the light reaches the flags";
    const std::string kGuid = "#{a5dcbf10-6530-11d2-901f-00c04fb951ed}\n";
    EXPECT_EQ(out.str(), "usb arrival\\\\?\\USB#VID_5046&PID_5631#QS1" + kGuid +
                             "usb arrival\\\\?\\USB#VID_046D&PID_C52B#QS1" + kGuid +
                             "usb remove\\\\?\\USB#VID_5046&PID_5631#QS1" + kGuid);

    constexpr int kFlood = NotifyWindow::kMaxEventsPerWake * 2 + 5;
    for (int i = 0; i < kFlood; ++i)
        source->push(Source::device("add", "1111", "2222"));
    EXPECT_EQ(window.handlePendingEvents(), NotifyWindow::kMaxEventsPerWake) << "a wake handles a bounded batch";
    EXPECT_TRUE(QTest::qWaitFor([&] { return handled.count() == 3 + kFlood; })) << "the rest wake the notifier again";
    EXPECT_EQ(window.handlePendingEvents(), 0);
}

TEST_F(NotifyWindowTest, AMissingSourceWatchesNothingAndTheRealMonitorNeverBlocks)
{
    EXPECT_FALSE(NotifyWindow(data, out, std::make_unique<Source>(false)).registerUsbNotification());
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
