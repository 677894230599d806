// quorlinctl: the light's settings from the command line. See quorlinctl --help.
#include "quorlinctl.h"

#include "link/sim/demo_light.h"
#include "platform/process_list.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    quorlin::HidApi& hid =
        quorlin::ctl::wantsSimulation(args) ? quorlin::sim::demoLight() : quorlin::systemHidApi();
    quorlin::ctl::Quorlinctl tool(hid, quorlin::systemProcessList(), quorlin::systemClock(), std::cout,
                                  std::cerr, quorlin::systemOpenFailureAdvice());
    return tool.run(args);
}
