#pragma once
// The window's controls by id, as Qt widgets: a map from each id to its widget.

#include "window/dialog_controls.h"

#include <map>

class QWidget;

namespace quorlin {

class QtDialogControls final : public DialogControls {
public:
    // `window` carries the caption.
    explicit QtDialogControls(QWidget& window) : window_(window) {}

    void add(int id, QWidget* widget) { widgets_[id] = widget; }
    // Null for an id the window does not have.
    QWidget* widget(int id) const;

    void setCaption(const std::string& text) override;
    std::string caption() const override;
    void setText(int id, const std::string& text) override;
    std::string text(int id) const override;
    void placeCaretAtEnd(int id) override;
    void setTrackbarRange(int id, int low, int high) override;
    int trackbarLow(int id) const override;
    int trackbarHigh(int id) const override;
    void setTrackbarPosition(int id, int position) override;
    int trackbarPosition(int id) const override;
    void setChecked(int id, bool checked) override;
    bool checked(int id) const override;
    void setToolTip(int id, const std::string& text) override;
    void show(int id, bool visible) override;
    bool shown(int id) const override;
    void enable(int id, bool enabled) override;
    bool enabled(int id) const override;
    void focus(int id) override;
    bool focused(int id) const override;
    void clearList(int id) override;
    void insertListItem(int id, int row, const std::string& text) override;
    int listCount(int id) const override;
    std::string listItem(int id, int row) const override;
    void setListSelection(int id, int row) override;
    int listSelection(int id) const override;

private:
    QWidget& window_;
    std::map<int, QWidget*> widgets_;
};

}  // namespace quorlin
