#pragma once
// The main window's behaviour: the light's controls, the connection display the link
// worker drives, the hidden parameter panel and the language list, written over
// control ids (see resource_ids.h). A front end owns the controls, turns their
// notifications into the handlers below and wakes the UI thread when asked.

#include "link/link_window.h"
#include "shell/language_strings.h"
#include "window/dialog_controls.h"
#include "window/ui_caller.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>

namespace quorlin {

class CWholeData;
class Clock;
class DeviceEventWatch;
class DeviceLink;
class HidApi;
class LinkWorker;
class WindowPrompts;
class WindowSkin;

// What the window needs from the rest of the program.
struct DialogServices {
    CWholeData& data;
    DeviceLink& link;
    HidApi& hid;
    Clock& clock;
    // Starts watching for USB plug and unplug events for as long as the result lives;
    // may be empty or return null (then only start-up and language changes open the
    // light).
    std::function<std::unique_ptr<DeviceEventWatch>()> createNotifyWindow;
    // The About box's second line; null keeps the box's own.
    const char* aboutLine = nullptr;
};

// What the window needs from its front end.
struct DialogFrontEnd {
    DialogControls& controls;
    WindowPrompts& prompts;
    WindowSkin& skin;
    // Any thread: have the front end call RunQueuedUiWork on the UI thread soon.
    std::function<void()> wakeUi;
};

class CQuorlinDlg : public LinkWindow {
public:
    // Made on the UI thread, after the front end has made the controls: both trackbars
    // at 0, both number edits "0".
    CQuorlinDlg(const DialogServices& services, const DialogFrontEnd& frontEnd);
    ~CQuorlinDlg() override;
    CQuorlinDlg(const CQuorlinDlg&) = delete;
    CQuorlinDlg& operator=(const CQuorlinDlg&) = delete;

    bool OnInitDialog();

    // Any thread.
    void ShowConnectionState(bool connected) override;
    void RefreshFromDevice() override;
    std::atomic<std::uint32_t>& threadRunFlag() override { return m_bThreadRun; }

    // UI thread: the work other threads have handed over, when the front end was woken.
    void RunQueuedUiWork() { ui_.pump(); }

    // UI thread.
    void ShowParameterPanel(bool show);
    void ShowModeButtons(bool show);
    void SendOperationMode();
    // Stops the worker (at most kWorkerStopWaitMs while it still hands control changes
    // over, then without limit but never stuck on this thread) and takes the skin off.
    // Repeated calls do nothing.
    void OnClose();
    void OnSysCommand(unsigned nID);
    bool workerRunning() const;

    void FillLanguageCombo();
    void ApplyLanguage();
    std::string GetSelectedLanguage() const;
    void OnCbnSelchangeLanguage();

    // Light controls. PreTranslateMessage sees every key press and release of the
    // window before it is dispatched; it never swallows one (always false).
    bool PreTranslateMessage(KeyCode key);
    void OnHScroll(unsigned nSBCode, unsigned nPos, int trackbarId);
    void OnNMCustomdrawBrightness();
    void OnNMCustomdrawBreathing();
    void OnEnSetfocusBrightness();
    void OnEnKillfocusBrightness();
    void OnEnSetfocusBreathing();
    void OnEnKillfocusBreathing();
    void OnBnClickedManual();
    void OnBnClickedAuto();
    void OnBnClickedKeepOn();
    void OnBnClickedBreathing();

    // Parameter panel and commands. Each blocks while it sends.
    void OnBnClickedSet();
    void OnBnClickedLosCalc();
    void OnBnClickedDefault();
    void OnBnClickedLoadSkin();

    // The caption and status texts: the loaded table, or English while none is loaded.
    std::string tableText(int index) const;
    // The language those texts are in.
    UiLanguage tableLanguage() const;

    static constexpr int kWorkerStopWaitMs = 1000;

    std::atomic<std::uint32_t> m_bThreadRun{0};
    int m_bBrightnessEditFocus = 0;
    int m_bBreathingEditFocus = 0;
    std::optional<std::uint8_t> m_lastLosCalcShown;

private:
    // What the connection display shows: the disc, the status text and, while not
    // connected, why (the tooltip of both).
    struct ConnectionView {
        bool connected = false;
        std::string status;
        std::string reason;
        bool operator==(const ConnectionView&) const = default;
    };
    ConnectionView connectionView(bool connected) const;
    void applyConnectionState(const ConnectionView& view);
    // Takes the light's reported Manual/Auto `mode` when radio `id` does not show it yet.
    void adoptReportedMode(std::uint8_t mode, int id, int otherId);
    // The language setting the list shows and rewrites.
    std::string listedLanguages() const;
    // Runs `work` on the UI thread and waits for it.
    void onUi(std::function<void()> work) { ui_.call(std::move(work)); }
    // Enter in a number edit: at most 100, onto the trackbar, into `field`, sent.
    void confirmNumberEdit(int editId, int trackbarId, std::atomic<std::uint8_t>& field);
    // A trackbar's position into `field`, sent, and shown in its edit.
    void applyTrackbarPosition(int trackbarId, int editId, std::atomic<std::uint8_t>& field);
    int editNumber(int id) const;

    CWholeData& data_;
    DeviceLink& link_;
    HidApi& hid_;
    Clock& clock_;
    DialogControls& controls_;
    WindowPrompts& prompts_;
    WindowSkin& skin_;
    std::function<std::unique_ptr<DeviceEventWatch>()> createNotifyWindow_;
    const char* aboutLine_;
    std::unique_ptr<DeviceEventWatch> notifyWindow_;
    UiCaller ui_;
    std::unique_ptr<LinkWorker> m_pWorkerThread;
    // The scroll messages of both trackbars counted together: the 1st, 3rd, 5th ... are
    // handled, the ones between passed over.
    std::uint32_t scrollEventCount_ = 0;
    // The connection display last applied: a pass that would show the same again
    // wakes no UI thread and changes nothing.
    std::mutex shownMutex_;
    std::optional<ConnectionView> shown_;
    bool closed_ = false;
};

}  // namespace quorlin
