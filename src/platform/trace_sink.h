#pragma once
// Trace lines of the device traffic ("write res::::…", "read: …"): off unless the
// program sets a sink (Qt's logging category on Linux, standard error or the
// debugger on Windows). Any thread; the sink must be set before the worker starts.

#include <string_view>

namespace quorlin {

using TraceSink = void (*)(std::string_view line);

// Null turns tracing off.
void setTraceSink(TraceSink sink);

// Formats like printf and hands the line (cut at 255 bytes) to the sink; costs one
// load when no sink is set.
void traceLine(const char* format, ...)
#if defined(__GNUC__) && !defined(_WIN32)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

}  // namespace quorlin
