// The AR8200's memory lines: a channel read with "MR", its select flag and its state line,
// written with "MX" and its flags after; a search bank read with "SR" and written with "SE";
// banks named by letters.

#include <cinttypes>

#include "receivers/aor/ar8200/ar8200.h"

namespace {

using aor::Format;

}  // namespace

// Only this channel's own answer says it is empty: the set may acknowledge "MR" with an
// empty line, which leaves the "---" of the channel read before standing, and then answer
// "RX" with "---" alone, standing on the channel asked.
AR8200::ChannelAnswer AR8200::ReadChannelInto(int bank, int channel, MemoryChannel& out,
                                              bool full) {
    Reply.Attenuator = Reply.Select = Reply.Skip = Reply.Auto = false;
    Reply.AttenuatorDb = 0;
    Reply.Bank = Reply.Channel = -1;
    Reply.Label.clear();
    Reply.ChannelPresent = true;
    const std::string place = BankName(bank) + Format("%02d", channel);
    if (!SendText("MR" + place)) return ChannelAnswer::None;
    if (!Reply.ChannelPresent) return ChannelAnswer::Empty;
    if (full) SendText("GA");
    const bool select = Reply.Select;
    if (!ReadFrequency()) return ChannelAnswer::None;
    const bool bareEmpty = Reply.Bank == -1 && !Reply.ChannelPresent;
    if (!bareEmpty && (Reply.Bank != bank || Reply.Channel != channel)) return ChannelAnswer::None;
    if (!Reply.ChannelPresent) return ChannelAnswer::Empty;
    TakeChannelReply(Reply, channel, Reply.Mode, Reply.Filter, out);
    if (full) {
        out.Select = select;
        const int32_t level = ReadLevel();
        if (level >= 0) out.Level = level;
    }
    return ChannelAnswer::Found;
}

// Any line answers: the search bank's own, or "---" alone for an empty one, which is the
// set's answer too (the bank gets no limits) and must not be waited past.
AR8200::ChannelAnswer AR8200::ReadSearchBankInto(int bank, AorSearchBank& out) {
    Reply.SearchBank = -1;
    Reply.Attenuator = false;
    Reply.Label.clear();
    Reply.ChannelPresent = true;
    const bool answered = Link.Exchange("SR" + SearchBankName(bank) + "\r\n", "");
    const bool bareEmpty = Reply.SearchBank == -1 && !Reply.ChannelPresent;
    if (!answered || Link.AnswerLine.empty() || (Reply.SearchBank != bank && !bareEmpty))
        return ChannelAnswer::None;
    if (!Reply.ChannelPresent) return ChannelAnswer::Empty;
    out = SearchBankOf(Reply, Reply.Mode, Reply.Filter, out);
    return ChannelAnswer::Found;
}

// The channel's line, then the channel read back, its select flag and its skip flag.
bool AR8200::SendChannel(int bank, int channel) {
    const MemoryChannel& r = ChannelAt(bank, channel);
    if (r.Empty()) return false;
    const std::string place = BankName(bank) + Format("%02d", channel);
    const std::string label =
        aor::LabelToWire(r.Label, kLabelWidth, kChannelLayout.labelCharacters);
    const bool written = SendText(Format(
        "MX%s RF%010" PRIu64 " ST%06" PRIu64 " MD%d AT%c TM%s", place.c_str(),
        uint64_t{r.Frequency} * 100, uint64_t{r.Step} * 100,
        std::max(ModeDigit(r.Modulation, r.Filter), 0), r.Attenuator ? '1' : '0', label.c_str()));
    if (!written) return false;
    SendText("MR" + place);
    SendText(r.Select ? "GA1" : "GA0");
    return SendText(r.Skip ? "MP1" : "MP0");
}

// A search bank without a label goes without "TT"; an empty one is not sent.
bool AR8200::SendSearchBank(int bank) {
    const AorSearchBank& r = SearchBanks[static_cast<std::size_t>(bank)];
    if (r.Lower == 0 || r.Upper == 0) return false;
    std::string line = Format("SE%s SL%010" PRIu64 " SU%010" PRIu64 " ST%06" PRIu64 " MD%d AT%c",
                              SearchBankName(bank).c_str(), uint64_t{r.Lower} * 100,
                              uint64_t{r.Upper} * 100, uint64_t{r.Step} * 100,
                              std::max(ModeDigit(r.Mode, r.Filter), 0), r.Attenuator ? '1' : '0');
    if (!r.Label.empty())
        line += " TT" + aor::LabelOnWire(r.Label, kLabelWidth, kChannelLayout.labelCharacters);
    return SendText(line);
}

// "SR" with the letter selects the search bank and answers its line, as a read does.
bool AR8200::SelectWrittenSearchBank(int bank) {
    AorSearchBank written;
    return ReadSearchBankInto(bank, written) != ChannelAnswer::None;
}

bool AR8200::SelectBankForWalk(int bank) {
    return SendText("MR" + BankName(bank) + "00");
}

// Emptying a channel on the receiver: the set keeps no empty channels of its own.
bool AR8200::ClearChannelOnReceiver(int bank, int channel) {
    (void)bank;
    (void)channel;
    return false;
}

void AR8200::ClearBankOnReceiver(int bank) {
    if (SelectBankForWalk(bank)) SendText("MQ%%");
}

// After a transfer the current bank is the receiver's again; the receiver goes back to the
// VFO the panel works on.
void AR8200::MemoryWalkEnded(bool reselect) {
    SelectBankForWalk(CurrentBank);
    if (reselect) SelectVfo(VfoChoice);
}
