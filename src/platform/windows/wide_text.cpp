#include "platform/windows/wide_text.h"

#include <windows.h>

#include <climits>

namespace quorlin {
namespace {

int checkedLength(std::size_t size)
{
    return size > static_cast<std::size_t>(INT_MAX) ? -1 : static_cast<int>(size);
}

}  // namespace

std::wstring widen(std::string_view utf8)
{
    const int length = checkedLength(utf8.size());
    if (length <= 0)
        return {};
    // Without MB_ERR_INVALID_CHARS every invalid byte turns into U+FFFD.
    const int needed = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
    if (needed <= 0)
        return {};
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, wide.data(), needed);
    return wide;
}

std::string narrow(std::wstring_view utf16)
{
    const int length = checkedLength(utf16.size());
    if (length <= 0)
        return {};
    const int needed = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0)
        return {};
    std::string text(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), length, text.data(), needed, nullptr, nullptr);
    return text;
}

std::optional<std::string> toAnsiCodePage(std::string_view utf8)
{
    const std::wstring wide = widen(utf8);
    if (wide.empty())
        return utf8.empty() ? std::optional<std::string>(std::string()) : std::nullopt;
    const int length = checkedLength(wide.size());
    BOOL lossy = FALSE;
    const int needed = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), length, nullptr, 0,
                                           nullptr, &lossy);
    if (needed <= 0 || lossy)
        return std::nullopt;
    std::string text(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), length, text.data(), needed, nullptr, &lossy);
    if (lossy)
        return std::nullopt;
    return text;
}

}  // namespace quorlin
