#include "ui/qt/about_dlg.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace quorlin {
namespace {

TEST(AboutBox, ShowsTheBoxsTextsAndItsOkButtonEndsIt)
{
    CAboutDlg about(kAboutBox);
    EXPECT_EQ(about.windowTitle(), QString::fromUtf8("关于 Quorlin"));
    QStringList texts;
    for (const QLabel* label : about.findChildren<QLabel*>())
        if (!label->text().isEmpty())
            texts << label->text();
    EXPECT_EQ(texts, (QStringList{QString::fromUtf8("Quorlin，版本 1.0"), "Setting tool for the Sivane light"}));
    auto* ok = about.findChild<QPushButton*>(QString::number(IDOK_ABOUT));
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), QString::fromUtf8("确定"));
    about.show();
    ok->click();
    EXPECT_EQ(about.result(), QDialog::Accepted);
    EXPECT_FALSE(about.isVisible());
}

}  // namespace
}  // namespace quorlin
