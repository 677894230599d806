#pragma once
// Why the link is not connected, as the transport and the worker last found it. The
// window explains it beside its connection display.

#include <cstdint>

namespace quorlin {

enum class LinkDownReason : std::uint8_t {
    None,             // connected, or not looked for yet
    NoLight,          // nothing with the light's ids is listed
    NotOpenable,      // listed, but none of its interfaces opened
    LauncherRunning,  // the other lighting program runs: the link keeps off the light
};

// Kept in one atomic, so a reader never pairs a reason with another attempt's error.
struct LinkDown {
    LinkDownReason reason = LinkDownReason::None;
    int openError = 0;  // NotOpenable: the errno of the failed open
};

}  // namespace quorlin
