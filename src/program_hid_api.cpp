// quorlin talks to the real light through the system's hidapi.
#include "program_hid_api.h"

namespace quorlin {

HidApi& programHidApi()
{
    return systemHidApi();
}

const ProgramLight& programLight()
{
    static constexpr ProgramLight light{
        "The setting tool for the Quorlin Sivane USB light.",
        "",
        "org.quorlin.Quorlin",
        "Version " QUORLIN_VERSION,
    };
    return light;
}

}  // namespace quorlin
