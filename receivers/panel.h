#pragma once
// The receiver panel: a form on the main window's receiver page and at the same time the
// driver of one receiver model. It writes commands to the serial port, finds the replies in
// the port's receive ring and answers the job lines addressed to the receiver. The main
// window holds the one panel of the configured type (made through the panel registry) and
// calls only the operations declared here; a model overrides those it serves, and the
// defaults are what a model without the operation does.
//
// One exchange at a time: a request made while a reply is awaited waits for that exchange to
// end and then goes out, so that nothing is dropped while its caller goes on. WaitReply serves
// posted codes and timer ticks while it waits (at most 1000 ms), so PostSerialData and the
// 100 ms tick reach the panel inside the wait and end it: Poll(false) parses the ring,
// Poll(true) counts the exchange down from 10 ticks. Whatever a wait serves may send in turn:
// every exchange is numbered, and a wait ends with the outcome of its own exchange, not with
// that of a request sent meanwhile.
//
// The defaults are those of a model that answers each request with one reply on the serial
// line. What a model does differently it says by the registry's traits (panel_registry.h) and
// by the hooks of "The scans' share" below; the family's own header tells what its models
// change (aor/aor_panel.h, icom/civ_panel.h, icom/pcr1000/pcr1000.h, winradio/winradio.h).

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "receivers/fine_scale.h"
#include "receivers/job_catalog.h"
#include "receivers/level_scale.h"
#include "receivers/panel_pictures.h"
#include "receivers/ring_cursor.h"
#include "receivers/scan_stop.h"
#include "receivers/state_file.h"
#include "state/fdx.h"
#include "state/job_str.h"
#include "state/message_bus.h"
#include "ui/form.h"
#include "ui/reply_event.h"

class Comm;
struct ChannelLayout;
struct MemoryChannel;

// What ModeParameter gives for a letter the receiver does not have.
inline constexpr int32_t kNoModeValue = 120;

// Message 39, "Ошибка обращения к приемнику(выключен)": the receiver did not take a line.
inline constexpr int kReceiverSilent = 39;

// What the panel's making takes of a model as data: its form, its limits, its fine scale's
// look, its calibration and its state file's name.
struct PanelShape {
    const ui::FormResource* form = nullptr;
    // The receiver's limits (100 Hz units) and the fine scale's first view step, set before
    // the model's defaults (which may change them); the fine scale starts at 0.
    uint32_t lowerLimit = 0, upperLimit = 0;
    uint32_t viewStep = 10000;
    FineScaleLook fineScale{};
    // Tenths of dB at the raw levels 0, 16, ..: they replace as many of the program's points
    // (FDX::Calibration) as the model gives.
    std::span<const int32_t> calibration;
    const char* stateFileStem = nullptr;  // "<stem>.<port>" in the program folder
    // The pictures of the form's picture buttons, by their names.
    PanelPictureFinder pictures = PanelPicture;
    // A step key that would leave the limits still tells the keypad it was served (the AOR
    // line sets'); else it does nothing.
    bool stepBeyondLimitsAnswered = false;
    // What the model's memory holds of a channel (memory_channel.h); null: it has no banks.
    const ChannelLayout* channels = nullptr;
};

// The shape a family's model data gives (the CivModel and the AorModel name these fields
// alike), with the model's channels.
template <class Model>
constexpr PanelShape ModelShape(const Model& model, const ChannelLayout* channels,
                                bool stepBeyondLimitsAnswered = false) {
    return {.form = model.form,
            .lowerLimit = model.lowerLimit,
            .upperLimit = model.upperLimit,
            .fineScale = model.fineScale,
            .calibration = model.calibration,
            .stateFileStem = model.stateFileStem,
            .stepBeyondLimitsAnswered = stepBeyondLimitsAnswered,
            .channels = channels};
}

// A panel's form: it fills the main window's receiver page.
constexpr ui::FormResource PanelForm(const char* name,
                                     std::span<const ui::ControlResource> controls,
                                     const char* caption = nullptr) {
    return {name, 283, 209, "8.MS Sans Serif", ui::style::kChild, caption, controls};
}

// A numbered panel command of a model: what it does with the job line, answering in it.
template <class Panel>
struct JobCommand {
    uint32_t number;
    void (Panel::*run)(JobStr& line);
};

// A family's commands are numbered alike from each model's job base (its type × 100): rows
// whose numbers are offsets, added to a model's table from its base. The family core's
// commands run on the model's panel, which derives from the core.
template <class Panel, class Rows>
void AddJobs(std::vector<JobCommand<Panel>>& table, const Rows& rows, uint32_t base = 0) {
    for (const auto& row : rows) table.push_back({base + row.number, row.run});
}

// The job numbers a model gives the fine scale's commands (0: it does not serve that one). The
// commands are the same on every panel (ReceiverPanel's), only their numbers are the model's.
struct FineScaleJobs {
    uint32_t fixedLeft = 0, fixedRight = 0, peakLeft = 0, peakRight = 0;
    uint32_t viewStep = 0;    // the view step the line's value names
    uint32_t clearScale = 0;  // the clearing of the level scale, confirmed by the operator

    // A layout below (offsets) numbered from a model's job base.
    constexpr FineScaleJobs From(uint32_t base) const {
        const auto at = [base](uint32_t offset) { return offset == 0 ? 0 : base + offset; };
        return {at(fixedLeft), at(fixedRight), at(peakLeft),
                at(peakRight), at(viewStep),   at(clearScale)};
    }
};

// The layouts of the fine scale's commands that several models share, as offsets from the job
// base. A number the model's own table also serves is the table's (the CI-V sets with a memory
// stop their own scan with 21 before it clears the scale; the HF sets choose the view step
// with 26 their own way).
// The ICOM sets': IC-R8500, IC-PCR1000 and the HF sets.
inline constexpr FineScaleJobs kIcomFineScaleJobs{.fixedLeft = 29,
                                                  .fixedRight = 30,
                                                  .peakLeft = 31,
                                                  .peakRight = 32,
                                                  .viewStep = 26,
                                                  .clearScale = 21};
// The AOR sets': AR5000, AR8200 and AR8000.
inline constexpr FineScaleJobs kAorFineScaleJobs{
    .fixedLeft = 19, .fixedRight = 20, .peakLeft = 21, .peakRight = 22, .viewStep = 23};
// The panels that number the fine scale's commands first: IC-R10 and WiNRADIO.
inline constexpr FineScaleJobs kScaleFirstFineScaleJobs{.fixedLeft = 16,
                                                        .fixedRight = 14,
                                                        .peakLeft = 15,
                                                        .peakRight = 13,
                                                        .viewStep = 12,
                                                        .clearScale = 11};

class ReceiverPanel : public ui::Form {
  public:
    // PendingCommand when no exchange is outstanding.
    static constexpr int32_t NoExchange = -2;
    // Timer ticks (100 ms) an exchange is given; every send and every wait starts it anew.
    static constexpr int32_t kReplyTicks = 10;
    // The longest reply wait.
    static constexpr int kReplyWaitMs = 1000;
    // The answer to a job line with a number the panel does not serve.
    static constexpr const char* kNoAccess = "Нет доступа к объекту";
    // The same answer as the AR8000, AR8200, IC-R10, IC-PCR1000 and WiNRADiO panels spell it.
    static constexpr const char* kNoAccessSpeltWithSoftSign = "Нет доступа к обьекту";
    // The answers to a job line naming a bank or a channel the panel does not have.
    static constexpr const char* kNoBank = "Не существует указанного банка";
    static constexpr const char* kNoChannel = "Не существует канала для данного банка";

    ~ReceiverPanel() override;

    // The program state the panel works on: the main window's, or the panel's own when it
    // was created without one.
    FDX* State() const { return fdx_; }

    // --- The operations the main window calls
    // Binds the panel to fdx (null: a state of the panel's own) and builds its form as a
    // child of parent (the making below); false when the form cannot be built or what it
    // needs is not there.
    virtual bool Create(ui::Form* parent, FDX* fdx);
    // Sends FDX::Frequency without waiting; false when it could not be sent.
    virtual bool SetFrequency() { return false; }
    // SetFrequency, then WaitReply.
    virtual bool SetFrequencyWait() { return SetFrequency() && WaitReply(); }
    // Each sends the program state's value and waits; false when refused, rejected, not
    // answered or not served.
    virtual bool SetMode() { return false; }
    virtual bool SetStep() { return false; }
    virtual bool SetAttenuator() { return false; }
    virtual bool SetSound() { return false; }
    // Queries the signal level now and waits: the raw level 0..255, -1 when a send was
    // refused or a wait timed out.
    virtual int32_t ReadLevel() { return -1; }
    // Copies one complete reply out of the ring: its byte count, 0 when none is complete.
    virtual uint32_t ReadReply() { return 0; }
    // Waits for the exchange sent last; true when its reply arrived and was accepted.
    // Returns at once when the reply is already complete.
    virtual bool WaitReply();
    // Abandons the outstanding exchange (a running wait returns) and, unless keepPort,
    // empties the port and its receive ring.
    virtual void Cancel(bool keepPort);
    // Cancel(false) of a stale exchange: while a wait runs (the start-up synchronisation's, a
    // job line's), the outstanding exchange is no stale one and is left to end; what the
    // caller sends next waits for it.
    void CancelUnawaited() {
        if (!Waiting()) Cancel(false);
    }
    // false: data arrived, parse the ring; true: one 100 ms tick. Returns ReplyComplete.
    virtual bool Poll(bool timerTick) { return timerTick ? TimerTick() : ReplyComplete; }
    // Executes the job line FDX::JobLine by its command number and posts PostJobStep; a
    // panel without commands answers every number "Нет доступа к объекту".
    virtual void ExecuteCommand();
    // The job numbers the panel serves: those ExecuteCommand looks a line up in (the model's
    // table and the fine scale's numbers), sorted, each once. Nothing is run or posted.
    std::vector<uint32_t> JobNumbers();
    // The value of a mode letter: the bandwidth of its filter, 100 Hz units.
    virtual int32_t ModeParameter(char letter) const {
        (void)letter;
        return kNoModeValue;
    }
    // Twice the bandwidth of the current filter, 100 Hz units (the report prints half of
    // it in kHz).
    virtual int32_t BandwidthValue() const { return Scale.FillWindow; }
    // Leaves the band scope the receiver page prints in FDX::ScopeStep, FDX::ScopeBlocks and
    // FDX::ScopeLevels; a panel without one leaves no block.
    virtual void CopyBandScope() const { fdx_->ScopeBlocks.fill(0); }
    // What the model's memory holds of a channel; null for a model without banks.
    const ChannelLayout* MemoryLayout() const { return shape_.channels; }
    // The codes a panel posts to the main window about its own dialogs
    // (PostOpenScanSettings, PostRefreshPanelDialogs, PostOpenExtraFunctions) come back
    // here: the panel owns its dialogs. A panel without dialogs ignores them.
    virtual void ServeDialogCode(uint32_t code) { (void)code; }

    // --- The scans' share: the hooks by which the scan engine and the dispatch serve every
    // model alike.
    // The timer's level poll may ask now; by default while nothing of the scan's or the
    // operator's is awaited. A model never polled answers false.
    virtual bool IdleForLevelPoll() const { return LinkIdle(); }
    // The tune of a scan step (SetFrequency), remembered for the step's ScanLevel.
    bool Tune();
    // The level of one scan step, after the step's tune; -1 when there is none. By default
    // what already arrived is parsed, the tune's reply awaited, then the level read, and -1
    // whenever the tune did not go out or was not answered, so that no level passes for a
    // point the receiver was not tuned to.
    virtual int32_t ScanLevel();
    // Manual tuning: tunes to FDX::Frequency, waits, and reads the level; by default -1 when
    // the tune was not acknowledged or the level not read.
    virtual int32_t TuneAndRead();
    // The first part of every stop; by default a stale request is dropped (CancelUnawaited).
    virtual void ReleaseForStop() { CancelUnawaited(); }
    // After a scan step whose level was not read, whether the port and the ring are emptied
    // now, so that a late reply cannot pass for the next one: by default only while no
    // exchange is awaited (another caller's, sent inside the step's waits), whose reply
    // emptying would drop.
    virtual bool EmptiesPortAfterFailedRead() const { return LinkIdle(); }
    // The step of the scale scan from one point to the next, 100 Hz units; by default the
    // program's step.
    virtual uint32_t ScaleScanStep() const { return fdx_->Step; }

    // --- The state file (RECV_SAVE): the panel's settings and level scale from one run to the
    // next. The main window's close writes it, so that a failure can stop the close; a panel
    // that goes without that close writes it as it goes.
    // Writes it when the panel keeps one: true when written or when there is nothing to keep
    // (nor when the start found a file it could neither read nor set aside), false when it could
    // not be written (the old file then stays as it was).
    bool SaveStateFile();
    // The model's writer; a model without a state file has nothing to write.
    virtual bool WriteStateFile() { return true; }
    // The model's reader (at the making, with RECV_SAVE): false, nothing changed, when there
    // is no file.
    virtual bool ReadStateFile() { return false; }
    // "<program folder><stem>.<port>".
    std::string StateFilePath() const;
    // Date and time of the file's last write or read.
    std::string SavedDate, SavedTime;

    // --- The start-up sync (PostSyncReceiver): job lines and scans wait for its end, and a
    // scan talks to the receiver only once the receiver has answered it. A model calls
    // BeginSync as its sync begins and EndSync as it ends, whoever asked for it; the end is
    // reported to the main window with PostReceiverState. A new panel's first sync is still
    // to come.
    void BeginSync() {
        syncEnded_ = false;
        syncing_ = true;
    }
    // why: for an unanswered sync whose cause the panel knows better than a silent receiver
    // (the WiNRADiO panel's message 2, no card to open), the numbered message the main window
    // tells in place of its message 39, or kWhyToldBefore when the operator has heard it since
    // the receiver last answered. The main window tells it, once no job and no reply wait
    // runs: a box asked for now would go into a running job's line (the start-up's own
    // among them, which nobody sees) or hold up a scan.
    void EndSync(bool answered, int why = 0);
    static constexpr int kWhyToldBefore = -1;
    bool SyncEnded() const { return syncEnded_; }
    bool ReceiverAnswered() const { return receiverAnswered_; }
    // EndSync's `why` of the last sync, 0 when it was answered or the panel named no cause.
    int SyncFailureWhy() const { return syncFailureWhy_; }
    // The last sync ended unanswered while a close of the program was asked: it was broken off
    // (Closing), the receiver not heard out. Kept with the sync, as the close may have been
    // answered no by the time its end is heard.
    bool SyncBrokenOffByClose() const { return syncBrokenOff_; }
    // How many syncs have ended: the main window tells a new end by it.
    uint32_t SyncCount() const { return syncCount_; }
    // The line to the receiver went away: it counts as silent until a sync is answered again.
    void LoseReceiver() { receiverAnswered_ = false; }
    // Exchanges given up unanswered since the receiver last replied to one (or answered a
    // sync): the main window tells a receiver gone silent by it.
    uint32_t UnansweredInARow() const { return unansweredInARow_; }
    // For a panel whose receiver has no exchanges (the WiNRADiO card, one library call a
    // request): a request it failed, or one it answered, counts as an exchange given up or
    // answered.
    void CountRequest(bool answered) {
        if (answered)
            unansweredInARow_ = 0;
        else
            ++unansweredInARow_;
    }

    // --- Exchange state
    bool ReplyComplete = false;
    // Command code of the awaited reply, or NoExchange.
    int32_t PendingCommand = NoExchange;
    int32_t ReplyCountdown = kReplyTicks;
    // Signalled when the exchange ends in any way.
    ui::ReplyEvent ReplyEvent{"RECV_REPLY"};
    // Set while Poll parses the ring: a pass started inside another does nothing.
    bool PollGuard = false;
    // Keep one parse pass from posting PostFrequencyChanged and PostPanelLevelDisplay more
    // than once each; cleared at the start of every pass and by Cancel.
    bool FrequencyPosted = false;
    bool LevelPosted = false;
    // A scan or a long transfer runs (PostLockControls .. PostUnlockControls).
    bool PanelBusy = false;

    // --- The receiver's limits (100 Hz units) and the fine scale
    uint32_t LowerLimit = 0;
    uint32_t UpperLimit = 0;
    // Step of the fine scale: one pixel column per ViewStep.
    uint32_t ViewStep = 10000;
    // First frequency the fine scale shows.
    uint32_t ViewPosition = 0;
    LevelScale Scale;

    // Nothing more may go to the receiver, no exchange begins and no line setting changes: the
    // program quits, or its session ends (a signal); and once any close of the program is asked
    // (ui::Application::CloseAsked, the operator's too, its question standing), a sync under
    // way (the IC-PCR1000's search for its line speed among them) stops at its next step. A
    // scan's exchanges go on under the operator's question, which decides.
    bool Closing() const;

    // --- For the links (CI-V, AOR): the steps every exchange shares
    // Steps 1-3 of a send; refused once the program closes. While an exchange is outstanding
    // the request waits for it to end
    // (at most its time-out, serving messages); it is refused (false, nothing to write) when
    // it cannot wait: inside a parse pass, whose reply the wait could not parse, and while
    // another request already waits for the link, which goes first. A stale reply (the last
    // exchange did not complete) is cancelled first unless cancelStale is false; then the
    // exchange for the awaited command starts. The caller then writes its command.
    bool BeginExchange(int32_t awaited, bool cancelStale = true);
    // The awaited reply (or an acknowledgement) arrived: accepted or refused.
    void EndExchange(bool accepted);
    // Called by a pass that ended the exchange a wait awaits, for a link that leaves the
    // lines behind the answer to that waiter (a second wait of the same exchange): until the
    // wait has returned, the data-arrived passes queued meanwhile (bytes that came in reads
    // of their own) leave the ring alone; then one pass is posted for those skipped. The
    // next exchange, or ReleaseHeldLines, ends the hold.
    void HoldLinesForWaiter();
    void ReleaseHeldLines();
    // A WaitReply is running now.
    bool Waiting() const { return waitDepth_ > 0; }
    // Nothing is awaited and no request waits to go out.
    bool LinkIdle() const { return PendingCommand == NoExchange && !requestWaiting_; }

    // Notes, while it lives, what became of the requests made at its owner's own level (not
    // inside a wait the owner runs, where codes and ticks of others are served): whether one
    // was refused, so that a job line learns that one of its requests never went out, and
    // whether one went out and was never answered (given up, or dropped before its answer),
    // or could not reach a receiver the panel knows to be off or not found (NoteUnreachable).
    class RefusalWatch {
      public:
        explicit RefusalWatch(ReceiverPanel& panel)
            : panel_(panel), level_(panel.serving_), outer_(panel.watch_) {
            panel.watch_ = this;
        }
        ~RefusalWatch();
        RefusalWatch(const RefusalWatch&) = delete;
        RefusalWatch& operator=(const RefusalWatch&) = delete;
        bool Refused() const { return refused_; }
        bool Unanswered() const { return unanswered_; }
        // One it began was answered with the receiver's refusal (FA, "?").
        bool Rejected() const { return rejected_; }
        // The exchange it began last is still outstanding.
        bool Outstanding() const;

      private:
        friend class ReceiverPanel;
        // Requests are made at its level now.
        bool AtItsLevel() const { return level_ == panel_.serving_; }
        ReceiverPanel& panel_;
        int level_;
        RefusalWatch* outer_;
        bool refused_ = false;
        bool unanswered_ = false;
        bool rejected_ = false;
    };
    // A request that is not sent because the receiver cannot hear it (a set the panel knows is
    // off or was not found): a job line that asked for it fails as for a request unanswered.
    void NoteUnreachable() {
        if (watch_ && watch_->AtItsLevel()) watch_->unanswered_ = true;
    }

    // Exchanges by number: BeginExchange gives each the next one.
    using ExchangeId = uint64_t;
    ExchangeId LastExchange() const { return exchange_; }
    // The exchange ended: answered, refused, timed out, cancelled or given up.
    bool Ended(ExchangeId id) const;
    // It ended with its reply accepted. An exchange so old that its outcome is no longer
    // kept counts as not accepted.
    bool Accepted(ExchangeId id) const;
    // Waits until the exchange has ended (at most 1000 ms; then it is given up); its outcome.
    bool WaitFor(ExchangeId id);
    // --- Replies out of the port's receive ring, for the links: `take` takes the next piece
    // with the link's finder (RingCursor::Take), copying a whole reply out.
    using TakePiece = std::function<RingPiece(RingCursor& cursor)>;
    // ReadReply: one whole reply taken, malformed pieces stepped over; false when the ring
    // holds none.
    bool TakeReply(const TakePiece& take);
    // Poll(false): every whole reply the ring holds taken and handed to `reply` in turn (until
    // it answers false), malformed pieces stepped over, under PollGuard; a pass looks at one
    // ring size at most. A ring judged to hold no reply (more than half of it stepped over in
    // one pass and nothing taken out) is emptied. Returns ReplyComplete.
    bool TakeReplies(const TakePiece& take, const std::function<bool()>& reply);
    // Poll(true): one 100 ms tick. An exchange nobody has answered after 10 ticks is
    // abandoned: the event is signalled and PendingCommand goes back to NoExchange, so
    // that the panel can send again. Returns ReplyComplete.
    bool TimerTick();

    Comm* Port() const { return fdx_ ? fdx_->Port : nullptr; }
    // Posts to the main window (FDX::Owner); false when there is none.
    bool PostToOwner(uint32_t code) const;
    // The right mouse button over `control` (a list that takes its own mouse) runs the macro or
    // trigger job, as over the panel itself.
    void RunMacroOnRightButton(ui::Window& control);
    bool PostToSelf(uint32_t code);

  protected:
    ReceiverPanel();

    // Whether the scan step's tune was answered: parses what already arrived (a code
    // announcing it may be queued behind the very step that waits), then waits for the
    // tune's exchange. Once known, the answer of a Tune holds until the next one; a panel
    // tuned by SetFrequency alone waits for the exchange sent last.
    bool ReplyReady();

    // Binds the panel to fdx (null: a state of the panel's own) and creates the form from
    // the resource as a child of parent. False when the window exists already, the resource
    // is unknown, or the create event could not allocate what the panel needs.
    bool CreatePanel(const std::string& resourceName, ui::Form* parent, FDX* fdx);
    // Whether there is a state to keep: the level scale is made (a model may need more).
    virtual bool HasStateToKeep() const { return Scale.IsAllocated(); }
    // The head of the state file as the panel stands now; a reading starts from it, so that
    // what the file lacks stays as it is.
    StateFileHead CurrentHead() const;
    // The head written as the panel stands now (afterModulation: StateFileWriter::Head), its
    // date and time noted.
    void WriteHead(StateFileWriter& file,
                   const std::function<void(StateFileWriter&)>& afterModulation = nullptr);
    // Reads the state file: the head taken (TakeHead), the level scale, every other key to
    // modelKey in file order and the lines `kept` owns into it. The head as read; none, with
    // nothing changed, when there is no file, or one that cannot be read whole (over
    // kStateFileLimit, or holding a NUL byte), which is then set aside (FDX::SetAsideUnreadFile).
    std::optional<StateFileHead> ReadStateFileKeys(
        const std::function<void(std::string_view key, std::string_view value)>& modelKey,
        KeptStateLines* kept = nullptr);
    // A head read from the file into the panel and the program state: the frequency held to
    // the receiver's limits, the step to the model's steps, the view step to the fine scale's
    // list.
    void TakeHead(const StateFileHead& head);

    // --- The making and the end of the form (its create and destroy events), the same for
    // every model: the controls made (CreateControls), given their pictures, the fine scale's
    // taken over (FineScaleOnForm), the form stretched with MAXMON, the defaults
    // (SetDefaults); then, unless the model cannot keep levels yet (Prepare), the level
    // scale, the calibration and with RECV_SAVE the state file (ReadStateFile); the controls
    // wired (WireControls), the view step chosen, every setting shown (ShowControls,
    // FollowTuning), the form shown. At the end the state file written (unless the close
    // wrote it), the controls forgotten (ForgetControls), the level scale freed. A panel made
    // without a shape makes its form itself (CreatePanel and its own event handlers).
    explicit ReceiverPanel(const PanelShape& shape);
    virtual void CreateControls() {}
    // The fine scale's controls on the form (the canvas null: the form has none).
    virtual FineScaleControls FineScaleOnForm() { return {}; }
    virtual void SetDefaults() {}
    // Whatever the model needs before its level scale, calibration and state file; false: the
    // panel goes without them (the WiNRADiO panel without its vendor library).
    virtual bool Prepare() { return true; }
    virtual void WireControls() {}
    virtual void ShowControls() {}
    // The form is gone: no control may be used any more.
    virtual void ForgetControls() {}
    // The readout and the fine scale follow FDX::Frequency.
    virtual void FollowTuning();
    // PostRefreshData and PostRefreshLevels (then PostRefreshDisplay follows), and
    // PostRefreshDisplay: by default the readout and the fine scale follow FDX::Frequency.
    virtual void RefreshData() { FollowTuning(); }
    virtual void RefreshDisplay() { FollowTuning(); }

    // --- Posted codes: the synchronisation (PostSyncReceiver), the lock of a scan or a
    // transfer (PostLockControls .. PostUnlockControls, PanelBusy meanwhile), a job line
    // (PostJobStep), the step keys (PostStepUp, PostStepDown), the refreshes and the bank items
    // for every model alike; the rest to OnPanelCode. Nothing is served before the panel has
    // its state and its form.
    virtual void Synchronise() {}
    virtual void LockControls(bool locked) { EnableFormControls(!locked); }
    // The step keys move FDX::Frequency one view step within the limits; the receiver is
    // tuned when the panel may tune now and nothing is awaited, and the keypad is told
    // (beyond the limits only as the shape says).
    void StepBy(int direction);
    // The step keys tune now (else they only report the step): by default while no scan or
    // transfer holds the panel.
    virtual bool MayTuneOnStep() const { return !PanelBusy; }
    virtual void OnPanelCode(uint32_t code) { (void)code; }
    // The attenuator and sound boxes of a form (null: it has none): a click sets
    // FDX::Attenuator or FDX::Sound as the box is ticked and sends it (SetAttenuator,
    // SetSound); the main window learns of the attenuator.
    void WireSwitchBoxes(ui::CheckBox* attenuator, ui::CheckBox* sound);
    // A dialog of the panel's, made at its first opening, opened on the main window.
    template <class Dialog, class Panel>
    void OpenDialog(std::unique_ptr<Dialog>& dialog, Panel& panel) {
        if (!dialog) dialog = std::make_unique<Dialog>(panel);
        dialog->Open(fdx_->Owner);
    }
    // The dialog of the receiver's own scan opened (OpenDialog), the job its stop starts looked
    // up first by its name in the job list as it stands now.
    template <class Dialog, class Panel>
    void OpenScanDialog(std::unique_ptr<Dialog>& dialog, Panel& panel, ScanStopSettings& stop) {
        stop.FindJob(*fdx_);
        OpenDialog(dialog, panel);
    }
    // Every control of the form but the fine scale's picture (the mouse points on it also
    // while the panel is locked), those the form makes disabled (read-only displays) and those
    // named in `staying`.
    void EnableFormControls(bool enabled, std::span<const std::string_view> staying = {});

    FineScale Fine;
    // The fine scale's job commands every model serves alike (FineScaleJobs).
    void ViewStepCommand(JobStr& line) { Fine.SetViewStep(line.VAL); }
    void PeakRightCommand(JobStr&) { Fine.JumpToPeak(true); }
    void PeakLeftCommand(JobStr&) { Fine.JumpToPeak(false); }
    void FixedRightCommand(JobStr&) { Fine.JumpToFixed(true); }
    void FixedLeftCommand(JobStr&) { Fine.JumpToFixed(false); }
    void ClearScaleCommand(JobStr&) { Fine.ConfirmClear(); }
    // The settings dialog of the receiver's own scan asked of the main window.
    void OpenScanSettingsCommand(JobStr&) { PostToOwner(PostOpenScanSettings); }
    // The fine scale's command a job number names; null when `jobs` gives it none.
    using PanelCommand = void (ReceiverPanel::*)(JobStr& line);
    static PanelCommand FineScaleCommand(const FineScaleJobs& jobs, uint32_t number);

    // Executes FDX::JobLine by its command number through the model's table, then through the
    // fine scale's numbers: a number neither has gets noAccess ("Нет доступа к объекту") with
    // return code 1, and so does a command one of whose requests could not go out. A command
    // one of whose requests the receiver never answered (or that found the receiver off)
    // fails with message 39, "Ошибка обращения к приемнику(выключен)", unless it failed with
    // a text of its own; a request it left outstanding is waited for first. PostJobStep
    // follows in every case, so that the job goes on. While JobNumbers runs it only lists the
    // numbers it would look a line up in.
    template <class Panel>
    void ServeJobLine(Panel& panel, std::span<const JobCommand<Panel>> table,
                      const FineScaleJobs& fine = {}, const char* noAccess = kNoAccess) {
        if (servedJobs_) {
            for (const JobCommand<Panel>& command : table) servedJobs_->push_back(command.number);
            for (const uint32_t number : {fine.fixedLeft, fine.fixedRight, fine.peakLeft,
                                          fine.peakRight, fine.viewStep, fine.clearScale})
                if (number != 0) servedJobs_->push_back(number);
            return;
        }
        if (fdx_ && fdx_->JobLine) {
            JobStr& line = *fdx_->JobLine;
            const JobCommand<Panel>* found = nullptr;
            for (const JobCommand<Panel>& command : table)
                if (command.number == line.OBJ) found = &command;
            const PanelCommand fineCommand = found ? nullptr : FineScaleCommand(fine, line.OBJ);
            if (found || fineCommand) {
                const RefusalWatch watch(*this);
                if (found)
                    (panel.*(found->run))(line);
                else
                    (this->*fineCommand)(line);
                JudgeJobLine(line, watch, noAccess);
            } else {
                AnswerNoAccess(line, noAccess);
            }
        }
        PostToOwner(PostJobStep);
    }
    static void AnswerNoAccess(JobStr& line, const char* text = kNoAccess);
    // The line fails with message 39: the receiver did not answer it.
    void AnswerReceiverSilent(JobStr& line) const;
    // After a command ran under `watch`: its outstanding request waited for, then the line
    // failed as ServeJobLine says.
    void JudgeJobLine(JobStr& line, const RefusalWatch& watch, const char* noAccess);
    // A job line's value that names none of `count` banks, channels or VFOs numbered from
    // `first` fails the line (`message`, return code 2): true, and the caller changes nothing.
    static bool Refuse(JobStr& line, uint32_t count, const char* message, uint32_t first = 0);

    // --- What the panels with memory banks share (panel_memory.cpp)
    // Long work of the panel's own: the receiver's own scan and the transfers of its memory.
    // Meanwhile the main window's scan button and windows are the panel's
    // (PostScanStartedByPanel .. PostScanStoppedByPanel) and its own controls are locked
    // (PostLockControls .. PostUnlockControls).
    // FDX::PanelStatusText := status; then the codes that start the work.
    void PanelWorkStarted(const std::string& status);
    void PanelWorkEnded();
    // A transfer with the receiver under the Wait window (PostShowWait .. PostHideWait): the
    // work started, `work` run, the work ended, also when it stopped half way. `work` returns
    // false when the receiver did not answer; message 39 is shown then, once for the whole
    // transfer. Returns what `work` returned.
    bool Transfer(const std::string& status, const std::function<bool()>& work);
    // The receiver's own scan stopped on a signal: what `action` (a ScanStopAction) asks for;
    // a job is started only when one is named.
    void ActOnScanStop(uint32_t action, const std::string& jobName);
    void ActOnScanStop(const ScanStopSettings& stop) {
        ActOnScanStop(static_cast<uint32_t>(stop.Action), stop.JobName);
    }
    // The program's current settings into a channel of the panel (SettingsIntoChannel): true
    // when the layout's store rule writes it into the receiver, with direct writing.
    bool StoreSettingsInto(MemoryChannel& channel);
    // The bank of a panel with banks that the journal's bank items are exchanged with: on
    // PostItemLoaded the working bank (the item loaded) goes into it, then BankItemTaken; on
    // PostSaveBank it becomes the working bank and the main window stores it (message 12 when
    // no channel has a frequency).
    virtual std::span<MemoryChannel> CurrentBankChannels() { return {}; }
    // After a bank item was taken: its first channel selected, the list shown.
    virtual void BankItemTaken() {}
    // PostLoadReceiverSetup: the range slot the main window shows, when a range is loaded in
    // it (its edges go to the receiver's own scan); null otherwise.
    const Bank* ShownRangeSlot() const;

    FDX* fdx_ = nullptr;

  private:
    void OnCreate();
    void OnDestroy();
    void OnUserEvent(uint32_t code);
    void TakeBankItem();
    void GiveBankItem();
    // MAXMON: the receiver page grows with the main window; the form's controls grow along
    // (FDX::LayoutScale).
    void StretchControls();

    // Serves messages until done() or 1000 ms have passed, or the program quits; true when
    // done.
    bool ServeUntil(const std::function<bool()>& done);
    // A request arriving while an exchange is outstanding: waits for its turn.
    bool AwaitTurn();
    // The exchange sent last is given up unanswered (a running wait returns); it counts as
    // unanswered.
    void Abandon();

    struct Outcome {
        ExchangeId id = ~ExchangeId{0};
        bool accepted = false;
        // The watch the exchange was begun under at its level; told when it goes unanswered.
        RefusalWatch* watch = nullptr;
    };
    // The outstanding exchange ends without its answer (given up or dropped).
    void DropOutstanding();
    // The outstanding exchange ends: when it is the scan step's tune, its answer is known.
    void NoteTuneOutcome(bool accepted);
    static constexpr std::size_t kKeptOutcomes = 64;
    static std::size_t Slot(ExchangeId id) { return id % kKeptOutcomes; }

    PanelShape shape_;
    std::unique_ptr<FDX> ownState_;
    bool syncEnded_ = false;
    bool syncing_ = false;  // between BeginSync and EndSync
    bool receiverAnswered_ = false;
    int syncFailureWhy_ = 0;
    bool syncBrokenOff_ = false;
    uint32_t syncCount_ = 0;
    uint32_t unansweredInARow_ = 0;
    int waitDepth_ = 0;
    int serving_ = 0;               // ServeUntil calls running now, nested
    ExchangeId awaited_ = 0;        // the exchange the innermost WaitFor waits for; 0: none
    ExchangeId heldFor_ = 0;        // HoldLinesForWaiter's exchange; 0: nothing held
    bool heldPassSkipped_ = false;  // a pass found the lines held
    RefusalWatch* watch_ = nullptr;
    std::vector<uint32_t>* servedJobs_ = nullptr;  // JobNumbers runs: ServeJobLine lists
    bool createFailed_ = false;
    bool stateFileSaved_ = false;
    ExchangeId exchange_ = 0;
    std::array<Outcome, kKeptOutcomes> outcomes_{};
    bool requestWaiting_ = false;
    // The scan step's tune (Tune): its exchange and, once known, whether it was answered.
    struct TuneState {
        ExchangeId id = 0;
        std::optional<bool> answered;
    };
    std::optional<TuneState> tune_;
};

// The operations every family defines for its receiver, declared once in the public part of
// the class that defines them (a panel's own, or its family core's): tuning, the mode and
// its bandwidth, the level, and the state file. What only some panels serve (step,
// attenuator, sound, the job line, the link's replies) they declare themselves.
#define PANEL_OPERATIONS()                             \
    bool SetFrequency() override;                      \
    bool SetMode() override;                           \
    int32_t ReadLevel() override;                      \
    int32_t ModeParameter(char letter) const override; \
    bool WriteStateFile() override;                    \
    bool ReadStateFile() override;

// The making's hooks of a panel that makes its whole form itself, over no family core
// (AR3000A, IC-PCR1000, WiNRADiO), declared once in its private part: its controls made from
// its list, the fine scale on them, its defaults, the controls wired and shown, and the
// posted codes of its own. How it forgets its controls, synchronises and locks it says
// itself.
#define PANEL_FORM_HOOKS()                        \
    void CreateControls() override;               \
    FineScaleControls FineScaleOnForm() override; \
    void SetDefaults() override;                  \
    void WireControls() override;                 \
    void ShowControls() override;                 \
    void OnPanelCode(uint32_t code) override;
