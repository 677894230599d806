// quorlin-demo talks to a simulated light that lives inside the process, so the real
// window and worker can be tried with no light plugged in.
#include "program_hid_api.h"

#include "link/sim/demo_light.h"

namespace quorlin {

HidApi& programHidApi()
{
    return sim::demoLight();
}

}  // namespace quorlin
