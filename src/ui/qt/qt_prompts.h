#pragma once
// The window's questions as Qt shows them: QMessageBox, QFileDialog, the About box.

#include "window/front_end.h"

class QWidget;

namespace quorlin {

class QtPrompts final : public WindowPrompts {
public:
    // Message boxes and the About box are modal to `parent` and centred over it (none:
    // over the screen).
    explicit QtPrompts(QWidget* parent = nullptr) : parent_(parent) {}

    void message(const std::string& text) override;
    bool confirm(const std::string& text) override;
    std::string openFile(const std::string& initialName, const std::string& filterName) override;
    void showAbout(const AboutBox& box) override;

private:
    QWidget* parent_;
};

}  // namespace quorlin
