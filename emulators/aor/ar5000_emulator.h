#pragma once
// An AOR AR5000 on the family's line engine: the peer of the program's AR5000 panel in the
// receiver tests, and a receiver for anyone without one.
//
// Commands (one per line; MX and SE lines carry a record; other lines may carry several
// fields, answered together on one line; "?" for a token it does not know, a value out of
// range or a malformed line):
//   RF<Hz> | RF<MHz.dddddd>   tune 10 kHz..2600 MHz (leaves memory read and scans for the VFO)
//   RF, RX                    frequency "RF%010u" / the state line (below)
//   ST<Hz> | ST<kHz.ddd>      step 1..999999 Hz; read back "ST%06u"
//   MD0..MD4                  FM, AM, LSB, USB, CW (wide FM is MD0 with BW5/BW6)
//   BW0..BW6                  0.5, 3, 6, 15, 30, 110, 220 kHz
//   AT0 AT1 AT2 ATF           attenuator off, 10 dB, 20 dB, automatic; read back "AT" with
//                             the automatic digit and the attenuator digit: AT00 AT01 AT02 AT10
//   AU0 AU1                   AUTO mode (kept only)
//   LM                        level: "LM", then "%" while the squelch is closed or a blank
//                             while it is open, then the level in two hex digits
//   VA..VE                    select a VFO; answers its state line
//   MR, MRb, MRbcc            memory read of the current channel, of channel 00 of bank b,
//                             or of channel cc of bank b; answers the channel line
//   MXbcc RF.. [AU. ST.. MD. BW. AT. MP. GA.] [TM<8 chars>]
//                             write a channel and go to it in memory read (acknowledged)
//   MQcc | MQbcc | MQ%%[b]    clear a channel of the current bank, of bank b, or the whole
//                             current bank or bank b
//   GA, MP [0|1]              select and skip flag of the channel in memory read
//   SR[nn]                    search bank line of bank nn (the current one without)
//   SEnn SL.. SU.. [ST.. AU. MD. BW. AT.] [TT<8 chars>]   write a search bank
//   QSnn                      clear a search bank
//   GS[nn], GM[b]             current search bank / memory bank: "GS%02u", "GM%u"
//   BS%%, BM%%                clear the search / memory bank links
//   BS<nn ...>, BM<b ...>     link search banks 00..19 / memory banks 0..9 into the scans;
//                             read back "BS " / "BM " and each link with a blank after it
//   BQ, ML [0|1]              search / memory bank linking on
//   SS[nn]                    search scan of search bank nn (and the linked ones with BQ1)
//   MS[b], SM                 memory scan of the bank (and the linked ones with ML1), select
//                             scan of its selected channels; skipped channels left out and,
//                             unless XMF, only channels in the XM mode
//   VS                        VFO scan over A..E
//   LC [0|1]                  report every scan stop unasked (below)
//   VR                        "VER " and the 8-character version
//   QP                        standby, no answer; the next line wakes the set and is served
//   digits kept and read back: AN1..4 antenna, AI0..2 IF output, BN0..1 EEPROM bank, MT0..1
//     tuning, CW0..7 CW pitch, EN0..3 de-emphasis, LP0..3, HP0..3 filters, AS0..1 auto
//     store, AC0..3|F, DS0..1, XM0..4|F scan mode filter
//   levels 000..255, read back as token, marker, three digits (the marker "+" while a
//     squelch or threshold is in use, else a blank): VL volume, TU, RQ noise squelch,
//     DB level squelch, DA voice squelch, LS, SB/SA search scan thresholds, XB/XA memory
//     scan thresholds
//   pauses SP, XP 00..60 s, read back "SP%02u"; delays SD, XD, DD 00..99 tenths of a second
//     or FF (hold), read back "SDd.d" or "SDFF"
// A setting (a token with a value, a channel or search bank written, a channel or bank
// cleared) is acknowledged with an empty line, as the receiver does; the token alone reads
// the setting back. A line of several settings gets one empty line.
//
// State lines (RX, and the answer to a scan start, a VFO or channel selection):
//   VFO           "VA RF0145500000 ST012500 AU0 MD0 BW3 AT00"
//   memory read   "MR MX005 RF0145500000 ST012500 MD0 BW3 AT00 TMRF AT MD"; an empty
//                 channel "MR MX006 ---"; memory and select scans "MS MX..", "SM MX.."
//   search scan   "SS RF0145500000 ST012500 AU0 MD0 BW3 AT00 TT<label>"; "---" for an
//                 empty search bank, which leaves the receiver as it was
//   VFO scan      "VS RF0145500000 ST012500 AU0 MD0 BW3 AT00"
// Search bank line: "SR05 SL0145000000 SU0146000000 ST012500 AU0 MD0 BW3 AT00 TT<label>",
// an empty one "SR05 ---". Labels are 8 characters, as written (cut or filled with blanks).
//
// Levels come from the signal plan at the tuned frequency; the attenuator does not change
// them. The squelch is open when the level is above the threshold in use: the scan's own
// (SB, XB) when set, else the level squelch DB when set, else the noise squelch RQ.
//
// The set starts on VFO A at 101.7 MHz wide FM (MD0 BW6), step 100 kHz, attenuator off, noise
// squelch 32, delays 2.0 s, no pauses, LC reports off, memory and search banks empty.
//
// The set's own scans go straight to the next point where the squelch opens and stop there;
// with LC1 each stop is reported unasked: "LC" and the level in two hex digits, then the
// state line. The scan stays while the signal lasts and the pause (SP, XP; 0 for no limit)
// has not run out; when the signal has gone it goes on after the delay (SD, XD, DD; FF
// holds).

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "emulators/aor/aor_command.h"
#include "emulators/aor/aor_emulator.h"
#include "emulators/common/scan_walk.h"

namespace emulators {

enum class Ar5000Operation { Vfo, MemoryRead, SearchScan, MemoryScan, SelectScan, VfoScan };

// The AR5000's head: everything but the memory.
struct Ar5000State {
    static constexpr int kVfos = 5;
    static constexpr int kHold = 255;  // delay FF

    Ar5000Operation operation = Ar5000Operation::Vfo;
    AorVfo tuned;  // what the set receives now
    std::array<AorVfo, kVfos> vfos;
    int vfo = 0;  // A..E
    int memoryBank = 0;
    int memoryChannel = 0;
    int searchBank = 0;
    bool scanStopped = false;  // the set's own scan sits on a signal
    std::array<bool, 10> memoryLinks{};
    std::array<bool, 20> searchLinks{};
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
    // Tenths of a second, kHold = FF.
    int searchDelay = 20;  // SD
    int memoryDelay = 20;  // XD
    int vfoDelay = 20;     // DD
};

class Ar5000 : public AorModel {
  public:
    static constexpr uint64_t kLowerLimitHz = 10'000;
    static constexpr uint64_t kUpperLimitHz = 2'600'000'000;
    static constexpr int kMemoryBanks = 10;
    static constexpr int kChannels = 100;
    static constexpr int kSearchBanks = 20;
    static constexpr size_t kLabelWidth = 8;

    explicit Ar5000(SignalPlan plan = DefaultSignalPlan());

    std::vector<std::string> Answer(std::string_view line, Clock::time_point now) override;
    std::vector<std::string> Unsolicited(Clock::time_point now) override;
    Clock::time_point NextUnsolicited() const override;

    const Ar5000State& State() const { return state_; }
    // Out-of-range numbers throw std::out_of_range.
    const AorChannel& Channel(int bank, int channel) const;
    void SetChannel(int bank, int channel, AorChannel record);
    const AorSearchBank& SearchBank(int bank) const;
    void SetSearchBank(int bank, AorSearchBank record);
    // The running scan stops at its next point as if a signal of `level` were there, and
    // reports it; false when no scan runs.
    bool TriggerScanStop(int level, Clock::time_point now);

    // One command of a line: the read-back, "" for a setting taken; nullopt refuses it.
    using Reply = std::optional<std::string>;
    using Handler = Reply (Ar5000::*)(std::string_view token, std::string_view value);

  private:
    static Handler FindHandler(std::string_view token);

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
    Reply CurrentSearchBank(std::string_view token, std::string_view value);
    Reply CurrentMemoryBank(std::string_view token, std::string_view value);
    Reply BankLinks(std::string_view token, std::string_view value);
    Reply StartScan(std::string_view token, std::string_view value);
    Reply Version(std::string_view token, std::string_view value);
    Reply Standby(std::string_view token, std::string_view value);
    Reply Setting(std::string_view token, std::string_view value);

    Reply WriteChannel(const std::vector<AorField>& fields);
    Reply WriteSearchBank(const std::vector<AorField>& fields);

    // What AT, MD, BW, ST and AU change: the tuned settings, and with them the VFO's, or in
    // memory read the channel's.
    void ApplySettings(const AorSettings& settings);
    AorChannel& CurrentChannel();
    bool Scanning() const;
    void StopScan();
    std::vector<ScanSegment> ScanSegments(Ar5000Operation scan) const;
    void Tune(const ScanPosition& position);
    void StopAt(const ScanPosition& position, int level, Clock::time_point now);
    int SquelchThreshold() const;
    int ScanPause() const;
    int ScanDelay() const;

    std::string StateLine() const;
    std::string ChannelLine(int bank, int channel) const;
    std::string SearchLine(int bank) const;

    Ar5000State state_;
    std::vector<AorChannel> channels_;
    std::vector<AorSearchBank> searchBanks_;

    std::vector<ScanSegment> scan_;
    std::optional<ScanPosition> scanPosition_;  // empty before the first stop
    bool signalGone_ = false;
    Clock::time_point resumeAt_ = Clock::time_point::max();
    std::vector<std::string> reports_;  // stops not yet sent
};

class Ar5000Emulator : public AorEmulator {
  public:
    explicit Ar5000Emulator(SignalPlan plan = DefaultSignalPlan());

    Ar5000State State() const;
    AorChannel Channel(int bank, int channel) const;
    void SetChannel(int bank, int channel, AorChannel record);
    AorSearchBank SearchBank(int bank) const;
    void SetSearchBank(int bank, AorSearchBank record);
    bool TriggerScanStop(int level);

  private:
    Ar5000& Set() const;
};

}  // namespace emulators
