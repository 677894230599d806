// Which widget event reaches which handler of the main window: the signals of
// buttons, radios and the language list, the trackbars' scroll messages, and the
// key, focus and paint events that the window filters application-wide.
#include "ui/qt/main_window.h"

#include "ui/qt/trackbar_scroll.h"
#include "window/resource_ids.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSlider>

namespace quorlin {
namespace {

KeyCode keyCode(int key)
{
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return KeyCode::Enter;
    case Qt::Key_A: return KeyCode::A;
    case Qt::Key_C: return KeyCode::C;
    case Qt::Key_P: return KeyCode::P;
    case Qt::Key_F: return KeyCode::F;
    default: return KeyCode::Other;
    }
}

}  // namespace

void QtMainWindow::connectMessageMap()
{
    // One application-wide filter: it sees each key event of the window once, at the
    // object it is delivered to first, before that object handles it.
    qApp->installEventFilter(this);

    const auto onClick = [this](int id, void (CQuorlinDlg::*handler)()) {
        connect(static_cast<QAbstractButton*>(control(id)), &QAbstractButton::clicked, this,
                [this, handler] { (dlg_.get()->*handler)(); });
    };
    onClick(IDC_RADIO_KEEP_ON, &CQuorlinDlg::OnBnClickedKeepOn);
    onClick(IDC_RADIO_BREATHING, &CQuorlinDlg::OnBnClickedBreathing);
    onClick(IDC_BUTTON_LOAD_SKIN, &CQuorlinDlg::OnBnClickedLoadSkin);
    const auto onScroll = [this](int id) {
        return std::make_unique<TrackbarScroll>(*static_cast<QSlider*>(control(id)),
                                                [this, id](TrackbarCode code, int position) {
                                                    dlg_->OnHScroll(static_cast<unsigned>(code),
                                                                    static_cast<unsigned>(position), id);
                                                });
    };
    brightnessScroll_ = onScroll(IDC_SLIDER_BRIGHTNESS);
    breathingScroll_ = onScroll(IDC_SLIDER_BREATHING);
    onClick(IDC_BUTTON_DEFAULT, &CQuorlinDlg::OnBnClickedDefault);
    onClick(IDC_BUTTON_SET, &CQuorlinDlg::OnBnClickedSet);
    onClick(IDC_BUTTON_LOS_CALC, &CQuorlinDlg::OnBnClickedLosCalc);
    onClick(IDC_RADIO_MANUAL, &CQuorlinDlg::OnBnClickedManual);
    onClick(IDC_RADIO_AUTO, &CQuorlinDlg::OnBnClickedAuto);
    // A change of selection only: picking the entry already selected changes nothing.
    connect(static_cast<QComboBox*>(control(IDC_COMBO_LANGUAGE)), &QComboBox::currentIndexChanged, this,
            [this] { dlg_->OnCbnSelchangeLanguage(); });
}

bool QtMainWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Every event of the application passes here: controls are looked up only in the
    // cases that need them.
    if (!dlg_)
        return QDialog::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        // The same event is offered again to each parent it propagates to.
        if (isFirstKeyReceiver(watched))
            dlg_->PreTranslateMessage(keyCode(static_cast<QKeyEvent*>(event)->key()));
        break;
    case QEvent::FocusIn:
        if (watched == control(IDC_EDIT_BRIGHTNESS))
            dlg_->OnEnSetfocusBrightness();
        else if (watched == control(IDC_EDIT_BREATHING))
            dlg_->OnEnSetfocusBreathing();
        break;
    case QEvent::FocusOut:
        if (watched == control(IDC_EDIT_BRIGHTNESS))
            dlg_->OnEnKillfocusBrightness();
        else if (watched == control(IDC_EDIT_BREATHING))
            dlg_->OnEnKillfocusBreathing();
        break;
    case QEvent::Wheel: {
        // A wheel turned over the language list on the way elsewhere must not switch
        // the language; the list takes the wheel only once it has the focus.
        QWidget* list = control(IDC_COMBO_LANGUAGE);
        if (watched == list && !list->hasFocus())
            return true;
        break;
    }
    case QEvent::ContextMenu:
        // An edit's own menu, with the About item after it.
        if (auto* edit = qobject_cast<QLineEdit*>(watched); edit && edit->window() == this && edit->isEnabled()) {
            showContextMenu(edit, static_cast<QContextMenuEvent*>(event)->globalPos());
            return true;
        }
        break;
    case QEvent::Paint:
        if (watched == control(IDC_SLIDER_BRIGHTNESS))
            dlg_->OnNMCustomdrawBrightness();
        else if (watched == control(IDC_SLIDER_BREATHING))
            dlg_->OnNMCustomdrawBreathing();
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace quorlin
