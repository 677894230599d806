// quorlin talks to the real light through the system's hidapi.
#include "program_hid_api.h"

namespace quorlin {

HidApi& programHidApi()
{
    return systemHidApi();
}

}  // namespace quorlin
