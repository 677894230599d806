#include "window/user_prompts.h"

#include <QFileDialog>
#include <QMessageBox>

namespace quorlin {
namespace {

class QtPrompts final : public UserPrompts {
public:
    bool ask(QWidget* parent, const PromptBox& box) override
    {
        const bool question = box.buttons == PromptBox::Buttons::OkCancel;
        QMessageBox dialog(box.icon == PromptBox::Icon::Warning ? QMessageBox::Warning : QMessageBox::NoIcon,
                           box.caption, box.text, question ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok,
                           parent);
        dialog.setDefaultButton(QMessageBox::Ok);
        if (question)
            dialog.setEscapeButton(QMessageBox::Cancel);
        return dialog.exec() == QMessageBox::Ok;
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
