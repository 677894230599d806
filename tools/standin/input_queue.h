#pragma once
// One open handle's input reports, kept where every process using the control folder
// can add to it: the file queues/<pid>.<n>.<interface>. As with hidraw, each open
// handle gets its own copy of every input report its interface sends.
//
// Every call but waitForInput() must be made under the FolderLock.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quorlin::standin {

class InputQueue {
public:
    // nullptr when the queue file cannot be made (no folder, or no room).
    static std::unique_ptr<InputQueue> create(int interfaceIndex);
    // Removes the queue file.
    ~InputQueue();
    InputQueue(const InputQueue&) = delete;
    InputQueue& operator=(const InputQueue&) = delete;

    // The oldest unread report (the 64 newest are kept), or nullopt when none.
    std::optional<std::vector<std::uint8_t>> take();
    // Blocks up to `ms` or until something is added; unlocked.
    void waitForInput(int ms);

    // Appends `report` (at most 255 bytes are kept) to the queue of every open handle of
    // interface `interfaceIndex`, in every live process; drops queues of ended processes.
    static void deliver(int interfaceIndex, const std::vector<std::uint8_t>& report);

private:
    InputQueue(std::string path, int fd, int notifyFd);

    std::string path_;
    int fd_;
    int notifyFd_;
    long offset_ = 0;
};

}  // namespace quorlin::standin
