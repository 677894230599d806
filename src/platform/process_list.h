#pragma once
// Which programs are running, by executable file name.

#include <string_view>

namespace quorlin {

class ProcessList {
public:
    virtual ~ProcessList() = default;
    // True when some running process has exactly this executable file name. Any
    // failure to read the process list counts as "not running".
    virtual bool isRunning(std::string_view exeName) = 0;
};

// The system's /proc, checked as ProcScan (proc_scan.h) describes; one per program.
ProcessList& systemProcessList();

}  // namespace quorlin
