#pragma once
// Time as the link sees it. The protocol's fixed waits go through here so tests can
// record them instead of waiting.

#include <cstdint>

namespace quorlin {

class Clock {
public:
    virtual ~Clock() = default;
    // Blocks the calling thread for about `ms` milliseconds.
    virtual void sleepMs(int ms) = 0;
    // Monotonic milliseconds since an arbitrary start.
    virtual std::int64_t nowMs() = 0;
};

// Real sleeps on the steady clock.
Clock& systemClock();

}  // namespace quorlin
