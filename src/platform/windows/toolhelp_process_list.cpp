#include "platform/windows/toolhelp_process_list.h"

#include "platform/windows/wide_text.h"

#include <string>

namespace quorlin {
namespace {

// Closes the snapshot however the walk ends.
class Snapshot {
public:
    explicit Snapshot(const ToolhelpCalls& calls)
        : calls_(calls), handle_(calls.createSnapshot(TH32CS_SNAPPROCESS, 0))
    {
    }
    ~Snapshot()
    {
        if (usable())
            calls_.close(handle_);
    }
    Snapshot(const Snapshot&) = delete;
    Snapshot& operator=(const Snapshot&) = delete;
    bool usable() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
    HANDLE handle() const { return handle_; }

private:
    const ToolhelpCalls& calls_;
    HANDLE handle_;
};

}  // namespace

bool ToolhelpProcessList::isRunning(std::string_view exeName)
{
    const std::wstring wanted = widen(exeName);
    if (wanted.empty())
        return false;
    const Snapshot snapshot(calls_);
    if (!snapshot.usable())
        return false;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = calls_.first(snapshot.handle(), &entry); more; more = calls_.next(snapshot.handle(), &entry)) {
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
