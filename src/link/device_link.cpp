#include "link/device_link.h"

#include "link/send_gate.h"
#include "platform/open_failure_advice.h"
#include "platform/trace_sink.h"
#include "shell/whole_data.h"

#include <cerrno>
#include <cstring>
#include <ostream>
#include <utility>
#include <vector>

namespace quorlin {
namespace {

constexpr int kSettingsLeadMs = 40;
constexpr int kReplyWaitMs = 40;
constexpr int kRejectedReplyPauseMs = 100;
constexpr int kCloseSettleMs = 10;
constexpr int kWriteFailed = -1;
// Enough to empty hidraw's queue (64 reports) without spinning on a chatty device.
constexpr int kMaxStaleReports = 64;

// hidapi 0.13 lists one node per top-level collection of a hidraw file, all with
// the file's path: a file opened twice would get every report twice.
bool listedBefore(const HidDeviceInfo* head, const HidDeviceInfo* node)
{
    for (; head != node; head = head->next) {
        if (head->path != nullptr && std::strcmp(head->path, node->path) == 0)
            return true;
    }
    return false;
}

}  // namespace

DeviceLink::DeviceLink(CWholeData& data, HidApi& hid, Clock& clock, std::ostream& out, std::ostream& err,
                       const OpenFailureAdvice& advice)
    : data_(data), hid_(hid), clock_(clock), out_(out), err_(err), advice_(advice)
{
    threadRunFlag = 0;
}

DeviceLink::~DeviceLink()
{
    // Handles still listed belong to the worker, which closes them before it ends.
    threadRunFlag = 0;
}

bool DeviceLink::linkHeldOff() const
{
    return data_.linkBusy.load() != 0 || data_.linkUsable.load() == 0;
}

int DeviceLink::openDevices()
{
    bool stillListed = false;
    {
        std::lock_guard lock(linkLock);
        stillListed = !data_.deviceHandles.empty() || !data_.deviceInfos.empty();
    }
    // Dropping a list that is still open would leak its handles and enumeration.
    if (stillListed)
        closeDevices();

    enumCursor = hid_.enumerate(kVendorId, kProductId);
    if (enumCursor == nullptr) {
        out_ << "cannot enumerate dev!" << std::endl;
        setDownReason(LinkDownReason::NoLight);
        return 0;
    }

    HidDeviceInfo* const head = enumCursor;
    std::vector<HidHandle> handles;
    std::vector<HidDeviceInfo*> infos;
    int opened = 0;
    int failure = 0;
    for (; enumCursor != nullptr; enumCursor = enumCursor->next) {
        if (enumCursor->path != nullptr && listedBefore(head, enumCursor))
            continue;
        HidHandle handle = nullptr;
        int error = ENOENT;
        if (enumCursor->path != nullptr) {
            handle = hid_.openPath(enumCursor->path);
            error = errno;
        }
        if (handle == nullptr) {
            out_ << "cannot open dev!" << std::endl;
            if (failure == 0 || advice_.isPermissionError(error))
                failure = error;
        } else {
            ++opened;
        }
        handles.push_back(handle);
        infos.push_back(enumCursor);
    }

    if (opened == 0) {
        // Listed but unusable is no connection: report it like an empty bus so the
        // worker keeps trying, and give the list back now.
        hid_.freeEnumeration(head);
        const int error = failure != 0 ? failure : EIO;
        down_.store(LinkDown{LinkDownReason::NotOpenable, error});
        explainOpenFailure(error);
        return 0;
    }
    setDownReason(LinkDownReason::None);

    std::lock_guard lock(linkLock);
    data_.deviceHandles = std::move(handles);
    data_.deviceInfos = std::move(infos);
    return 1;
}

void DeviceLink::explainOpenFailure(int error)
{
    if (explainedOpenFailure_)
        return;
    explainedOpenFailure_ = true;
    err_ << "Quorlin: the light (USB " << std::hex << kVendorId << ':' << kProductId << std::dec
         << ") is plugged in, but none of its HID interfaces could be opened: "
         << std::strerror(error) << ".\n";
    advice_.write(err_, error);
    err_ << "The program keeps trying and shows the light as disconnected meanwhile." << std::endl;
}

int DeviceLink::closeDevices()
{
    // Each handle is closed and its entry nulled in one locked step, so the window
    // thread never finds a closed handle in the list; the pause runs unlocked.
    for (std::size_t i = 0;; ++i) {
        bool closed = false;
        {
            std::lock_guard lock(linkLock);
            if (i >= data_.deviceHandles.size())
                break;
            if (HidHandle handle = data_.deviceHandles[i]) {
                hid_.close(handle);
                data_.deviceHandles[i] = nullptr;
                closed = true;
            }
        }
        if (closed)
            clock_.sleepMs(kCloseSettleMs);
    }

    bool released = false;
    {
        std::lock_guard lock(linkLock);
        if (!data_.deviceInfos.empty()) {
            hid_.freeEnumeration(data_.deviceInfos.front());
            released = true;
        }
        data_.deviceHandles.clear();
        data_.deviceInfos.clear();
    }
    if (released)
        clock_.sleepMs(kCloseSettleMs);
    return 0;
}

bool DeviceLink::buildSettingsReport(std::uint8_t variant, OutputReport& report)
{
    std::lock_guard lock(reportLock_);
    return quorlin::buildSettingsReport(variant, report, data_, lastSent);
}

int DeviceLink::writeSettings(std::uint8_t variant)
{
    clock_.sleepMs(kSettingsLeadMs);
    if (data_.isSignalRgbRunning())
        return 0;
    OutputReport report;
    if (!buildSettingsReport(variant, report))
        return 1;
    if (linkHeldOff())
        return 1;

    std::lock_guard lock(linkLock);
    for (HidHandle handle : data_.deviceHandles) {
        if (handle == nullptr)
            continue;
        const int res = hid_.write(handle, report.data(), report.size());
        traceLine("write res::::%d", res);
    }
    return 1;
}

int DeviceLink::sendSettings(std::uint8_t variant)
{
    return sendThroughGate(data_, clock_, [&] { return writeSettings(variant); });
}

void DeviceLink::drainStaleInput(HidHandle first)
{
    // hidraw gives every open file its own copy of each input report, and nothing
    // throws away a report nobody read: a reply that came after its timeout, or the
    // answers to requests sent to the other interfaces. Left queued, such a report
    // would be taken for the answer to the next request.
    StatusReply scratch{};
    for (int i = 0; i < kMaxStaleReports; ++i) {
        if (hid_.readTimeout(first, scratch.data(), scratch.size(), 0) <= 0)
            break;
    }
}

int DeviceLink::queryStatus()
{
    clock_.sleepMs(kGateStepMs);
    const int index = ++m_temp_index;
    if (data_.isSignalRgbRunning())
        return 0;
    const OutputReport request = statusRequest();
    if (linkHeldOff())
        return 0;
    {
        std::lock_guard lock(linkLock);
        for (HidHandle handle : data_.deviceHandles) {
            if (handle == nullptr)
                return 0;
        }
    }

    int result = 0;
    for (std::size_t i = 0;; ++i) {
        {
            std::lock_guard lock(linkLock);
            if (linkHeldOff())
                return 0;
            if (i >= data_.deviceHandles.size())
                break;
            HidHandle handle = data_.deviceHandles[i];
            if (handle == nullptr)
                return 0;
            if (i == 0)
                drainStaleInput(handle);
            result = hid_.write(handle, request.data(), request.size());
        }
        if (i == 0 && result == static_cast<int>(kOutputReportSize)) {
            clock_.sleepMs(kReplyWaitMs);
            if (readStatus() == 0)
                return 0;
        } else if (result == kWriteFailed) {
            return 0;
        }
    }
    traceLine("write : m_temp_index :%d,hid_write data res: %d", index, result);
    clock_.sleepMs(kGateStepMs);
    return result;
}

int DeviceLink::readStatus()
{
    StatusReply reply{};
    {
        std::lock_guard lock(linkLock);
        HidHandle first = data_.deviceHandles.empty() ? nullptr : data_.deviceHandles.front();
        // A bounded wait: a light that never answers must not stall the worker.
        if (first == nullptr || hid_.readTimeout(first, reply.data(), reply.size(), kReplyTimeoutMs) <= 0)
            reply.fill(0);
    }
    const std::uint32_t reads = ++bReadCnt[0];
    if (reply[kReplyMarkIndex] != kReplyMark) {
        ++bReadCnt[1];
        clock_.sleepMs(kRejectedReplyPauseMs);
        return 0;
    }
    traceLine("read: m_temp_index:%d;;;12 :%d   bReadCnt_0:%d ", m_temp_index.load(),
            static_cast<int>(reply[kReplyMarkIndex]), static_cast<int>(reads));
    applyStatusReply(reply, data_, [](std::uint8_t value) { traceLine("%d", value); });
    return 1;
}

}  // namespace quorlin
