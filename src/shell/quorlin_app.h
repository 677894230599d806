#pragma once
// The application: one copy at a time, the interface language, the skin, and the
// main window run until the user closes it.

#include <QObject>

#include <functional>
#include <memory>

namespace quorlin {

class CWholeData;
class Clock;
class DeviceLink;
class HidApi;
class SingleInstanceLock;
class UserPrompts;

struct AppServices {
    DeviceLink& link;
    HidApi& hid;
    Clock& clock;
    UserPrompts& prompts;
    // Held for the whole life of the process once acquired.
    SingleInstanceLock& instanceLock;
    std::function<std::unique_ptr<QObject>()> createNotifyWindow;
};

class CQuorlinApp {
public:
    static constexpr unsigned kRestartSupportRestart = 1;
    static constexpr const char* kSkinFile = "red.she";
    static constexpr const char* kAlreadyRunning = "程序已运行";

    explicit CQuorlinApp(CWholeData& data);
    CQuorlinApp(const CQuorlinApp&) = delete;
    CQuorlinApp& operator=(const CQuorlinApp&) = delete;

    // Runs the program's whole life inside the main window; always 0 (FALSE).
    int InitInstance(const AppServices& services);

    unsigned m_dwRestartManagerSupportFlags = kRestartSupportRestart;

private:
    CWholeData& data_;
};

}  // namespace quorlin
