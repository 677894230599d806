#pragma once
// A clock for tests: records every sleep with the virtual time it started at.
// With realSleepScale 0 it does not wait at all; tests that run a real thread can
// let it wait a fraction of the asked time so a loop does not spin.

#include "link/clock.h"

#include <atomic>
#include <mutex>
#include <vector>

namespace quorlin::test {

class FakeClock : public Clock {
public:
    explicit FakeClock(double realSleepScale = 0.0) : scale_(realSleepScale) {}
    void sleepMs(int ms) override;
    std::int64_t nowMs() override { return now_.load(); }

    std::vector<int> sleeps() const;
    void clearSleeps();
    // Sum of all sleeps so far.
    std::int64_t sleptMs() const { return now_.load(); }

private:
    double scale_;
    std::atomic<std::int64_t> now_{0};
    mutable std::mutex mutex_;
    std::vector<int> sleeps_;
};

}  // namespace quorlin::test
