#include "platform/windows/system_error_text.h"

#include "platform/windows/wide_text.h"

#include <windows.h>

namespace quorlin {

std::string systemErrorText(unsigned long error)
{
    wchar_t buffer[512];
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                                        0, buffer, sizeof buffer / sizeof buffer[0], nullptr);
    std::wstring text(buffer, length);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '
                             || text.back() == L'.'))
        text.pop_back();
    if (text.empty())
        return "error " + std::to_string(error);
    return narrow(text);
}

}  // namespace quorlin
