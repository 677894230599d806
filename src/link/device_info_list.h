#pragma once
// Enumeration lists that this program builds itself rather than receiving from hidapi:
// nodes and their strings live on the C heap, as in hidapi's own lists.

#include "link/hid_api.h"

namespace quorlin {

// A copy of one node and its strings, with next = nullptr; nullptr when out of memory
// or when the node has no path.
HidDeviceInfo* copyDeviceInfo(const HidDeviceInfo& node);

// Frees a whole list built from such nodes; nullptr is ignored.
void freeDeviceInfoList(HidDeviceInfo* head);

}  // namespace quorlin
