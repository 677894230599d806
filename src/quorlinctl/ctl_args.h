#pragma once
// quorlinctl's command line, parsed by hand into one invocation. Parsing only reads
// the words; nothing here touches the light.

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace quorlin::ctl {

enum class Command { Help, Version, Status, SetBrightness, SetBreathing, Mode, Params, LosCalc, Defaults, List };

struct Invocation {
    Command command = Command::Help;
    // set: values[0]; mode: values[0] is 1 (manual) or 2 (auto); params: all four.
    std::array<int, 4> values{};
    bool json = false;
    bool simulate = false;
    std::string device;  // empty: every light found
};

struct ParsedArguments {
    std::optional<Invocation> invocation;
    std::string error;  // why there is none: an unknown word, a value out of range, ...
};

// `args` without the program name. Fails (error set) on anything it does not know,
// on a missing or extra word and on a value out of its range; values are never clamped.
ParsedArguments parseArguments(const std::vector<std::string>& args);

// The one-line usage shown with every argument error.
extern const char* const kUsageLine;
// The full --help text: commands, options and exit codes.
extern const char* const kHelpText;

}  // namespace quorlin::ctl
