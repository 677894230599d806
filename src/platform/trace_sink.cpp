#include "platform/trace_sink.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>

namespace quorlin {
namespace {

std::atomic<TraceSink> g_sink{nullptr};

}  // namespace

void setTraceSink(TraceSink sink)
{
    g_sink.store(sink);
}

void traceLine(const char* format, ...)
{
    const TraceSink sink = g_sink.load();
    if (sink == nullptr)
        return;
    char line[256];
    va_list args;
    va_start(args, format);
    const int length = std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    if (length < 0)
        return;
    sink(std::string_view(line, static_cast<std::size_t>(length) < sizeof line ? length : sizeof line - 1));
}

}  // namespace quorlin
