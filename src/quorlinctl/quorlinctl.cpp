#include "quorlinctl.h"

#include "ctl_args.h"
#include "exit_codes.h"
#include "lights.h"
#include "status_output.h"
#include "tool_hid.h"

#include "licence.h"
#include "link/device_link.h"
#include "link/send_gate.h"
#include "link/settings_reports.h"
#include "platform/open_failure_advice.h"
#include "platform/profile_store.h"
#include "shell/whole_data.h"

#include <cstdio>
#include <functional>
#include <ostream>

namespace quorlin::ctl {
namespace {

std::string hex(unsigned value, int digits)
{
    char text[16];
    std::snprintf(text, sizeof text, "%0*X", digits, value);
    return text;
}

int noLight(std::ostream& err, const std::string& device)
{
    err << "quorlinctl: no light found";
    if (device.empty())
        err << " (USB " << hex(DeviceLink::kVendorId, 4) << ':' << hex(DeviceLink::kProductId, 4) << ").\n";
    else
        err << " at " << device << ".\n";
    return kNoLight;
}

int notOpenable(std::ostream& err, const HidFailure& failure, const OpenFailureAdvice& advice)
{
    err << "quorlinctl: the light is plugged in, but " << failure.path << " could not be opened: "
        << describe(failure) << ".\n";
    advice.write(err, failure.error);
    return kNotOpenable;
}

// quorlinctl never reads or writes the window's language setting.
class NoProfileStore final : public ProfileStore {
public:
    std::string read(std::string_view, std::string_view, std::string_view defaultValue, const std::string&) override
    {
        return std::string(defaultValue);
    }
    ProfileWrite write(std::string_view, std::string_view, std::string_view, const std::string&) override
    {
        return ProfileWrite::notWritten;
    }
};

}  // namespace

// One run against the light: the window's data object and transport, primed the way
// the window primes them, so every wait and check of the protocol applies unchanged.
class Session {
public:
    Session(ToolHid& hid, ProcessList& processes, Clock& clock, std::ostream& out, std::ostream& err,
            const OpenFailureAdvice& advice)
        : hid_(hid), clock_(clock), out_(out), err_(err), advice_(advice), data_(processes, noProfiles_),
          link_(data_, hid, clock, silent_, silent_)
    {
        data_.setLinkBusyUsable(0, 1);
        data_.linkReady = 1;
        data_.pollEnabled = 1;
    }
    ~Session() { link_.closeDevices(); }

    int run(const Invocation& invocation);

private:
    int open(const std::string& device);
    int readState();
    int send(std::uint8_t variant);
    // Runs `sending` (a transport send, 0 when refused) and says how it went.
    int sendWith(const std::function<int()>& sending);
    int losCalcPulse();
    int exchangeFailed(const char* what);
    int launcherRunning(bool nothingSent);

    ToolHid& hid_;
    Clock& clock_;
    std::ostream& out_;
    std::ostream& err_;
    const OpenFailureAdvice& advice_;
    std::ostream silent_{nullptr};  // DeviceLink's diagnostics: the tool says it better
    NoProfileStore noProfiles_;
    CWholeData data_;
    DeviceLink link_;
};

int Session::run(const Invocation& invocation)
{
    if (data_.isSignalRgbRunning())
        return launcherRunning(true);
    if (const int code = open(invocation.device); code != kDone)
        return code;
    if (const int code = readState(); code != kDone)
        return code;

    // Whatever the command leaves alone goes back as the light reported it.
    data_.operationMode = data_.settings.reportedOperationMode.load();
    LightSettings& s = data_.settings;
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(invocation.values[i]); };
    switch (invocation.command) {
    case Command::Status:
        printStatus(out_, s, invocation.json);
        return kDone;
    case Command::SetBrightness:
        s.brightnessLevel = byte(0);
        return send(kNormalVariant);
    case Command::SetBreathing:
        s.breathingFrequency = byte(0);
        return send(kNormalVariant);
    case Command::Mode: {
        data_.operationMode = byte(0);
        return sendWith([&] { return sendOperationMode(data_, clock_, link_); });
    }
    case Command::Params:
        s.parameter1 = byte(0);
        s.parameter2 = byte(1);
        s.parameter3 = byte(2);
        s.parameter4 = byte(3);
        return send(kNormalVariant);
    case Command::Defaults:
        return send(kDefaultsVariant);
    case Command::LosCalc:
        return losCalcPulse();
    default:
        return kBadArguments;
    }
}

int Session::open(const std::string& device)
{
    const int opened = link_.openDevices();
    const auto& failures = hid_.openFailures();
    if (opened != 0 && failures.empty())
        return kDone;
    if (opened == 0 && failures.empty())
        return noLight(err_, device);
    // The window reads nothing while an interface is shut, and neither does the tool.
    return notOpenable(err_, failures.front(), advice_);
}

int Session::readState()
{
    // A query can "succeed" without reading (a request write that reports an odd
    // length reads nothing); only the stored mark proves a reply was applied.
    if (link_.queryStatus() == 0 || data_.settings.setting10.load() != kReplyMark)
        return exchangeFailed("status request");
    return kDone;
}

int Session::send(std::uint8_t variant)
{
    return sendWith([&] { return link_.sendSettings(variant); });
}

int Session::sendWith(const std::function<int()>& sending)
{
    hid_.forgetWriteFailures();
    if (sending() == 0)
        return launcherRunning(true);
    if (hid_.failedWrites() != 0)
        return exchangeFailed("settings report");
    return kDone;
}

int Session::losCalcPulse()
{
    // The window's LOS_CALC pulse; a refused report ends it.
    hid_.forgetWriteFailures();
    if (const int refused = quorlin::losCalcPulse(data_, clock_, link_, OnRefusal::Stop); refused >= 0)
        return launcherRunning(refused == 1);
    if (hid_.failedWrites() != 0)
        return exchangeFailed("settings report");
    // The light's answer shows in its next status reply.
    if (const int code = readState(); code != kDone)
        return code;
    out_ << "LOS_CALC: " << losCalcText(data_.settings.losCalc.load()) << '\n';
    return kDone;
}

int Session::exchangeFailed(const char* what)
{
    if (data_.isSignalRgbRunning())
        return launcherRunning(false);
    if (hid_.failedWrites() != 0) {
        err_ << "quorlinctl: the " << what << " could not be written to " << hid_.lastWriteFailure().path << ": "
             << describe(hid_.lastWriteFailure()) << ".\n";
    } else if (hid_.lastReadResult() <= 0) {
        err_ << "quorlinctl: the light did not answer the status request within "
             << DeviceLink::kReplyTimeoutMs << " ms.\n";
    } else {
        err_ << "quorlinctl: the light's reply was rejected (validity mark 0x" << hex(hid_.lastReadMark(), 2)
             << ", expected 0x" << hex(kReplyMark, 2) << ").\n";
    }
    return kNoReply;
}

int Session::launcherRunning(bool nothingSent)
{
    err_ << "quorlinctl: the other lighting program (" << CWholeData::kLauncherExe << ") is running; "
         << (nothingSent ? "nothing was sent to the light" : "the exchange was broken off") << ".\n";
    return kLauncherRunning;
}

Quorlinctl::Quorlinctl(HidApi& hid, ProcessList& processes, Clock& clock, std::ostream& out, std::ostream& err,
                       const OpenFailureAdvice& advice)
    : hid_(hid), processes_(processes), clock_(clock), out_(out), err_(err), advice_(advice)
{
}

int Quorlinctl::run(const std::vector<std::string>& args)
{
    const ParsedArguments parsed = parseArguments(args);
    if (!parsed.invocation) {
        err_ << "quorlinctl: " << parsed.error << '\n' << kUsageLine << '\n';
        return kBadArguments;
    }
    const int code = execute(*parsed.invocation);
    // A script must not take a status it never received for a success.
    if (!out_.flush()) {
        err_ << "quorlinctl: the output could not be written.\n";
        return code == kDone ? kOutputFailed : code;
    }
    return code;
}

int Quorlinctl::execute(const Invocation& invocation)
{
    if (invocation.command == Command::Help) {
        out_ << kHelpText;
        return kDone;
    }
    if (invocation.command == Command::Version) {
        out_ << "quorlinctl " << QUORLINCTL_VERSION << '\n' << kLicenceNotice << '\n';
        return kDone;
    }

    ToolHid hid(hid_, invocation.device);
    hid.init();
    int code = kDone;
    if (invocation.command == Command::List) {
        code = list(hid, invocation.device);
    } else {
        Session session(hid, processes_, clock_, out_, err_, advice_);
        code = session.run(invocation);
    }
    hid.exit();
    return code;
}

int Quorlinctl::list(ToolHid& hid, const std::string& device)
{
    HidDeviceInfo* found = hid.enumerate(DeviceLink::kVendorId, DeviceLink::kProductId);
    const std::vector<Light> lights = groupLights(found);
    hid.freeEnumeration(found);
    if (lights.empty())
        return noLight(err_, device);
    HidFailure failure;
    for (std::size_t i = 0; i < lights.size(); ++i) {
        const Light& light = lights[i];
        const std::size_t count = light.paths.size();
        out_ << "light " << i + 1 << ": serial " << (light.serial.empty() ? "(none)" : light.serial) << ", "
             << count << (count == 1 ? " interface" : " interfaces") << '\n';
        for (const std::string& path : light.paths) {
            // Opening sends nothing to the light.
            if (HidHandle handle = hid.openPath(path.c_str())) {
                hid.close(handle);
                out_ << "  " << path << ": openable\n";
            } else {
                const HidFailure& now = hid.openFailures().back();
                if (failure.error == 0 || (advice_.isPermissionError(now.error) && !advice_.isPermissionError(failure.error)))
                    failure = now;
                out_ << "  " << path << ": not openable (" << describe(now) << ")\n";
            }
        }
    }
    return failure.error == 0 ? kDone : notOpenable(err_, failure, advice_);
}

bool wantsSimulation(const std::vector<std::string>& args)
{
    const ParsedArguments parsed = parseArguments(args);
    return parsed.invocation && parsed.invocation->simulate;
}

}  // namespace quorlin::ctl
