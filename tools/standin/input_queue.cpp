#include "input_queue.h"

#include "control_folder.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

namespace quorlin::standin {
namespace {

// hidraw keeps this many unread reports per open file; older ones drop.
constexpr std::size_t kQueueLimit = 64;
constexpr std::size_t kMaxRecord = 255;

std::string queueFolder()
{
    return controlDir() + "/queues";
}

// Splits "<pid>.<n>.<interface>"; false for any other name.
bool parseQueueName(const char* name, long& pid, int& interfaceIndex)
{
    unsigned long sequence = 0;
    int consumed = 0;
    return std::sscanf(name, "%ld.%lu.%d%n", &pid, &sequence, &interfaceIndex, &consumed) == 3 &&
           name[consumed] == '\0';
}

}  // namespace

std::unique_ptr<InputQueue> InputQueue::create(int interfaceIndex)
{
    static std::atomic<unsigned long> sequence{0};
    if (!ensureFolder("queues"))
        return nullptr;
    const std::string path = queueFolder() + "/" + std::to_string(getpid()) + "." +
                             std::to_string(++sequence) + "." + std::to_string(interfaceIndex);
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return nullptr;
    int notifyFd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (notifyFd >= 0 && inotify_add_watch(notifyFd, path.c_str(), IN_MODIFY) < 0) {
        close(notifyFd);
        notifyFd = -1;
    }
    return std::unique_ptr<InputQueue>(new InputQueue(path, fd, notifyFd));
}

InputQueue::InputQueue(std::string path, int fd, int notifyFd)
    : path_(std::move(path)), fd_(fd), notifyFd_(notifyFd)
{
}

InputQueue::~InputQueue()
{
    unlink(path_.c_str());
    close(fd_);
    if (notifyFd_ >= 0)
        close(notifyFd_);
}

std::optional<std::vector<std::uint8_t>> InputQueue::take()
{
    const off_t size = lseek(fd_, 0, SEEK_END);
    if (size <= offset_)
        return std::nullopt;
    std::vector<std::uint8_t> unread(static_cast<std::size_t>(size - offset_));
    const ssize_t got = pread(fd_, unread.data(), unread.size(), offset_);
    if (got <= 0)
        return std::nullopt;
    unread.resize(static_cast<std::size_t>(got));

    // Record starts: a length byte, then that many bytes.
    std::vector<std::size_t> starts;
    std::size_t at = 0;
    while (at < unread.size() && at + 1 + unread[at] <= unread.size()) {
        starts.push_back(at);
        at += 1 + unread[at];
    }
    if (starts.empty())
        return std::nullopt;
    const std::size_t first = starts.size() > kQueueLimit ? starts[starts.size() - kQueueLimit] : 0;
    const std::size_t length = unread[first];
    std::vector<std::uint8_t> report(unread.begin() + static_cast<long>(first) + 1,
                                     unread.begin() + static_cast<long>(first + 1 + length));
    offset_ += static_cast<long>(first + 1 + length);
    if (offset_ >= size) {
        // All read: start the file over so it never grows past one exchange.
        if (ftruncate(fd_, 0) == 0)
            offset_ = 0;
    }
    return report;
}

void InputQueue::waitForInput(int ms)
{
    if (ms <= 0)
        return;
    if (notifyFd_ < 0) {
        usleep(static_cast<useconds_t>(std::min(ms, 5)) * 1000);
        return;
    }
    pollfd watch{notifyFd_, POLLIN, 0};
    if (poll(&watch, 1, ms) > 0) {
        char events[4096];
        while (read(notifyFd_, events, sizeof events) > 0) {
        }
    }
}

void InputQueue::deliver(int interfaceIndex, const std::vector<std::uint8_t>& report)
{
    DIR* folder = opendir(queueFolder().c_str());
    if (folder == nullptr)
        return;
    std::vector<std::uint8_t> record;
    record.push_back(static_cast<std::uint8_t>(std::min(report.size(), kMaxRecord)));
    record.insert(record.end(), report.begin(), report.begin() + record[0]);
    while (const dirent* entry = readdir(folder)) {
        long pid = 0;
        int index = -1;
        if (!parseQueueName(entry->d_name, pid, index))
            continue;
        const std::string path = queueFolder() + "/" + entry->d_name;
        if (!processAlive(pid)) {
            unlink(path.c_str());
            continue;
        }
        if (index != interfaceIndex)
            continue;
        const int fd = open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
        if (fd < 0)
            continue;
        if (write(fd, record.data(), record.size()) < 0) {
            // A full disk loses the report, as a full hidraw queue would.
        }
        close(fd);
    }
    closedir(folder);
}

}  // namespace quorlin::standin
