#include "ui/qt/skin.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace quorlin {
namespace {

class Skin : public ::testing::Test {
protected:
    QTemporaryDir dir;
    void TearDown() override { SkinH_Detach(); }

    QByteArray path(const char* name) const { return dir.filePath(QString::fromLatin1(name)).toLocal8Bit(); }
    void write(const char* name, const QByteArray& content) const
    {
        QFile file(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
};

TEST_F(Skin, AttachStylesWindowsCreatedLaterAndDetachRemovesIt)
{
    write("red.she", "QLabel { color: #ff0000; }");
    EXPECT_EQ(SkinH_AttachEx(path("red.she").constData(), ""), 1);
    QDialog later;
    QLabel label(QStringLiteral("x"), &later);
    later.ensurePolished();
    label.ensurePolished();
    EXPECT_EQ(label.palette().color(QPalette::WindowText), QColor(255, 0, 0));
    SkinH_Detach();
    EXPECT_TRUE(qApp->styleSheet().isEmpty());
}

TEST_F(Skin, UnusableFilesLeaveTheStandardLookSilently)
{
    EXPECT_EQ(SkinH_AttachEx(path("missing.she").constData(), ""), 0);
    EXPECT_EQ(SkinH_AttachEx(dir.path().toLocal8Bit().constData(), ""), 0) << "a folder";
    write("binary.she", QByteArray("QLabel {}\0\x01\x02", 12));
    EXPECT_EQ(SkinH_AttachEx(path("binary.she").constData(), ""), 0);
    write("huge.she", QByteArray(2 << 20, ' '));
    EXPECT_EQ(SkinH_AttachEx(path("huge.she").constData(), ""), 0);
    EXPECT_EQ(SkinH_AttachEx("", ""), 0);
    EXPECT_EQ(SkinH_AttachEx(nullptr, ""), 0);
    EXPECT_TRUE(qApp->styleSheet().isEmpty());
}

}  // namespace
}  // namespace quorlin
