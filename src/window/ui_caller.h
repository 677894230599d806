#pragma once
// Runs a piece of work on the UI thread for another thread and waits until it is done.
// The hand-over is a mutex and a condition variable; the front end only wakes its UI
// thread, which then calls pump(). The UI thread is the one that made this object.

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace quorlin {

class UiCaller {
public:
    // `wake` may be called on any thread; it arranges for pump() to run on the UI
    // thread soon (a queued call, a posted message) and returns at once.
    explicit UiCaller(std::function<void()> wake);
    ~UiCaller();
    UiCaller(const UiCaller&) = delete;
    UiCaller& operator=(const UiCaller&) = delete;

    // Runs `work` on the UI thread: at once when called there, otherwise by handing it
    // over and waiting. After close() work from other threads is dropped and call()
    // returns at once.
    void call(std::function<void()> work);
    // UI thread: runs every piece of work handed over so far.
    void pump();
    // UI thread: stops accepting work from other threads and releases any that wait.
    // Work already taken by pump() has finished by then, as pump() runs on this thread.
    void close();
    bool onUiThread() const { return std::this_thread::get_id() == uiThread_; }

private:
    struct Task {
        std::function<void()> work;
        bool done = false;
    };

    const std::thread::id uiThread_;
    std::function<void()> wake_;
    std::mutex mutex_;
    std::condition_variable doneCv_;
    std::deque<std::shared_ptr<Task>> queue_;
    bool closed_ = false;
};

}  // namespace quorlin
