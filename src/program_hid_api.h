#pragma once
// The HID backend an executable is linked with. Each program supplies one
// definition: the system's hidapi for quorlin, a simulated light for the demo.

#include "link/hid_api.h"

namespace quorlin {

// Never fails; the backend lives for the whole process.
HidApi& programHidApi();

// How the program presents the light behind programHidApi(), so that a user can
// tell the demo from the real program before and after it starts.
struct ProgramLight {
    const char* helpLine;         // the second line of --help
    const char* versionNote;      // after the version number; empty for the real light
    const char* desktopFileName;  // the menu entry the window belongs to; empty for none
    const char* aboutLine;        // the About box's second line
};
const ProgramLight& programLight();

}  // namespace quorlin
