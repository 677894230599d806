// The start-up: one copy, the language, the skin, then the main window.
#include "shell/quorlin_app.h"

#include "link/device_link.h"
#include "link/sim/simulated_light.h"
#include "platform/single_instance.h"
#include "shell/whole_data.h"
#include "support/fake_clock.h"
#include "support/fake_dialog_controls.h"
#include "support/fake_process_list.h"
#include "window/quorlin_dlg.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace quorlin::test {
namespace {

namespace fs = std::filesystem;

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

class Application : public ::testing::Test {
protected:
    FakeClock clock;
    FakeProcessList processes;
    CWholeData data{processes};
    sim::SimulatedLight light{clock, 1};
    std::ostringstream out;
    DeviceLink link{data, light, clock, out, out};
    FakePrompts prompts;
    FakeSkin skin;
    RecordingHost host{skin, data};
    fs::path previous = fs::current_path();
    fs::path dir = fs::temp_directory_path() /
                   (std::string("quorlin-app-") + ::testing::UnitTest::GetInstance()->current_test_info()->name());

    void SetUp() override
    {
        fs::create_directories(dir / "lock");
        fs::current_path(dir);
    }
    void TearDown() override
    {
        fs::current_path(previous);
        fs::remove_all(dir);
    }
    AppServices services(SingleInstanceLock& lock) { return {link, light, clock, prompts, skin, host, lock, nullptr}; }
};

TEST_F(Application, ASecondCopyShowsItsMessageAndRunsNoWindow)
{
    SingleInstanceLock first((dir / "lock").string());
    ASSERT_EQ(first.acquire(), SingleInstanceLock::Result::Acquired);
    SingleInstanceLock second((dir / "lock").string());
    CQuorlinApp app(data);
    EXPECT_EQ(app.InitInstance(services(second)), 0);
    EXPECT_EQ(prompts.messages, std::vector<std::string>{"程序已运行"});
    EXPECT_EQ(host.runs, 0);
    EXPECT_TRUE(light.calls().empty());
    EXPECT_TRUE(skin.calls.empty());
}

TEST_F(Application, LanguageAndSkinComeBeforeTheWindow)
{
    std::ofstream("Language.ini", std::ios::binary) << "[Type]\nMyType=English,0;Japanese,1;\n";
    SingleInstanceLock lock((dir / "lock").string());
    CQuorlinApp app(data);
    EXPECT_EQ(app.InitInstance(services(lock)), 0);
    EXPECT_EQ(host.runs, 1);
    EXPECT_TRUE(host.sameData);
    EXPECT_EQ(host.skinWhenRun, std::vector<std::string>{"attach red.she"});
    EXPECT_EQ(host.languageWhenRun, "English,0;Japanese,1;");
}

}  // namespace
}  // namespace quorlin::test
