#pragma once
// The hidden notification window "usb_test msg window" (platform/windows) kept alive
// as the window behaviour's device-event watch: plug and unplug records reach the
// link for as long as the main window lives.

#include <iosfwd>
#include <memory>

namespace quorlin {
class CWholeData;
class DeviceEventWatch;
}  // namespace quorlin

namespace quorlin::win32 {

// Null when the window could not be made: then only the start and a change of
// language open the light.
std::unique_ptr<DeviceEventWatch> createUsbWatch(CWholeData& data, std::ostream& out);

}  // namespace quorlin::win32
