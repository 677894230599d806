// The real link under Wine: hidapi's Windows backend finds nothing here (under Wine 8
// it cannot even start), and the link says so the way it does on an empty bus. On a
// Windows machine with the light plugged in this suite fails by design: it checks
// the Wine environment the other Windows suites rely on.

#include "link/device_link.h"
#include "shell/whole_data.h"
#include "support/fake_clock.h"
#include "support/fake_process_list.h"
#include "support/memory_profile_store.h"

#include <gtest/gtest.h>

#include <sstream>

namespace quorlin {
namespace {

class RealLinkUnderWine : public ::testing::Test {
protected:
    test::FakeClock clock;
    test::FakeProcessList processes;
    test::MemoryProfileStore profiles;
    CWholeData data{processes, profiles};
    std::ostringstream out, err;
    DeviceLink link{data, systemHidApi(), clock, out, err};

    void SetUp() override { data.setLinkBusyUsable(0, 1); }
    void TearDown() override { systemHidApi().exit(); }
};

TEST_F(RealLinkUnderWine, TheLightsIdEnumeratesToNothing)
{
    HidApi& hid = systemHidApi();
    HidDeviceInfo* found = hid.enumerate(DeviceLink::kVendorId, DeviceLink::kProductId);
    EXPECT_EQ(found, nullptr);
    hid.freeEnumeration(found);
}

TEST_F(RealLinkUnderWine, OpeningSaysItCannotEnumerateAndHoldsNothing)
{
    EXPECT_EQ(link.openDevices(), 0);
    EXPECT_EQ(out.str(), "cannot enumerate dev!\n");
    // Nothing was listed, so there is no open failure to explain.
    EXPECT_EQ(err.str(), "");
    EXPECT_TRUE(data.deviceHandles.empty());
    EXPECT_TRUE(data.deviceInfos.empty());
}

// The worker retries every pass; each pass finds nothing again and says so again.
TEST_F(RealLinkUnderWine, EveryRetryFindsNothingAgain)
{
    for (int pass = 0; pass < 3; ++pass)
        EXPECT_EQ(link.openDevices(), 0);
    EXPECT_EQ(out.str(), "cannot enumerate dev!\ncannot enumerate dev!\ncannot enumerate dev!\n");
}

}  // namespace
}  // namespace quorlin
