#pragma once
// What the AOR panels on the line link share (AR5000, AR8200 with the AR8600, AR8000): the
// link and the data-arrived pass with the model's parser; the copy of the receiver's memory
// banks and search banks with its one walk (probe, select the bank, channel by channel, then
// the search banks) for reading, writing and clearing, the channel list and its edit row, the
// exchange with the bank items; the receiver's own scan, started, followed through the stops
// it reports unasked, and stopped; the job commands every model has; the memory part of the
// state file; and the AOR shape of the scans' share (the scan step copies the tune's reply out
// before it reads the level, tuning by hand reads the level even when the tune went
// unanswered, a stop reads a level after the cancel).
//
// A model gives an AorModel (limits, bank counts, layout, mode lists, list columns,
// calibration, state-file stem, fine-scale look), its token table (ParseLine), its line
// formats of a channel and a search bank, and a few hooks below; what every model defines is
// declared in its class by AOR_MODEL_OPERATIONS() and AOR_MODEL_HOOKS() (at the end).
//
// The AOR sets are polled for their level by the timer while they await nothing, as any panel;
// the AR8000 is never polled (its IdleForLevelPoll answers false).

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "receivers/aor/aor_bank_panel.h"
#include "receivers/aor/aor_link.h"
#include "receivers/fine_scale.h"
#include "receivers/memory_channel.h"
#include "receivers/panel.h"
#include "receivers/state_file.h"
#include "ui/controls.h"

// A search bank; both limits 0 is an empty one.
struct AorSearchBank {
    uint32_t Lower = 0;  // 100 Hz units
    uint32_t Upper = 0;
    uint32_t Step = 0;
    char Mode = 'F';
    std::string Label;
    bool Attenuator = false;
    uint32_t AttenuatorDb = 0;
    int32_t Filter = 0;

    bool Empty() const { return Lower == 0 && Upper == 0; }
    friend bool operator==(const AorSearchBank&, const AorSearchBank&) = default;
};

// A search bank read from a state file made one the set can take, and one that reads back
// the same once written: limits the wrong way round change places, and a bank with a limit
// has a step within the model's steps (one without, 0, the lowest). An empty bank stays.
void SettleSearchBank(AorSearchBank& bank, const ChannelLayout& layout);

// What a panel keeps of a VFO while another is the receiver's: where the program stood on it.
struct AorVfo {
    uint32_t Frequency = 0;  // 0: not known yet
    char Mode = 'F';
    int32_t Filter = 0;
    bool Attenuator = false;
    uint32_t Step = 0;
    bool Auto = false;

    bool Known() const { return Frequency != 0; }
};

// What the receiver's state line says it is doing.
enum class AorState { Unknown, Vfo, MemoryRead, MemoryScan, SearchScan, VfoScan, BandScope };

// The values the AOR sets' reply lines carry, as a model's token table takes them (a line
// sets only what it holds). A model adds its own values in a struct of its own over it.
struct AorReply {
    bool Accepted = true;  // no "?" in the line
    uint32_t Frequency = 0;
    // The line parsed last carried a frequency (a model whose stop reports hold theirs sets it
    // at its RF; the core clears it before every line).
    bool FrequencyReported = false;
    uint32_t Step = 0;
    int32_t Level = 0;       // 0..254
    bool LevelOpen = false;  // LM without "%": the squelch is open
    bool LcFlag = false;
    char Mode = 'F';        // the mode digit as a letter
    int32_t Bandwidth = 0;  // 100 Hz units
    bool Attenuator = false;
    uint32_t AttenuatorDb = 0;
    std::string Label;  // as sent (cp1251)
    bool ChannelPresent = true;
    int32_t Bank = -1;
    int32_t Channel = -1;
    int32_t SearchBank = -1;
    int32_t Vfo = 0;
    AorState State = AorState::Unknown;
    bool SelectScan = false;
    std::string Version;
    bool Auto = false;
    bool BankLink = false;
    std::string SearchLinks;  // "BS" read back
    std::string MemoryLinks;  // "BM" read back
    bool Select = false;      // GA
    bool Skip = false;        // MP
    int32_t Pause = 0;
    int32_t Delay = 0;  // tenths of a second, 255 hold
    bool SignA = false, SignB = false;
    int32_t ValueA = 0, ValueB = 0;
    uint32_t SearchLower = 0, SearchUpper = 0;
    char ScanMode = 'I';  // XM: a mode letter, I for all
};

namespace aor {

// Values the AOR sets report alike, for the models' token tables (`Reply` is the model's
// AorReply): a level with its sign of use ("DB+032"), a pause in seconds ("SP12"), a delay in
// tenths of a second or "FF" for holding (255).
template <class Reply>
void SignAValueA(Reply& r, const TokenText& t) {
    r.SignA = t.At(2) == '+';
    r.ValueA = static_cast<int32_t>(t.Number(3, 3));
}
template <class Reply>
void SignBValueB(Reply& r, const TokenText& t) {
    r.SignB = t.At(2) == '+';
    r.ValueB = static_cast<int32_t>(t.Number(3, 3));
}
template <class Reply>
void PauseOf(Reply& r, const TokenText& t) {
    r.Pause = static_cast<int32_t>(t.Number(2, 2));
}
template <class Reply>
void DelayOf(Reply& r, const TokenText& t) {
    r.Delay = t.Text(2, 2) == "FF" ? 255 : static_cast<int32_t>(FDX::ParseKHz(t.Text(2, 3)));
}

}  // namespace aor

// How the receiver's own scan runs and what the panel does when it stops on a signal ("Сигнал"
// and "Задание"); the model's scan dialog edits it, the state file keeps it.
struct AorScanSettings : ScanStopSettings {
    enum class Kind { Search, MemoryBanks, Vfo };
    Kind kind = Kind::Search;  // "Сканирование_Диапазон", "Сканирование_Банка"
    bool SelectScan = false;  // "Выбор_каналов"
    bool ModeScan = false;    // "Выбор_мод": only one modulation
    uint32_t ModeChoice = 0;  // "Мод_тип": the mode the scan keeps to
    uint32_t Pause = 0;       // "Пауза", seconds 0..60
    bool DelayOn = false;     // "Задержка"
    uint32_t Delay = 20;      // "Время_задержки", tenths of a second 0..99
    bool Hold = false;        // "Запрет"
    bool Voice = false;       // "VSC"
    bool LevelBox = false;    // "SLVL"
    uint32_t FirstLevel = 0;  // thresholds of the VFO scan, kept in the panel
    uint32_t SecondLevel = 0;
    std::string SearchLinks;  // "Банки_поиска"
    std::string MemoryLinks;  // "Банки_сканирования"

    // The links of the scan kind chosen: the memory banks' for a bank scan, else the search
    // banks'.
    std::string& ChosenLinks() { return kind == Kind::MemoryBanks ? MemoryLinks : SearchLinks; }
    // A bank's letter joins the chosen links (once) or leaves them.
    void Link(char letter, bool linked);

    friend bool operator==(const AorScanSettings&, const AorScanSettings&) = default;
};

// How a model keeps its memory: the memory part of its state file and the walks of a transfer
// (what storing the current settings does is its layout's ChannelStore). The defaults are the
// AR5000's; the AR8200 (and the AR8000, which has no filters) keeps the other choice of each.
struct AorMemoryRules {
    // "Банк_поиска": before every search bank with its number (each bank's SF keys follow
    // it), or once with the current search bank (each search bank then starts at its "SFN").
    enum class SearchBankKey { BeforeEach, CurrentOnce };
    // The keys of a search bank after "SFN" and "SFK": every key of every bank ("SF_ID" even
    // when empty), or, as a channel's, only for a bank that is not empty and "SF_ID" only
    // when set. Either way "SF_QMOD" (a filter other than normal) and "SF_QATT" (a depth
    // other than the 10 dB "SF_ATT=+" alone stands for) only where the layout holds them,
    // "SF_QMOD" in the layout's order.
    enum class SearchBankKeys { Every, AsChannels };
    // Between the channels and the search banks: the level scale's count alone (its runs
    // come at the end of the file, after the model's last keys), or the whole level scale.
    enum class ScaleKeys { CountOnly, Whole };
    // A bank write clears an empty channel on the receiver, or never writes it.
    enum class EmptyChannels { ClearedOnReceiver, NeverWritten };
    // A read of the memory takes the memory banks and then the search banks, or bank i and
    // then search bank i.
    enum class ReadOrder { MemoryThenSearchBanks, BankWithItsSearchBank };
    // A clear of the banks empties every search bank when it takes the whole memory, or the
    // current search bank's two limits go to 0 with each bank's copy cleared.
    enum class SearchBanksCleared { AllWithWholeMemory, CurrentWithEachBank };
    // Where a read of the whole memory asks the set's level: once before it, before each bank,
    // or before each bank and each of its channels. A read of the current bank asks once,
    // before it; none asks before a search bank.
    enum class ReadProbes { Once, EachBank, EachBankAndChannel };

    SearchBankKey searchBankKey = SearchBankKey::BeforeEach;
    SearchBankKeys searchBankKeys = SearchBankKeys::Every;
    ScaleKeys scaleKeys = ScaleKeys::CountOnly;
    EmptyChannels emptyChannels = EmptyChannels::ClearedOnReceiver;
    ReadOrder readOrder = ReadOrder::MemoryThenSearchBanks;
    SearchBanksCleared searchBanksCleared = SearchBanksCleared::AllWithWholeMemory;
    ReadProbes readProbes = ReadProbes::EachBank;
};

// An AOR model as data.
struct AorModel {
    const ui::FormResource* form;
    uint32_t lowerLimit;  // 100 Hz units
    uint32_t upperLimit;
    int banks;  // memory banks, each of `list.layout->bankSize` channels
    int searchBanks;
    AorChannelList list;  // the channels' layout, the mode entries, the list's columns
    // Tenths of dB at the raw levels 0, 16, .. 256.
    std::array<int32_t, 17> calibration;
    const char* stateFileStem;  // "<stem>.<port>" in the program folder
    FineScaleLook fineScale;
    // The level scale's fill window in bandwidths: twice the bandwidth, or (the AR8000) the
    // bandwidth itself.
    int32_t fillWindowBandwidths = 2;
    // Every command is answered by one line, complete at its CR (AorLink::LineByLine).
    bool lineByLine = false;
    // The search bank in use is always the one of the current bank's number (the AR8000).
    bool searchBankFollowsBank = false;
    // A channel chosen by a click on its row is tuned to (TuneToChannel; the handhelds).
    bool tunesChosenChannel = false;
    // A first lower limit typed into an empty search bank gives the upper limit one step (the
    // program's) above it (the handhelds), or the lower limit itself.
    bool firstUpperStepAbove = false;
    // A transfer of the current bank also reads (writes) the current search bank.
    bool currentReadTakesSearchBank = false;
    bool currentWriteTakesSearchBank = true;
    AorMemoryRules memory = {};
    // The job commands of the handhelds are numbered from it (type × 100): the AR8000 200,
    // the AR8200 900.
    uint32_t jobBase = 0;
};

class AorPanel;

// The memory part of a state file read key by key into copies of the panel's channels and
// search banks, its bank choice ("Банк" and a "Позиция_Банк" line per bank) and, where the
// model keeps them, its boxes, which the panel takes once the whole file was read. Every
// number that picks a place is checked: a file edited by hand must not reach outside the
// panel's tables.
class AorMemoryKeys {
  public:
    // withBoxes: the file keeps the attenuator, sound, direct-write and whole-memory boxes as
    // flags ("Атт", "Звук", "Запись", "Память": the AR8200's and the AR8000's).
    explicit AorMemoryKeys(const AorPanel& panel, bool withBoxes = false);
    // True when the key was one of the memory part.
    bool Take(std::string_view key, std::string_view value);

    std::vector<MemoryChannel> channels;
    std::vector<AorSearchBank> searchBanks;
    // The current search bank, when the model's file names it.
    std::optional<int32_t> currentSearchBank;
    int32_t bank;
    std::vector<int32_t> positions;
    // A flag stands in the file only while set: each starts off.
    struct Boxes {
        bool attenuator = false, sound = false, direct = false, whole = false;
    };
    std::optional<Boxes> boxes;

  private:
    uint32_t Clamp(uint32_t frequency) const;
    void TakeSearchBankKey(uint32_t number);

    bool TakeBankKey(std::string_view key, uint32_t number);

    ChannelKeyReader reader_;
    const AorMemoryRules& rules_;
    const ChannelLayout& layout_;
    uint32_t lower_, upper_;
    int64_t searchBank_ = -1;  // the search bank the SF keys belong to
    int32_t banks_;
    std::size_t positionCount_ = 0;
};

class AorPanel : public AorBankPanel {
  public:
    // "Позиция_Банк" lines of the state file: one selected channel per bank.
    static constexpr int kBankPositions = 20;
    static constexpr std::string_view kSearchBankKey = "Банк_поиска";
    // The state file's keys of the bank choice and of the handhelds' boxes (attenuator, sound,
    // direct writing, the whole memory).
    static constexpr std::string_view kBankKey = "Банк";
    static constexpr std::string_view kPositionKey = "Позиция_Банк";
    static constexpr std::string_view kSearchLinksKey = "Банки_поиска";
    static constexpr std::string_view kMemoryLinksKey = "Банки_сканирования";
    static constexpr std::string_view kBoxKeys[] = {"Атт", "Звук", "Запись", "Память"};

    uint32_t ReadReply() override { return Link.ReadReply(); }
    bool Poll(bool timerTick) override;
    // The handhelds' job line, through the commands both sets number alike from the model's
    // jobBase (TakeHandheldJobs, the fine scale's at jobBase + 19 .. 23) and the model's own, which
    // carry their whole numbers; a model with a table of its own serves its lines itself.
    void ExecuteCommand() override;
    int32_t ScanLevel() override;
    int32_t TuneAndRead() override;
    void ReleaseForStop() override;
    // An attenuator on or off ("AT1", "AT0"), on at the model's one depth; a model with
    // depths to choose sends its own.
    bool SetAttenuator() override;

    // Sends one command line, the text with CR LF after it, and waits for any line: true
    // when answered and not refused ("?").
    bool SendText(std::string_view text);

    // --- Memory and search banks (aor_banks.cpp)
    // Reads one channel into its record: true when the receiver holds it. The receiver's "---"
    // for it empties the record; no answer leaves it as it is.
    bool ReadChannel(int bank, int channel);
    // Reads one search bank: true when the receiver answered for it (an empty answer clears
    // the record; no answer leaves it).
    bool ReadSearchBank(int bank);
    void ReadCurrentBank();
    void ReadAllBanks();
    // The places a bank write did not get into the receiver (refused or unanswered, a clear of
    // an empty one too): told once the write is over, counted with the first named; and those
    // it did not send (an empty one the model never writes, every place after a walk cut by a
    // lost set), which are not told. The read-back after the write leaves both as the panel has
    // them: only what the receiver took is read back over the panel's.
    struct Unwritten {
        std::vector<std::pair<int, int>> channels;  // bank, channel; in the order written
        std::vector<int> searchBanks;
        std::vector<std::pair<int, int>> channelsLeft;
        std::vector<int> searchBanksLeft;
        bool HoldsChannel(int bank, int channel) const;
        bool HoldsSearchBank(int bank) const;
    };
    Unwritten WriteCurrentBank();
    Unwritten WriteAllBanks();
    // The receiver's current settings into the selected channel.
    void StoreCurrentSettings();
    // PostClearData: the banks (all of them with the whole-memory box), on the receiver too
    // with the direct-write box, and the search banks as the model's rules say.
    void ClearBanks();
    MemoryChannel& ChannelAt(int bank, int channel) override {
        return Channels[Index(bank, channel)];
    }
    const MemoryChannel& ChannelAt(int bank, int channel) const {
        return Channels[Index(bank, channel)];
    }
    int32_t SelectedChannel() const override;

    // --- The receiver's own scan
    bool StartOwnScan();
    void StopOwnScan();
    // AUTO ("AU1", "AU0"): the receiver chooses mode and step by itself. Setting a mode or a
    // step leaves it first, the box unticked.
    bool SetAuto(bool on);
    void LeaveAuto();
    // AUTO, the attenuator or the sound, as the box or a job line asks; one the receiver
    // refuses or leaves unanswered stays as it was, the box shows it so and the operator (or
    // the job line, failed) is told: message 39. False then.
    bool SwitchAuto(bool on);
    bool SwitchAttenuator(bool on);
    bool SwitchSound(bool on);

    // The program state's tuning as a VFO keeps it; a VFO kept so back into the program state
    // (nothing for one not known yet; a step not known leaves the program's). The AUTO switch
    // is the model's to take.
    AorVfo CurrentVfo() const;
    void TakeVfo(const AorVfo& vfo);

    // The links of ScanSettings into the receiver's scan: cleared, then the memory banks'
    // ("BM") for a bank scan, else the search banks' ("BS"); false when either was refused.
    bool SendBankLinks();

    // --- Panel state
    AorLink Link{*this};
    std::vector<MemoryChannel> Channels;  // bank-major
    std::vector<AorSearchBank> SearchBanks;
    std::array<int32_t, kBankPositions> BankPositions{};  // the selected channel of each bank
    int32_t CurrentSearchBank = 0;
    bool BanksBeingRead = false;  // a memory line answers a channel read
    bool WholeMemory = false;     // transfers and clearing cover all banks
    int32_t Bandwidth = 150;      // 100 Hz units; the fill window is fillWindowBandwidths times it
    bool Scanning = false;        // the receiver's own scan runs
    bool AutoOn = false;          // AUTO: the receiver's mode and step are its own
    AorScanSettings ScanSettings;
    // A stop of the receiver's own scan was reported (an LC line) and its frequency follows.
    bool StopPending = false;
    int32_t StopLevel = 0;
    // The line that ended the last exchange was "---": nothing there (an empty search bank
    // asked to scan).
    bool AnsweredEmpty = false;

    // --- The controls the core drives besides the list and the edit row, placed by each
    // model's form: the rows of its list of controls marked `inherited` (ui/form_controls.h).
    // A model without one of them leaves it null.
    ui::Label* label_1 = nullptr;             // the frequency
    ui::Edit* width = nullptr;                // the bandwidth, kHz
    ui::CommandButton* cb_3 = nullptr;        // the current settings into the channel
    ui::CommandButton* cb_2 = nullptr;        // read the banks
    ui::CommandButton* cb_1 = nullptr;        // write the banks
    ui::CheckBox* cbank = nullptr;            // direct writing
    ui::CheckBox* mem = nullptr;              // the whole memory
    ui::CheckBox* cauto = nullptr;            // AUTO
    ui::CheckBox* catt = nullptr;             // the attenuator on or off
    ui::CheckBox* csound = nullptr;           // the sound on or off ("MC0", "MC1")
    ui::PictureButton* pictbttn_1 = nullptr;  // starts the receiver's own scan
    ui::PictureButton* pictbttn_6 = nullptr;  // opens the scan's settings
    ui::PictureButton* clear = nullptr;       // stops the scan, else clears the fine scale
    ui::CommandButton* off = nullptr;      // the connection: "выкл" connected, "вкл" let go
    ui::ComboBox* bn = nullptr;            // the bank
    ui::ComboBox* sbn = nullptr;           // the search bank
    ui::Label* sbank = nullptr;            // or its name alone
    ui::Edit* textb_Fn = nullptr;          // its lower limit, MHz
    ui::Edit* textb_Fk = nullptr;          // its upper limit, MHz
    ui::Edit* textb_step = nullptr;        // its step, kHz
    ui::ComboBox* combo_mod = nullptr;     // its mode
    ui::ComboBox* scombo_att = nullptr;    // its attenuator: "0", "10", "20", "AU"
    ui::CheckBox* checkbox_att = nullptr;  // or its attenuator on or off
    ui::Edit* textb_com = nullptr;         // its label

  protected:
    // The model's destructor destroys the form (Destroy), so that the state file is written
    // while the model's hooks are still there.
    AorPanel(const AorModel& model, AorReply& reply);
    // A handheld with its own job commands beside those both number alike (ExecuteCommand).
    template <class Model>
    AorPanel(const AorModel& model, AorReply& reply, std::span<const JobCommand<Model>> ownJobs)
        : AorPanel(model, reply) {
        for (const JobCommand<Model>& own : ownJobs)
            jobs_.push_back({own.number, static_cast<JobRun>(own.run)});
        TakeHandheldJobs();
    }

    // What a read of one channel or search bank brought.
    enum class ChannelAnswer { None, Empty, Found };

    // --- What the model adds: its controls (CreateModelControls makes the form's, the core's
    // among them, and fills what the core does not; ForgetControls), its synchronisation, its
    // state file (head, model keys and the memory part), and these.
    virtual void CreateModelControls() = 0;
    void ForgetControls() override = 0;
    void Synchronise() override = 0;
    bool ReadStateFile() override = 0;
    virtual void SetModelDefaults() {}
    virtual void WireModelControls() {}
    // Every setting onto the controls (after creation and the start-up sync).
    virtual void ShowAll();
    virtual void OnModelCode(uint32_t code) { (void)code; }
    // Classifies Link.ReplyLine (Link.ReplyKind, Link.ReplyAccepted) and takes its values.
    virtual void ParseLine() = 0;
    // The readout and the fine scale follow FDX::Frequency.
    void FollowTuning() override;

    // The bank as the receiver names it in a line; a search bank likewise (by default as a
    // bank of that number).
    virtual std::string BankName(int bank) const = 0;
    virtual std::string SearchBankName(int bank) const { return BankName(bank); }
    // Fills `out` from the receiver; `full` also reads the select and skip flags and the
    // level. `out` is left alone unless Found.
    virtual ChannelAnswer ReadChannelInto(int bank, int channel, MemoryChannel& out, bool full) = 0;
    virtual ChannelAnswer ReadSearchBankInto(int bank, AorSearchBank& out) = 0;
    // One write of a channel's record, of a search bank's; waited for.
    virtual bool SendChannel(int bank, int channel) = 0;
    virtual bool SendSearchBank(int bank) = 0;
    // A channel of a bank transfer: SendChannel, and what the model checks after; false when
    // the channel did not get into the receiver.
    virtual bool WriteChannel(int bank, int channel) { return SendChannel(bank, channel); }
    virtual bool ClearChannelOnReceiver(int bank, int channel) = 0;
    virtual void ClearBankOnReceiver(int bank) = 0;
    // A search bank the row's edit wrote becomes the receiver's current one where the model
    // selects it so (the AR8200's "SR"); false when the receiver did not take it.
    virtual bool SelectWrittenSearchBank(int bank) {
        (void)bank;
        return true;
    }
    // A search bank emptied on the receiver; a model whose search banks are only ever written
    // over (the AR8000, the AR8200) has nothing to send.
    virtual void ClearSearchBankOnReceiver(int bank) { (void)bank; }
    // A bank of a transfer is made the receiver's current one; false leaves its channels.
    virtual bool SelectBankForWalk(int bank) {
        (void)bank;
        return true;
    }
    // Around the memory of a transfer, once the receiver answered: `reselect` when the
    // model may tune back to where it stood.
    virtual void MemoryWalkStarts() {}
    virtual void MemoryWalkEnded(bool reselect) { (void)reselect; }
    // The operator chose the current bank: with direct writing the receiver goes to its
    // selected channel. A model whose search bank goes with the bank takes that along.
    virtual void BankChosen(int bank);

    // The receiver's own scan: what goes out before the scan line (false: message 28), the
    // scan line with its status text; after a stop, where the receiver stands now.
    virtual bool PrepareOwnScan() { return true; }
    virtual std::string OwnScanLine(std::string& status) = 0;
    // The receiver took the scan line and scans now.
    virtual void OwnScanStarted() {}
    virtual void AfterOwnScanStop() = 0;
    // A sync that left the receiver on a VFO: the receiver's own scan the panel ran is over
    // (a receiver switched off and on again scans nothing), and the program's controls are
    // the operator's again.
    void OwnScanLeftBySync();

    // The texts of the status pane while the receiver scans by itself.
    static constexpr const char* kSearchScanText = "Поиск по диапазону";
    static constexpr const char* kSelectScanText = "Выборочное сканирование по банкам";
    static constexpr const char* kBankScanText = "Сканирование банков";

    // --- What the models use
    void ShowBandwidth();
    void ShowSearchBank();
    void ChooseBank(int bank);
    void ChooseSearchBank(int bank);
    AorSearchBank& CurrentSearch() {
        return SearchBanks[static_cast<std::size_t>(CurrentSearchBank)];
    }
    std::span<MemoryChannel> CurrentBankChannels() override;
    // A channel's fields as the reply line gave them (its frequency held to the receiver's
    // limits, its skip flag), with the mode and filter the model reads there; the select flag
    // and the level are the model's to read. `out` holds the panel's channel: its label stays
    // where the set still holds that channel (HeldLabel) with what it went to the set as
    // (LabelOfReply).
    void TakeChannelReply(const AorReply& reply, int channel, char mode, int32_t filter,
                          MemoryChannel& out) const;
    // A search bank as the reply line gave it (its limits held to the receiver's, one of 0
    // left unset), with the mode and filter the model reads there; the label of the panel's
    // search bank stays as a channel's does, where the set holds it with the same limits.
    AorSearchBank SearchBankOf(const AorReply& reply, char mode, int32_t filter,
                               const AorSearchBank& panels) const;
    // The label a reply line's label field (`wire`, as sent) gives a channel or a search bank
    // that held `held` (empty for one the set no longer holds): `held` itself where the set
    // holds what it went to the set as (LabelReadBack), else the set's.
    std::string LabelOfReply(const std::string& wire, const std::string& held) const;
    // Link.ReplyLine through the model's token table into `reply`, its kind and its refusal
    // ("?") to the link: what gave the kind, for the model's own checks. "?" and "---" speak of
    // their own line only: the answer to a read before, coming late, must not make the channel
    // asked for now look empty.
    template <class Reply>
    aor::LineKind ParseReplyLine(std::span<const aor::Token<Reply>> table, Reply& reply) {
        reply.Accepted = true;
        reply.ChannelPresent = true;
        const aor::LineKind kind = aor::ParseTokens(Link.ReplyLine, table, reply);
        Link.ReplyKind = kind.kind;
        Link.ReplyAccepted = reply.Accepted;
        return kind;
    }
    // The level probe before a bank transfer: true when the receiver answers.
    bool Answers() { return ReadLevel() != -1; }
    void LockControls(bool locked) override;
    // The memory part of the state file: the channels, the level scale (its count or the
    // whole), the search banks, as the model's AorMemoryRules lay it out.
    void WriteMemoryKeys(StateFileWriter& file) const;
    // The bank choice: "Банк", the scan's links ("Банки_поиска", "Банки_сканирования") where
    // the model keeps them there, a "Позиция_Банк" line per bank.
    void WriteBankKeys(StateFileWriter& file, bool links) const;
    // The handhelds' boxes as flags (AorMemoryKeys withBoxes reads them).
    void WriteBoxKeys(StateFileWriter& file) const;
    // The handhelds' state file: the head (`head` adds the model's keys after the modulation),
    // the bank keys (the scan's links among them where `links`), the boxes, the model's keys
    // and the memory part.
    using KeyWriter = std::function<void(StateFileWriter& file)>;
    bool WriteHandheldStateFile(bool links, const KeyWriter& modelKeys,
                                const KeyWriter& head = nullptr);
    // Reads the handhelds' state file: the memory part with the boxes, every other key to
    // modelKey; once the whole file was read, `taken` makes the model's keys the panel's, then
    // the memory part becomes the panel's. False, with nothing taken, when there is no file.
    bool ReadHandheldStateFile(
        const std::function<void(std::string_view key, std::string_view value)>& modelKey,
        const std::function<void()>& taken);
    // The memory part as AorMemoryKeys read it, once the whole file was read.
    void TakeMemoryKeys(AorMemoryKeys& keys);

    // --- Job commands every model has
    // A setting the receiver refused ("?"), did not answer or that could not go out fails
    // its line, so that a COND line after it does not run as after a setting taken.
    static void Answer(JobStr& line, bool taken) {
        if (!taken) AnswerNoAccess(line);
    }
    void ReadBankCommand(JobStr&) { ReadCurrentBank(); }
    void WriteBankCommand(JobStr&) { WriteCurrentBank(); }
    void StoreCommand(JobStr&) { StoreCurrentSettings(); }
    void StopScanCommand(JobStr&) { StopOwnScan(); }
    void StartScanCommand(JobStr&) { StartOwnScan(); }
    void SearchBankCommand(JobStr& line);
    void DirectCommand(JobStr& line);
    void BankCommand(JobStr& line);
    void ChannelCommand(JobStr& line);
    void WholeMemoryCommand(JobStr& line);

    // --- Job commands of the sets with an attenuator box, a sound box and a connection button
    // (the AR8000 and the AR8200; aor_jobs.cpp)
    // Direct writing switched by the line's value, the box following; then the model's
    // DirectWriteSwitched.
    void DirectWriteCommand(JobStr& line);
    virtual void DirectWriteSwitched(JobStr& line) { (void)line; }
    // The banks read or written (all of them with the whole-memory box); with direct writing
    // the receiver then stands on the current bank, search bank and channel again.
    void ReadMemoryCommand(JobStr& line);
    void WriteMemoryCommand(JobStr& line);
    void AttenuatorBoxCommand(JobStr& line);
    void SoundBoxCommand(JobStr& line);
    bool SendMute();
    void WholeMemoryBoxCommand(JobStr& line);
    // The receiver's own scan stopped while it runs, else the scale cleared (once confirmed).
    void ClearOrStopCommand(JobStr& line);
    // "EX" lets the receiver go; the next press of the button (or the job line) connects it
    // again. An "EX" not taken leaves the button as it was: message 39, the line failed.
    void ConnectionCommand(JobStr& line);
    // The channel := value, chosen in the list and tuned.
    void TuneChannelCommand(JobStr& line);
    // The connection button as the operator clicks it: as the job line does.
    void OnConnectButton();
    // The selected channel into the program state and the receiver (read from the receiver
    // first with direct writing); the level measured there into the channel.
    void TuneToChannel();
    // The receiver goes to the current bank, its selected channel and the current search bank,
    // and the channel and the search bank are read from it; what a write left `unwritten`
    // keeps the panel's (the receiver's answer there is not what the operator has).
    void GoToCurrentPlaces(const Unwritten& unwritten = {});
    // The mode of a channel tuned to; by default the program state's mode, which the channel
    // gave it.
    virtual bool SendChannelMode(const MemoryChannel& channel) {
        (void)channel;
        return SetMode();
    }

    const AorModel& model_;
    AorReply& reply_;

  private:
    // The commands both handhelds number alike, added to jobs_ from the model's jobBase.
    void TakeHandheldJobs();
    using JobRun = void (AorPanel::*)(JobStr& line);
    std::vector<JobCommand<AorPanel>> jobs_;

    friend class AorMemoryKeys;

    std::size_t Index(int bank, int channel) const;
    void CreateControls() final;
    void SetDefaults() override;
    void WireControls() override;
    void ShowControls() override { ShowAll(); }
    void BankItemTaken() override;
    void OnPanelCode(uint32_t code) override;
    // The refreshes leave the fine scale's page where it stands.
    void RefreshData() override { Fine.Redraw(); }
    void RefreshDisplay() override;
    void LoadReceiverSetup();
    void AfterLine(bool ended);
    void ReportStop();

    // The walks of a transfer (aor_banks.cpp): the banks, each probed, selected and walked
    // channel by channel, and the search banks, after all banks or each after its bank as
    // the model reads. False when a probe went unanswered. A read of the `whole` memory
    // probes as the model's rules say, and notes in `unread` what it did not get; a write
    // notes in `unwritten` what did not get into the receiver.
    bool WalkRead(bool whole, std::span<const int> banks, std::span<const int> searchBanks,
                  Unread& unread);
    bool WalkWrite(std::span<const int> banks, std::span<const int> searchBanks,
                   Unwritten& unwritten);
    void WriteBankChannels(int bank, Unwritten& unwritten);
    // A bank write clears the receiver's channels where the panel has none (the model's rule).
    bool WritesEmptyChannels() const;
    void TellUnread(const Unread& unread);
    ChannelAnswer ReadChannelAnswer(int bank, int channel);
    // The walk of a write in a transfer, then what it did not write told.
    Unwritten WriteBanks(const std::string& status, std::span<const int> banks,
                         std::span<const int> searchBanks);
    void TellUnwritten(const Unwritten& unwritten);
    void WriteSearchBankKeys(StateFileWriter& file) const;
    void StandOnCurrentChannel(const Unwritten& unwritten = {});

    // The bank choice, the search bank's boxes and the edits through the receiver
    // (aor_search_banks.cpp).
    void ChooseChannel(int channel) override;
    bool EditOnReceiver(const std::function<void(MemoryChannel&)>& edit) override;
    void ChannelEmptied(MemoryChannel& record, const MemoryChannel& before) override;
    void ShowEntryBandwidth(int32_t bandwidth) override;
    void ShowBankChoice() override;
    void WireBankControls();
    void WireSearchBankRow();
    void EditSearchBank(const std::function<void(AorSearchBank&)>& edit, bool sendAnyway);
    void OnSearchLower(const std::string& text);
    void TakeSearchModeEntry(int64_t index);
    void TakeSearchAttenuator(int64_t index);
    void TakeSearchAttenuatorBox();
};

// The operations of every panel that each model over the core defines, declared once in its
// class's public part: every family's (PANEL_OPERATIONS), then the step and the dialogs'
// codes; those only some models have they declare themselves.
#define AOR_MODEL_OPERATIONS() \
    PANEL_OPERATIONS()         \
    bool SetStep() override;   \
    void ServeDialogCode(uint32_t code) override;

// The core's hooks every model over it defines alike, declared once: each model's class names
// them in its private part (the form's controls before them: the fine scale is taken from the
// controls every AOR form names alike) and defines them in its own files. What only some
// models hook into they declare themselves.
#define AOR_MODEL_HOOKS()                                                                         \
    FineScaleControls FineScaleOnForm() override {                                                \
        return {scale, hs, step, pictbttn_2, pictbttn_3, pictbttn_4, pictbttn_5};                 \
    }                                                                                             \
    void ForgetControls() override {                                                              \
        ForgetFormControls();                                                                     \
    }                                                                                             \
    void SetModelDefaults() override;                                                             \
    void WireModelControls() override;                                                            \
    void ShowAll() override;                                                                      \
    void Synchronise() override;                                                                  \
    void ParseLine() override;                                                                    \
    void FollowTuning() override;                                                                 \
    std::string BankName(int bank) const override;                                                \
    ChannelAnswer ReadChannelInto(int bank, int channel, MemoryChannel& out, bool full) override; \
    ChannelAnswer ReadSearchBankInto(int bank, AorSearchBank& out) override;                      \
    bool SendChannel(int bank, int channel) override;                                             \
    bool SendSearchBank(int bank) override;                                                       \
    bool ClearChannelOnReceiver(int bank, int channel) override;                                  \
    void ClearBankOnReceiver(int bank) override;                                                  \
    void MemoryWalkEnded(bool reselect) override;                                                 \
    bool PrepareOwnScan() override;                                                               \
    std::string OwnScanLine(std::string& status) override;                                        \
    void AfterOwnScanStop() override;
