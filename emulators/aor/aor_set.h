#pragma once
// What the AOR sets of the line protocol share (the AR5000, AR8200, AR8600 and AR8000): VFOs,
// memory banks of channels and search banks, the command line read field by field, settings
// kept as digits, levels and times, and the set's own scans with their pauses and delays. A
// model is a profile (how it names its banks, which digits it takes, which commands it knows,
// how its lines look) and a few hooks (its level reply, its stop reports, its own commands).
//
// Commands (one per line; MX and SE lines carry a record; other lines may carry several
// fields, answered together on one line; "?" for a token the model does not know, a value
// out of range or a malformed line). <bank> is the model's bank name (AorBankNames):
//   RF<Hz> | RF<MHz.dddddd>   tune within the model's limits (leaves memory read and scans
//                             for the VFO); RF alone reads "RF%010u"
//   RX                        the state line (below)
//   ST<Hz> | ST<kHz.ddd>      step 1..999999 Hz; read back "ST%06u"
//   MD, BW, AT, AU            mode, bandwidth, attenuator digits of the model; AUTO 0|1
//   LM                        the level reply of the model
//   V<vfo>                    select a VFO; answers its state line (VA<Hz> tunes it where
//                             the model does so)
//   MR, MR<bank>, MR<bank>cc  memory read of the current channel, of channel 00 of the bank,
//                             or of channel cc; answers the channel line
//   MX<bank>cc RF.. [AU. ST.. MD. BW. AT. MP. GA.] [TM<label>]
//                             write a channel and go to it in memory read (acknowledged)
//   MQcc | MQ<bank>cc | MQ%%[<bank>]   clear a channel, or a whole bank (the current one)
//   GA, MP [0|1]              select and skip flag of the channel in memory read;
//                             GA<bank>cc selects that channel for the select scan
//   SR[<search bank>]         search bank line (the current one without)
//   SE<search bank> SL.. SU.. [ST.. AU. MD. BW. AT.] [TT<label>]   write a search bank
//   QS<search bank>           clear a search bank
//   GS[<search bank>], GM[<bank>]   current search / memory bank
//   BS%%, BM%%                clear the search / memory bank links
//   BS<banks>, BM<banks>      link banks into the scans (added, or in place of the links,
//                             by the model); read back by the model's link row
//   SS[<search bank>]         search scan of the bank (and the linked ones while linking)
//   MS[<bank>], SM            memory scan of the bank (and the linked ones), select scan of
//                             its selected channels; skipped channels left out and, unless
//                             XMF, only channels in the XM mode
//   VS                        VFO scan over the VFOs
//   digits, levels 000..255 (read back with "+" while in use), pauses 00..60 s and delays
//   00..99 tenths or FF (hold): the model's tables
// A setting is acknowledged with an empty line; the token alone reads it back.
//
// State lines (RX, and the answer to a scan start, a VFO or channel selection):
//   VFO           "VA RF0145500000 ST012500 AU0 MD0 BW3 AT00" (the model's digits)
//   memory read   "MR " and the channel line "MX005 RF0145500000 ST012500 MD0 BW3 AT00
//                 TM<label>", an empty channel "MX006 ---"; memory and select scans "MS ",
//                 "SM " and the channel line
//   search scan   "SS RF.. ST.. AU. MD. BW. AT.. TT<label>"; "---" for an empty search
//                 bank, which leaves the set as it was
//   VFO scan      "VS RF.. ST.. AU. MD. BW. AT.."
// Search bank line: "SR05 SL0145000000 SU0146000000 ST012500 AU0 MD0 BW3 AT00 TT<label>", an
// empty one "SR05 ---". Labels are as wide as the model's, as written (cut or filled).
// Terser answers a set may give, switched on for a test (AorSet::SetMemoryReadAcknowledged,
// SetBareEmptySearchBanks): "MR" with a bank or channel acknowledged with an empty line, and
// an empty search bank read as a bare "---".
//
// Levels come from the signal plan at the tuned frequency; the attenuator does not change
// them. The squelch is open when the level is above the threshold in use: the scan's own
// (SB, XB) when set, else the level squelch DB when set, else the noise squelch RQ.
//
// The set's own scans go straight to the next point where the squelch opens and stop there,
// reported by the model. The scan stays while the signal lasts and the pause (SP, XP, DP; 0
// for no limit) has not run out; when the signal has gone it goes on after the delay (SD,
// XD, DD; FF holds).

#include <array>
#include <chrono>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "emulators/aor/aor_command.h"
#include "emulators/aor/aor_emulator.h"
#include "emulators/common/scan_walk.h"

namespace emulators {

enum class AorOperation { Vfo, MemoryRead, SearchScan, MemoryScan, SelectScan, VfoScan, BandScope };

// Everything the sets hold but their memory; each model uses what it has.
struct AorSetState {
    static constexpr int kVfos = 5;
    static constexpr int kHold = 255;  // delay FF

    AorOperation operation = AorOperation::Vfo;
    AorVfo tuned;  // what the set receives now
    std::array<AorVfo, kVfos> vfos;
    int vfo = 0;  // the model's VFOs in order
    int memoryBank = 0;
    int memoryChannel = 0;
    int searchBank = 0;
    bool scanStopped = false;  // the set's own scan sits on a signal
    std::array<bool, 20> memoryLinks{};
    std::array<bool, 40> searchLinks{};
    bool standby = false;

    // Digit settings as their command digits.
    char antenna = '1';
    char ifOutput = '0';
    char eepromBank = '0';
    char tuning = '0';
    char cwPitch = '0';
    char deEmphasis = '1';
    char lowPass = '0';
    char highPass = '0';
    char autoStore = '0';
    char acValue = '0';
    char displaySelect = '0';
    char modeFilter = 'F';     // XM
    char searchLinking = '0';  // BQ
    char memoryLinking = '0';  // ML
    char levelReports = '0';   // LC
    char mute = '0';           // MC
    char noiseLimiter = '0';   // NL

    // Levels 0..255.
    int volume = 128;
    int tu = 0;
    int noiseSquelch = 32;
    int levelSquelch = 0;
    int voiceSquelch = 0;
    int ls = 0;
    int searchLevel = 0;  // SB
    int searchVoice = 0;  // SA
    int memoryLevel = 0;  // XB
    int memoryVoice = 0;  // XA

    // Seconds, 0 = no limit.
    int searchPause = 0;  // SP
    int memoryPause = 0;  // XP
    int vfoPause = 0;     // DP
    // Tenths of a second, kHold = FF.
    int searchDelay = 20;  // SD
    int memoryDelay = 20;  // XD
    int vfoDelay = 20;     // DD
};

// How a set names its banks on the line: a letter a bank ("ABCDEFGHIJabcdefghij") or a
// number of so many digits.
struct AorBankNames {
    int count;
    std::string_view letters;
    int digits = 0;

    size_t Width() const { return letters.empty() ? static_cast<size_t>(digits) : 1; }
    // The bank the whole text names (a number with up to `digits` digits); empty for none.
    std::optional<int> Parse(std::string_view text) const;
    std::string Text(int bank) const;
};

class AorSet;

// One command of a line: the read-back, "" for a setting taken; nullopt refuses it.
using AorReply = std::optional<std::string>;
// A shared command of the core, or null for one of the model's own (AorSet::Own).
struct AorCommand {
    std::string_view token;
    AorReply (AorSet::*handler)(std::string_view token, std::string_view value);
};

// Settings kept as one command digit.
struct AorDigitSetting {
    std::string_view token;
    std::string_view accepted;
    char AorSetState::*field;
};

// Levels 000..255; `marked` read-backs carry "+" while the level is in use.
struct AorLevelSetting {
    std::string_view token;
    int AorSetState::*field;
    bool marked;
};

// Pauses in seconds (at most 60) and delays in tenths (at most 99, or FF).
struct AorTimeSetting {
    std::string_view token;
    int AorSetState::*field;
    bool delay;
};

struct AorSetProfile {
    std::string_view name;  // "AR5000"
    uint64_t lowerHz;
    uint64_t upperHz;
    AorBankNames memoryBanks;
    int channels;  // a memory bank's
    AorBankNames searchBanks;
    size_t labelWidth;
    std::string_view vfos;         // the letters after V: "ABCDE"
    std::string_view modes;        // MD digits
    std::string_view bandwidths;   // BW digits; empty: the set has no BW
    std::string_view attenuators;  // AT digits
    // AT read back as the automatic digit and the attenuator digit (AT00, AT10), else the
    // digit alone.
    bool attenuatorWithAuto;
    bool skipInChannelLines;       // MP in the channel lines
    bool bankInScanLines;          // "SS SR<bank> ..", "VS V<vfo> .."
    std::string_view vfoMark;      // a field after "VA " in the VFO lines
    bool vfoTakesFrequency;        // VA<Hz> tunes VFO A
    bool linksReplace;             // BM<banks> replaces the links instead of adding to them
    std::string_view linkRowLead;  // lettered banks read back as "BM" lead and a row
    std::string_view version;      // the answer to VR
    std::span<const AorCommand> commands;
    std::span<const AorDigitSetting> digits;
    std::span<const AorLevelSetting> levels;
    std::span<const AorTimeSetting> times;
};

class AorSet : public AorModel {
  public:
    using Reply = AorReply;
    using Handler = AorReply (AorSet::*)(std::string_view token, std::string_view value);

    AorSet(const AorSetProfile& profile, SignalPlan plan);

    std::vector<std::string> Answer(std::string_view line, Clock::time_point now) override;
    std::vector<std::string> Unsolicited(Clock::time_point now) override;
    Clock::time_point NextUnsolicited() const override;

    const AorSetProfile& Profile() const { return profile_; }
    const AorSetState& State() const { return state_; }
    // Out-of-range numbers throw std::out_of_range.
    const AorChannel& Channel(int bank, int channel) const;
    void SetChannel(int bank, int channel, AorChannel record);
    const AorSearchBank& SearchBank(int bank) const;
    void SetSearchBank(int bank, AorSearchBank record);
    // The running scan stops at its next point as if a signal of `level` were there, and
    // reports it; false when no scan runs.
    bool TriggerScanStop(int level, Clock::time_point now);
    // Fault: a memory read that names a channel lands `channels` further on in its bank (a
    // set whose dial slips), and answers for that channel; 0 (the default) reads the one named.
    void SetChannelSlip(int channels) { channelSlip_ = channels; }
    // Terser answers, as a set may give them (off by default): a memory read that names its
    // bank or channel acknowledged with an empty line (RX then tells the channel); an empty
    // search bank read with a bare "---".
    void SetMemoryReadAcknowledged(bool on) { memoryReadAcknowledged_ = on; }
    void SetBareEmptySearchBanks(bool on) { bareEmptySearchBanks_ = on; }

  protected:
    // The model's hooks.
    // The answer to LM at `level`, the squelch open or not.
    virtual std::string LevelReply(int level, bool open) const = 0;
    // The lines a stop at `level` reports unasked (none by default).
    virtual std::vector<std::string> StopReport(int /*level*/) const { return {}; }
    // A command of the model's own (a null handler in its table).
    virtual Reply Own(std::string_view /*token*/, std::string_view /*value*/) { return {}; }

    // Shared commands.
    Reply Frequency(std::string_view token, std::string_view value);
    Reply Report(std::string_view token, std::string_view value);
    Reply Tuning(std::string_view token, std::string_view value);
    Reply Level(std::string_view token, std::string_view value);
    Reply SelectVfo(std::string_view token, std::string_view value);
    Reply MemoryRead(std::string_view token, std::string_view value);
    Reply MemoryClear(std::string_view token, std::string_view value);
    Reply ChannelFlag(std::string_view token, std::string_view value);
    Reply SearchRead(std::string_view token, std::string_view value);
    Reply SearchClear(std::string_view token, std::string_view value);
    // GS, GM: the current search or memory bank.
    Reply CurrentBank(std::string_view token, std::string_view value);
    Reply BankLinks(std::string_view token, std::string_view value);
    Reply StartScan(std::string_view token, std::string_view value);
    Reply Version(std::string_view token, std::string_view value);
    Reply Standby(std::string_view token, std::string_view value);
    Reply Setting(std::string_view token, std::string_view value);
    // A word that only goes with another ("SG" after "SS"): taken without a value.
    Reply Word(std::string_view token, std::string_view value);

    // For the models.
    AorSetState& MutableState() { return state_; }
    // The VFO scan over the first `count` VFOs; the state line, or nullopt with nothing to
    // scan.
    Reply StartVfoScan(size_t count);
    void StopScan();
    std::string StateLine() const;
    std::string TuningText(const AorVfo& tuned) const;
    std::string SettingsText(const AorSettings& settings) const;
    int SquelchThreshold() const;

  private:
    Handler FindHandler(std::string_view token, bool& own) const;
    Reply WriteChannel(const std::vector<AorField>& fields);
    Reply WriteSearchBank(const std::vector<AorField>& fields);
    std::optional<uint64_t> FrequencyHz(std::string_view value) const;
    // Applies a field of the receive settings; nullopt when the token is none of them.
    std::optional<bool> SetSettingsField(AorSettings& settings, const AorField& field) const;
    std::string SettingsReadBack(const AorSettings& settings, std::string_view token) const;
    std::string AttenuatorText(char attenuator) const;
    // <bank>cc; empty when it names no channel.
    std::optional<std::pair<int, int>> ChannelPlace(std::string_view text) const;

    // What AT, MD, BW, ST and AU change: the tuned settings, and with them the VFO's, or in
    // memory read the channel's.
    void ApplySettings(const AorSettings& settings);
    AorChannel& CurrentChannel();
    bool Scanning() const;
    bool Linking(bool search) const;
    std::vector<ScanSegment> ScanSegments(AorOperation scan) const;
    Reply Scan(AorOperation scan, std::vector<ScanSegment> segments);
    void Tune(const ScanPosition& position);
    void StopAt(const ScanPosition& position, int level, Clock::time_point now);
    int ScanPause() const;
    int ScanDelay() const;

    std::string ChannelLine(int bank, int channel) const;
    std::string SearchLine(int bank) const;

    const AorSetProfile& profile_;
    AorSetState state_;
    std::vector<AorChannel> channels_;
    std::vector<AorSearchBank> searchBanks_;
    size_t vfoScanCount_ = 0;

    std::vector<ScanSegment> scan_;
    std::optional<ScanPosition> scanPosition_;  // empty before the first stop
    bool signalGone_ = false;
    Clock::time_point resumeAt_ = Clock::time_point::max();
    std::vector<std::string> reports_;  // stops not yet sent
    int channelSlip_ = 0;
    bool memoryReadAcknowledged_ = false;
    bool bareEmptySearchBanks_ = false;
};

// An AorSet behind a pseudo-terminal, with its memory and scan in reach of the tests.
class AorSetEmulator : public AorEmulator {
  public:
    explicit AorSetEmulator(std::unique_ptr<AorSet> set);

    AorSetState State() const;
    AorChannel Channel(int bank, int channel) const;
    void SetChannel(int bank, int channel, AorChannel record);
    AorSearchBank SearchBank(int bank) const;
    void SetSearchBank(int bank, AorSearchBank record);
    bool TriggerScanStop(int level);
    void SetChannelSlip(int channels);
    void SetMemoryReadAcknowledged(bool on);
    void SetBareEmptySearchBanks(bool on);

  protected:
    AorSet& Set() const;
};

}  // namespace emulators
