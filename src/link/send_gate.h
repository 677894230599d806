#pragma once
// The way every sender reaches the light past the link worker: wait until the worker
// lets senders through, hold its polling pass off while writing, let it poll again.
// The window, the transport and quorlinctl all send through here; the waits are part
// of the protocol.

#include <cstdint>
#include <functional>

namespace quorlin {

class CWholeData;
class Clock;
class DeviceLink;

// The step in which a sender waits for the link.
constexpr int kGateStepMs = 10;
// The variant byte of an ordinary settings report (see kDefaultsVariant).
constexpr std::uint8_t kNormalVariant = 0;

// Waits in steps of kGateStepMs until linkReady, turns pollEnabled off while `write`
// runs, then on again. Returns what `write` returned.
int sendThroughGate(CWholeData& data, Clock& clock, const std::function<int()>& write);

// The operation mode the window or tool has chosen, sent: the report's mode field takes
// `operationMode`, a settings report goes through the gate, then one more gate step.
// Returns the transport's sendSettings result (0 while the other lighting program runs).
int sendOperationMode(CWholeData& data, Clock& clock, DeviceLink& link);

enum class OnRefusal { GoOn, Stop };

// The LOS_CALC pulse: losCalc 1, then 0, each sent a gate step after the last, and a
// last gate step after them. A refused report (the other lighting program runs) ends
// the pulse at once with OnRefusal::Stop. Returns -1 when the transport took both
// reports, else the losCalc value of the first one it refused.
int losCalcPulse(CWholeData& data, Clock& clock, DeviceLink& link, OnRefusal onRefusal);

}  // namespace quorlin
