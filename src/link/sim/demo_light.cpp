#include "link/sim/demo_light.h"

namespace quorlin::sim {
namespace {

constexpr int kDemoInterfaces = 2;
constexpr std::size_t kDemoCallLogLimit = 256;

}  // namespace

SimulatedLight& demoLight()
{
    static SimulatedLight light(systemClock(), kDemoInterfaces);
    static const bool logLimited = (light.setCallLogLimit(kDemoCallLogLimit), true);
    (void)logLimited;
    return light;
}

}  // namespace quorlin::sim
