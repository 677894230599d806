#pragma once
// Only one copy of the program runs at a time for each user: the first copy holds an
// exclusive advisory lock on a lock file for as long as it lives. The system drops
// the lock when the process ends, however it ends, so a crashed copy never blocks
// the next.
//
// The lock file is per user and nothing another user can put anywhere may hang the
// start, end it, or pass for a running copy. Places, in order, the first that holds
// a usable file winning:
//   1. <runtime folder>/Quorlin.lock, when the runtime folder is the user's own
//      (owned, not writable by others, writable by the user);
//   2. <temp folder>/Quorlin-<uid>.lock;
//   3. <temp folder>/quorlin-<uid>/Quorlin.lock, the folder made 0700 when missing
//      and used only when it is the user's own as in 1.
// A place is used only when a regular file owned by the user stands there or can be
// made there; whatever else stands there (FIFO, symlink, folder, another user's
// file, a file the user cannot open) is never opened and the next place is tried.

#include "platform/single_instance.h"

#include <sys/types.h>

#include <iosfwd>
#include <string>

struct stat;

namespace quorlin {

// The system calls the lock makes; tests substitute failures here.
class LockSystem {
public:
    virtual ~LockSystem() = default;
    virtual int lstat(const char* path, struct stat* info) = 0;
    virtual int fstat(int fd, struct stat* info) = 0;
    virtual int open(const char* path, int flags, mode_t mode) = 0;
    virtual int close(int fd) = 0;
    virtual int flock(int fd, int operation) = 0;
    virtual int mkdir(const char* path, mode_t mode) = 0;
    // access(2) by the effective ids.
    virtual int canAccess(const char* path, int mode) = 0;
    virtual uid_t uid() = 0;
};

// The real calls.
LockSystem& systemLockSystem();

struct LockPlaces {
    std::string runtimeFolder;  // empty: none
    std::string tempFolder;     // empty: none

    // $XDG_RUNTIME_DIR, and $TMPDIR or else /tmp; a variable counts only when it is
    // an absolute name.
    static LockPlaces fromEnvironment();
};

class SingleInstanceLock final : public SingleInstance {
public:

    static constexpr const char* kLockFileName = "Quorlin.lock";

    // Nothing is touched until acquire(). `warnings` gets the one line that says
    // why the program runs unguarded.
    explicit SingleInstanceLock(LockPlaces places = LockPlaces::fromEnvironment(),
                                std::ostream& warnings = defaultWarnings(),
                                LockSystem& system = systemLockSystem());
    // The lock in `privateFolder` (a runtime folder), with no temp fallback.
    explicit SingleInstanceLock(std::string privateFolder);
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;
    // Releases the lock if held.
    ~SingleInstanceLock() override;

    // Never blocks. Once Acquired, further calls answer Acquired again; AlreadyRunning
    // means a copy of the same user holds the lock. Unguarded writes its line once
    // per object.
    Result acquire() override;

    // The lock file in use; empty unless Acquired.
    const std::string& path() const { return path_; }

private:
    static std::ostream& defaultWarnings();
    enum class Attempt { locked, held, unusable };
    Attempt tryPlace(const std::string& file);
    bool isOwnFolder(const std::string& folder, bool makeIfMissing);

    LockPlaces places_;
    std::ostream& warnings_;
    LockSystem& system_;
    std::string path_;
    int fd_ = -1;
    bool warned_ = false;
};

}  // namespace quorlin
