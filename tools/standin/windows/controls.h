#pragma once
// What the Windows stand-in reads from the control folder (../README.md: the same
// files standin-ctl writes for the Linux stand-in) and how it names the light's
// interfaces. Plain C++ so that the rules are the same on both sides of the pipe and
// can be checked without Windows. Odd content never fails: it counts as the default.

#include "link/settings_reports.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorlin::standin::win {

inline constexpr unsigned short kVendorId = 0x5046;
inline constexpr unsigned short kProductId = 0x5631;
inline constexpr unsigned short kReleaseNumber = 0x0100;
inline constexpr int kDefaultInterfaces = 1;
inline constexpr int kMaxInterfaces = 16;
// A report on the wire: report id 0, then the light's 64 bytes.
inline constexpr std::size_t kReportSize = 65;
inline constexpr const wchar_t* kDefaultSerial = L"SIM0001";

struct Presence {
    bool plugged = true;
    std::uint64_t generation = 0;
};

enum class ReplyMode { Normal, None, Wrong, Short };

// `present`: "1 GEN" / "0 GEN".
Presence parsePresence(const std::optional<std::string>& text);
// `interfaces`: 0..kMaxInterfaces.
int parseInterfaces(const std::optional<std::string>& text);
// `serial`: its first word, printable ASCII only (others become '?').
std::wstring parseSerial(const std::optional<std::string>& text);
// `open-error`: the error name or number for interface `index` ("" when it opens).
std::string openErrorOf(const std::optional<std::string>& text, int index);
// `fail-write`: whether writes on interface `index` fail.
bool writeFails(const std::optional<std::string>& text, int index);
ReplyMode parseReply(const std::optional<std::string>& text);
// `settings`: 28 hex digits, blanks allowed; anything else is the light's defaults.
SettingBytes parseSettings(const std::optional<std::string>& text);
std::string formatSettings(const SettingBytes& settings);

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

// Bytes as lower-case hex, "-" for none.
std::string hexBytes(const unsigned char* data, std::size_t length);

}  // namespace quorlin::standin::win
