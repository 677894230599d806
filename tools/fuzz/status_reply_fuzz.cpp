// Status replies from the light: only a reply marked 15 at byte 12 is applied, its
// fourteen setting bytes land in their fields unless the link is busy or unusable,
// and the next settings report carries them back out.
#include "link/settings_reports.h"
#include "shell/whole_data.h"

#include "no_processes.h"
#include "platform/profile_store.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

namespace {

using namespace quorlin;

// Where reply setting byte k belongs, as offsets into the settings block.
constexpr std::size_t kFieldOf[kSettingCount] = {0, 1, 4, 7, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    NoProcesses processes;
    CWholeData whole(processes, quorlin::systemProfileStore());
    const std::uint8_t busy = input.ConsumeIntegral<std::uint8_t>() % 3 == 0;
    const std::uint8_t usable = input.ConsumeIntegral<std::uint8_t>() % 3 != 0;
    whole.setLinkBusyUsable(busy, usable);
    whole.operationMode = input.ConsumeIntegral<std::uint8_t>();
    for (std::size_t offset = 0; offset < 20; ++offset)
        whole.settings.at(offset) = input.ConsumeIntegral<std::uint8_t>();
    std::uint8_t before[20];
    for (std::size_t offset = 0; offset < 20; ++offset)
        before[offset] = whole.settings.at(offset);
    StatusReply reply{};
    const auto bytes = input.ConsumeBytes<std::uint8_t>(kStatusReplySize);
    std::copy(bytes.begin(), bytes.end(), reply.begin());

    std::size_t appliedCount = 0;
    const bool accepted = applyStatusReply(reply, whole, [&](std::uint8_t) { ++appliedCount; });
    if (accepted != (reply[kReplyMarkIndex] == kReplyMark))
        std::abort();
    const bool stored = accepted && !busy && usable;
    if (appliedCount != (stored ? kSettingCount : 0))
        std::abort();
    for (std::size_t offset = 0; offset < 20; ++offset) {
        std::uint8_t expected = before[offset];
        for (std::size_t k = 0; stored && k < kSettingCount; ++k)
            expected = kFieldOf[k] == offset ? reply[2 + k] : expected;
        if (whole.settings.at(offset) != expected)
            std::abort();
    }

    OutputReport report{};
    SettingBytes lastSent{};
    const std::uint8_t variant = input.ConsumeIntegral<std::uint8_t>();
    buildSettingsReport(variant, report, whole, lastSent);
    if (report[0] != 0 || report[1] != kSettingsCommand)
        std::abort();
    for (std::size_t i = 2 + kSettingCount; i < report.size(); ++i) {
        if (report[i] != 0)
            std::abort();
    }
    for (std::size_t k = 0; variant != kDefaultsVariant && k < kSettingCount; ++k) {
        const std::uint8_t expected = k == 8 ? whole.operationMode.load() : k == 12 ? 0x02 : whole.settings.at(kFieldOf[k]).load();
        if (report[2 + k] != expected || lastSent[k] != expected)
            std::abort();
    }
    return 0;
}
