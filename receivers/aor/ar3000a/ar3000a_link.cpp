#include "receivers/aor/ar3000a/ar3000a_link.h"

#include "receivers/comm.h"
#include "receivers/panel.h"

namespace ar3000a {

namespace {

constexpr uint8_t kPrompt = '>';

}  // namespace

RingPiece FindPrompted(std::span<const uint8_t> ring, uint32_t read, uint32_t write) {
    RingPiece piece;
    piece.begin = read;
    const auto size = static_cast<uint32_t>(ring.size());
    for (uint32_t i = read; i != write && piece.examined < size; i = (i + 1) % size) {
        ++piece.examined;
        if (ring[i] != kPrompt) continue;
        piece.kind = RingPiece::Kind::Whole;
        piece.end = (i + 1) % size;
        return piece;
    }
    return piece;
}

}  // namespace ar3000a

namespace {

// The set refuses a command with the line "?" before its prompt.
bool Refused(std::string_view reply) {
    constexpr std::string_view kRefusal = "?\r\n";
    return reply.starts_with(kRefusal) || reply.find("\n?\r\n") != std::string_view::npos;
}

}  // namespace

bool Ar3000aLink::Send(std::string_view command) {
    if (!panel_.BeginExchange(ar3000a::kAwaitingPrompt)) return false;
    Command = command;
    // A write that fails shows as an exchange that times out.
    if (Comm* port = panel_.Port()) port->WriteString(Command);
    return true;
}

bool Ar3000aLink::Exchange(std::string_view command) {
    // A refused send must not wait: the wait would end the exchange it was refused for.
    return Send(command) && panel_.WaitReply();
}

RingPiece Ar3000aLink::Take(RingCursor& cursor) {
    return cursor.Take(ar3000a::FindPrompted, [&](const RingPiece& whole) {
        std::vector<uint8_t> bytes;
        cursor.CopyOut(whole.begin, whole.end, bytes);
        Reply.assign(bytes.begin(), bytes.end());
    });
}

uint32_t Ar3000aLink::ReadReply() {
    const bool taken = panel_.TakeReply([this](RingCursor& cursor) { return Take(cursor); });
    return taken ? static_cast<uint32_t>(Reply.size()) : 0;
}

bool Ar3000aLink::Poll() {
    return panel_.TakeReplies([this](RingCursor& cursor) { return Take(cursor); },
                              [this] {
                                  if (panel_.PendingCommand == ar3000a::kAwaitingPrompt)
                                      panel_.EndExchange(!Refused(Reply));
                                  return true;
                              });
}
