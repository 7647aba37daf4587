#pragma once
// An AOR AR3000A on the family's line engine: the peer of the program's AR3000A panel in the
// receiver tests, and a receiver for anyone without one.
//
// Its commands end with CR (LF is passed over); every answer ends with the prompt ">", its
// lines, if any, before it with CR LF. The line must have two stop bits: on one the set hears
// noise and answers nothing (AorEmulator::GarbledBytes). One command a line, blanks ignored:
//   145.5000                  tune, in MHz (100 kHz..2036 MHz)
//   12.5S                     step, in kHz (10 Hz..999.99 kHz, in tens of Hz)
//   n w a l u c               mode NFM, WFM, AM, LSB, USB, CW
//   R, T                      attenuator on, off
//   G, E                      sound on, off
//   Y                         level: a letter, "%" while the squelch is closed, else "A".."P"
//                             for 0..15 (a sixteenth of the level)
//   D                         the settings: "XZ01250Y014550000Q" - attenuator (W on, X off),
//                             Z and the step, Y and the frequency (both in tens of Hz), the
//                             mode (Q NFM, R WFM, S AM, T LSB, U USB, V CW)
//   1X..4X                    select memory bank 1..4 (of 100 channels)
//   nZ                        recall channel n (0..99) of the current bank: "#05J" and its
//                             settings as D gives them, and the set is tuned there; an empty
//                             channel answers "#05J---" and leaves the set as it is
//   nnM<step>S<R|T><MHz><mode>   write channel nn: step in kHz, attenuator on (R) or off
//                             (T), frequency in MHz, mode F W A L U C ("05M12.500ST145.5000F")
// Anything else is answered "?" (and the prompt).
//
// The set starts at 101.7 MHz WFM, step 100 kHz, attenuator off, its squelch (a knob at the
// set) at 0, its memory empty.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "emulators/aor/aor_emulator.h"

namespace emulators {

struct Ar3000aChannel {
    uint64_t frequencyHz = 0;  // 0: empty
    uint32_t stepHz = 12'500;
    char mode = 'F';  // F W A L U C
    bool attenuator = false;
    bool Empty() const { return frequencyHz == 0; }
    bool operator==(const Ar3000aChannel&) const = default;
};

struct Ar3000aState {
    Ar3000aChannel tuned{101'700'000, 100'000, 'W', false};
    bool sound = true;
    int bank = 0;  // 0..3
    int squelch = 0;
};

class Ar3000a : public AorModel {
  public:
    static constexpr uint64_t kLowerLimitHz = 100'000;
    static constexpr uint64_t kUpperLimitHz = 2'036'000'000;
    static constexpr int kBanks = 4;
    static constexpr int kChannels = 100;

    explicit Ar3000a(SignalPlan plan = DefaultSignalPlan());

    std::vector<std::string> Answer(std::string_view line, Clock::time_point now) override;
    std::vector<std::string> Unsolicited(Clock::time_point) override { return {}; }
    Clock::time_point NextUnsolicited() const override { return Clock::time_point::max(); }
    bool LfEndsLine() const override { return false; }
    std::string_view Prompt() const override { return ">"; }
    bool NeedsTwoStopBits() const override { return true; }
    // Its commands end in their letter ("5Z", "2X").
    std::string_view CommandOf(std::string_view line) const override {
        return line.empty() ? line : line.substr(line.size() - 1);
    }

    const Ar3000aState& State() const { return state_; }
    void SetSquelch(int level) { state_.squelch = level; }
    // Out-of-range numbers throw std::out_of_range.
    const Ar3000aChannel& Channel(int bank, int channel) const;
    void SetChannel(int bank, int channel, Ar3000aChannel record);

  private:
    // The answer lines, or nullopt for "?".
    std::optional<std::vector<std::string>> Command(std::string_view command);
    bool WriteChannel(std::string_view channelText, std::string_view record);
    std::string SettingsText(const Ar3000aChannel& channel) const;

    Ar3000aState state_;
    std::vector<Ar3000aChannel> channels_;
};

class Ar3000aEmulator : public AorEmulator {
  public:
    explicit Ar3000aEmulator(SignalPlan plan = DefaultSignalPlan());

    Ar3000aState State() const;
    void SetSquelch(int level);
    Ar3000aChannel Channel(int bank, int channel) const;
    void SetChannel(int bank, int channel, Ar3000aChannel record);

  private:
    Ar3000a& Set() const;
};

}  // namespace emulators
