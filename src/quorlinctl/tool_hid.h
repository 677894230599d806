#pragma once
// The HID library as quorlinctl hands it to DeviceLink: narrowed to one light when
// --device names one, and watched, so that the tool can say why an exchange failed
// (DeviceLink keeps write results to itself and counts a missing reply as rejected).

#include "link/hid_api.h"

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace quorlin::ctl {

// Why an interface would not open or take a write.
struct HidFailure {
    std::string path;
    int error = 0;        // errno; EIO when the backend gave none
    std::string detail;   // the backend's own words when it gave no errno, else empty
};

// "Permission denied", or "Input/output error (the backend's words)".
std::string describe(const HidFailure& failure);

class ToolHid final : public HidApi {
public:
    // `device` empty: every light found; otherwise only the light with that path.
    ToolHid(HidApi& inner, std::string device);
    ToolHid(const ToolHid&) = delete;
    ToolHid& operator=(const ToolHid&) = delete;
    // Frees lists still outstanding.
    ~ToolHid() override;

    int init() override { return inner_.init(); }
    int exit() override { return inner_.exit(); }
    // A copy of the selected nodes (the library's own list is freed at once);
    // nullptr when none is selected or out of memory. Forgets earlier open failures.
    HidDeviceInfo* enumerate(unsigned short vendorId, unsigned short productId) override;
    // Lists this object did not hand out are ignored.
    void freeEnumeration(HidDeviceInfo* devices) override;
    HidHandle openPath(const char* path) override;
    int write(HidHandle device, const unsigned char* data, std::size_t length) override;
    int readTimeout(HidHandle device, unsigned char* data, std::size_t length, int timeoutMs) override;
    void close(HidHandle device) override;

    // The interfaces that would not open since the last enumerate.
    const std::vector<HidFailure>& openFailures() const { return openFailures_; }
    // What the last read returned, and the validity mark it delivered (0 if too short).
    int lastReadResult() const { return lastReadResult_; }
    std::uint8_t lastReadMark() const { return lastReadMark_; }
    // Writes that failed since the last forgetWriteFailures(), and the last one.
    int failedWrites() const { return failedWrites_; }
    const HidFailure& lastWriteFailure() const { return lastWriteFailure_; }
    void forgetWriteFailures() { failedWrites_ = 0; }

private:
    HidApi& inner_;
    const std::string device_;
    std::set<HidDeviceInfo*> lists_;
    std::map<HidHandle, std::string> paths_;
    std::vector<HidFailure> openFailures_;
    int lastReadResult_ = 0;
    std::uint8_t lastReadMark_ = 0;
    int failedWrites_ = 0;
    HidFailure lastWriteFailure_;
};

}  // namespace quorlin::ctl
