#include "status_output.h"

#include "link/settings_reports.h"

#include <ostream>

namespace quorlin::ctl {
namespace {

const char* lightModeName(std::uint8_t mode)
{
    return mode == kLightModeKeepsOn ? "keeps on" : "breathing";
}

const char* operationModeName(std::uint8_t mode)
{
    return mode == kOperationManual ? "Manual" : mode == kOperationAuto ? "Auto" : "unknown";
}

}  // namespace

void printStatus(std::ostream& out, const LightSettings& s, bool json)
{
    const int brightness = s.brightnessLevel.load();
    const int breathing = s.breathingFrequency.load();
    const int lightMode = s.lightMode.load();
    const int operationMode = s.reportedOperationMode.load();
    const int p[4] = {s.parameter1.load(), s.parameter2.load(), s.parameter3.load(), s.parameter4.load()};
    const std::uint8_t los = s.losCalc.load();
    if (json) {
        out << "{\"brightness\":" << brightness << ",\"breathing\":" << breathing
            << ",\"light_mode\":" << lightMode << ",\"operation_mode\":" << operationMode
            << ",\"parameters\":[" << p[0] << ',' << p[1] << ',' << p[2] << ',' << p[3]
            << "],\"los_calc\":" << static_cast<int>(los) << "}\n";
        return;
    }
    out << "brightness: " << brightness << '\n'
        << "breathing: " << breathing << '\n'
        << "light mode: " << lightModeName(static_cast<std::uint8_t>(lightMode)) << " (" << lightMode << ")\n"
        << "operation mode: " << operationModeName(static_cast<std::uint8_t>(operationMode)) << " ("
        << operationMode << ")\n"
        << "parameters: " << p[0] << ' ' << p[1] << ' ' << p[2] << ' ' << p[3] << '\n'
        << "LOS_CALC: " << losCalcText(los) << '\n';
}

}  // namespace quorlin::ctl
