// The two kinds of message box the program shows, as the seam is asked for them.
#include "window/user_prompts.h"

#include <QApplication>

namespace quorlin {

void UserPrompts::message(QWidget* parent, const QString& text)
{
    ask(parent, {text, QApplication::applicationName(), PromptBox::Icon::Warning, PromptBox::Buttons::Ok});
}

bool UserPrompts::confirm(QWidget* parent, const QString& text)
{
    return ask(parent, {text, QApplication::applicationName(), PromptBox::Icon::None, PromptBox::Buttons::OkCancel});
}

}  // namespace quorlin
