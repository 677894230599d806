#pragma once
// The main window connected to a simulated light whose settings differ from the
// built-in defaults: brightness 37, breathing 64, parameters 11 22 33 44, Auto,
// losCalc 0x0A.

#include "window/dialog_fixture.h"
#include "window/light_controls.h"

namespace quorlin::test {

// Report bytes: 2 + the setting's place among the fourteen.
enum ReportByte : std::size_t { kBrightness = 4, kBreathing = 5, kParameter1 = 6, kMode = 10, kLosCalc = 15 };

struct ConnectedDialogTest : DialogFixture {
    static constexpr SettingBytes kLight = {0x01, 0x01, 37, 64, 11, 22, 33, 44, 0x02, 0x01, 0x0F, 0x00, 0x02, 0x0A};

    void SetUp() override
    {
        g_scrollEventCount = 0;
        light.setSettings(kLight);
        startDialog();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()) && waitConnected());
        mark();
    }
    // Settings reports on the wire since the last mark().
    auto newWrites() const { auto all = settingsWrites(); all.erase(all.begin(), all.begin() + std::ptrdiff_t(marked)); return all; }
    void mark() { marked = settingsWrites().size(); }

    std::size_t marked = 0;
};

}  // namespace quorlin::test
