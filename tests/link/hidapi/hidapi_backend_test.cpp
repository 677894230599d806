#include "link/hid_api.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace quorlin {
namespace {

TEST(HidapiBackend, FailedOpenLeavesTheReasonInErrno)
{
    HidApi& hid = systemHidApi();
    errno = 0;
    EXPECT_EQ(hid.openPath("no-such-hidraw-node"), nullptr);
    EXPECT_EQ(errno, ENOENT);
    hid.exit();
}

}  // namespace
}  // namespace quorlin
