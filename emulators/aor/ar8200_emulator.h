#pragma once
// An AOR AR8200, or its desktop sibling the AR8600, on the family's set (aor_set.h): the peer
// of the program's AR8200 panel in the receiver tests, and a receiver for anyone without one.
//
// What it adds to the shared commands:
//   RF                        100 kHz..2040 MHz
//   MD0..MD8                  WFM, FM, AM, USB, LSB, CW, narrow FM, wide AM, narrow AM
//   AT0 AT1                   attenuator off, on; read back "AT0", "AT1"
//   LM                        level: "LM", then "%" while the squelch is closed or a blank
//                             while it is open, then the level in three digits ("LM%045")
//   VA, VB, VF                three VFOs; VV0 scans VFOs A and B, VS all three
//   banks                     memory banks A..J, a..j (0..19) of 50 channels, search banks
//                             A..T, a..t (0..39); labels of 12 characters. Channel lines
//                             carry the skip flag: "MXa05 RF0145500000 ST012500 MD1 AT0 MP0
//                             TM<12>"; scan lines name the bank or VFO: "SS SRK RF..",
//                             "VS VB RF.."
//   GS[n], GM[n]              the search / memory scan configuration 0..9, each with its own
//                             links; read back with them: "GM3 BM A-C-----------------"
//   BS<letters>, BM<letters>  links added to the configuration (BS%%, BM%% clear them);
//                             read back "BS " and a row of 40 (20) letters or "-"; the scans
//                             take the linked banks after the one they start on
//   LC [0|1]                  report every scan stop unasked: "LC 266 RF0145500000", the
//                             level as 111 + level x 155 / 255
//   RX                        on an empty channel in memory read (where a bank's clear
//                             leaves it): "---" alone
//   AM                        band scope round the tuned frequency ("AM RF.." in RX)
//   SW1..SW7                  its span: 10, 5, 2, 1 MHz, 500, 200, 100 kHz
//   DS                        the sweep, 128 points in four lines "DS0127 <16> <16>", the
//                             first point of the line first, counting down, point 63 at the
//                             tuned frequency; each point a
//                             hex digit 2 + level / 16 (at most F); "?" outside the band scope
//   VR                        "VR" and four characters
//   EX                        leave remote control (acknowledged; the next line is served)
//   digits MC0..1 mute, NL0..1 noise limiter, AS0..2 auto store, XM0..8|F scan mode filter
//   levels DA voice, DB level squelch, SB/SA, XB/XA scan thresholds
//   pauses SP, XP, DP 00..60 s; delays SD, XD, DD 00..99 tenths or FF (hold)
//
// The set starts on VFO A at 101.7 MHz WFM, step 100 kHz, squelch 32, the band scope off at
// 1 MHz, memory and search banks empty.

#include <array>

#include "emulators/aor/aor_set.h"

namespace emulators {

class Ar8200 : public AorSet {
  public:
    static constexpr uint64_t kLowerLimitHz = 100'000;
    static constexpr uint64_t kUpperLimitHz = 2'040'000'000;
    static constexpr int kMemoryBanks = 20;
    static constexpr int kChannels = 50;
    static constexpr int kSearchBanks = 40;
    static constexpr int kConfigurations = 10;
    static constexpr int kScopePoints = 128;
    static constexpr int kScopeCentre = 63;  // the point at the tuned frequency

    enum class Model { Ar8200, Ar8600 };

    explicit Ar8200(SignalPlan plan = DefaultSignalPlan(), Model model = Model::Ar8200);

    std::vector<std::string> Answer(std::string_view line, Clock::time_point now) override;
    // The span of the band scope in Hz.
    uint64_t ScopeSpanHz() const;

  private:
    static const AorSetProfile& Profile(Model model);
    std::string LevelReply(int level, bool open) const override;
    std::vector<std::string> StopReport(int level) const override;
    Reply Own(std::string_view token, std::string_view value) override;
    Reply Configuration(std::string_view token, std::string_view value);
    std::vector<std::string> Sweep() const;

    int span_ = 4;                        // SW
    std::array<int, 2> configuration_{};  // memory, search
    std::array<std::array<bool, 20>, kConfigurations> memoryLinks_{};
    std::array<std::array<bool, 40>, kConfigurations> searchLinks_{};
};

class Ar8200Emulator : public AorSetEmulator {
  public:
    explicit Ar8200Emulator(SignalPlan plan = DefaultSignalPlan(),
                            Ar8200::Model model = Ar8200::Model::Ar8200);
};

}  // namespace emulators
