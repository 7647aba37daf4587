// The AR8000's reply lines. The set answers every command with one line and never says what
// kind of answer it is: the query that asked takes the line apart (TakeApart); the only lines
// the data-arrived pass looks at itself are the stops its own scan reports unasked,
// "RF0145500000 LC20".

#include <algorithm>
#include <span>

#include "receivers/aor/ar8000/ar8000.h"

namespace {

using aor::TokenText;
using Row = aor::Token<Ar8000Reply>;

constexpr std::size_t kLinkCount = 20;

// Two characters of a level, as "LM" and "LC" give them: from "40" up the squelch is closed
// (0); below, two hex digits of the level / 4, at most 3F. -1 for anything else.
int32_t LevelOfDigits(char high, char low) {
    if (high >= '4') return 0;
    const auto hex = [](char c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    };
    const int h = hex(high), l = hex(low);
    if (h < 0 || l < 0) return -1;
    return std::min(4 * (16 * h + l), 254);
}

void TakeBank(Ar8000Reply& r, const TokenText& t) {
    r.Marked = true;
    r.Bank = AR8000::BankOfLetter(t.At(2));
    // A channel number is a place of the bank only within it.
    const uint32_t channel = t.Number(3, 2);
    r.Channel = t.Text(3, 2).size() == 2 && channel < AR8000::kChannels
                    ? static_cast<int32_t>(channel)
                    : -1;
}

// "VA", "VB": the VFO's line, or its frequency right after the token.
void TakeVfo(Ar8000Reply& r, const TokenText& t, int vfo) {
    r.State = AorState::Vfo;
    r.Vfo = vfo;
    if (t.At(2) < '0' || t.At(2) > '9') return;
    r.Frequency = t.Number(2, 10) / 100;
    r.FrequencyReported = true;
}

// The label (TM, TT) and the links (BM, BS) are free text: the line is cut there before any
// other token is looked for. The hex digits after LC are never a token either ("LCDA").
// clang-format off
constexpr Row kTokens[] = {
    {"TM", "", [](Ar8000Reply& r, const TokenText& t) {
        r.Label = t.Text(2, AR8000::kLabelWidth); }, aor::kRestOfLine},
    {"TT", "", [](Ar8000Reply& r, const TokenText& t) {
        r.Label = t.Text(2, AR8000::kLabelWidth); }, aor::kRestOfLine},
    {"BM", "", [](Ar8000Reply& r, const TokenText& t) {
        r.Links = t.Text(2, kLinkCount); }, aor::kRestOfLine},
    {"BS", "", [](Ar8000Reply& r, const TokenText& t) {
        r.Links = t.Text(2, kLinkCount); }, aor::kRestOfLine},
    {"---", "", [](Ar8000Reply& r, const TokenText&) { r.ChannelPresent = false; }},
    {"?", "", [](Ar8000Reply& r, const TokenText&) { r.Accepted = false; }},
    {"LC", "", [](Ar8000Reply& r, const TokenText& t) {
        r.Level = LevelOfDigits(t.At(2), t.At(3));
        r.StopReport = r.Level >= 0; }, 2},
    {"MX", "", TakeBank},
    // "MA" marks a VFO's line, whether or not the line names the VFO.
    {"MA", "", [](Ar8000Reply& r, const TokenText&) {
        r.Marked = true;
        r.State = AorState::Vfo; }},
    {"VA", "", [](Ar8000Reply& r, const TokenText& t) { TakeVfo(r, t, 0); }},
    {"VB", "", [](Ar8000Reply& r, const TokenText& t) { TakeVfo(r, t, 1); }},
    {"MR", "", [](Ar8000Reply& r, const TokenText&) { r.State = AorState::MemoryRead; }},
    {"MS", "", [](Ar8000Reply& r, const TokenText&) { r.State = AorState::MemoryScan; }},
    {"SM", "", [](Ar8000Reply& r, const TokenText&) { r.SelectScan = true; }},
    {"SS", "", [](Ar8000Reply& r, const TokenText&) { r.State = AorState::SearchScan; }},
    {"RF", "", [](Ar8000Reply& r, const TokenText& t) {
        r.Frequency = t.Number(2, 10) / 100;
        r.FrequencyReported = true; }},
    {"ST", "", [](Ar8000Reply& r, const TokenText& t) {
        r.Step = t.Number(2, 6) / 100;
        r.Stepped = true; }},
    {"MD", "", [](Ar8000Reply& r, const TokenText& t) {
        const int digit = t.At(2) - '0';
        r.Mode = digit >= 0 && digit < static_cast<int>(AR8000::kModeDigits.size())
                     ? AR8000::kModeDigits[static_cast<std::size_t>(digit)]
                     : 'W'; }},
    {"AT", "", [](Ar8000Reply& r, const TokenText& t) {
        r.Attenuator = t.One(2);
        r.AttenuatorDb = r.Attenuator ? 10 : 0; }},
    {"AU", "", [](Ar8000Reply& r, const TokenText& t) { r.Auto = t.One(2); }},
    {"MP", "", [](Ar8000Reply& r, const TokenText& t) { r.Skip = t.One(2); }},
    {"SR", "", [](Ar8000Reply& r, const TokenText& t) {
        r.SearchBank = AR8000::BankOfLetter(t.At(2)); }},
    {"SL", "", [](Ar8000Reply& r, const TokenText& t) { r.SearchLower = t.Number(2, 10) / 100; }},
    {"SU", "", [](Ar8000Reply& r, const TokenText& t) { r.SearchUpper = t.Number(2, 10) / 100; }},
};
// clang-format on

}  // namespace

int AR8000::BankOfLetter(char letter) {
    const std::size_t at = kBankLetters.find(letter);
    return letter == '\0' || at == std::string_view::npos ? -1 : static_cast<int>(at);
}

char AR8000::BankLetter(int bank) {
    return kBankLetters[static_cast<std::size_t>(std::clamp(bank, 0, kBanks - 1))];
}

int32_t AR8000::LevelOfLine(std::string_view line) {
    if (line.size() < 2) return -1;
    return LevelOfDigits(line[line.size() - 2], line.back());
}

Ar8000Reply AR8000::TakeApart(std::string_view line) {
    Ar8000Reply reply;
    reply.Bank = reply.Channel = reply.SearchBank = reply.Vfo = -1;
    reply.Mode = 'W';
    aor::ParseTokens(line, std::span<const Row>(kTokens), reply);
    return reply;
}

// Only a stop report is the pass's business (while the own scan runs: a report that comes
// after the stop is left); a line holding "?" fails the exchange that awaits it, and "---"
// says that what was asked (a search bank to scan) is empty.
void AR8000::ParseLine() {
    const Ar8000Reply heard = TakeApart(Link.ReplyLine);
    Link.ReplyAccepted = heard.Accepted;
    Reply.ChannelPresent = heard.ChannelPresent;
    const bool stop = Scanning && heard.StopReport && heard.FrequencyReported;
    Link.ReplyKind = stop ? "LC" : "";
    if (!stop) return;
    Reply.Frequency = heard.Frequency;
    Reply.Level = heard.Level;
    Reply.FrequencyReported = true;
}
