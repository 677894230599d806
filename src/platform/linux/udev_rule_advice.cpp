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

std::string_view UdevRuleAdvice::windowHint(int error, UiLanguage language) const
{
    if (!isPermissionError(error))
        return OpenFailureAdvice::windowHint(error, language);
    return language == UiLanguage::Japanese
               ? "ライトは接続されていますが、このユーザーには開く権限がありません。udev ルール "
                 "70-quorlin.rules を /etc/udev/rules.d に入れ、ライトを接続し直してください。"
               : "The light is plugged in, but this user may not open it. Install the udev rule "
                 "70-quorlin.rules into /etc/udev/rules.d, then plug the light in again.";
}

const OpenFailureAdvice& systemOpenFailureAdvice()
{
    static const UdevRuleAdvice advice;
    return advice;
}

}  // namespace quorlin
