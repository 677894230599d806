#pragma once
// Which programs run, from a Toolhelp32 snapshot of the whole process list.

#include "platform/process_list.h"

namespace quorlin {

class ToolhelpProcessList final : public ProcessList {
public:
    // A fresh snapshot each call: the answer is never older than the call. The image
    // name must equal `exeName` exactly, letter case included; a snapshot that
    // cannot be taken or read counts as "not running".
    bool isRunning(std::string_view exeName) override;
};

}  // namespace quorlin
