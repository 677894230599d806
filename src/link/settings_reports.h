#pragma once
// The light's three messages: the settings report, the status request and the status
// reply, built and checked on plain memory.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace quorlin {

class CWholeData;

// A full output report: report number 0 and the light's 64 bytes. hidraw sends exactly
// what it is given, so every outgoing message is this long.
constexpr std::size_t kOutputReportSize = 65;
constexpr std::size_t kStatusReplySize = 17;
constexpr std::size_t kSettingCount = 14;
constexpr std::uint8_t kSettingsCommand = 0x11;
constexpr std::uint8_t kStatusCommand = 0x12;
constexpr std::size_t kReplyMarkIndex = 12;
constexpr std::uint8_t kReplyMark = 0x0F;
// The variant byte: this value selects the built-in defaults, any other the settings.
constexpr std::uint8_t kDefaultsVariant = 1;

// Values of the light mode and operation mode settings.
constexpr std::uint8_t kLightModeKeepsOn = 1;
constexpr std::uint8_t kOperationManual = 1;
constexpr std::uint8_t kOperationAuto = 2;

using SettingBytes = std::array<std::uint8_t, kSettingCount>;
using OutputReport = std::array<std::uint8_t, kOutputReportSize>;
using StatusReply = std::array<std::uint8_t, kStatusReplySize>;

extern const SettingBytes defaultSettings;

// Fills `report` with a settings report and records its setting bytes in `lastSent`.
// Returns false only for the normal variant when nothing changed since the last build.
bool buildSettingsReport(std::uint8_t variant, OutputReport& report, const CWholeData& data,
                         SettingBytes& lastSent);

// The status request, ready to write.
OutputReport statusRequest();

// Checks the validity mark and copies the reply's setting bytes into data.settings,
// skipping each byte while the link is busy or not usable. Returns whether accepted.
// `applied`, when given, sees each byte that was stored.
bool applyStatusReply(const StatusReply& reply, CWholeData& data,
                      const std::function<void(std::uint8_t)>& applied = {});

// The LOS_CALC setting as the window's display and quorlinctl show it: two
// upper-case hex digits.
std::string losCalcText(std::uint8_t value);

}  // namespace quorlin
