#include "link/open_failure_hint.h"

#include <cerrno>
#include <ostream>

namespace quorlin {

bool isPermissionError(int error)
{
    return error == EACCES || error == EPERM;
}

void writeUdevRuleHint(std::ostream& out)
{
    out << "This user may not open the light's hidraw devices. Install the udev rule "
           "70-quorlin.rules (shipped in resources/) into /etc/udev/rules.d, e.g.\n"
           "  sudo cp resources/70-quorlin.rules /etc/udev/rules.d/\n"
           "  sudo udevadm control --reload-rules && sudo udevadm trigger\n"
           "then unplug the light and plug it in again.\n";
}

}  // namespace quorlin
