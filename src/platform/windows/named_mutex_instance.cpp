#include "platform/windows/named_mutex_instance.h"

#include <windows.h>

namespace quorlin {

NamedMutexInstance::~NamedMutexInstance()
{
    if (handle_ != nullptr)
        CloseHandle(handle_);
}

SingleInstance::Result NamedMutexInstance::acquire()
{
    if (handle_ != nullptr)
        return Result::Acquired;
    // The mutex is never owned: its existence is the token, so nothing waits on it.
    HANDLE handle = CreateMutexA(nullptr, FALSE, kMutexName);
    if (handle == nullptr)
        return Result::Unguarded;  // e.g. the name is taken by another kind of object
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        // Keeping this handle would keep the other copy's mutex alive after it ends.
        CloseHandle(handle);
        return Result::AlreadyRunning;
    }
    handle_ = handle;
    return Result::Acquired;
}

}  // namespace quorlin
