#include "dialog_fixture.h"

#include "link/device_broadcast.h"
#include "link/device_notifications.h"
#include "shell/skin.h"

#include <QComboBox>
#include <QContextMenuEvent>
#include <QMenu>
#include <QRadioButton>
#include <QTimer>
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
    EXPECT_TRUE(dlg->rect().contains(ctl(1026)->geometry())) << "the panel's last control fits";
    EXPECT_EQ(statusText(), "[Disconnected]");
    for (int id : kConnectedControls)
        EXPECT_FALSE(ctl(id)->isEnabled()) << id;
    for (int id : kPanel)
        EXPECT_FALSE(ctl(id)->isVisible()) << id;
    EXPECT_TRUE(ctl(1027)->isVisible() && ctl(1028)->isVisible());
    EXPECT_FALSE(ctl(1001)->isVisible() || ctl(1014)->isVisible());
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
    EXPECT_TRUE(ctl(1008)->isVisible() && !ctl(1007)->isVisible());
    for (int id : kConnectedControls)
        EXPECT_TRUE(ctl(id)->isEnabled()) << id;
    EXPECT_FALSE(ctl(1001)->isVisible()) << "enabled but never shown";
    EXPECT_EQ(ctl<QSlider>(1003)->value(), 40);
    EXPECT_EQ(ctl<QLineEdit>(1020)->text() + ctl<QLineEdit>(1025)->text(), "110A");
    EXPECT_TRUE(ctl<QRadioButton>(1028)->isChecked()) << "the light's Auto mode was adopted";
    EXPECT_EQ(data.operationMode, 2);
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
    ASSERT_TRUE(waitUntil([&] { return statusText() == "[Connected]" && ctl<QLineEdit>(1005)->text() == "77"; }));
    settle(3);
    EXPECT_EQ(statusRequests(), 1);
}

// Polling passes that would show what is shown wake the UI thread for nothing else.
TEST_F(MainWindow, PassesThatChangeNothingHandNothingToTheUiThread)
{
    struct HandOverCounter : QObject {
        int count = 0;
        bool eventFilter(QObject* watched, QEvent* event) override
        {
            count += event->type() == QEvent::MetaCall && qobject_cast<UiCaller*>(watched) != nullptr;
            return false;
        }
    } handOvers;
    startDialog();
    ASSERT_TRUE(waitConnected());
    settle(2);
    qApp->installEventFilter(&handOvers);
    const int checks = processes.calls;
    settle(5);
    EXPECT_GT(processes.calls, checks + 3) << "the worker kept polling";
    EXPECT_EQ(handOvers.count, 0);
    processes.launcherRunning = true;
    ASSERT_TRUE(waitUntil([&] { return statusText() == "[Disconnected]"; }));
    EXPECT_GT(handOvers.count, 0) << "a change is shown as before";
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
    EXPECT_FALSE(ctl(1003)->isEnabled());
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
    dlg->close();
    EXPECT_FALSE(dlg->workerRunning());
    EXPECT_LE(clock.nowMs() - before, 500) << "the reply's bounded wait, its pause and one pass";
    EXPECT_EQ(light.openHandleCount(), 0);
}

TEST_F(MainWindow, EnterKeepsTheWindowAndTheCloseBoxOrEscapeStopsTheWorkerWithinAboutOnePass)
{
    for (const bool escape : {false, true}) {
        data.quitRequested = 0;  // the last window's close must not stop this one's worker
        startDialog();
        ASSERT_TRUE(waitConnected());
        ctl(1018)->setFocus();
        QTest::keyClick(dlg.get(), Qt::Key_Return);
        QTest::keyClick(dlg.get(), Qt::Key_Enter);
        ASSERT_TRUE(dlg->isVisible()) << "Enter never closes the window";
        light.clearCalls();
        const auto before = clock.nowMs();
        escape ? QTest::keyClick(dlg.get(), Qt::Key_Escape) : void(dlg->close());
        EXPECT_FALSE(dlg->isVisible() || dlg->workerRunning());
        EXPECT_LE(clock.nowMs() - before, 150) << "worker time spent during the close";
        EXPECT_EQ(light.openHandleCount(), 0) << "the worker closed the light on its way out";
        EXPECT_EQ(light.calls(SimulatedLight::CallKind::Exit).size(), 1u);
        closeDialog();
    }
}

TEST_F(MainWindow, UnderTheSkinEveryFocusableControlShowsItsFocus)
{
    ASSERT_EQ(SkinH_AttachEx(QUORLIN_SOURCE_DIR "/resources/red.she", ""), 1);  // the close takes it off
    startDialog();
    ASSERT_TRUE(waitConnected());
    dlg->ShowParameterPanel(true);
    std::vector<QWidget*> focusable;
    for (QWidget* w : dlg->findChildren<QWidget*>())
        if (w->isVisible() && w->focusPolicy() != Qt::NoFocus && !qobject_cast<QComboBox*>(w->parentWidget()))
            focusable.push_back(w);
    ASSERT_EQ(focusable.size(), 15u);
    for (std::size_t i = 0; i < focusable.size(); ++i) {
        focusable[(i + 1) % focusable.size()]->setFocus();
        const QImage plain = focusable[i]->grab().toImage();
        focusable[i]->setFocus();
        ASSERT_TRUE(focusable[i]->hasFocus());
        EXPECT_NE(focusable[i]->grab().toImage(), plain) << focusable[i]->objectName().toStdString();
    }
}

// Right-clicks `w` and picks the menu's last entry; the menu's entries, "-" for a separator.
QStringList pickLastOfMenuOver(QWidget* w)
{
    QStringList seen;
    QTimer::singleShot(0, [&seen] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (const QAction* action : menu->actions())
                seen << (action->isSeparator() ? QStringLiteral("-") : action->text());
            menu->actions().back()->trigger();
            menu->close();
        }
    });
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(2, 2), w->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(w, &click);
    QApplication::processEvents();  // the timer has run when no menu came up
    return seen;
}

TEST_F(MainWindow, AboutBoxOpensFromF1AndARightClickAnywhereAfterAnEditsOwnEntries)
{
    startDialog();
    ASSERT_TRUE(waitConnected());
    QTest::keyClick(dlg.get(), Qt::Key_F1);
    const QString about = QString::fromUtf8("关于 Quorlin(&A)...");
    for (int id : {1003, 1009})
        EXPECT_EQ(pickLastOfMenuOver(ctl(id)), QStringList{about}) << id;
    const QStringList overEdit = pickLastOfMenuOver(ctl(1005));
    EXPECT_TRUE(overEdit.size() > 4 && overEdit.mid(overEdit.size() - 2) == QStringList({"-", about}));
    ctl(1005)->setEnabled(false);
    EXPECT_EQ(pickLastOfMenuOver(ctl(1005)), QStringList{about}) << "a disabled edit has no menu of its own";
    dlg->OnSysCommand(0xF060 /* another system command */);
    EXPECT_EQ(prompts.modalTitles, std::vector<QString>(5, QString::fromUtf8("关于 Quorlin")));
}

}  // namespace
}  // namespace quorlin::test
