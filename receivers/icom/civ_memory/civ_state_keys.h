#pragma once
// The state file's keys of the receiver's switches and levels, which the CI-V sets with a memory
// (the IC-R8500 and the HF sets) keep alike; each set's settings record names the members that
// hold them.

#include <array>
#include <cstdint>
#include <string_view>

#include "receivers/state_file.h"

// The switches in the order written: AGC, the peak filter or preamplifier, the noise blanker
// (CivMemoryPanel::Switches).
template <class Settings>
constexpr std::array<FlagKeyOf<Settings>, 3> CivSwitchKeys(bool Settings::*agc,
                                                           bool Settings::*peak,
                                                           bool Settings::*noiseBlanker) {
    return {{{"АРУ", agc}, {"ПИК", peak}, {"ШУМ", noiseBlanker}}};
}

// The sound level itself: every set reads it, only the IC-R8500 writes it.
inline constexpr const char* kSoundLevelKey = "Уровень_Звук";

// The levels in the order written: what switching the sound on applies, the sound level, the
// squelch threshold, the peak (noise reduction) and the centre (PBT shift).
template <class Settings>
constexpr std::array<LevelKeyOf<Settings>, 5> CivLevelKeys(uint32_t Settings::*defaultSound,
                                                           uint32_t Settings::*sound,
                                                           uint32_t Settings::*squelch,
                                                           uint32_t Settings::*peak,
                                                           uint32_t Settings::*centre) {
    return {{{"Умолчание_Звук", defaultSound},
             {kSoundLevelKey, sound},
             {"Уровень_Порог", squelch},
             {"Уровень_Пик", peak},
             {"Уровень_Центр", centre}}};
}

// The levels written, the sound level only with `soundLevel`.
template <class Settings>
void WriteCivLevels(StateFileWriter& file, const Settings& settings, LevelKeysOf<Settings> keys,
                    bool soundLevel) {
    for (const LevelKeyOf<Settings>& k : keys)
        if (soundLevel || std::string_view(k.key) != kSoundLevelKey)
            file.Number(k.key, settings.*k.level);
}
