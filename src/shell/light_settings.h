#pragma once
// The light's fourteen setting bytes as the program keeps them: a 20-byte block whose
// used bytes sit at fixed offsets. Both threads write single bytes of it, so every
// byte is an atomic of its own.

#include <atomic>
#include <cstddef>
#include <cstdint>

namespace quorlin {

using Byte = std::atomic<std::uint8_t>;

struct LightSettings {
    Byte setting0{0};            // 0
    Byte lightMode{0};           // 1: 1 = keeps on, else breathing
    Byte unused2{0};
    Byte unused3{0};
    Byte brightnessLevel{0};     // 4
    Byte unused5{0};
    Byte unused6{0};
    Byte breathingFrequency{0};  // 7
    Byte unused8{0};
    Byte unused9{0};
    Byte parameter1{0};          // 10
    Byte parameter2{0};          // 11
    Byte parameter3{0};          // 12
    Byte parameter4{0};          // 13
    Byte reportedOperationMode{0};  // 14
    Byte setting9{0};            // 15
    Byte setting10{0};           // 16: 15 after any valid reply
    Byte setting11{0};           // 17
    Byte setting12{0};           // 18: stored from replies, never sent
    Byte losCalc{0};             // 19

    // Byte `offset` (0..19) of the block.
    Byte& at(std::size_t offset) { return this->*kByOffset[offset]; }
    const Byte& at(std::size_t offset) const { return this->*kByOffset[offset]; }

private:
    static constexpr Byte LightSettings::*kByOffset[20] = {
        &LightSettings::setting0, &LightSettings::lightMode, &LightSettings::unused2,
        &LightSettings::unused3, &LightSettings::brightnessLevel, &LightSettings::unused5,
        &LightSettings::unused6, &LightSettings::breathingFrequency, &LightSettings::unused8,
        &LightSettings::unused9, &LightSettings::parameter1, &LightSettings::parameter2,
        &LightSettings::parameter3, &LightSettings::parameter4,
        &LightSettings::reportedOperationMode, &LightSettings::setting9,
        &LightSettings::setting10, &LightSettings::setting11, &LightSettings::setting12,
        &LightSettings::losCalc};
};

static_assert(sizeof(Byte) == 1 && Byte::is_always_lock_free);
static_assert(sizeof(LightSettings) == 20);

}  // namespace quorlin
