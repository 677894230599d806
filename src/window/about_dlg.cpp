#include "window/about_dlg.h"

#include "window/dialog_template.h"
#include "window/images.h"

#include <QLabel>
#include <QPushButton>

namespace quorlin {

CAboutDlg::CAboutDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    QFont dialogFont = font();
    dialogFont.setPointSize(9);
    setFont(dialogFont);
    const DialogUnits units = dialogUnitsFor(dialogFont);
    setFixedSize(units.toPixels(0, 0, 170, 62).size());
    setWindowTitle(QString::fromUtf8("关于 Quorlin"));

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("icon"));
    const QRect iconRect = units.toPixels(14, 14, 0, 0);
    icon->setGeometry(iconRect.x(), iconRect.y(), 32, 32);
    icon->setPixmap(applicationIcon().pixmap(32, 32));

    auto* name = new QLabel(QString::fromUtf8("Quorlin，版本 1.0"), this);
    name->setTextFormat(Qt::PlainText);
    name->setGeometry(units.toPixels(42, 14, 114, 8));

    auto* line = new QLabel(QStringLiteral("Setting tool for the Sivane light"), this);
    line->setTextFormat(Qt::PlainText);
    line->setGeometry(units.toPixels(42, 26, 114, 8));

    auto* ok = new QPushButton(QString::fromUtf8("确定"), this);
    ok->setObjectName(QStringLiteral("1"));
    ok->setDefault(true);
    ok->setGeometry(units.toPixels(113, 41, 50, 14));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace quorlin
