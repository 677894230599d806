#pragma once
// quorlinctl's command logic: the light's protocol through the same DeviceLink the
// window uses, with the same waits, the launcher check first and linkLock kept.
// Every dependency comes in through the constructor, so tests run it against a
// simulated light with a recording clock.

#include "link/clock.h"
#include "link/hid_api.h"
#include "platform/open_failure_advice.h"
#include "platform/process_list.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace quorlin::ctl {

class ToolHid;
struct Invocation;

class Quorlinctl {
public:
    // `out` gets the command's result, `err` every complaint; `advice` tells what to
    // do about a light that is listed but will not open.
    Quorlinctl(HidApi& hid, ProcessList& processes, Clock& clock, std::ostream& out, std::ostream& err,
               const OpenFailureAdvice& advice = noOpenFailureAdvice());

    // Parses `args` (without the program name) and runs the command; returns its exit
    // code (exit_codes.h). A bad argument is reported with the usage line before
    // anything is touched; --simulate is the caller's business (it picks `hid`).
    int run(const std::vector<std::string>& args);

private:
    int execute(const Invocation& invocation);
    int list(ToolHid& hid, const std::string& device);

    HidApi& hid_;
    ProcessList& processes_;
    Clock& clock_;
    std::ostream& out_;
    std::ostream& err_;
    const OpenFailureAdvice& advice_;
};

// Whether `args` ask for the simulated light (and parse at all).
bool wantsSimulation(const std::vector<std::string>& args);

}  // namespace quorlin::ctl
