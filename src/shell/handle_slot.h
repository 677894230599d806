#pragma once
// A pair of system handles with a lock of their own. The program keeps these slots
// for later use; nothing stores a handle in them yet, but tearing one down still
// releases whatever it holds.

#include <atomic>
#include <cstdint>
#include <mutex>

namespace quorlin {

// Set while a slot's second handle is being shut down.
extern std::atomic<std::uint8_t> slotStopFlag;

struct HandleSlot {
    static constexpr int kInvalid = -1;

    HandleSlot() = default;
    HandleSlot(const HandleSlot&) = delete;
    HandleSlot& operator=(const HandleSlot&) = delete;
    ~HandleSlot();

    int firstHandle = kInvalid;   // file descriptors
    int secondHandle = kInvalid;
    std::mutex lock;
};

}  // namespace quorlin
