#pragma once
// The application data object: the one place where the window thread and the link
// worker share state. Members are public and used directly; every value that both
// threads touch is an atomic of the width the two threads write.

#include "link/hid_types.h"
#include "shell/language_table.h"
#include "shell/light_settings.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace quorlin {

class ProcessList;
class ProfileStore;

using Flag32 = std::atomic<std::uint32_t>;
using Flag8 = std::atomic<std::uint8_t>;

// linkBusy and linkUsable live in one 16-bit word so that both can be changed in a
// single step; each can also be read and written on its own.
class LinkFlagWord {
public:
    class Byte {
    public:
        Byte(std::atomic<std::uint16_t>& word, unsigned shift) : word_(word), shift_(shift) {}
        std::uint8_t load() const { return static_cast<std::uint8_t>(word_.load() >> shift_); }
        void store(std::uint8_t value);
        operator std::uint8_t() const { return load(); }
        Byte& operator=(std::uint8_t value) { store(value); return *this; }
        Byte(const Byte&) = delete;
        Byte& operator=(const Byte&) = delete;

    private:
        std::atomic<std::uint16_t>& word_;
        unsigned shift_;
    };

    std::atomic<std::uint16_t> word{0};
};

class CWholeData {
public:
    static constexpr const char* kDefaultIniPath = ".\\Language.ini";
    static constexpr const char* kLauncherExe = "SignalRgbLauncher.exe";

    // `profiles` holds the language setting (iniPath).
    CWholeData(ProcessList& processes, ProfileStore& profiles);
    CWholeData(const CWholeData&) = delete;
    CWholeData& operator=(const CWholeData&) = delete;
    ~CWholeData() = default;

    LightSettings settings;
    Flag32 pollEnabled{0};
    Flag32 linkReady{0};
    Flag32 quitRequested{0};
    Flag8 hotkeyStateAC{0};
    Flag8 hotkeyStatePF{0};
private:
    LinkFlagWord linkFlags_;
public:
    LinkFlagWord::Byte linkBusy{linkFlags_.word, 0};
    LinkFlagWord::Byte linkUsable{linkFlags_.word, 8};
    // Guarded by DeviceLink::linkLock: rebuilt by the worker, walked by both threads.
    std::vector<HidHandle> deviceHandles;
    std::vector<HidDeviceInfo*> deviceInfos;
    Flag32 reconnectRequested{0};
    Flag8 operationMode{0};                  // 1 = Manual, 2 = Auto
    std::string iniPath;
    std::string languageType;
    LanguageTable languageTable;

    // Sets linkBusy and linkUsable together, in one store.
    void setLinkBusyUsable(std::uint8_t busy, std::uint8_t usable);

    // Language file and table (UI thread).
    void loadLanguageSetting();
    void loadLanguage(std::string name);
    static std::vector<std::string> splitText(std::string text, std::string delimiters);
    void saveLanguageType(std::string value);

    // True while the other vendor's lighting program runs; a fresh look every call.
    bool isSignalRgbRunning();

private:
    ProcessList& processes_;
    ProfileStore& profiles_;
};

}  // namespace quorlin
