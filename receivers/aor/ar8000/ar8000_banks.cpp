// The AR8000's memory lines: a channel read with "MR" and written with "MX" and its skip flag
// after; a search bank read with "SR" and written with "SE"; banks named by their letters; the
// links of its own scan read back with "BM" and "BS".

#include <cinttypes>

#include "receivers/aor/ar8000/ar8000.h"

namespace {

using aor::Format;

}  // namespace

std::string AR8000::BankName(int bank) const {
    return std::string(1, BankLetter(bank));
}

// The line must be the asked channel's: another's (a stale one) is not taken for it. An empty
// place is answered with "---" alone, which names no place: the exchange purged what was
// stale before it, so that line is this channel's. The select flag is the panel's own: the
// set does not report it.
AR8000::ChannelAnswer AR8000::ReadChannelInto(int bank, int channel, MemoryChannel& out,
                                              bool full) {
    const bool read = ReadState(Format("MR%c%02d", BankLetter(bank), channel));
    if (Link.AnswerLine == kEmptyPlace) return ChannelAnswer::Empty;
    if (Reply.Bank != bank || Reply.Channel != channel) return ChannelAnswer::None;
    if (!Reply.ChannelPresent) return ChannelAnswer::Empty;
    if (!read) return ChannelAnswer::None;
    TakeChannelReply(Reply, channel, Reply.Mode, 0, out);
    if (full) {
        const int32_t level = ReadLevel();
        if (level >= 0) out.Level = level;
    }
    return ChannelAnswer::Found;
}

// The set may say "---" alone for an empty search bank: that is its answer, and the bank
// gets no limits (not the panel's old ones).
AR8000::ChannelAnswer AR8000::ReadSearchBankInto(int bank, AorSearchBank& out) {
    const bool answered = Link.Exchange(Format("SR%c\r\n", BankLetter(bank)), "");
    Reply = TakeApart(Link.AnswerLine);
    const bool bareEmpty = Reply.SearchBank == -1 && !Reply.ChannelPresent;
    if (!answered || (Reply.SearchBank != bank && !bareEmpty)) return ChannelAnswer::None;
    if (!Reply.ChannelPresent) return ChannelAnswer::Empty;
    out = SearchBankOf(Reply, Reply.Mode, 0, out);
    return ChannelAnswer::Found;
}

// The channel's line, then its skip flag; an empty channel is not sent.
bool AR8000::SendChannel(int bank, int channel) {
    const MemoryChannel& r = ChannelAt(bank, channel);
    if (r.Empty()) return false;
    const std::string label =
        aor::LabelToWire(r.Label, kLabelWidth, kChannelLayout.labelCharacters);
    const bool written =
        SendText(Format("MX%c%02d RF%" PRIu64 " ST%" PRIu64 " MD%d AT%c TM%s", BankLetter(bank),
                        channel, uint64_t{r.Frequency} * 100, uint64_t{r.Step} * 100,
                        ModeDigit(r.Modulation), r.Attenuator ? '1' : '0', label.c_str()));
    return SendText(r.Skip ? "MP1" : "MP0") && written;
}

// A search bank goes with its label, an empty one too; one without both limits is not sent.
bool AR8000::SendSearchBank(int bank) {
    const AorSearchBank& r = SearchBanks[static_cast<std::size_t>(bank)];
    if (r.Lower == 0 || r.Upper == 0) return false;
    const std::string label =
        aor::LabelOnWire(r.Label, kLabelWidth, kChannelLayout.labelCharacters);
    return SendText(Format("SE%c SL%" PRIu64 " SU%" PRIu64 " ST%" PRIu64 " MD%d AT%c TT%s",
                           BankLetter(bank), uint64_t{r.Lower} * 100, uint64_t{r.Upper} * 100,
                           uint64_t{r.Step} * 100, ModeDigit(r.Mode), r.Attenuator ? '1' : '0',
                           label.c_str()));
}

bool AR8000::SelectBankForWalk(int bank) {
    return SendText(Format("MR%c00", BankLetter(bank)));
}

// The set's channel is emptied in memory read ("MQ" with its number).
bool AR8000::ClearChannelOnReceiver(int bank, int channel) {
    return SendText(Format("MR%c%02d", BankLetter(bank), channel)) &&
           SendText(Format("MQ%02d", channel));
}

void AR8000::ClearBankOnReceiver(int bank) {
    if (SelectBankForWalk(bank)) SendText("MQ%%");
}

// A walk leaves the set in memory read: it goes back to the active VFO.
void AR8000::MemoryWalkEnded(bool reselect) {
    if (reselect) ReadState(VfoA ? "VA" : "VB");
}

std::string AR8000::LinkLetters(std::string_view links) {
    std::string letters;
    for (const char c : links)
        if (kLinkLetters.find(c) != std::string_view::npos && letters.find(c) == std::string::npos)
            letters += c;
    return letters;
}

// "ML1" and "BQ1" switch the linking of memory and search banks on; "BM" and "BS" read the
// links as a row of 20 places, a letter or "-" each.
bool AR8000::ReadBankLinks() {
    bool taken = SendText("ML1");
    taken = SendText("BQ1") && taken;
    const auto links = [this](const char* query, std::string& into) {
        if (!Link.Exchange(std::string(query) + "\r\n", "")) return false;
        const std::string_view line = Link.AnswerLine;
        if (!line.starts_with(query)) return false;
        into = LinkLetters(TakeApart(line).Links);
        return true;
    };
    taken = links("BM", ScanSettings.MemoryLinks) && taken;
    return links("BS", ScanSettings.SearchLinks) && taken;
}
