#pragma once
// A process list whose answer the test sets.

#include "platform/process_list.h"

#include <atomic>
#include <string>

namespace quorlin::test {

class FakeProcessList : public ProcessList {
public:
    bool isRunning(std::string_view exeName) override
    {
        ++calls;
        return launcherRunning.load() && exeName == "SignalRgbLauncher.exe";
    }
    std::atomic<bool> launcherRunning{false};
    std::atomic<int> calls{0};
};

}  // namespace quorlin::test
