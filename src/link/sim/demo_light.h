#pragma once
// The one simulated light a demo program talks to: the light's own defaults, two
// interfaces, real time. quorlin-demo and `quorlinctl --simulate` both use it.

#include "link/sim/simulated_light.h"

namespace quorlin::sim {

// Built on first use and kept until the process ends; never fails. Its call log
// keeps only the newest calls, so a demo can run for days.
SimulatedLight& demoLight();

}  // namespace quorlin::sim
