// The window's start, its connection display as the worker drives it, and its close.
#include "window/window_fixture.h"

#include "window/about_box.h"

#include "link/device_broadcast.h"
#include "link/device_notifications.h"

#include <sstream>
#include <tuple>

namespace quorlin::test {
namespace {

using sim::SimulatedLight;

class MainWindow : public WindowFixture {};

TEST_F(MainWindow, InitialisationShowsTheGreyDiscAndTheDisconnectedText)
{
    startDialog();
    // The worker's first display change waits for a hand-over: this is the state the
    // initialisation itself leaves.
    EXPECT_TRUE(controls.shown(IDC_PIC_DISCONNECTED));
    EXPECT_FALSE(controls.shown(IDC_PIC_CONNECTED));
    EXPECT_EQ(statusText(), "[Disconnected]");
}

TEST_F(MainWindow, LightPresentAtStartIsReadOnceAndShownConnected)
{
    light.setSettings({0x01, 0x01, 40, 60, 11, 22, 33, 44, 0x02, 0x01, 0x0F, 0x00, 0x02, 0x0A});
    startDialog();
    ASSERT_TRUE(waitConnected());
    EXPECT_EQ(light.calls(SimulatedLight::CallKind::Enumerate).size(), 1u);
    EXPECT_EQ(statusRequests(), 1);
    EXPECT_TRUE(controls.shown(IDC_PIC_CONNECTED) && !controls.shown(IDC_PIC_DISCONNECTED));
    for (int id : kConnectedControls)
        EXPECT_TRUE(controls.enabled(id)) << id;
    EXPECT_EQ(controls.trackbarPosition(IDC_SLIDER_BRIGHTNESS), 40);
    EXPECT_EQ(controls.text(IDC_EDIT_PARAM1) + controls.text(IDC_EDIT_LOS_CALC), "110A");
}

TEST_F(MainWindow, StandsAsideWhileTheLauncherRuns)
{
    processes.launcherRunning = true;
    startDialog();
    settle(10);
    EXPECT_EQ(statusText(), "[Disconnected]");
    EXPECT_TRUE(light.calls(SimulatedLight::CallKind::Enumerate).empty()) << "the light was not touched";
    processes.launcherRunning = false;
    ASSERT_TRUE(waitConnected());
}

TEST_F(MainWindow, LauncherStartingWhileConnectedDisconnectsAndItsEndQueriesOnce)
{
    startDialog();
    ASSERT_TRUE(waitConnected());
    settle(2);
    light.clearCalls();
    processes.launcherRunning = true;
    ASSERT_TRUE(waitUntil([&] { return statusText() == "[Disconnected]"; }));
    EXPECT_FALSE(controls.enabled(IDC_SLIDER_BRIGHTNESS));
    EXPECT_EQ(statusRequests(), 0);
    EXPECT_EQ(light.openHandleCount(), 1) << "the handles stay open meanwhile";
    light.setSettings({0x01, 0x02, 77, 30, 1, 2, 3, 4, 0x02, 0x01, 0x0F, 0x00, 0x02, 0x00});
    processes.launcherRunning = false;
    ASSERT_TRUE(waitUntil([&] { return statusText() == "[Connected]" && controls.text(IDC_EDIT_BRIGHTNESS) == "77"; }));
    settle(3);
    EXPECT_EQ(statusRequests(), 1);
}

// Polling passes that would show what is shown wake the UI thread for nothing.
TEST_F(MainWindow, PassesThatChangeNothingHandNothingToTheUiThread)
{
    startDialog();
    ASSERT_TRUE(waitConnected());
    settle(2);
    const int before = wakes;
    const int checks = processes.calls;
    settle(5);
    EXPECT_GT(processes.calls, checks + 3) << "the worker kept polling";
    EXPECT_EQ(wakes, before);
    processes.launcherRunning = true;
    ASSERT_TRUE(waitUntil([&] { return statusText() == "[Disconnected]"; }));
    EXPECT_GT(wakes, before) << "a change is shown as before";
}

// An unplug notice sends the worker back to reconnecting; it retries until the light
// is back and connects within a pass of it.
TEST_F(MainWindow, UnplugNoticeReconnectsAndKeepsTryingUntilPluggedIn)
{
    startDialog();
    ASSERT_TRUE(waitConnected());
    light.unplug();
    std::ostringstream lines;
    handleDeviceChange(data, DBT_DEVICEREMOVECOMPLETE,
                       makeBroadcastRecord(DBT_DEVTYP_DEVICEINTERFACE, "\\\\?\\USB#VID_5046&PID_5631#1").data(), lines);
    ASSERT_TRUE(waitUntil([&] { return out.str().find("cannot enumerate dev!\ncannot enumerate dev!\n") != std::string::npos; }));
    EXPECT_EQ(statusText(), "[Disconnected]");
    EXPECT_FALSE(controls.enabled(IDC_SLIDER_BRIGHTNESS));
    EXPECT_EQ(light.openHandleCount(), 0);
    light.plug();
    ASSERT_TRUE(waitConnected());
}

TEST_F(MainWindow, ClosingWhileAReplyNeverComesStillEndsInOrder)
{
    light.withholdReplies(true);
    startDialog();
    ASSERT_TRUE(waitUntil([&] { return statusRequests() > 0; }));
    const auto before = clock.nowMs();
    dlg->OnClose();
    EXPECT_FALSE(dlg->workerRunning());
    EXPECT_LE(clock.nowMs() - before, 500) << "the reply's bounded wait, its pause and one pass";
    EXPECT_EQ(light.openHandleCount(), 0);
}

TEST_F(MainWindow, CloseStopsTheWorkerWithinAboutOnePassAndItClosesTheLight)
{
    startDialog();
    ASSERT_TRUE(waitConnected());
    light.clearCalls();
    const auto before = clock.nowMs();
    dlg->OnClose();
    EXPECT_FALSE(dlg->workerRunning());
    EXPECT_LE(clock.nowMs() - before, 150) << "worker time spent during the close";
    EXPECT_EQ(light.openHandleCount(), 0);
    EXPECT_EQ(light.calls(SimulatedLight::CallKind::Exit).size(), 1u);
}

}  // namespace
}  // namespace quorlin::test
