#pragma once
// Only one copy of the program runs at a time: the first copy holds a system-wide
// token for its whole life (a lock file on Linux, a named mutex on Windows).

namespace quorlin {

class SingleInstance {
public:
    enum class Result {
        Acquired,        // this object holds the token
        AlreadyRunning,  // another copy holds it
        Unguarded,       // no token could be made: the caller runs without one
    };

    virtual ~SingleInstance() = default;
    // Never blocks. Once Acquired, further calls answer Acquired again.
    virtual Result acquire() = 0;
};

}  // namespace quorlin
