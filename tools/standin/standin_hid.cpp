// The hidapi calls, answered by a simulated light whose state and fault switches live
// in the control folder (README.md), so that the unmodified programs can run against it
// with LD_PRELOAD. The light's message handling is the in-process simulated light's:
// each report written is handed to one, loaded with the folder's setting bytes, and
// what it answers is delivered to every open handle of the interface, in any process.

#include "control_folder.h"
#include "control_rules.h"
#include "input_queue.h"

#include "link/clock.h"
#include "link/device_info_list.h"
#include "link/sim/simulated_light.h"

#include <hidapi/hidapi.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <cwchar>
#include <fcntl.h>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <unistd.h>

using quorlin::SettingBytes;
using quorlin::sim::SimulatedLight;
namespace sd = quorlin::standin;

struct hid_device_ {
    int index = 0;
    std::uint64_t generation = 0;
    bool nonBlocking = false;
    std::unique_ptr<sd::InputQueue> queue;
    std::wstring error;
};

namespace {

constexpr int kWaitSliceMs = 50;

// Everything one process keeps; one mutex guards it, the FolderLock guards the folder.
struct Standin {
    std::mutex mutex;
    sd::ControlFile present{"present"};
    sd::ControlFile interfaces{"interfaces"};
    sd::ControlFile serial{"serial"};
    sd::ControlFile openError{"open-error"};
    sd::ControlFile failWrite{"fail-write"};
    sd::ControlFile reply{"reply"};
    sd::ControlFile settings{"settings"};
    SimulatedLight light{quorlin::systemClock()};
    quorlin::HidHandle lightHandle = nullptr;
    std::set<hid_device*> handles;
    std::set<hid_device_info*> lists;  // heads handed out and not yet freed
    std::wstring error;

    Standin()
    {
        light.setCallLogLimit(1);
        lightHandle = light.openPath(SimulatedLight::interfacePath(0).c_str());
    }

    sd::Presence presence() { return sd::parsePresence(present.content()); }
    int interfaceCount() { return sd::parseInterfaces(interfaces.content()); }
    std::wstring serialNumber() { return sd::parseSerial(serial.content()); }
    sd::ReplyMode replyMode() { return sd::parseReply(reply.content()); }
    SettingBytes lightSettings() { return sd::parseSettings(settings.content()); }
    bool writeFails(int index) { return sd::writeFails(failWrite.content(), index); }

    // The errno an `open-error` entry injects for interface `index`, or 0.
    int openErrorOf(int index)
    {
        const auto known = [](const std::string& word) { return sd::parseErrno(word).value_or(0) > 0; };
        const std::string error = sd::openErrorOf(openError.content(), index, known);
        return error.empty() ? 0 : *sd::parseErrno(error);
    }

    bool alive(const hid_device* device)
    {
        const sd::Presence state = presence();
        return state.plugged && state.generation == device->generation && device->index < interfaceCount();
    }

    std::string interfacePath(int index) const
    {
        return sd::controlDir() + "/hidraw" + std::to_string(index);
    }

    // The interface a path names, or -1.
    int parsePath(const char* path) const
    {
        if (path == nullptr || sd::controlDir().empty())
            return -1;
        const std::string prefix = sd::controlDir() + "/hidraw";
        if (std::strncmp(path, prefix.c_str(), prefix.size()) != 0)
            return -1;
        return static_cast<int>(sd::parseNumber(path + prefix.size(), 0, sd::kMaxInterfaces - 1).value_or(-1));
    }
};

// Never destroyed: a thread of the program may still call in while statics go away.
Standin& standin()
{
    static Standin* instance = new Standin;
    return *instance;
}

// The start of an exported call: the process's lock, then the folder's, and the time
// the call began.
struct LockedCall {
    Standin& s = standin();
    std::lock_guard<std::mutex> lock{s.mutex};
    sd::FolderLock folder;
    const double start = sd::monotonicMs();
};

void setError(Standin& s, hid_device* device, const char* what, int error)
{
    std::string text = what;
    if (error != 0)
        text += std::string(": ") + std::strerror(error);
    std::wstring wide(text.begin(), text.end());
    (device != nullptr ? device->error : s.error) = wide;
}

int copyString(const std::wstring& text, wchar_t* out, std::size_t room)
{
    if (out == nullptr || room == 0)
        return -1;
    std::wcsncpy(out, text.c_str(), room);
    out[room - 1] = L'\0';
    return 0;
}

// The light takes one report: the simulated light does the work on the folder's state.
void lightTakes(Standin& s, int index, const unsigned char* data, std::size_t length)
{
    const SettingBytes before = s.lightSettings();
    const sd::ReplyMode mode = s.replyMode();
    s.light.setSettings(before);
    s.light.withholdReplies(mode == sd::ReplyMode::None);
    s.light.setReplyMark(mode == sd::ReplyMode::Wrong ? sd::kWrongReplyMark : quorlin::kReplyMark);
    if (s.light.write(s.lightHandle, data, length) < 0)
        return;
    const SettingBytes after = s.light.settings();
    if (after != before)
        sd::writeWhole("settings", sd::formatSettings(after));
    unsigned char reply[64];
    int got;
    while ((got = s.light.readTimeout(s.lightHandle, reply, sizeof reply, 0)) > 0) {
        std::vector<std::uint8_t> report(reply, reply + got);
        if (mode == sd::ReplyMode::Short)
            report.resize(std::min(report.size(), sd::kShortReplyLength));
        sd::InputQueue::deliver(index, report);
    }
}

hid_device* openIndex(Standin& s, int index, double start, const std::string& path)
{
    int error = 0;
    const sd::Presence state = s.presence();
    if (index < 0 || index >= s.interfaceCount() || !state.plugged)
        error = ENOENT;
    else
        error = s.openErrorOf(index);
    hid_device* device = nullptr;
    if (error == 0) {
        auto queue = sd::InputQueue::create(index);
        if (!queue) {
            error = EIO;
        } else {
            device = new hid_device_;
            device->index = index;
            device->generation = state.generation;
            device->queue = std::move(queue);
            s.handles.insert(device);
        }
    }
    std::string shownPath = path;
    std::replace_if(shownPath.begin(), shownPath.end(), [](char c) { return std::isspace(static_cast<unsigned char>(c)); }, '_');
    sd::logCall(start, "open", index, device != nullptr ? 1 : 0, error, shownPath.empty() ? "-" : shownPath);
    if (device == nullptr) {
        setError(s, nullptr, "cannot open the device", error);
        errno = error;
    }
    return device;
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) int hid_init(void)
{
    LockedCall call;
    sd::logCall(call.start, "init", -1, 0, 0, "-");
    return 0;
}

__attribute__((visibility("default"))) int hid_exit(void)
{
    LockedCall call;
    sd::logCall(call.start, "exit", -1, 0, 0, "-");
    return 0;
}

__attribute__((visibility("default"))) hid_device_info* hid_enumerate(unsigned short vendorId, unsigned short productId)
{
    LockedCall call;
    Standin& s = call.s;
    const bool matches = (vendorId == 0 || vendorId == sd::kVendorId) && (productId == 0 || productId == sd::kProductId);
    hid_device_info* head = nullptr;
    int listed = 0;
    if (matches && s.presence().plugged && !sd::controlDir().empty()) {
        const int count = s.interfaceCount();
        const std::wstring serial = s.serialNumber();
        hid_device_info** link = &head;
        for (int i = 0; i < count; ++i) {
            const std::string path = s.interfacePath(i);
            const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
            if (fd >= 0)
                close(fd);
            hid_device_info* node = quorlin::sim::SimulatedLight::newInterfaceNode(path, serial.c_str(), i);
            if (node == nullptr)
                break;
            *link = node;
            link = &node->next;
            ++listed;
        }
    }
    if (head != nullptr)
        s.lists.insert(head);
    char ids[24];
    std::snprintf(ids, sizeof ids, "ids=%04x:%04x", vendorId, productId);
    sd::logCall(call.start, "enumerate", -1, listed, 0, "-", ids);
    return head;
}

__attribute__((visibility("default"))) void hid_free_enumeration(hid_device_info* devices)
{
    if (devices == nullptr)
        return;
    LockedCall call;
    Standin& s = call.s;
    // A list freed twice, or not from its head, is logged as a failure and left alone.
    if (s.lists.erase(devices) == 0) {
        sd::logCall(call.start, "free_enumeration", -1, -1, EINVAL, "-");
        return;
    }
    quorlin::freeDeviceInfoList(devices);
    sd::logCall(call.start, "free_enumeration", -1, 0, 0, "-");
}

__attribute__((visibility("default"))) hid_device* hid_open_path(const char* path)
{
    LockedCall call;
    Standin& s = call.s;
    return openIndex(s, s.parsePath(path), call.start, path != nullptr ? path : "");
}

__attribute__((visibility("default"))) hid_device* hid_open(unsigned short vendorId, unsigned short productId,
                                                            const wchar_t* serialNumber)
{
    LockedCall call;
    Standin& s = call.s;
    const bool matches = vendorId == sd::kVendorId && productId == sd::kProductId &&
                         (serialNumber == nullptr || s.serialNumber() == serialNumber);
    return openIndex(s, matches ? 0 : -1, call.start, matches ? s.interfacePath(0) : "");
}

__attribute__((visibility("default"))) int hid_write(hid_device* device, const unsigned char* data, std::size_t length)
{
    LockedCall call;
    Standin& s = call.s;
    const bool known = s.handles.count(device) != 0;
    int error = 0;
    if (!known)
        error = EBADF;
    else if (!s.alive(device))
        error = ENODEV;
    else if (data == nullptr || length == 0)
        error = EINVAL;
    else if (s.writeFails(device->index))
        error = EIO;
    if (error == 0)
        lightTakes(s, device->index, data, length);
    const int result = error == 0 ? static_cast<int>(length) : -1;
    sd::logCall(call.start, "write", known ? device->index : -1, result, error, sd::hexBytes(data, length));
    if (error != 0) {
        setError(s, known ? device : nullptr, "write failed", error);
        errno = error;
    }
    return result;
}

__attribute__((visibility("default"))) int hid_read_timeout(hid_device* device, unsigned char* data,
                                                            std::size_t length, int milliseconds)
{
    Standin& s = standin();
    const double start = sd::monotonicMs();
    std::unique_lock lock(s.mutex);
    const bool known = s.handles.count(device) != 0;
    int error = known ? 0 : EBADF;
    int result = 0;
    std::vector<std::uint8_t> report;
    while (error == 0) {
        {
            sd::FolderLock folder;
            if (!s.alive(device)) {
                error = ENODEV;
                break;
            }
            if (auto taken = device->queue->take()) {
                report = std::move(*taken);
                break;
            }
        }
        const double waited = sd::monotonicMs() - start;
        if (milliseconds == 0 || (milliseconds > 0 && waited >= milliseconds))
            break;
        const int slice = milliseconds < 0 ? kWaitSliceMs
                                           : std::min(kWaitSliceMs, static_cast<int>(milliseconds - waited) + 1);
        // The program serializes calls on a handle, so it stays valid while unlocked.
        lock.unlock();
        device->queue->waitForInput(slice);
        lock.lock();
    }
    if (error == 0 && data == nullptr && !report.empty())
        error = EINVAL;
    if (error != 0) {
        result = -1;
    } else if (!report.empty()) {
        report.resize(std::min(report.size(), length));
        std::copy(report.begin(), report.end(), data);
        result = static_cast<int>(report.size());
    }
    {
        sd::FolderLock folder;
        sd::logCall(start, "read", known ? device->index : -1, result, error,
                    sd::hexBytes(report.data(), result > 0 ? report.size() : 0),
                    "timeout=" + std::to_string(milliseconds));
    }
    if (error != 0) {
        setError(s, known ? device : nullptr, "read failed", error);
        errno = error;
    }
    return result;
}

__attribute__((visibility("default"))) int hid_read(hid_device* device, unsigned char* data, std::size_t length)
{
    bool nonBlocking = false;
    {
        Standin& s = standin();
        std::lock_guard lock(s.mutex);
        nonBlocking = s.handles.count(device) != 0 && device->nonBlocking;
    }
    return hid_read_timeout(device, data, length, nonBlocking ? 0 : -1);
}

__attribute__((visibility("default"))) int hid_set_nonblocking(hid_device* device, int nonBlock)
{
    Standin& s = standin();
    std::lock_guard lock(s.mutex);
    if (s.handles.count(device) == 0)
        return -1;
    device->nonBlocking = nonBlock != 0;
    return 0;
}

__attribute__((visibility("default"))) void hid_close(hid_device* device)
{
    if (device == nullptr)
        return;
    LockedCall call;
    Standin& s = call.s;
    const bool known = s.handles.erase(device) == 1;
    sd::logCall(call.start, "close", known ? device->index : -1, known ? 0 : -1, known ? 0 : EBADF, "-");
    if (known)
        delete device;
}

__attribute__((visibility("default"))) const wchar_t* hid_error(hid_device* device)
{
    Standin& s = standin();
    std::lock_guard lock(s.mutex);
    const std::wstring& text = (device != nullptr && s.handles.count(device) != 0) ? device->error : s.error;
    return text.empty() ? L"Success" : text.c_str();
}

__attribute__((visibility("default"))) int hid_get_manufacturer_string(hid_device* device, wchar_t* text, std::size_t room)
{
    Standin& s = standin();
    std::lock_guard lock(s.mutex);
    return s.handles.count(device) != 0 ? copyString(L"Quorlin", text, room) : -1;
}

__attribute__((visibility("default"))) int hid_get_product_string(hid_device* device, wchar_t* text, std::size_t room)
{
    Standin& s = standin();
    std::lock_guard lock(s.mutex);
    return s.handles.count(device) != 0 ? copyString(L"Sivane", text, room) : -1;
}

__attribute__((visibility("default"))) int hid_get_serial_number_string(hid_device* device, wchar_t* text, std::size_t room)
{
    Standin& s = standin();
    std::lock_guard lock(s.mutex);
    return s.handles.count(device) != 0 ? copyString(s.serialNumber(), text, room) : -1;
}

// The light has no feature or indexed-string support.
__attribute__((visibility("default"))) int hid_get_indexed_string(hid_device*, int, wchar_t*, std::size_t)
{
    return -1;
}

__attribute__((visibility("default"))) int hid_send_feature_report(hid_device*, const unsigned char*, std::size_t)
{
    errno = EPIPE;
    return -1;
}

__attribute__((visibility("default"))) int hid_get_feature_report(hid_device*, unsigned char*, std::size_t)
{
    errno = EPIPE;
    return -1;
}

__attribute__((visibility("default"))) int hid_get_input_report(hid_device*, unsigned char*, std::size_t)
{
    errno = EPIPE;
    return -1;
}

__attribute__((visibility("default"))) const hid_api_version* hid_version(void)
{
    static const hid_api_version version{HID_API_VERSION_MAJOR, HID_API_VERSION_MINOR, HID_API_VERSION_PATCH};
    return &version;
}

__attribute__((visibility("default"))) const char* hid_version_str(void)
{
    return HID_API_VERSION_STR;
}

}  // extern "C"
