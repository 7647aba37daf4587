#pragma once
// What the AR8000 and the AR8200 (with the AR8600) show alike: the level calibration, the
// fine scale under its coarse scale, the channel list's columns, the one attenuator depth of
// their channels, and the panel's keys their state files hold alike.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>

#include "receivers/aor/aor_panel.h"
#include "receivers/fine_scale.h"

class StateFileWriter;

namespace aor {

// Tenths of dB at raw levels 0, 16, .. 256.
inline constexpr std::array<int32_t, 17> kHandheldCalibration = {
    0, 20, 40, 60, 80, 100, 120, 140, 160, 180, 200, 220, 240, 260, 280, 455, 630};

// The coarse scale above the fine one: 40 pixels, 5 MHz a pixel, the MHz every 500.
inline constexpr FineScaleLook kHandheldFineScale{.overviewHeight = 40,
                                                  .barDivisor = 5,
                                                  .viewSteps = kKilohertzViewSteps,
                                                  .markScaleItems = true,
                                                  .overviewLabelEvery = 5'000'000};

// clang-format off
inline constexpr AorListColumn kHandheldColumns[] = {
    {"Частота", 60, AorColumn::Frequency}, {"Мод", 30, AorColumn::Mode},
    {"Шаг", 36, AorColumn::Step}, {"Уровень", 46, AorColumn::Level},
    {"Атт", 28, AorColumn::Attenuator}, {"Комментарий", 80, AorColumn::Label},
    {"Выбор", 36, AorColumn::Select}, {"Пропуск", 46, AorColumn::Skip},
    {"№", 24, AorColumn::Number},
};
// clang-format on

// The attenuator is on or off; on is 10 dB.
inline constexpr uint32_t kHandheldAttenuatorDepths[] = {10};

// The panel's keys of the state file: the current bank ("Банк"), each bank's selected channel
// ("Позиция_Банк"), the attenuator and sound boxes and the direct-writing and whole-memory
// boxes. Read key by key into copies that the panel takes once the whole file was read; a bank
// or a channel the panel has not is not taken. A box's key stands in the file while it is set.
class HandheldKeys {
  public:
    HandheldKeys(const AorPanel& panel, int banks);
    // "Банк", then what the model writes after it (`afterBank`), then the rest.
    static void Write(StateFileWriter& file, const AorPanel& panel,
                      const std::function<void()>& afterBank = {});
    // True when the key is one of these.
    bool Take(std::string_view key, uint32_t number);
    void GiveTo(AorPanel& panel) const;

  private:
    int banks_, channels_;
    int32_t bank_;
    std::array<int32_t, AorPanel::kBankPositions> positions_;
    std::size_t positionCount_ = 0;
    bool attenuator_ = false, sound_ = false, direct_ = false, whole_ = false;
};

}  // namespace aor
