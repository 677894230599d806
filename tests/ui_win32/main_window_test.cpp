// The main window with its behaviour, its worker and a simulated light: the hand-overs
// of the worker reach the controls through the posted wake-up, keys reach the key step
// before the dialog manager, notifications reach their handlers, and every way of
// closing goes through the close protocol in time.
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

    HWND item(int id) const { return GetDlgItem(window->hwnd(), id); }
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
    win32::Win32Prompts systemPrompts{thisModule(), &skin};
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

TEST_F(Win32MainWindowTest, EnterInTheBrightnessEditConfirmsItsNumber)
{
    open();
    ASSERT_TRUE(runUntilConnected());
    controls().focus(IDC_EDIT_BRIGHTNESS);
    controls().setText(IDC_EDIT_BRIGHTNESS, "150");
    pressKey(item(IDC_EDIT_BRIGHTNESS), VK_RETURN);
    ASSERT_EQ(recorded.messages.size(), 1u);  // the key-up finds 100 and says nothing
    EXPECT_EQ(recorded.messages[0], "The maximum vlaue is 100");
    EXPECT_EQ(controls().text(IDC_EDIT_BRIGHTNESS), "100");
    EXPECT_EQ(controls().trackbarPosition(IDC_SLIDER_BRIGHTNESS), 100);
    EXPECT_EQ(data.settings.brightnessLevel.load(), 100);
    EXPECT_FALSE(window->ended());
}

TEST_F(Win32MainWindowTest, KeysOfAChildControlReachTheKeyStep)
{
    open();
    HWND list = item(IDC_COMBO_LANGUAGE);
    pressKey(list, 'A');
    pressKey(list, 'C');
    EXPECT_TRUE(controls().shown(IDC_BUTTON_SET));
}

// Notifications

TEST_F(Win32MainWindowTest, BreathingEditFollowsItsTrackbarWhenItPaints)
{
    open();
    ASSERT_TRUE(runUntilConnected());
    controls().setText(IDC_EDIT_BREATHING, "77");
    controls().setTrackbarPosition(IDC_SLIDER_BREATHING, 40);
    UpdateWindow(item(IDC_SLIDER_BREATHING));
    EXPECT_EQ(controls().text(IDC_EDIT_BREATHING), "40");
}

TEST_F(Win32MainWindowTest, ClickOnManualSendsTheMode)
{
    open();
    ASSERT_TRUE(runUntilConnected());
    SendMessageW(item(IDC_RADIO_MANUAL), BM_CLICK, 0, 0);
    EXPECT_EQ(data.operationMode.load(), 1);
    EXPECT_TRUE(controls().checked(IDC_RADIO_MANUAL));
    EXPECT_FALSE(controls().checked(IDC_RADIO_AUTO));
}

// Window menu and About box

TEST_F(Win32MainWindowTest, AboutItemEndsTheWindowMenuAfterASeparator)
{
    open();
    HMENU menu = GetSystemMenu(window->hwnd(), FALSE);
    ASSERT_NE(menu, nullptr);
    const int count = GetMenuItemCount(menu);
    ASSERT_GE(count, 2);
    EXPECT_EQ(GetMenuItemID(menu, count - 1), static_cast<UINT>(IDM_ABOUTBOX));
    EXPECT_TRUE(GetMenuState(menu, count - 2, MF_BYPOSITION) & MF_SEPARATOR);
    wchar_t text[64] = {};
    GetMenuStringW(menu, count - 1, text, 64, MF_BYPOSITION);
    EXPECT_EQ(std::wstring(text), L"\x5173\x4E8E Quorlin(&A)...");
}

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

TEST_F(Win32MainWindowTest, SkinButtonAttachesTheChosenFile)
{
    open();
    recorded.chosenFile = "red.she";
    SendMessageW(item(IDC_BUTTON_LOAD_SKIN), BM_CLICK, 0, 0);
    EXPECT_TRUE(skin.active());
    EXPECT_EQ(GetWindowLongPtrW(item(IDC_BUTTON_DEFAULT), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
}

// Cancels the first open-file dialog of this thread that is not the main window.
HWND g_mainWindow = nullptr;
bool g_fileDialogSeen = false;

BOOL CALLBACK cancelFileDialog(HWND candidate, LPARAM)
{
    wchar_t name[16] = {};
    GetClassNameW(candidate, name, 16);
    if (candidate == g_mainWindow || std::wstring(name) != L"#32770" || !IsWindowVisible(candidate))
        return TRUE;
    g_fileDialogSeen = true;
    PostMessageW(candidate, WM_COMMAND, IDCANCEL, 0);
    return FALSE;
}

void CALLBACK closeFileDialog(HWND, UINT, UINT_PTR timer, DWORD)
{
    EnumThreadWindows(GetCurrentThreadId(), cancelFileDialog, 0);
    if (g_fileDialogSeen)
        KillTimer(nullptr, timer);
}

TEST_F(Win32MainWindowTest, CancelledSkinDialogLeavesTheWindowWithoutSkin)
{
    ASSERT_TRUE(skin.attach("red.she"));
    open(systemPrompts);
    g_mainWindow = window->hwnd();
    g_fileDialogSeen = false;
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, closeFileDialog);
    SendMessageW(item(IDC_BUTTON_LOAD_SKIN), BM_CLICK, 0, 0);  // returns once the dialog is gone
    KillTimer(nullptr, timer);
    EXPECT_TRUE(g_fileDialogSeen);
    EXPECT_FALSE(skin.active());
    EXPECT_EQ(GetWindowLongPtrW(item(IDC_BUTTON_DEFAULT), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
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

TEST_F(Win32MainWindowTest, AltF4OnTheLanguageListClosesThroughTheCloseProtocol)
{
    open();
    constexpr LPARAM kAltDown = KF_ALTDOWN << 16;
    PostMessageW(item(IDC_COMBO_LANGUAGE), WM_SYSKEYDOWN, VK_F4, kAltDown | 1);
    runMessages();
    EXPECT_TRUE(window->ended());
    EXPECT_FALSE(window->dlg()->workerRunning());
}

TEST_F(Win32MainWindowTest, QuitMessageClosesInOrderAndIsPassedOn)
{
    open();
    PostQuitMessage(3);
    window->run();
    EXPECT_TRUE(window->ended());
    EXPECT_FALSE(window->dlg()->workerRunning());
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
}

}  // namespace
}  // namespace quorlin::test
