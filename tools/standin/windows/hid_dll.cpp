// hid.dll for the stand-in light: the HidD_/HidP_ calls hidapi's Windows backend resolves
// at run time, answered for the pipes that stand for the light's interfaces
// (controls.h). Any other handle is not a HID device here: the calls fail on it.
// Exported under the system's names by hid.def.

#include "controls.h"
#include "folder.h"

#include <windows.h>
#include <hidsdi.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>
#include <new>

namespace sd = quorlin::standin;
namespace win = quorlin::standin::win;

namespace {

// GUID_DEVINTERFACE_HID, the class every HID interface is listed under.
constexpr GUID kHidClass = {0x4d1e55b2, 0xf16f, 0x11cf, {0x88, 0xcb, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};
constexpr USHORT kUsagePage = 0xFF00;
constexpr USHORT kUsage = 0x01;
constexpr DWORD kPreparsedMark = 0x51524C4E;
constexpr NTSTATUS kHidpSuccess = HIDP_STATUS_SUCCESS;
constexpr NTSTATUS kHidpInvalidPreparsed = HIDP_STATUS_INVALID_PREPARSED_DATA;

struct Preparsed {
    DWORD mark = kPreparsedMark;
    int index = 0;
};

// The light's interface behind a handle, or -1 (not one of the light's pipes).
int interfaceOfHandle(HANDLE handle)
{
    alignas(FILE_NAME_INFO) unsigned char buffer[sizeof(FILE_NAME_INFO) + MAX_PATH * sizeof(wchar_t)];
    auto* info = reinterpret_cast<FILE_NAME_INFO*>(buffer);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE ||
        !GetFileInformationByHandleEx(handle, FileNameInfo, info, sizeof buffer))
        return -1;
    return win::interfaceOf(win::channel(), std::wstring(info->FileName, info->FileNameLength / sizeof(wchar_t)));
}

// Handles opened for use, looked at again when hidapi lets the library go (hid_exit).
constexpr std::size_t kTrackedHandles = 64;
std::array<std::atomic<HANDLE>, kTrackedHandles> openedForUse{};

// A closed handle whose number went to another object since is no pipe of the light.
bool isLightPipe(HANDLE handle)
{
    return handle != nullptr && GetFileType(handle) == FILE_TYPE_PIPE && interfaceOfHandle(handle) >= 0;
}

// Into an empty slot, else over one whose handle was closed since; a number given
// out again is kept once.
void track(HANDLE handle)
{
    for (const auto& slot : openedForUse) {
        if (slot.load() == handle)
            return;
    }
    for (auto& slot : openedForUse) {
        HANDLE empty = nullptr;
        if (slot.compare_exchange_strong(empty, handle))
            return;
    }
    for (auto& slot : openedForUse) {
        HANDLE old = slot.load();
        if (!isLightPipe(old) && slot.compare_exchange_strong(old, handle))
            return;
    }
}

BOOLEAN notOurs()
{
    SetLastError(ERROR_INVALID_FUNCTION);
    return FALSE;
}

BOOLEAN copyString(HANDLE handle, const std::wstring& text, PVOID buffer, ULONG bufferBytes)
{
    if (interfaceOfHandle(handle) < 0)
        return notOurs();
    const ULONG room = bufferBytes / sizeof(wchar_t);
    if (buffer == nullptr || room == 0) {
        SetLastError(ERROR_INVALID_USER_BUFFER);
        return FALSE;
    }
    const std::size_t count = std::min<std::size_t>(text.size(), room - 1);
    auto* out = static_cast<wchar_t*>(buffer);
    std::copy_n(text.c_str(), count, out);
    out[count] = L'\0';
    return TRUE;
}

// The pipe paths are ASCII.
std::string narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

// Handles opened for use that the program has not closed.
long stillOpen()
{
    long open = 0;
    for (auto& slot : openedForUse)
        open += isLightPipe(slot.load()) ? 1 : 0;
    return open;
}

}  // namespace

// hid_exit frees the library (FreeLibrary: no reserved pointer); the process's end
// does not count as one.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_DETACH && reserved == nullptr)
        win::logCall(win::monotonicMs(), "exit", -1, stillOpen(), {}, "-");
    return TRUE;
}

extern "C" {

void __stdcall standinGetHidGuid(LPGUID guid)
{
    if (guid != nullptr)
        *guid = kHidClass;
}

BOOLEAN __stdcall standinGetAttributes(HANDLE handle, PHIDD_ATTRIBUTES attributes)
{
    if (interfaceOfHandle(handle) < 0 || attributes == nullptr)
        return notOurs();
    attributes->Size = sizeof(HIDD_ATTRIBUTES);
    attributes->VendorID = sd::kVendorId;
    attributes->ProductID = sd::kProductId;
    attributes->VersionNumber = win::kReleaseNumber;
    return TRUE;
}

BOOLEAN __stdcall standinGetSerialNumberString(HANDLE handle, PVOID buffer, ULONG bufferBytes)
{
    return copyString(handle, sd::parseSerial(win::readControl("serial")), buffer, bufferBytes);
}

BOOLEAN __stdcall standinGetManufacturerString(HANDLE handle, PVOID buffer, ULONG bufferBytes)
{
    return copyString(handle, L"Quorlin", buffer, bufferBytes);
}

BOOLEAN __stdcall standinGetProductString(HANDLE handle, PVOID buffer, ULONG bufferBytes)
{
    return copyString(handle, L"Sivane", buffer, bufferBytes);
}

// The light has no feature reports, no input reports on request and no indexed strings.
BOOLEAN __stdcall standinSetFeature(HANDLE, PVOID, ULONG)
{
    return notOurs();
}

BOOLEAN __stdcall standinGetFeature(HANDLE, PVOID, ULONG)
{
    return notOurs();
}

BOOLEAN __stdcall standinGetInputReport(HANDLE, PVOID, ULONG)
{
    return notOurs();
}

BOOLEAN __stdcall standinGetIndexedString(HANDLE, ULONG, PVOID, ULONG)
{
    return notOurs();
}

BOOLEAN __stdcall standinGetPreparsedData(HANDLE handle, PHIDP_PREPARSED_DATA* preparsed)
{
    const int index = interfaceOfHandle(handle);
    if (index < 0 || preparsed == nullptr)
        return notOurs();
    auto* data = new (std::nothrow) Preparsed;
    if (data == nullptr) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    data->index = index;
    *preparsed = reinterpret_cast<PHIDP_PREPARSED_DATA>(data);
    return TRUE;
}

BOOLEAN __stdcall standinFreePreparsedData(PHIDP_PREPARSED_DATA preparsed)
{
    auto* data = reinterpret_cast<Preparsed*>(preparsed);
    if (data == nullptr || data->mark != kPreparsedMark)
        return FALSE;
    data->mark = 0;
    delete data;
    return TRUE;
}

NTSTATUS __stdcall standinGetCaps(PHIDP_PREPARSED_DATA preparsed, PHIDP_CAPS caps)
{
    const auto* data = reinterpret_cast<const Preparsed*>(preparsed);
    if (data == nullptr || data->mark != kPreparsedMark || caps == nullptr)
        return kHidpInvalidPreparsed;
    std::memset(caps, 0, sizeof *caps);
    caps->UsagePage = kUsagePage;
    caps->Usage = kUsage;
    caps->InputReportByteLength = win::kReportSize;
    caps->OutputReportByteLength = win::kReportSize;
    caps->NumberLinkCollectionNodes = 1;
    return kHidpSuccess;
}

// hidapi calls this first after opening a device for use (enumeration never does):
// the place where an injected open failure (`open-error`) strikes, and the open is logged.
BOOLEAN __stdcall standinSetNumInputBuffers(HANDLE handle, ULONG)
{
    const double start = win::monotonicMs();
    const int index = interfaceOfHandle(handle);
    if (index < 0)
        return notOurs();
    const std::string error = win::openErrorOf(win::readControl("open-error"), index);
    const std::string path = narrow(win::interfacePath(win::channel(), index));
    win::logCall(start, "open", index, error.empty() ? 1 : 0, error, path);
    if (!error.empty()) {
        SetLastError(win::win32ErrorFor(error));
        return FALSE;
    }
    track(handle);
    return TRUE;
}

}  // extern "C"
