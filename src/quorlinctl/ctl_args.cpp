#include "ctl_args.h"

#include <charconv>
#include <string_view>

namespace quorlin::ctl {

// What the system calls the paths `list` shows and --device takes: hidraw nodes on
// Linux, HID interface paths (\\?\hid#...) on Windows.
#ifdef _WIN32
#define QUORLINCTL_PATH_KIND "HID"
#else
#define QUORLINCTL_PATH_KIND "hidraw"
#endif

const char* const kUsageLine =
    "usage: quorlinctl [--simulate] [--device PATH] COMMAND [ARGS]   (quorlinctl --help for more)";

const char* const kHelpText =
    "usage: quorlinctl [--simulate] [--device PATH] COMMAND [ARGS]\n"
    "\n"
    "Reads and changes the settings of the Quorlin Sivane light (USB 5046:5631).\n"
    "Every changing command reads the light's settings first and keeps the others.\n"
    "\n"
    "commands:\n"
    "  status [--json]        print the light's settings (one status query)\n"
    "  set brightness N       brightness level, 0..100\n"
    "  set breathing N        breathing frequency, 0..100\n"
    "  mode manual|auto       operation mode\n"
    "  params P1 P2 P3 P4     panel parameters: 1..255, 1..255, 1..255, 1..100\n"
    "  los-calc               send the LOS_CALC pulse and print the light's value (hex)\n"
    "  defaults               send the built-in defaults, keeping the panel parameters\n"
    "  list                   list each light: " QUORLINCTL_PATH_KIND " paths, serial number, interfaces,\n"
    "                         whether this user can open them (sends nothing)\n"
    "\n"
    "options:\n"
    "  --device PATH          only the light that has this " QUORLINCTL_PATH_KIND " path (see list)\n"
    "  --simulate             use a simulated light inside this process\n"
    "  --json                 status as one JSON object\n"
    "  --help, --version\n"
    "\n"
    "exit codes:\n"
    "  0  done\n"
    "  1  no light found\n"
    "  2  bad arguments or a value out of range (nothing sent)\n"
    "  3  the light was found but could not be opened\n"
    "  4  the other lighting program (SignalRgbLauncher.exe) runs (nothing sent)\n"
    "  5  the light did not reply, its reply was rejected, or a report was not written\n"
    "  6  the output could not be written (standard output closed or full)\n";

namespace {

struct Range {
    const char* name;
    int low;
    int high;
};

constexpr Range kLevel[] = {{"brightness", 0, 100}, {"breathing", 0, 100}};
constexpr Range kParams[] = {{"P1", 1, 255}, {"P2", 1, 255}, {"P3", 1, 255}, {"P4", 1, 100}};

// A whole decimal number within range, or an error text. No sign, no blanks.
std::optional<int> number(std::string_view word, const Range& range, std::string& error)
{
    int value = 0;
    const char* last = word.data() + word.size();
    const auto [end, failure] = std::from_chars(word.data(), last, value);
    const bool digitsOnly = !word.empty() && word.front() != '-' && end == last;
    if (digitsOnly && failure == std::errc() && value >= range.low && value <= range.high)
        return value;
    error = std::string(range.name) + " must be a whole number from " + std::to_string(range.low) +
            " to " + std::to_string(range.high) + ", not '" + std::string(word) + "'";
    return std::nullopt;
}

ParsedArguments failed(std::string error)
{
    return {std::nullopt, std::move(error)};
}

// The command and its values from the words that are not options.
ParsedArguments command(const std::vector<std::string>& words, Invocation invocation)
{
    if (words.empty())
        return failed("no command given");
    const std::string& verb = words[0];
    const std::size_t extra = words.size() - 1;
    std::string error;
    const auto expect = [&](std::size_t count) {
        if (extra != count)
            error = "'" + verb + "' takes " + std::to_string(count) + " value(s), got " + std::to_string(extra);
        return extra == count;
    };

    if (verb == "status" || verb == "los-calc" || verb == "defaults" || verb == "list") {
        if (!expect(0))
            return failed(error);
        invocation.command = verb == "status"     ? Command::Status
                             : verb == "los-calc" ? Command::LosCalc
                             : verb == "defaults" ? Command::Defaults
                                                  : Command::List;
    } else if (verb == "set") {
        if (extra == 0 || (words[1] != "brightness" && words[1] != "breathing"))
            return failed("'set' takes 'brightness N' or 'breathing N'");
        if (extra != 2)
            return failed("'set " + words[1] + "' takes one value");
        const bool brightness = words[1] == "brightness";
        const auto value = number(words[2], kLevel[brightness ? 0 : 1], error);
        if (!value)
            return failed(error);
        invocation.command = brightness ? Command::SetBrightness : Command::SetBreathing;
        invocation.values[0] = *value;
    } else if (verb == "mode") {
        if (extra != 1 || (words[1] != "manual" && words[1] != "auto"))
            return failed("'mode' takes 'manual' or 'auto'");
        invocation.command = Command::Mode;
        invocation.values[0] = words[1] == "manual" ? 1 : 2;
    } else if (verb == "params") {
        if (!expect(4))
            return failed(error);
        for (std::size_t i = 0; i < 4; ++i) {
            const auto value = number(words[i + 1], kParams[i], error);
            if (!value)
                return failed(error);
            invocation.values[i] = *value;
        }
        invocation.command = Command::Params;
    } else {
        return failed("unknown command '" + verb + "'");
    }

    if (invocation.json && invocation.command != Command::Status)
        return failed("--json goes with 'status' only");
    return {invocation, {}};
}

}  // namespace

ParsedArguments parseArguments(const std::vector<std::string>& args)
{
    Invocation invocation;
    bool help = false;
    bool version = false;
    bool deviceGiven = false;
    std::vector<std::string> words;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            help = true;
        } else if (arg == "--version") {
            version = true;
        } else if (arg == "--simulate") {
            invocation.simulate = true;
        } else if (arg == "--json") {
            invocation.json = true;
        } else if (arg == "--device" || arg.rfind("--device=", 0) == 0) {
            if (deviceGiven)
                return failed("--device given twice");
            deviceGiven = true;
            if (arg == "--device") {
                if (++i == args.size())
                    return failed("--device needs a path");
                invocation.device = args[i];
            } else {
                invocation.device = arg.substr(std::string_view("--device=").size());
            }
            if (invocation.device.empty())
                return failed("--device needs a path");
        } else if (arg.size() > 1 && arg[0] == '-' && (arg[1] < '0' || arg[1] > '9')) {
            return failed("unknown option '" + arg + "'");
        } else {
            words.push_back(arg);
        }
    }
    if (help || version) {
        invocation.command = help ? Command::Help : Command::Version;
        return {invocation, {}};
    }
    return command(words, invocation);
}

}  // namespace quorlin::ctl
