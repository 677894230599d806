#include "dialog_fixture.h"

#include "link/device_broadcast.h"
#include "link/device_notifications.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <sstream>
#include <tuple>

namespace quorlin::test {
namespace {

using sim::SimulatedLight;

constexpr int kConnectedControls[] = {1001, 1002, 1003, 1005, 1004, 1006, 1017, 1027, 1028};
constexpr int kPanel[] = {1020, 1022, 1023, 1021, 1024, 1025, 1026};

class MainWindow : public DialogFixture {};

TEST_F(MainWindow, StartsDisconnectedWithTheDesignedControls)
{
    startDialog();
    // The worker's first display change waits for the event loop: this is the state
    // the initialisation itself leaves.
    EXPECT_TRUE(ctl(1007)->isVisible());
    EXPECT_FALSE(ctl(1008)->isVisible());
    EXPECT_EQ(ctl(1007)->geometry(), ctl(1008)->geometry()) << "the discs lie over each other";
    EXPECT_EQ(ctl(1007)->size(), QSize(25, 25));
    EXPECT_LT(ctl(1003)->geometry().bottom(), ctl(1004)->geometry().top());
    EXPECT_TRUE(dlg->rect().contains(ctl(1026)->geometry())) << "the panel's last control fits";
    EXPECT_EQ(statusText(), "[Disconnected]");
    for (int id : kConnectedControls)
        EXPECT_FALSE(ctl(id)->isEnabled()) << id;
    for (int id : kPanel)
        EXPECT_FALSE(ctl(id)->isVisible()) << id;
    EXPECT_TRUE(ctl(1027)->isVisible());
    EXPECT_TRUE(ctl(1028)->isVisible());
    EXPECT_FALSE(ctl(1001)->isVisible());
    EXPECT_FALSE(ctl(1014)->isVisible());
    for (int id : {1003, 1004})
        EXPECT_EQ(std::make_tuple(ctl<QSlider>(id)->value(), ctl<QSlider>(id)->minimum(), ctl<QSlider>(id)->maximum()),
                  std::make_tuple(0, 0, 100));
    EXPECT_EQ(ctl<QLineEdit>(1005)->text() + ctl<QLineEdit>(1006)->text(), "00");
    EXPECT_EQ(dlg->windowTitle(), "Quorlin Sivane Setting Tool V2.3") << "English while no language is loaded";
}

TEST_F(MainWindow, LightPresentAtStartIsReadShownAndConnected)
{
    light.setSettings({0x01, 0x01, 40, 60, 11, 22, 33, 44, 0x02, 0x01, 0x0F, 0x00, 0x02, 0x0A});
    startDialog();
    ASSERT_TRUE(waitConnected());
    EXPECT_EQ(light.calls(SimulatedLight::CallKind::Enumerate).size(), 1u);
    EXPECT_EQ(statusRequests(), 1);
    EXPECT_TRUE(ctl(1008)->isVisible());
    EXPECT_FALSE(ctl(1007)->isVisible());
    for (int id : kConnectedControls)
        EXPECT_TRUE(ctl(id)->isEnabled()) << id;
    EXPECT_FALSE(ctl(1001)->isVisible()) << "enabled but never shown";
    EXPECT_EQ(ctl<QSlider>(1003)->value(), 40);
    EXPECT_EQ(ctl<QLineEdit>(1005)->text(), "40");
    EXPECT_EQ(ctl<QSlider>(1004)->value(), 60);
    EXPECT_EQ(ctl<QLineEdit>(1020)->text(), "11");
    EXPECT_EQ(ctl<QLineEdit>(1024)->text(), "44");
    EXPECT_EQ(ctl<QLineEdit>(1025)->text(), "0A");
    EXPECT_TRUE(ctl<QRadioButton>(1001)->isChecked());
    EXPECT_TRUE(ctl<QRadioButton>(1028)->isChecked()) << "the light's Auto mode was adopted";
    EXPECT_EQ(data.operationMode, 2);
}

TEST_F(MainWindow, AbsentLightIsRetriedAndConnectsOncePluggedIn)
{
    light.unplug();
    startDialog();
    ASSERT_TRUE(waitUntil([&] { return light.calls(SimulatedLight::CallKind::Enumerate).size() >= 3; }));
    EXPECT_EQ(statusText(), "[Disconnected]");
    EXPECT_NE(out.str().find("cannot enumerate dev!\n"), std::string::npos);
    light.plug();
    ASSERT_TRUE(waitConnected());
    EXPECT_TRUE(ctl(1003)->isEnabled());
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
    EXPECT_FALSE(ctl(1003)->isEnabled());
    EXPECT_EQ(statusRequests(), 0);
    EXPECT_EQ(light.openHandleCount(), 1) << "the handles stay open meanwhile";
    light.setSettings({0x01, 0x02, 77, 30, 1, 2, 3, 4, 0x02, 0x01, 0x0F, 0x00, 0x02, 0x00});
    processes.launcherRunning = false;
    ASSERT_TRUE(waitUntil([&] { return statusText() == "[Connected]"; }));
    ASSERT_TRUE(waitUntil([&] { return ctl<QLineEdit>(1005)->text() == "77"; }));
    settle(3);
    EXPECT_EQ(statusRequests(), 1);
}

TEST_F(MainWindow, UnplugNoticeReconnectsAndKeepsTrying)
{
    startDialog();
    ASSERT_TRUE(waitConnected());
    light.unplug();
    const auto record = makeBroadcastRecord(
        DBT_DEVTYP_DEVICEINTERFACE, "\\\\?\\USB#VID_5046&PID_5631#0001#{a5dcbf10-6530-11d2-901f-00c04fb951ed}");
    std::ostringstream lines;
    handleDeviceChange(data, DBT_DEVICEREMOVECOMPLETE, record.data(), lines);
    EXPECT_EQ(lines.str().rfind("usb remove\\\\?\\USB#VID_5046", 0), 0u);
    ASSERT_TRUE(waitUntil([&] { return statusText() == "[Disconnected]"; }));
    const auto before = light.calls(SimulatedLight::CallKind::Enumerate).size();
    ASSERT_TRUE(waitUntil([&] { return light.calls(SimulatedLight::CallKind::Enumerate).size() >= before + 2; }));
    EXPECT_EQ(light.openHandleCount(), 0);
    light.plug();
    ASSERT_TRUE(waitConnected());
}

TEST_F(MainWindow, ClosingStopsTheWorkerWithinAboutOnePass)
{
    startDialog();
    ASSERT_TRUE(waitConnected());
    const auto before = clock.nowMs();
    dlg->close();
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_FALSE(dlg->workerRunning());
    EXPECT_LE(clock.nowMs() - before, 150) << "worker time spent during the close";
    EXPECT_EQ(light.openHandleCount(), 0) << "the worker closed the light on its way out";
    EXPECT_EQ(light.calls(SimulatedLight::CallKind::Exit).size(), 1u);
}

TEST_F(MainWindow, ClosingWhileAReplyNeverComesStillEndsInOrder)
{
    light.withholdReplies(true);
    startDialog();
    ASSERT_TRUE(waitUntil([&] { return statusRequests() > 0; }));
    const auto before = clock.nowMs();
    dlg->close();
    EXPECT_FALSE(dlg->workerRunning());
    EXPECT_LE(clock.nowMs() - before, 500) << "the reply's bounded wait, its pause and one pass";
    EXPECT_EQ(light.openHandleCount(), 0);
}

TEST_F(MainWindow, EnterKeepsTheWindowAndEscapeStopsTheWorkerLikeTheCloseBox)
{
    startDialog();
    ASSERT_TRUE(waitConnected());
    ctl(1018)->setFocus();
    QTest::keyClick(dlg.get(), Qt::Key_Return);
    QTest::keyClick(dlg.get(), Qt::Key_Enter);
    ASSERT_TRUE(dlg->isVisible()) << "Enter never closes the window";
    QTest::keyClick(dlg.get(), Qt::Key_Escape);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_FALSE(dlg->workerRunning());
    EXPECT_EQ(data.quitRequested, 1u);
    EXPECT_EQ(light.openHandleCount(), 0);
}

TEST_F(MainWindow, AboutItemOpensTheAboutBox)
{
    startDialog();
    QTest::keyClick(dlg.get(), Qt::Key_F1);
    ASSERT_EQ(prompts.modalTitles.size(), 1u);
    EXPECT_EQ(prompts.modalTitles[0], QString::fromUtf8("关于 Quorlin"));
    dlg->OnSysCommand(0xF060 /* another system command */);
    EXPECT_EQ(prompts.modalTitles.size(), 1u);
}

}  // namespace
}  // namespace quorlin::test
