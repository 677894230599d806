#pragma once
// The HID types the data object keeps, without hidapi's header: the handle is
// opaque and enumeration nodes are hidapi's own public record (link/hid_api.h).

struct hid_device_info;

namespace quorlin {

// A handle to one opened HID interface. Opaque: only the backend that returned it
// knows what it points at.
struct HidHandleTag;
using HidHandle = HidHandleTag*;

using HidDeviceInfo = ::hid_device_info;

}  // namespace quorlin
