#pragma once
// The system's own words for a Win32 error code, for messages the user reads.

#include <string>

namespace quorlin {

// FormatMessage's text for `error` in UTF-8, without its closing period and line
// break; "error <n>" when the system has no text for it.
std::string systemErrorText(unsigned long error);

}  // namespace quorlin
