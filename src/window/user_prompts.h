#pragma once
// Every modal question the program asks goes through here, so tests can answer
// without a modal loop blocking them and see how each box was asked for.

#include <QString>

class QDialog;
class QWidget;

namespace quorlin {

// One message box: its text, caption, icon and buttons.
struct PromptBox {
    enum class Icon { None, Warning };
    enum class Buttons { Ok, OkCancel };

    QString text;
    QString caption;
    Icon icon = Icon::None;
    Buttons buttons = Buttons::Ok;
};

class UserPrompts {
public:
    virtual ~UserPrompts() = default;
    // Shows `box` and returns when the user closed it: true only for OK (closing an
    // OK/Cancel box otherwise counts as Cancel).
    virtual bool ask(QWidget* parent, const PromptBox& box) = 0;
    // Open-file dialog; the chosen full path, or empty when cancelled.
    virtual QString openFile(QWidget* parent, const QString& initialName, const QString& filter) = 0;
    // Runs a dialog modally; its result.
    virtual int runModal(QDialog& dialog) = 0;

    // The framework's message box for a fixed text: the warning icon, OK, the
    // application's name as caption.
    void message(QWidget* parent, const QString& text);
    // The window's own OK/Cancel question: no icon, the application's name as
    // caption; true only for OK.
    bool confirm(QWidget* parent, const QString& text);
};

// QMessageBox and QFileDialog.
UserPrompts& systemPrompts();

}  // namespace quorlin
