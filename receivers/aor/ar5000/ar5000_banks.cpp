// The AR5000's memory lines: a channel read with "MR" and written with "MX" (read back up to
// five times), a search bank read with "SR" and written with "SE", the receiver's own reports
// off while the memory is walked.

#include "receivers/aor/ar5000/ar5000.h"
#include "receivers/aor/ar5000/ar5000_modes.h"

namespace {

using aor::Format;

// Waits for the line of the very channel asked for: a line left over from the read before
// is passed over.
constexpr int kChannelWaits = 3;
constexpr int kWriteAttempts = 5;

}  // namespace

std::string AR5000::BankName(int bank) const {
    return std::to_string(bank);
}

AR5000::ChannelAnswer AR5000::ReadChannelInto(int bank, int channel, MemoryChannel& out,
                                              bool full) {
    BanksBeingRead = true;
    Reply.Attenuator = Reply.Select = Reply.Skip = false;
    Reply.AttenuatorDb = 0;
    Reply.Bank = Reply.Channel = -1;
    Reply.State = AorState::Unknown;
    Reply.Bandwidth = 0;
    bool matched = false;
    // MR is acknowledged with an empty line; the channel's line is the answer to RX.
    if (Link.Send(Format("MR%d%02d\r\nRX\r\n", bank, channel), "MX")) {
        for (int wait = 0; wait < kChannelWaits && !matched; ++wait) {
            if (wait > 0 && !Link.Rearm("MX")) break;
            if (!WaitReply()) break;
            matched = Reply.Bank == bank && Reply.Channel == channel;
        }
    }
    BanksBeingRead = false;
    if (!matched) return ChannelAnswer::None;
    if (!Reply.ChannelPresent || Reply.State != AorState::MemoryRead) return ChannelAnswer::Empty;
    MemoryChannel read = out;
    read.Frequency = Reply.Frequency;
    read.Label = LabelOfReply(Reply.Label, HeldLabel(out, read.Frequency));
    read.Step = Reply.Step;
    const ar5000::ReportedMode mode = ar5000::ModeOfReply(Reply.Mode, Reply.Bandwidth);
    read.Modulation = mode.letter;
    read.Filter = mode.filter;
    read.Number = channel;
    if (full) {
        // The flags of the channel, and its attenuator last: the three answers come in order.
        // A receiver gone before it told them leaves the channel as the panel had it.
        if (!Link.Exchange("GA\r\nMP\r\nAT\r\n", "AT")) return ChannelAnswer::None;
        read.Select = Reply.Select;
        read.Skip = Reply.Skip;
        if (Link.Exchange("LM\r\n", "LM")) read.Level = Reply.Level;
    }
    read.Attenuator = Reply.Attenuator;
    read.AttenuatorDb = Reply.AttenuatorDb;
    out = read;
    return ChannelAnswer::Found;
}

AR5000::ChannelAnswer AR5000::ReadSearchBankInto(int bank, AorSearchBank& out) {
    Reply.SearchBank = -1;
    Reply.Bandwidth = 0;
    if (!Link.Exchange(Format("SR%02d\r\n", bank), "SR") || Reply.SearchBank != bank)
        return ChannelAnswer::None;
    if (!Reply.ChannelPresent) return ChannelAnswer::Empty;
    const ar5000::ReportedMode mode = ar5000::ModeOfReply(Reply.Mode, Reply.Bandwidth);
    out = SearchBankOf(Reply, mode.letter, mode.filter, out);
    return ChannelAnswer::Found;
}

bool AR5000::SendChannel(int bank, int channel) {
    const MemoryChannel& record = ChannelAt(bank, channel);
    const ar5000::ModeSetting mode =
        ar5000::FindMode(record.Modulation, record.Filter).value_or(ar5000::kModeSettings[0]);
    const std::string label =
        aor::LabelToWire(record.Label, kLabelWidth, kChannelLayout.labelCharacters);
    return Link.Exchange(
        Format("MX%d%02d RF%u00 AU0 ST%u MD%c BW%c MP%c TM%s\r\nAT%c\r\nGA%c\r\n", bank, channel,
               record.Frequency, record.Step * 100, mode.modeDigit,
               ar5000::BandwidthDigit(mode.bandwidth), record.Skip ? '1' : '0', label.c_str(),
               ar5000::AttenuatorDigit(record.Attenuator, record.AttenuatorDb),
               record.Select ? '1' : '0'),
        "");
}

bool AR5000::SendSearchBank(int bank) {
    const AorSearchBank& record = SearchBanks[static_cast<std::size_t>(bank)];
    const ar5000::ModeSetting mode =
        ar5000::FindMode(record.Mode, record.Filter).value_or(ar5000::kModeSettings[0]);
    const std::string label =
        aor::LabelToWire(record.Label, kLabelWidth, kChannelLayout.labelCharacters);
    return Link.Exchange(
        Format("SE%02d SL%u00 SU%u00 ST%u AU0 MD%c BW%c AT%c TT%s\r\n", bank, record.Lower,
               record.Upper, record.Step * 100, mode.modeDigit,
               ar5000::BandwidthDigit(mode.bandwidth),
               ar5000::AttenuatorDigit(record.Attenuator, record.AttenuatorDb), label.c_str()),
        "");
}

// Up to five times until the receiver reads back the frequency and mode written; a channel
// that never does is left as the receiver has it, and is not written.
bool AR5000::WriteChannel(int bank, int channel) {
    const MemoryChannel& record = ChannelAt(bank, channel);
    for (int attempt = 0; attempt < kWriteAttempts; ++attempt) {
        if (!SendChannel(bank, channel)) continue;
        MemoryChannel read;
        if (ReadChannelInto(bank, channel, read, false) == ChannelAnswer::Found &&
            read.Frequency == record.Frequency && read.Modulation == record.Modulation)
            return true;
    }
    return false;
}

bool AR5000::ClearChannelOnReceiver(int bank, int channel) {
    return SendText(Format("MR%d%02d", bank, channel)) && SendText(Format("MQ%02d", channel));
}

void AR5000::ClearBankOnReceiver(int bank) {
    SendText(Format("MQ%%%%%d", bank));
}

void AR5000::ClearSearchBankOnReceiver(int bank) {
    SendText(Format("QS%02d", bank));
}

// The receiver's own reports would come between the channels: they are off while the
// memory is walked.
void AR5000::MemoryWalkStarts() {
    SendText("LC0");
    Cancel(false);
}

void AR5000::MemoryWalkEnded(bool reselect) {
    SendText("LC1");
    if (reselect) SelectVfo(Vfo);
}
