#pragma once
// The narrow HID interface the transport talks to. It mirrors the hidapi calls one
// for one so that the real backend is a thin pass-through and a simulated light can
// stand in for tests and demos.

#include "link/hid_types.h"

#include <hidapi/hidapi.h>

#include <cstddef>
#include <string>

namespace quorlin {

// Enumeration nodes are hidapi's own public record; a backend that builds its own
// list must also be the one that frees it.

class HidApi {
public:
    virtual ~HidApi() = default;

    // 0 on success, -1 on failure.
    virtual int init() = 0;
    // 0 on success, -1 on failure.
    virtual int exit() = 0;
    // Linked list of the interfaces matching vendor/product, or nullptr when none
    // (or when enumeration itself failed). Release with freeEnumeration.
    virtual HidDeviceInfo* enumerate(unsigned short vendorId, unsigned short productId) = 0;
    // Releases a whole list returned by enumerate; nullptr is ignored.
    virtual void freeEnumeration(HidDeviceInfo* devices) = 0;
    // A handle, or nullptr on failure with errno telling why (EACCES for a
    // permission problem).
    virtual HidHandle openPath(const char* path) = 0;
    // Bytes written, or -1 on failure. Sends exactly `length` bytes, data[0] being the
    // report number.
    virtual int write(HidHandle device, const unsigned char* data, std::size_t length) = 0;
    // Bytes read (0 when nothing arrived within timeoutMs), or -1 on failure.
    // timeoutMs -1 waits without limit.
    virtual int readTimeout(HidHandle device, unsigned char* data, std::size_t length, int timeoutMs) = 0;
    // Closes a handle; nullptr is ignored.
    virtual void close(HidHandle device) = 0;
    // The backend's own words for the last failed write on `device`, or for the last
    // failed open when `device` is nullptr, when that failure came with no error number
    // (errno then reads EIO); empty otherwise. hidapi's Windows backend tells why a
    // call failed only in words.
    virtual std::string failureText(HidHandle /*device*/) { return {}; }
};

// The backend the program uses: hidapi (hidraw on Linux, its Windows backend on
// Windows).
HidApi& systemHidApi();

}  // namespace quorlin
