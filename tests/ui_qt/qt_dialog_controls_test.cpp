// Each id reaches its widget, and changes made by the behaviour raise no widget
// notification of the user's.
#include "ui_qt/qt_window_fixture.h"

#include "ui/qt/dialog_template.h"

#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>

#include <set>

namespace quorlin::test {
namespace {

class QtControls : public QtWindowFixture {
protected:
    void SetUp() override
    {
        light.unplug();  // no worker changes in between
        window = std::make_unique<QtMainWindow>(DialogServices{data, link, light, clock, nullptr}, &prompts, skin);
        controls = std::make_unique<QtDialogControls>(*window);
        for (const ControlTemplate& t : kMainWindowTemplate)
            if (t.id > 0)
                controls->add(t.id, window->control(t.id));
    }
    std::unique_ptr<QtDialogControls> controls;
};

TEST_F(QtControls, EveryControlIdHasItsOwnWidget)
{
    std::set<QWidget*> widgets;
    for (int id : kMainWindowControls) {
        ASSERT_NE(window->control(id), nullptr) << id;
        EXPECT_EQ(window->control(id)->objectName(), QString::number(id));
        widgets.insert(window->control(id));
    }
    EXPECT_EQ(widgets.size(), kMainWindowControls.size());
    EXPECT_EQ(window->control(IDD_QUORLIN_DIALOG), nullptr);
}

TEST_F(QtControls, TextsReachLabelsButtonsRadiosAndEditsInUtf8)
{
    const int ids[] = {IDC_STATIC_STATUS, IDC_BUTTON_DEFAULT, IDC_RADIO_MANUAL, IDC_EDIT_LOS_CALC};
    for (int id : ids) {
        controls->setText(id, "[接続済み]");
        EXPECT_EQ(controls->text(id), "[接続済み]") << id;
    }
    EXPECT_EQ(ctl<QLabel>(IDC_STATIC_STATUS)->text(), QString::fromUtf8("[接続済み]"));
    EXPECT_EQ(ctl<QPushButton>(IDC_BUTTON_DEFAULT)->text(), QString::fromUtf8("[接続済み]"));
    controls->setCaption("Quorlin");
    EXPECT_EQ(window->windowTitle(), "Quorlin");
}

TEST_F(QtControls, TheTrackbarPositionIsWhereTheThumbStands)
{
    controls->setTrackbarRange(IDC_SLIDER_BREATHING, 0, 100);
    controls->setTrackbarPosition(IDC_SLIDER_BREATHING, 64);
    EXPECT_EQ(ctl<QSlider>(IDC_SLIDER_BREATHING)->value(), 64);
    ctl<QSlider>(IDC_SLIDER_BREATHING)->setTracking(false);
    ctl<QSlider>(IDC_SLIDER_BREATHING)->setSliderPosition(70);  // dragged, value not yet following
    EXPECT_EQ(controls->trackbarPosition(IDC_SLIDER_BREATHING), 70);
    EXPECT_EQ(std::pair(controls->trackbarLow(IDC_SLIDER_BREATHING), controls->trackbarHigh(IDC_SLIDER_BREATHING)),
              std::pair(0, 100));
}

TEST_F(QtControls, ShowEnableCheckAndFocusReachTheWidget)
{
    controls->show(IDC_EDIT_PARAM1, true);
    EXPECT_FALSE(ctl(IDC_EDIT_PARAM1)->isHidden());
    EXPECT_TRUE(controls->shown(IDC_EDIT_PARAM1)) << "shown before the window is on screen";
    controls->enable(IDC_SLIDER_BRIGHTNESS, false);
    EXPECT_FALSE(ctl(IDC_SLIDER_BRIGHTNESS)->isEnabled());
    controls->setChecked(IDC_RADIO_KEEP_ON, true);
    EXPECT_TRUE(ctl<QRadioButton>(IDC_RADIO_KEEP_ON)->isChecked());
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    controls->focus(IDC_EDIT_BREATHING);
    EXPECT_TRUE(ctl(IDC_EDIT_BREATHING)->hasFocus() && controls->focused(IDC_EDIT_BREATHING));
}

TEST_F(QtControls, ListChangesAreNoChoiceOfTheUsers)
{
    QSignalSpy changes(ctl<QComboBox>(IDC_COMBO_LANGUAGE), &QComboBox::currentIndexChanged);
    controls->clearList(IDC_COMBO_LANGUAGE);
    controls->insertListItem(IDC_COMBO_LANGUAGE, 0, "English");
    controls->insertListItem(IDC_COMBO_LANGUAGE, 0, "Deutsch");
    controls->setListSelection(IDC_COMBO_LANGUAGE, 1);
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(controls->listSelection(IDC_COMBO_LANGUAGE), 1);
    EXPECT_EQ(controls->listItem(IDC_COMBO_LANGUAGE, 1), "English");
    EXPECT_EQ(controls->listCount(IDC_COMBO_LANGUAGE), 2);
}

}  // namespace
}  // namespace quorlin::test
