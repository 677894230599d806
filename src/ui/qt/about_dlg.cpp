#include "ui/qt/about_dlg.h"

#include "ui/qt/dialog_template.h"
#include "ui/qt/images.h"

#include <QLabel>
#include <QPushButton>

namespace quorlin {
namespace {

constexpr int kIconPixels = 32;

}  // namespace

CAboutDlg::CAboutDlg(const AboutBox& box, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    QFont dialogFont = font();
    dialogFont.setPointSize(kDialogFontPoints);
    setFont(dialogFont);
    const DialogUnits units = dialogUnitsFor(dialogFont);
    setFixedSize(units.toPixels(0, 0, 170, 62).size());
    setWindowTitle(QString::fromUtf8(box.caption));

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("icon"));
    const QRect iconRect = units.toPixels(14, 14, 0, 0);
    icon->setGeometry(iconRect.x(), iconRect.y(), kIconPixels, kIconPixels);
    icon->setPixmap(applicationIcon().pixmap(kIconPixels, kIconPixels));

    auto* name = new QLabel(QString::fromUtf8(box.nameAndVersion), this);
    name->setTextFormat(Qt::PlainText);
    name->setGeometry(units.toPixels(42, 14, 114, 8));

    auto* line = new QLabel(QString::fromUtf8(box.description), this);
    line->setTextFormat(Qt::PlainText);
    line->setGeometry(units.toPixels(42, 26, 114, 8));

    auto* ok = new QPushButton(QString::fromUtf8(box.okButton), this);
    ok->setObjectName(QString::number(IDOK_ABOUT));
    ok->setDefault(true);
    ok->setGeometry(units.toPixels(113, 41, 50, 14));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace quorlin
