#pragma once
// On Windows a light that is listed but will not open is nearly always held by
// another program (the maker's own tool, a game's lighting plug-in) or left in a
// bad state by a driver: closing the other program or plugging the light in again
// sets it free. There is no permission to grant.

#include "platform/open_failure_advice.h"

namespace quorlin {

class WindowsOpenFailureAdvice final : public OpenFailureAdvice {
public:
    // The same lines for every error: the transport cannot tell the causes apart.
    void write(std::ostream& out, int error) const override;
    std::string_view windowHint(int error, UiLanguage language) const override;
};

}  // namespace quorlin
