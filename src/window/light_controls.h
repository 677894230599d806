#pragma once
// State the light controls keep beyond the window object.

#include <atomic>
#include <cstdint>

namespace quorlin {

// The scroll messages of both trackbars counted together: the window handles the
// 1st, 3rd, 5th ... and passes over the ones between. 0 at start.
extern std::atomic<std::uint32_t> g_scrollEventCount;

}  // namespace quorlin
