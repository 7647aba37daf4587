#include "emulators/civ/civ_profile.h"

#include <algorithm>
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
    .attenuatorsDb = kIcR8500Attenuators,
    .scans = kIcR8500Scans,
    .memory = {.banks = 25,
               .channelsPerBank = 100,
               .channelNameLength = 8,
               .bankNameLength = 5,
               .autoWriteBank = 21,
               .skipBank = 22,
               .edgeBank = 23},
    .transceive = true,
    .startFrequencyHz = 101'700'000,
    .startMode = kModeWfm,
    .startFilter = 0x01,
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
    .attenuatorsDb = {},
    .scans = {},
    .memory = {},
    .transceive = true,
    .startFrequencyHz = 101'700'000,
    .startMode = kModeWfm,
    .startFilter = 0x01,
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
    .attenuatorsDb = {},
    .scans = {},
    .memory = {},
    .transceive = true,
    .startFrequencyHz = 101'700'000,
    .startMode = kModeWfm,
    .startFilter = 0x01,
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

std::span<const CivProfile* const> CivProfiles() {
    static constexpr const CivProfile* kAll[] = {&kIcR8500, &kIcR10, &kIcR9000};
    return kAll;
}

const CivProfile* FindCivProfile(std::string_view option) {
    for (const CivProfile* profile : CivProfiles())
        if (profile->option == option) return profile;
    return nullptr;
}

}  // namespace emulators
