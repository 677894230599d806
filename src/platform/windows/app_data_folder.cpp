#include "platform/windows/app_data_folder.h"

#include "platform/windows/system_error_text.h"
#include "platform/windows/wide_text.h"

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <utility>

namespace quorlin {
namespace {

constexpr const char* kFolderName = "Quorlin";

std::string describe(const std::string& what, const std::string& path, DWORD error)
{
    return what + " " + path + ": " + systemErrorText(error);
}

bool isSeparator(char c)
{
    return c == '\\' || c == '/';
}

// "C:\..." or "\\server\share\...": a path that does not depend on the current
// drive or folder.
bool isAbsolute(const std::string& path)
{
    const bool drive = path.size() >= 3 && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'))
                       && path[1] == ':' && isSeparator(path[2]);
    const bool unc = path.size() >= 3 && isSeparator(path[0]) && isSeparator(path[1]);
    return drive || unc;
}

std::string joined(const std::string& folder, const std::string& name)
{
    return !folder.empty() && isSeparator(folder.back()) ? folder + name : folder + "\\" + name;
}

bool exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool isFolder(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Makes `path` and every missing folder above it; 0 or the error of the step that
// failed. What exists is left alone.
DWORD makeFolders(const std::wstring& path)
{
    // Skip the root ("C:\" or "\\server\share\") before making anything.
    std::size_t start = 3;
    if (path.size() >= 2 && path[0] == L'\\' && path[1] == L'\\') {
        start = path.find(L'\\', 2);
        start = start == std::wstring::npos ? path.size() : path.find(L'\\', start + 1);
    }
    for (std::size_t at = start; at != std::wstring::npos && at <= path.size();) {
        const std::size_t slash = path.find_first_of(L"\\/", at);
        const std::wstring part = path.substr(0, slash);
        if (!part.empty() && !isFolder(part) && !CreateDirectoryW(part.c_str(), nullptr)
            && GetLastError() != ERROR_ALREADY_EXISTS)
            return GetLastError();
        at = slash == std::wstring::npos ? slash : slash + 1;
    }
    return isFolder(path) ? 0 : ERROR_DIRECTORY;
}

}  // namespace

std::string userFolderPath(const AppDataPlaces& places)
{
    if (!isAbsolute(places.roamingAppData))
        return {};
    return joined(places.roamingAppData, kFolderName);
}

std::vector<std::string> enterUserFolder(const AppDataPlaces& places)
{
    std::vector<std::string> problems;
    const std::string folder = userFolderPath(places);
    if (folder.empty()) {
        problems.push_back("no per-user folder: the roaming application data folder (APPDATA) is unknown");
        return problems;
    }
    const std::wstring wideFolder = widen(folder);
    if (const DWORD error = makeFolders(wideFolder); error != 0) {
        problems.push_back(describe("cannot create", folder, error));
        return problems;
    }
    for (const std::string& name : places.seedFiles) {
        const std::string target = joined(folder, name);
        const std::wstring wideTarget = widen(target);
        if (exists(wideTarget))
            continue;
        const std::string source = joined(places.defaults, name);
        // Fails rather than replace a file that appeared meanwhile; a copy that breaks
        // off is removed by the system, so the name appears whole or not at all.
        if (!CopyFileW(widen(source).c_str(), wideTarget.c_str(), TRUE)) {
            const DWORD error = GetLastError();
            if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS)
                continue;  // seeded by another start meanwhile
            const bool sourceMissing = !exists(widen(source));
            problems.push_back(describe("cannot copy the default", sourceMissing ? source : target, error));
        }
    }
    if (!SetCurrentDirectoryW(wideFolder.c_str()))
        problems.push_back(describe("cannot enter", folder, GetLastError()));
    return problems;
}

std::string roamingAppDataFolder()
{
    PWSTR known = nullptr;
    std::string folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &known)) && known != nullptr)
        folder = narrow(known);
    CoTaskMemFree(known);
    if (!folder.empty())
        return folder;
    const DWORD needed = GetEnvironmentVariableW(L"APPDATA", nullptr, 0);
    if (needed == 0)
        return {};
    std::wstring value(needed, L'\0');
    const DWORD length = GetEnvironmentVariableW(L"APPDATA", value.data(), needed);
    value.resize(length < needed ? length : 0);
    return narrow(value);
}

std::string executableFolder()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        if (path.size() >= 32768)
            return {};
        path.resize(path.size() * 2);
    }
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::string() : narrow(path.substr(0, slash));
}

AppDataPlaces systemAppDataPlaces(std::vector<std::string> seedFiles)
{
    return {roamingAppDataFolder(), executableFolder(), std::move(seedFiles)};
}

}  // namespace quorlin
