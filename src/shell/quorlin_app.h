#pragma once
// The application: one copy at a time, the interface language, the skin, and the
// main window run until the user closes it. The front end supplies the window, the
// skin and the message box.

#include <functional>
#include <memory>

namespace quorlin {

class CWholeData;
class Clock;
class DeviceEventWatch;
class DeviceLink;
class HidApi;
class SingleInstance;
class WindowPrompts;
class WindowSkin;
struct DialogServices;

// The front end's main window.
class MainWindowHost {
public:
    virtual ~MainWindowHost() = default;
    // Builds the main window over `services`, initialises it and runs it until the
    // user closes it.
    virtual void runMainWindow(const DialogServices& services) = 0;
};

struct AppServices {
    DeviceLink& link;
    HidApi& hid;
    Clock& clock;
    WindowPrompts& prompts;
    WindowSkin& skin;
    MainWindowHost& window;
    // Held for the whole life of the process once acquired.
    SingleInstance& instanceLock;
    std::function<std::unique_ptr<DeviceEventWatch>()> createNotifyWindow;
    // The About box's second line (the program's version, or that its light is
    // simulated); null keeps the box's own.
    const char* aboutLine = nullptr;
};

class CQuorlinApp {
public:
    static constexpr const char* kSkinFile = "red.she";
    // The language file, as the user folder is seeded with it.
    static constexpr const char* kLanguageFile = "Language.ini";
    static constexpr const char* kAlreadyRunning = "程序已运行";

    explicit CQuorlinApp(CWholeData& data);
    CQuorlinApp(const CQuorlinApp&) = delete;
    CQuorlinApp& operator=(const CQuorlinApp&) = delete;

    // Runs the program's whole life inside the main window; always 0 (FALSE).
    int InitInstance(const AppServices& services);

private:
    CWholeData& data_;
};

}  // namespace quorlin
