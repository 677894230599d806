#pragma once
// How the Windows stand-in names the light's interfaces and turns an injected open
// error into the HID class driver's. The control files' meaning is the Linux
// stand-in's (../control_rules.h). Plain C++, so that both sides of the pipe name
// the interfaces alike.

#include "control_rules.h"

#include <cstddef>
#include <string>

namespace quorlin::standin::win {

inline constexpr unsigned short kReleaseNumber = 0x0100;
// A report on the wire: report id 0, then the light's 64 bytes.
inline constexpr std::size_t kReportSize = 65;

// `open-error`: the error name or number for interface `index` ("" when it opens).
std::string openErrorOf(const std::optional<std::string>& text, int index);
// The Win32 error an errno name or number from `open-error` stands for, as the HID
// class driver would report it (EACCES: access denied, EBUSY: sharing violation, ...).
unsigned long win32ErrorFor(const std::string& errnoText);

// The pipes of one control folder: "quorlin-standin-" and a hash of the folder's path,
// so that lights of several tests sharing a wineserver never serve each other's pipes.
std::wstring channelOf(const std::wstring& controlDir);
// The pipe that stands for interface `index`:
// \\.\pipe\CHANNEL\vid_5046&pid_5631&mi_NN, NN in hex as in a USB hardware id.
std::wstring interfacePath(const std::wstring& channel, int index);
// The interface a path or a pipe's file name ("\CHANNEL\...") of the channel names, or -1.
int interfaceOf(const std::wstring& channel, const std::wstring& pathOrName);

}  // namespace quorlin::standin::win
