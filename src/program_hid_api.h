#pragma once
// The HID backend an executable is linked with. Each program supplies one
// definition: the system's hidapi for quorlin, a simulated light for the demo.

#include "link/hid_api.h"

namespace quorlin {

// Never fails; the backend lives for the whole process.
HidApi& programHidApi();

}  // namespace quorlin
