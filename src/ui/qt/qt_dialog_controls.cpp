#include "ui/qt/qt_dialog_controls.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSlider>

namespace quorlin {
namespace {

QString utf8(const std::string& text)
{
    return QString::fromStdString(text);
}

template <typename W>
W* as(QWidget* widget)
{
    return qobject_cast<W*>(widget);
}

}  // namespace

QWidget* QtDialogControls::widget(int id) const
{
    const auto it = widgets_.find(id);
    return it == widgets_.end() ? nullptr : it->second;
}

void QtDialogControls::setCaption(const std::string& text)
{
    window_.setWindowTitle(utf8(text));
}

std::string QtDialogControls::caption() const
{
    return window_.windowTitle().toStdString();
}

void QtDialogControls::setText(int id, const std::string& text)
{
    QWidget* w = widget(id);
    if (auto* label = as<QLabel>(w))
        label->setText(utf8(text));
    else if (auto* button = as<QAbstractButton>(w))
        button->setText(utf8(text));
    else if (auto* edit = as<QLineEdit>(w))
        edit->setText(utf8(text));
}

std::string QtDialogControls::text(int id) const
{
    QWidget* w = widget(id);
    if (auto* label = as<QLabel>(w))
        return label->text().toStdString();
    if (auto* button = as<QAbstractButton>(w))
        return button->text().toStdString();
    if (auto* edit = as<QLineEdit>(w))
        return edit->text().toStdString();
    return {};
}

void QtDialogControls::placeCaretAtEnd(int id)
{
    if (auto* edit = as<QLineEdit>(widget(id)))
        edit->setCursorPosition(static_cast<int>(edit->text().size()));
}

void QtDialogControls::setTrackbarRange(int id, int low, int high)
{
    if (auto* slider = as<QSlider>(widget(id)))
        slider->setRange(low, high);
}

int QtDialogControls::trackbarLow(int id) const
{
    auto* slider = as<QSlider>(widget(id));
    return slider != nullptr ? slider->minimum() : 0;
}

int QtDialogControls::trackbarHigh(int id) const
{
    auto* slider = as<QSlider>(widget(id));
    return slider != nullptr ? slider->maximum() : 0;
}

void QtDialogControls::setTrackbarPosition(int id, int position)
{
    if (auto* slider = as<QSlider>(widget(id)))
        slider->setValue(position);
}

int QtDialogControls::trackbarPosition(int id) const
{
    // While a user's move is being reported the value has not followed the thumb yet.
    auto* slider = as<QSlider>(widget(id));
    return slider != nullptr ? slider->sliderPosition() : 0;
}

void QtDialogControls::setChecked(int id, bool checked)
{
    if (auto* button = as<QAbstractButton>(widget(id)))
        button->setChecked(checked);
}

bool QtDialogControls::checked(int id) const
{
    auto* button = as<QAbstractButton>(widget(id));
    return button != nullptr && button->isChecked();
}

void QtDialogControls::setToolTip(int id, const std::string& text)
{
    if (QWidget* w = widget(id))
        w->setToolTip(utf8(text));
}

void QtDialogControls::show(int id, bool visible)
{
    if (QWidget* w = widget(id))
        w->setVisible(visible);
}

bool QtDialogControls::shown(int id) const
{
    // The control's own visibility, whether or not the window is on screen yet.
    QWidget* w = widget(id);
    return w != nullptr && !w->isHidden();
}

void QtDialogControls::enable(int id, bool enabled)
{
    if (QWidget* w = widget(id))
        w->setEnabled(enabled);
}

bool QtDialogControls::enabled(int id) const
{
    QWidget* w = widget(id);
    return w != nullptr && w->isEnabled();
}

void QtDialogControls::focus(int id)
{
    if (QWidget* w = widget(id))
        w->setFocus(Qt::OtherFocusReason);
}

bool QtDialogControls::focused(int id) const
{
    QWidget* w = widget(id);
    return w != nullptr && w->hasFocus();
}

void QtDialogControls::clearList(int id)
{
    if (auto* list = as<QComboBox>(widget(id))) {
        const QSignalBlocker quiet(list);
        list->clear();
    }
}

void QtDialogControls::insertListItem(int id, int row, const std::string& text)
{
    if (auto* list = as<QComboBox>(widget(id))) {
        const QSignalBlocker quiet(list);
        list->insertItem(row, utf8(text));
    }
}

int QtDialogControls::listCount(int id) const
{
    auto* list = as<QComboBox>(widget(id));
    return list != nullptr ? list->count() : 0;
}

std::string QtDialogControls::listItem(int id, int row) const
{
    auto* list = as<QComboBox>(widget(id));
    return list != nullptr ? list->itemText(row).toStdString() : std::string();
}

void QtDialogControls::setListSelection(int id, int row)
{
    if (auto* list = as<QComboBox>(widget(id))) {
        const QSignalBlocker quiet(list);
        list->setCurrentIndex(row);
    }
}

int QtDialogControls::listSelection(int id) const
{
    auto* list = as<QComboBox>(widget(id));
    return list != nullptr ? list->currentIndex() : -1;
}

}  // namespace quorlin
