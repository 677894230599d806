// quorlin-demo talks to a simulated light that lives inside the process, so the real
// window and worker can be tried with no light plugged in.
#include "program_hid_api.h"

#include "link/sim/demo_light.h"

namespace quorlin {

HidApi& programHidApi()
{
    return sim::demoLight();
}

// No menu entry of its own: the window must not pass for the installed program's.
const ProgramLight& programLight()
{
    static constexpr ProgramLight light{
        "The Quorlin window against a simulated light inside this process (a demo):\n"
        "no USB light is opened; quorlin is the program for the real light.",
        " (demo: simulated light, no USB light is used)",
        "",
        "Demo with a simulated light",
    };
    return light;
}

}  // namespace quorlin
