#pragma once
// The AR5000 panel (receiver type 7): an AOR receiver of 10 kHz..2600 MHz over the AOR core.
// It adds the AR5000's token table, its line formats of a channel and a search bank (mode and
// bandwidth digits, attenuator depths), bandwidths, the AUTO mode, the five VFOs, three
// squelch kinds and the volume, the start-up sync, the job commands 711..747, the keys of its
// state file "AR5000.<port>", and its two dialogs: the scan mode (RAR5000) and the extra
// functions (PAR5000).

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "receivers/aor/aor_panel.h"
#include "receivers/aor/ar5000/ar5000_form.h"

class RAR5000;
class PAR5000;

// The values of the AR5000's reply lines beyond the shared ones.
struct Ar5000Reply : AorReply {
    int32_t IfOutput = 0;
    int32_t EepromBank = 0;
    bool Tuning = false;  // MT
    int32_t CwPitch = 0, LowPass = 0, HighPass = 0, DeEmphasis = 0, Antenna = 1, AcValue = 0;
    bool AutoStore = false;
};

class AR5000 : public AorPanel {
  public:
    // The job catalog's heading and captions of the commands this panel serves.
    static const job_catalog::Heading kJobCatalog;
    static constexpr uint32_t kLowerLimit = 100;         // 10 kHz
    static constexpr uint32_t kUpperLimit = 26'000'000;  // 2600 MHz
    static constexpr int kBanks = 10;
    static constexpr int kChannels = 100;
    static constexpr int kSearchBanks = 20;
    static constexpr int kVfos = 5;
    static constexpr std::size_t kLabelWidth = 8;
    // A channel holds every field; its label is eight characters, its attenuator 10, 20 dB
    // or automatic (255). Storing the current settings keeps its label, select and skip.
    static const ChannelLayout kChannelLayout;
    enum class Squelch { Noise, Level, Voice };

    AR5000();
    ~AR5000() override;

    // --- The operations of every panel: every model's, then its own
    AOR_MODEL_OPERATIONS()
    bool SetAttenuator() override;
    void ExecuteCommand() override;

    // --- Settings the dialogs send
    bool SelectVfo(int vfo);  // "V%c", the owner takes its frequency

    // --- Panel state
    Ar5000Reply Reply;
    int32_t Vfo = 0;  // A..E
    std::array<uint32_t, kVfos> VfoFrequencies{};
    // Narrow and wide choices of the modes (the extra-functions dialog sets them).
    bool Fnar = false, Fwide = false, Anar = false, Awide = false, Wnar = false;
    uint32_t SavedStep = 0;  // the step while AUTO is on
    Squelch SquelchKind = Squelch::Noise;
    uint32_t NoiseSquelch = 0, LevelSquelch = 0, VoiceSquelch = 0;
    uint32_t Volume = 0;
    // The depth the attenuator switch of the main window turns on (the extra functions choose
    // it): 10, 20 or 255.
    uint32_t AttenuatorDepth = 10;

    // Controls, owned by the form; empty until the create event.
    UI_FORM_CONTROLS(AR5000_CONTROLS)

    RAR5000* ScanDialog() const { return scanDialog_.get(); }
    PAR5000* ExtraDialog() const { return extraDialog_.get(); }

  private:
    // --- The core's hooks (ar5000.cpp, ar5000_banks.cpp, ar5000_replies.cpp): every model's, then
    // its own
    AOR_MODEL_HOOKS()
    void CreateModelControls() override;
    bool WriteChannel(int bank, int channel) override;
    void ClearSearchBankOnReceiver(int bank) override;
    void MemoryWalkStarts() override;

    void ShowAttenuator();
    void ShowSquelch();
    void DrawVfoCells(ui::Painter& painter);
    void OnVfoClick(int x);
    void ReadLevelSettings();
    bool ReadFrequency();
    void TakeReceiverSettings();
    bool ChooseAttenuator(uint32_t choice);  // the setting's answer
    void SetSquelchLevel(uint32_t value);
    void ChooseSquelch(Squelch kind);
    void NextBandwidth();
    bool SendBandwidth();
    bool SendAttenuator();
    int32_t FilterFor(char letter) const;

    // Job commands (ar5000_jobs.cpp)
    static const JobCommand<AR5000> kJobCommands[];
    void VolumeCommand(JobStr& line);
    void DisconnectCommand(JobStr& line);
    void VfoCommand(JobStr& line);
    void AutoCommand(JobStr& line);
    void Attenuator0Command(JobStr& line) { Answer(line, ChooseAttenuator(0)); }
    void Attenuator10Command(JobStr& line) { Answer(line, ChooseAttenuator(10)); }
    void Attenuator20Command(JobStr& line) { Answer(line, ChooseAttenuator(20)); }
    void AttenuatorAutoCommand(JobStr& line) { Answer(line, ChooseAttenuator(255)); }
    void NoiseSquelchCommand(JobStr&) { ChooseSquelch(Squelch::Noise); }
    void LevelSquelchCommand(JobStr&) { ChooseSquelch(Squelch::Level); }
    void VoiceSquelchCommand(JobStr&) { ChooseSquelch(Squelch::Voice); }
    void SquelchLevelCommand(JobStr& line);
    void ExtraFunctionsCommand(JobStr& line);
    void BandwidthCommand(JobStr& line);
    void Antenna1Command(JobStr& line) { Answer(line, SendText("AN1")); }
    void Antenna2Command(JobStr& line) { Answer(line, SendText("AN2")); }
    void Antenna3Command(JobStr& line) { Answer(line, SendText("AN3")); }
    void Antenna4Command(JobStr& line) { Answer(line, SendText("AN4")); }
    void IfOffCommand(JobStr& line) { Answer(line, SendText("AI0")); }
    void If1Command(JobStr& line) { Answer(line, SendText("AI1")); }
    void If2Command(JobStr& line) { Answer(line, SendText("AI2")); }

    std::unique_ptr<RAR5000> scanDialog_;
    std::unique_ptr<PAR5000> extraDialog_;
};
