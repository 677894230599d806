#pragma once
// What a user can do when the light is listed but will not open: the same advice
// from the window's link and from the command-line tool.

#include <iosfwd>

namespace quorlin {

// True for the errno values that mean "this user may not open it" (EACCES, EPERM).
bool isPermissionError(int error);

// The lines that tell how to install the udev rule 70-quorlin.rules and make it take
// effect. Cannot fail; a failed write only sets the stream's state.
void writeUdevRuleHint(std::ostream& out);

}  // namespace quorlin
