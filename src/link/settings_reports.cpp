#include "link/settings_reports.h"

#include <cstdio>

#include "shell/whole_data.h"

#include <algorithm>

namespace quorlin {

const SettingBytes defaultSettings = {0x01, 0x02, 0x5A, 0x1E, 0xB4, 0xB4, 0xAA,
                                      0x32, 0x02, 0x01, 0x0F, 0x00, 0x02, 0x00};

namespace {

// Setting byte 12 always goes out as this constant.
constexpr std::uint8_t kSentSetting12 = 0x02;
constexpr std::size_t kFirstSettingByte = 2;  // in reports and replies alike

SettingBytes settingsToSend(const CWholeData& data)
{
    const LightSettings& s = data.settings;
    return {s.setting0, s.lightMode, s.brightnessLevel, s.breathingFrequency,
            s.parameter1, s.parameter2, s.parameter3, s.parameter4,
            data.operationMode, s.setting9, s.setting10, s.setting11,
            kSentSetting12, s.losCalc};
}

// Where reply setting byte k is stored.
Byte& replyTarget(LightSettings& s, std::size_t k)
{
    switch (k) {
    case 0: return s.setting0;
    case 1: return s.lightMode;
    case 2: return s.brightnessLevel;
    case 3: return s.breathingFrequency;
    case 4: return s.parameter1;
    case 5: return s.parameter2;
    case 6: return s.parameter3;
    case 7: return s.parameter4;
    case 8: return s.reportedOperationMode;
    case 9: return s.setting9;
    case 10: return s.setting10;
    case 11: return s.setting11;
    case 12: return s.setting12;
    default: return s.losCalc;
    }
}

}  // namespace

bool buildSettingsReport(std::uint8_t variant, OutputReport& report, const CWholeData& data,
                         SettingBytes& lastSent)
{
    report.fill(0);
    report[1] = kSettingsCommand;
    if (variant == kDefaultsVariant) {
        SettingBytes bytes = defaultSettings;
        lastSent = defaultSettings;  // keeps the table's panel values, not the ones sent
        bytes[4] = data.settings.parameter1;
        bytes[5] = data.settings.parameter2;
        bytes[6] = data.settings.parameter3;
        bytes[7] = data.settings.parameter4;
        std::copy(bytes.begin(), bytes.end(), report.begin() + kFirstSettingByte);
        return true;
    }
    const SettingBytes bytes = settingsToSend(data);
    std::copy(bytes.begin(), bytes.end(), report.begin() + kFirstSettingByte);
    const bool changed = bytes != lastSent;
    lastSent = bytes;
    return changed;
}

OutputReport statusRequest()
{
    OutputReport request{};
    request[1] = kStatusCommand;
    request[2] = 0x01;
    return request;
}

bool applyStatusReply(const StatusReply& reply, CWholeData& data,
                      const std::function<void(std::uint8_t)>& applied)
{
    if (reply[kReplyMarkIndex] != kReplyMark)
        return false;
    for (std::size_t k = 0; k < kSettingCount; ++k) {
        if (data.linkBusy.load() != 0 || data.linkUsable.load() == 0)
            continue;
        const std::uint8_t value = reply[kFirstSettingByte + k];
        replyTarget(data.settings, k).store(value);
        if (applied)
            applied(value);
    }
    return true;
}

std::string losCalcText(std::uint8_t value)
{
    char text[3];
    std::snprintf(text, sizeof text, "%02X", value);
    return text;
}

}  // namespace quorlin
