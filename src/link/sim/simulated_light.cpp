#include "link/sim/simulated_light.h"

#include "link/device_info_list.h"
#include "link/device_link.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <iterator>
#include <utility>

namespace quorlin::sim {
namespace {

constexpr const char* kPathPrefix = "sim-quorlin:";
constexpr std::size_t kFirstSettingByte = 2;
constexpr std::uint8_t kStatusArgument = 0x01;

const char* kindName(SimulatedLight::CallKind kind)
{
    using K = SimulatedLight::CallKind;
    switch (kind) {
    case K::Init: return "init";
    case K::Exit: return "exit";
    case K::Enumerate: return "enumerate";
    case K::FreeEnumeration: return "freeEnumeration";
    case K::Open: return "open";
    case K::Write: return "write";
    case K::Read: return "read";
    case K::Close: return "close";
    }
    return "?";
}

// The interface index named by one of our paths, or -1.
int parsePath(const char* path)
{
    if (path == nullptr)
        return -1;
    const std::size_t prefixLength = std::strlen(kPathPrefix);
    if (std::strncmp(path, kPathPrefix, prefixLength) != 0)
        return -1;
    const char* first = path + prefixLength;
    const char* last = first + std::strlen(first);
    int index = -1;
    const auto [end, error] = std::from_chars(first, last, index);
    if (error != std::errc() || end != last || first == last)
        return -1;
    return index;
}

}  // namespace

SimulatedLight::SimulatedLight(Clock& clock, int interfaceCount, const SettingBytes& settings)
    : clock_(clock), interfaceCount_(interfaceCount), settings_(settings)
{
}

SimulatedLight::~SimulatedLight()
{
    for (HidDeviceInfo* head : lists_)
        freeDeviceInfoList(head);
}

SimulatedLight::Call SimulatedLight::begin(CallKind kind) const
{
    Call call;
    call.timeMs = clock_.nowMs();
    call.kind = kind;
    return call;
}

void SimulatedLight::finish(std::unique_lock<std::mutex>& lock, Call call)
{
    calls_.push_back(call);
    if (callLogLimit_ != 0 && calls_.size() > callLogLimit_)
        calls_.erase(calls_.begin(), calls_.end() - static_cast<std::ptrdiff_t>(callLogLimit_));
    CallObserver observer = observer_;
    lock.unlock();
    if (observer)
        observer(call);
}

SimulatedLight::Handle* SimulatedLight::find(HidHandle device, HandleState& state)
{
    const auto it = handles_.find(static_cast<const void*>(device));
    if (it == handles_.end()) {
        state = HandleState::Unknown;
        return nullptr;
    }
    state = stateOf(*it->second);
    return it->second.get();
}

SimulatedLight::HandleState SimulatedLight::stateOf(const Handle& handle) const
{
    if (!handle.open)
        return HandleState::Closed;
    if (!plugged_ || handle.plugGeneration != plugGeneration_ || handle.interfaceIndex >= interfaceCount_)
        return HandleState::Dead;
    return HandleState::Alive;
}

void SimulatedLight::misuse(std::string what, const Call& call)
{
    misuses_.push_back(std::move(what) + " (" + kindName(call.kind) + ", interface " +
                       std::to_string(call.interfaceIndex) + ")");
}

int SimulatedLight::init()
{
    std::unique_lock lock(mutex_);
    finish(lock, begin(CallKind::Init));
    return 0;
}

int SimulatedLight::exit()
{
    std::unique_lock lock(mutex_);
    finish(lock, begin(CallKind::Exit));
    return 0;
}

HidDeviceInfo* SimulatedLight::newInterfaceNode(const std::string& path, const wchar_t* serial, int index)
{
    auto* node = static_cast<HidDeviceInfo*>(std::calloc(1, sizeof(HidDeviceInfo)));
    if (node == nullptr)
        return nullptr;
    node->path = strdup(path.c_str());
    node->vendor_id = DeviceLink::kVendorId;
    node->product_id = DeviceLink::kProductId;
    node->serial_number = wcsdup(serial);
    node->release_number = 0x0100;
    node->manufacturer_string = wcsdup(L"Quorlin");
    node->product_string = wcsdup(L"Sivane");
    node->usage_page = 0xFF00;
    node->usage = 0x01;
    node->interface_number = index;
    node->bus_type = HID_API_BUS_USB;
    return node;
}

HidDeviceInfo* SimulatedLight::enumerate(unsigned short vendorId, unsigned short productId)
{
    std::unique_lock lock(mutex_);
    Call call = begin(CallKind::Enumerate);
    const bool matches = (vendorId == 0 || vendorId == DeviceLink::kVendorId) &&
                         (productId == 0 || productId == DeviceLink::kProductId);
    HidDeviceInfo* head = nullptr;
    if (plugged_ && matches) {
        HidDeviceInfo** link = &head;
        for (int i = 0; i < interfaceCount_; ++i) {
            const auto serial = serials_.find(i);
            HidDeviceInfo* node = newInterfaceNode(
                interfacePath(i), serial != serials_.end() ? serial->second.c_str() : kSerialNumber, i);
            if (node == nullptr)
                break;
            *link = node;
            link = &node->next;
            ++call.result;
        }
        // hidapi 0.13 lists a node per top-level collection, all with the hidraw path.
        for (HidDeviceInfo* node = head; node != nullptr; node = node->next) {
            const auto found = collections_.find(node->interface_number);
            for (int c = 1; found != collections_.end() && c < found->second; ++c) {
                HidDeviceInfo* copy = copyDeviceInfo(*node);
                if (copy == nullptr)
                    break;
                copy->usage = static_cast<unsigned short>(node->usage + 1);
                copy->next = node->next;
                node->next = copy;
                node = copy;
                ++call.result;
            }
        }
    }
    if (head != nullptr)
        lists_.insert(head);
    finish(lock, call);
    return head;
}

void SimulatedLight::freeEnumeration(HidDeviceInfo* devices)
{
    if (devices == nullptr)
        return;
    std::unique_lock lock(mutex_);
    Call call = begin(CallKind::FreeEnumeration);
    if (lists_.erase(devices) == 1) {
        freeDeviceInfoList(devices);
    } else {
        call.result = -1;
        misuse("freed a list that is not the head of a live enumeration", call);
    }
    finish(lock, call);
}

HidHandle SimulatedLight::openPath(const char* path)
{
    std::unique_lock lock(mutex_);
    Call call = begin(CallKind::Open);
    const int index = parsePath(path);
    call.interfaceIndex = index;
    if (path != nullptr)
        call.bytes.assign(path, path + std::strlen(path));
    int error = 0;
    if (index < 0 || index >= interfaceCount_ || !plugged_) {
        error = ENOENT;
    } else if (const auto it = openErrors_.find(index); it != openErrors_.end()) {
        error = it->second;
    }
    HidHandle result = nullptr;
    if (error == 0) {
        auto handle = std::make_unique<Handle>();
        handle->interfaceIndex = index;
        handle->plugGeneration = plugGeneration_;
        result = reinterpret_cast<HidHandle>(handle.get());
        handles_.emplace(static_cast<const void*>(handle.get()), std::move(handle));
        call.result = 1;
    } else {
        call.error = error;
    }
    finish(lock, call);
    if (error != 0)
        errno = error;
    return result;
}

int SimulatedLight::write(HidHandle device, const unsigned char* data, std::size_t length)
{
    std::unique_lock lock(mutex_);
    Call call = begin(CallKind::Write);
    call.length = length;
    if (data != nullptr)
        call.bytes.assign(data, data + length);
    HandleState state;
    Handle* handle = find(device, state);
    if (handle != nullptr)
        call.interfaceIndex = handle->interfaceIndex;
    int error = 0;
    if (state == HandleState::Unknown) {
        misuse("write on a handle this light never gave out", call);
        error = EBADF;
    } else if (state == HandleState::Closed) {
        misuse("write on a closed handle", call);
        error = EBADF;
    } else if (state == HandleState::Dead) {
        error = ENODEV;
    } else if (data == nullptr || length == 0) {
        error = EINVAL;
    } else if (failingWrites_.count(handle->interfaceIndex) != 0) {
        error = EIO;
    }

    if (error != 0) {
        call.result = -1;
        call.error = error;
    } else {
        call.result = static_cast<int>(length);
        // Report number 0 is the light's only report; the command follows it.
        if (length >= 2 && data[0] == 0x00 && data[1] == kSettingsCommand)
            applyReport(data, length);
        else if (length >= 3 && data[0] == 0x00 && data[1] == kStatusCommand &&
                 data[2] == kStatusArgument && !withholdReplies_)
            deliver(handle->interfaceIndex, replyLocked());
    }
    const int result = call.result;
    finish(lock, std::move(call));
    if (error != 0)
        errno = error;
    return result;
}

int SimulatedLight::readTimeout(HidHandle device, unsigned char* data, std::size_t length, int timeoutMs)
{
    std::unique_lock lock(mutex_);
    Call call = begin(CallKind::Read);
    call.length = length;
    call.timeoutMs = timeoutMs;
    HandleState state;
    Handle* handle = find(device, state);
    if (handle != nullptr)
        call.interfaceIndex = handle->interfaceIndex;
    if (state == HandleState::Unknown)
        misuse("read on a handle this light never gave out", call);
    else if (state == HandleState::Closed)
        misuse("read on a closed handle", call);

    if (state == HandleState::Alive && handle->input.empty() && timeoutMs != 0) {
        if (timeoutMs > 0) {
            lock.unlock();
            clock_.sleepMs(timeoutMs);
            lock.lock();
        } else {
            inputArrived_.wait(lock, [&] {
                return stateOf(*handle) != HandleState::Alive || !handle->input.empty();
            });
        }
        state = stateOf(*handle);
        if (state == HandleState::Closed)
            misuse("handle closed while a read was waiting on it", call);
    }

    int error = 0;
    if (state != HandleState::Alive) {
        error = state == HandleState::Dead ? ENODEV : EBADF;
        call.result = -1;
    } else if (data == nullptr || length == 0) {
        error = EINVAL;
        call.result = -1;
    } else if (!handle->input.empty()) {
        std::vector<std::uint8_t> report = std::move(handle->input.front());
        handle->input.pop_front();
        report.resize(std::min(report.size(), length));
        std::copy(report.begin(), report.end(), data);
        call.result = static_cast<int>(report.size());
        call.bytes = std::move(report);
    }
    call.error = error;
    const int result = call.result;
    finish(lock, std::move(call));
    if (error != 0)
        errno = error;
    return result;
}

void SimulatedLight::close(HidHandle device)
{
    if (device == nullptr)
        return;
    std::unique_lock lock(mutex_);
    Call call = begin(CallKind::Close);
    HandleState state;
    Handle* handle = find(device, state);
    if (handle != nullptr)
        call.interfaceIndex = handle->interfaceIndex;
    if (state == HandleState::Unknown) {
        misuse("close of a handle this light never gave out", call);
    } else if (state == HandleState::Closed) {
        misuse("handle closed twice", call);
    } else {
        handle->open = false;
        handle->input.clear();
        inputArrived_.notify_all();
    }
    finish(lock, std::move(call));
}

void SimulatedLight::applyReport(const unsigned char* data, std::size_t length)
{
    if (length < kFirstSettingByte + kSettingCount)
        return;
    std::copy_n(data + kFirstSettingByte, kSettingCount, settings_.begin());
}

std::vector<std::uint8_t> SimulatedLight::replyLocked() const
{
    std::vector<std::uint8_t> reply(kReplySize, 0);
    reply[1] = kStatusCommand;
    std::copy(settings_.begin(), settings_.end(), reply.begin() + kFirstSettingByte);
    // Setting byte 10 sits at the mark's place; the light always reports 15 there.
    reply[kReplyMarkIndex] = replyMark_;
    return reply;
}

void SimulatedLight::deliver(int index, const std::vector<std::uint8_t>& report)
{
    for (auto& entry : handles_) {
        Handle* handle = entry.second.get();
        if (stateOf(*handle) != HandleState::Alive || handle->interfaceIndex != index)
            continue;
        handle->input.push_back(report);
        if (handle->input.size() > kInputQueueLimit)
            handle->input.pop_front();
    }
    inputArrived_.notify_all();
}

void SimulatedLight::plug()
{
    std::lock_guard lock(mutex_);
    if (!plugged_) {
        plugged_ = true;
        ++plugGeneration_;
    }
}

void SimulatedLight::unplug()
{
    std::lock_guard lock(mutex_);
    plugged_ = false;
    inputArrived_.notify_all();
}

bool SimulatedLight::isPlugged() const
{
    std::lock_guard lock(mutex_);
    return plugged_;
}

void SimulatedLight::setInterfaceCount(int count)
{
    std::lock_guard lock(mutex_);
    interfaceCount_ = std::max(count, 0);
}

void SimulatedLight::setCollectionCount(int index, int count)
{
    std::lock_guard lock(mutex_);
    collections_[index] = count;
}

int SimulatedLight::interfaceCount() const
{
    std::lock_guard lock(mutex_);
    return interfaceCount_;
}

SettingBytes SimulatedLight::settings() const
{
    std::lock_guard lock(mutex_);
    return settings_;
}

void SimulatedLight::setSettings(const SettingBytes& settings)
{
    std::lock_guard lock(mutex_);
    settings_ = settings;
}

std::string SimulatedLight::interfacePath(int index)
{
    return kPathPrefix + std::to_string(index);
}

void SimulatedLight::setSerialNumber(int index, const std::wstring& serial)
{
    std::lock_guard lock(mutex_);
    serials_[index] = serial;
}

void SimulatedLight::failOpen(int index, int errnoValue)
{
    std::lock_guard lock(mutex_);
    if (errnoValue == 0)
        openErrors_.erase(index);
    else
        openErrors_[index] = errnoValue;
}

void SimulatedLight::failWrites(int index, bool fail)
{
    std::lock_guard lock(mutex_);
    if (fail)
        failingWrites_.insert(index);
    else
        failingWrites_.erase(index);
}

void SimulatedLight::setReplyMark(std::uint8_t mark)
{
    std::lock_guard lock(mutex_);
    replyMark_ = mark;
}

void SimulatedLight::withholdReplies(bool withhold)
{
    std::lock_guard lock(mutex_);
    withholdReplies_ = withhold;
}

void SimulatedLight::queueInput(int index, const std::vector<std::uint8_t>& report)
{
    std::lock_guard lock(mutex_);
    deliver(index, report);
}

std::vector<SimulatedLight::Call> SimulatedLight::calls() const
{
    std::lock_guard lock(mutex_);
    return calls_;
}

std::vector<SimulatedLight::Call> SimulatedLight::calls(CallKind kind) const
{
    std::lock_guard lock(mutex_);
    std::vector<Call> matching;
    std::copy_if(calls_.begin(), calls_.end(), std::back_inserter(matching),
                 [kind](const Call& call) { return call.kind == kind; });
    return matching;
}

void SimulatedLight::clearCalls()
{
    std::lock_guard lock(mutex_);
    calls_.clear();
}

void SimulatedLight::setCallLogLimit(std::size_t limit)
{
    std::lock_guard lock(mutex_);
    callLogLimit_ = limit;
}

void SimulatedLight::setCallObserver(CallObserver observer)
{
    std::lock_guard lock(mutex_);
    observer_ = std::move(observer);
}

int SimulatedLight::openHandleCount() const
{
    std::lock_guard lock(mutex_);
    return static_cast<int>(std::count_if(handles_.begin(), handles_.end(),
                                          [](const auto& entry) { return entry.second->open; }));
}

int SimulatedLight::liveEnumerationCount() const
{
    std::lock_guard lock(mutex_);
    return static_cast<int>(lists_.size());
}

std::vector<std::string> SimulatedLight::misuses() const
{
    std::lock_guard lock(mutex_);
    return misuses_;
}

}  // namespace quorlin::sim
