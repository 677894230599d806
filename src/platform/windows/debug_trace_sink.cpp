#include "platform/windows/debug_trace_sink.h"

#include "platform/windows/wide_text.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace quorlin {

void traceToDebugger(std::string_view line)
{
    std::wstring text = widen(line);
    text += L"\n";
    OutputDebugStringW(text.c_str());
}

void traceToStandardError(std::string_view line)
{
    // Lines from both threads must not interleave: one write each.
    std::string text(line);
    text += '\n';
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}

}  // namespace quorlin
