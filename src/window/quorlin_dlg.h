#pragma once
// The main window: the light's controls, the connection display the link worker
// drives, and the hidden parameter panel. Controls keep their numeric ids so code and
// tests can address them as the window's design names them.

#include "link/link_window.h"
#include "window/ui_caller.h"

#include <QDialog>

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;

namespace quorlin {

class CWholeData;
class Clock;
class DeviceLink;
class HidApi;
class LinkWorker;
class UserPrompts;

// What the window needs from the rest of the program.
struct DialogServices {
    CWholeData& data;
    DeviceLink& link;
    HidApi& hid;
    Clock& clock;
    UserPrompts& prompts;
    // Creates the hidden receiver of USB plug and unplug events; may return null
    // (then only start-up and language changes open the light).
    std::function<std::unique_ptr<QObject>()> createNotifyWindow;
};

class CQuorlinDlg : public QDialog, public LinkWindow {
    Q_OBJECT
public:
    static constexpr unsigned kIdmAboutBox = 0x0010;
    static constexpr const char* kAboutItem = "关于 Quorlin(&A)...";

    explicit CQuorlinDlg(const DialogServices& services, QWidget* parent = nullptr);
    ~CQuorlinDlg() override;

    // Initialises the window, starts the worker and runs the window until it ends.
    int DoModal();
    // The initialisation on its own, for callers that show the window themselves.
    bool OnInitDialog();

    // Any thread.
    void ShowConnectionState(bool connected) override;
    void RefreshFromDevice() override;
    std::atomic<std::uint32_t>& threadRunFlag() override { return m_bThreadRun; }

    // UI thread.
    void ShowParameterPanel(bool show);
    void ShowModeButtons(bool show);
    void SendOperationMode();
    void OnClose();
    void OnSysCommand(unsigned nID);

    void FillLanguageCombo();
    void ApplyLanguage();
    std::string GetSelectedLanguage() const;
    void OnCbnSelchangeLanguage();

    // Light controls (UI thread). PreTranslateMessage sees every key press and release
    // of the window before it is dispatched; it never swallows one (always false).
    bool PreTranslateMessage(QKeyEvent* pMsg);
    void OnHScroll(unsigned nSBCode, unsigned nPos, QSlider* pScrollBar);
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

    // Parameter panel and commands (UI thread). Each blocks while it sends.
    void OnBnClickedSet();
    void OnBnClickedLosCalc();
    void OnBnClickedDefault();
    void OnBnClickedLoadSkin();

    QWidget* control(int id) const;
    bool workerRunning() const;

    std::unique_ptr<QIcon> m_hIcon;
    QLabel* m_picDisconnected = nullptr;
    QLabel* m_picConnected = nullptr;
    QLabel* m_staticStatus = nullptr;
    std::atomic<std::uint32_t> m_bThreadRun{0};
    std::unique_ptr<LinkWorker> m_pWorkerThread;
    QRadioButton* m_radioKeepOn = nullptr;
    QRadioButton* m_radioBreathing = nullptr;
    QSlider* m_sliderBrightness = nullptr;
    QLineEdit* m_editBrightness = nullptr;
    QSlider* m_sliderBreathing = nullptr;
    QLineEdit* m_editBreathing = nullptr;
    int m_nBrightnessPos = 0;
    int m_nBreathingPos = 0;
    int m_bBrightnessEditFocus = 0;
    int m_bBreathingEditFocus = 0;
    QPushButton* m_btnDefault = nullptr;
    int m_nBrightnessText = 0;
    int m_nBreathingText = 0;
    QComboBox* m_comboLanguage = nullptr;
    QLineEdit* m_editParam1 = nullptr;
    QLineEdit* m_editParam2 = nullptr;
    QLineEdit* m_editParam3 = nullptr;
    QPushButton* m_btnSet = nullptr;
    QLineEdit* m_editParam4 = nullptr;
    QLineEdit* m_editLosCalc = nullptr;
    QPushButton* m_btnLosCalc = nullptr;
    QRadioButton* m_radioManual = nullptr;
    QRadioButton* m_radioAuto = nullptr;
    std::optional<std::uint8_t> m_lastLosCalcShown;
    QLabel* m_staticStatusLabel = nullptr;
    QLabel* m_staticBrightnessLabel = nullptr;
    QLabel* m_staticBreathingLabel = nullptr;

public slots:
    void accept() override;  // Enter never closes the window
    void reject() override;  // Escape stops the worker like the close box

protected:
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    // Installed on the application: routes the window's key, focus and paint events
    // to their handlers (see message_map.cpp).
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void bindControls();
    void connectMessageMap();
    void applyConnectionState(bool connected);
    // Takes the light's reported Manual/Auto `mode` when `radio` does not show it yet.
    void adoptReportedMode(std::uint8_t mode, QRadioButton* radio, QRadioButton* other);
    // The status and label texts: the loaded table, or English while none is loaded.
    std::string tableText(int index) const;
    // The window's context menu at `at`: the edit's own entries (when over one), a
    // separator, and the About item.
    void showContextMenu(QLineEdit* edit, const QPoint& at);
    // The language setting the list shows and rewrites.
    std::string listedLanguages() const;
    // Runs `work` on the UI thread and waits for it.
    void onUi(std::function<void()> work) { ui_.call(std::move(work)); }
    bool onUiThread() const;
    // The object a key event of this window is delivered to first: the window's
    // focus widget, or the window itself when nothing in it has the focus.
    bool isFirstKeyReceiver(const QObject* watched) const;
    // Enter in a number edit: at most 100, onto the trackbar, into `field`, sent.
    void confirmNumberEdit(QLineEdit* edit, QSlider* slider, std::atomic<std::uint8_t>& field);
    // A trackbar's position into `field`, sent, and shown in its edit.
    void applyTrackbarPosition(QSlider* slider, QLineEdit* edit, std::atomic<std::uint8_t>& field);
    // Sleeps one step, then until the worker lets senders through.
    void waitForLinkReady();

    CWholeData& data_;
    DeviceLink& link_;
    HidApi& hid_;
    Clock& clock_;
    UserPrompts& prompts_;
    std::function<std::unique_ptr<QObject>()> createNotifyWindow_;
    std::unique_ptr<QObject> notifyWindow_;
    UiCaller ui_;
    // The connection state and status text last applied: a pass that would show the
    // same again wakes no UI thread and repaints nothing.
    std::mutex shownMutex_;
    std::optional<std::pair<bool, std::string>> shown_;
    std::map<int, QWidget*> controls_;
    bool closed_ = false;
    // The trackbars' scroll messages (TrackbarScroll); declared last so they are gone
    // before the controls they watch.
    std::unique_ptr<QObject> brightnessScroll_;
    std::unique_ptr<QObject> breathingScroll_;
};

}  // namespace quorlin
