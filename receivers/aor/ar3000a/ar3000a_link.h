#pragma once
// The AR3000A's link. A command is a short text ended by CR; the set answers it with the lines
// it has to say (each ended CR LF, often none) and then its prompt ">": a reply is complete at
// the prompt, and the prompt alone acknowledges a setting. A reply whose line is "?" refuses
// the command. The exchange is the panel's (ReceiverPanel): a reply is awaited while
// PendingCommand is kAwaitingPrompt.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "receivers/ring_cursor.h"

class ReceiverPanel;

namespace ar3000a {

// PendingCommand while a reply is awaited.
inline constexpr int32_t kAwaitingPrompt = 1;

// The reply at the read index up to and including the first ">"; None while no ">" has come.
RingPiece FindPrompted(std::span<const uint8_t> ring, uint32_t read, uint32_t write);

}  // namespace ar3000a

class Ar3000aLink {
  public:
    explicit Ar3000aLink(ReceiverPanel& panel) : panel_(panel) {}

    // Starts an exchange and writes the command (with its CR). While an exchange is
    // outstanding the command waits its turn, or is refused (false, nothing written) where it
    // cannot wait; a stale reply is cancelled and the port purged first.
    bool Send(std::string_view command);
    // Send, then wait: true when the prompt came and the command was not refused.
    bool Exchange(std::string_view command);

    // Copies the reply at the ring's read index into Reply and moves the read index past its
    // prompt: its length, 0 (and nothing moved) when no reply is complete.
    uint32_t ReadReply();
    // Poll(false): every complete reply is copied out in turn; one that arrives while a reply
    // is awaited ends the exchange. Returns ReplyComplete.
    bool Poll();

    std::string Command;  // the command written last
    std::string Reply;    // the reply copied out last, prompt included (cp1251)

  private:
    // The next complete reply of the ring into Reply.
    RingPiece Take(RingCursor& cursor);

    ReceiverPanel& panel_;
};
