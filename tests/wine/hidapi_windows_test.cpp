// The core's HidApi backend over hidapi's own Windows code. Under Wine 8 hidapi cannot
// start, so these hold there and on Windows alike: what fails, fails with a reason,
// and nothing is handed out that the caller could misuse.

#include "link/hid_api.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace quorlin {
namespace {

constexpr unsigned short kNoVendor = 0xFFFF;   // reserved: no device carries it
constexpr unsigned short kNoProduct = 0xFFFF;

TEST(HidapiWindowsBackend, OpeningAPathNoDeviceHasFailsWithAReasonInErrnoAndInWords)
{
    HidApi& hid = systemHidApi();
    errno = 0;
    EXPECT_EQ(hid.openPath(R"(\\?\hid#vid_5046&pid_5631&mi_00#0&0000&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030})"),
              nullptr);
    EXPECT_NE(errno, 0);
    const std::string words = hid.failureText(nullptr);
    EXPECT_FALSE(words.empty());
    EXPECT_NE(words, "Success");
    hid.exit();
}

TEST(HidapiWindowsBackend, AnAbsentDeviceEnumeratesToAnEmptyList)
{
    HidApi& hid = systemHidApi();
    HidDeviceInfo* devices = hid.enumerate(kNoVendor, kNoProduct);
    EXPECT_EQ(devices, nullptr);
    hid.freeEnumeration(devices);
    hid.exit();
}

TEST(HidapiWindowsBackend, ExitWithoutASuccessfulStartIsHarmless)
{
    HidApi& hid = systemHidApi();
    EXPECT_EQ(hid.exit(), 0);
    EXPECT_EQ(hid.exit(), 0);
}

}  // namespace
}  // namespace quorlin
