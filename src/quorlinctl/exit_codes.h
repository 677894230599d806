#pragma once
// quorlinctl's exit codes. Scripts rely on them: never renumber, only add.

namespace quorlin::ctl {

enum ExitCode : int {
    kDone = 0,
    kNoLight = 1,          // nothing with the light's USB id (or not at --device)
    kBadArguments = 2,     // usage error or a value out of range; nothing sent
    kNotOpenable = 3,      // the light is there, but an interface would not open
    kLauncherRunning = 4,  // the other lighting program runs; nothing sent
    kNoReply = 5,          // no reply, a rejected reply, or a report not written
    kOutputFailed = 6,     // done, but what it printed could not be written out
};

}  // namespace quorlin::ctl
