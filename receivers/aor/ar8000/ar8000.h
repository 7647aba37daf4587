#pragma once
// The AR8000 panel (receiver type 2): the AOR handheld of 500 kHz..1900 MHz over the AOR core,
// the AR8200's older sibling with a simpler line. What it adds: replies complete at their CR
// and taken apart by the query that asked (one command line per exchange, so that no reply is
// left for the next), tuning through its two VFOs ("VA", "VB"), banks named by letters counted
// back from "t" beyond "J", mode digits without variants, seven-character labels, the level
// scale filled within the bandwidth itself, the search bank always the one of the current
// bank's number, its own scan started with its pause, delay, mode filter and links and stopped
// by tuning a VFO again, the job commands 211..228, its state file "AR8000.<port>" and its
// scan-mode dialog RAR8000, which sends nothing while it is edited.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "receivers/aor/aor_panel.h"
#include "receivers/aor/ar8000/ar8000_form.h"

class RAR8000;

// What an AR8000 line holds beyond the shared values.
struct Ar8000Reply : AorReply {
    bool Marked = false;      // "MX" or "MA": the line of a channel or of a VFO
    bool Stepped = false;     // "ST"
    bool StopReport = false;  // "LC" with its level: the own scan stopped there
    std::string Links;        // "BM", "BS": a letter or "-" for each of the 20 banks
};

class AR8000 : public AorPanel {
    friend class RAR8000;

  public:
    // The job catalog's heading and captions of the commands this panel serves.
    static const job_catalog::Heading kJobCatalog;
    static constexpr uint32_t kLowerLimit = 5'000;       // 500 kHz
    static constexpr uint32_t kUpperLimit = 19'000'000;  // 1900 MHz
    static constexpr int kBanks = 20;
    static constexpr int kChannels = 50;
    static constexpr int kSearchBanks = 20;
    static constexpr std::size_t kLabelWidth = 7;
    static const ChannelLayout kChannelLayout;
    // The banks' letters in bank order: A..J, then counted back from "t" (bank 10 is "j").
    static constexpr std::string_view kBankLetters = "ABCDEFGHIJjihgfedcba";
    // The link boxes' letters in their order.
    static constexpr std::string_view kLinkLetters = "ABCDEFGHIJabcdefghij";
    // The modes in the order of their digits ("MD0" .. "MD5").
    static constexpr std::string_view kModeDigits = "WFAULC";
    // The threshold of the scan's level analysis, 1..7.
    static constexpr uint32_t kLowestThreshold = 1, kHighestThreshold = 7;
    // The delay on a busy channel, seconds.
    static constexpr uint32_t kShortestDelay = 1, kLongestDelay = 99;

    AR8000();
    ~AR8000() override;

    // A bank's letter, and the bank of a letter read back: -1 for one outside A..J and a..j.
    static char BankLetter(int bank);
    static int BankOfLetter(char letter);
    // Of a link text (a state file's or the set's), only the link boxes' letters, each once.
    static std::string LinkLetters(std::string_view links);
    // The level a reply line to "LM" gives: its last two characters; -1 when they are no
    // level.
    static int32_t LevelOfLine(std::string_view line);
    // What a reply line holds.
    static Ar8000Reply TakeApart(std::string_view line);

    // --- The operations of every panel: every model's, then its own
    AOR_MODEL_OPERATIONS()
    // The set is asked only what the program needs: never for a level between scans.
    bool IdleForLevelPoll() const override { return false; }

    // --- What the panel and its dialog send
    // Makes the other VFO the active one with what it held; false when the receiver did not
    // take it.
    bool SwitchVfo();
    // The receiver's bank links into ScanSettings ("ML1", "BQ1", "BM", "BS"); false when it
    // did not answer.
    bool ReadBankLinks();

    // --- Panel state
    Ar8000Reply Reply;
    bool VfoA = true;              // VFO A is the active one
    std::array<AorVfo, 2> Vfos{};  // A, B
    AorVfo BeforeAuto;             // the mode and step AUTO took over
    // The scan dialog's settings beyond the shared ones: the threshold of the level analysis
    // and the delay on a busy channel in seconds ("Время_задержки").
    uint32_t Threshold = kLowestThreshold;
    uint32_t DelaySeconds = kShortestDelay;

    // Controls, owned by the form; empty until the create event.
    UI_FORM_CONTROLS(AR8000_CONTROLS)

    RAR8000* ScanDialog() const { return scanDialog_.get(); }

  private:
    // --- The core's hooks (ar8000.cpp, ar8000_banks.cpp, ar8000_replies.cpp): every model's, then
    // its own
    AOR_MODEL_HOOKS()
    void CreateModelControls() override { CreateFormControls(); }
    bool SelectBankForWalk(int bank) override;
    void BankChosen(int bank) override;
    void OwnScanStarted() override;

    // ar8000.cpp
    // The mode digit of a letter; R, which the set lacks, is sent as WFM.
    static int ModeDigit(char letter);
    // The line of a query ("RX", "VA", "MR<bank><channel>") into Reply: true when it is the
    // line of a channel or a VFO with its frequency and step.
    bool ReadState(const std::string& query);
    // What the state line said into the program state and the active VFO.
    void TakeReceiverState();
    void ShowVfo();
    bool ChooseAuto(bool on);
    void OnVfoButton();
    void OnAutoBox();
    void StepBank(int delta);
    // The pause and delay of the scan kind chosen, as the pause's reset says.
    bool SendPauseAndDelay();
    bool SendLinks();
    // The set's whole answer for an empty memory place.
    static constexpr std::string_view kEmptyPlace = "---";
    static constexpr const char* kLinksKept =
        "Связи банков не выбраны: приемник сканирует со своими связями";

    // Its own job commands (ar8000_jobs.cpp)
    static std::span<const JobCommand<AR8000>> OwnJobs();
    void VfoCommand(JobStr& line);
    void AutoCommand(JobStr& line);

    std::unique_ptr<RAR8000> scanDialog_;
};
