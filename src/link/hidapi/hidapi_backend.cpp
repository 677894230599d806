// The program's HID backend: a pass-through to hidapi (hidraw on Linux, its own
// Windows code on Windows). It adds the handle type conversion, and an error number
// for every failed open or write, keeping hidapi's words where it gave no number.

#include "link/hid_api.h"
#include "link/hid_text.h"

#include <atomic>
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
            openGaveNoNumber_ = failedWithoutNumber();
            return nullptr;
        }
        return reinterpret_cast<HidHandle>(device);
    }

    int write(HidHandle device, const unsigned char* data, std::size_t length) override
    {
        errno = 0;
        const int result = hid_write(toDevice(device), data, length);
        if (result < 0)
            writeGaveNoNumber_ = failedWithoutNumber();
        return result;
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
        if (!(device == nullptr ? openGaveNoNumber_ : writeGaveNoNumber_))
            return {};
        // hidapi answers "Success" when it holds no failure.
        std::string text = hidTextToUtf8(hid_error(toDevice(device)));
        return text == "Success" ? std::string() : text;
    }

private:
    // After a failed call: hidapi gives the reason only in words on some systems, but
    // callers need a number to tell a permission problem from a vanished device. True
    // when errno had none and now reads EIO.
    static bool failedWithoutNumber()
    {
        if (errno != 0)
            return false;
        errno = EIO;
        return true;
    }

    // Written by whichever thread made the failing call.
    std::atomic<bool> openGaveNoNumber_{false};
    std::atomic<bool> writeGaveNoNumber_{false};
};

}  // namespace

HidApi& systemHidApi()
{
    static HidapiBackend backend;
    return backend;
}

}  // namespace quorlin
