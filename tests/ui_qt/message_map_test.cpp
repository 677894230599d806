// Widget events reach the window's handlers: clicks, keys wherever they land, focus,
// the trackbars' scroll messages, paint, the wheel, the close box and the menus.
#include "ui_qt/qt_window_fixture.h"

#include "ui/qt/skin.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <fstream>

namespace quorlin::test {
namespace {

class MessageMap : public QtConnectedWindow {};

TEST_F(MessageMap, ClickingManualReachesItsHandler)
{
    ctl<QRadioButton>(IDC_RADIO_MANUAL)->click();
    EXPECT_EQ(newBytes(kQtMode), std::vector<int>{1});
    EXPECT_TRUE(ctl<QRadioButton>(IDC_RADIO_MANUAL)->isChecked() && !ctl<QRadioButton>(IDC_RADIO_AUTO)->isChecked());
}

TEST_F(MessageMap, ButtonsReachTheirHandlers)
{
    window->dlg().ShowParameterPanel(true);
    ctl<QPushButton>(IDC_BUTTON_DEFAULT)->click();
    ctl<QPushButton>(IDC_BUTTON_LOAD_SKIN)->click();
    ctl<QPushButton>(IDC_BUTTON_SET)->click();
    EXPECT_EQ(prompts.questions, std::vector<std::string>{"Load Default Setting?"});
    EXPECT_EQ(prompts.fileDialogs.size(), 1u);
    EXPECT_TRUE(ctl(IDC_EDIT_PARAM1)->isHidden()) << "Set, with the light's values, hid the panel";
}

// Settings writes attempted, sent or not, each begin with a 40 ms sleep: each key
// event reaches the key step once, though it is offered to every parent.
TEST_F(MessageMap, EnterInAFocusedNumberEditReachesTheKeyStepOncePerEvent)
{
    focusOn(ctl(IDC_EDIT_BRIGHTNESS));
    ctl<QLineEdit>(IDC_EDIT_BRIGHTNESS)->setText("50");
    clock.clearSleeps();
    QTest::keyClick(ctl(IDC_EDIT_BRIGHTNESS), Qt::Key_Return);
    EXPECT_EQ(std::ranges::count(clock.sleeps(), 40), 2);
    EXPECT_EQ(newBytes(kQtBrightness), std::vector<int>{50});
    EXPECT_EQ(ctl<QSlider>(IDC_SLIDER_BRIGHTNESS)->value(), 50);
}

TEST_F(MessageMap, LettersTypedOnAnyControlReachTheKeyStep)
{
    focusOn(ctl(IDC_SLIDER_BRIGHTNESS));
    QTest::keyClicks(ctl(IDC_SLIDER_BRIGHTNESS), "axc");
    for (int id : kParameterPanel)
        EXPECT_TRUE(ctl(id)->isVisible()) << id;
}

TEST_F(MessageMap, EnterNeverClosesTheWindow)
{
    focusOn(ctl(IDC_COMBO_LANGUAGE));
    QTest::keyClick(window.get(), Qt::Key_Return);
    QTest::keyClick(window.get(), Qt::Key_Enter);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->dlg().workerRunning());
}

TEST_F(MessageMap, EscapeAndTheCloseBoxStopTheWorker)
{
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible() || window->dlg().workerRunning());
    EXPECT_EQ(light.openHandleCount(), 0);
    closeWindow();
    startWindow();
    ASSERT_TRUE(waitConnected());
    window->close();
    EXPECT_FALSE(window->dlg().workerRunning());
}

TEST_F(MessageMap, TrackbarKeysSendThroughTheScrollMessages)
{
    focusOn(ctl(IDC_SLIDER_BRIGHTNESS));
    QTest::keySequence(ctl(IDC_SLIDER_BRIGHTNESS), QKeySequence(Qt::Key_Right, Qt::Key_Right));
    EXPECT_EQ(newBytes(kQtBrightness), (std::vector<int>{38, 39}));
    EXPECT_EQ(ctl<QLineEdit>(IDC_EDIT_BRIGHTNESS)->text(), "39");
}

// Right-clicks `w` and picks the menu's last entry; the menu's entries, "-" for a separator.
QStringList pickLastOfMenuOver(QWidget* w)
{
    QStringList seen;
    QTimer::singleShot(0, [&seen] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (const QAction* action : menu->actions())
                seen << (action->isSeparator() ? QStringLiteral("-") : action->text());
            menu->actions().back()->trigger();
            menu->close();
        }
    });
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(2, 2), w->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(w, &click);
    QApplication::processEvents();  // the timer has run when no menu came up
    return seen;
}

TEST_F(MessageMap, AboutBoxOpensFromF1AndARightClickAnywhereAfterAnEditsOwnEntries)
{
    QTest::keyClick(window.get(), Qt::Key_F1);
    const QString about = QString::fromUtf8("关于 Quorlin(&A)...");
    for (int id : {IDC_SLIDER_BRIGHTNESS, IDC_STATIC_STATUS})
        EXPECT_EQ(pickLastOfMenuOver(ctl(id)), QStringList{about}) << id;
    const QStringList overEdit = pickLastOfMenuOver(ctl(IDC_EDIT_BRIGHTNESS));
    EXPECT_TRUE(overEdit.size() > 4 && overEdit.mid(overEdit.size() - 2) == QStringList({"-", about}));
    ctl(IDC_EDIT_BRIGHTNESS)->setEnabled(false);
    EXPECT_EQ(pickLastOfMenuOver(ctl(IDC_EDIT_BRIGHTNESS)), QStringList{about}) << "a disabled edit has no menu of its own";
    EXPECT_EQ(prompts.aboutCaptions, std::vector<std::string>(5, "关于 Quorlin"));
}

class LanguageList : public QtWindowFixture {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir::setCurrent(dir.path()));
        std::ofstream("Language.ini", std::ios::binary) << "[Type]\nMyType=English,1;Japanese,0;\n";
        data.loadLanguageSetting();
        startWindow();
        ASSERT_TRUE(waitConnected());
    }
    void TearDown() override
    {
        closeWindow();
        QDir::setCurrent(previousDir);
    }
    QComboBox* list() const { return ctl<QComboBox>(IDC_COMBO_LANGUAGE); }
    void wheelDown()
    {
        QWheelEvent notch(QPointF(5, 5), list()->mapToGlobal(QPointF(5, 5)), {}, QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(list(), &notch);
    }
    QString previousDir = QDir::currentPath();
    QTemporaryDir dir;
};

TEST_F(LanguageList, AWheelPassingOverTheUnfocusedListChoosesNothing)
{
    focusOn(ctl(IDC_SLIDER_BRIGHTNESS));
    wheelDown();
    EXPECT_EQ(list()->currentText(), "English");
    EXPECT_EQ(data.languageType, "English,1;Japanese,0;");
}

}  // namespace
}  // namespace quorlin::test
