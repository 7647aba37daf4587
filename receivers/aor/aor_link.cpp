#include "receivers/aor/aor_link.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "receivers/comm.h"
#include "receivers/panel.h"
#include "state/cp1251.h"
#include "state/key_value.h"
#include "state/message_bus.h"

namespace aor {

namespace {

constexpr uint8_t kCr = '\r';
constexpr uint8_t kLf = '\n';

uint32_t Next(uint32_t index, std::size_t size) {
    return static_cast<uint32_t>((index + 1) % size);
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// From read up to the first CR: Whole ending past the CR (and the LF right behind it when
// `lfAfter` has it arrived), or None with everything walked.
RingPiece FindCr(std::span<const uint8_t> ring, uint32_t read, uint32_t write, bool needLf) {
    RingPiece piece;
    piece.begin = read;
    uint32_t examined = 0;
    for (uint32_t i = read; i != write && examined < ring.size(); i = Next(i, ring.size())) {
        ++examined;
        if (ring[i] != kCr) continue;
        uint32_t end = Next(i, ring.size());
        const bool lfFollows = end != write && ring[end] == kLf;
        if (needLf && !lfFollows) {
            // Complete only once an LF has arrived somewhere behind the CR. The look-ahead
            // counts as examined: a flood of bare CRs ends the pass after one ring's worth
            // instead of being walked again for every CR.
            uint32_t j = end;
            while (j != write && ring[j] != kLf && examined < ring.size()) {
                j = Next(j, ring.size());
                ++examined;
            }
            if (j == write || ring[j] != kLf) {
                piece.examined = examined;
                return piece;
            }
        }
        if (lfFollows) {
            end = Next(end, ring.size());
            ++examined;
        }
        piece.kind = RingPiece::Kind::Whole;
        piece.end = end;
        piece.examined = examined;
        return piece;
    }
    piece.examined = examined;
    return piece;
}

}  // namespace

std::string Format(const char* format, ...) {
    char buffer[512];
    va_list arguments;
    va_start(arguments, format);
    const int length = std::vsnprintf(buffer, sizeof buffer, format, arguments);
    va_end(arguments);
    if (length < 0) return {};
    return std::string(buffer, std::min(static_cast<std::size_t>(length), sizeof buffer - 1));
}

std::string LabelFromWire(std::string_view bytes) {
    std::string text = Cp1251ToUtf8(bytes);
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string LabelToWire(const std::string& label, std::size_t width, const LabelCharacters& takes) {
    std::string bytes = LabelForSet(label, width, takes);
    bytes.insert(0, width - bytes.size(), ' ');
    return Cp1251ToUtf8(bytes);
}

std::string LabelOnWire(const std::string& label, std::size_t width, const LabelCharacters& takes) {
    return Cp1251ToUtf8(LabelForSet(label, width, takes));
}

RingPiece FindLine(std::span<const uint8_t> ring, uint32_t read, uint32_t write) {
    return FindCr(ring, read, write, false);
}

RingPiece FindArrivedLine(std::span<const uint8_t> ring, uint32_t read, uint32_t write) {
    return FindCr(ring, read, write, true);
}

char TokenText::At(std::size_t offset) const {
    const std::size_t i = at_ + offset;
    return i < line_.size() ? line_[i] : '\0';
}

std::string_view TokenText::Text(std::size_t offset, std::size_t count) const {
    const std::size_t from = std::min(at_ + offset, line_.size());
    return line_.substr(from, count);
}

uint32_t TokenText::Number(std::size_t offset, std::size_t count) const {
    const std::string_view digits = Text(offset, count);
    if (digits.empty() || digits[0] < '0' || digits[0] > '9') return 0;
    return ReadU32(digits);
}

int TokenText::Hex(std::size_t offset) const {
    const int high = HexDigit(At(offset));
    const int low = HexDigit(At(offset + 1));
    return high < 0 || low < 0 ? 0 : high * 16 + low;
}

}  // namespace aor

bool AorLink::Send(std::string_view lines, std::string_view expected) {
    // Lines left behind an answer are no answer to this command.
    if (LineByLine) {
        panel_.ReleaseHeldLines();
        panel_.Poll(false);
    }
    if (!panel_.BeginExchange(aor::kAwaitingLine)) return false;
    ExpectedReply = expected;
    CommandLine = lines;
    AnswerLine.clear();
    // A write that fails shows as an exchange that times out.
    if (Comm* port = panel_.Port()) port->WriteString(CommandLine);
    return true;
}

bool AorLink::Exchange(std::string_view lines, std::string_view expected) {
    // A refused send must not wait: the wait would end the exchange it was refused for.
    return Send(lines, expected) && panel_.WaitReply();
}

bool AorLink::Rearm(std::string_view expected) {
    // The lines of the first write are still on their way: nothing stale to purge.
    if (!panel_.BeginExchange(aor::kAwaitingLine, /*cancelStale=*/false)) return false;
    ExpectedReply = expected;
    AnswerLine.clear();
    // A line already behind the first answer is the second.
    if (LineByLine) panel_.Poll(false);
    return true;
}

void AorLink::TakeLine(const RingCursor& cursor, const RingPiece& line) {
    std::vector<uint8_t> bytes;
    cursor.CopyOut(line.begin, line.end, bytes);
    ReplyLine.clear();
    for (const uint8_t b : bytes) {
        if (b == '\r') break;
        if (b != '\n') ReplyLine += static_cast<char>(b);
    }
}

RingPiece AorLink::TakeNext(RingCursor& cursor, Finder find) {
    return cursor.Take(find, [&](const RingPiece& whole) { TakeLine(cursor, whole); });
}

uint32_t AorLink::ReadReply() {
    const bool taken =
        panel_.TakeReply([this](RingCursor& cursor) { return TakeNext(cursor, aor::FindLine); });
    return taken ? static_cast<uint32_t>(ReplyLine.size()) : 0;
}

bool AorLink::Poll(const std::function<void()>& parse,
                   const std::function<void(bool ended)>& after) {
    const Finder find = LineByLine ? aor::FindLine : aor::FindArrivedLine;
    return panel_.TakeReplies([&](RingCursor& cursor) { return TakeNext(cursor, find); },
                              [&] {
                                  // An empty line (the acknowledgement of a setting) has no
                                  // kind: the kind of the line before must not complete an
                                  // exchange it does not answer.
                                  ReplyKind.clear();
                                  ReplyAccepted = true;
                                  if (!ReplyLine.empty()) parse();
                                  const bool ended = EndExchangeOnLine();
                                  after(ended);
                                  if (!ended || !LineByLine) return true;
                                  // What came behind the answer is looked at once its waiter
                                  // had its turn.
                                  panel_.HoldLinesForWaiter();
                                  panel_.PostToOwner(PostSerialData);
                                  return false;
                              });
}

// The awaited line (of the expected kind, or any line when none is expected) or a refusal
// ends the exchange; the line that ended it is the answer.
bool AorLink::EndExchangeOnLine() {
    if (panel_.PendingCommand != aor::kAwaitingLine) return false;
    const bool awaited = ReplyKind == ExpectedReply || ExpectedReply.empty();
    if (!awaited && ReplyAccepted) return false;
    panel_.EndExchange(awaited && ReplyAccepted);
    AnswerLine = ReplyLine;
    return true;
}
