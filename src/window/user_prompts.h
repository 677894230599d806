#pragma once
// Every modal question the program asks goes through here, so tests can answer
// without a modal loop blocking them.

#include <QString>

class QDialog;
class QWidget;

namespace quorlin {

class UserPrompts {
public:
    virtual ~UserPrompts() = default;
    // A message box with an OK button; returns when the user closed it.
    virtual void message(QWidget* parent, const QString& text) = 0;
    // OK/Cancel question; true only for OK (closing the box counts as Cancel).
    virtual bool confirm(QWidget* parent, const QString& text, const QString& caption) = 0;
    // Open-file dialog; the chosen full path, or empty when cancelled.
    virtual QString openFile(QWidget* parent, const QString& initialName, const QString& filter) = 0;
    // Runs a dialog modally; its result.
    virtual int runModal(QDialog& dialog) = 0;
};

// QMessageBox and QFileDialog.
UserPrompts& systemPrompts();

}  // namespace quorlin
