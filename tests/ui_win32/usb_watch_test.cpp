// The device-event watch the main window keeps: the hidden notification window lives
// exactly as long as the watch.
#include "link/device_event_watch.h"
#include "shell/whole_data.h"
#include "support/fake_process_list.h"
#include "support/memory_profile_store.h"
#include "ui/win32/usb_watch.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <sstream>

namespace quorlin::test {
namespace {

HWND notifyWindow()
{
    return FindWindowW(L"usb_test msg window", nullptr);
}

TEST(Win32UsbWatch, HiddenWindowLivesAsLongAsTheWatch)
{
    FakeProcessList processes;
    MemoryProfileStore profiles;
    CWholeData data(processes, profiles);
    std::ostringstream out;
    auto watch = win32::createUsbWatch(data, out);
    ASSERT_NE(watch, nullptr);
    HWND window = notifyWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(IsWindowVisible(window));
    watch.reset();
    EXPECT_FALSE(IsWindow(window));
}

}  // namespace
}  // namespace quorlin::test
