// cfgmgr32.dll for the stand-in light: the configuration-manager calls hidapi's Windows
// backend resolves at run time. The HID class lists the light's interfaces while the
// control folder says it is plugged (one pipe each, controls.h); each has a device node
// whose hardware id carries the interface number (MI_NN) under a USB parent, which is
// how hidapi finds the interface number and the bus. Exported by cfgmgr32.def.

#include "controls.h"
#include "folder.h"

#include <windows.h>
#include <cfgmgr32.h>
#include <devpropdef.h>

#include <cstring>
#include <cwchar>
#include <string>

namespace sd = quorlin::standin;
namespace win = quorlin::standin::win;

namespace {

constexpr GUID kHidClass = {0x4d1e55b2, 0xf16f, 0x11cf, {0x88, 0xcb, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};
constexpr GUID kDeviceKeys = {0x78c34fc8, 0x104a, 0x4aca, {0x9e, 0xa4, 0x52, 0x4d, 0x52, 0x99, 0x6e, 0x57}};
constexpr DEVPROPID kInstanceIdKey = 256;
constexpr GUID kIdKeys = {0xa45c254e, 0xdf1c, 0x4efd, {0x80, 0x20, 0x67, 0xd1, 0x46, 0xa8, 0x50, 0xe0}};
constexpr DEVPROPID kHardwareIdsKey = 3;
constexpr DEVPROPID kCompatibleIdsKey = 4;

// Device nodes: the HID collection of interface N and its USB interface parent.
constexpr DEVINST kHidNodeBase = 0x5100;
constexpr DEVINST kUsbNodeBase = 0x5200;
constexpr DEVINST kUsbDeviceNode = 0x5300;

bool sameKey(const DEVPROPKEY* key, const GUID& group, DEVPROPID id)
{
    return key != nullptr && key->pid == id && std::memcmp(&key->fmtid, &group, sizeof group) == 0;
}

std::wstring twoDigits(int index)
{
    wchar_t text[4];
    std::swprintf(text, 4, L"%02X", static_cast<unsigned>(index));
    return text;
}

std::wstring instanceId(int index)
{
    return L"HID\\VID_5046&PID_5631&MI_" + twoDigits(index) + L"\\8&51a0f2d&0&0000";
}

// The interface a device instance id names, or -1.
int interfaceOfInstance(const wchar_t* id)
{
    if (id == nullptr)
        return -1;
    for (int index = 0; index < sd::kMaxInterfaces; ++index)
        if (instanceId(index) == id)
            return index;
    return -1;
}

// The interfaces listed now, each path followed by its terminator, then the list's own.
std::wstring presentList()
{
    std::wstring list;
    if (!win::controlDir().empty() && sd::parsePresence(win::readControl("present")).plugged) {
        const int count = sd::parseInterfaces(win::readControl("interfaces"));
        for (int index = 0; index < count; ++index) {
            list += win::interfacePath(win::channel(), index);
            list += L'\0';
        }
    }
    list += L'\0';
    return list;
}

CONFIGRET giveProperty(DEVPROPTYPE type, const std::wstring& value, DEVPROPTYPE* typeOut, PBYTE buffer,
                       PULONG size)
{
    if (size == nullptr || typeOut == nullptr)
        return CR_INVALID_POINTER;
    const ULONG needed = static_cast<ULONG>((value.size() + 1) * sizeof(wchar_t));
    *typeOut = type;
    if (buffer == nullptr || *size < needed) {
        *size = needed;
        return CR_BUFFER_SMALL;
    }
    std::memcpy(buffer, value.c_str(), needed);
    *size = needed;
    return CR_SUCCESS;
}

bool isHidClass(const GUID* guid)
{
    return guid != nullptr && std::memcmp(guid, &kHidClass, sizeof kHidClass) == 0;
}

}  // namespace

extern "C" {

CONFIGRET WINAPI standinGetInterfaceListSize(PULONG length, LPGUID classGuid, DEVINSTID_W, ULONG)
{
    if (length == nullptr)
        return CR_INVALID_POINTER;
    *length = isHidClass(classGuid) ? static_cast<ULONG>(presentList().size()) : 1;
    return CR_SUCCESS;
}

CONFIGRET WINAPI standinGetInterfaceList(LPGUID classGuid, DEVINSTID_W, PZZWSTR buffer, ULONG length, ULONG)
{
    const double start = win::monotonicMs();
    if (buffer == nullptr || length == 0)
        return CR_INVALID_POINTER;
    const std::wstring list = isHidClass(classGuid) ? presentList() : std::wstring(1, L'\0');
    if (list.size() > length)
        return CR_BUFFER_SMALL;
    std::memcpy(buffer, list.data(), list.size() * sizeof(wchar_t));
    int listed = 0;
    for (const wchar_t c : list)
        listed += c == L'\0';
    win::logCall(start, "enumerate", -1, listed - 1, {}, "-");
    return CR_SUCCESS;
}

CONFIGRET WINAPI standinGetInterfaceProperty(LPCWSTR path, const DEVPROPKEY* key, DEVPROPTYPE* type,
                                             PBYTE buffer, PULONG size, ULONG)
{
    const int index = path != nullptr ? win::interfaceOf(win::channel(), path) : -1;
    if (index < 0)
        return CR_NO_SUCH_DEVICE_INTERFACE;
    if (!sameKey(key, kDeviceKeys, kInstanceIdKey))
        return CR_NO_SUCH_VALUE;
    return giveProperty(DEVPROP_TYPE_STRING, instanceId(index), type, buffer, size);
}

CONFIGRET WINAPI standinLocateDevNode(PDEVINST node, DEVINSTID_W id, ULONG)
{
    if (node == nullptr)
        return CR_INVALID_POINTER;
    const int index = interfaceOfInstance(id);
    if (index < 0)
        return CR_NO_SUCH_DEVNODE;
    *node = kHidNodeBase + static_cast<DEVINST>(index);
    return CR_SUCCESS;
}

CONFIGRET WINAPI standinGetParent(PDEVINST parent, DEVINST node, ULONG)
{
    if (parent == nullptr)
        return CR_INVALID_POINTER;
    if (node >= kHidNodeBase && node < kHidNodeBase + sd::kMaxInterfaces)
        *parent = kUsbNodeBase + (node - kHidNodeBase);
    else if (node >= kUsbNodeBase && node < kUsbNodeBase + sd::kMaxInterfaces)
        *parent = kUsbDeviceNode;
    else
        return CR_NO_SUCH_DEVNODE;
    return CR_SUCCESS;
}

CONFIGRET WINAPI standinGetDevNodeProperty(DEVINST node, const DEVPROPKEY* key, DEVPROPTYPE* type, PBYTE buffer,
                                           PULONG size, ULONG)
{
    using namespace std::string_literals;
    if (node >= kHidNodeBase && node < kHidNodeBase + sd::kMaxInterfaces && sameKey(key, kIdKeys, kHardwareIdsKey)) {
        const std::wstring mi = twoDigits(static_cast<int>(node - kHidNodeBase));
        const std::wstring ids = L"HID\\VID_5046&PID_5631&REV_0100&MI_" + mi + L"\0"s +
                                 L"HID\\VID_5046&PID_5631&MI_" + mi + L"\0"s;
        return giveProperty(DEVPROP_TYPE_STRING_LIST, ids, type, buffer, size);
    }
    if (node >= kUsbNodeBase && node < kUsbNodeBase + sd::kMaxInterfaces && sameKey(key, kIdKeys, kCompatibleIdsKey)) {
        const std::wstring ids = L"USB\\Class_03&SubClass_00&Prot_00\0"s + L"USB\\Class_03\0"s;
        return giveProperty(DEVPROP_TYPE_STRING_LIST, ids, type, buffer, size);
    }
    return CR_NO_SUCH_VALUE;
}

}  // extern "C"
