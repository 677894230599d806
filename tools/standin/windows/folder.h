#pragma once
// The Windows side of the control folder named by QUORLIN_STANDIN_DIR (a Windows path,
// or a Unix one, which Wine reaches through drive Z:): control files read whole at
// each use, the settings written back whole, and the shared call log.

#include <optional>
#include <string>

namespace quorlin::standin::win {

// The folder as a Windows path without a trailing separator, "" when unset.
const std::wstring& controlDir();
// The pipe channel of the folder (controls.h: channelOf).
std::wstring channel();
// Sets the folder for this process (the light takes it from its command line).
void setControlDir(const std::wstring& folder);

// A control file's content (at most 64 KiB); nullopt when missing or unreadable.
std::optional<std::string> readControl(const char* name);
// Replaces a file of the folder whole (temporary file, then a replacing move).
bool writeWhole(const char* name, const std::string& content);

// The monotonic clock in milliseconds.
double monotonicMs();

// Appends `MS PID CALL IF RESULT ERR BYTES [extra]` to calls.log in one write, so
// lines of several processes never interleave. IF < 0 is written "-".
void logCall(double startMs, const char* call, int interfaceIndex, long result, const std::string& error,
             const std::string& bytes, const std::string& extra = {});

}  // namespace quorlin::standin::win
