#pragma once
// The data object's process list for the fuzz targets: the other lighting program
// never runs.
#include "platform/process_list.h"

struct NoProcesses final : quorlin::ProcessList {
    bool isRunning(std::string_view) override { return false; }
};
