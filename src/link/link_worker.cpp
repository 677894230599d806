#include "link/link_worker.h"

#include "link/clock.h"
#include "link/device_link.h"
#include "link/hid_api.h"
#include "link/link_window.h"
#include "shell/whole_data.h"

#include <chrono>
#include <system_error>

namespace quorlin {

LinkWorker::LinkWorker(CWholeData& data, DeviceLink& link, HidApi& hid, Clock& clock)
    : data_(data), link_(link), hid_(hid), clock_(clock)
{
}

LinkWorker::~LinkWorker()
{
    join();
}

bool LinkWorker::start(LinkWindow& window)
{
    if (thread_.joinable())
        return false;
    finished_ = false;
    try {
        thread_ = std::thread([this, &window] {
            linkWorkerProc(window);
            markFinished();
        });
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void LinkWorker::markFinished()
{
    {
        std::lock_guard lock(finishMutex_);
        finished_ = true;
    }
    finishCv_.notify_all();
}

bool LinkWorker::waitForEnd(int timeoutMs, const std::function<void()>& pump)
{
    if (!thread_.joinable())
        return true;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    std::unique_lock lock(finishMutex_);
    while (!finished_) {
        lock.unlock();
        if (pump)
            pump();
        lock.lock();
        if (std::chrono::steady_clock::now() >= deadline)
            break;
        finishCv_.wait_for(lock, std::chrono::milliseconds(2));
    }
    return finished_.load();
}

void LinkWorker::join()
{
    if (thread_.joinable())
        thread_.join();
}

unsigned LinkWorker::linkWorkerProc(LinkWindow& window)
{
    hid_.init();
    while (window.threadRunFlag().load() != 0) {
        if (data_.quitRequested.load() != 0)
            break;  // the close is under way; still release what is open below
        if (data_.reconnectRequested.load() != 0) {
            data_.setLinkBusyUsable(1, 0);
            window.ShowConnectionState(false);
            reconnectDevice(window);
            continue;
        }
        if (data_.pollEnabled.load() != 0) {
            if (data_.linkBusy.load() != 0 || data_.linkUsable.load() == 0) {
                window.ShowConnectionState(false);
                clock_.sleepMs(kPassMs);
                continue;
            }
            const bool launcherRunning = data_.isSignalRgbRunning();
            link_.setDownReason(launcherRunning ? LinkDownReason::LauncherRunning : LinkDownReason::None);
            window.ShowConnectionState(!launcherRunning);
            if (launcherWasRunning.load() != 0 && !launcherRunning) {
                link_.queryStatus();
                window.RefreshFromDevice();
            }
            launcherWasRunning = launcherRunning ? 1 : 0;
            clock_.sleepMs(kPassMs);
            continue;
        }
        clock_.sleepMs(kPassMs);  // a send from the window is under way
    }
    link_.closeDevices();
    hid_.exit();
    return 1;
}

void LinkWorker::reconnectDevice(LinkWindow& window)
{
    clock_.sleepMs(kReconnectStepMs);
    data_.linkBusy = 0;
    if (data_.isSignalRgbRunning()) {
        link_.setDownReason(LinkDownReason::LauncherRunning);
        return;  // stay off the light; the request stays set
    }
    link_.closeDevices();
    if (data_.quitRequested.load() != 0)
        return;
    clock_.sleepMs(kReconnectStepMs);
    if (link_.openDevices() == 0)
        return;  // not there (or not openable): try again next pass
    if (data_.quitRequested.load() != 0) {
        link_.closeDevices();
        return;
    }
    data_.linkUsable = 1;
    data_.reconnectRequested = 0;
    link_.queryStatus();
    window.RefreshFromDevice();
    window.ShowConnectionState(true);
    data_.linkReady = 1;
}

}  // namespace quorlin
