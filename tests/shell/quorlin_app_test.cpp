// The start-up: one copy, the language, the skin, then the main window.
#include "shell/quorlin_app.h"

#include "link/device_link.h"
#include "link/sim/simulated_light.h"
#include "platform/single_instance.h"
#include "shell/whole_data.h"
#include "support/fake_clock.h"
#include "support/fake_dialog_controls.h"
#include "support/fake_process_list.h"
#include "support/memory_profile_store.h"
#include "window/quorlin_dlg.h"

#include <gtest/gtest.h>

#include <sstream>

namespace quorlin::test {
namespace {

// Records what the start-up had done by the time it asked for the window.
struct RecordingHost : MainWindowHost {
    FakeSkin& skin;
    CWholeData& data;
    explicit RecordingHost(FakeSkin& s, CWholeData& d) : skin(s), data(d) {}
    void runMainWindow(const DialogServices& services) override
    {
        ++runs;
        skinWhenRun = skin.calls;
        languageWhenRun = data.languageType;
        sameData = &services.data == &data;
    }
    int runs = 0;
    std::vector<std::string> skinWhenRun;
    std::string languageWhenRun;
    bool sameData = false;
};

// A single-instance token whose answer the test sets.
struct FakeInstance final : SingleInstance {
    explicit FakeInstance(Result r) : result(r) {}
    Result acquire() override { return result; }
    Result result;
};

class Application : public ::testing::Test {
protected:
    FakeClock clock;
    FakeProcessList processes;
    MemoryProfileStore profiles;
    CWholeData data{processes, profiles};
    sim::SimulatedLight light{clock, 1};
    std::ostringstream out;
    DeviceLink link{data, light, clock, out, out};
    FakePrompts prompts;
    FakeSkin skin;
    RecordingHost host{skin, data};

    AppServices services(SingleInstance& instance) { return {link, light, clock, prompts, skin, host, instance, nullptr}; }
};

TEST_F(Application, ASecondCopyShowsItsMessageAndRunsNoWindow)
{
    FakeInstance second(SingleInstance::Result::AlreadyRunning);
    CQuorlinApp app(data);
    EXPECT_EQ(app.InitInstance(services(second)), 0);
    EXPECT_EQ(prompts.messages, std::vector<std::string>{"程序已运行"});
    EXPECT_EQ(host.runs, 0);
    EXPECT_TRUE(light.calls().empty());
    EXPECT_TRUE(skin.calls.empty());
}

TEST_F(Application, WithoutAnInstanceTokenTheWindowStillRuns)
{
    FakeInstance unguarded(SingleInstance::Result::Unguarded);
    CQuorlinApp app(data);
    EXPECT_EQ(app.InitInstance(services(unguarded)), 0);
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(host.runs, 1);
}

TEST_F(Application, LanguageAndSkinComeBeforeTheWindow)
{
    profiles.files[CWholeData::kDefaultIniPath] = "[Type]\nMyType=English,0;Japanese,1;\n";
    FakeInstance first(SingleInstance::Result::Acquired);
    CQuorlinApp app(data);
    EXPECT_EQ(app.InitInstance(services(first)), 0);
    EXPECT_EQ(host.runs, 1);
    EXPECT_TRUE(host.sameData);
    EXPECT_EQ(host.skinWhenRun, std::vector<std::string>{"attach red.she"});
    EXPECT_EQ(host.languageWhenRun, "English,0;Japanese,1;");
}

}  // namespace
}  // namespace quorlin::test
