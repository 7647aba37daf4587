// The AR5000's reply lines: its token table.

#include <span>

#include "receivers/aor/ar5000/ar5000.h"
#include "receivers/aor/ar5000/ar5000_modes.h"

namespace {

using aor::TokenText;
using Row = aor::Token<Ar5000Reply>;
using aor::DelayOf;
using aor::PauseOf;
using aor::SignAValueA;
using aor::SignBValueB;

void Label(Ar5000Reply& r, const TokenText& t) {
    r.Label = t.Text(2, AR5000::kLabelWidth);
}

void State(Ar5000Reply& r, AorState state) {
    r.State = state;
}

char ModeLetter(char digit, const char* letters) {
    return digit >= '0' && digit <= '4' ? letters[digit - '0'] : letters[0];
}

// clang-format off
// In the order they are searched: the first token found that has a kind gives the line its
// kind (a memory line of MR, MX, RF, ST, MD, AT and TM is of the kind of MR).
constexpr Row kTokens[] = {
    {"TT", "", Label, aor::kRestOfLine},
    {"TM", "", Label, aor::kRestOfLine},
    {"---", "", [](Ar5000Reply& r, const TokenText&) { r.ChannelPresent = false; }},
    {"?", "", [](Ar5000Reply& r, const TokenText&) { r.Accepted = false; }},
    {"SM", "RF", [](Ar5000Reply& r, const TokenText&) { r.SelectScan = true; }},
    {"GS", "GS", [](Ar5000Reply& r, const TokenText& t) {
        r.SearchBank = t.Index(2, 2, AR5000::kSearchBanks - 1); }},
    {"GM", "GM", [](Ar5000Reply& r, const TokenText& t) { r.Bank = t.Digit(2); }},
    {"VER", "VR", [](Ar5000Reply& r, const TokenText& t) { r.Version = t.Text(4, 8); }},
    {"AI", "AI", [](Ar5000Reply& r, const TokenText& t) { r.IfOutput = t.Digit(2); }},
    {"BN", "BN", [](Ar5000Reply& r, const TokenText& t) { r.EepromBank = t.One(2) ? 1 : 0; }},
    {"MS", "RF", [](Ar5000Reply& r, const TokenText&) { State(r, AorState::MemoryScan); }},
    {"MR", "RF", [](Ar5000Reply& r, const TokenText&) { State(r, AorState::MemoryRead); }},
    {"VS", "RF", [](Ar5000Reply& r, const TokenText&) { State(r, AorState::VfoScan); }},
    {"SS", "RF", [](Ar5000Reply& r, const TokenText&) { State(r, AorState::SearchScan); }},
    {"VA", "RF", [](Ar5000Reply& r, const TokenText&) { State(r, AorState::Vfo); r.Vfo = 0; }},
    {"VB", "RF", [](Ar5000Reply& r, const TokenText&) { State(r, AorState::Vfo); r.Vfo = 1; }},
    {"VC", "RF", [](Ar5000Reply& r, const TokenText&) { State(r, AorState::Vfo); r.Vfo = 2; }},
    {"VD", "RF", [](Ar5000Reply& r, const TokenText&) { State(r, AorState::Vfo); r.Vfo = 3; }},
    {"VE", "RF", [](Ar5000Reply& r, const TokenText&) { State(r, AorState::Vfo); r.Vfo = 4; }},
    {"LM", "LM", [](Ar5000Reply& r, const TokenText& t) {
        r.LevelOpen = t.At(2) != '%';
        r.Level = t.Level(3); }, 3},
    {"LC", "LC", [](Ar5000Reply& r, const TokenText& t) {
        // "LC1" is the reports switch read back; a longer line reports a level.
        if (t.At(3) != '\0') r.Level = t.Level(2); else r.LcFlag = t.One(2); }, 2},
    {"RF", "RF", [](Ar5000Reply& r, const TokenText& t) { r.Frequency = t.Number(2, 8); }},
    {"MX", "MX", [](Ar5000Reply& r, const TokenText& t) {
        r.Bank = t.Digit(2);
        r.Channel = t.Index(3, 2, AR5000::kChannels - 1); }},
    {"SR", "SR", [](Ar5000Reply& r, const TokenText& t) {
        r.SearchBank = t.Index(2, 2, AR5000::kSearchBanks - 1); }},
    {"ST", "ST", [](Ar5000Reply& r, const TokenText& t) { r.Step = t.Number(2, 6) / 100; }},
    {"AU", "AU", [](Ar5000Reply& r, const TokenText& t) { r.Auto = t.One(2); }},
    {"BQ", "BQ", [](Ar5000Reply& r, const TokenText& t) { r.BankLink = t.One(2); }},
    {"ML", "ML", [](Ar5000Reply& r, const TokenText& t) { r.BankLink = t.One(2); }},
    {"BS", "BS", [](Ar5000Reply& r, const TokenText& t) { r.SearchLinks = t.Text(3, 40); }},
    {"BM", "BM", [](Ar5000Reply& r, const TokenText& t) { r.MemoryLinks = t.Text(3, 20); }},
    {"MD", "MD", [](Ar5000Reply& r, const TokenText& t) { r.Mode = ModeLetter(t.At(2), "FALUC"); }},
    {"AT", "AT", [](Ar5000Reply& r, const TokenText& t) {
        const char depth = t.At(3);
        r.Attenuator = depth == '1' || depth == '2';
        r.AttenuatorDb = depth == '1' ? 10 : depth == '2' ? 20 : 0;
        if (t.One(2)) {
            r.Attenuator = true;
            r.AttenuatorDb = 255;
        } }},
    {"GA", "GA", [](Ar5000Reply& r, const TokenText& t) { r.Select = t.One(2); }},
    {"MT", "MT", [](Ar5000Reply& r, const TokenText& t) { r.Tuning = t.One(2); }},
    {"MP", "MP", [](Ar5000Reply& r, const TokenText& t) { r.Skip = t.One(2); }},
    {"SP", "SP", PauseOf},
    {"XP", "XP", PauseOf},
    {"XD", "XD", [](Ar5000Reply& r, const TokenText& t) {
        r.Delay = static_cast<int32_t>(FDX::ParseKHz(t.Text(2, 3))); }},
    {"SD", "SD", DelayOf},
    {"DD", "DD", DelayOf},
    {"DB", "DB", SignAValueA},
    {"DA", "DA", [](Ar5000Reply& r, const TokenText& t) {
        r.SignA = t.At(2) == '+';
        r.ValueB = static_cast<int32_t>(t.Number(3, 3)); }},
    {"RQ", "RQ", SignAValueA},
    {"VL", "VL", [](Ar5000Reply& r, const TokenText& t) { r.ValueA = int32_t(t.Number(3, 3)); }},
    {"LS", "LS", SignAValueA},
    {"TU", "TU", [](Ar5000Reply& r, const TokenText& t) { r.ValueA = int32_t(t.Number(3, 3)); }},
    {"SA", "SA", SignBValueB},
    {"SB", "SB", SignAValueA},
    {"XB", "XB", SignAValueA},
    {"XA", "XA", SignBValueB},
    {"SL", "SL", [](Ar5000Reply& r, const TokenText& t) { r.SearchLower = t.Number(2, 8); }},
    {"SU", "SU", [](Ar5000Reply& r, const TokenText& t) { r.SearchUpper = t.Number(2, 8); }},
    {"BW", "BW", [](Ar5000Reply& r, const TokenText& t) {
        r.Bandwidth = ar5000::kBandwidths[std::min(t.Digit(2), 6)]; }},
    {"CW", "CW", [](Ar5000Reply& r, const TokenText& t) { r.CwPitch = t.Digit(2); }},
    {"LP", "LP", [](Ar5000Reply& r, const TokenText& t) { r.LowPass = t.Digit(2); }},
    {"HP", "HP", [](Ar5000Reply& r, const TokenText& t) { r.HighPass = t.Digit(2); }},
    {"EN", "EN", [](Ar5000Reply& r, const TokenText& t) { r.DeEmphasis = t.Digit(2); }},
    {"AN", "AN", [](Ar5000Reply& r, const TokenText& t) { r.Antenna = t.Digit(2); }},
    {"AC", "AC", [](Ar5000Reply& r, const TokenText& t) {
        r.AcValue = t.At(2) == 'F' ? 4 : t.Digit(2); }},
    {"AS", "AS", [](Ar5000Reply& r, const TokenText& t) { r.AutoStore = t.At(2) != '0'; }},
    {"XM", "XM", [](Ar5000Reply& r, const TokenText& t) {
        r.ScanMode = t.At(2) == 'F' ? 'I' : ModeLetter(t.At(2), "FALUC"); }},
};
// clang-format on

}  // namespace

void AR5000::ParseLine() {
    const aor::LineKind kind = ParseReplyLine(std::span<const Row>(kTokens), Reply);
    // While the banks are read, a memory line answers the channel read (MX).
    if (kind.token == "MR" && BanksBeingRead) Link.ReplyKind = "MX";
}
