#pragma once
// An AOR AR8000 on the family's set (aor_set.h): the peer of the program's AR8000 panel in
// the receiver tests, and a receiver for anyone without one.
//
// What it adds to the shared commands:
//   RF                        500 kHz..1900 MHz
//   VA, VB                    two VFOs; VA<Hz>, VB<Hz> tune one and make it the active one
//                             (acknowledged); VA, VB alone answer its line, marked "MA" where
//                             a channel line has its place: "VA MA RF0145500000 ST012500 AU0
//                             MD1 AT0"
//   MD0..MD5                  WFM, FM, AM, USB, LSB, CW
//   AT0 AT1                   attenuator off, on
//   LM                        "LM" and two hex digits: the level / 4 (00..3F), with 40 added
//                             while the squelch is closed
//   banks                     memory and search banks A..J, then j..a (bank 10 is "j", bank
//                             19 "a"), 20 of each, 50 channels a memory bank; labels of 7
//                             characters; channel lines carry the skip flag; an empty
//                             channel in memory read answers "---" alone, with no place
//   BS<letters>, BM<letters>  the links, in place of the ones before; read back as "BM" and
//                             a row of 20 letters or "-"; "BS%%" and "BM%%" are the AR8200's
//                             and answered "?"
//   BQ, ML [0|1]              search / memory bank linking on
//   SS<bank> SG, MS<bank> MG, SM LC   the scans as the set is told to start them: SG, MG and
//                             LC are taken with them and change nothing
//   EX                        leave remote control (acknowledged)
//   digits MC0..1 mute, XM0..5|F; pauses SP, XP 00..60 s, delays SD, XD 00..99 or FF
// The set has no stop reports to switch: each stop of its own scan goes out unasked as
// "RF0145500000 LC20", the level / 4 in two hex digits.
//
// A set may leave the VFO's name out of a VFO's line ("MA RF0145500000 ST012500 AU0 MD1
// AT0"): SetVfoLinesNamed(false) answers so.
//
// The set starts on VFO A at 101.7 MHz WFM, step 100 kHz, squelch 32, banks empty.

#include "emulators/aor/aor_set.h"

namespace emulators {

class Ar8000 : public AorSet {
  public:
    static constexpr uint64_t kLowerLimitHz = 500'000;
    static constexpr uint64_t kUpperLimitHz = 1'900'000'000;
    static constexpr int kBanks = 20;
    static constexpr int kChannels = 50;

    explicit Ar8000(SignalPlan plan = DefaultSignalPlan());

    std::vector<std::string> Answer(std::string_view line, Clock::time_point now) override;
    void SetVfoLinesNamed(bool named) { vfoLinesNamed_ = named; }

  private:
    static const AorSetProfile& Profile();
    std::string LevelReply(int level, bool open) const override;
    std::vector<std::string> StopReport(int level) const override;
    Reply Own(std::string_view token, std::string_view value) override;

    bool vfoLinesNamed_ = true;
};

class Ar8000Emulator : public AorSetEmulator {
  public:
    explicit Ar8000Emulator(SignalPlan plan = DefaultSignalPlan());

    void SetVfoLinesNamed(bool named);
};

}  // namespace emulators
