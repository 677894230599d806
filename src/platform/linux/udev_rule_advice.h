#pragma once
// On Linux a light that is listed but will not open is nearly always a missing udev
// rule: the hidraw nodes belong to root until 70-quorlin.rules hands them over.

#include "platform/open_failure_advice.h"

namespace quorlin {

class UdevRuleAdvice final : public OpenFailureAdvice {
public:
    // For a permission error: how to install the rule and make it take effect.
    void write(std::ostream& out, int error) const override;
    // For a permission error: that this user may not open it, and the rule's name.
    std::string_view windowHint(int error, UiLanguage language) const override;
};

}  // namespace quorlin
