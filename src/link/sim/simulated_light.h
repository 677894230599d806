#pragma once
// A Quorlin Sivane light that lives behind the HID seam instead of on the USB bus.
// It answers the way the light does (settings report in, 17-byte status reply out),
// logs every call with the clock's time so a test can see what reached the wire, and
// can be told to misbehave: unplugged, an interface that will not open, failing
// writes, a reply with a wrong mark or none at all, the light vanishing mid-exchange.
//
// Thread-safe: the window thread may write while the worker reads.
// Every misuse by the caller (a handle used after close, an unknown handle, a list
// freed twice or not from its head) is recorded in misuses() instead of crashing;
// for that, the record behind each handle lives as long as the simulation.

#include "link/clock.h"
#include "link/hid_api.h"
#include "link/settings_reports.h"

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

namespace quorlin::sim {

class SimulatedLight final : public HidApi {
public:
    enum class CallKind { Init, Exit, Enumerate, FreeEnumeration, Open, Write, Read, Close };

    struct Call {
        std::int64_t timeMs = 0;          // clock time when the call began
        CallKind kind = CallKind::Init;
        int interfaceIndex = -1;          // -1 when the call names no known interface
        std::vector<std::uint8_t> bytes;  // what was written, or what a read delivered
        std::size_t length = 0;           // length asked for by a write or read
        int timeoutMs = 0;                // reads only
        int result = 0;                   // return value; enumerate: nodes listed, open: 1/0
        int error = 0;                    // errno given with a failure
    };
    using CallObserver = std::function<void(const Call&)>;

    // A reply the light sends: report bytes 0..16, setting bytes at 2..15.
    static constexpr std::size_t kReplySize = kStatusReplySize;
    // hidraw keeps at most this many unread reports per open file; older ones drop.
    static constexpr std::size_t kInputQueueLimit = 64;

    // `clock` times the log and the read timeouts (a fake clock makes them instant).
    explicit SimulatedLight(Clock& clock, int interfaceCount = 1,
                            const SettingBytes& settings = defaultSettings);
    SimulatedLight(const SimulatedLight&) = delete;
    SimulatedLight& operator=(const SimulatedLight&) = delete;
    // Releases what is still outstanding (lists, handle records).
    ~SimulatedLight() override;

    // --- HidApi ---
    int init() override;
    int exit() override;
    // nullptr while unplugged or for another vendor/product (0 matches any).
    HidDeviceInfo* enumerate(unsigned short vendorId, unsigned short productId) override;
    // Frees a list from its head; anything else is recorded as a misuse and left alone.
    void freeEnumeration(HidDeviceInfo* devices) override;
    // nullptr with errno: the injected error, ENOENT for an unknown path or while unplugged.
    HidHandle openPath(const char* path) override;
    // `length` on success; -1 (errno set) on a dead, closed or unknown handle or an injected failure.
    int write(HidHandle device, const unsigned char* data, std::size_t length) override;
    // Bytes delivered; 0 when nothing came within timeoutMs (the wait goes through the
    // clock); -1 on a dead, closed or unknown handle. timeoutMs < 0 waits until input
    // arrives or the handle dies.
    int readTimeout(HidHandle device, unsigned char* data, std::size_t length, int timeoutMs) override;
    void close(HidHandle device) override;

    // --- the light itself ---
    void plug();
    // Handles opened before stay dead after a later plug(), as on a real bus.
    void unplug();
    bool isPlugged() const;
    // Takes effect at the next enumeration.
    void setInterfaceCount(int count);
    // Interface `index` is listed `count` times with its one path, once per top-level
    // collection, as hidapi 0.13 lists it (1 unless set). Takes effect at the next enumeration.
    void setCollectionCount(int index, int count);
    int interfaceCount() const;
    SettingBytes settings() const;
    void setSettings(const SettingBytes& settings);
    // The path enumeration gives interface `index`.
    static std::string interfacePath(int index);
    // A list node for interface `index` of the light as hidapi lists it, next = nullptr,
    // strings on the C heap; nullptr when out of memory.
    static HidDeviceInfo* newInterfaceNode(const std::string& path, const wchar_t* serial, int index);
    // The serial number enumeration gives interface `index` (kSerialNumber unless
    // set); interfaces with another serial number stand for a second light.
    static constexpr const wchar_t* kSerialNumber = L"SIM0001";
    void setSerialNumber(int index, const std::wstring& serial);

    // --- faults ---
    // Opening interface `index` fails with `errnoValue`; 0 lets it open again.
    void failOpen(int index, int errnoValue);
    // Writes on interface `index` return -1 while set.
    void failWrites(int index, bool fail);
    // The validity mark put at byte 12 of each reply (15 is the light's own).
    void setReplyMark(std::uint8_t mark);
    // While set, status requests are taken but never answered.
    void withholdReplies(bool withhold);
    // An unsolicited input report, queued on every open handle of interface `index`.
    void queueInput(int index, const std::vector<std::uint8_t>& report);

    // --- inspection ---
    std::vector<Call> calls() const;
    std::vector<Call> calls(CallKind kind) const;
    void clearCalls();
    // Keeps only the newest `limit` calls (0: all, the default); for long demo runs.
    void setCallLogLimit(std::size_t limit);
    // Runs after each call has been logged, on the calling thread, without the
    // simulation's lock held (it may call unplug() to pull the light mid-exchange).
    void setCallObserver(CallObserver observer);
    int openHandleCount() const;
    int liveEnumerationCount() const;
    std::vector<std::string> misuses() const;

private:
    struct Handle {
        int interfaceIndex = 0;
        unsigned plugGeneration = 0;
        bool open = true;
        std::deque<std::vector<std::uint8_t>> input;
    };
    enum class HandleState { Alive, Dead, Closed, Unknown };

    Call begin(CallKind kind) const;
    void finish(std::unique_lock<std::mutex>& lock, Call call);
    Handle* find(HidHandle device, HandleState& state);
    HandleState stateOf(const Handle& handle) const;
    void misuse(std::string what, const Call& call);
    void applyReport(const unsigned char* data, std::size_t length);
    void deliver(int index, const std::vector<std::uint8_t>& report);
    std::vector<std::uint8_t> replyLocked() const;

    Clock& clock_;
    mutable std::mutex mutex_;
    std::condition_variable inputArrived_;
    bool plugged_ = true;
    unsigned plugGeneration_ = 0;
    int interfaceCount_;
    SettingBytes settings_;
    std::map<int, int> openErrors_;
    std::map<int, int> collections_;
    std::map<int, std::wstring> serials_;
    std::set<int> failingWrites_;
    std::uint8_t replyMark_ = kReplyMark;
    bool withholdReplies_ = false;
    std::unordered_map<const void*, std::unique_ptr<Handle>> handles_;
    std::set<HidDeviceInfo*> lists_;
    std::vector<Call> calls_;
    std::size_t callLogLimit_ = 0;
    std::vector<std::string> misuses_;
    CallObserver observer_;
};

}  // namespace quorlin::sim
