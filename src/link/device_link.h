#pragma once
// The transport: finds every HID interface of the light, keeps them open, writes
// settings reports to all of them and asks the first one for the light's status.
// The worker thread opens, queries and closes; the window thread writes.

#include "link/clock.h"
#include "link/hid_api.h"
#include "link/link_down_reason.h"
#include "link/settings_reports.h"
#include "platform/open_failure_advice.h"

#include <atomic>
#include <cstdint>
#include <iosfwd>
#include <mutex>

namespace quorlin {

class CWholeData;
class OpenFailureAdvice;

class DeviceLink {
public:
    static constexpr unsigned short kVendorId = 0x5046;
    static constexpr unsigned short kProductId = 0x5631;
    // How long a status reply may take before it counts as not come.
    static constexpr int kReplyTimeoutMs = 250;

    // `out` receives the enumeration diagnostics, `err` the one-time explanation of
    // why the light was listed but could not be opened.
    // `advice` tells the user what to do when the light is listed but will not open.
    DeviceLink(CWholeData& data, HidApi& hid, Clock& clock, std::ostream& out, std::ostream& err,
               const OpenFailureAdvice& advice = noOpenFailureAdvice());
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;
    ~DeviceLink();

    // Worker thread. 1 when the light was listed and at least one interface opened;
    // 0 otherwise ("cannot enumerate dev!" when nothing was listed).
    int openDevices();
    // Worker thread. Closes every handle and releases the enumeration; always 0.
    int closeDevices();
    // Window thread. 0 when the other lighting program runs, else 1 (also when the
    // report was unchanged or the link held off).
    int writeSettings(std::uint8_t variant);
    // Worker thread. The last status-request write result (65 when delivered), or 0
    // on any failure or skip, including a reply that was rejected or never came.
    int queryStatus();
    // Worker thread, inside queryStatus. 1 for an accepted reply, 0 otherwise (also
    // when none came within kReplyTimeoutMs; a send waits for linkLock meanwhile).
    int readStatus();
    // Window thread: waits for linkReady, holds the polling pass off, writes.
    int sendSettings(std::uint8_t variant);

    // Any thread: why the link is not connected, as last found.
    LinkDown down() const { return down_.load(); }
    // Worker thread: the reasons the transport cannot see (the other lighting program).
    void setDownReason(LinkDownReason reason) { down_.store(LinkDown{reason, 0}); }
    const OpenFailureAdvice& openFailureAdvice() const { return advice_; }

    // Report building, kept here because it updates lastSent. Mostly the window
    // thread's, but the worker sends too when it adopts the light's mode.
    bool buildSettingsReport(std::uint8_t variant, OutputReport& report);

    std::uint8_t unusedHead[kSettingCount] = {};
    SettingBytes lastSent{};
    std::atomic<std::int32_t> m_temp_index{0};
    std::atomic<std::uint8_t> threadRunFlag{0};
    HidDeviceInfo* enumCursor = nullptr;
    // Serializes every walk and rebuild of the device lists and every library call on
    // a handle. Never held across a protocol sleep.
    std::mutex linkLock;
    // [0] status reads, [1] rejected replies.
    std::atomic<std::uint32_t> bReadCnt[2] = {0, 0};

private:
    // True while linkBusy is on or linkUsable off: nothing goes to the light.
    bool linkHeldOff() const;
    // Empties the input queue of the handle whose replies are read.
    void drainStaleInput(HidHandle first);
    // Once per object: why a listed light could not be opened, and the fix.
    void explainOpenFailure(int error);

    CWholeData& data_;
    HidApi& hid_;
    Clock& clock_;
    std::ostream& out_;
    std::ostream& err_;
    const OpenFailureAdvice& advice_;
    std::mutex reportLock_;  // lastSent: both threads may build a report
    bool explainedOpenFailure_ = false;
    std::atomic<LinkDown> down_{LinkDown{}};
};

}  // namespace quorlin
