#include "ui/qt/main_window.h"

#include "ui/qt/dialog_template.h"
#include "ui/qt/digits_validator.h"
#include "ui/qt/images.h"
#include "ui/qt/qt_prompts.h"
#include "ui/qt/skin.h"
#include "ui/qt/trackbar_tip.h"
#include "window/about_box.h"
#include "window/resource_ids.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QSlider>

namespace quorlin {
namespace {

// The closed list's height, and the trackbars' (their channel sits level with the label).
constexpr int kClosedRowUnits = 14;

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

QtMainWindow::QtMainWindow(const DialogServices& services, WindowPrompts* prompts, WindowSkin* skin)
    // An application window, not a dialog: window managers keep transient and modal
    // dialogs out of the taskbar and Alt+Tab, and this is the program's only window.
    // Caption and close box only, as the dialog had.
    : QDialog(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint)
{
    if (prompts == nullptr) {
        ownPrompts_ = std::make_unique<QtPrompts>(this);
        prompts = ownPrompts_.get();
    }
    if (skin == nullptr) {
        ownSkin_ = std::make_unique<QtSkin>();
        skin = ownSkin_.get();
    }
    createControls();
    dlg_ = std::make_unique<CQuorlinDlg>(services, DialogFrontEnd{controls_, *prompts, *skin, [this] { wakeUi(); }});
}

QtMainWindow::~QtMainWindow()
{
    // The behaviour stops its worker first, while every control still exists.
    qApp->removeEventFilter(this);
    brightnessScroll_.reset();
    breathingScroll_.reset();
    dlg_.reset();
}

void QtMainWindow::createControls()
{
    QFont dialogFont = font();
    dialogFont.setPointSize(kDialogFontPoints);
    setFont(dialogFont);
    const DialogUnits units = dialogUnitsFor(dialogFont);
    const QRect client = units.toPixels(0, 0, kTemplateWidth, kTemplateHeight);
    setFixedSize(client.size());

    for (const ControlTemplate& t : kMainWindowTemplate) {
        QWidget* widget = makeControl(t, this);
        QRect rect = units.toPixels(t.x, t.y, t.w, t.h);
        if (t.kind == ControlKind::Picture)
            rect.setSize(QSize(kDiscSize, kDiscSize));  // a picture control takes its bitmap's size
        if (t.kind == ControlKind::SortedList || t.kind == ControlKind::Trackbar)
            rect.setHeight(units.toPixels(0, 0, 0, kClosedRowUnits).height());
        widget->setGeometry(rect);
        widget->setVisible(t.visible);
        widget->setObjectName(t.id > 0 ? QString::number(t.id) : QString());
        if (t.id > 0)
            controls_.add(t.id, widget);
    }

    auto* disconnected = static_cast<QLabel*>(control(IDC_PIC_DISCONNECTED));
    auto* connected = static_cast<QLabel*>(control(IDC_PIC_CONNECTED));
    disconnected->setPixmap(discPixmap(kDisconnectedGrey));
    connected->setPixmap(discPixmap(kConnectedGreen));
    connected->setAttribute(Qt::WA_TranslucentBackground);

    // Manual and Auto are one group for the keyboard: one tab stop, the arrow keys
    // move between them and pick the one they reach.
    auto* modes = new QButtonGroup(this);
    modes->addButton(static_cast<QRadioButton*>(control(IDC_RADIO_MANUAL)));
    modes->addButton(static_cast<QRadioButton*>(control(IDC_RADIO_AUTO)));
}

int QtMainWindow::DoModal()
{
    OnInitDialog();
    // exec() would make the window application-modal; it ends through done() all the
    // same (the close box, Escape, a signal), which emits finished.
    QEventLoop loop;
    connect(this, &QDialog::finished, &loop, &QEventLoop::exit);
    show();
    loop.exec(QEventLoop::DialogExec);
    return result();
}

bool QtMainWindow::OnInitDialog()
{
    // The About item: Linux window managers keep their window menu to themselves, so
    // it lives in the window's context menu and on F1.
    auto* about = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(about, &QShortcut::activated, this, [this] { dlg_->OnSysCommand(IDM_ABOUTBOX); });
    setWindowIcon(applicationIcon());

    dlg_->OnInitDialog();
    connectMessageMap();
    return true;
}

void QtMainWindow::wakeUi()
{
    // Dropped with the window: a queued call never outlives its context object.
    QMetaObject::invokeMethod(
        this, [this] {
            if (dlg_)
                dlg_->RunQueuedUiWork();
        },
        Qt::QueuedConnection);
}

void QtMainWindow::closeEvent(QCloseEvent* event)
{
    dlg_->OnClose();
    QDialog::closeEvent(event);
}

void QtMainWindow::accept() {}

void QtMainWindow::reject()
{
    dlg_->OnClose();
    QDialog::reject();
}

void QtMainWindow::contextMenuEvent(QContextMenuEvent* event)
{
    showContextMenu(nullptr, event->globalPos());
}

void QtMainWindow::showContextMenu(QLineEdit* edit, const QPoint& at)
{
    const std::unique_ptr<QMenu> menu(edit != nullptr ? edit->createStandardContextMenu() : new QMenu(this));
    if (!menu->isEmpty())
        menu->addSeparator();
    menu->addAction(QString::fromUtf8(kAboutMenuItem), this, [this] { dlg_->OnSysCommand(IDM_ABOUTBOX); });
    menu->exec(at);
}

bool QtMainWindow::isFirstKeyReceiver(const QObject* watched) const
{
    const QWidget* focus = focusWidget();
    return watched == (focus != nullptr ? focus : this);
}

}  // namespace quorlin
