#pragma once
// The one background thread: opens the light at start and after every reconnect
// request, watches whether the other lighting program runs, and keeps the window's
// connection display in step. It owns the HID library's life.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

namespace quorlin {

class CWholeData;
class Clock;
class DeviceLink;
class HidApi;
class LinkWindow;

class LinkWorker {
public:
    static constexpr int kPassMs = 100;
    static constexpr int kReconnectStepMs = 50;

    LinkWorker(CWholeData& data, DeviceLink& link, HidApi& hid, Clock& clock);
    LinkWorker(const LinkWorker&) = delete;
    LinkWorker& operator=(const LinkWorker&) = delete;
    // Joins a thread still running: the worker never outlives what it uses.
    ~LinkWorker();

    // Starts the thread running linkWorkerProc(window). False if it could not start.
    bool start(LinkWindow& window);
    // Waits up to timeoutMs for the thread to end, calling `pump` every few
    // milliseconds meanwhile (the window uses it to carry out the worker's pending
    // control changes, so the two never wait on each other). True when it ended.
    bool waitForEnd(int timeoutMs, const std::function<void()>& pump);
    // Waits for the thread without limit and releases it. Safe to call repeatedly.
    void join();
    bool started() const { return thread_.joinable(); }
    bool finished() const { return finished_.load(); }

    // The thread procedure and the reconnect step; public so tests can drive one pass.
    unsigned linkWorkerProc(LinkWindow& window);
    void reconnectDevice(LinkWindow& window);

    // The launcher check's result at the previous polling pass.
    std::atomic<std::uint8_t> launcherWasRunning{0};

private:
    void markFinished();

    CWholeData& data_;
    DeviceLink& link_;
    HidApi& hid_;
    Clock& clock_;
    std::thread thread_;
    std::atomic<bool> finished_{false};
    std::mutex finishMutex_;
    std::condition_variable finishCv_;
};

}  // namespace quorlin
