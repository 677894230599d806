// A backend that fails without setting errno (hidapi's Windows backend never sets it)
// must not make the tool report a stale reason, or "success", as the cause; what the
// backend says instead goes with the failure.
#include "tool_hid.h"

#include "link/sim/simulated_light.h"
#include "support/fake_clock.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

namespace quorlin::ctl {
namespace {

// The simulated light, except that failed opens and writes leave errno untouched.
class SilentFailures final : public HidApi {
public:
    explicit SilentFailures(HidApi& inner) : inner_(inner) {}
    bool failOpen = false;
    bool failWrite = false;

    int init() override { return inner_.init(); }
    int exit() override { return inner_.exit(); }
    HidDeviceInfo* enumerate(unsigned short v, unsigned short p) override { return inner_.enumerate(v, p); }
    void freeEnumeration(HidDeviceInfo* devices) override { inner_.freeEnumeration(devices); }
    HidHandle openPath(const char* path) override
    {
        silentlyFailed_ = failOpen;
        return failOpen ? nullptr : inner_.openPath(path);
    }
    int write(HidHandle device, const unsigned char* data, std::size_t length) override
    {
        silentlyFailed_ = failWrite;
        return failWrite ? -1 : inner_.write(device, data, length);
    }
    int readTimeout(HidHandle device, unsigned char* data, std::size_t length, int timeoutMs) override
    {
        return inner_.readTimeout(device, data, length, timeoutMs);
    }
    void close(HidHandle device) override { inner_.close(device); }
    // Words only for its own failures, which came with no number.
    std::string failureText(HidHandle device) override
    {
        if (!silentlyFailed_)
            return {};
        return device == nullptr ? "open refused" : "write refused";
    }

private:
    HidApi& inner_;
    bool silentlyFailed_ = false;
};

class ToolHidErrnoTest : public ::testing::Test {
protected:
    test::FakeClock clock;
    sim::SimulatedLight light{clock, 1};
    SilentFailures backend{light};
    ToolHid hid{backend, ""};
    const unsigned char report[2] = {0x00, 0x12};
};

TEST_F(ToolHidErrnoTest, OpenFailureWithoutAReasonReadsAsAnIoErrorNotAStaleOne)
{
    backend.failOpen = true;
    errno = EACCES;  // left over from something else: not this open's reason
    EXPECT_EQ(hid.openPath("sim-quorlin:0"), nullptr);
    ASSERT_EQ(hid.openFailures().size(), 1u);
    EXPECT_EQ(hid.openFailures()[0].error, EIO);
    EXPECT_EQ(errno, EIO);
    EXPECT_EQ(describe(hid.openFailures()[0]), std::string(std::strerror(EIO)) + " (open refused)");
}

TEST_F(ToolHidErrnoTest, OpenFailureKeepsTheReasonTheBackendGave)
{
    light.failOpen(0, EACCES);
    EXPECT_EQ(hid.openPath("sim-quorlin:0"), nullptr);
    ASSERT_EQ(hid.openFailures().size(), 1u);
    EXPECT_EQ(hid.openFailures()[0].error, EACCES);
    EXPECT_EQ(describe(hid.openFailures()[0]), std::strerror(EACCES)) << "the number says it all";
}

TEST_F(ToolHidErrnoTest, WriteFailureWithoutAReasonReadsAsAnIoError)
{
    HidHandle handle = hid.openPath("sim-quorlin:0");
    ASSERT_NE(handle, nullptr);
    backend.failWrite = true;
    errno = 0;  // a failure must never read as "success"
    EXPECT_EQ(hid.write(handle, report, sizeof report), -1);
    EXPECT_EQ(hid.failedWrites(), 1);
    EXPECT_EQ(hid.lastWriteFailure().error, EIO);
    EXPECT_EQ(hid.lastWriteFailure().path, "sim-quorlin:0");
    EXPECT_EQ(hid.lastWriteFailure().detail, "write refused");
    hid.close(handle);
}

}  // namespace
}  // namespace quorlin::ctl
