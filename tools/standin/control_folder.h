#pragma once
// The stand-ins' side of the control folder named by QUORLIN_STANDIN_DIR: control
// files re-read when they change, the folder-wide lock every process takes, and the
// timed call log. See README.md for the files and their content.
//
// Nothing here throws or aborts on odd file content: what cannot be read or parsed
// counts as the file's default.

#include <cstdint>
#include <optional>
#include <string>
#include <sys/stat.h>

namespace quorlin::standin {

// The control folder, or "" when the variable is unset (no light, no events).
const std::string& controlDir();

// A control file re-read only when stat() shows it changed. Not thread-safe: callers
// hold their process's lock.
class ControlFile {
public:
    explicit ControlFile(std::string name) : name_(std::move(name)) {}
    // The file's content (at most 64 KiB), or nullopt when it is missing or unreadable.
    const std::optional<std::string>& content();

private:
    std::string name_;
    bool known_ = false;
    struct stat seen_{};
    std::optional<std::string> content_;
};

// Serializes all processes using the folder (flock on `lock`). Recursive-free: take it
// once per call, after the process's own mutex. Without a folder it does nothing.
class FolderLock {
public:
    FolderLock();
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int fd_ = -1;
};

// CLOCK_MONOTONIC in milliseconds.
double monotonicMs();

// errno as its symbolic name ("EACCES"), or "-" for 0.
std::string errnoName(int error);
// A name ("EACCES") or a decimal number; nullopt for anything else.
std::optional<int> parseErrno(const std::string& text);

// Appends one line `MS PID CALL IF RESULT ERR BYTES [extra]` to calls.log; silently
// does nothing when the log cannot be written.
void logCall(double startMs, const char* call, int interfaceIndex, long result, int error,
             const std::string& bytes, const std::string& extra = {});

// Replaces `name` in the folder by `content` at once (temporary file + rename).
// Returns false when it could not.
bool writeWhole(const std::string& name, const std::string& content);

// Whether a process with this pid exists.
bool processAlive(long pid);

// Creates the folder (one level) and `sub` inside it; false when it cannot.
bool ensureFolder(const std::string& sub = {});

}  // namespace quorlin::standin
