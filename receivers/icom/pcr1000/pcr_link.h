#pragma once
// The IC-PCR1000's text link. Every command is one line of text ended CR LF; every reply is
// one line that begins with a letter (G, H, I, N or O) and a digit: "G000" accepted, "G001"
// refused, "H100" the set is off, "I004"/"I007" squelch closed/open, "I1xx" the level,
// "NEb0..." band-scope cells. Two hex characters after the id are the reply's value.
//
// One exchange at a time: the panel's PendingCommand holds the id of the command whose reply
// is outstanding (packed by pcr::IdCode), and the link the two characters the completing
// reply begins with (Awaited, almost always "G0"). Replies are lines, so one that arrives
// late or unasked is read and decoded like any other and merely completes nothing; that is
// why the link never empties the port when an exchange is dropped.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "receivers/ring_cursor.h"

class ReceiverPanel;

namespace pcr {

// A line longer than any reply the set sends (a band-scope block is 37 characters) that has
// not ended is noise.
inline constexpr std::size_t kLongestLine = 64;

// The id of a command ("K0", "J47") as the panel's PendingCommand: up to three characters.
constexpr int32_t IdCode(std::string_view id) {
    int32_t code = 0;
    for (std::size_t i = 0; i < 3; ++i)
        code = code << 8 | (i < id.size() ? static_cast<uint8_t>(id[i]) : 0);
    return code;
}

// The value of the two characters at `at`, read as upper-case hex digits; 0 when either is
// not one (or the text is too short).
int HexPair(std::string_view text, std::size_t at);

// The finder of the ring cursor: the next reply line. Whole: from the line's last start
// letter (noise before it goes with it) to just past its CR and an LF right after; Skip: a
// line without a start letter, an empty one, or a run of noise longer than any reply that
// has not ended.
RingPiece FindLine(std::span<const uint8_t> ring, uint32_t read, uint32_t write);

}  // namespace pcr

class PcrLink {
  public:
    explicit PcrLink(ReceiverPanel& panel) : panel_(panel) {}

    // Starts an exchange: refused (false, nothing written) while one is outstanding; a stale
    // one is dropped first; then PendingCommand := id, Awaited := awaited, and "line\r\n" is
    // written.
    bool Send(std::string_view id, std::string_view awaited, std::string_view line);
    // Send, then the panel's WaitReply.
    bool Exchange(std::string_view id, std::string_view awaited, std::string_view line);
    // Writes "line\r\n" outside any exchange (power off, the band scope's timer poll): a
    // stale exchange is dropped first and the reply counts as not yet complete.
    void SendText(std::string_view line);

    // Copies the next reply line out of the ring into ReplyLine and decodes it; its length,
    // 0 (nothing moved) when no complete reply is there.
    uint32_t ReadReply();
    // The data-arrived pass: every reply in the ring is taken out, decoded, handed to
    // `parse`, and completes the exchange when it begins with Awaited; a "G0" reply other
    // than "G000" completes it as refused. Returns ReplyComplete.
    bool Poll(const std::function<void(const PcrLink&)>& parse);

    // The outstanding command's id, empty when none.
    std::string PendingId() const;

    std::string Awaited = "G0";
    std::string CommandText;  // the last line written, without its line end
    std::string ReplyLine;    // the last reply, without CR and LF
    std::string ReplyId;      // its first two characters
    int ReplyValue = 0;       // its characters 3 and 4 as hex
    // What the replies said: the last "H1" carried 00, bit 0 of the last "I0", the last "I1".
    bool ReceiverOff = false;
    bool SquelchOpen = false;
    int LastLevel = 0;

  private:
    void Write(std::string_view line);
    // The next piece of the ring; a whole reply goes into ReplyLine and is decoded.
    RingPiece TakeNext(RingCursor& cursor);
    void Decode();

    ReceiverPanel& panel_;
};
