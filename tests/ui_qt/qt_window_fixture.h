#pragma once
// The Qt main window against a simulated light, with the real worker thread and Qt's
// event loop carrying the hand-overs. The clock waits a twentieth of each protocol
// wait, so a worker pass takes about 5 ms.

#include "link/device_link.h"
#include "link/settings_reports.h"
#include "link/sim/simulated_light.h"
#include "shell/whole_data.h"
#include "support/fake_clock.h"
#include "support/fake_dialog_controls.h"
#include "support/fake_process_list.h"
#include "platform/linux/ini_profile_store.h"
#include "platform/linux/udev_rule_advice.h"
#include "support/locked_stream.h"
#include "ui/qt/main_window.h"
#include "window/resource_ids.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

namespace quorlin::test {

// Report bytes: 2 + the setting's place among the fourteen.
enum QtReportByte : std::size_t { kQtBrightness = 4, kQtBreathing = 5, kQtMode = 10 };

class QtWindowFixture : public ::testing::Test {
protected:
    FakeClock clock{0.05};
    sim::SimulatedLight light{clock, 1};
    FakeProcessList processes;
    IniProfileStore profiles;  // the front end's tests read and write real files
    CWholeData data{processes, profiles};
    LockedStream out;
    LockedStream err;
    UdevRuleAdvice advice;  // the system's, as the program has it
    DeviceLink link{data, light, clock, out, err, advice};
    FakePrompts prompts;
    // Null: the real style-sheet skin.
    WindowSkin* skin = nullptr;
    std::unique_ptr<QtMainWindow> window;

    void TearDown() override { closeWindow(); }

    void startWindow()
    {
        // The window clears quitRequested only after its worker has started, and a
        // worker that sees it still set ends at once. The program opens its window
        // once; a test that closes one and starts another on the same data starts
        // from a data object as fresh as the program's.
        data.quitRequested = 0;
        window = std::make_unique<QtMainWindow>(DialogServices{data, link, light, clock, nullptr}, &prompts, skin);
        window->OnInitDialog();
        window->show();
        window->activateWindow();
        (void)QTest::qWaitForWindowActive(window.get(), 2000);
    }
    void closeWindow()
    {
        if (window) {
            window->dlg().OnClose();
            window.reset();
        }
    }
    // Runs the UI thread's event loop until `done` holds or the time is up. The bound
    // only catches a hang: a sanitizer build on a loaded machine may need seconds.
    static bool waitUntil(const std::function<bool()>& done, int timeoutMs = 30000)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            QApplication::processEvents(QEventLoop::AllEvents, 5);
            QThread::msleep(1);
        }
        return true;
    }
    QString statusText() const { return ctl<QLabel>(IDC_STATIC_STATUS)->text(); }
    bool waitConnected() { return waitUntil([&] { return data.reconnectRequested == 0 && statusText() == "[Connected]"; }); }
    template <typename W = QWidget>
    W* ctl(int id) const { return static_cast<W*>(window->control(id)); }
    void focusOn(QWidget* w)
    {
        w->setFocus();
        ASSERT_TRUE(waitUntil([&] { return w->hasFocus(); }));
    }

    std::vector<std::vector<std::uint8_t>> settingsWrites() const
    {
        std::vector<std::vector<std::uint8_t>> writes;
        for (const auto& call : light.calls(sim::SimulatedLight::CallKind::Write))
            if (call.bytes.size() > 1 && call.bytes[1] == kSettingsCommand)
                writes.push_back(call.bytes);
        return writes;
    }
};

// Connected to a light with brightness 37, breathing 64, Auto.
class QtConnectedWindow : public QtWindowFixture {
protected:
    void SetUp() override
    {
        light.setSettings({0x01, 0x01, 37, 64, 11, 22, 33, 44, 0x02, 0x01, 0x0F, 0x00, 0x02, 0x0A});
        startWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()) && waitConnected());
        ASSERT_TRUE(waitUntil([&] { return ctl<QSlider>(IDC_SLIDER_BREATHING)->value() == 64; }));
        mark();
    }
    std::vector<int> newBytes(std::size_t i) const
    {
        std::vector<int> v;
        const auto all = settingsWrites();
        for (std::size_t n = marked; n < all.size(); ++n)
            v.push_back(all[n][i]);
        return v;
    }
    void mark() { marked = settingsWrites().size(); }
    std::size_t marked = 0;
};

}  // namespace quorlin::test
