#include "pipe_light.h"

#include "folder.h"

#include <dbt.h>

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace quorlin::standin::win {
namespace {

// hidapi opens a device right after enumeration closed it, and a program may open it
// again at once: listeners to spare while the light catches up with the connections.
constexpr int kSpareListeners = 4;
constexpr int kMaxInstancesPerInterface = 32;
constexpr DWORD kRefreshMs = 50;
constexpr std::size_t kReadBuffer = 4096;
// Input reports the driver keeps per open handle; hidapi asks for 64.
constexpr int kQueuedReportLimit = 64;
constexpr DWORD kOutboundBuffer = kQueuedReportLimit * kReportSize;
constexpr std::size_t kLightReportSize = kReportSize - 1;
constexpr const char* kNotifyClass = "usb_test msg window";
constexpr UINT kNotifyTimeoutMs = 2000;

}  // namespace

PipeLight::PipeLight(sim::SimulatedLight& light) : light_(light)
{
    light_.setCallLogLimit(1);
    lightHandle_ = light_.openPath(sim::SimulatedLight::interfacePath(0).c_str());
    port_ = CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 1);
}

PipeLight::~PipeLight()
{
    closeAll();
    if (port_ != nullptr)
        CloseHandle(port_);
}

void PipeLight::run()
{
    DWORD lastRefresh = GetTickCount() - kRefreshMs;
    for (;;) {
        if (GetTickCount() - lastRefresh >= kRefreshMs) {
            refresh();
            lastRefresh = GetTickCount();
        }
        DWORD bytes = 0;
        ULONG_PTR key = 0;
        OVERLAPPED* overlapped = nullptr;
        const BOOL ok = GetQueuedCompletionStatus(port_, &bytes, &key, &overlapped, kRefreshMs);
        const DWORD error = ok ? ERROR_SUCCESS : GetLastError();
        if (overlapped != nullptr)
            completed(static_cast<Op*>(overlapped), ok != FALSE, bytes, error);
    }
}

void PipeLight::refresh()
{
    const Presence now = parsePresence(readControl("present"));
    const int interfaces = now.plugged ? parseInterfaces(readControl("interfaces")) : 0;
    // A new plug generation kills every handle opened under the old one.
    const bool changed = now.plugged != presence_.plugged || now.generation != presence_.generation;
    if (changed)
        closeAll();
    const bool wasPlugged = presence_.plugged;
    presence_ = now;
    interfaces_ = interfaces;
    failWrite_ = readControl("fail-write");

    for (auto& instance : instances_) {
        if (instance->closed)
            continue;
        if (instance->index >= interfaces_) {
            closeInstance(*instance);
        } else if (instance->connected) {
            const bool failing = writeFails(failWrite_, instance->index);
            // A failing interface takes no report: the client's write waits its time and fails.
            if (failing && instance->reading)
                CancelIoEx(instance->pipe, &instance->readOp);
            else if (!failing && !instance->reading)
                postWait(*instance);
        }
    }
    for (int index = 0; index < interfaces_; ++index)
        keepListeners(index);
    instances_.remove_if([](const auto& instance) { return instance->closed && instance->outstanding == 0; });
    // A light present when the light starts was there before anyone listened: no event.
    if (changed && started_) {
        if (now.plugged)
            notify(true);
        else if (wasPlugged)
            notify(false);
    }
    started_ = true;
    announce();
}

void PipeLight::notify(bool arrival)
{
    const double start = monotonicMs();
    std::string name = "\\\\?\\USB#VID_5046&PID_5631#";
    for (const wchar_t c : parseSerial(readControl("serial")))
        name += static_cast<char>(c);
    name += "#{a5dcbf10-6530-11d2-901f-00c04fb951ed}";
    std::vector<std::uint8_t> record(offsetof(DEV_BROADCAST_DEVICEINTERFACE_A, dbcc_name) + name.size() + 1, 0);
    auto* header = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_A*>(record.data());
    header->dbcc_size = static_cast<DWORD>(record.size());
    header->dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    // GUID_DEVINTERFACE_USB_DEVICE
    header->dbcc_classguid = {0xa5dcbf10, 0x6530, 0x11d2, {0x90, 0x1f, 0x00, 0xc0, 0x4f, 0xb9, 0x51, 0xed}};
    std::memcpy(header->dbcc_name, name.c_str(), name.size() + 1);

    int reached = 0;
    for (HWND parent : {static_cast<HWND>(nullptr), HWND_MESSAGE}) {
        for (HWND window = nullptr; (window = FindWindowExA(parent, window, kNotifyClass, nullptr)) != nullptr;) {
            DWORD_PTR result = 0;
            // A program that hangs must not stop the light.
            if (SendMessageTimeoutA(window, WM_DEVICECHANGE, arrival ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE,
                                    reinterpret_cast<LPARAM>(record.data()), SMTO_ABORTIFHUNG, kNotifyTimeoutMs,
                                    &result))
                ++reached;
        }
    }
    logCall(start, "notify", -1, reached, {}, "-", (arrival ? "event=arrival," : "event=removal,") + name);
}

// Once the first listeners are up, `light` in the folder names this process.
void PipeLight::announce()
{
    if (announced_)
        return;
    announced_ = writeWhole("light", std::to_string(GetCurrentProcessId()) + "\n");
}

void PipeLight::closeAll()
{
    for (auto& instance : instances_)
        closeInstance(*instance);
}

void PipeLight::closeInstance(Instance& instance)
{
    if (instance.closed)
        return;
    instance.closed = true;
    instance.connected = false;
    // Outstanding operations complete as aborted; the record waits for them.
    CloseHandle(instance.pipe);
    instance.pipe = INVALID_HANDLE_VALUE;
}

void PipeLight::keepListeners(int index)
{
    int listening = 0;
    int total = 0;
    for (const auto& instance : instances_) {
        if (instance->closed || instance->index != index)
            continue;
        ++total;
        listening += instance->connected ? 0 : 1;
    }
    for (; listening < kSpareListeners && total < kMaxInstancesPerInterface; ++listening, ++total) {
        if (!addListener(index))
            break;
    }
}

bool PipeLight::addListener(int index)
{
    const std::wstring path = interfacePath(channel(), index);
    const HANDLE pipe = CreateNamedPipeW(path.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED,
                                         PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT,
                                         PIPE_UNLIMITED_INSTANCES, kOutboundBuffer, 0, 0, nullptr);
    if (pipe == INVALID_HANDLE_VALUE)
        return false;
    auto instance = std::make_unique<Instance>();
    instance->pipe = pipe;
    instance->index = index;
    instance->buffer.resize(kReadBuffer);
    instance->connectOp.kind = OpKind::Connect;
    instance->connectOp.owner = instance.get();
    instance->readOp.kind = OpKind::Read;
    instance->readOp.owner = instance.get();
    if (CreateIoCompletionPort(pipe, port_, 0, 0) == nullptr) {
        CloseHandle(pipe);
        return false;
    }
    Instance& added = *instance;
    instances_.push_back(std::move(instance));
    listen(added);
    return true;
}

void PipeLight::listen(Instance& instance)
{
    static_cast<OVERLAPPED&>(instance.connectOp) = OVERLAPPED{};
    if (ConnectNamedPipe(instance.pipe, &instance.connectOp)) {
        ++instance.outstanding;
        return;
    }
    switch (GetLastError()) {
    case ERROR_IO_PENDING:
        ++instance.outstanding;
        break;
    case ERROR_PIPE_CONNECTED:  // the client came first; no completion follows
        connected(instance);
        break;
    default:
        closeInstance(instance);
        break;
    }
}

void PipeLight::connected(Instance& instance)
{
    instance.connected = true;
    instance.queuedReports = 0;
    instance.reportsTaken = 0;
    keepListeners(instance.index);
    if (!writeFails(failWrite_, instance.index))
        postWait(instance);
}

void PipeLight::clientGone(Instance& instance)
{
    logCall(monotonicMs(), "close", instance.index, instance.reportsTaken, {}, "-");
    instance.connected = false;
    int listening = 0;
    for (const auto& other : instances_)
        listening += (!other->closed && !other->connected && other->index == instance.index) ? 1 : 0;
    if (listening >= kSpareListeners || !DisconnectNamedPipe(instance.pipe)) {
        closeInstance(instance);
        return;
    }
    listen(instance);
}

void PipeLight::postWait(Instance& instance)
{
    postRead(instance, OpKind::Wait);
}

void PipeLight::postRead(Instance& instance, OpKind kind)
{
    static_cast<OVERLAPPED&>(instance.readOp) = OVERLAPPED{};
    instance.readOp.kind = kind;
    const DWORD length = kind == OpKind::Wait ? 0 : static_cast<DWORD>(instance.buffer.size());
    if (ReadFile(instance.pipe, instance.buffer.data(), length, nullptr, &instance.readOp) ||
        GetLastError() == ERROR_IO_PENDING || GetLastError() == ERROR_MORE_DATA) {
        ++instance.outstanding;
        instance.reading = true;
        return;
    }
    clientGone(instance);
}

void PipeLight::completed(Op* op, bool ok, DWORD bytes, DWORD error)
{
    Instance& instance = *op->owner;
    --instance.outstanding;
    switch (op->kind) {
    case OpKind::Write:
        --instance.queuedReports;
        delete op;
        break;
    case OpKind::Connect:
        if (instance.closed)
            break;
        if (ok || error == ERROR_PIPE_CONNECTED)
            connected(instance);
        else
            closeInstance(instance);
        break;
    case OpKind::Wait:
    case OpKind::Read:
        instance.reading = false;
        if (instance.closed)
            break;
        if (op->kind == OpKind::Wait && (ok || error == ERROR_MORE_DATA)) {
            postRead(instance, OpKind::Read);  // a report is there: take it whole
        } else if (ok || error == ERROR_MORE_DATA) {
            ++instance.reportsTaken;
            take(instance.index, instance.buffer.data(), bytes);
            if (!instance.closed && !writeFails(failWrite_, instance.index))
                postWait(instance);
        } else if (error != ERROR_OPERATION_ABORTED) {
            clientGone(instance);
        }
        break;
    }
    if (instance.closed && instance.outstanding == 0)
        instances_.remove_if([&](const auto& entry) { return entry.get() == &instance; });
}

// The light takes one report: the simulated light does the work on the folder's state.
void PipeLight::take(int index, const std::uint8_t* data, std::size_t length)
{
    const double start = monotonicMs();
    const SettingBytes before = parseSettings(readControl("settings"));
    const ReplyMode mode = parseReply(readControl("reply"));
    light_.setSettings(before);
    light_.withholdReplies(mode == ReplyMode::None);
    light_.setReplyMark(mode == ReplyMode::Wrong ? kWrongReplyMark : kReplyMark);
    const int taken = light_.write(lightHandle_, data, length);
    logCall(start, "write", index, taken, {}, hexBytes(data, length));
    if (taken < 0)
        return;
    const SettingBytes after = light_.settings();
    if (after != before)
        writeWhole("settings", formatSettings(after));
    unsigned char reply[kLightReportSize];
    int got;
    while ((got = light_.readTimeout(lightHandle_, reply, sizeof reply, 0)) > 0) {
        const double sent = monotonicMs();
        std::vector<std::uint8_t> report(reply, reply + got);
        if (mode == ReplyMode::Short)
            report.resize(std::min(report.size(), kShortReplyLength));
        else
            report.resize(kLightReportSize, 0);  // the driver always hands over whole reports
        std::vector<std::uint8_t> message(1, 0);  // report id 0: the light numbers no reports
        message.insert(message.end(), report.begin(), report.end());
        const int handles = deliver(index, message);
        logCall(sent, "reply", index, handles, {}, hexBytes(report.data(), report.size()));
    }
}

int PipeLight::deliver(int index, const std::vector<std::uint8_t>& message)
{
    int handles = 0;
    for (auto& entry : instances_) {
        Instance& instance = *entry;
        if (instance.closed || !instance.connected || instance.index != index ||
            instance.queuedReports >= kQueuedReportLimit)
            continue;
        auto* op = new Op;
        static_cast<OVERLAPPED&>(*op) = OVERLAPPED{};
        op->kind = OpKind::Write;
        op->owner = &instance;
        op->data = message;
        if (WriteFile(instance.pipe, op->data.data(), static_cast<DWORD>(op->data.size()), nullptr, op) ||
            GetLastError() == ERROR_IO_PENDING) {
            ++instance.outstanding;
            ++instance.queuedReports;
            ++handles;
        } else {
            delete op;
        }
    }
    return handles;
}

}  // namespace quorlin::standin::win
