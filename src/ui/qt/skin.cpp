#include "ui/qt/skin.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>

namespace quorlin {
namespace {

// A style sheet is a small text file; anything far larger is not one.
constexpr qint64 kMaxSkinBytes = 1 << 20;

}  // namespace

int SkinH_AttachEx(const char* path, const char* /*password*/)
{
    if (path == nullptr || *path == '\0' || qApp == nullptr)
        return 0;
    const QString name = QString::fromLocal8Bit(path);
    if (!QFileInfo(name).isFile())
        return 0;  // a folder, device or pipe would never give a style sheet (a pipe would block)
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxSkinBytes)
        return 0;
    const QByteArray content = file.read(kMaxSkinBytes + 1);
    if (content.size() > kMaxSkinBytes || content.contains('\0'))
        return 0;  // not a text file
    qApp->setStyleSheet(QString::fromUtf8(content));
    return 1;
}

int SkinH_Detach()
{
    if (qApp != nullptr)
        qApp->setStyleSheet(QString());
    return 1;
}

}  // namespace quorlin
