#pragma once
// An ICOM IC-PCR1000 behind a pseudo-terminal: the peer of the program's IC-PCR1000 panel in
// the receiver tests, and a receiver for anyone without one.
//
// The set talks in lines of text. A command ends with CR LF (a lone CR or LF ends it too;
// empty lines are skipped); every answer is one line ended with CR LF. What it answers:
//   H101 / H100   power on / off: G000. Switched off, the set goes back to its power-up
//                 speed of 9600 baud and stops the band scope.
//   H1?           power state: H101 on, H100 off
//   G0?           status: G000; G001 while a fault is set (SetFault)
//   G300 / G301   automatic reports off / on: G000 (this set sends none either way)
//   G1nn          line speed, nn = 00 300, 01 1200, 02 4800, 03 9600, 04 19200, 05 38400
//                 baud: G000 at the old speed, then the set listens and speaks at the new one
//   K0 + 10 decimal digits of Hz + mode + filter + 00
//                 tune (10 kHz .. 1300 MHz); mode 00 LSB, 01 USB, 02 AM, 03 CW, 05 FM,
//                 06 WFM; filter 00 2.8 kHz, 01 6 kHz, 02 15 kHz, 03 50 kHz, 04 230 kHz: G000
//   I0?           squelch: I004 closed, I007 open (bit 0 of the value is the open state)
//   I1?           signal level: I1 + two hex digits, 00..FF
//   J4snn         setting s to nn (two upper-case hex digits): 40 volume, 41 squelch,
//                 43 IF shift (80 is the centre), 45 AGC, 46 noise blanker, 47 attenuator
//                 (the switches take 00 or 01): G000
//   ME0000 1 cc pppppp ssssss  (without the blanks)
//                 band scope: cc cells (hex; 00 stops the sweep) centred on the tuned
//                 frequency, ssssss the distance of two cells in Hz (decimal); the six digits
//                 pppppp are taken as they come: G000
//   NEb0?         band-scope block b = 10..1F (hex): NEb0 + 16 cells of two hex digits,
//                 cells 16 (b - 10) .. 16 (b - 10) + 15; G001 while the sweep is stopped
//   anything else G001 (the set's NG).
// Hex digits are upper-case both ways; a line with lower-case ones is refused.
//
// Band scope: cell 128 is the tuned frequency, cell c lies (c - 128) steps away from it. The
// sweep covers the cc cells 128 - cc / 2 .. 128 - cc / 2 + cc - 1; the others, and cells
// outside the set's range, read 00.
//
// Levels come from the signal plan at the tuned frequency (the attenuator does not change
// them). The squelch is open when that level is above the squelch setting (J41).
//
// The set starts switched off: it then answers every line but H101 with H100, and reports
// H100 by itself every off-report interval, which is how the program finds it off.
//
// Line speed: the set listens and speaks at its own speed (9600 baud at power-up). The
// program's end of the terminal carries the speed the program set; when the two differ, the
// set hears only noise (the line is dropped, not logged, not answered) and what it sends is
// noise to the program (dropped too). A speed that cannot be read is taken as agreeing.

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "emulators/common/outgoing_queue.h"
#include "emulators/common/pty_server.h"
#include "emulators/common/received_log.h"
#include "emulators/common/signal_plan.h"

namespace emulators {

// Mode codes of the tuning line.
inline constexpr int kPcrLsb = 0;
inline constexpr int kPcrUsb = 1;
inline constexpr int kPcrAm = 2;
inline constexpr int kPcrCw = 3;
inline constexpr int kPcrFm = 5;
inline constexpr int kPcrWfm = 6;

struct Pcr1000State {
    bool powerOn = false;
    uint32_t lineSpeed = 9600;  // bits per second
    uint64_t frequencyHz = 72'900'000;
    int mode = kPcrWfm;
    int filter = 4;  // 0..4, 2.8 .. 230 kHz
    int volume = 0;
    int squelch = 0;
    int ifShift = 0x80;
    bool agc = false;
    bool noiseBlanker = false;
    bool attenuator = false;
    bool autoReports = false;  // G301
    int scopeCells = 0;        // 0: the band scope is stopped
    uint32_t scopeStepHz = 0;
};

class Pcr1000Emulator : public PtyServer {
  public:
    static constexpr uint64_t kLowerLimitHz = 10'000;
    static constexpr uint64_t kUpperLimitHz = 1'300'000'000;
    static constexpr uint32_t kPowerUpSpeed = 9600;
    static constexpr int kScopeCells = 256;

    // Opens the pseudo-terminal (std::system_error when there is none); nothing is served
    // until Start or Serve. The set is off at 9600 baud and reports so every 500 ms.
    explicit Pcr1000Emulator(SignalPlan plan = DefaultSignalPlan());
    // Stops serving, removes the link, closes the terminal.
    ~Pcr1000Emulator() override;

    // Switches, safe from any thread while serving.
    void SetSignalPlan(SignalPlan plan);
    // How often the switched-off set reports H100; zero sends no reports.
    void SetOffReportInterval(std::chrono::milliseconds interval);
    // The operator at the set: its power switch, and the speed it was left at by an earlier
    // session. False for a speed the set does not have (HasLineSpeed).
    void SwitchPowerByHand(bool on);
    bool SetLineSpeedByHand(uint32_t bitsPerSecond);
    static bool HasLineSpeed(uint32_t bitsPerSecond);
    // Told of every line heard and every line the set sends (without their line ends), with
    // the lock held; a line heard at another speed is noise, and not told.
    void SetTrace(Trace trace);

    // Test hooks.
    // Answers leave this long after their command came; 0 answers at once.
    void SetLatency(std::chrono::milliseconds latency);
    // Sends nothing at all.
    void SetDead(bool dead);
    void SetSilent(bool silent) override { SetDead(silent); }
    // A set in fault: every line is answered G001, the status query included.
    void SetFault(bool fault);
    // In line-rate mode (PtyServer::SetLineRate) the bytes take their time both ways: a
    // command is heard once its last byte would have arrived, and its answer leaves after
    // that and after what the set sent before it.

    // The lines heard (without their line end), in order; the newest 10,000.
    std::vector<std::string> ReceivedLines() const;
    void ClearReceivedLines();
    // True as soon as `count` lines have been heard (counted since the last clear); false
    // when `timeout` passes first. Lets a test know a command has been dealt with.
    bool WaitForLines(size_t count, std::chrono::milliseconds timeout) const;
    // The bytes that came while the program's line speed was not the set's, since the start.
    size_t MisheardBytes() const;
    // True as soon as `count` bytes have come while the program's line speed was not the
    // set's (counted since the start); false when `timeout` passes first.
    bool WaitForMisheardBytes(size_t count, std::chrono::milliseconds timeout) const;

    Pcr1000State State() const;

  private:
    // All below with the lock held.
    void ServingStarts(Clock::time_point now) override;
    void Receive(std::string_view bytes, Clock::time_point now) override;
    void Tick(Clock::time_point now) override;
    Clock::time_point NextTick() const override;
    std::string_view Pending(Clock::time_point now) override;
    void Sent(size_t count) override { outgoing_.Sent(count); }
    Clock::time_point NextSend() const override { return outgoing_.NextDue(); }

    bool OffReports() const { return !state_.powerOn && offReportInterval_.count() > 0; }
    void HandleLine(const std::string& line, Clock::time_point now);
    std::string Answer(std::string_view line);
    // Switched off, the set forgets its line speed and band scope.
    void SwitchPower(bool on);
    std::string ScopeBlock(int block) const;
    // Queues a line the set sends at lineSpeed.
    void Send(Clock::time_point due, std::string_view line, uint32_t lineSpeed);

    SignalPlan plan_;
    Pcr1000State state_;
    Trace trace_;
    std::string partial_;  // the line being received
    bool overlong_ = false;
    bool dead_ = false;
    bool fault_ = false;
    Clock::time_point inputFree_{};  // when the set has heard what came to it (line-rate mode)
    std::chrono::milliseconds latency_{0};
    std::chrono::milliseconds offReportInterval_{500};
    Clock::time_point nextOffReport_{};
    OutgoingQueue outgoing_;
    ReceivedLog<std::string> received_;
    size_t misheardBytes_ = 0;
};

}  // namespace emulators
