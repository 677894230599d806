#pragma once
// The real main window against a simulated light, with the real worker thread. The
// clock waits a twentieth of each protocol wait, so a worker pass takes about 5 ms.

#include "link/device_link.h"
#include "link/sim/simulated_light.h"
#include "shell/whole_data.h"
#include "support/fake_clock.h"
#include "support/fake_process_list.h"
#include "platform/linux/ini_profile_store.h"
#include "support/locked_stream.h"
#include "window/quorlin_dlg.h"
#include "window/user_prompts.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

namespace quorlin::test {

// Answers every question without a modal loop and remembers what was asked.
class ScriptedPrompts : public UserPrompts {
public:
    bool ask(QWidget*, const PromptBox& box) override
    {
        boxes.push_back(box);
        (box.buttons == PromptBox::Buttons::Ok ? messages : questions).push_back(box.text);
        if (box.buttons == PromptBox::Buttons::Ok)
            return true;
        const bool answer = !confirmAnswers.empty() && confirmAnswers.front();
        if (!confirmAnswers.empty())
            confirmAnswers.pop_front();
        return answer;
    }
    QString openFile(QWidget*, const QString& initialName, const QString& filter) override
    {
        fileDialogs.push_back(initialName + QLatin1Char('|') + filter);
        return fileAnswer;
    }
    int runModal(QDialog& dialog) override
    {
        modalTitles.push_back(dialog.windowTitle());
        return 0;
    }

    std::vector<PromptBox> boxes;
    std::vector<QString> messages;
    std::vector<QString> questions;
    std::deque<bool> confirmAnswers;
    std::vector<QString> fileDialogs;
    QString fileAnswer;
    std::vector<QString> modalTitles;
};

class DialogFixture : public ::testing::Test {
protected:
    FakeClock clock{0.05};
    sim::SimulatedLight light{clock, 1};
    FakeProcessList processes;
    IniProfileStore profiles;  // the window's tests read and write real files
    CWholeData data{processes, profiles};
    LockedStream out;
    LockedStream err;
    DeviceLink link{data, light, clock, out, err};
    ScriptedPrompts prompts;
    std::unique_ptr<CQuorlinDlg> dlg;

    void TearDown() override { closeDialog(); }

    DialogServices services() { return {data, link, light, clock, prompts, nullptr}; }

    void startDialog()
    {
        dlg = std::make_unique<CQuorlinDlg>(services());
        dlg->OnInitDialog();
        dlg->show();
        dlg->activateWindow();
        (void)QTest::qWaitForWindowActive(dlg.get(), 2000);
    }
    void closeDialog()
    {
        if (dlg) {
            dlg->OnClose();
            dlg.reset();
        }
    }

    // Runs the UI thread's event loop until `done` holds or the time is up.
    static bool waitUntil(const std::function<bool()>& done, int timeoutMs = 5000)
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
    bool waitConnected(int timeoutMs = 5000)
    {
        return waitUntil([&] { return data.reconnectRequested == 0 && statusText() == "[Connected]"; }, timeoutMs);
    }
    // Lets the worker run a few passes.
    void settle(int passes = 5)
    {
        const auto until = clock.nowMs() + passes * 100;
        waitUntil([&] { return clock.nowMs() >= until; });
    }

    QString statusText() const { return dlg->m_staticStatus->text(); }
    template <typename W = QWidget>
    W* ctl(int id) const { return static_cast<W*>(dlg->control(id)); }

    // Every settings report that reached the light, one entry per interface written.
    std::vector<std::vector<std::uint8_t>> settingsWrites() const
    {
        std::vector<std::vector<std::uint8_t>> writes;
        for (const auto& call : light.calls(sim::SimulatedLight::CallKind::Write))
            if (call.bytes.size() > 1 && call.bytes[1] == kSettingsCommand)
                writes.push_back(call.bytes);
        return writes;
    }
    int statusRequests() const
    {
        int n = 0;
        for (const auto& call : light.calls(sim::SimulatedLight::CallKind::Write))
            n += call.bytes.size() > 1 && call.bytes[1] == kStatusCommand;
        return n;
    }
};

}  // namespace quorlin::test
