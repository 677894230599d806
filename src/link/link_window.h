#pragma once
// What the link worker needs from the main window. The worker calls these on its own
// thread; the window carries each control change over to its UI thread and returns
// once it has been applied.

#include <atomic>
#include <cstdint>

namespace quorlin {

class LinkWindow {
public:
    virtual ~LinkWindow() = default;
    virtual void ShowConnectionState(bool connected) = 0;
    virtual void RefreshFromDevice() = 0;
    // The worker's loop runs while this is non-zero (the window's m_bThreadRun).
    virtual std::atomic<std::uint32_t>& threadRunFlag() = 0;
};

}  // namespace quorlin
