// The connection display's tooltip as Qt shows it: the reason's whole text on the
// status text and both discs, per reason and language, with the system's advice.
#include "ui_qt/qt_window_fixture.h"

#include <cerrno>

namespace quorlin::test {
namespace {

class ConnectionTooltip : public QtWindowFixture {
protected:
    // Waits until the status text and both discs carry `text`.
    bool waitToolTip(const char* text)
    {
        const QString wanted = QString::fromUtf8(text);
        return waitUntil([&] {
            for (int id : {IDC_STATIC_STATUS, IDC_PIC_CONNECTED, IDC_PIC_DISCONNECTED})
                if (ctl(id)->toolTip() != wanted)
                    return false;
            return true;
        });
    }
};

TEST_F(ConnectionTooltip, NoLightInJapanese)
{
    data.loadLanguage("Japanese");
    light.unplug();
    startWindow();
    EXPECT_TRUE(waitToolTip("ライトが見つかりません。ライトを接続すると、自動的に接続されます。"));
    EXPECT_EQ(statusText(), QString::fromUtf8("[接続されていません]"));
}

TEST_F(ConnectionTooltip, NotOpenableByThisUserNamesTheUdevRuleInEnglish)
{
    light.failOpen(0, EACCES);
    startWindow();
    EXPECT_TRUE(waitToolTip("The light is plugged in, but this user may not open it. Install the udev rule "
                            "70-quorlin.rules into /etc/udev/rules.d, then plug the light in again."));
}

TEST_F(ConnectionTooltip, AnOpenFailureNoRuleMendsDoesNotBlameTheRule)
{
    light.failOpen(0, EBUSY);
    startWindow();
    EXPECT_TRUE(waitToolTip("The light is plugged in, but it could not be opened."));
}

TEST_F(ConnectionTooltip, ConnectedCarriesNone)
{
    startWindow();
    ASSERT_TRUE(waitConnected());
    EXPECT_TRUE(waitToolTip(""));
}

}  // namespace
}  // namespace quorlin::test
