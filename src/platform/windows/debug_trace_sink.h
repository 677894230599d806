#pragma once
// Where the trace lines go on Windows (see platform/trace_sink.h): the debugger's
// output (DebugView, a debugger's log) or standard error, when the program asks.

#include <string_view>

namespace quorlin {

// One OutputDebugStringW per line, the line ending added.
void traceToDebugger(std::string_view line);

// One write of the whole line and its ending to standard error.
void traceToStandardError(std::string_view line);

}  // namespace quorlin
