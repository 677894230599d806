#include "tool_hid.h"

#include "link/device_info_list.h"
#include "link/settings_reports.h"
#include "lights.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace quorlin::ctl {
namespace {

// errno is cleared before each call, so that a backend that sets none on a failure
// is not reported with a stale reason, or "success": that reads as an I/O error. The
// backend's words come with a failure it gave no number for.
HidFailure failureOf(HidApi& backend, HidHandle device, std::string path)
{
    return {std::move(path), errno != 0 ? errno : EIO, backend.failureText(device)};
}

}  // namespace

std::string describe(const HidFailure& failure)
{
    std::string text = std::strerror(failure.error);
    if (!failure.detail.empty())
        text += " (" + failure.detail + ")";
    return text;
}

ToolHid::ToolHid(HidApi& inner, std::string device) : inner_(inner), device_(std::move(device)) {}

ToolHid::~ToolHid()
{
    for (HidDeviceInfo* head : lists_)
        freeDeviceInfoList(head);
}

HidDeviceInfo* ToolHid::enumerate(unsigned short vendorId, unsigned short productId)
{
    openFailures_.clear();
    HidDeviceInfo* all = inner_.enumerate(vendorId, productId);
    const std::vector<Light> lights = groupLights(all);
    const Light* chosen = device_.empty() ? nullptr : lightWithPath(lights, device_);
    HidDeviceInfo* head = nullptr;
    HidDeviceInfo** tail = &head;
    for (const HidDeviceInfo* node = all; node != nullptr; node = node->next) {
        if (node->path == nullptr)
            continue;
        if (!device_.empty() && (chosen == nullptr || std::find(chosen->paths.begin(), chosen->paths.end(),
                                                                node->path) == chosen->paths.end()))
            continue;
        HidDeviceInfo* copy = copyDeviceInfo(*node);
        if (copy == nullptr)
            break;
        *tail = copy;
        tail = &copy->next;
    }
    inner_.freeEnumeration(all);
    if (head != nullptr)
        lists_.insert(head);
    return head;
}

void ToolHid::freeEnumeration(HidDeviceInfo* devices)
{
    if (lists_.erase(devices) == 1)
        freeDeviceInfoList(devices);
}

HidHandle ToolHid::openPath(const char* path)
{
    errno = 0;
    HidHandle handle = inner_.openPath(path);
    const std::string name = path != nullptr ? path : "";
    if (handle != nullptr) {
        paths_[handle] = name;
        return handle;
    }
    openFailures_.push_back(failureOf(inner_, nullptr, name));
    errno = openFailures_.back().error;
    return nullptr;
}

int ToolHid::write(HidHandle device, const unsigned char* data, std::size_t length)
{
    errno = 0;
    const int result = inner_.write(device, data, length);
    if (result < 0) {
        ++failedWrites_;
        lastWriteFailure_ = failureOf(inner_, device, paths_.count(device) != 0 ? paths_[device] : std::string());
        errno = lastWriteFailure_.error;
    }
    return result;
}

int ToolHid::readTimeout(HidHandle device, unsigned char* data, std::size_t length, int timeoutMs)
{
    const int result = inner_.readTimeout(device, data, length, timeoutMs);
    lastReadResult_ = result;
    lastReadMark_ = result > static_cast<int>(kReplyMarkIndex) ? data[kReplyMarkIndex] : 0;
    return result;
}

void ToolHid::close(HidHandle device)
{
    inner_.close(device);
    paths_.erase(device);
}

}  // namespace quorlin::ctl
