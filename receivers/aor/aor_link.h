#pragma once
// The AOR line link, shared by the AR5000, AR8000 and AR8200 panels. Commands are text lines
// of two-letter tokens and values, each ending CR LF; one write may carry several commands and
// is one exchange, awaiting a reply line of one kind ("LM", "RF", "MX", ...) or any line
// (settings, which the receiver acknowledges with an empty line). The replies are lines ending
// CR LF, found in the serial receive ring and copied out; a model's token table classifies
// each line by its first token with a kind and takes every token's value.
//
// The exchange is the panel's (ReceiverPanel): a line is awaited while PendingCommand is
// kAwaitingLine, and the awaited kind stands in ExpectedReply.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "receivers/memory_channel.h"
#include "receivers/ring_cursor.h"

class ReceiverPanel;

namespace aor {

// PendingCommand while a reply line is awaited.
inline constexpr int32_t kAwaitingLine = 1;

// A command line formatted as printf does ("RF%lu00\r\n").
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

// A label as the receiver sent it (code page 1251, padded), without its padding (UTF-8).
std::string LabelFromWire(std::string_view bytes);
// A label as the receiver's field takes it (LabelForSet: at most `width` characters, those the
// field does not take as blanks), right-aligned in `width` as the channel lines carry it, or
// as long as it is as the search bank lines do (UTF-8 again, for the command line's codec).
std::string LabelToWire(const std::string& label, std::size_t width, const LabelCharacters& takes);
std::string LabelOnWire(const std::string& label, std::size_t width, const LabelCharacters& takes);

// The attenuator setting a channel or the program state holds, as the panels offer it: 0 off;
// 10 up to 10 dB; 20 up to 20; 255 (automatic) above.
inline uint32_t AttenuatorOption(bool on, uint32_t db) {
    if (!on) return 0;
    return db <= 10 ? 10 : db <= 20 ? 20 : 255;
}

// ReadReply's finder: the line at the read index up to its CR, with the LF right behind the
// CR when that has arrived too. None while no CR has arrived.
RingPiece FindLine(std::span<const uint8_t> ring, uint32_t read, uint32_t write);
// The data-arrived pass's finder: the same line, but only once an LF has arrived after its CR
// (a reply whose LF is still on its way is not complete yet).
RingPiece FindArrivedLine(std::span<const uint8_t> ring, uint32_t read, uint32_t write);

// The value of a token found in a reply line: the characters from the token's position on.
// Whatever is read stops at the end of the line.
class TokenText {
  public:
    TokenText(std::string_view line, std::size_t at) : line_(line), at_(at) {}

    // The character `offset` places after the token's first; '\0' beyond the line.
    char At(std::size_t offset) const;
    // Up to `count` characters from there, fewer at the end of the line.
    std::string_view Text(std::size_t offset, std::size_t count) const;
    // Those characters as a decimal number; 0 when they do not start with one.
    uint32_t Number(std::size_t offset, std::size_t count) const;
    // Two hex digits (0-9, A-F) from there; 0 when they are not.
    int Hex(std::size_t offset) const;
    // The character at `offset` is '1'.
    bool One(std::size_t offset) const { return At(offset) == '1'; }
    // The decimal digit at `offset`; 0 when it is none.
    int Digit(std::size_t offset) const {
        const char c = At(offset);
        return c >= '0' && c <= '9' ? c - '0' : 0;
    }
    // A bank, channel or search bank number of `count` digits, at most `most`.
    int32_t Index(std::size_t offset, std::size_t count, int32_t most) const {
        return static_cast<int32_t>(std::min<uint32_t>(Number(offset, count), uint32_t(most)));
    }
    // A level as two hex digits: 255 is kept as 254, as the level scale keeps it.
    int32_t Level(std::size_t offset) const { return std::min(Hex(offset), 254); }

  private:
    std::string_view line_;
    std::size_t at_;
};

// What a token of the table hides from the search for the other tokens, after itself.
inline constexpr std::size_t kRestOfLine = SIZE_MAX;

// One row of a model's token table: a reply line holding the token (anywhere, as a plain
// substring) takes the token's value into `Values`.
template <class Values>
struct Token {
    std::string_view token;
    std::string_view kind;  // the kind the line takes from it; empty: none
    void (*apply)(Values& values, const TokenText& text);
    // Characters after the token that hold free text or a hex value and are never searched
    // for other tokens (the label of TM, the level of LC: "LCDA" is no DA). kRestOfLine cuts
    // the line at the token; such rows are taken before all others.
    std::size_t hides = 0;
};

// What a parsed line is: its kind ("" when no token with a kind was in it) and the token that
// gave the kind.
struct LineKind {
    std::string_view kind;
    std::string_view token;
};

// Searches the line for every token of the table, in the table's order; each found token
// applies its value, and the first found token with a kind gives the line its kind.
template <class Values>
LineKind ParseTokens(std::string_view line, std::span<const Token<Values>> table, Values& values) {
    std::string work(line);
    constexpr char kHidden = '\x01';
    for (const Token<Values>& row : table) {
        if (row.hides != kRestOfLine) continue;
        const std::size_t at = work.find(row.token);
        if (at == std::string::npos) continue;
        row.apply(values, TokenText(line, at));
        work.resize(at);
    }
    for (const Token<Values>& row : table) {
        if (row.hides == 0 || row.hides == kRestOfLine) continue;
        const std::size_t at = work.find(row.token);
        if (at == std::string::npos) continue;
        const std::size_t from = at + row.token.size();
        for (std::size_t i = from; i < work.size() && i < from + row.hides; ++i) work[i] = kHidden;
    }
    LineKind found;
    for (const Token<Values>& row : table) {
        if (row.hides == kRestOfLine) continue;
        const std::size_t at = work.find(row.token);
        if (at == std::string::npos) continue;
        if (found.kind.empty() && !row.kind.empty()) found = {row.kind, row.token};
        row.apply(values, TokenText(line, at));
    }
    return found;
}

}  // namespace aor

class AorLink {
  public:
    explicit AorLink(ReceiverPanel& panel) : panel_(panel) {}

    // Starts an exchange awaiting a line of `expected` kind ("" for any line) and writes
    // `lines` (each command ending CR LF) in one write. Refused (false, nothing written) while
    // an exchange is outstanding; a stale one is cancelled and the port purged first.
    bool Send(std::string_view lines, std::string_view expected);
    // Send, then wait: true when the awaited line arrived.
    bool Exchange(std::string_view lines, std::string_view expected);
    // The lines sent last are awaited once more, as a new exchange without a write, for a
    // line of `expected` kind: a line of another command's reply completed the first. False
    // when the exchange could not start (BeginExchange).
    bool Rearm(std::string_view expected);

    // Copies the line at the ring's read index into ReplyLine (without CR and LF; an LF not
    // after a CR is dropped) and moves the read index past it: its length, 0 when no line is
    // complete (nothing then moves) or the line is empty.
    uint32_t ReadReply();

    // The data-arrived pass of Poll(false): every line whose LF has arrived (LineByLine: whose
    // CR has, up to the one that ends an exchange) is copied out and
    // handed to `parse`, which classifies it (ReplyKind, ReplyAccepted); an empty line is of no
    // kind and accepted. A line of the awaited kind (any line while "" is awaited) completes
    // the exchange, a refused one ("?") fails it; then `after` learns whether the line ended
    // the exchange. Returns ReplyComplete.
    bool Poll(const std::function<void()>& parse, const std::function<void(bool ended)>& after);

    // Line by line (the AR8000, which answers every command with one line): a reply is
    // complete at its CR, whether its LF has come or not, and the line that ends an exchange
    // ends its pass too. What came behind it stays in the ring for a second wait of the same
    // exchange (Rearm), whatever passes are queued before the waiter has its turn
    // (HoldLinesForWaiter); then, or before the next command, it goes as lines nobody asked
    // for (a report the set sends unasked right behind an answer is not lost). Else a
    // reply is complete once its LF has arrived, and a pass takes every line there is.
    bool LineByLine = false;

    std::string CommandLine;    // the lines written last
    std::string ExpectedReply;  // the kind awaited; empty: any line
    std::string ReplyLine;      // the line copied out last, as the receiver sent it (cp1251)
    // The line that ended the exchange last (answered or refused): a model whose queries take
    // their answer apart themselves reads it here, whatever came after it in the same pass.
    std::string AnswerLine;
    std::string ReplyKind;      // the kind of the line parsed last
    bool ReplyAccepted = true;  // false when the line parsed last held "?"

  private:
    using Finder = RingPiece (*)(std::span<const uint8_t> ring, uint32_t read, uint32_t write);
    RingPiece TakeNext(RingCursor& cursor, Finder find);
    void TakeLine(const RingCursor& cursor, const RingPiece& line);
    bool EndExchangeOnLine();

    ReceiverPanel& panel_;
};
