#include "link/device_link.h"

#include "link/sim/simulated_light.h"
#include "shell/whole_data.h"
#include "support/fake_clock.h"
#include "support/fake_process_list.h"
#include "support/memory_profile_store.h"
#include "support/locked_stream.h"

#include <gtest/gtest.h>

#include <thread>

namespace quorlin {
namespace {

// The window sends on its thread while the worker, adopting the light's mode after a
// reconnect, sends on its own: the record of the last report must stay whole.
TEST(DeviceLinkThreads, SendsFromBothThreadsKeepTheLastReportConsistent)
{
    test::FakeClock clock;
    sim::SimulatedLight light(clock, 1);
    test::FakeProcessList processes;
    test::MemoryProfileStore profiles;
    CWholeData data(processes, profiles);
    test::LockedStream out;
    DeviceLink link(data, light, clock, out, out);
    data.linkReady = 1;
    data.setLinkBusyUsable(0, 1);
    ASSERT_EQ(link.openDevices(), 1);

    std::thread worker([&] {
        for (int i = 0; i < 2000; ++i) {
            data.operationMode = static_cast<std::uint8_t>(1 + (i & 1));
            link.writeSettings(0);
        }
    });
    for (int i = 0; i < 2000; ++i) {
        data.settings.brightnessLevel = static_cast<std::uint8_t>(i);
        link.sendSettings(0);
    }
    worker.join();
    // Whatever the interleaving, the last build recorded exactly what was sent last.
    OutputReport report{};
    EXPECT_FALSE(link.buildSettingsReport(0, report));
    link.closeDevices();
}

}  // namespace
}  // namespace quorlin
