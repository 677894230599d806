#pragma once
// Only one copy of the program runs at a time: the first copy holds an exclusive
// advisory lock on "Quorlin.lock" for as long as it lives. The system drops the lock
// when the process ends, however it ends, so a crashed copy never blocks the next.

#include <string>

namespace quorlin {

class SingleInstanceLock {
public:
    enum class Result {
        Acquired,        // this object holds the lock
        AlreadyRunning,  // another open of the lock file holds it
        Failed,          // the lock file cannot be opened or created, or locking failed
    };

    static constexpr const char* kLockFileName = "Quorlin.lock";

    // `directory` holds the lock file; nothing is touched until acquire().
    explicit SingleInstanceLock(std::string directory = defaultDirectory());
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;
    // Releases the lock if held.
    ~SingleInstanceLock();

    // Never blocks. Once Acquired, further calls answer Acquired again.
    Result acquire();

    const std::string& path() const { return path_; }

    // $XDG_RUNTIME_DIR, else $TMPDIR, else /tmp; a variable counts only when it names
    // an existing folder by an absolute path.
    static std::string defaultDirectory();

private:
    int openLockFile() const;

    std::string path_;
    int fd_ = -1;
};

}  // namespace quorlin
