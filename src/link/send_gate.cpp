#include "link/send_gate.h"

#include "link/clock.h"
#include "link/device_link.h"
#include "link/settings_reports.h"
#include "shell/whole_data.h"

namespace quorlin {

int sendThroughGate(CWholeData& data, Clock& clock, const std::function<int()>& write)
{
    while (data.linkReady.load() == 0)
        clock.sleepMs(kGateStepMs);
    data.pollEnabled = 0;
    const int result = write();
    data.pollEnabled = 1;
    return result;
}

int sendOperationMode(CWholeData& data, Clock& clock, DeviceLink& link)
{
    data.settings.reportedOperationMode = data.operationMode.load();
    const int result = link.sendSettings(kNormalVariant);
    clock.sleepMs(kGateStepMs);
    return result;
}

int losCalcPulse(CWholeData& data, Clock& clock, DeviceLink& link, OnRefusal onRefusal)
{
    int refused = -1;
    for (const std::uint8_t los : {std::uint8_t{1}, std::uint8_t{0}}) {
        data.settings.losCalc = los;
        clock.sleepMs(kGateStepMs);
        if (link.sendSettings(kNormalVariant) == 0 && refused < 0) {
            refused = los;
            if (onRefusal == OnRefusal::Stop)
                return refused;
        }
    }
    clock.sleepMs(kGateStepMs);
    return refused;
}

}  // namespace quorlin
