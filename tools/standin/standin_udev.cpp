// The libudev monitor calls the program makes, fed from the control folder instead of
// the kernel (build machines run no udev daemon). Each monitor reads events from its
// own FIFO udev/<pid>.<n>, one line each: ACTION VID PID [SERIAL] [KEY=VALUE ...].

#include "control_folder.h"

#include <libudev.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace sd = quorlin::standin;

struct udev {
    std::atomic<int> refs{1};
};

struct udev_list_entry {
    std::string name;
    std::string value;
    udev_list_entry* next = nullptr;
};

struct udev_device {
    std::atomic<int> refs{1};
    struct udev* context = nullptr;
    std::vector<udev_list_entry> properties;  // linked in order once filled

    const char* property(const char* name) const
    {
        for (const auto& entry : properties) {
            if (name != nullptr && entry.name == name)
                return entry.value.c_str();
        }
        return nullptr;
    }
};

struct udev_monitor {
    std::atomic<int> refs{1};
    struct udev* context = nullptr;
    std::string path;
    int fd = -1;
    std::string pending;  // a line not yet complete
    std::vector<std::pair<std::string, std::string>> filters;  // subsystem, devtype ("" any)
};

namespace {

constexpr std::size_t kMaxLine = 4096;

#define STANDIN_EXPORT extern "C" __attribute__((visibility("default")))

void setProperty(udev_device& device, const std::string& name, const std::string& value)
{
    for (auto& entry : device.properties) {
        if (entry.name == name) {
            entry.value = value;
            return;
        }
    }
    device.properties.push_back({name, value, nullptr});
}

bool passes(const udev_monitor& monitor, const udev_device& device)
{
    if (monitor.filters.empty())
        return true;
    const char* subsystem = device.property("SUBSYSTEM");
    const char* devtype = device.property("DEVTYPE");
    for (const auto& [wantedSubsystem, wantedType] : monitor.filters) {
        if (subsystem != nullptr && wantedSubsystem == subsystem &&
            (wantedType.empty() || (devtype != nullptr && wantedType == devtype)))
            return true;
    }
    return false;
}

// A device from one event line, or nullptr for a line without an action.
udev_device* parseEvent(const std::string& line, struct udev* context)
{
    static std::atomic<unsigned long> sequence{0};
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string word; in >> word;)
        words.push_back(word);
    if (words.empty() || words[0].find('=') != std::string::npos)
        return nullptr;
    auto* device = new udev_device;
    device->context = context;
    const std::string number = std::to_string(++sequence);
    setProperty(*device, "ACTION", words[0]);
    setProperty(*device, "SUBSYSTEM", "usb");
    setProperty(*device, "DEVTYPE", "usb_device");
    setProperty(*device, "DEVPATH", "/devices/standin/usb1/1-" + number);
    setProperty(*device, "SEQNUM", number);
    std::vector<std::string> ids;
    std::vector<std::pair<std::string, std::string>> given;
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::size_t equals = words[i].find('=');
        if (equals == std::string::npos)
            ids.push_back(words[i]);
        else
            given.emplace_back(words[i].substr(0, equals), words[i].substr(equals + 1));
    }
    ids.resize(3);
    if (!ids[0].empty())
        setProperty(*device, "ID_VENDOR_ID", ids[0]);
    if (!ids[1].empty())
        setProperty(*device, "ID_MODEL_ID", ids[1]);
    if (!ids[0].empty() && !ids[1].empty())
        setProperty(*device, "PRODUCT", ids[0] + "/" + ids[1] + "/100");
    if (!ids[2].empty())
        setProperty(*device, "ID_SERIAL_SHORT", ids[2]);
    // KEY=VALUE words come last, so they win over the ones made above.
    for (const auto& [name, value] : given)
        setProperty(*device, name, value);
    for (std::size_t i = 0; i + 1 < device->properties.size(); ++i)
        device->properties[i].next = &device->properties[i + 1];
    return device;
}

std::string eventSummary(const udev_device& device)
{
    std::string text = "event=";
    for (const char* name : {"ACTION", "ID_VENDOR_ID", "ID_MODEL_ID", "ID_SERIAL_SHORT"}) {
        const char* value = device.property(name);
        if (name[0] != 'A')
            text += ",";
        std::string shown = value != nullptr ? value : "";
        for (char& c : shown) {
            if (c <= ' ' || c == ',' || c >= 0x7F)
                c = '_';
        }
        text += shown;
    }
    return text;
}

// Reads the next whole line from the FIFO, byte by byte so that later lines stay in
// the FIFO and keep its descriptor readable. false when no whole line is there.
bool readLine(udev_monitor& monitor, std::string& line)
{
    char c;
    for (;;) {
        const ssize_t got = read(monitor.fd, &c, 1);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        if (c == '\n') {
            const bool tooLong = monitor.pending.size() > kMaxLine;
            line = std::move(monitor.pending);
            monitor.pending.clear();
            if (tooLong)
                continue;  // dropped whole
            return true;
        }
        if (monitor.pending.size() <= kMaxLine)
            monitor.pending += c;
    }
}

}  // namespace

STANDIN_EXPORT struct udev* udev_new(void)
{
    return new udev;
}

STANDIN_EXPORT struct udev* udev_ref(struct udev* context)
{
    if (context != nullptr)
        ++context->refs;
    return context;
}

STANDIN_EXPORT struct udev* udev_unref(struct udev* context)
{
    if (context != nullptr && --context->refs == 0)
        delete context;
    return nullptr;
}

STANDIN_EXPORT struct udev_monitor* udev_monitor_new_from_netlink(struct udev* context, const char*)
{
    static std::atomic<unsigned long> sequence{0};
    if (context == nullptr || !sd::ensureFolder("udev")) {
        errno = ENOENT;
        return nullptr;
    }
    auto* monitor = new udev_monitor;
    monitor->context = udev_ref(context);
    monitor->path = sd::controlDir() + "/udev/" + std::to_string(getpid()) + "." + std::to_string(++sequence);
    unlink(monitor->path.c_str());
    if (mkfifo(monitor->path.c_str(), 0666) == 0)
        monitor->fd = open(monitor->path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (monitor->fd < 0) {
        const int error = errno;
        unlink(monitor->path.c_str());
        udev_unref(monitor->context);
        delete monitor;
        errno = error;
        return nullptr;
    }
    return monitor;
}

STANDIN_EXPORT struct udev_monitor* udev_monitor_ref(struct udev_monitor* monitor)
{
    if (monitor != nullptr)
        ++monitor->refs;
    return monitor;
}

STANDIN_EXPORT struct udev_monitor* udev_monitor_unref(struct udev_monitor* monitor)
{
    if (monitor != nullptr && --monitor->refs == 0) {
        close(monitor->fd);
        unlink(monitor->path.c_str());
        udev_unref(monitor->context);
        delete monitor;
    }
    return nullptr;
}

STANDIN_EXPORT struct udev* udev_monitor_get_udev(struct udev_monitor* monitor)
{
    return monitor != nullptr ? monitor->context : nullptr;
}

STANDIN_EXPORT int udev_monitor_filter_add_match_subsystem_devtype(struct udev_monitor* monitor,
                                                                   const char* subsystem, const char* devtype)
{
    if (monitor == nullptr || subsystem == nullptr)
        return -EINVAL;
    monitor->filters.emplace_back(subsystem, devtype != nullptr ? devtype : "");
    return 0;
}

STANDIN_EXPORT int udev_monitor_filter_update(struct udev_monitor* monitor)
{
    return monitor != nullptr ? 0 : -EINVAL;
}

STANDIN_EXPORT int udev_monitor_filter_remove(struct udev_monitor* monitor)
{
    if (monitor == nullptr)
        return -EINVAL;
    monitor->filters.clear();
    return 0;
}

STANDIN_EXPORT int udev_monitor_enable_receiving(struct udev_monitor* monitor)
{
    return monitor != nullptr ? 0 : -EINVAL;
}

STANDIN_EXPORT int udev_monitor_set_receive_buffer_size(struct udev_monitor* monitor, int)
{
    return monitor != nullptr ? 0 : -EINVAL;
}

STANDIN_EXPORT int udev_monitor_get_fd(struct udev_monitor* monitor)
{
    return monitor != nullptr ? monitor->fd : -EINVAL;
}

STANDIN_EXPORT struct udev_device* udev_monitor_receive_device(struct udev_monitor* monitor)
{
    if (monitor == nullptr) {
        errno = EINVAL;
        return nullptr;
    }
    std::string line;
    while (readLine(*monitor, line)) {
        udev_device* device = parseEvent(line, monitor->context);
        if (device == nullptr)
            continue;
        if (!passes(*monitor, *device)) {
            delete device;
            continue;
        }
        udev_ref(device->context);
        sd::FolderLock folder;
        sd::logCall(sd::monotonicMs(), "udev", -1, 1, 0, "-", eventSummary(*device));
        return device;
    }
    errno = EAGAIN;
    return nullptr;
}

STANDIN_EXPORT struct udev_device* udev_device_ref(struct udev_device* device)
{
    if (device != nullptr)
        ++device->refs;
    return device;
}

STANDIN_EXPORT struct udev_device* udev_device_unref(struct udev_device* device)
{
    if (device != nullptr && --device->refs == 0) {
        udev_unref(device->context);
        delete device;
    }
    return nullptr;
}

STANDIN_EXPORT struct udev* udev_device_get_udev(struct udev_device* device)
{
    return device != nullptr ? device->context : nullptr;
}

STANDIN_EXPORT const char* udev_device_get_action(struct udev_device* device)
{
    return device != nullptr ? device->property("ACTION") : nullptr;
}

STANDIN_EXPORT const char* udev_device_get_subsystem(struct udev_device* device)
{
    return device != nullptr ? device->property("SUBSYSTEM") : nullptr;
}

STANDIN_EXPORT const char* udev_device_get_devtype(struct udev_device* device)
{
    return device != nullptr ? device->property("DEVTYPE") : nullptr;
}

STANDIN_EXPORT const char* udev_device_get_devpath(struct udev_device* device)
{
    return device != nullptr ? device->property("DEVPATH") : nullptr;
}

STANDIN_EXPORT const char* udev_device_get_devnode(struct udev_device* device)
{
    return device != nullptr ? device->property("DEVNAME") : nullptr;
}

STANDIN_EXPORT const char* udev_device_get_property_value(struct udev_device* device, const char* key)
{
    return device != nullptr ? device->property(key) : nullptr;
}

STANDIN_EXPORT struct udev_list_entry* udev_device_get_properties_list_entry(struct udev_device* device)
{
    return device != nullptr && !device->properties.empty() ? &device->properties.front() : nullptr;
}

STANDIN_EXPORT struct udev_list_entry* udev_list_entry_get_next(struct udev_list_entry* entry)
{
    return entry != nullptr ? entry->next : nullptr;
}

STANDIN_EXPORT struct udev_list_entry* udev_list_entry_get_by_name(struct udev_list_entry* entry, const char* name)
{
    for (; entry != nullptr && name != nullptr; entry = entry->next) {
        if (entry->name == name)
            return entry;
    }
    return nullptr;
}

STANDIN_EXPORT const char* udev_list_entry_get_name(struct udev_list_entry* entry)
{
    return entry != nullptr ? entry->name.c_str() : nullptr;
}

STANDIN_EXPORT const char* udev_list_entry_get_value(struct udev_list_entry* entry)
{
    return entry != nullptr ? entry->value.c_str() : nullptr;
}
