// The IC-R8500's memory banks: the panel's copy of the receiver's 25 banks of 100 channels,
// the transfers with the receiver, the channel list, and the working bank of the program.

#include <algorithm>
#include <cstdio>

#include "receivers/icom/ic8500/ic8500.h"
#include "state/format_text.h"
#include "state/key_value.h"
#include "state/message_bus.h"

namespace {

// Banks 20..24 have fixed names; the receiver names banks 0..19.
constexpr const char* kFixedBankNames[] = {"FREE", "AUTO", "SKIP", "PROG", "PRIO"};
// Channels counted in each bank at creation: 40 in the user banks, then FREE, AUTO, SKIP,
// PROG, PRIO.
constexpr uint32_t kUserBankChannels = 40;
constexpr uint32_t kFixedBankChannels[] = {0, 100, 100, 20, 1};

constexpr std::size_t kChannelNameLength = 8;
constexpr std::size_t kBankNameLength = 5;
// A channel record follows the bank and channel numbers: frequency, mode and filter, step
// code and programmed step, attenuator, scan flags (reply text from character 10, body byte
// 17 on for the name).
constexpr std::size_t kShortestChannelReply = 25;
constexpr std::size_t kNameByte = 17;
// The scan flags byte as the receiver documents it: bit 0 skip, bit 1 select.
constexpr const char* kScanFlags[] = {"00", "01", "02", "03"};
constexpr const char* kProgrammedStepCode = "13";
// A standard step goes with this programmed step, which the receiver ignores then.
constexpr const char* kUnusedProgrammedStep = "0005";

// The first `count` characters of a UTF-8 text, never half of one.
std::string FirstCharacters(const std::string& text, std::size_t count) {
    std::size_t end = 0;
    for (std::size_t characters = 0; end < text.size(); ++end) {
        const bool lead = (static_cast<uint8_t>(text[end]) & 0xC0) != 0x80;
        if (lead && characters++ == count) break;
    }
    return text.substr(0, end);
}

constexpr uint32_t kAttenuatorDepths[] = {10, 20, 30};

MemoryChannel EmptyChannel(uint32_t position) {
    return IC8500::kChannelLayout.Empty(static_cast<int32_t>(position));
}

}  // namespace

const ChannelLayout IC8500::kChannelLayout{.holds = {},
                                           .labelWidth = kChannelNameLength,
                                           .depths = kAttenuatorDepths,
                                           .emptyModulation = 'W',
                                           .bankSize = kBankSize,
                                           .stepHigh = IC8500::kLargestStep};

void IC8500::SetBankDefaults() {
    CurrentBank = 0;
    Channels.resize(std::size_t{kBankCount} * kBankSize);
    for (std::size_t record = 0; record < Channels.size(); ++record)
        Channels[record] = EmptyChannel(static_cast<uint32_t>(record % kBankSize));
    for (uint32_t bank = 0; bank <= kLastBank; ++bank) {
        BankChannels[bank] =
            bank < kFirstFixedBank ? kUserBankChannels : kFixedBankChannels[bank - kFirstFixedBank];
        BankPositions[bank] = 0;
        BankNames[bank] =
            bank < kFirstFixedBank ? std::string() : kFixedBankNames[bank - kFirstFixedBank];
    }
}

MemoryChannel& IC8500::Channel(uint32_t bank, uint32_t position) {
    const std::size_t record =
        std::size_t{std::min(bank, kLastBank)} * kBankSize + std::min(position, kBankSize - 1);
    return Channels[record];
}

// ---------------------------------------------------------------------------------------
// One channel and one name on the wire

IC8500::ChannelResult IC8500::ReadChannel(uint32_t bank, uint32_t position) {
    Link.LastReplyCode = -1;
    if (!SelectChannel(position)) return Outcome(false);
    readBank_ = static_cast<int32_t>(bank);
    readPosition_ = static_cast<int32_t>(position);
    channelTaken_ = false;
    char payload[16];
    std::snprintf(payload, sizeof payload, "1A01%02u%04u", bank, position);
    const ChannelResult read = ChannelExchange(payload, civ::kMemoryContents);
    readBank_ = readPosition_ = -1;
    if (read != ChannelResult::Done) return read;
    MemoryChannel& channel = Channel(bank, position);
    if (!channelTaken_) channel = EmptyChannel(position);
    channel.Level = std::max(ReadLevel(), 0);
    return ChannelResult::Done;
}

bool IC8500::ParseModelReply(const civ::CivReply& reply) {
    const std::string& text = Link.ReplyText;
    const std::vector<uint8_t>& body = Link.ReplyBytes;
    const auto field = [&](std::size_t at, std::size_t length) {
        return at < text.size() ? text.substr(at, length) : std::string();
    };
    // Only the reply that ends the read is its answer.
    if (text.starts_with("1A01")) {
        // Only the channel asked for; a reply without a record is an empty channel.
        if (readBank_ < 0 || !reply.completed || text.size() < 2 * kShortestChannelReply ||
            field(4, 2) != FormatText("%02u", static_cast<uint32_t>(readBank_)) ||
            field(6, 4) != FormatText("%04u", static_cast<uint32_t>(readPosition_)))
            return true;
        MemoryChannel channel = EmptyChannel(static_cast<uint32_t>(readPosition_));
        channel.Frequency =
            std::clamp(civ::DecodeFrequency(text.substr(8)), LowerLimit, UpperLimit);
        for (const CivMode& mode : model_.modes) {
            if (field(20, 4) != mode.code) continue;
            channel.Modulation = mode.letter;
            channel.Filter = mode.filter;
            break;
        }
        const auto code = static_cast<uint32_t>(ReadInteger(field(24, 2)));
        channel.Step = code == 13 ? static_cast<uint32_t>(ReadInteger(field(28, 2) + field(26, 2)))
                                  : StepOfCode(code);
        const std::string attenuator = field(30, 1);
        if (attenuator == "1" || attenuator == "2" || attenuator == "3") {
            channel.Attenuator = true;
            channel.AttenuatorDb = static_cast<uint32_t>(ReadInteger(attenuator)) * 10;
        }
        const std::string flags = field(32, 2);
        channel.Skip = flags == "01" || flags == "03";
        channel.Select = flags == "02" || flags == "03";
        MemoryChannel& held =
            Channel(static_cast<uint32_t>(readBank_), static_cast<uint32_t>(readPosition_));
        // The body ends with FD. A name the set holds as it went there stays the panel's, on
        // the panel's channel alone.
        if (body.size() > kNameByte + 1)
            channel.Label = LabelReadBack(
                HeldLabel(held, channel.Frequency),
                civ::NameFromWire(std::span(body).subspan(
                    kNameByte, std::min(kChannelNameLength, body.size() - 1 - kNameByte))),
                kChannelNameLength, kChannelLayout.labelCharacters);
        held = channel;
        channelTaken_ = true;
        return true;
    }
    if (text.starts_with("1A03")) {
        // FE FE E0 4A 1A 03 bb n1..n5 FD: a shorter reply gives no name.
        if (nameBank_ < 0 || !reply.completed || body.size() < 3 + kBankNameLength + 1 ||
            field(4, 2) != FormatText("%02u", static_cast<uint32_t>(nameBank_)))
            return true;
        std::string& name = BankNames[static_cast<std::size_t>(nameBank_)];
        name = LabelReadBack(name, civ::NameFromWire(std::span(body).subspan(3, kBankNameLength)),
                             kBankNameLength, kChannelLayout.labelCharacters);
        nameTaken_ = true;
        return true;
    }
    return false;
}

IC8500::ChannelResult IC8500::WriteChannel(uint32_t bank, uint32_t position) {
    const MemoryChannel& channel = Channel(bank, position);
    std::string payload = FormatText("1A00%02u", bank) + FormatText("%04u", position);
    if (channel.Frequency == 0) {
        payload += "FF";  // cleared
    } else {
        // A mode the receiver does not have (RTTY) cannot be stored in it.
        const CivMode* mode = FindMode(channel.Modulation, channel.Filter);
        if (!mode) return ChannelResult::Refused;
        payload += civ::FreqToBcd(channel.Frequency, 0);
        payload += mode->code;
        const char* step = StepCode(channel.Step);
        payload += step ? std::string(step) + kUnusedProgrammedStep
                        : kProgrammedStepCode + civ::FreqToBcd(channel.Step, 3);
        const uint32_t db = channel.AttenuatorDb;
        payload += !channel.Attenuator ? "00" : db == 20 ? "20" : db == 30 ? "30" : "10";
        payload += kScanFlags[(channel.Skip ? 1 : 0) | (channel.Select ? 2 : 0)];
        payload +=
            civ::NameToHex(channel.Label, kChannelNameLength, kChannelLayout.labelCharacters);
    }
    return WriteChannelRecord(payload);
}

bool IC8500::ReadBankName(uint32_t bank) {
    nameBank_ = static_cast<int32_t>(bank);
    nameTaken_ = false;
    const bool read = Exchange(FormatText("1A03%02u", bank), civ::kMemoryContents) && nameTaken_;
    nameBank_ = -1;
    return read;
}

void IC8500::RenameBank(uint32_t bank, const std::string& name) {
    if (bank >= kFirstFixedBank) {
        FillBankNames();  // the fixed names stay
        ShowBank();
        return;
    }
    BankNames[bank] = FirstCharacters(name, kBankNameLength);
    if (Exchange(FormatText("1A02%02u", bank) +
                     civ::NameToHex(name, kBankNameLength, kChannelLayout.labelCharacters),
                 civ::kMemoryContents))
        ReadBankName(bank);  // the receiver's own spelling, unless it holds what was sent
    FillBankNames();
    ShowBank();
}

// ---------------------------------------------------------------------------------------
// Transfers

uint32_t IC8500::ReadBankChannels(uint32_t bank, uint32_t most) {
    uint32_t read = 0;
    while (read < most && ReadChannel(bank, read) == ChannelResult::Done) ++read;
    return read;
}

bool IC8500::WriteBankChannels(uint32_t bank, Untaken& refused) {
    uint32_t count = 0;
    for (uint32_t position = 0; position < BankChannels[bank]; ++position) {
        const ChannelResult result = WriteChannel(bank, position);
        if (result == ChannelResult::Unanswered) return false;
        if (result == ChannelResult::Done)
            count = position + 1;
        else
            refused.Add(position, static_cast<int32_t>(bank));
    }
    BankChannels[bank] = count;
    BankPositions[bank] = std::min(BankPositions[bank], std::max(count, 1u) - 1);
    return true;
}

bool IC8500::ForBanks(bool all, const std::string& title,
                      const std::function<bool(uint32_t bank)>& each) {
    const uint32_t current = CurrentBank;
    const uint32_t first = all ? 0 : current;
    return ListTransfer(title, [&] {
        for (uint32_t bank = first; bank <= (all ? kLastBank : current); ++bank) {
            // A receiver that does not answer the first selection is not there; a bank it
            // refuses later keeps what the panel has.
            if (!SelectBank(bank)) {
                if (bank == first) return false;
                continue;
            }
            if (!each(bank)) return false;
        }
        if (all && SelectBank(current)) SelectChannel(BankPositions[current]);
        return true;
    });
}

bool IC8500::ReadBanks(bool all) {
    const std::string title =
        all ? "Чтение банков приемника" : FormatText("Чтение банка N %u", CurrentBank);
    return ForBanks(all, title, [&](uint32_t bank) {
        BankChannels[bank] = ReadBankChannels(bank, kBankSize);
        BankPositions[bank] = std::min(BankPositions[bank], std::max(BankChannels[bank], 1u) - 1);
        return true;
    });
}

bool IC8500::WriteBanks(bool all) {
    const std::string title =
        all ? "Запись банков приемника" : FormatText("Запись банка N %u", CurrentBank);
    Untaken refused;
    const bool answered =
        ForBanks(all, title, [&](uint32_t bank) { return WriteBankChannels(bank, refused); });
    if (answered) TellUntaken(kNotWritten, refused);
    return answered;
}

void IC8500::ClearBanks(bool all) {
    const uint32_t current = CurrentBank;
    const uint32_t first = all ? 0 : current;
    const uint32_t last = all ? kLastBank : current;
    for (uint32_t bank = first; bank <= last; ++bank)
        for (uint32_t position = 0; position < BankChannels[bank]; ++position)
            Channel(bank, position).Frequency = 0;
    if (!Settings.DirectMode) {
        ShowBank();
        return;
    }
    ListTransfer(all ? "Очистка банков приемника" : FormatText("Очистка банка N %u", current), [&] {
        for (uint32_t bank = first; bank <= last; ++bank) {
            if (!SelectBank(bank)) {
                if (bank == first) return false;
                continue;
            }
            for (uint32_t position = 0; position < BankChannels[bank]; ++position)
                if (WriteChannel(bank, position) != ChannelResult::Done || !SelectChannel(position))
                    break;
        }
        return true;
    });
}

void IC8500::StoreCurrentSettings() {
    const uint32_t bank = CurrentBank;
    const uint32_t position = BankPositions[bank];
    StoreChannel(Channel(bank, position), position, static_cast<int32_t>(bank),
                 [this, bank, position] { return WriteChannel(bank, position); });
    ShowBank();
}

// ---------------------------------------------------------------------------------------
// Choosing banks and channels

void IC8500::ChooseBank(uint32_t bank) {
    CurrentBank = std::min(bank, kLastBank);
    ShowBank();
    if (Settings.DirectMode && SelectBank(CurrentBank)) SelectChannel(BankPositions[CurrentBank]);
}

void IC8500::ChoosePosition(uint32_t position) {
    if (position >= BankChannels[CurrentBank]) return;
    BankPositions[CurrentBank] = position;
    ShowChannel();
    if (Settings.DirectMode) ApplyCurrentChannel();
}

void IC8500::ApplyCurrentChannel() {
    const uint32_t position = BankPositions[CurrentBank];
    // The receiver tunes to the channel it selects; the panel takes what the receiver holds.
    if (ReadChannel(CurrentBank, position) != ChannelResult::Done) return;
    TuneToChannel(Channel(CurrentBank, position));
    ShowBank();
}

void IC8500::ChannelEdited(const MemoryChannel& before) {
    const uint32_t position = BankPositions[CurrentBank];
    if (Settings.DirectMode && !Written(WriteChannel(CurrentBank, position), position,
                                        static_cast<int32_t>(CurrentBank))) {
        SelectedChannel() = before;
        ShowChannel();
    }
    if (lv_1) {
        const std::vector<std::string> cells = RowCells(SelectedChannel());
        for (std::size_t column = 0; column < cells.size(); ++column)
            lv_1->SetCell(RowOf(position), static_cast<int>(column), cells[column]);
    }
}

// ---------------------------------------------------------------------------------------
// The channel list

int IC8500::RowOf(uint32_t position) const {
    return static_cast<int>(CurrentBank == kProgBank ? 2 * position + 1 : position);
}

uint32_t IC8500::PositionOfRow(int row) const {
    const auto r = static_cast<uint32_t>(std::max(row, 0));
    return CurrentBank == kProgBank ? r / 2 : r;
}

std::vector<std::string> IC8500::RowCells(const MemoryChannel& channel) const {
    char frequency[32] = "";
    if (channel.Frequency != 0)
        std::snprintf(frequency, sizeof frequency, "%9.4f", channel.Frequency / 10000.0);
    return {frequency, LevelText(channel.Level), channel.Label, channel.Select ? "+" : "",
            channel.Skip ? "+" : ""};
}

// PROG holds pairs of scan edges: each edge is listed under a heading row naming its pair.
void IC8500::ShowChannels() {
    if (!lv_1) return;
    lv_1->Clear();
    for (uint32_t position = 0; position < BankChannels[CurrentBank]; ++position) {
        if (CurrentBank == kProgBank)
            lv_1->AddRow({FormatText("Диапазон %02u", position / 2), "",
                          position % 2 == 0 ? "F_начальн" : "F_конечн", "", ""});
        lv_1->AddRow(RowCells(Channel(CurrentBank, position)));
    }
    lv_1->SelectRow(RowOf(BankPositions[CurrentBank]));
    ShowChannel();
}

// ---------------------------------------------------------------------------------------
// The program's working bank and ranges

void IC8500::OnModelCode(uint32_t code) {
    switch (code) {
        case PostClearData:
            ClearBanks(Settings.AllMemory);
            break;
        case PostLoadReceiverSetup:
            if (CurrentBank == kProgBank) TakeRangeIntoProg();
            break;
        default:
            break;
    }
}

// A bank item fills the counted channels of the current bank.
std::span<MemoryChannel> IC8500::CurrentBankChannels() {
    return std::span(Channels).subspan(CurrentBank * kBankSize, BankChannels[CurrentBank]);
}

void IC8500::BankItemTaken() {
    BankPositions[CurrentBank] = 0;
    ShowBank();
}

// The range of the slot shown becomes the first pair of scan edges.
void IC8500::TakeRangeIntoProg() {
    const FDX& s = *fdx_;
    if (s.SlotIndex < 0 || static_cast<std::size_t>(s.SlotIndex) >= s.ScanSlots.size()) return;
    const Bank& slot = s.ScanSlots[static_cast<std::size_t>(s.SlotIndex)];
    if (!slot.InUse) return;
    for (uint32_t position : {0u, 1u}) {
        MemoryChannel& edge = Channel(kProgBank, position);
        edge = EmptyChannel(position);
        edge.Frequency = position == 0 ? slot.Start : slot.End;
        edge.Step = slot.Step;
        edge.Modulation = slot.Modulation;
    }
    ShowBank();
}
