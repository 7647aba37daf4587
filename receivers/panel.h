#pragma once
// What every receiver panel shares. A panel is a form on the main window's receiver page and
// at the same time the driver of one receiver model: it writes commands to the serial port,
// finds the replies in the port's receive ring and answers the job lines addressed to the
// receiver. The main window calls the panel of the configured type by name (a switch on the
// receiver type); the operations below have one meaning for every model.
//
// One exchange at a time: a send is refused while a reply is awaited. WaitReply serves posted
// codes and timer ticks while it waits (at most 1000 ms), so PostSerialData and the 100 ms
// tick reach the panel inside the wait and end it: Poll(false) parses the ring, Poll(true)
// counts the exchange down from 10 ticks.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "receivers/level_scale.h"
#include "state/fdx.h"
#include "state/job_str.h"
#include "state/message_bus.h"
#include "ui/form.h"
#include "ui/reply_event.h"

class Comm;

// A numbered panel command of a model: what it does with the job line, answering in it.
template <class Panel>
struct JobCommand {
    uint32_t number;
    void (Panel::*run)(JobStr& line);
};

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

    ~ReceiverPanel() override;

    // The program state the panel works on: the main window's, or the panel's own when it
    // was created without one.
    FDX* State() const { return fdx_; }

    // --- Operations the main window calls on every panel
    // Waits for the outstanding exchange; true when its reply arrived and was accepted.
    // Returns at once when the reply is already complete.
    bool WaitReply();
    // Abandons the outstanding exchange (a running wait returns) and, unless keepPort,
    // empties the port and its receive ring.
    void Cancel(bool keepPort);

    // --- Exchange state. The main window reads ReplyComplete and PendingCommand, and sets
    // PendingCommand to NoExchange after the level read of a scan.
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
    LevelScale Scale;

    // --- For the links (CI-V, AOR): the steps every exchange shares
    // Steps 1-3 of a send: refused (false) while an exchange is outstanding; a stale reply
    // (the last exchange did not complete) is cancelled first unless cancelStale is false;
    // then the exchange for the awaited command starts. The caller then writes its command.
    bool BeginExchange(int32_t awaited, bool cancelStale = true);
    // The awaited reply (or an acknowledgement) arrived: accepted or refused.
    void EndExchange(bool accepted);
    // A WaitReply is running now.
    bool Waiting() const { return waitDepth_ > 0; }
    // What one data-arrived walk over the ring found.
    struct PassResult {
        std::size_t steppedOver = 0;  // bytes looked at, at most one ring size
        bool replyTaken = false;      // at least one complete reply was copied out
    };
    // Poll(false): runs the model's walk over the ring under PollGuard. A ring judged to hold
    // no reply (more than half of it stepped over in one pass and nothing taken out) is
    // emptied. Returns ReplyComplete.
    bool DataArrived(const std::function<PassResult()>& walk);
    // Poll(true): one 100 ms tick. An exchange nobody has answered after 10 ticks is
    // abandoned: the event is signalled and PendingCommand goes back to NoExchange, so
    // that the panel can send again. Returns ReplyComplete.
    bool TimerTick();

    Comm* Port() const { return fdx_ ? fdx_->Port : nullptr; }
    // Posts to the main window (FDX::Owner); false when there is none.
    bool PostToOwner(uint32_t code) const;
    bool PostToSelf(uint32_t code);

  protected:
    ReceiverPanel();

    // Binds the panel to fdx (null: a state of the panel's own) and creates the form from
    // the resource as a child of parent. False when the window exists already, the resource
    // is unknown, or the create event could not finish (MarkCreateFailed).
    bool CreatePanel(const std::string& resourceName, ui::Form* parent, FDX* fdx);
    // Called by the create event when it could not allocate what the panel needs.
    void MarkCreateFailed() { createFailed_ = true; }

    // Executes FDX::JobLine by its command number through the model's table: a number the
    // table lacks gets "Нет доступа к объекту" with return code 1. PostJobStep follows
    // in every case, so that the job goes on.
    template <class Panel>
    void ServeJobLine(Panel& panel, std::span<const JobCommand<Panel>> table) {
        if (fdx_ && fdx_->JobLine) {
            JobStr& line = *fdx_->JobLine;
            const JobCommand<Panel>* found = nullptr;
            for (const JobCommand<Panel>& command : table)
                if (command.number == line.OBJ) found = &command;
            if (found)
                (panel.*(found->run))(line);
            else
                AnswerNoAccess(line);
        }
        PostToOwner(PostJobStep);
    }
    static void AnswerNoAccess(JobStr& line);

    FDX* fdx_ = nullptr;

  private:
    std::unique_ptr<FDX> ownState_;
    int waitDepth_ = 0;
    bool createFailed_ = false;
};
