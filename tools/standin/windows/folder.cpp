#include "folder.h"

#include "controls.h"

#include <windows.h>

#include <cstdio>

namespace quorlin::standin::win {
namespace {

constexpr DWORD kMaxControlFile = 64 * 1024;

// A Unix path is reached through drive Z:, which Wine maps to the root.
std::wstring windowsPath(const std::wstring& folder)
{
    std::wstring path = folder;
    if (!path.empty() && path[0] == L'/')
        path = L"Z:" + path;
    for (wchar_t& c : path)
        if (c == L'/')
            c = L'\\';
    while (path.size() > 3 && path.back() == L'\\')
        path.pop_back();
    return path;
}

std::wstring& folderStore()
{
    static std::wstring* folder = [] {
        wchar_t value[MAX_PATH * 2];
        const DWORD length = GetEnvironmentVariableW(L"QUORLIN_STANDIN_DIR", value, MAX_PATH * 2);
        return new std::wstring(length > 0 && length < MAX_PATH * 2 ? windowsPath(value) : L"");
    }();
    return *folder;
}

std::wstring pathOf(const char* name)
{
    std::wstring path = controlDir() + L"\\";
    for (const char* c = name; *c != '\0'; ++c)
        path += static_cast<wchar_t>(*c);
    return path;
}

}  // namespace

const std::wstring& controlDir()
{
    return folderStore();
}

std::wstring channel()
{
    return channelOf(controlDir());
}

void setControlDir(const std::wstring& folder)
{
    folderStore() = windowsPath(folder);
}

std::optional<std::string> readControl(const char* name)
{
    if (controlDir().empty())
        return std::nullopt;
    const HANDLE file = CreateFileW(pathOf(name).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::string content(kMaxControlFile, '\0');
    DWORD got = 0;
    const BOOL ok = ReadFile(file, content.data(), kMaxControlFile, &got, nullptr);
    CloseHandle(file);
    if (!ok)
        return std::nullopt;
    content.resize(got);
    return content;
}

bool writeWhole(const char* name, const std::string& content)
{
    if (controlDir().empty())
        return false;
    const std::wstring path = pathOf(name);
    const std::wstring temporary = path + L".tmp." + std::to_wstring(GetCurrentProcessId());
    const HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
    if (!ok || written != content.size() || !MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileW(temporary.c_str());
        return false;
    }
    return true;
}

double monotonicMs()
{
    static const double ticksPerMs = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / ticksPerMs;
}

void logCall(double startMs, const char* call, int interfaceIndex, long result, const std::string& error,
             const std::string& bytes, const std::string& extra)
{
    if (controlDir().empty())
        return;
    const DWORD savedError = GetLastError();
    char head[160];
    char index[16] = "-";
    if (interfaceIndex >= 0)
        std::snprintf(index, sizeof index, "%d", interfaceIndex);
    std::snprintf(head, sizeof head, "%.3f %lu %s %s %ld %s ", startMs, GetCurrentProcessId(), call, index,
                  result, error.empty() ? "-" : error.c_str());
    std::string line = head + bytes;
    if (!extra.empty())
        line += " " + extra;
    line += "\n";
    // Append-only access: every write lands at the end, whoever else writes.
    const HANDLE file = CreateFileW(pathOf("calls.log").c_str(), FILE_APPEND_DATA,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
        CloseHandle(file);
    }
    SetLastError(savedError);
}

}  // namespace quorlin::standin::win
