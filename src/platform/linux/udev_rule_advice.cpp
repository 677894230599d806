#include "platform/linux/udev_rule_advice.h"

#include <ostream>

namespace quorlin {

void UdevRuleAdvice::write(std::ostream& out, int error) const
{
    if (!isPermissionError(error))
        return;
    out << "This user may not open the light's hidraw devices. Install the udev rule "
           "70-quorlin.rules (shipped in resources/) into /etc/udev/rules.d, e.g.\n"
           "  sudo cp resources/70-quorlin.rules /etc/udev/rules.d/\n"
           "  sudo udevadm control --reload-rules && sudo udevadm trigger\n"
           "then unplug the light and plug it in again.\n";
}

const OpenFailureAdvice& systemOpenFailureAdvice()
{
    static const UdevRuleAdvice advice;
    return advice;
}

}  // namespace quorlin
