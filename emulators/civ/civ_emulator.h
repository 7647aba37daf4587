#pragma once
// A set of the CI-V family behind a pseudo-terminal, as its profile (civ_profile.h) makes it:
// the peer of the program's ICOM panels in the receiver tests, and a receiver for anyone
// without one.
//
// Frames to the set's address or to the broadcast address 00 are served, frames to other
// addresses are only echoed; the answer goes to the frame's source. A command the profile
// lists is answered as below, anything else FA (the set's NG). Set commands are acknowledged
// FB, refused FA; queries are answered with their command byte:
//   03, 04        frequency (five BCD bytes, least significant first) / mode and filter
//   05 f1..f5     FA outside the profile's limits, for a non-decimal digit or another length
//   06 mm [ff]    the profile's modes and filters; without the filter byte the mode's normal
//   08            memory mode; 08 c1 c2 selects channel c1c2 of the current bank, 08 A0 bb
//                 bank bb (at its channel 0000), each tuning to the channel unless it is
//                 empty; FA beyond the banks or the capacity
//   0E ss         the set's own scan (below)
//   10 [ss [p p]] step code (read back with the programmed step after code 13)
//   11 aa         attenuator (write only, as on the set: 11 alone is FA)
//   14 0n [l l]   AF (01), squelch (03), IF shift (04), APF (05), noise reduction (06), PBT
//                 shift (07) level 0000..0255 in BCD, most significant first; without the
//                 level it is read back
//   15 01, 15 02  squelch 00 closed / 01 open; signal level 0000..0255
//   16 nx         AGC (n 1), noise blanker (2), APF filter (3) off (x 0) or on (1)
//   18 00|01      power off / on; switched off the set refuses everything else with FA (its
//                 CPU stays on the bus)
//   19 00         identity: 19 00 and the address
//   1A 00 bb c1 c2 record|FF   write or clear a channel (civ_memory.h)
//   1A 01 bb c1 c2             read it: 1A 01 bb c1 c2 record, or FF when empty
//   1A 02 bb n1..n5            name a bank;  1A 03 bb -> 1A 03 bb n1..n5
//   on a set without banks (IC-756PRO, IC-R75) the address is the channel alone, 0001..0101,
//   and 1A 00 c1 c2 without a record reads the channel: 1A 00 c1 c2 record, or FF
//   12 vv, 16 ss vv, 1C ss vv   the profile's switches (civ_profile.h); without the value
//                 they are read back
//
// Levels come from the signal plan at the tuned frequency (the attenuator does not change
// them). The squelch is open when that level is above the squelch setting (14 03).
//
// The set's own scan (0E): 02 between the edges of the scan-edge bank (the pair of channels
// 0-1, or the pair of the selected channel while that bank is current) on the lower edge's
// step and mode, passing over the frequencies of the skip bank; 04 the same, each find also
// written into the first empty channel of the auto-write bank unless it is there already;
// 22, 23, 24 over the current bank's channels: all but the skipped, the selected, those in
// the current mode; 01 the memory scan in memory mode, else the programmed scan; 03 (delta F)
// kDeltaSpanHz either side of where it starts, on the current step. On a set with one pair
// of edges (channels 100 and 101) 02 scans between them and the memory scans pass them over.
// A start with nothing to scan is FA. The sweep takes no time: the set goes
// straight to the next point where the squelch opens and stops there, reporting the stop
// unasked to address 00 (00 + frequency; a channel of another mode also 01 + mode). It goes
// on by its resume setting: D3 (the default) after kResumeDelay, D1 kGoneDelay after the
// signal has gone, D0 never (the stop ends the scan). While the squelch is open on the bare
// noise nothing stands out and the scan runs on without stopping. 0E 00, a frequency or a
// memory selection, and tuning at the set end the scan.
//
// Echo: on the CI-V bus the controller hears its own frames; every frame received is written
// back at once, before any answer (also by a dead or switched-off set: the echo is the bus's).
// The direct RS-232 port has no echo: SetEcho(false). Bytes outside frames are neither echoed
// nor answered.
//
// Unsolicited frames (transceive, as when the operator turns the knob) go to address 00:
// 00 + frequency, 01 + mode + filter; they are dropped while the line is full (nobody reads).

#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "emulators/civ/civ_frame.h"
#include "emulators/civ/civ_memory.h"
#include "emulators/civ/civ_profile.h"
#include "emulators/common/outgoing_queue.h"
#include "emulators/common/pty_server.h"
#include "emulators/common/received_log.h"
#include "emulators/common/scan_walk.h"
#include "emulators/common/signal_plan.h"

namespace emulators {

enum class CivScanKind : uint8_t { None, Programmed, AutoWrite, Memory, Select, Mode, Delta };

struct CivState {
    uint64_t frequencyHz = 101'700'000;
    uint8_t mode = kModeWfm;
    uint8_t filter = 0x01;
    int stepCode = 7;        // 7 is 10 kHz on the IC-R8500, 13 its programmed step
    int programmedStep = 5;  // 100 Hz units, 5..1995
    int attenuatorDb = 0;
    int afLevel = 128;                // 14 01
    int squelchLevel = 0;             // 14 03
    int ifShift = 128;                // 14 04
    int apfLevel = 128;               // 14 05
    int noiseReduction = 0;           // 14 06
    int pbtShift = 128;               // 14 07
    std::map<int, uint8_t> switches;  // by CivEmulator::SwitchKey
    bool agc = true;
    bool noiseBlanker = false;
    bool peakFilter = false;
    bool powerOn = true;

    bool memoryMode = false;
    int bank = 0;
    int channel = 0;
    CivScanKind scan = CivScanKind::None;
    bool scanStopped = false;  // the scan sits on a signal
    CivScanAction resume = CivScanAction::ResumeAfterDelay;
    bool vsc = false;
    bool priorityWatch = false;
};

class CivEmulator : public PtyServer {
  public:
    // How long a scan with D3 stays on a signal, and with D1 waits once it has gone.
    static constexpr std::chrono::seconds kResumeDelay{5};
    static constexpr std::chrono::seconds kGoneDelay{2};
    static constexpr uint64_t kDeltaSpanHz = 10'000;

    // Opens the pseudo-terminal (std::system_error when there is none); nothing is served
    // until Start or Serve. The profile must outlive the emulator. Without a plan the
    // profile's carriers are on the air.
    explicit CivEmulator(const CivProfile& profile) : CivEmulator(profile, profile.DefaultPlan()) {}
    CivEmulator(const CivProfile& profile, SignalPlan plan);
    // Stops serving, removes the link, closes the terminal.
    ~CivEmulator() override;

    const CivProfile& Profile() const { return profile_; }

    // Switches, safe from any thread while serving.
    // The set's CI-V address, as set in its menu; the profile's by default.
    void SetAddress(uint8_t address);
    uint8_t Address() const;
    void SetEcho(bool on);
    void SetSignalPlan(SignalPlan plan);
    // Unsolicited frequency and mode frames every `interval`; zero (the default) sends none.
    void SetAnnounceInterval(std::chrono::milliseconds interval);
    // Told of every frame heard and every frame the set sends (its answers and unsolicited
    // frames; not the bus's echo), in hex ("FE FE 4A E0 03 FD"), with the lock held.
    void SetTrace(Trace trace);

    // Test hooks.
    // Answers (not the echo) leave this long after their command came; 0 answers at once.
    void SetLatency(std::chrono::milliseconds latency);
    // A dead receiver sends nothing of its own; the bus still echoes (SetEcho(false) for a
    // silent line).
    void SetDead(bool dead);
    void SetSilent(bool silent) override { SetDead(silent); }
    // Answers the next `frames` commands addressed to the set, then falls dead (as SetDead).
    void SetDeadAfter(int frames);
    // Every command is answered FA, queries included.
    void SetRefuseAll(bool refuse);
    // Written before every frame the receiver sends (answers and unsolicited frames).
    void SetGarbage(Bytes garbage);
    // SetByteByByte and SetLineRate (PtyServer) take the echo along with every frame.

    // Channels each memory bank answers for, beyond which a channel is FA; the profile's at
    // most. 0 leaves the set without memory: bank and channel commands are FA.
    void SetMemoryCapacity(int channelsPerBank);
    // Out-of-range numbers throw std::out_of_range.
    CivChannel Channel(int bank, int channel) const;
    void SetChannel(int bank, int channel, CivChannel record);
    // The bank's channels up to the capacity.
    std::vector<CivChannel> BankChannels(int bank) const;
    std::string BankName(int bank) const;

    // The running scan stops at its next point as if a signal were there, and reports it;
    // the frequency it stopped on, nothing when no scan runs.
    std::optional<uint64_t> TriggerScanStop();
    // A scan sitting on a signal goes on now, as if its delay had run out; false when none
    // does.
    bool ResumeScan();

    // The operator at the set: tunes (ending a scan) or switches the mode, and the set reports
    // it unsolicited (a dead receiver changes but stays silent). False, with nothing changed,
    // while the power is off or for a frequency or mode the set does not have.
    bool TuneByHand(uint64_t frequencyHz);
    bool SwitchModeByHand(uint8_t mode, uint8_t filter);
    // The unsolicited frames with the current frequency and mode.
    void AnnounceFrequency();
    void AnnounceMode();

    // The frames received (FE FE ... FD), in order, whatever their address; the newest
    // 10,000, so that a long session does not grow without bound.
    std::vector<Bytes> ReceivedFrames() const;
    void ClearReceivedFrames();
    // True as soon as `count` frames have been received (counted since the last clear);
    // false when `timeout` passes first. Lets a test know a command has been dealt with.
    bool WaitForFrames(size_t count, std::chrono::milliseconds timeout) const;

    CivState State() const;
    // The value of a switch of the profile (CivState::switches).
    static int SwitchKey(const CivSwitch& setting) {
        return setting.command << 9 | (setting.subCommand + 1);
    }

  private:
    struct MemoryAddress {
        int bank;
        int channel;
    };

    // All below with the lock held.
    void Receive(std::string_view bytes, Clock::time_point now) override;
    void Tick(Clock::time_point now) override;
    Clock::time_point NextTick() const override;
    std::string_view Pending(Clock::time_point now) override { return outgoing_.Pending(now); }
    void Sent(size_t count) override { outgoing_.Sent(count); }
    Clock::time_point NextSend() const override { return outgoing_.NextDue(); }

    void HandleFrame(const Bytes& frame, Clock::time_point now);
    Bytes Answer(uint8_t command, std::span<const uint8_t> data);
    Bytes Dispatch(const CivCommand& entry, std::span<const uint8_t> data);
    Bytes SetFrequency(std::span<const uint8_t> data);
    Bytes SetMode(std::span<const uint8_t> data);
    Bytes StepCommand(std::span<const uint8_t> data);
    Bytes Attenuator(std::span<const uint8_t> data);
    Bytes LevelSetting(uint8_t subCommand, int& level, std::span<const uint8_t> data);
    Bytes SquelchState(std::span<const uint8_t> data);
    Bytes SignalLevel(std::span<const uint8_t> data);
    Bytes Function(std::span<const uint8_t> data);
    Bytes Switch(const CivCommand& entry, std::span<const uint8_t> data);
    Bytes Power(std::span<const uint8_t> data);
    Bytes SelectMemory(std::span<const uint8_t> data);
    Bytes WriteChannel(std::span<const uint8_t> data);
    Bytes ReadChannel(std::span<const uint8_t> data);
    Bytes WriteBankName(std::span<const uint8_t> data);
    Bytes ReadBankName(std::span<const uint8_t> data);
    Bytes MemoryContents(std::span<const uint8_t> data);
    Bytes ScanCommand(std::span<const uint8_t> data);

    // Bank and channel numbers from the wire; empty unless the memory has them.
    std::optional<int> BankNumber(uint8_t bcd) const;
    std::optional<int> ChannelNumber(std::span<const uint8_t> bcd) const;
    // The channel's address at the head of `data` (bank and channel, or the channel alone),
    // taken off it; empty when there is no such channel.
    std::optional<MemoryAddress> Address(std::span<const uint8_t>& data) const;
    // The channels the memory scans visit: all but the scan edges.
    bool ScanEdge(int channel) const;
    void TuneToChannel(int bank, int channel);

    bool StartScan(CivScanKind kind);
    void EndScan();
    std::vector<ScanSegment> EdgeSegments() const;
    uint64_t StepHz(int code, int programmedStep) const;
    bool PassedOver(const ScanPosition& position) const;
    void ScanOn(Clock::time_point now);
    void StopAt(const ScanPosition& position, Clock::time_point now);
    // Into the auto-write bank's first empty channel, unless one holds the frequency already.
    void WriteFind();

    void SendUnsolicited(const Bytes& body);
    void TraceFrame(char direction, const Bytes& frame) const;
    void Queue(Clock::time_point due, const Bytes& bytes);

    const CivProfile& profile_;
    SignalPlan plan_;
    CivState state_;
    CivMemory memory_;
    uint8_t address_;
    bool echo_ = true;
    bool dead_ = false;
    int answersBeforeDead_ = -1;  // -1: no fall due
    bool refuseAll_ = false;
    Clock::time_point answersDue_{};  // the last answer's; unsolicited frames come after it
    Bytes garbage_;
    std::chrono::milliseconds latency_{0};
    std::chrono::milliseconds announceInterval_{0};
    Clock::time_point nextAnnounce_{};
    Trace trace_;
    FrameScanner scanner_;
    OutgoingQueue outgoing_;
    ReceivedLog<Bytes> received_;

    std::vector<ScanSegment> scan_;
    std::optional<ScanPosition> scanPosition_;  // empty before the first stop
    bool signalGone_ = false;
    Clock::time_point resumeAt_ = Clock::time_point::max();
};

}  // namespace emulators
