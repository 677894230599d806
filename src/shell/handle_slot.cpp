#include "shell/handle_slot.h"

#include <unistd.h>

#include <chrono>
#include <thread>

namespace quorlin {

std::atomic<std::uint8_t> slotStopFlag{0};

HandleSlot::~HandleSlot()
{
    if (secondHandle != kInvalid) {
        // Give whoever waits on the second handle a moment to see the stop.
        slotStopFlag = 1;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ::close(secondHandle);
        secondHandle = kInvalid;
    }
    if (firstHandle != kInvalid) {
        ::close(firstHandle);
        firstHandle = kInvalid;
    }
}

}  // namespace quorlin
