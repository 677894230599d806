#include "support/fake_clock.h"

#include <chrono>
#include <thread>

namespace quorlin::test {

void FakeClock::sleepMs(int ms)
{
    {
        std::lock_guard lock(mutex_);
        sleeps_.push_back(ms);
    }
    now_ += ms;
    if (scale_ > 0)
        std::this_thread::sleep_for(std::chrono::microseconds(static_cast<long>(ms * 1000 * scale_)));
}

std::vector<int> FakeClock::sleeps() const
{
    std::lock_guard lock(mutex_);
    return sleeps_;
}

void FakeClock::clearSleeps()
{
    std::lock_guard lock(mutex_);
    sleeps_.clear();
}

}  // namespace quorlin::test
