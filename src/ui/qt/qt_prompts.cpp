#include "ui/qt/qt_prompts.h"

#include "ui/qt/about_dlg.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace quorlin {
namespace {

QString utf8(const std::string& text)
{
    return QString::fromStdString(text);
}

}  // namespace

void QtPrompts::message(const std::string& text)
{
    QMessageBox box(QMessageBox::Warning, QApplication::applicationName(), utf8(text), QMessageBox::Ok, parent_);
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
}

bool QtPrompts::confirm(const std::string& text)
{
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), utf8(text),
                    QMessageBox::Ok | QMessageBox::Cancel, parent_);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::Ok;
}

std::string QtPrompts::openFile(const std::string& initialName, const std::string& filterName)
{
    // One filter that lists every file.
    const QString filter = utf8(filterName) + QStringLiteral(" (*)");
    return QFileDialog::getOpenFileName(nullptr, QString(), utf8(initialName), filter).toStdString();
}

void QtPrompts::showAbout(const AboutBox& box)
{
    CAboutDlg about(box, parent_);
    about.exec();
}

}  // namespace quorlin
