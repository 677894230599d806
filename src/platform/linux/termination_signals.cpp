#include "platform/linux/termination_signals.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace quorlin {
namespace {

std::atomic<int> pipeWriteEnd{-1};
std::atomic<int> pipeReadEnd{-1};

extern "C" void onTerminationSignal(int signal)
{
    const int savedErrno = errno;
    const auto byte = static_cast<unsigned char>(signal);
    // A full pipe already holds a close request; nothing is lost by dropping this one.
    [[maybe_unused]] const ssize_t written = ::write(pipeWriteEnd.load(), &byte, 1);
    errno = savedErrno;
}

}  // namespace

int installTerminationSignals()
{
    if (const int ready = pipeReadEnd.load(); ready >= 0)
        return ready;
    if (std::signal(SIGPIPE, SIG_IGN) == SIG_ERR)
        return -1;
    constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
    struct sigaction before[3] {};
    for (int i = 0; i < 3; ++i) {
        if (::sigaction(kSignals[i], nullptr, &before[i]) != 0)
            return -1;
    }
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0)
        return -1;
    pipeWriteEnd.store(ends[1]);
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    for (int i = 0; i < 3; ++i) {
        // Ignored from the start (nohup, a background job) stays ignored.
        if (before[i].sa_handler == SIG_IGN)
            continue;
        if (::sigaction(kSignals[i], &action, nullptr) != 0) {
            const int error = errno;
            while (i-- > 0)
                ::sigaction(kSignals[i], &before[i], nullptr);
            pipeWriteEnd.store(-1);
            ::close(ends[0]);
            ::close(ends[1]);
            errno = error;
            return -1;
        }
    }
    pipeReadEnd.store(ends[0]);
    return ends[0];
}

int takeTerminationSignal(int fd)
{
    int last = 0;
    unsigned char bytes[16];
    for (;;) {
        const ssize_t n = ::read(fd, bytes, sizeof bytes);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return last;
        last = bytes[n - 1];
    }
}

}  // namespace quorlin
