#include "receivers/icom/pcr1000/pcr_link.h"

#include <vector>

#include "receivers/comm.h"
#include "receivers/panel.h"

namespace pcr {

namespace {

bool IsStartLetter(uint8_t c) {
    return c == 'G' || c == 'H' || c == 'I' || c == 'N' || c == 'O';
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

int HexPair(std::string_view text, std::size_t at) {
    if (text.size() < at + 2) return 0;
    const int high = HexDigit(text[at]);
    const int low = HexDigit(text[at + 1]);
    return high < 0 || low < 0 ? 0 : high * 16 + low;
}

RingPiece FindLine(std::span<const uint8_t> ring, uint32_t read, uint32_t write) {
    const auto size = static_cast<uint32_t>(ring.size());
    const auto next = [size](uint32_t i) { return (i + 1) % size; };
    RingPiece piece;
    bool started = false;
    uint32_t start = read;
    uint32_t examined = 0;
    for (uint32_t i = read; i != write; i = next(i)) {
        ++examined;
        const uint8_t c = ring[i];
        if (c == '\r' || c == '\n') {
            uint32_t end = next(i);
            if (c == '\r' && end != write && ring[end] == '\n') {
                end = next(end);
                ++examined;
            }
            piece.kind = started ? RingPiece::Kind::Whole : RingPiece::Kind::Skip;
            piece.begin = started ? start : read;
            piece.end = end;
            piece.examined = examined;
            return piece;
        }
        // A second start letter means the line so far was broken: the reply begins anew.
        if (IsStartLetter(c)) {
            started = true;
            start = i;
        }
    }
    piece.examined = examined;
    if (examined <= kLongestLine) return piece;
    // A run without a line end, longer than any reply: noise. A reply that may have begun
    // among its last bytes stays for the next look.
    const uint32_t sinceStart = (write + size - start) % size;
    const uint32_t keepFrom = started && sinceStart <= kLongestLine ? start : write;
    if (keepFrom == read) return piece;
    piece.kind = RingPiece::Kind::Skip;
    piece.begin = read;
    piece.end = keepFrom;
    return piece;
}

}  // namespace pcr

bool PcrLink::Send(std::string_view id, std::string_view awaited, std::string_view line) {
    if (!panel_.BeginExchange(pcr::IdCode(id))) return false;
    Awaited = awaited;
    Write(line);
    return true;
}

bool PcrLink::Exchange(std::string_view id, std::string_view awaited, std::string_view line) {
    // A refused send must not wait: the wait would end the exchange it was refused for.
    return Send(id, awaited, line) && panel_.WaitReply();
}

void PcrLink::SendText(std::string_view line) {
    if (!panel_.ReplyComplete) panel_.Cancel(true);
    panel_.ReplyComplete = false;
    panel_.ReplyCountdown = ReceiverPanel::kReplyTicks;
    Write(line);
}

void PcrLink::Write(std::string_view line) {
    CommandText = line;
    // A write that fails shows as an exchange that times out.
    if (Comm* port = panel_.Port()) port->WriteString(std::string(line) + "\r\n");
}

std::string PcrLink::PendingId() const {
    std::string id;
    if (panel_.PendingCommand == ReceiverPanel::NoExchange) return id;
    for (int shift = 16; shift >= 0; shift -= 8) {
        const char c = static_cast<char>((panel_.PendingCommand >> shift) & 0xFF);
        if (c != 0) id.push_back(c);
    }
    return id;
}

void PcrLink::Decode() {
    ReplyId = ReplyLine.substr(0, 2);
    ReplyValue = pcr::HexPair(ReplyLine, 2);
    if (ReplyId == "H1") ReceiverOff = ReplyValue == 0;
    if (ReplyId == "I0") SquelchOpen = (ReplyValue & 1) != 0;
    if (ReplyId == "I1") LastLevel = ReplyValue;
}

RingPiece PcrLink::TakeNext(RingCursor& cursor) {
    const RingPiece piece = cursor.Take(pcr::FindLine, [&](const RingPiece& line) {
        std::vector<uint8_t> bytes;
        cursor.CopyOut(line.begin, line.end, bytes);
        while (!bytes.empty() && (bytes.back() == '\r' || bytes.back() == '\n')) bytes.pop_back();
        ReplyLine.assign(bytes.begin(), bytes.end());
    });
    if (piece.kind == RingPiece::Kind::Whole) Decode();
    return piece;
}

uint32_t PcrLink::ReadReply() {
    const bool taken = panel_.TakeReply([this](RingCursor& cursor) { return TakeNext(cursor); });
    return taken ? static_cast<uint32_t>(ReplyLine.size()) : 0;
}

bool PcrLink::Poll(const std::function<void(const PcrLink&)>& parse) {
    return panel_.TakeReplies([this](RingCursor& cursor) { return TakeNext(cursor); },
                              [&] {
                                  parse(*this);
                                  // "G001" is the set's refusal: the exchange ends, and fails.
                                  if (ReplyId == Awaited)
                                      panel_.EndExchange(ReplyId != "G0" || ReplyLine == "G000");
                                  return true;
                              });
}
