#include "platform/windows/toolhelp_process_list.h"

#include "platform/windows/wide_text.h"

#include <windows.h>
#include <tlhelp32.h>

#include <string>

namespace quorlin {
namespace {

// Closes the snapshot however the walk ends.
class Snapshot {
public:
    Snapshot() : handle_(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0)) {}
    ~Snapshot()
    {
        if (usable())
            CloseHandle(handle_);
    }
    Snapshot(const Snapshot&) = delete;
    Snapshot& operator=(const Snapshot&) = delete;
    bool usable() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE handle() const { return handle_; }

private:
    HANDLE handle_;
};

}  // namespace

bool ToolhelpProcessList::isRunning(std::string_view exeName)
{
    const std::wstring wanted = widen(exeName);
    if (wanted.empty())
        return false;
    const Snapshot snapshot;
    if (!snapshot.usable())
        return false;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.handle(), &entry); more;
         more = Process32NextW(snapshot.handle(), &entry)) {
        // szExeFile always ends in a zero; compare the whole name, case and all.
        if (wanted == entry.szExeFile)
            return true;
    }
    return false;
}

ProcessList& systemProcessList()
{
    static ToolhelpProcessList list;
    return list;
}

}  // namespace quorlin
