#pragma once
// An IC-R8500 on the CI-V bus, behind a pseudo-terminal: the peer of the program's
// IC-R8500 panel in the receiver tests, and a receiver for anyone without one.
//
// What it answers (controller E0, receiver 4A; a frame to 4A or to the broadcast address 00
// is served, frames to other addresses are only echoed; the answer goes to the frame's
// source):
//   03            frequency: 03 + five BCD bytes, least significant first
//   04            mode: 04 + mode byte + filter byte
//   05 f1..f5     set frequency; FA outside 0.1..2000 MHz, for a non-decimal digit or
//                 another length
//   06 mm [ff]    set mode (LSB 00 01, USB 01 01, AM 02 01/02/03, CW 03 01/02, FM 05 01/02,
//                 WFM 06 01); without the filter byte the mode's normal filter (AM 02, else 01)
//   10            step: 10 + step code (+ programmed step, two BCD bytes least significant
//                 first in 100 Hz units, when the code is 13)
//   10 ss [p1 p2] set step code 00..13; 13 may carry the programmed step (0.5..199.5 kHz in
//                 0.5 kHz)
//   11 aa         attenuator 00, 10, 20, 30 dB (write only, as on the set: 11 alone is FA)
//   14 ss [l1 l2] AF (01), squelch (03), IF shift (04), APF (05) level 0000..0255 in BCD,
//                 most significant first; without data the level is read back
//   15 01         squelch state: 15 01 00 closed, 15 01 01 open
//   15 02         signal level: 15 02 + 0000..0255 in BCD, most significant first
//   16 1x/2x/3x   AGC, noise blanker, APF filter off (x = 0) or on (x = 1)
//   18 00 / 18 01 power off / on
//   19 00         identity: 19 00 4A
//   anything else FA (the set's NG for a command it does not know).
// Set commands are acknowledged FB, refused FA.
//
// Levels come from the signal plan at the tuned frequency (the attenuator does not change
// them). The squelch is open when that level is above the squelch setting (14 03).
//
// While the power is off every command but power-on (18 01) is refused with FA: the set's CPU
// stays on the bus, and the panel takes a refused identity query as a receiver in standby.
//
// Echo: on the CI-V bus the controller hears its own frames; every frame received is written
// back at once, before any answer (also by a dead or switched-off receiver, because the echo
// is the bus's, not the receiver's). The direct RS-232 port has no echo: SetEcho(false).
// Bytes outside frames are neither echoed nor answered.
//
// Unsolicited frames (transceive, as when the operator turns the knob) go to address 00:
// 00 + frequency, 01 + mode + filter; they are dropped while the line is full (nobody reads).

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "emulators/civ/civ_frame.h"
#include "emulators/common/pseudo_terminal.h"
#include "emulators/common/signal_plan.h"

namespace emulators {

// Mode bytes of the set.
inline constexpr uint8_t kModeLsb = 0x00;
inline constexpr uint8_t kModeUsb = 0x01;
inline constexpr uint8_t kModeAm = 0x02;
inline constexpr uint8_t kModeCw = 0x03;
inline constexpr uint8_t kModeFm = 0x05;
inline constexpr uint8_t kModeWfm = 0x06;

struct Ic8500State {
    uint64_t frequencyHz = 101'700'000;
    uint8_t mode = kModeWfm;
    uint8_t filter = 0x01;
    int stepCode = 7;        // 0..13; 7 is 10 kHz, 13 the programmed step
    int programmedStep = 5;  // 100 Hz units, 5..1995
    int attenuatorDb = 0;    // 0, 10, 20, 30
    int afLevel = 128;       // 14 01
    int squelchLevel = 0;    // 14 03
    int ifShift = 128;       // 14 04
    int apfLevel = 128;      // 14 05
    bool agc = true;
    bool noiseBlanker = false;
    bool peakFilter = false;
    bool powerOn = true;
};

class Ic8500Emulator {
  public:
    static constexpr uint8_t kAddress = 0x4A;
    static constexpr uint64_t kLowerLimitHz = 100'000;
    static constexpr uint64_t kUpperLimitHz = 2'000'000'000;

    // Opens the pseudo-terminal (std::system_error when there is none); nothing is served
    // until Start or Serve.
    explicit Ic8500Emulator(SignalPlan plan = DefaultSignalPlan());
    Ic8500Emulator(const Ic8500Emulator&) = delete;
    Ic8500Emulator& operator=(const Ic8500Emulator&) = delete;
    // Stops serving, removes the link, closes the terminal.
    ~Ic8500Emulator();

    // The device the program opens as its port.
    const std::string& SlavePath() const { return pty_.slavePath(); }
    // See PseudoTerminal::LinkAs; the link goes when the emulator does.
    void LinkAs(const std::filesystem::path& link) { pty_.LinkAs(link); }

    // Serves on a thread of its own until Stop. Use either this or Serve, not both.
    void Start();
    void Stop();
    // Serves on the calling thread until RequestStop (or Stop from another thread).
    void Serve();
    // Safe in a signal handler.
    void RequestStop() noexcept;

    // Switches, safe from any thread while serving.
    void SetEcho(bool on);
    void SetSignalPlan(SignalPlan plan);
    // Unsolicited frequency and mode frames every `interval`; zero (the default) sends none.
    void SetAnnounceInterval(std::chrono::milliseconds interval);

    // Test hooks.
    // Answers (not the echo) leave this long after their command came; 0 answers at once.
    void SetLatency(std::chrono::milliseconds latency);
    // A dead receiver sends nothing of its own; the bus still echoes (SetEcho(false) for a
    // silent line).
    void SetDead(bool dead);
    // Every command is answered FA, queries included.
    void SetRefuseAll(bool refuse);
    // Written before every frame the receiver sends (answers and unsolicited frames).
    void SetGarbage(Bytes garbage);
    // Every byte goes out in a write of its own (echo included).
    void SetByteByByte(bool on);
    // Line-rate mode: every frame the receiver sends (the echo too) leaves only once its bytes
    // have had their time on the line at the speed the program set on its end (start, data,
    // parity and stop bits), one frame after the other as on a wire. An exchange then takes
    // what it takes on a real CI-V bus: the command (heard as its echo) and the answer. Off
    // by default: answers leave at once.
    void SetLineRate(bool on);

    // The operator at the set: tunes or switches the mode, and the set reports it
    // unsolicited (a dead receiver changes but stays silent). False, with nothing changed,
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

    Ic8500State State() const;

  private:
    using Clock = std::chrono::steady_clock;
    struct Outgoing {
        Clock::time_point due;
        Bytes bytes;
    };

    void Wake() noexcept;
    // All below with mutex_ held.
    void HandleFrame(const Bytes& frame, Clock::time_point now);
    Bytes Answer(uint8_t command, std::span<const uint8_t> data);
    void SendUnsolicited(const Bytes& body);
    void Queue(Clock::time_point due, Bytes bytes);
    // Writes what is due; false when the line is full and the rest must wait for room.
    bool Flush(Clock::time_point now);

    PseudoTerminal pty_;
    int wakeRead_ = -1;
    int wakeWrite_ = -1;
    std::atomic<bool> stop_{false};
    std::thread thread_;

    mutable std::mutex mutex_;
    mutable std::condition_variable frameArrived_;
    SignalPlan plan_;
    Ic8500State state_;
    bool echo_ = true;
    bool dead_ = false;
    bool refuseAll_ = false;
    bool byteByByte_ = false;
    bool lineRate_ = false;
    Clock::time_point lineFree_{};  // when the line has sent what is queued (line-rate mode)
    Bytes garbage_;
    std::chrono::milliseconds latency_{0};
    std::chrono::milliseconds announceInterval_{0};
    Clock::time_point nextAnnounce_{};
    std::deque<Outgoing> outgoing_;
    size_t outgoingBytes_ = 0;
    size_t written_ = 0;  // of outgoing_.front()
    bool lineFull_ = false;
    std::deque<Bytes> received_;
    size_t receivedCount_ = 0;  // since the last clear, also those dropped from received_
};

}  // namespace emulators
