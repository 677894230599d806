// The parameter panel, Default and the skin button through the real window.
#include "window/connected_dialog.h"

#include "shell/skin.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>

#include <mutex>

namespace quorlin::test {
namespace {

class PanelCommandsTest : public ConnectedDialogTest {
protected:
    void SetUp() override
    {
        ConnectedDialogTest::SetUp();
        dlg->ShowParameterPanel(true);
    }
    void clickSet(std::vector<const char*> texts)
    {
        for (std::size_t i = 0; i < 4; ++i)
            ctl<QLineEdit>(std::vector{1020, 1022, 1023, 1024}[i])->setText(texts[i]);
        ctl<QPushButton>(1021)->click();
    }
    std::vector<int> parameters() const
    {
        const auto& s = data.settings;
        return {s.parameter1.load(), s.parameter2.load(), s.parameter3.load(), s.parameter4.load()};
    }
};

TEST_F(PanelCommandsTest, SetStoresSendsOnceAndHidesThePanelEvenWhenNothingChanged)
{
    clickSet({"10", "20", "30", "40"});
    EXPECT_EQ(parameters(), (std::vector<int>{10, 20, 30, 40}));
    const auto writes = newWrites();
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(std::vector<int>(writes[0].begin() + kParameter1, writes[0].begin() + kParameter1 + 4),
              (std::vector<int>{10, 20, 30, 40}));
    EXPECT_FALSE(ctl(1020)->isVisible());

    dlg->ShowParameterPanel(true);
    clickSet({"10", "20", "30", "40"});
    EXPECT_EQ(newWrites().size(), 1u);
    EXPECT_FALSE(ctl(1026)->isVisible());
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(PanelCommandsTest, SetRefusesOutOfRangeValuesTheFirstThreeBeforeTheFourth)
{
    const QString range255 = QString::fromUtf8("value 得在1~255之间");
    const QString range100 = QString::fromUtf8("value 得在1~100之间");
    const std::pair<std::vector<const char*>, QString> cases[] = {
        {{"", "20", "30", "40"}, range255},   {{"10", "256", "30", "40"}, range255},
        {{"0", "20", "30", "101"}, range255}, {{"10", "20", "30", "101"}, range100},
        {{"255", "1", "255", "0"}, range100},
    };
    for (const auto& [texts, message] : cases) {
        prompts.messages.clear();
        clickSet(texts);
        EXPECT_EQ(prompts.messages, std::vector<QString>{message}) << texts[0] << ' ' << texts[1] << ' ' << texts[3];
        EXPECT_EQ(parameters(), (std::vector<int>{11, 22, 33, 44}));
        EXPECT_TRUE(ctl(1020)->isVisible());
    }
    EXPECT_TRUE(newWrites().empty());
    clickSet({"255", "1", "255", "100"});
    EXPECT_EQ(parameters(), (std::vector<int>{255, 1, 255, 100}));
}

TEST_F(PanelCommandsTest, LosCalcSendsAPulseOfTwoReports50MsApart)
{
    ASSERT_EQ(ctl<QLineEdit>(1025)->text(), "0A");
    std::mutex mutex;
    std::vector<std::size_t> sleepsAtWrite;
    light.setCallObserver([&](const sim::SimulatedLight::Call& call) {
        std::lock_guard lock(mutex);
        if (call.kind == sim::SimulatedLight::CallKind::Write && call.bytes.at(1) == kSettingsCommand)
            sleepsAtWrite.push_back(clock.sleeps().size());
    });
    ctl<QPushButton>(1026)->click();
    light.setCallObserver({});

    const auto writes = newWrites();
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(writes[0][kLosCalc], 1);
    auto second = writes[1];
    EXPECT_EQ(std::exchange(second[kLosCalc], 1), 0);
    EXPECT_EQ(second, writes[0]) << "the two differ in losCalc only";
    EXPECT_EQ(data.settings.losCalc.load(), 0);
    EXPECT_EQ(ctl<QLineEdit>(1025)->text(), "00");

    // In between, this thread slept at the gate and before the report; the worker's
    // 100 ms passes may fall in between as well.
    ASSERT_EQ(sleepsAtWrite.size(), 2u);
    const auto sleeps = clock.sleeps();
    std::vector<int> between(sleeps.begin() + sleepsAtWrite[0], sleeps.begin() + sleepsAtWrite[1]);
    std::erase(between, 100);
    EXPECT_EQ(between, (std::vector<int>{10, 40}));
}

TEST_F(PanelCommandsTest, DefaultAsksFirstAndSendsTheDefaultsWithoutMovingControls)
{
    prompts.confirmAnswers = {false, true};
    ctl<QPushButton>(1017)->click();
    EXPECT_TRUE(newWrites().empty());
    ctl<QPushButton>(1017)->click();
    EXPECT_EQ(prompts.questions, (std::vector<QString>(2, "Load Default Setting?")));
    EXPECT_EQ(prompts.captions[0], QApplication::applicationName());
    const auto writes = newWrites();
    ASSERT_EQ(writes.size(), 1u);
    SettingBytes expected = defaultSettings;
    std::copy_n(kLight.begin() + 4, 4, expected.begin() + 4);  // the parameters stay
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), writes[0].begin() + 2));
    EXPECT_EQ(ctl<QSlider>(1003)->value(), 37);
    EXPECT_EQ(ctl<QLineEdit>(1006)->text(), "64");
}

TEST_F(PanelCommandsTest, SkinButtonDetachesAndAttachesOnlyAChosenFile)
{
    qApp->setStyleSheet("QDialog { background: black; }");
    ctl<QPushButton>(1014)->click();
    EXPECT_EQ(prompts.fileDialogs, std::vector<QString>{"*.*|*.* (*)"});
    EXPECT_TRUE(qApp->styleSheet().isEmpty());

    QTemporaryDir dir;
    QFile file(dir.filePath("blue.she"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("QLabel { color: blue; }");
    file.close();
    prompts.fileAnswer = file.fileName();
    ctl<QPushButton>(1014)->click();
    EXPECT_EQ(qApp->styleSheet(), "QLabel { color: blue; }");
    SkinH_Detach();
}

}  // namespace
}  // namespace quorlin::test
