// quorlin-standin-light.exe [FOLDER]: the stand-in light for programs running under
// Wine with the stand-in hid.dll and cfgmgr32.dll beside them (README.md). FOLDER is
// the control folder (default: QUORLIN_STANDIN_DIR). Serves until it is ended.

#include "folder.h"
#include "pipe_light.h"

#include "link/clock.h"
#include "link/sim/simulated_light.h"

#include <cstdio>
#include <cwchar>
#include <windows.h>

int wmain(int argc, wchar_t** argv)
{
    namespace win = quorlin::standin::win;
    if (argc > 2 || (argc == 2 && std::wcscmp(argv[1], L"--help") == 0)) {
        std::fputs("usage: quorlin-standin-light [FOLDER]\n", stderr);
        return 2;
    }
    if (argc == 2)
        win::setControlDir(argv[1]);
    if (win::controlDir().empty()) {
        std::fputs("quorlin-standin-light: no control folder (give one or set QUORLIN_STANDIN_DIR)\n", stderr);
        return 2;
    }
    CreateDirectoryW(win::controlDir().c_str(), nullptr);
    quorlin::sim::SimulatedLight light(quorlin::systemClock());
    win::PipeLight server(light);
    if (!server.ready()) {
        std::fputs("quorlin-standin-light: no completion port\n", stderr);
        return 1;
    }
    server.run();
    return 0;
}
