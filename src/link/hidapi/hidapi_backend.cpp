// The program's HID backend: a pass-through to the shared hidapi library (hidraw
// flavour). It adds nothing but the handle type conversion and keeps errno of a
// failed open intact for the caller.

#include "link/hid_api.h"
#include "link/hid_text.h"

#include <cerrno>

namespace quorlin {
namespace {

hid_device* toDevice(HidHandle handle)
{
    return reinterpret_cast<hid_device*>(handle);
}

class HidapiBackend final : public HidApi {
public:
    int init() override { return hid_init(); }
    int exit() override { return hid_exit(); }

    HidDeviceInfo* enumerate(unsigned short vendorId, unsigned short productId) override
    {
        return hid_enumerate(vendorId, productId);
    }

    void freeEnumeration(HidDeviceInfo* devices) override
    {
        if (devices != nullptr)
            hid_free_enumeration(devices);
    }

    HidHandle openPath(const char* path) override
    {
        errno = 0;
        hid_device* device = hid_open_path(path);
        if (device == nullptr) {
            // hidapi reports the reason only as text; the caller needs the number to
            // tell a permission problem from a vanished device.
            const int reason = errno;
            errno = reason != 0 ? reason : EIO;
            return nullptr;
        }
        return reinterpret_cast<HidHandle>(device);
    }

    int write(HidHandle device, const unsigned char* data, std::size_t length) override
    {
        return hid_write(toDevice(device), data, length);
    }

    int readTimeout(HidHandle device, unsigned char* data, std::size_t length, int timeoutMs) override
    {
        return hid_read_timeout(toDevice(device), data, length, timeoutMs);
    }

    void close(HidHandle device) override
    {
        if (device != nullptr)
            hid_close(toDevice(device));
    }

    std::string failureText(HidHandle device) override
    {
        // hidapi answers "Success" when it holds no failure.
        std::string text = hidTextToUtf8(hid_error(toDevice(device)));
        return text == "Success" ? std::string() : text;
    }
};

}  // namespace

HidApi& systemHidApi()
{
    static HidapiBackend backend;
    return backend;
}

}  // namespace quorlin
