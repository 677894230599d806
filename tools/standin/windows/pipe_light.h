#pragma once
// The stand-in light's server: each interface of the light is a named pipe
// (controls.h) with a few listening instances, so that a program can open it again
// right after enumeration closed it, as it does with a HID device. One thread; all I/O
// is overlapped on one completion port.
//
// A pipe instance is the open HID handle seen from the light's side:
//  - no inbound buffer, and no read posted before a report is there: a client's write
//    stays pending until the light takes it, as a HID write does until the device took
//    the report (hidapi 0.13.1 counts a write that completes at once as failed). The
//    light waits with a zero-byte read, which completes when a message arrives without
//    taking it, then reads it whole;
//  - every report the light sends goes to each connected instance of its interface, as
//    the HID class driver gives every open handle its own copy (at most 64 queued);
//  - unplugging, a new plug generation or fewer interfaces close the instances: the
//    program's handles die as on a real bus;
//  - a client that closes its handle is logged (`close`) with the reports it wrote, so
//    enumeration's short opens (none) stand apart from a program's own handle;
//  - an unplug and a plug are told, as the system tells them, to the windows of class
//    "usb_test msg window": WM_DEVICECHANGE with a DEV_BROADCAST_DEVICEINTERFACE_A
//    record of the USB device interface class naming the light (VID_5046, PID_5631).
// The control folder (../README.md) is looked at every 50 ms; the light's message
// handling is the simulated light's (src/link/sim).

#include "controls.h"

#include "link/sim/simulated_light.h"

#include <windows.h>

#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <vector>

namespace quorlin::standin::win {

class PipeLight {
public:
    explicit PipeLight(sim::SimulatedLight& light);
    ~PipeLight();
    PipeLight(const PipeLight&) = delete;
    PipeLight& operator=(const PipeLight&) = delete;

    // False when the completion port cannot be made.
    bool ready() const { return port_ != nullptr; }
    // Serves until the process ends.
    void run();

private:
    struct Instance;
    enum class OpKind { Connect, Wait, Read, Write };
    struct Op : OVERLAPPED {
        OpKind kind = OpKind::Connect;
        Instance* owner = nullptr;
        std::vector<std::uint8_t> data;  // writes only
    };
    struct Instance {
        HANDLE pipe = INVALID_HANDLE_VALUE;
        int index = 0;
        bool connected = false;
        bool closed = false;
        bool reading = false;    // a wait or a read is posted
        int outstanding = 0;     // operations whose completion is still to come
        int queuedReports = 0;   // writes to the client not yet completed
        long reportsTaken = 0;   // from this connection's client
        Op connectOp;
        Op readOp;
        std::vector<std::uint8_t> buffer;
    };

    void refresh();
    void closeAll();
    void closeInstance(Instance& instance);
    void keepListeners(int index);
    bool addListener(int index);
    void listen(Instance& instance);
    void connected(Instance& instance);
    void clientGone(Instance& instance);
    void postWait(Instance& instance);
    void postRead(Instance& instance, OpKind kind);
    void completed(Op* op, bool ok, DWORD bytes, DWORD error);
    void take(int index, const std::uint8_t* data, std::size_t length);
    int deliver(int index, const std::vector<std::uint8_t>& message);
    void release(Instance& instance);
    void announce();
    void notify(bool arrival);

    sim::SimulatedLight& light_;
    HidHandle lightHandle_ = nullptr;
    HANDLE port_ = nullptr;
    std::list<std::unique_ptr<Instance>> instances_;
    Presence presence_{false, 0};
    int interfaces_ = 0;
    std::optional<std::string> failWrite_;
    bool announced_ = false;
    bool started_ = false;
};

}  // namespace quorlin::standin::win
