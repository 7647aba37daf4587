#pragma once
// What the AOR panels on the line link share (AR5000, and the AR8200 and AR8000 to come): the
// link, the data-arrived pass with the model's parser and its handling of the lines nobody
// asked for, one command line sent and awaited (settings, jobs, dialogs), and the AOR shape of
// the scans' share. The sets answer in text lines: the scan step copies the tune's reply out
// of the ring (ReadReply) before it reads the level, tuning by hand reads the level even when
// the tune went unanswered, and a stop reads a level after the cancel. The timer's level poll
// asks them while they await nothing, as any panel; the AR8000 is never polled (its
// IdleForLevelPoll answers false).

#include <cstdint>
#include <string_view>

#include "receivers/aor/aor_link.h"
#include "receivers/panel.h"

class AorPanel : public ReceiverPanel {
  public:
    uint32_t ReadReply() override { return Link.ReadReply(); }
    bool Poll(bool timerTick) override;
    int32_t ScanLevel() override;
    int32_t TuneAndRead() override;
    void ReleaseForStop() override;

    // Sends one command line, the text with CR LF after it, and waits for any line: true
    // when answered and not refused ("?").
    bool SendText(std::string_view text);

    AorLink Link{*this};

  protected:
    // The model's parser: classifies Link.ReplyLine (Link.ReplyKind, Link.ReplyAccepted) and
    // takes its values.
    virtual void ParseLine() = 0;
    // After each line of a pass: `ended` when the line completed or failed the exchange,
    // else the line came unasked (the receiver's own scan reporting a stop).
    virtual void AfterLine(bool ended) { (void)ended; }
};
