// The AR8200's reply lines: its token table, and its banks' names on the line.

#include <cstdlib>
#include <span>
#include <string_view>

#include "receivers/aor/ar8200/ar8200.h"

namespace {

using aor::TokenText;
using Row = aor::Token<Ar8200Reply>;
using aor::DelayOf;
using aor::PauseOf;
using aor::SignAValueA;
using aor::SignBValueB;

// Memory banks 0..19 are A..J, a..j; search banks 0..39 A..T, a..t.
constexpr std::string_view kBankLetters = "ABCDEFGHIJabcdefghij";
constexpr std::string_view kSearchLetters = "ABCDEFGHIJKLMNOPQRSTabcdefghijklmnopqrst";
// The mode digits 0..8: the letter and the variant.
constexpr std::string_view kModeLetters = "WFAULCFAA";
constexpr int32_t kModeFilters[] = {0, 0, 0, 0, 0, 0, 1, 2, 1};

// A link text: the letters of the linked banks, "-" for the others.
constexpr std::size_t kSearchLinks = 40;
constexpr std::size_t kMemoryLinks = 20;

void Label(Ar8200Reply& r, const TokenText& t) {
    r.Label = t.Text(2, AR8200::kLabelWidth);
}

void State(Ar8200Reply& r, AorState state) {
    r.State = state;
}

void Vfo(Ar8200Reply& r, int vfo) {
    r.State = AorState::Vfo;
    r.Vfo = vfo;
}

void Configuration(Ar8200Reply& r, const TokenText& t) {
    r.Configuration = t.Digit(2);
}

// The mode of a digit: its letter and its variant; another character leaves the mode.
template <class Take>
void ModeOfDigit(char digit, Take take) {
    if (digit < '0' || digit > '8') return;
    const auto d = static_cast<std::size_t>(digit - '0');
    take(kModeLetters[d], kModeFilters[d]);
}

// clang-format off
// In the order they are searched: the first token found that has a kind gives the line its
// kind. The label, the sweep of the band scope and the link rows are free text that no other
// token is looked for in; nor is the letter of a bank ("SRF" is search bank F, no "RF", and
// "MXD05" channel 5 of bank D, no "XD").
constexpr Row kTokens[] = {
    {"TT", "", Label, aor::kRestOfLine},
    {"TM", "", Label, aor::kRestOfLine},
    {"DS", "", [](Ar8200Reply& r, const TokenText& t) { r.ScopeLine = t.Text(0, 64); },
     aor::kRestOfLine},
    {"---", "", [](Ar8200Reply& r, const TokenText&) { r.ChannelPresent = false; }},
    {"?", "", [](Ar8200Reply& r, const TokenText&) { r.Accepted = false; }},
    {"SM", "RF", [](Ar8200Reply& r, const TokenText&) { r.SelectScan = true; }},
    {"GV", "GV", [](Ar8200Reply& r, const TokenText&) { r.Configuration = 0; }},
    {"GS", "GS", Configuration},
    {"GM", "GM", Configuration},
    {"VR", "VR", [](Ar8200Reply& r, const TokenText& t) { r.Version = t.Text(2, 4); }},
    {"MS", "RF", [](Ar8200Reply& r, const TokenText&) { State(r, AorState::MemoryScan); }},
    {"MR", "RF", [](Ar8200Reply& r, const TokenText&) { State(r, AorState::MemoryRead); }},
    {"AM", "RF", [](Ar8200Reply& r, const TokenText&) { State(r, AorState::BandScope); }},
    {"VS", "RF", [](Ar8200Reply& r, const TokenText&) { State(r, AorState::VfoScan); }},
    {"SS", "RF", [](Ar8200Reply& r, const TokenText&) { State(r, AorState::SearchScan); }},
    {"VA", "RF", [](Ar8200Reply& r, const TokenText&) { Vfo(r, AR8200::kVfoA); }},
    {"VB", "RF", [](Ar8200Reply& r, const TokenText&) { Vfo(r, AR8200::kVfoB); }},
    {"VF", "RF", [](Ar8200Reply& r, const TokenText&) { Vfo(r, AR8200::kVfoF); }},
    {"LM", "LM", [](Ar8200Reply& r, const TokenText& t) {
        r.LevelOpen = t.At(2) != '%';
        r.Level = static_cast<int32_t>(std::min(t.Number(3, 3), 254u)); }, 4},
    {"LC", "LC", [](Ar8200Reply& r, const TokenText& t) {
        // "LC1" is the reports switch read back; a longer line reports a stop, its level
        // counted from 111.
        if (t.At(3) == '\0') {
            r.LcFlag = t.One(2);
            return;
        }
        const int level = std::abs(static_cast<int>(t.Number(3, 3)) - 111) * 255 / 155;
        r.Level = std::min(level, 254); }, 4},
    {"RF", "RF", [](Ar8200Reply& r, const TokenText& t) {
        r.Frequency = t.Number(2, 8);
        r.FrequencyReported = true; }},
    {"MX", "MX", [](Ar8200Reply& r, const TokenText& t) {
        const std::size_t bank = kBankLetters.find(t.At(2));
        r.Bank = bank == std::string_view::npos ? 0 : static_cast<int32_t>(bank);
        r.Channel = t.Index(3, 2, 99); }, 1},
    {"SR", "SR", [](Ar8200Reply& r, const TokenText& t) {
        const std::size_t bank = t.At(2) == '\0' ? std::string_view::npos : kSearchLetters.find(t.At(2));
        if (bank != std::string_view::npos) r.SearchBank = static_cast<int32_t>(bank); }, 1},
    {"ST", "ST", [](Ar8200Reply& r, const TokenText& t) { r.Step = t.Number(2, 6) / 100; }},
    {"NL", "NL", [](Ar8200Reply& r, const TokenText& t) { r.NoiseLimiter = t.One(2); }},
    {"AU", "AU", [](Ar8200Reply& r, const TokenText& t) { r.Auto = t.One(2); }},
    {"BS", "BS", [](Ar8200Reply& r, const TokenText& t) { r.Links = t.Text(3, kSearchLinks); },
     kSearchLinks + 1},
    {"BM", "BM", [](Ar8200Reply& r, const TokenText& t) { r.Links = t.Text(3, kMemoryLinks); },
     kMemoryLinks + 1},
    {"MD", "MD", [](Ar8200Reply& r, const TokenText& t) {
        r.Filter = 0;
        ModeOfDigit(t.At(2), [&](char letter, int32_t filter) {
            r.Mode = letter;
            r.Filter = filter;
        }); }},
    {"AT", "AT", [](Ar8200Reply& r, const TokenText& t) {
        r.Attenuator = t.One(2);
        r.AttenuatorDb = r.Attenuator ? 10 : 0; }},
    {"GA", "GA", [](Ar8200Reply& r, const TokenText& t) { r.Select = t.One(2); }},
    {"MP", "MP", [](Ar8200Reply& r, const TokenText& t) { r.Skip = t.One(2); }},
    {"SP", "SP", PauseOf},
    {"XP", "XP", PauseOf},
    {"DP", "DP", PauseOf},
    {"XD", "XD", [](Ar8200Reply& r, const TokenText& t) {
        r.Delay = static_cast<int32_t>(FDX::ParseKHz(t.Text(2, 3))); }},
    {"SD", "SD", DelayOf},
    {"DD", "DD", DelayOf},
    {"DB", "DB", SignAValueA},
    {"DA", "DA", [](Ar8200Reply& r, const TokenText& t) {
        r.SignA = t.At(2) == '+';
        r.ValueB = static_cast<int32_t>(t.Number(3, 3)); }},
    {"VL", "VL", [](Ar8200Reply& r, const TokenText& t) { r.ValueA = t.Digit(3); }},
    {"LS", "LS", SignAValueA},
    {"SA", "SA", SignBValueB},
    {"SB", "SB", SignAValueA},
    {"XB", "XB", SignAValueA},
    {"XA", "XA", SignBValueB},
    {"SL", "SL", [](Ar8200Reply& r, const TokenText& t) { r.SearchLower = t.Number(2, 8); }},
    {"SU", "SU", [](Ar8200Reply& r, const TokenText& t) { r.SearchUpper = t.Number(2, 8); }},
    {"AS", "AS", [](Ar8200Reply& r, const TokenText& t) { r.AutoStore = t.At(2) != '0'; }},
    {"XM", "XM", [](Ar8200Reply& r, const TokenText& t) {
        r.ScanMode = t.At(2) == 'F' ? 'I' : r.ScanMode;
        ModeOfDigit(t.At(2), [&](char letter, int32_t) { r.ScanMode = letter; }); }},
};
// clang-format on

}  // namespace

std::string AR8200::BankName(int bank) const {
    return std::string(1, kBankLetters[static_cast<std::size_t>(std::clamp(bank, 0, kBanks - 1))]);
}

std::string AR8200::SearchBankName(int bank) const {
    return std::string(
        1, kSearchLetters[static_cast<std::size_t>(std::clamp(bank, 0, kSearchBanks - 1))]);
}

void AR8200::ParseLine() {
    Reply.ScopeLine.clear();
    const aor::LineKind kind = ParseReplyLine(std::span<const Row>(kTokens), Reply);
    // A VFO's state line answers only a request that awaits one.
    const bool vfoLine = kind.token == "VA" || kind.token == "VB" || kind.token == "VF";
    if (vfoLine && PendingCommand != aor::kAwaitingLine) Link.ReplyKind.clear();
    // "---" alone is where the receiver stands on an empty channel: it answers "RX".
    if (kind.kind.empty() && !Reply.ChannelPresent) Link.ReplyKind = "RF";
    if (!Reply.ScopeLine.empty()) TakeScopeLine();
}
