#include "window/quorlin_dlg.h"

#include "link/clock.h"
#include "link/device_link.h"
#include "link/link_worker.h"
#include "link/device_event_watch.h"
#include "link/send_gate.h"
#include "shell/language.h"
#include "shell/whole_data.h"
#include "window/about_box.h"
#include "window/front_end.h"
#include "window/resource_ids.h"

namespace quorlin {
namespace {

constexpr int kTrackbarLow = 0;
constexpr int kTrackbarHigh = 100;
// The low four bits of a system command are the system's own.
constexpr unsigned kSystemCommandMask = 0xFFF0u;

}  // namespace

CQuorlinDlg::CQuorlinDlg(const DialogServices& services, const DialogFrontEnd& frontEnd)
    : data_(services.data),
      link_(services.link),
      hid_(services.hid),
      clock_(services.clock),
      controls_(frontEnd.controls),
      prompts_(frontEnd.prompts),
      skin_(frontEnd.skin),
      createNotifyWindow_(services.createNotifyWindow),
      aboutLine_(services.aboutLine),
      ui_(frontEnd.wakeUi)
{
    controls_.setTrackbarPosition(IDC_SLIDER_BRIGHTNESS, 0);
    controls_.setTrackbarPosition(IDC_SLIDER_BREATHING, 0);
    controls_.setNumber(IDC_EDIT_BRIGHTNESS, 0);
    controls_.setNumber(IDC_EDIT_BREATHING, 0);
}

CQuorlinDlg::~CQuorlinDlg()
{
    OnClose();  // a window torn down without closing still stops its worker first
}

bool CQuorlinDlg::OnInitDialog()
{
    FillLanguageCombo();
    ApplyLanguage();

    data_.pollEnabled = 1;
    data_.linkReady = 1;
    m_bBrightnessEditFocus = 0;
    m_bBreathingEditFocus = 0;

    controls_.setTrackbarRange(IDC_SLIDER_BRIGHTNESS, kTrackbarLow, kTrackbarHigh);
    controls_.setTrackbarRange(IDC_SLIDER_BREATHING, kTrackbarLow, kTrackbarHigh);

    ShowConnectionState(false);
    data_.reconnectRequested = 1;
    if (createNotifyWindow_)
        notifyWindow_ = createNotifyWindow_();
    data_.setLinkBusyUsable(0, 1);

    m_bThreadRun = 1;
    m_pWorkerThread = std::make_unique<LinkWorker>(data_, link_, hid_, clock_);
    if (!m_pWorkerThread->start(*this))
        m_pWorkerThread.reset();  // no worker: the light is never opened
    data_.quitRequested = 0;

    ShowParameterPanel(false);
    controls_.show(IDC_RADIO_AUTO, true);
    controls_.show(IDC_RADIO_MANUAL, true);
    return true;
}

void CQuorlinDlg::ShowConnectionState(bool connected)
{
    ConnectionView wanted = connectionView(connected);
    {
        std::lock_guard lock(shownMutex_);
        if (shown_ == wanted)
            return;
    }
    onUi([this, view = std::move(wanted)] { applyConnectionState(view); });
}

CQuorlinDlg::ConnectionView CQuorlinDlg::connectionView(bool connected) const
{
    ConnectionView view{connected, tableText(connected ? kTextConnected : kTextDisconnected), {}};
    if (connected)
        return view;
    const LinkDown down = link_.down();
    const UiLanguage language = tableLanguage();
    switch (down.reason) {
    case LinkDownReason::None:
        break;  // not looked for yet, or a reconnect under way
    case LinkDownReason::NoLight:
        view.reason = linkReasonStrings(language).noLight;
        break;
    case LinkDownReason::NotOpenable:
        view.reason = link_.openFailureAdvice().windowHint(down.openError, language);
        break;
    case LinkDownReason::LauncherRunning:
        view.reason = linkReasonStrings(language).launcherRunning;
        break;
    }
    return view;
}

void CQuorlinDlg::applyConnectionState(const ConnectionView& view)
{
    controls_.show(IDC_PIC_CONNECTED, view.connected);
    controls_.show(IDC_PIC_DISCONNECTED, !view.connected);
    if (controls_.text(IDC_STATIC_STATUS) != view.status)
        controls_.setText(IDC_STATIC_STATUS, view.status);
    for (int id : {IDC_STATIC_STATUS, IDC_PIC_CONNECTED, IDC_PIC_DISCONNECTED})
        controls_.setToolTip(id, view.reason);
    for (int id : kConnectedControls)
        controls_.enable(id, view.connected);
    std::lock_guard lock(shownMutex_);
    shown_ = view;
}

void CQuorlinDlg::ShowParameterPanel(bool show)
{
    for (int id : kParameterPanel)
        controls_.show(id, show);
}

void CQuorlinDlg::ShowModeButtons(bool show)
{
    for (int id : kModeButtons)
        controls_.show(id, show);
}

void CQuorlinDlg::SendOperationMode()
{
    sendOperationMode(data_, clock_, link_);
}

bool CQuorlinDlg::workerRunning() const
{
    return m_pWorkerThread && !m_pWorkerThread->finished();
}

void CQuorlinDlg::OnClose()
{
    if (closed_)
        return;
    closed_ = true;
    data_.quitRequested = 1;
    data_.reconnectRequested = 0;
    data_.pollEnabled = 0;
    m_bThreadRun = 0;
    if (m_pWorkerThread) {
        // Carry out the worker's pending control changes while waiting, so that it is
        // never stuck on this thread. A worker that needs longer (a reply still on its
        // way) is waited for all the same: it must not outlive the window it uses.
        m_pWorkerThread->waitForEnd(kWorkerStopWaitMs, [this] { ui_.pump(); });
        ui_.close();
        m_pWorkerThread->join();
        m_pWorkerThread.reset();
    }
    skin_.detach();
}

void CQuorlinDlg::OnSysCommand(unsigned nID)
{
    if ((nID & kSystemCommandMask) != IDM_ABOUTBOX)
        return;
    AboutBox box = kAboutBox;
    if (aboutLine_ != nullptr)
        box.description = aboutLine_;
    prompts_.showAbout(box);
}

int CQuorlinDlg::editNumber(int id) const
{
    return leadingNumber(controls_.text(id));
}

}  // namespace quorlin
