#include "link/repeat_limiter.h"

#include "support/fake_clock.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace quorlin {
namespace {

struct Step {
    int afterMs;
    const char* line;
};

struct Case {
    const char* name;
    std::vector<Step> steps;
    const char* expected;  // what the sink holds once the limiter is gone
};

// `count` copies of `line`, one every `everyMs`.
std::vector<Step> repeated(const char* line, int count, int everyMs)
{
    return std::vector<Step>(static_cast<std::size_t>(count), Step{everyMs, line});
}

std::vector<Step> operator+(std::vector<Step> a, const std::vector<Step>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(RepeatLimiterTest, RepeatsAreCountedNotPrintedAndChangesPassAtOnce)
{
    const char* const enumFail = "cannot enumerate dev!";
    const std::vector<Case> cases = {
        // An hour of the light absent: ten tries a second, one line a minute.
        {"minute summaries", repeated(enumFail, 1 + 600 + 600, 100),
         "cannot enumerate dev!\n"
         "cannot enumerate dev! (repeated 600 times)\n"
         "cannot enumerate dev! (repeated 600 times)\n"},
        // The count held back goes out before the new line, which is not delayed.
        {"change", repeated(enumFail, 3, 100) + std::vector<Step>{{100, "usb arrival X"}},
         "cannot enumerate dev!\ncannot enumerate dev! (repeated 2 times)\nusb arrival X\n"},
        {"alternating lines are never held", {{0, "usb arrival X"}, {0, "usb remove X"}, {0, "usb arrival X"}},
         "usb arrival X\nusb remove X\nusb arrival X\n"},
        // A repeat long after the line was printed goes out at once, with its count.
        {"late repeat", {{0, "cannot open dev!"}, {5 * 60'000, "cannot open dev!"}},
         "cannot open dev!\ncannot open dev! (repeated 1 time)\n"},
        {"held count written at the end", repeated(enumFail, 4, 100),
         "cannot enumerate dev!\ncannot enumerate dev! (repeated 3 times)\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::FakeClock clock;
        std::ostringstream sink;
        {
            RepeatLimiter limiter(sink, clock);
            for (const Step& step : c.steps) {
                clock.sleepMs(step.afterMs);
                limiter.line(step.line);
            }
        }
        EXPECT_EQ(sink.str(), c.expected);
    }
}

TEST(RepeatLimiterTest, StreamHandsOverWholeLinesOnly)
{
    test::FakeClock clock;
    std::ostringstream sink;
    RepeatLimiter limiter(sink, clock);
    LimitedLineStream out(limiter);
    out << "cannot " << std::flush;
    EXPECT_EQ(sink.str(), "");
    out << "open dev!" << std::endl << "usb remove \\\\?\\USB#VID_5046\nrest";
    EXPECT_EQ(sink.str(), "cannot open dev!\nusb remove \\\\?\\USB#VID_5046\n");
}

}  // namespace
}  // namespace quorlin
