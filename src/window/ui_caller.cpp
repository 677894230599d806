#include "window/ui_caller.h"

#include <algorithm>

namespace quorlin {

UiCaller::UiCaller(std::function<void()> wake) : uiThread_(std::this_thread::get_id()), wake_(std::move(wake)) {}

UiCaller::~UiCaller()
{
    close();
}

void UiCaller::call(std::function<void()> work)
{
    if (onUiThread()) {
        work();
        return;
    }
    auto task = std::make_shared<Task>();
    task->work = std::move(work);
    std::unique_lock lock(mutex_);
    if (closed_)
        return;
    queue_.push_back(task);
    lock.unlock();
    if (wake_)
        wake_();
    lock.lock();
    doneCv_.wait(lock, [&] { return task->done || closed_; });
    if (!task->done)
        queue_.erase(std::remove(queue_.begin(), queue_.end(), task), queue_.end());
}

void UiCaller::pump()
{
    std::unique_lock lock(mutex_);
    while (!queue_.empty()) {
        auto task = queue_.front();
        queue_.pop_front();
        lock.unlock();
        task->work();
        lock.lock();
        task->done = true;
        doneCv_.notify_all();
    }
}

void UiCaller::close()
{
    {
        std::lock_guard lock(mutex_);
        closed_ = true;
    }
    doneCv_.notify_all();
}

}  // namespace quorlin
