#pragma once
// How quorlinctl prints the light's settings. Scripts parse these lines: keep the
// keys and their order, only ever add at the end.

#include "shell/light_settings.h"

#include <cstdint>
#include <iosfwd>
#include <string>

namespace quorlin::ctl {

// Plain: one "key: value" line each. JSON: one object on one line, plain numbers.
void printStatus(std::ostream& out, const LightSettings& settings, bool json);

}  // namespace quorlin::ctl
