// Why the light is not connected, as the connection display's tooltip: on the status
// text and both discs, in the window's language, beside an unchanged status text.
#include "window/window_fixture.h"

#include "link/device_broadcast.h"
#include "link/device_notifications.h"
#include "shell/language_strings.h"

#include <cerrno>
#include <sstream>

namespace quorlin::test {
namespace {

class ConnectionReason : public WindowFixture {
protected:
    static constexpr int kDisplay[] = {IDC_STATIC_STATUS, IDC_PIC_CONNECTED, IDC_PIC_DISCONNECTED};

    // True once the status text and both discs carry `text`.
    bool showsReason(std::string_view text) const
    {
        for (int id : kDisplay)
            if (controls.at(id).toolTip != text)
                return false;
        return true;
    }
    bool waitReason(std::string_view text)
    {
        return waitUntil([&] { return showsReason(text); });
    }
    void unplugNotice()
    {
        std::ostringstream lines;
        handleDeviceChange(data, DBT_DEVICEREMOVECOMPLETE,
                           makeBroadcastRecord(DBT_DEVTYP_DEVICEINTERFACE, "\\\\?\\USB#VID_5046&PID_5631#1").data(),
                           lines);
    }
    std::string_view english(std::string_view LinkReasonStrings::*text) const
    {
        return linkReasonStrings(UiLanguage::English).*text;
    }
};

TEST_F(ConnectionReason, NoLightIsExplainedBesideTheDesignedStatusText)
{
    light.unplug();
    startDialog();
    ASSERT_TRUE(waitReason(english(&LinkReasonStrings::noLight)));
    EXPECT_EQ(statusText(), "[Disconnected]");
}

TEST_F(ConnectionReason, ALightThatWillNotOpenGetsTheSystemsHintForItsError)
{
    light.failOpen(0, EACCES);
    startDialog();
    EXPECT_TRUE(waitReason("open hint " + std::to_string(EACCES) + " en"));
}

TEST_F(ConnectionReason, TheLauncherIsNamedWhileItKeepsTheWindowOffTheLight)
{
    processes.launcherRunning = true;
    startDialog();
    EXPECT_TRUE(waitReason(english(&LinkReasonStrings::launcherRunning)));
}

TEST_F(ConnectionReason, ReasonsSpeakTheWindowsLanguage)
{
    data.loadLanguage("Japanese");
    light.unplug();
    startDialog();
    ASSERT_TRUE(waitReason(linkReasonStrings(UiLanguage::Japanese).noLight));
    light.plug();
    light.failOpen(0, EPERM);
    EXPECT_TRUE(waitReason("open hint " + std::to_string(EPERM) + " ja"));
}

TEST_F(ConnectionReason, ConnectingClearsTheReason)
{
    light.unplug();
    startDialog();
    ASSERT_TRUE(waitReason(english(&LinkReasonStrings::noLight)));
    light.plug();
    ASSERT_TRUE(waitConnected());
    EXPECT_TRUE(showsReason(""));
}

}  // namespace
}  // namespace quorlin::test
