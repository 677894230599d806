#pragma once
// What the control folder's files mean (README.md), for both stand-ins: the Linux one
// preloaded into the programs and the Windows one under Wine. Plain C++ with no system
// header, so that one reading of each file serves both; reading the files and turning
// an injected error into the system's own code stay with each stand-in. Odd content
// never fails: it counts as the file's default.

#include "link/settings_reports.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace quorlin::standin {

inline constexpr unsigned short kVendorId = 0x5046;
inline constexpr unsigned short kProductId = 0x5631;
inline constexpr int kDefaultInterfaces = 1;
inline constexpr int kMaxInterfaces = 16;
// `reply wrong`: the validity mark the light sends instead of kReplyMark.
inline constexpr std::uint8_t kWrongReplyMark = 0x0E;
// `reply short`: how many of the reply's bytes arrive.
inline constexpr std::size_t kShortReplyLength = 8;

struct Presence {
    bool plugged = true;
    std::uint64_t generation = 0;
};

enum class ReplyMode { Normal, None, Wrong, Short };

// A word of decimal digits (at most 12) within low..high; nullopt for anything else.
std::optional<long long> parseNumber(const std::string& word, long long low, long long high);

// `present`: "1 GEN" / "0 GEN"; only "0" unplugs.
Presence parsePresence(const std::optional<std::string>& text);
// `interfaces`: 0..kMaxInterfaces.
int parseInterfaces(const std::optional<std::string>& text);
// `serial`: its first word, printable ASCII only (others become '?').
std::wstring parseSerial(const std::optional<std::string>& text);
// `open-error`: the error word of the first line naming interface `index` (or `*`)
// whose word `isError` accepts; "" when it opens.
std::string openErrorOf(const std::optional<std::string>& text, int index,
                        const std::function<bool(const std::string&)>& isError);
// `fail-write`: whether writes on interface `index` fail.
bool writeFails(const std::optional<std::string>& text, int index);
ReplyMode parseReply(const std::optional<std::string>& text);
// `settings`: 28 hex digits, blanks allowed; anything else is the light's defaults.
SettingBytes parseSettings(const std::optional<std::string>& text);
// `settings` as the light writes it back: the bytes in hex, blank-separated, one line.
std::string formatSettings(const SettingBytes& settings);

// Bytes as lower-case hex, "-" for none.
std::string hexBytes(const unsigned char* data, std::size_t length);

}  // namespace quorlin::standin
