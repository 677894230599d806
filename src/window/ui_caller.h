#pragma once
// Runs a piece of work on the UI thread for another thread and waits until it is
// done. The hand-over itself goes through a std::mutex and condition variable (so
// ThreadSanitizer sees it); Qt only wakes the UI thread up.

#include <QObject>

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

namespace quorlin {

class UiCaller : public QObject {
    Q_OBJECT
public:
    explicit UiCaller(QObject* parent = nullptr);
    ~UiCaller() override;

    // Runs `work` on this object's thread: at once when called there, otherwise by
    // handing it over and waiting. After close() work from other threads is dropped
    // and call() returns at once.
    void call(std::function<void()> work);
    // UI thread: runs every piece of work handed over so far.
    void pump();
    // Stops accepting work from other threads and releases any that wait.
    void close();

private:
    struct Task {
        std::function<void()> work;
        bool done = false;
    };

    std::mutex mutex_;
    std::condition_variable doneCv_;
    std::deque<std::shared_ptr<Task>> queue_;
    bool closed_ = false;
};

}  // namespace quorlin
