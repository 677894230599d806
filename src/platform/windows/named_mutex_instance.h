#pragma once
// Only one copy of the program runs per session: the first copy holds the named
// mutex "Quorlin" for its whole life. The system drops it when the process ends,
// however it ends, so a crashed copy never blocks the next.

#include "platform/single_instance.h"

namespace quorlin {

class NamedMutexInstance final : public SingleInstance {
public:
    static constexpr const char* kMutexName = "Quorlin";

    // Nothing is created until acquire().
    NamedMutexInstance() = default;
    NamedMutexInstance(const NamedMutexInstance&) = delete;
    NamedMutexInstance& operator=(const NamedMutexInstance&) = delete;
    // Lets the mutex go when held.
    ~NamedMutexInstance() override;

    // Acquired when this call made the mutex; AlreadyRunning when it existed (another
    // copy, or another object in this process, holds it); Unguarded when it could
    // not be made at all. Never blocks; once Acquired, answers Acquired again.
    Result acquire() override;

private:
    void* handle_ = nullptr;  // HANDLE
};

}  // namespace quorlin
