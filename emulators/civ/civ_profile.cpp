#include "emulators/civ/civ_profile.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace emulators {

namespace {

using Op = CivOperation;
using Scan = CivScanAction;

constexpr CivCommand kIcR8500Commands[] = {
    {0x03, kNoSubCommand, Op::ReadFrequency},
    {0x04, kNoSubCommand, Op::ReadMode},
    {0x05, kNoSubCommand, Op::SetFrequency},
    {0x06, kNoSubCommand, Op::SetMode},
    {0x08, kNoSubCommand, Op::SelectMemory},
    {0x0E, kNoSubCommand, Op::Scan},
    {0x10, kNoSubCommand, Op::Step},
    {0x11, kNoSubCommand, Op::Attenuator},
    {0x14, 0x01, Op::AfLevel},
    {0x14, 0x03, Op::SquelchLevel},
    {0x14, 0x04, Op::IfShift},
    {0x14, 0x05, Op::ApfLevel},
    {0x15, 0x01, Op::SquelchState},
    {0x15, 0x02, Op::SignalLevel},
    {0x16, kNoSubCommand, Op::Function},
    {0x18, kNoSubCommand, Op::Power},
    {0x19, 0x00, Op::Identity},
    {0x1A, 0x00, Op::WriteChannel},
    {0x1A, 0x01, Op::ReadChannel},
    {0x1A, 0x02, Op::WriteBankName},
    {0x1A, 0x03, Op::ReadBankName},
};

constexpr CivMode kIcR8500Modes[] = {
    {kModeLsb, 0x01, 0x01}, {kModeUsb, 0x01, 0x01}, {kModeAm, 0x02, 0x03},
    {kModeCw, 0x01, 0x02},  {kModeFm, 0x01, 0x02},  {kModeWfm, 0x01, 0x01},
};

// Codes 00..12; 13 is the programmed step.
constexpr uint32_t kIcR8500Steps[] = {10,     50,     100,    1'000,  2'500,   5'000,    9'000,
                                      10'000, 12'500, 20'000, 25'000, 100'000, 1'000'000};

constexpr uint8_t kIcR8500Attenuators[] = {0, 10, 20, 30};

constexpr CivScanCommand kIcR8500Scans[] = {
    {0x00, Scan::Stop},          {0x02, Scan::ProgrammedScan}, {0x04, Scan::AutoWriteScan},
    {0x22, Scan::MemoryScan},    {0x23, Scan::SelectScan},     {0x24, Scan::ModeScan},
    {0x42, Scan::PriorityWatch}, {0xC0, Scan::VscOff},         {0xC1, Scan::VscOn},
    {0xD0, Scan::ResumeOff},     {0xD1, Scan::ResumeWhenGone}, {0xD3, Scan::ResumeAfterDelay},
};

constexpr CivField kIcR8500Record[] = {
    CivField::Frequency,  CivField::Mode,     CivField::Filter, CivField::Step,
    CivField::Attenuator, CivField::ScanFlag, CivField::Name,
};

// The IC-R10's CI-V is the tuning part only: frequency, mode, and the meter.
constexpr CivCommand kIcR10Commands[] = {
    {0x03, kNoSubCommand, Op::ReadFrequency},
    {0x04, kNoSubCommand, Op::ReadMode},
    {0x05, kNoSubCommand, Op::SetFrequency},
    {0x06, kNoSubCommand, Op::SetMode},
    {0x15, 0x02, Op::SignalLevel},
};

constexpr CivMode kIcR10Modes[] = {
    {kModeLsb, 0x01, 0x01}, {kModeUsb, 0x01, 0x01}, {kModeAm, 0x01, 0x01},
    {kModeCw, 0x01, 0x01},  {kModeFm, 0x01, 0x01},  {kModeWfm, 0x01, 0x01},
};

// The IC-R9000 also has RTTY (FSK).
constexpr CivMode kIcR9000Modes[] = {
    {kModeLsb, 0x01, 0x01}, {kModeUsb, 0x01, 0x01}, {kModeAm, 0x01, 0x01},  {kModeCw, 0x01, 0x01},
    {0x04, 0x01, 0x01},     {kModeFm, 0x01, 0x01},  {kModeWfm, 0x01, 0x01},
};

// The HF sets of the family -------------------------------------------------------------

// Both read a channel with 1A 00 and the channel number alone, and have no banks.
constexpr CivCommand kHfCommands[] = {
    {0x03, kNoSubCommand, Op::ReadFrequency},
    {0x04, kNoSubCommand, Op::ReadMode},
    {0x05, kNoSubCommand, Op::SetFrequency},
    {0x06, kNoSubCommand, Op::SetMode},
    {0x08, kNoSubCommand, Op::SelectMemory},
    {0x0E, kNoSubCommand, Op::Scan},
    {0x10, kNoSubCommand, Op::Step},
    {0x11, kNoSubCommand, Op::Attenuator},
    {0x12, kNoSubCommand, Op::Switch},
    {0x14, 0x01, Op::AfLevel},
    {0x14, 0x03, Op::SquelchLevel},
    {0x14, 0x06, Op::NoiseReduction},
    {0x14, 0x07, Op::PbtShift},
    {0x15, 0x01, Op::SquelchState},
    {0x15, 0x02, Op::SignalLevel},
    {0x16, 0x02, Op::Switch},
    {0x16, 0x12, Op::Switch},
    {0x16, 0x22, Op::Switch},
    {0x19, 0x00, Op::Identity},
    {0x1A, 0x00, Op::MemoryContents},
};

constexpr CivCommand kIc756ProCommands[] = {
    {0x1C, 0x00, Op::Switch},
    {0x1C, 0x01, Op::Switch},
};

constexpr CivCommand kIcR75Commands[] = {
    {0x18, kNoSubCommand, Op::Power},
};

// Filters 01 (wide) .. 03 (narrow), 02 when the mode comes without one.
constexpr CivMode kIc756ProModes[] = {
    {kModeLsb, 0x02, 0x03},       {kModeUsb, 0x02, 0x03},         {kModeAm, 0x02, 0x03},
    {kModeCw, 0x02, 0x03},        {kModeRtty, 0x02, 0x03},        {kModeFm, 0x02, 0x03},
    {kModeCwReverse, 0x02, 0x03}, {kModeRttyReverse, 0x02, 0x03},
};

constexpr CivMode kIcR75Modes[] = {
    {kModeLsb, 0x02, 0x03},       {kModeUsb, 0x02, 0x03},         {kModeAm, 0x02, 0x03},
    {kModeCw, 0x02, 0x03},        {kModeRtty, 0x02, 0x03},        {kModeFm, 0x02, 0x03},
    {kModeCwReverse, 0x02, 0x03}, {kModeRttyReverse, 0x02, 0x03}, {kModeSyncAm, 0x02, 0x03},
};

// Codes 00..08 and 00..11; neither set has a programmed step.
constexpr uint32_t kIc756ProSteps[] = {10,     100,    1'000,  5'000, 9'000,
                                       10'000, 12'500, 20'000, 25'000};
constexpr uint32_t kIcR75Steps[] = {10,     100,    1'000,  5'000,  6'250,   9'000,
                                    10'000, 12'500, 20'000, 25'000, 100'000, 1'000'000};

constexpr uint8_t kIc756ProAttenuators[] = {0, 6, 12, 18};
constexpr uint8_t kIcR75Attenuators[] = {0, 20};

constexpr CivScanCommand kHfScans[] = {
    {0x00, Scan::Stop},           {0x01, Scan::ProgrammedOrMemoryScan},
    {0x02, Scan::ProgrammedScan}, {0x03, Scan::DeltaScan},
    {0x22, Scan::MemoryScan},     {0x23, Scan::SelectScan},
    {0xD0, Scan::ResumeOff},      {0xD3, Scan::ResumeAfterDelay},
};

// Antenna, preamplifier, AGC (fast, mid, slow), noise blanker; transmit (read only) and tuner.
constexpr CivSwitch kIc756ProSwitches[] = {
    {0x12, kNoSubCommand, 0, 1, 0}, {0x16, 0x02, 0, 2, 0},        {0x16, 0x12, 1, 3, 1},
    {0x16, 0x22, 0, 1, 0},          {0x1C, 0x00, 0, 1, 0, false}, {0x1C, 0x01, 0, 2, 0},
};

// Antenna, preamplifier, AGC (off, fast, slow), noise blanker.
constexpr CivSwitch kIcR75Switches[] = {
    {0x12, kNoSubCommand, 0, 1, 0},
    {0x16, 0x02, 0, 2, 0},
    {0x16, 0x12, 0, 2, 1},
    {0x16, 0x22, 0, 1, 0},
};

// After the channel number: the select byte, then frequency, mode and filter, then the
// IC-756PRO's tone settings or the IC-R75's attenuator, preamplifier and antenna.
constexpr CivField kIc756ProRecord[] = {
    CivField::Select,    CivField::Frequency,    CivField::Mode,        CivField::Filter,
    CivField::ToneFlags, CivField::RepeaterTone, CivField::SquelchTone, CivField::Name,
};
constexpr CivField kIcR75Record[] = {
    CivField::Select,     CivField::Frequency, CivField::Mode,    CivField::Filter,
    CivField::Attenuator, CivField::Preamp,    CivField::Antenna, CivField::Name,
};

// 101 channels: 1..99, and 100, 101 the edges of the programmed scan.
constexpr CivMemoryLayout HfMemory(size_t nameLength, std::span<const CivField> record) {
    return {.banks = 1,
            .channelsPerBank = 101,
            .channelNameLength = nameLength,
            .bankNameLength = 0,
            .edgeBank = 0,
            .edgeChannel = 100,
            .firstChannel = 1,
            .bankInAddress = false,
            .record = record};
}

// On the short waves, below the other models' carriers.
constexpr Signal kShortWaveCarriers[] = {
    {6'055'000, 170, 9'000},    // 49 m broadcast
    {9'650'000, 190, 9'000},    // 31 m broadcast
    {14'200'000, 120, 3'000},   // 20 m amateur
    {21'500'000, 140, 9'000},   // 13 m broadcast
    {27'185'000, 130, 10'000},  // citizens band
};

template <size_t A, size_t B>
constexpr auto Join(const CivCommand (&a)[A], const CivCommand (&b)[B]) {
    std::array<CivCommand, A + B> all{};
    for (size_t i = 0; i < A; ++i) all[i] = a[i];
    for (size_t i = 0; i < B; ++i) all[A + i] = b[i];
    return all;
}

constexpr auto kIc756ProAll = Join(kHfCommands, kIc756ProCommands);
constexpr auto kIcR75All = Join(kHfCommands, kIcR75Commands);

}  // namespace

const CivProfile kIcR8500{
    .model = "IC-R8500",
    .option = "ic8500",
    .defaultAddress = 0x4A,
    .lowerLimitHz = 100'000,
    .upperLimitHz = 2'000'000'000,
    .commands = kIcR8500Commands,
    .modes = kIcR8500Modes,
    .stepsHz = kIcR8500Steps,
    .programmedStep = true,
    .attenuatorsDb = kIcR8500Attenuators,
    .scans = kIcR8500Scans,
    .switches = {},
    .memory = {.banks = 25,
               .channelsPerBank = 100,
               .channelNameLength = 8,
               .bankNameLength = 5,
               .autoWriteBank = 21,
               .skipBank = 22,
               .edgeBank = 23,
               .record = kIcR8500Record},
    .transceive = true,
    .startFrequencyHz = 101'700'000,
    .startMode = kModeWfm,
    .startFilter = 0x01,
    .carriers = {},
};

const CivProfile kIcR10{
    .model = "IC-R10",
    .option = "ic10",
    .defaultAddress = 0x52,
    .lowerLimitHz = 500'000,
    .upperLimitHz = 1'300'000'000,
    .commands = kIcR10Commands,
    .modes = kIcR10Modes,
    .stepsHz = {},
    .programmedStep = false,
    .attenuatorsDb = {},
    .scans = {},
    .switches = {},
    .memory = {},
    .transceive = true,
    .startFrequencyHz = 101'700'000,
    .startMode = kModeWfm,
    .startFilter = 0x01,
    .carriers = {},
};

const CivProfile kIcR9000{
    .model = "IC-R9000",
    .option = "ic9000",
    .defaultAddress = 0x52,
    .lowerLimitHz = 100'000,
    .upperLimitHz = 1'999'800'000,
    .commands = kIcR10Commands,
    .modes = kIcR9000Modes,
    .stepsHz = {},
    .programmedStep = false,
    .attenuatorsDb = {},
    .scans = {},
    .switches = {},
    .memory = {},
    .transceive = true,
    .startFrequencyHz = 101'700'000,
    .startMode = kModeWfm,
    .startFilter = 0x01,
    .carriers = {},
};

const CivProfile kIc756Pro{
    .model = "IC-756PRO",
    .option = "ic756",
    .defaultAddress = 0x5C,
    .lowerLimitHz = 30'000,
    .upperLimitHz = 60'000'000,
    .commands = kIc756ProAll,
    .modes = kIc756ProModes,
    .stepsHz = kIc756ProSteps,
    .programmedStep = false,
    .attenuatorsDb = kIc756ProAttenuators,
    .scans = kHfScans,
    .switches = kIc756ProSwitches,
    .memory = HfMemory(10, kIc756ProRecord),
    .transceive = true,
    .startFrequencyHz = 14'200'000,
    .startMode = kModeUsb,
    .startFilter = 0x02,
    .carriers = kShortWaveCarriers,
};

const CivProfile kIcR75{
    .model = "IC-R75",
    .option = "ic75",
    .defaultAddress = 0x5A,
    .lowerLimitHz = 30'000,
    .upperLimitHz = 60'000'000,
    .commands = kIcR75All,
    .modes = kIcR75Modes,
    .stepsHz = kIcR75Steps,
    .programmedStep = false,
    .attenuatorsDb = kIcR75Attenuators,
    .scans = kHfScans,
    .switches = kIcR75Switches,
    .memory = HfMemory(8, kIcR75Record),
    .transceive = true,
    .startFrequencyHz = 9'650'000,
    .startMode = kModeAm,
    .startFilter = 0x02,
    .carriers = kShortWaveCarriers,
};

const CivCommand* CivProfile::FindCommand(uint8_t command, std::span<const uint8_t> data) const {
    for (const CivCommand& entry : commands) {
        if (entry.command != command) continue;
        if (entry.subCommand == kNoSubCommand) return &entry;
        if (!data.empty() && data[0] == entry.subCommand) return &entry;
    }
    return nullptr;
}

const CivMode* CivProfile::FindMode(uint8_t mode) const {
    const auto found = std::ranges::find(modes, mode, &CivMode::mode);
    return found == modes.end() ? nullptr : &*found;
}

bool CivProfile::ValidModeAndFilter(uint8_t mode, uint8_t filter) const {
    const CivMode* entry = FindMode(mode);
    return entry && filter >= 0x01 && filter <= entry->lastFilter;
}

const CivScanCommand* CivProfile::FindScan(uint8_t subCommand) const {
    const auto found = std::ranges::find(scans, subCommand, &CivScanCommand::subCommand);
    return found == scans.end() ? nullptr : &*found;
}

const CivSwitch* CivProfile::FindSwitch(uint8_t command, int subCommand) const {
    for (const CivSwitch& entry : switches)
        if (entry.command == command && entry.subCommand == subCommand) return &entry;
    return nullptr;
}

SignalPlan CivProfile::DefaultPlan() const {
    if (carriers.empty()) return DefaultSignalPlan();
    SignalPlan plan = DefaultSignalPlan();
    plan.signals.assign(carriers.begin(), carriers.end());
    return plan;
}

std::span<const CivProfile* const> CivProfiles() {
    static constexpr const CivProfile* kAll[] = {&kIcR8500, &kIcR10, &kIcR9000, &kIc756Pro,
                                                 &kIcR75};
    return kAll;
}

const CivProfile* FindCivProfile(std::string_view option) {
    for (const CivProfile* profile : CivProfiles())
        if (profile->option == option) return profile;
    return nullptr;
}

}  // namespace emulators
