#pragma once
// What the AR8000 and the AR8200 (with the AR8600) show and keep alike: the level calibration,
// the fine scale under its coarse scale, the channel list's columns, the rules of their memory,
// the one attenuator depth of their channels, and their models made of these.

#include <array>
#include <cstdint>
#include <span>

#include "receivers/aor/aor_bank_panel.h"
#include "receivers/aor/aor_panel.h"
#include "receivers/fine_scale.h"
#include "ui/canvas.h"

namespace aor {

// Tenths of dB at raw levels 0, 16, .. 256.
inline constexpr std::array<int32_t, 17> kHandheldCalibration = {
    0, 20, 40, 60, 80, 100, 120, 140, 160, 180, 200, 220, 240, 260, 280, 455, 630};

// The coarse scale above the fine one: 40 pixels, 5 MHz a pixel, the MHz every 500 with the
// ticks a pixel right of their frequency.
// clang-format off
inline constexpr OverviewLabel kHandheldCoarseLabels[] = {
    {"0", 0, 1}, {"  500", 85, 101}, {" 1000", 180, 201}, {" 1500", 275, 301}, {" 2000", 370, 401},
};
// clang-format on

// The fine scale: labels in MHz to 10 kHz under ticks on a double axis, about a third of the
// width apart (a fifth on the stretched window), the page following the tuning label by
// label; the pens of the panels' colour table.
inline constexpr FineScaleLook kHandheldFineScale{.overviewHeight = 40,
                                                  .barDivisor = 5,
                                                  .viewSteps = kKilohertzViewSteps,
                                                  .markScaleItems = true,
                                                  .overviewLabels = kHandheldCoarseLabels,
                                                  .labelFormat = "%5.2f",
                                                  .labelDivisorMaxMon = 5,
                                                  .axis = FineScaleAxis::Ticked,
                                                  .paging = FineScalePaging::ByLabel,
                                                  .colours = {.bar = ui::NumberedColor(2),
                                                              .underMarker = ui::NumberedColor(14),
                                                              .marker = ui::NumberedColor(1),
                                                              .axis = ui::NumberedColor(10),
                                                              .scaleItem = ui::NumberedColor(8)}};

// clang-format off
inline constexpr AorListColumn kHandheldColumns[] = {
    {"Частота", 60, AorColumn::Frequency}, {"Мод", 30, AorColumn::Mode},
    {"Шаг", 36, AorColumn::Step}, {"Уровень", 46, AorColumn::Level},
    {"Атт", 28, AorColumn::Attenuator}, {"Комментарий", 80, AorColumn::Label},
    {"Выбор", 36, AorColumn::Select}, {"Пропуск", 46, AorColumn::Skip},
    {"№", 24, AorColumn::Number},
};
// clang-format on

// Their memory: the state file's memory part has "Банк_поиска" once, search banks kept as
// channels and the whole level scale between, a transfer never writes an empty channel, and
// clearing a bank's copy gives the current search bank limits 0; a read of the whole memory
// asks the set's level before each bank and each channel (the model may ask less); the order
// a read walks the banks in is the model's.
constexpr AorMemoryRules HandheldMemoryRules(AorMemoryRules::ReadOrder readOrder) {
    return {.searchBankKey = AorMemoryRules::SearchBankKey::CurrentOnce,
            .searchBankKeys = AorMemoryRules::SearchBankKeys::AsChannels,
            .scaleKeys = AorMemoryRules::ScaleKeys::Whole,
            .emptyChannels = AorMemoryRules::EmptyChannels::NeverWritten,
            .readOrder = readOrder,
            .searchBanksCleared = AorMemoryRules::SearchBanksCleared::CurrentWithEachBank,
            .readProbes = AorMemoryRules::ReadProbes::EachBankAndChannel};
}

// The attenuator is on or off; on is 10 dB.
inline constexpr uint32_t kHandheldAttenuatorDepths[] = {10};

// A handheld's model: what both show and keep alike (the calibration, the fine scale, the
// list's columns, the tuning to a channel chosen in the list, the upper limit a step above a
// first lower one in the search-bank row, the rules of their memory) around what its class
// gives (limits, bank counts, channel layout) and what it names here; the model sets what else
// it does its own way.
template <class Model>
AorModel HandheldModel(const ui::FormResource& form, std::span<const AorModeEntry> modes,
                       const char* stateFileStem, uint32_t jobBase,
                       AorMemoryRules::ReadOrder readOrder) {
    return {.form = &form,
            .lowerLimit = Model::kLowerLimit,
            .upperLimit = Model::kUpperLimit,
            .banks = Model::kBanks,
            .searchBanks = Model::kSearchBanks,
            .list = {.layout = &Model::kChannelLayout, .modes = modes, .columns = kHandheldColumns},
            .calibration = kHandheldCalibration,
            .stateFileStem = stateFileStem,
            .fineScale = kHandheldFineScale,
            .tunesChosenChannel = true,
            .firstUpperStepAbove = true,
            .memory = HandheldMemoryRules(readOrder),
            .jobBase = jobBase};
}

}  // namespace aor
