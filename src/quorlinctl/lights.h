#pragma once
// The lights behind an enumeration. hidapi lists interfaces, not devices; the
// interfaces of one light share its USB serial number, so that is what groups them
// (two lights that carry the same serial number cannot be told apart and count as one).

#include "link/hid_api.h"

#include <string>
#include <vector>

namespace quorlin::ctl {

struct Light {
    std::string serial;               // UTF-8; empty when the light reports none
    std::vector<std::string> paths;   // its interfaces, in enumeration order
};

// One entry per light, in order of first appearance; nodes without a path are left out.
std::vector<Light> groupLights(const HidDeviceInfo* list);

// The light that has interface `path`, or nullptr.
const Light* lightWithPath(const std::vector<Light>& lights, const std::string& path);

}  // namespace quorlin::ctl
