// Plug and unplug events reach the receiver through Qt's event loop.
#include "ui/qt/usb_event_watch.h"

#include "link/fake_usb_event_source.h"
#include "shell/whole_data.h"
#include "support/fake_process_list.h"
#include "support/memory_profile_store.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <sstream>

namespace quorlin {
namespace {

using Source = test::FakeUsbEventSource;

class UsbEventWatchTest : public ::testing::Test {
protected:
    test::FakeProcessList processes;
    test::MemoryProfileStore profiles;
    CWholeData data{processes, profiles};
    std::ostringstream out;
    Source* source = new Source;
    UsbEventWatch watch{std::make_unique<NotifyWindow>(data, out, std::unique_ptr<UsbEventSource>(source))};
};

TEST_F(UsbEventWatchTest, AReadableDescriptorWakesTheReceiver)
{
    QSignalSpy handled(&watch, &UsbEventWatch::eventsHandled);
    source->push(Source::device("remove"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return handled.count() == 1; }));
    EXPECT_EQ(handled.front().front().toInt(), 1);
    EXPECT_EQ(data.reconnectRequested, 1u);
}

TEST_F(UsbEventWatchTest, AFloodIsHandledInBoundedBatchesOverSeveralWakes)
{
    QSignalSpy handled(&watch, &UsbEventWatch::eventsHandled);
    for (int i = 0; i < NotifyWindow::kMaxEventsPerWake * 2 + 5; ++i)
        source->push(Source::device("add", "1111", "2222"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return handled.count() == 3; }));
    EXPECT_EQ(handled[0][0].toInt(), NotifyWindow::kMaxEventsPerWake);
    EXPECT_EQ(handled[2][0].toInt(), 5);
}

TEST_F(UsbEventWatchTest, AReceiverWithoutADescriptorIsNotWatched)
{
    EXPECT_TRUE(watch.watching());
    EXPECT_FALSE(UsbEventWatch(std::make_unique<NotifyWindow>(data, out, nullptr)).watching());
    EXPECT_FALSE(UsbEventWatch(nullptr).watching());
}

}  // namespace
}  // namespace quorlin
