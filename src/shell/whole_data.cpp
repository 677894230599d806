#include "shell/whole_data.h"

#include "platform/process_list.h"

namespace quorlin {

void LinkFlagWord::Byte::store(std::uint8_t value)
{
    const auto mask = static_cast<std::uint16_t>(0xFFu << shift_);
    const auto bits = static_cast<std::uint16_t>(value << shift_);
    std::uint16_t old = word_.load();
    while (!word_.compare_exchange_weak(old, static_cast<std::uint16_t>((old & ~mask) | bits))) {
    }
}

CWholeData::CWholeData(ProcessList& processes, ProfileStore& profiles)
    : iniPath(kDefaultIniPath), processes_(processes), profiles_(profiles)
{
}

void CWholeData::setLinkBusyUsable(std::uint8_t busy, std::uint8_t usable)
{
    linkFlags_.word.store(static_cast<std::uint16_t>(busy | (usable << 8)));
}

bool CWholeData::isSignalRgbRunning()
{
    return processes_.isRunning(kLauncherExe);
}

}  // namespace quorlin
