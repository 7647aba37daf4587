#pragma once
// The sets of the CI-V family as data: what one model answers, and with what. The emulator
// (civ_emulator.h) serves whichever profile it is given; a command the profile does not list
// is answered FA, as the set answers a command it does not know.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "emulators/common/signal_plan.h"

namespace emulators {

// Mode bytes of the family.
inline constexpr uint8_t kModeLsb = 0x00;
inline constexpr uint8_t kModeUsb = 0x01;
inline constexpr uint8_t kModeAm = 0x02;
inline constexpr uint8_t kModeCw = 0x03;
inline constexpr uint8_t kModeFm = 0x05;
inline constexpr uint8_t kModeWfm = 0x06;
inline constexpr uint8_t kModeRtty = 0x04;
inline constexpr uint8_t kModeCwReverse = 0x07;
inline constexpr uint8_t kModeRttyReverse = 0x08;
inline constexpr uint8_t kModeSyncAm = 0x11;

// What the set does with a command it knows (the bytes are the IC-R8500's; a model with
// other bytes for the same thing lists them in its own table).
enum class CivOperation : uint8_t {
    ReadFrequency,   // 03 -> 03 f1..f5
    ReadMode,        // 04 -> 04 mm ff
    SetFrequency,    // 05 f1..f5
    SetMode,         // 06 mm [ff]
    SelectMemory,    // 08 (memory mode) | 08 c1 c2 (channel) | 08 A0 bb (bank)
    Scan,            // 0E ss: the profile's scan table
    Step,            // 10 [ss [p1 p2]]
    Attenuator,      // 11 aa
    AfLevel,         // 14 01 [l1 l2]
    SquelchLevel,    // 14 03 [l1 l2]
    IfShift,         // 14 04 [l1 l2]
    ApfLevel,        // 14 05 [l1 l2]
    NoiseReduction,  // 14 06 [l1 l2]
    PbtShift,        // 14 07 [l1 l2]
    SquelchState,    // 15 01 -> 15 01 00|01
    SignalLevel,     // 15 02 -> 15 02 l1 l2
    Function,        // 16 nx: AGC (n 1), noise blanker (2), APF (3) off (x 0) or on (1)
    Power,           // 18 00|01
    Identity,        // 19 00 -> 19 00 address
    WriteChannel,    // 1A 00 bb c1 c2 data | FF
    ReadChannel,     // 1A 01 bb c1 c2 -> 1A 01 bb c1 c2 data | FF
    WriteBankName,   // 1A 02 bb n1..n5
    ReadBankName,    // 1A 03 bb -> 1A 03 bb n1..n5
    // Sets without banks: 1A 00 c1 c2 reads the channel (1A 00 c1 c2 record | FF),
    // 1A 00 c1 c2 record | FF writes or clears it.
    MemoryContents,
    // A setting of one byte from the profile's switch table: cc [ss] vv sets it, cc [ss]
    // reads it back.
    Switch,
};

inline constexpr int kNoSubCommand = -1;

struct CivCommand {
    uint8_t command;
    // The first data byte, when it picks the operation (15 01, 15 02); kNoSubCommand when
    // the operation reads all of the data itself.
    int subCommand;
    CivOperation operation;
};

// Filters 01..lastFilter; normalFilter when the mode is set without its filter byte.
struct CivMode {
    uint8_t mode;
    uint8_t normalFilter;
    uint8_t lastFilter;
};

// What a 0E sub-command does.
enum class CivScanAction : uint8_t {
    Stop,
    ProgrammedScan,          // between the scan edges
    AutoWriteScan,           // between the scan edges, what it finds into the auto-write bank
    MemoryScan,              // the current bank's channels but the skipped ones
    SelectScan,              // the current bank's selected channels
    ModeScan,                // the current bank's channels in the current mode
    ProgrammedOrMemoryScan,  // by where the set is: in memory mode its memory scan
    DeltaScan,               // round the frequency the scan starts from
    VscOff,                  // voice-squelch control
    VscOn,
    ResumeOff,         // a stop ends the scan
    ResumeWhenGone,    // the scan goes on once the signal has gone
    ResumeAfterDelay,  // the scan goes on after a while, signal or not
    PriorityWatch,
};

struct CivScanCommand {
    uint8_t subCommand;
    CivScanAction action;
};

// A setting of one byte (16 12 vv AGC, 12 vv antenna, 1C 00 vv transmit): lowest..highest
// are what the set takes; a setting that is not writable is only read back (FA with data).
struct CivSwitch {
    uint8_t command;
    int subCommand;  // kNoSubCommand when the value follows the command
    uint8_t lowest;
    uint8_t highest;
    uint8_t initial;
    bool writable = true;
};

// The fields of a memory record in the order the set sends them after the channel number.
enum class CivField : uint8_t {
    Frequency,     // f1..f5, BCD least significant first
    Mode,          // mm
    Filter,        // ff
    Step,          // ss p1 p2: step code and programmed step (BCD least significant first)
    Attenuator,    // aa: dB in BCD, one of the profile's attenuators
    ScanFlag,      // 00 none, 01 skip, 02 select, 03 both
    Select,        // 00 or 01
    ToneFlags,     // 00 none, 01 tone, 02 tone squelch
    RepeaterTone,  // t1 t2 t3: tenths of Hz in BCD, most significant first (00 08 85: 88.5)
    SquelchTone,   // the same
    Preamp,        // 00 off, 01, 02
    Antenna,       // 00, 01
    Name,          // as many printable characters as the layout's names
};

// How the set's memory is laid out and addressed.
struct CivMemoryLayout {
    int banks = 0;  // 0: the set has no memory commands
    int channelsPerBank = 0;
    size_t channelNameLength = 0;
    size_t bankNameLength = 0;
    // Banks with a part in the scans; -1 when the set has none.
    int autoWriteBank = -1;  // the auto-write scan's finds
    int skipBank = -1;       // frequencies the scans between edges pass over
    int edgeBank = -1;       // pairs of scan edges: channels 0-1, 2-3, ...
    // The one pair of scan edges (this channel and the next) in the edge bank, which the
    // memory scans pass over; -1: the pairs 0-1, 2-3, ... of a bank of their own.
    int edgeChannel = -1;
    int firstChannel = 0;       // the number of a bank's first channel
    bool bankInAddress = true;  // a memory address is bank, then channel
    std::span<const CivField> record;
};

struct CivProfile {
    std::string_view model;   // "IC-R8500"
    std::string_view option;  // "ic8500", as orvel-civ-emulator's --model takes it
    uint8_t defaultAddress;
    uint64_t lowerLimitHz;
    uint64_t upperLimitHz;
    std::span<const CivCommand> commands;
    std::span<const CivMode> modes;
    // Step code -> step in Hz; the programmed step's code (its step travels with it) is the
    // one after the last.
    std::span<const uint32_t> stepsHz;
    bool programmedStep;
    std::span<const uint8_t> attenuatorsDb;  // what 11 takes, 0 (off) among them
    std::span<const CivScanCommand> scans;
    std::span<const CivSwitch> switches;
    CivMemoryLayout memory;
    // Tuning and mode changes at the set go out unasked to address 00 (00 f1..f5, 01 mm ff).
    bool transceive;
    // Where the set is when it is switched on.
    uint64_t startFrequencyHz;
    uint8_t startMode;
    uint8_t startFilter;
    // The carriers of the model's default signal plan; none: DefaultSignalPlan's.
    std::span<const Signal> carriers;

    const CivCommand* FindCommand(uint8_t command, std::span<const uint8_t> data) const;
    const CivMode* FindMode(uint8_t mode) const;
    bool ValidModeAndFilter(uint8_t mode, uint8_t filter) const;
    const CivScanCommand* FindScan(uint8_t subCommand) const;
    const CivSwitch* FindSwitch(uint8_t command, int subCommand) const;
    // -1 when the set has no programmed step.
    int ProgrammedStepCode() const {
        return programmedStep ? static_cast<int>(stepsHz.size()) : -1;
    }
    int LastStepCode() const { return static_cast<int>(stepsHz.size()) - (programmedStep ? 0 : 1); }
    SignalPlan DefaultPlan() const;
    bool InRange(uint64_t hz) const { return hz >= lowerLimitHz && hz <= upperLimitHz; }
};

// IC-R8500: address 4A, 100 kHz..2 GHz, 25 banks of 100 channels with their names, its own
// scans, level and function settings, power and identity.
extern const CivProfile kIcR8500;
// IC-R10: address 52, 500 kHz..1.3 GHz; frequency, mode and the signal level only (no
// squelch state: 15 01 is FA).
extern const CivProfile kIcR10;
// IC-R9000: as the IC-R10 over 100 kHz..2 GHz, at the same address 52 (the program serves it
// with the IC-R10's panel).
extern const CivProfile kIcR9000;
// IC-756PRO: address 5C, 30 kHz..60 MHz, 101 channels (99 and the scan edges 100, 101)
// with ten-character names, its own scans, preamplifier, AGC, noise blanker, antenna and
// tuner; no WFM, no power switch. 1C 00 (transmit) is read only: with data it is FA.
extern const CivProfile kIc756Pro;
// IC-R75: address 5A, 30 kHz..60 MHz, 101 channels with eight-character names, attenuator
// 20 dB, power off (18 00) and on (18 01).
extern const CivProfile kIcR75;

std::span<const CivProfile* const> CivProfiles();
// By its --model name; null when there is none of that name.
const CivProfile* FindCivProfile(std::string_view option);

}  // namespace emulators
