// The main window with its behaviour, its worker and a simulated light: the hand-overs
// of the worker reach the controls through the posted wake-up, Enter reaches the key
// step and not the dialog manager's default button, About opens from the window menu,
// and the close box, Escape and a logoff go through the close protocol in time.
#include "link/clock.h"
#include "link/device_link.h"
#include "link/sim/simulated_light.h"
#include "platform/open_failure_advice.h"
#include "shell/whole_data.h"
#include "support/fake_process_list.h"
#include "support/memory_profile_store.h"
#include "ui/win32/main_window.h"
#include "ui/win32/win32_ids.h"
#include "ui/win32/win32_prompts.h"
#include "ui/win32/win32_skin.h"
#include "win32_test_support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <sstream>

namespace quorlin::test {
namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

// The close protocol waits at most 1000 ms for the worker; the window must be gone soon after.
constexpr auto kCloseLimit = milliseconds(1100);

class Win32MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        registerCommonControls();
        profiles.files[CWholeData::kDefaultIniPath] = "[Type]\r\nMyType=English,1;Japanese,0;\r\n";
        data.loadLanguageSetting();
    }

    void open(WindowPrompts& prompts)
    {
        window = std::make_unique<win32::Win32MainWindow>(
            thisModule(), DialogServices{data, link, light, systemClock(), {}}, prompts, skin);
        ASSERT_TRUE(window->create()) << kNeedsDisplay;
        ASSERT_NE(window->hwnd(), nullptr);
    }
    void open() { open(recorded); }

    DialogControls& controls() { return window->controls(); }
    void runMessages()
    {
        drain([this](MSG& msg) { window->handle(msg); });
    }
    bool runUntil(const std::function<bool()>& done)
    {
        return pumpUntil(done, [this](MSG& msg) { window->handle(msg); });
    }
    // The light's values have reached the window through the worker's hand-overs.
    bool runUntilConnected()
    {
        return runUntil([this] {
            return controls().shown(IDC_PIC_CONNECTED) &&
                   controls().trackbarPosition(IDC_SLIDER_BRIGHTNESS) == data.settings.brightnessLevel.load() &&
                   controls().trackbarPosition(IDC_SLIDER_BRIGHTNESS) != 0;
        });
    }
    // Waits, without running messages, until the worker waits for a hand-over.
    bool waitForPendingHandOver()
    {
        const auto until = steady_clock::now() + milliseconds(10000);
        MSG msg;
        while (!PeekMessageW(&msg, window->hwnd(), win32::kRunQueuedUiWork, win32::kRunQueuedUiWork, PM_NOREMOVE)) {
            if (steady_clock::now() > until)
                return false;
            Sleep(5);
        }
        return true;
    }
    void pressKey(HWND target, WPARAM key)
    {
        PostMessageW(target, WM_KEYDOWN, key, 1);
        PostMessageW(target, WM_KEYUP, key, 1 | (1u << 30) | (1u << 31));
        runMessages();
    }

    FakeProcessList processes;
    MemoryProfileStore profiles;
    CWholeData data{processes, profiles};
    sim::SimulatedLight light{systemClock()};
    std::ostringstream out;
    std::ostringstream err;
    DeviceLink link{data, light, systemClock(), out, err, noOpenFailureAdvice()};
    RecordingPrompts recorded;
    win32::Win32Skin skin;
    win32::Win32Prompts systemPrompts{thisModule(), skin};
    std::unique_ptr<win32::Win32MainWindow> window;  // last: gone before what it uses
};

// Hand-overs

TEST_F(Win32MainWindowTest, WorkersHandOversAreAppliedThroughThePostedWake)
{
    open();
    ASSERT_TRUE(runUntilConnected());
    EXPECT_FALSE(controls().shown(IDC_PIC_DISCONNECTED));
    EXPECT_EQ(controls().text(IDC_STATIC_STATUS), "[Connected]");
    EXPECT_EQ(controls().text(IDC_EDIT_BRIGHTNESS), std::to_string(data.settings.brightnessLevel.load()));
    EXPECT_TRUE(controls().enabled(IDC_SLIDER_BRIGHTNESS));
}

TEST_F(Win32MainWindowTest, EnterKeepsTheWindowOpen)
{
    open();
    pressKey(window->hwnd(), VK_RETURN);
    EXPECT_FALSE(window->ended());
    EXPECT_TRUE(IsWindow(window->hwnd()));
    EXPECT_TRUE(recorded.messages.empty());
}

// Window menu and About box

// What the About box showed before the timer closed it.
struct SeenAbout {
    bool seen = false;
    bool hasOwner = true;
    std::wstring caption;
    std::wstring name;
    std::wstring ok;
};
SeenAbout g_seenAbout;

void CALLBACK closeAboutBox(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND about = FindWindowW(L"#32770", L"\x5173\x4E8E Quorlin");
    if (about == nullptr)
        return;
    KillTimer(nullptr, timer);
    g_seenAbout.seen = true;
    g_seenAbout.hasOwner = GetWindow(about, GW_OWNER) != nullptr;
    g_seenAbout.caption = windowText(about);
    g_seenAbout.name = windowText(GetDlgItem(about, IDC_ABOUT_NAME));
    g_seenAbout.ok = windowText(GetDlgItem(about, IDOK));
    PostMessageW(about, WM_COMMAND, IDOK, 0);
}

TEST_F(Win32MainWindowTest, WindowMenuAboutItemOpensTheAboutBox)
{
    open(systemPrompts);
    g_seenAbout = {};
    SetTimer(nullptr, 0, 50, closeAboutBox);
    SendMessageW(window->hwnd(), WM_SYSCOMMAND, IDM_ABOUTBOX, 0);  // returns once the box is closed
    ASSERT_TRUE(g_seenAbout.seen);
    EXPECT_FALSE(g_seenAbout.hasOwner);
    EXPECT_EQ(g_seenAbout.caption, L"\x5173\x4E8E Quorlin");
    EXPECT_EQ(g_seenAbout.name, L"Quorlin\xFF0C\x7248\x672C 1.0");
    EXPECT_EQ(g_seenAbout.ok, L"\x786E\x5B9A");
    EXPECT_FALSE(window->ended());
}

// Closing

TEST_F(Win32MainWindowTest, CloseDuringAHandOverEndsWithinTheLimit)
{
    open();
    ASSERT_TRUE(waitForPendingHandOver());
    const auto start = steady_clock::now();
    SendMessageW(window->hwnd(), WM_CLOSE, 0, 0);
    const auto end = steady_clock::now();
    EXPECT_TRUE(window->ended());
    EXPECT_LT(end - start, kCloseLimit);
    EXPECT_FALSE(window->dlg()->workerRunning());
    EXPECT_EQ(data.quitRequested.load(), 1u);
}

TEST_F(Win32MainWindowTest, LogoffDuringAHandOverClosesWithinTheLimit)
{
    open();
    ASSERT_TRUE(waitForPendingHandOver());
    const auto start = steady_clock::now();
    SendMessageW(window->hwnd(), WM_ENDSESSION, TRUE, 0);
    const auto end = steady_clock::now();
    EXPECT_TRUE(window->ended());
    EXPECT_LT(end - start, kCloseLimit);
    EXPECT_FALSE(window->dlg()->workerRunning());
}

TEST_F(Win32MainWindowTest, EscapeClosesThroughTheCloseProtocol)
{
    open();
    pressKey(window->hwnd(), VK_ESCAPE);
    EXPECT_TRUE(window->ended());
    EXPECT_EQ(data.quitRequested.load(), 1u);
    EXPECT_FALSE(window->dlg()->workerRunning());
}

}  // namespace
}  // namespace quorlin::test
