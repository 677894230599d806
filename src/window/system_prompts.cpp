#include "window/user_prompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace quorlin {
namespace {

class QtPrompts final : public UserPrompts {
public:
    void message(QWidget* parent, const QString& text) override
    {
        QMessageBox::information(parent, QApplication::applicationName(), text, QMessageBox::Ok);
    }
    bool confirm(QWidget* parent, const QString& text, const QString& caption) override
    {
        return QMessageBox::question(parent, caption, text, QMessageBox::Ok | QMessageBox::Cancel,
                                     QMessageBox::Ok) == QMessageBox::Ok;
    }
    QString openFile(QWidget* parent, const QString& initialName, const QString& filter) override
    {
        return QFileDialog::getOpenFileName(parent, QString(), initialName, filter);
    }
    int runModal(QDialog& dialog) override { return dialog.exec(); }
};

}  // namespace

UserPrompts& systemPrompts()
{
    static QtPrompts prompts;
    return prompts;
}

}  // namespace quorlin
