#pragma once
// The AR8200 panel (receiver type 9; type 11, the AR8600, is the same panel with the variant
// flag and its own caption): an AOR receiver of 100 kHz..2040 MHz over the AOR core. It adds
// the AR8200's token table, its lines of a channel and a search bank (banks named by letters,
// twelve-character labels, mode digits with narrow and wide variants), three VFOs, AUTO, the
// voice and level squelch, the receiver's own scan with its scan and bank dialog (RAR8200),
// the band scope shown as an analysis view in place of the channel list, the job commands
// 911..934 and its state file "AR8200.<port>".

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "receivers/aor/aor_panel.h"
#include "receivers/aor/ar8200/ar8200_form.h"
#include "receivers/aor/ar8200/ar8200_scope.h"

class RAR8200;

// The values of the AR8200's reply lines beyond the shared ones.
struct Ar8200Reply : AorReply {
    int32_t Filter = 0;         // MD: 0 normal, 1 narrow, 2 wide
    int32_t Configuration = 0;  // GS, GM: the scan configuration 0..9
    std::string Links;          // BS, BM: the linked banks' letters, "-" for the others
    bool NoiseLimiter = false;  // NL
    bool AutoStore = false;     // AS
    std::string ScopeLine;      // DS: the sweep's line from its token on
};

class AR8200 : public AorPanel {
    friend class RAR8200;

  public:
    // The job catalog's heading and captions of the commands this panel serves.
    static const job_catalog::Heading kJobCatalog;
    static constexpr uint32_t kLowerLimit = 1000;        // 100 kHz
    static constexpr uint32_t kUpperLimit = 20'400'000;  // 2040 MHz
    static constexpr int kBanks = 20;
    static constexpr int kChannels = 50;
    static constexpr int kSearchBanks = 40;
    static constexpr std::size_t kLabelWidth = 12;
    static const ChannelLayout kChannelLayout;
    // The VFOs as the panel numbers them: the VFO button goes B, F, A, B.
    enum VfoChoice : int { kVfoB = 0, kVfoA = 1, kVfoF = 2 };
    static constexpr int kVfos = 3;
    // The own scan's longest pause (s) and delay (0.1 s), the delay that holds on a signal,
    // and the squelch level of a notch of the panel's and the dialog's sliders.
    static constexpr uint32_t kMostPause = 60, kMostDelay = 99, kHold = 255;
    static constexpr int kSliderUnit = 16;

    // A VFO as the panel keeps it while another is chosen.
    using Vfo = AorVfo;

    AR8200();
    ~AR8200() override;

    // --- The operations of every panel: every model's, then its own
    AOR_MODEL_OPERATIONS()
    bool SetFrequencyWait() override;
    void CopyBandScope() const override;

    // The mode digit of a letter and variant ("MD0" .. "MD8"); -1 for a letter the set lacks.
    static int ModeDigit(char letter, int32_t filter);

    // --- What the panel and its dialog send
    // "RX": where the receiver stands, into Reply; false when it did not answer.
    bool ReadFrequency();
    // The VFO line of `choice` and ReadFrequency.
    bool SelectVfo(int choice);
    // The chosen squelch kind's value, "DA%03u" or "DB%03u"; 256 and above give 0.
    bool SetSquelch(uint32_t value);
    // The narrow, normal or wide variant the panel uses for F and A, and the mode set so.
    bool ChooseVariant(char letter, int32_t filter);
    // The pause on a busy channel and the delay after the signal went, for the scan kind
    // chosen; the delay 255 holds.
    bool SendPause();
    bool SendDelay();
    // The receiver's configuration of the scan kind chosen, its links taken (0 for none).
    int ReadScanConfiguration();

    // --- Panel state
    Ar8200Reply Reply;
    int32_t VfoChoice = kVfoF;
    std::array<Vfo, kVfos> Vfos{};
    Vfo BeforeAuto;  // the mode and step AUTO took over
    static constexpr uint32_t kAllModes = 9;
    // What the panel and its dialog set besides the scan settings; the state file keeps it.
    struct Settings {
        bool Fnar = false, Anar = false, Awide = false;  // the variants of F and A
        bool VoiceSquelch = false;  // the squelch slider sets the voice squelch, else the level's
        uint32_t VoiceValue = 0, LevelValue = 0;
        bool TwoVfoScan = false;  // the VFO scan takes VFOs A and B only
        // The mode filter of the bank scan: the dialog's option (F W A L U C nF wA nA, all).
        uint32_t ScanModeChoice = kAllModes;
    } Options;
    Ar8200Scope Scope;

    // Controls, owned by the form; empty until the create event.
    UI_FORM_CONTROLS(AR8200_CONTROLS)

    RAR8200* ScanDialog() const { return scanDialog_.get(); }

  private:
    // --- The core's hooks (ar8200.cpp, ar8200_banks.cpp, ar8200_replies.cpp): every model's, then
    // its own
    AOR_MODEL_HOOKS()
    void CreateModelControls() override;
    void OnModelCode(uint32_t code) override;
    bool SelectBankForWalk(int bank) override;
    bool SelectWrittenSearchBank(int bank) override;
    void OwnScanStarted() override;

    // ar8200.cpp
    // The variant the panel uses for a letter (Fnar, Anar, Awide).
    int32_t FilterFor(char letter) const;
    // Search banks are named A..T, a..t.
    std::string SearchBankName(int bank) const override;
    void TakeReceiverState();
    void ShowVfo();
    void ShowSquelch();
    void NextVfo();
    void OnAutoBox();
    bool SendChannelMode(const MemoryChannel& channel) override;
    void ChooseSquelchKind(bool voice);
    // ar8200_view.cpp: the analysis view
    void SetScopeView(bool on);
    void OnScopeTick();
    void ChooseScopeSpan(int index);
    void PauseScope();
    void NextScopeFactor();
    bool StartSweep();
    void TakeScopeLine();

    // Its own job commands (ar8200_jobs.cpp)
    static std::span<const JobCommand<AR8200>> OwnJobs();
    void DirectWriteSwitched(JobStr& line) override;
    void VfoCommand(JobStr& line);
    void AutoCommand(JobStr& line);
    void ScanSettingsCommand(JobStr& line);
    void SquelchValueCommand(JobStr& line);
    void VoiceSquelchCommand(JobStr&) { ChooseSquelchKind(true); }
    void LevelSquelchCommand(JobStr&) { ChooseSquelchKind(false); }

    std::unique_ptr<RAR8200> scanDialog_;
};
