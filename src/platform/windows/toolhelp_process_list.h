#pragma once
// Which programs run, from a Toolhelp32 snapshot of the whole process list.

#include "platform/process_list.h"

#include <windows.h>
#include <tlhelp32.h>

namespace quorlin {

// The Toolhelp calls the check makes; tests substitute failures here.
struct ToolhelpCalls {
    HANDLE(WINAPI* createSnapshot)(DWORD flags, DWORD processId) = &CreateToolhelp32Snapshot;
    BOOL(WINAPI* first)(HANDLE snapshot, PROCESSENTRY32W* entry) = &Process32FirstW;
    BOOL(WINAPI* next)(HANDLE snapshot, PROCESSENTRY32W* entry) = &Process32NextW;
    BOOL(WINAPI* close)(HANDLE handle) = &CloseHandle;
};

class ToolhelpProcessList final : public ProcessList {
public:
    explicit ToolhelpProcessList(ToolhelpCalls calls = {}) : calls_(calls) {}
    // A fresh snapshot each call: the answer is never older than the call. The image
    // name must equal `exeName` exactly, letter case included; a snapshot that
    // cannot be taken or read counts as "not running".
    bool isRunning(std::string_view exeName) override;

private:
    ToolhelpCalls calls_;
};

}  // namespace quorlin
