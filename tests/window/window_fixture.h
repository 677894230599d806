#pragma once
// The window's behaviour over recorded controls against a simulated light, with the
// real worker thread. The clock waits a twentieth of each protocol wait, so a worker
// pass takes about 5 ms. Nothing runs an event loop: the test's own waits carry out
// what the worker hands over, as a front end's UI thread would.

#include "link/device_link.h"
#include "link/settings_reports.h"
#include "link/sim/simulated_light.h"
#include "platform/open_failure_advice.h"
#include "shell/whole_data.h"
#include "support/fake_clock.h"
#include "support/fake_dialog_controls.h"
#include "support/fake_process_list.h"
#include "support/memory_profile_store.h"
#include "support/locked_stream.h"
#include "window/quorlin_dlg.h"
#include "window/resource_ids.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace quorlin::test {

// Report bytes: 2 + the setting's place among the fourteen.
enum ReportByte : std::size_t { kBrightness = 4, kBreathing = 5, kParameter1 = 6, kMode = 10, kLosCalc = 15 };

// Names the error and the language it was asked for, so a test sees what reached the
// window.
struct TaggedOpenAdvice final : OpenFailureAdvice {
    void write(std::ostream&, int) const override {}
    std::string_view windowHint(int error, UiLanguage language) const override
    {
        static thread_local std::string hint;
        hint = "open hint " + std::to_string(error) + (language == UiLanguage::Japanese ? " ja" : " en");
        return hint;
    }
};

class WindowFixture : public ::testing::Test {
protected:
    FakeClock clock{0.05};
    sim::SimulatedLight light{clock, 1};
    FakeProcessList processes;
    MemoryProfileStore profiles;
    CWholeData data{processes, profiles};
    LockedStream out;
    LockedStream err;
    TaggedOpenAdvice advice;
    DeviceLink link{data, light, clock, out, err, advice};
    FakeDialogControls controls;
    FakePrompts prompts;
    FakeSkin skin;
    std::atomic<int> wakes{0};
    std::unique_ptr<CQuorlinDlg> dlg;

    void TearDown() override { closeDialog(); }

    void startDialog()
    {
        dlg = std::make_unique<CQuorlinDlg>(DialogServices{data, link, light, clock, nullptr},
                                            DialogFrontEnd{controls, prompts, skin, [this] { ++wakes; }});
        dlg->OnInitDialog();
    }
    void closeDialog()
    {
        if (dlg) {
            dlg->OnClose();
            dlg.reset();
        }
    }

    // Carries out the worker's hand-overs until `done` holds or the time is up.
    bool waitUntil(const std::function<bool()>& done, int timeoutMs = 5000)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            if (dlg)
                dlg->RunQueuedUiWork();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return true;
    }
    std::string statusText() const { return controls.text(IDC_STATIC_STATUS); }
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

// Connected to a light whose settings differ from the built-in defaults: brightness 37,
// breathing 64, parameters 11 22 33 44, Auto, losCalc 0x0A.
class ConnectedWindow : public WindowFixture {
protected:
    static constexpr SettingBytes kLight = {0x01, 0x01, 37, 64, 11, 22, 33, 44, 0x02, 0x01, 0x0F, 0x00, 0x02, 0x0A};

    void SetUp() override
    {
        light.setSettings(kLight);
        startDialog();
        ASSERT_TRUE(waitConnected());
        ASSERT_TRUE(waitUntil([&] { return controls.trackbarPosition(IDC_SLIDER_BREATHING) == 64; }));
        mark();
    }
    // Settings reports on the wire since the last mark().
    std::vector<std::vector<std::uint8_t>> newWrites() const
    {
        auto all = settingsWrites();
        all.erase(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(marked));
        return all;
    }
    // One byte of each settings report since mark().
    std::vector<int> newBytes(std::size_t i) const
    {
        std::vector<int> v;
        for (const auto& w : newWrites())
            v.push_back(w[i]);
        return v;
    }
    void mark() { marked = settingsWrites().size(); }

    std::size_t marked = 0;
};

}  // namespace quorlin::test
