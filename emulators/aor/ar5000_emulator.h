#pragma once
// An AOR AR5000 on the family's set (aor_set.h): the peer of the program's AR5000 panel in
// the receiver tests, and a receiver for anyone without one.
//
// What it adds to the shared commands:
//   RF                        10 kHz..2600 MHz
//   MD0..MD4                  FM, AM, LSB, USB, CW (wide FM is MD0 with BW5/BW6)
//   BW0..BW6                  0.5, 3, 6, 15, 30, 110, 220 kHz
//   AT0 AT1 AT2 ATF           attenuator off, 10 dB, 20 dB, automatic; read back "AT" with
//                             the automatic digit and the attenuator digit: AT00 AT01 AT02 AT10
//   LM                        level: "LM", then "%" while the squelch is closed or a blank
//                             while it is open, then the level in two hex digits
//   VA..VE                    five VFOs
//   MR, MR<bank>, MR<bank>cc  go to the channel (memory read) and acknowledge with an empty
//                             line; the channel line is RX's answer only
//   banks                     memory banks 0..9 (one digit) of 100 channels, search banks
//                             00..19 (two digits, or one); labels of 8 characters
//   BS<nn ...>, BM<b ...>     links added; read back "BS " / "BM " and each link with a
//                             blank after it
//   BQ, ML [0|1]              search / memory bank linking on
//   LC [0|1]                  report every scan stop unasked: "LC" and the level in two hex
//                             digits, then the state line
//   VR                        "VER " and the 8-character version
//   QP                        standby, no answer; the next line wakes the set and is served
//   digits kept and read back: AN1..4 antenna, AI0..2 IF output, BN0..1 EEPROM bank, MT0..1
//     tuning, CW0..7 CW pitch, EN0..3 de-emphasis, LP0..3, HP0..3 filters, AS0..1 auto
//     store, AC0..3|F, DS0..1, XM0..4|F scan mode filter
//   levels VL volume, TU, RQ noise squelch, DB level squelch, DA voice squelch, LS, SB/SA
//     search scan thresholds, XB/XA memory scan thresholds
//   pauses SP, XP 00..60 s; delays SD, XD, DD 00..99 tenths of a second or FF (hold),
//     read back "SDd.d" or "SDFF"
//
// The set starts on VFO A at 101.7 MHz wide FM (MD0 BW6), step 100 kHz, attenuator off, noise
// squelch 32, delays 2.0 s, no pauses, LC reports off, memory and search banks empty.

#include "emulators/aor/aor_set.h"

namespace emulators {

using Ar5000State = AorSetState;
using Ar5000Operation = AorOperation;

class Ar5000 : public AorSet {
  public:
    static constexpr uint64_t kLowerLimitHz = 10'000;
    static constexpr uint64_t kUpperLimitHz = 2'600'000'000;
    static constexpr int kMemoryBanks = 10;
    static constexpr int kChannels = 100;
    static constexpr int kSearchBanks = 20;
    static constexpr size_t kLabelWidth = 8;

    explicit Ar5000(SignalPlan plan = DefaultSignalPlan());

  private:
    static const AorSetProfile& Profile();
    std::string LevelReply(int level, bool open) const override;
    std::vector<std::string> StopReport(int level) const override;
    Reply Own(std::string_view token, std::string_view value) override;
};

class Ar5000Emulator : public AorSetEmulator {
  public:
    explicit Ar5000Emulator(SignalPlan plan = DefaultSignalPlan());
};

}  // namespace emulators
