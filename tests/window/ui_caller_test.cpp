// The hand-over of control changes from the worker to the UI thread.
#include "window/ui_caller.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace quorlin {
namespace {

using namespace std::chrono_literals;

class UiCallerTest : public ::testing::Test {
protected:
    std::atomic<int> wakes{0};
    UiCaller ui{[this] { ++wakes; }};

    void waitForWake(int count)
    {
        for (int waited = 0; wakes < count && waited < 5000; ++waited)
            std::this_thread::sleep_for(1ms);
        ASSERT_EQ(wakes, count);
    }
};

TEST_F(UiCallerTest, AnotherThreadWaitsUntilTheUiThreadHasRunItsWork)
{
    std::atomic<bool> returned{false};
    std::thread::id ranOn;
    std::thread worker([&] {
        ui.call([&] { ranOn = std::this_thread::get_id(); });
        returned = true;
    });
    waitForWake(1);
    std::this_thread::sleep_for(20ms);
    EXPECT_FALSE(returned) << "nothing has run it yet";
    ui.pump();
    worker.join();
    EXPECT_EQ(ranOn, std::this_thread::get_id());
}

TEST_F(UiCallerTest, CloseReleasesAWorkerWaitingInAHandOverWithoutRunningIt)
{
    std::atomic<bool> ran{false};
    std::thread worker([&] { ui.call([&] { ran = true; }); });
    waitForWake(1);
    ui.close();
    worker.join();
    ui.pump();
    EXPECT_FALSE(ran) << "the dropped work is gone from the queue";
}

TEST_F(UiCallerTest, AfterCloseACallReturnsAtOnceAndWakesNothing)
{
    ui.close();
    bool ran = false;
    std::thread worker([&] { ui.call([&] { ran = true; }); });
    worker.join();
    EXPECT_FALSE(ran);
    EXPECT_EQ(wakes, 0);
}

}  // namespace
}  // namespace quorlin
