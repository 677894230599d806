#include "ui/win32/standard_streams.h"

#include <windows.h>

#include <cstdio>
#include <iostream>

namespace quorlin::win32 {
namespace {

bool leadsSomewhere(DWORD which)
{
    HANDLE handle = GetStdHandle(which);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

void toConsole(FILE* stream)
{
    if (std::freopen("CONOUT$", "w", stream) != nullptr)
        std::setvbuf(stream, nullptr, _IONBF, 0);
}

}  // namespace

ConnectedStreams connectStandardStreams()
{
    // A redirection the starter made is kept; the C runtime writes there already.
    const bool outRedirected = leadsSomewhere(STD_OUTPUT_HANDLE);
    const bool errRedirected = leadsSomewhere(STD_ERROR_HANDLE);
    if (outRedirected && errRedirected)
        return {true, true};
    if (AttachConsole(ATTACH_PARENT_PROCESS)) {
        if (!outRedirected)
            toConsole(stdout);
        if (!errRedirected)
            toConsole(stderr);
        std::cout.clear();
        std::cerr.clear();
        std::wcout.clear();
        std::wcerr.clear();
    }
    const bool console = GetConsoleWindow() != nullptr;
    return {outRedirected || console, errRedirected || console};
}

}  // namespace quorlin::win32
