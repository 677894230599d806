#include "link/clock.h"

#include <chrono>
#include <thread>

namespace quorlin {
namespace {

class SteadyClock final : public Clock {
public:
    void sleepMs(int ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
    std::int64_t nowMs() override
    {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    }
};

}  // namespace

Clock& systemClock()
{
    static SteadyClock clock;
    return clock;
}

}  // namespace quorlin
