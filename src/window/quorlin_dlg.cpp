#include "window/quorlin_dlg.h"

#include "link/clock.h"
#include "link/device_link.h"
#include "link/link_worker.h"
#include "shell/skin.h"
#include "shell/whole_data.h"
#include "window/dialog_template.h"
#include "window/images.h"
#include "window/about_dlg.h"
#include "window/digits_validator.h"
#include "window/trackbar_tip.h"
#include "window/user_prompts.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QSlider>
#include <QThread>

namespace quorlin {
namespace {

constexpr int kWorkerStopWaitMs = 1000;
constexpr int kSendPollMs = 10;

// Controls that the connection display enables and disables, in its order.
constexpr int kConnectedControls[] = {1001, 1002, 1003, 1005, 1004, 1006, 1017, 1027, 1028};
// The parameter panel, in the order it is shown and hidden.
constexpr int kParameterPanel[] = {1020, 1022, 1023, 1021, 1024, 1025, 1026};

QWidget* makeControl(const ControlTemplate& t, QWidget* parent)
{
    const QString text = QString::fromUtf8(t.text);
    switch (t.kind) {
    case ControlKind::Label:
    case ControlKind::LabelRight: {
        auto* label = new QLabel(text, parent);
        label->setAlignment((t.kind == ControlKind::LabelRight ? Qt::AlignRight : Qt::AlignLeft) |
                            Qt::AlignVCenter);
        return label;
    }
    case ControlKind::Picture:
        return new QLabel(parent);
    case ControlKind::Radio: {
        auto* radio = new QRadioButton(text, parent);
        radio->setAutoExclusive(false);  // the handlers set both radios themselves
        return radio;
    }
    case ControlKind::Trackbar: {
        auto* slider = new QSlider(Qt::Horizontal, parent);
        slider->setTickPosition(QSlider::NoTicks);
        showPositionWhileDragged(*slider);
        return slider;
    }
    case ControlKind::DigitsEdit: {
        auto* edit = new QLineEdit(parent);
        // Three digits must fit the narrowest edits (17 units) with the caret after
        // them: the edit's own 2-pixel inner margin gives one pixel back on the left.
        edit->setTextMargins(-1, 0, 0, 0);
        edit->setValidator(new DigitsValidator(edit));
        return edit;
    }
    case ControlKind::TextEdit:
        return new QLineEdit(parent);
    case ControlKind::PushButton: {
        auto* button = new QPushButton(text, parent);
        button->setAutoDefault(false);
        return button;
    }
    case ControlKind::SortedList: {
        auto* list = new QComboBox(parent);
        list->setFocusPolicy(Qt::StrongFocus);  // a wheel turn does not take the focus
        return list;
    }
    }
    return nullptr;
}

}  // namespace

CQuorlinDlg::CQuorlinDlg(const DialogServices& services, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      data_(services.data),
      link_(services.link),
      hid_(services.hid),
      clock_(services.clock),
      prompts_(services.prompts),
      createNotifyWindow_(services.createNotifyWindow)
{
    m_hIcon = std::make_unique<QIcon>(applicationIcon());
    createControls();
    bindControls();
}

CQuorlinDlg::~CQuorlinDlg()
{
    OnClose();  // a window torn down without closing still stops its worker first
}

void CQuorlinDlg::createControls()
{
    QFont dialogFont = font();
    dialogFont.setPointSize(9);
    setFont(dialogFont);
    const DialogUnits units = dialogUnitsFor(dialogFont);
    const QRect client = units.toPixels(0, 0, kTemplateWidth, kTemplateHeight);
    setFixedSize(client.size());

    for (const ControlTemplate& t : kMainWindowTemplate) {
        QWidget* widget = makeControl(t, this);
        QRect rect = units.toPixels(t.x, t.y, t.w, t.h);
        if (t.kind == ControlKind::Picture)
            rect.setSize(QSize(kDiscSize, kDiscSize));  // a picture control takes its bitmap's size
        if (t.kind == ControlKind::SortedList)
            rect.setHeight(units.toPixels(0, 0, 0, 14).height());  // the closed list's height
        if (t.kind == ControlKind::Trackbar)
            rect.setHeight(units.toPixels(0, 0, 0, 14).height());  // the channel sits level with its label
        widget->setGeometry(rect);
        widget->setVisible(t.visible);
        widget->setObjectName(t.id > 0 ? QString::number(t.id) : QString());
        if (t.id > 0)
            controls_[t.id] = widget;
    }
}

// Binds every control to its member and loads the initial values: both trackbars
// at 0, both number edits "0".
void CQuorlinDlg::bindControls()
{
    auto label = [this](int id) { return static_cast<QLabel*>(control(id)); };
    auto edit = [this](int id) { return static_cast<QLineEdit*>(control(id)); };
    auto radio = [this](int id) { return static_cast<QRadioButton*>(control(id)); };
    auto slider = [this](int id) { return static_cast<QSlider*>(control(id)); };
    auto button = [this](int id) { return static_cast<QPushButton*>(control(id)); };

    m_picDisconnected = label(1007);
    m_picConnected = label(1008);
    m_staticStatus = label(1009);
    m_radioKeepOn = radio(1001);
    m_radioBreathing = radio(1002);
    m_sliderBrightness = slider(1003);
    m_sliderBreathing = slider(1004);
    m_editBreathing = edit(1006);
    m_editBrightness = edit(1005);
    m_sliderBrightness->setValue(m_nBrightnessPos);
    m_sliderBreathing->setValue(m_nBreathingPos);
    m_btnDefault = button(1017);
    m_editBrightness->setText(QString::number(m_nBrightnessText));
    m_editBreathing->setText(QString::number(m_nBreathingText));
    m_comboLanguage = static_cast<QComboBox*>(control(1018));
    m_editParam1 = edit(1020);
    m_editParam2 = edit(1022);
    m_editParam3 = edit(1023);
    m_btnSet = button(1021);
    m_editParam4 = edit(1024);
    m_editLosCalc = edit(1025);
    m_btnLosCalc = button(1026);
    m_radioManual = radio(1027);
    m_radioAuto = radio(1028);
    m_staticStatusLabel = label(1029);
    m_staticBrightnessLabel = label(1030);
    m_staticBreathingLabel = label(1031);

    m_picDisconnected->setPixmap(discPixmap(kDisconnectedGrey));
    m_picConnected->setPixmap(discPixmap(kConnectedGreen));
    m_picConnected->setAttribute(Qt::WA_TranslucentBackground);

    // Manual and Auto are one group for the keyboard: one tab stop, the arrow keys
    // move between them and pick the one they reach.
    auto* modes = new QButtonGroup(this);
    modes->addButton(m_radioManual);
    modes->addButton(m_radioAuto);
}

QWidget* CQuorlinDlg::control(int id) const
{
    const auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

int CQuorlinDlg::DoModal()
{
    OnInitDialog();
    return exec();
}

bool CQuorlinDlg::OnInitDialog()
{
    // The About item: Linux window managers keep their window menu to themselves, so
    // it lives in the window's context menu and on F1.
    auto* about = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(about, &QShortcut::activated, this, [this] { OnSysCommand(kIdmAboutBox); });

    setWindowIcon(*m_hIcon);

    FillLanguageCombo();
    ApplyLanguage();

    data_.pollEnabled = 1;
    data_.linkReady = 1;
    m_bBrightnessEditFocus = 0;
    m_bBreathingEditFocus = 0;

    m_sliderBrightness->setRange(0, 100);
    m_sliderBreathing->setRange(0, 100);

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
    m_radioAuto->show();
    m_radioManual->show();
    connectMessageMap();
    return true;
}

bool CQuorlinDlg::onUiThread() const
{
    return QThread::currentThread() == thread();
}

void CQuorlinDlg::ShowConnectionState(bool connected)
{
    const auto wanted = std::make_pair(connected, tableText(connected ? 2 : 3));
    {
        std::lock_guard lock(shownMutex_);
        if (shown_ == wanted)
            return;
    }
    onUi([this, connected] { applyConnectionState(connected); });
}

void CQuorlinDlg::applyConnectionState(bool connected)
{
    std::string text = tableText(connected ? 2 : 3);
    const QString status = QString::fromStdString(text);
    m_picConnected->setVisible(connected);
    m_picDisconnected->setVisible(!connected);
    if (m_staticStatus->text() != status)
        m_staticStatus->setText(status);
    for (int id : kConnectedControls)
        control(id)->setEnabled(connected);
    std::lock_guard lock(shownMutex_);
    shown_.emplace(connected, std::move(text));
}

void CQuorlinDlg::ShowParameterPanel(bool show)
{
    for (int id : kParameterPanel)
        control(id)->setVisible(show);
}

void CQuorlinDlg::ShowModeButtons(bool show)
{
    m_radioAuto->setVisible(show);
    m_radioManual->setVisible(show);
}

void CQuorlinDlg::SendOperationMode()
{
    data_.settings.reportedOperationMode = data_.operationMode.load();
    while (data_.linkReady.load() == 0)
        clock_.sleepMs(kSendPollMs);
    data_.pollEnabled = 0;
    link_.writeSettings(0);
    data_.pollEnabled = 1;
    clock_.sleepMs(kSendPollMs);
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
    SkinH_Detach();
}

void CQuorlinDlg::OnSysCommand(unsigned nID)
{
    if ((nID & 0xFFF0u) == kIdmAboutBox) {
        CAboutDlg about;
        prompts_.runModal(about);
    }
}

void CQuorlinDlg::closeEvent(QCloseEvent* event)
{
    OnClose();
    QDialog::closeEvent(event);
}

void CQuorlinDlg::accept() {}

void CQuorlinDlg::reject()
{
    OnClose();
    QDialog::reject();
}

void CQuorlinDlg::contextMenuEvent(QContextMenuEvent* event)
{
    showContextMenu(nullptr, event->globalPos());
}

void CQuorlinDlg::showContextMenu(QLineEdit* edit, const QPoint& at)
{
    const std::unique_ptr<QMenu> menu(edit != nullptr ? edit->createStandardContextMenu() : new QMenu(this));
    if (!menu->isEmpty())
        menu->addSeparator();
    menu->addAction(QString::fromUtf8(kAboutItem), this, [this] { OnSysCommand(kIdmAboutBox); });
    menu->exec(at);
}

}  // namespace quorlin
