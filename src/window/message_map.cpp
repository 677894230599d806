// Which control notification reaches which handler of the main window: the signals
// of buttons, radios and the language list, the trackbars' scroll messages, and the
// key, focus and paint events that the window filters application-wide.
#include "window/quorlin_dlg.h"

#include "window/trackbar_scroll.h"

#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

namespace quorlin {

void CQuorlinDlg::connectMessageMap()
{
    // One application-wide filter: it sees each key event of the window once, at the
    // object it is delivered to first, before that object handles it.
    qApp->installEventFilter(this);

    connect(m_radioKeepOn, &QRadioButton::clicked, this, [this] { OnBnClickedKeepOn(); });
    connect(m_radioBreathing, &QRadioButton::clicked, this, [this] { OnBnClickedBreathing(); });
    connect(static_cast<QPushButton*>(control(1014)), &QPushButton::clicked, this,
            [this] { OnBnClickedLoadSkin(); });
    brightnessScroll_ = std::make_unique<TrackbarScroll>(
        *m_sliderBrightness, [this](TrackbarCode code, int position) {
            OnHScroll(static_cast<unsigned>(code), static_cast<unsigned>(position), m_sliderBrightness);
        });
    breathingScroll_ = std::make_unique<TrackbarScroll>(
        *m_sliderBreathing, [this](TrackbarCode code, int position) {
            OnHScroll(static_cast<unsigned>(code), static_cast<unsigned>(position), m_sliderBreathing);
        });
    connect(m_btnDefault, &QPushButton::clicked, this, [this] { OnBnClickedDefault(); });
    connect(m_btnSet, &QPushButton::clicked, this, [this] { OnBnClickedSet(); });
    connect(m_btnLosCalc, &QPushButton::clicked, this, [this] { OnBnClickedLosCalc(); });
    connect(m_radioManual, &QRadioButton::clicked, this, [this] { OnBnClickedManual(); });
    connect(m_radioAuto, &QRadioButton::clicked, this, [this] { OnBnClickedAuto(); });
    // A change of selection only: picking the entry already selected changes nothing.
    connect(m_comboLanguage, &QComboBox::currentIndexChanged, this, [this] { OnCbnSelchangeLanguage(); });
}

bool CQuorlinDlg::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        // The same event is offered again to each parent it propagates to.
        if (isFirstKeyReceiver(watched))
            PreTranslateMessage(static_cast<QKeyEvent*>(event));
        break;
    case QEvent::FocusIn:
        if (watched == m_editBrightness)
            OnEnSetfocusBrightness();
        else if (watched == m_editBreathing)
            OnEnSetfocusBreathing();
        break;
    case QEvent::FocusOut:
        if (watched == m_editBrightness)
            OnEnKillfocusBrightness();
        else if (watched == m_editBreathing)
            OnEnKillfocusBreathing();
        break;
    case QEvent::Wheel:
        // A wheel turned over the language list on the way elsewhere must not switch
        // the language; the list takes the wheel only once it has the focus.
        if (watched == m_comboLanguage && !m_comboLanguage->hasFocus())
            return true;
        break;
    case QEvent::ContextMenu:
        // An edit's own menu, with the About item after it.
        if (auto* edit = qobject_cast<QLineEdit*>(watched); edit && edit->window() == this && edit->isEnabled()) {
            showContextMenu(edit, static_cast<QContextMenuEvent*>(event)->globalPos());
            return true;
        }
        break;
    case QEvent::Paint:
        if (watched == m_sliderBrightness)
            OnNMCustomdrawBrightness();
        else if (watched == m_sliderBreathing)
            OnNMCustomdrawBreathing();
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace quorlin
