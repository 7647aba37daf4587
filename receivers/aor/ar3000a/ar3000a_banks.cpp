// The AR3000A's copy of the receiver's memory: four banks of 100 channels, read from the
// receiver, written into it, stored into from the program state, edited in the channel boxes,
// exchanged with the bank items of the journal.

#include <algorithm>
#include <limits>

#include "receivers/aor/ar3000a/ar3000a.h"
#include "state/format_text.h"
#include "state/message_bus.h"

// The set holds the six modes of its mode keys and steps of 0.1 to 999.9 kHz: a channel taken
// from a bank item or a state file keeps no other (a write of it would be refused).
const ChannelLayout AR3000A::kChannelLayout{
    .holds = {.filter = false, .depth = false, .select = false, .skip = false},
    .labelWidth = std::numeric_limits<std::size_t>::max(),
    .depths = {},
    .emptyModulation = 'F',
    .bankSize = kChannels,
    .modeLetters = "FWALUC",
    .stepLow = ar3000a::kStepLow,
    .stepHigh = ar3000a::kStepHigh};

namespace {

// The edit row lists the set's modes by name; the list shows the letter.
const std::array<AorModeEntry, 6> kModeEntries = [] {
    std::array<AorModeEntry, 6> entries{};
    const auto modes = ar3000a::Modes();
    for (std::size_t i = 0; i < entries.size() && i < modes.size(); ++i)
        entries[i] = {modes[i].text, modes[i].letter, 0, 0};
    return entries;
}();

// clang-format off
constexpr AorListColumn kColumns[] = {
    {"Частота", 62, AorColumn::Frequency}, {"Шаг", 36, AorColumn::Step},
    {"Мод", 32, AorColumn::Mode}, {"Уровень", 48, AorColumn::Level},
    {"Атт", 28, AorColumn::Attenuator}, {"Комментарий", 72, AorColumn::Label},
    {"№", 24, AorColumn::Number},
};
// clang-format on

}  // namespace

const AorChannelList AR3000A::kChannelList{.layout = &kChannelLayout,
                                           .modes = kModeEntries,
                                           .columns = kColumns,
                                           .sortsByColumn = false,
                                           .modeLetters = true,
                                           .columnsGrow = true};

MemoryChannel& AR3000A::ChannelAt(int bank, int channel) {
    const auto index = static_cast<std::size_t>(std::clamp(bank, 0, kBanks - 1) * kChannels +
                                                std::clamp(channel, 0, kChannels - 1));
    return Channels[index];
}

int32_t AR3000A::SelectedChannel() const {
    return std::clamp(
        BankPositions[static_cast<std::size_t>(std::clamp(CurrentBank, 0, kBanks - 1))], 0,
        kChannels - 1);
}

std::span<MemoryChannel> AR3000A::CurrentBankChannels() {
    return std::span(Channels).subspan(static_cast<std::size_t>(CurrentBank * kChannels),
                                       kChannels);
}

// ---------------------------------------------------------------------------------------
// Exchanges with the receiver

bool AR3000A::SelectBank(int bank) {
    return Link.Exchange(ar3000a::BankCommand(bank));
}

AR3000A::ChannelRead AR3000A::QueryChannel(int32_t channel) {
    const std::string query =
        channel < 0 ? ar3000a::SettingsQuery() : ar3000a::ChannelQuery(channel);
    if (!Link.Exchange(query)) return ChannelRead::Unanswered;
    const auto reading = ar3000a::ParseChannel(Link.Reply, channel, LowerLimit, UpperLimit);
    if (!reading)
        return ar3000a::IsEmptyChannel(Link.Reply, channel) ? ChannelRead::Empty
                                                            : ChannelRead::NotTheChannel;
    Reading = *reading;
    // The level belongs to the channel's frequency, where the receiver stands now.
    TunedFrequency = Reading.Frequency;
    ShownModulation = Reading.Modulation;
    ShownAttenuator = Reading.Attenuator;
    ShowBandwidth(Reading.Modulation);
    Reading.Level = std::max(ReadLevel(), 0);
    ShowStatus();
    return ChannelRead::Read;
}

bool AR3000A::WriteChannel(int bank, int channel) {
    const MemoryChannel& record = ChannelAt(bank, channel);
    if (record.Empty()) return true;
    return Link.Exchange(ar3000a::ChannelCommand(channel, record));
}

bool AR3000A::WalkMemory(const std::function<void(int bank, int channel)>& visit) {
    const auto answers = [this] { return ReadLevel() != -1; };
    const int first = WholeMemory ? 0 : CurrentBank;
    const int last = WholeMemory ? kBanks - 1 : CurrentBank;
    for (int bank = first; bank <= last; ++bank) {
        // The receiver's bank is selected even for the current bank alone: the receiver may
        // stand on another one, whose channels would go into this bank or be overwritten.
        if (!(answers() && SelectBank(bank))) return false;
        for (int channel = 0; channel < kChannels; ++channel) {
            if (!answers()) return false;
            visit(bank, channel);
        }
    }
    return true;
}

void AR3000A::EndTransfer(bool keepSelected) {
    if (WholeMemory && !SelectBank(CurrentBank)) return;
    MemoryChannel& record = ChannelAt(CurrentBank, SelectedChannel());
    if (ReadChannel(SelectedChannel()) && DirectWrite && !keepSelected) TakeReading(record);
}

// Only the set's own word for a channel changes it: "---" empties it, its settings fill it. A
// channel whose answer did not come or is not its own (garbled, another channel's) keeps what
// the panel had; the set still answered the probe before it, so each such channel is counted
// and told once the read is over (a set lost after the probe is found by the next probe,
// which ends the read). The set holds no labels: a channel read keeps the panel's.
void AR3000A::ReadBanks() {
    const std::string status = WholeMemory ? std::string("Чтение банков приемника")
                                           : FormatText("Чтение банка N %d", CurrentBank + 1);
    Unread unread;
    const bool answered = Transfer(status, [&] {
        if (lv_1) lv_1->Clear();
        const bool walked = WalkMemory([&](int bank, int channel) {
            const ChannelRead read = QueryChannel(channel);
            MemoryChannel& record = ChannelAt(bank, channel);
            if (read == ChannelRead::Empty) {
                record = kChannelLayout.Empty(channel);
            } else if (read == ChannelRead::Read) {
                const std::string label = record.Empty() ? std::string() : record.Label;
                record = kChannelLayout.Empty(channel);
                Reading.CopyTo(record);
                record.Label = label;
            } else {
                unread.Channel(bank, channel);
            }
        });
        if (walked) EndTransfer();
        ShowBankList();
        return walked;
    });
    if (answered && unread.channel)
        TellNotRead(unread.count, std::to_string(unread.channel->first + 1), unread.channel->second);
}

// A channel the set refuses is counted and told once the walk is over. The selected channel
// is read back over the panel's only when the walk wrote it.
void AR3000A::WriteBanks() {
    const std::string status = WholeMemory ? std::string("Запись банков приемника")
                                           : FormatText("Запись банка N %d", CurrentBank + 1);
    uint32_t refused = 0;
    int firstBank = 0, firstChannel = 0;
    bool selectedWritten = false;
    const bool answered = Transfer(status, [&] {
        const bool walked = WalkMemory([&](int bank, int channel) {
            const bool sent = !ChannelAt(bank, channel).Empty();
            const bool written = WriteChannel(bank, channel);
            if (bank == CurrentBank && channel == SelectedChannel())
                selectedWritten = sent && written;
            if (written || refused++ > 0) return;
            firstBank = bank;
            firstChannel = channel;
        });
        if (walked) EndTransfer(!selectedWritten);
        ShowBankList();
        return walked;
    });
    if (answered && refused > 0)
        TellNotWritten(refused, std::to_string(firstBank + 1), firstChannel);
}

// ---------------------------------------------------------------------------------------
// Channels and the program state

void AR3000A::StoreCurrentSettings() {
    StoreIntoSelectedChannel([this](int channel) { return WriteChannel(CurrentBank, channel); },
                             std::to_string(CurrentBank + 1));
    ShowSelectedRow();
    ShowChannelBoxes();
}

void AR3000A::TakeChannel(const MemoryChannel& record) {
    ChannelIntoSettings(record, *fdx_);
    ShowBandwidth(record.Modulation);
}

void AR3000A::TakeReading(MemoryChannel& record) {
    Reading.CopyTo(record);
    TakeChannel(record);
    ShowAll();
    PostToOwner(PostReceiverState);
}

void AR3000A::ApplyChannel(MemoryChannel& record) {
    TakeChannel(record);
    SetFrequencyWait();
    SetStep();
    SetAttenuator();
    SetMode();
    fdx_->Level = ReadLevel();
    record.Level = std::max(fdx_->Level, 0);
    ShowAll();
    PostToOwner(PostReceiverState);
}

void AR3000A::SelectChannel(int channel) {
    if (channel < 0 || channel >= kChannels) return;
    BankPositions[static_cast<std::size_t>(CurrentBank)] = channel;
    MemoryChannel& record = ChannelAt(CurrentBank, channel);
    if (DirectWrite) {
        // The channel as the set holds it there, then applied as any chosen channel is.
        if (ReadChannel(channel)) {
            Reading.CopyTo(record);
            ApplyChannel(record);
        }
    } else if (!record.Empty()) {
        ApplyChannel(record);
    }
    ShowSelectedRow();
    ShowChannelBoxes();
}

// A click on the selected channel's row again changes nothing.
void AR3000A::ChooseChannel(int channel) {
    if (channel != SelectedChannel()) SelectChannel(channel);
}

void AR3000A::ChooseBank(int bank) {
    if (bank < 0 || bank >= kBanks) return;
    CurrentBank = bank;
    ShowBankList();
    if (DirectWrite && SelectBank(bank)) SelectChannel(SelectedChannel());
}

void AR3000A::SetDirectWrite(bool on) {
    const bool becomesOn = on && !DirectWrite;
    DirectWrite = on;
    if (cbank) cbank->SetChecked(on);
    if (becomesOn && SelectBank(CurrentBank)) SelectChannel(SelectedChannel());
}

void AR3000A::BankItemTaken() {
    BankPositions[static_cast<std::size_t>(CurrentBank)] = 0;
    ShowBankList();
}

void AR3000A::ClearBank() {
    for (MemoryChannel& record : CurrentBankChannels())
        record = kChannelLayout.Empty(record.Number);
    BankPositions[static_cast<std::size_t>(CurrentBank)] = 0;
    ShowBankList();
}

void AR3000A::WireBankControls() {
    using ui::EventId;
    const std::array<ui::OptionButton*, kBanks> banks = {optb_1, optb_2, optb_3, optb_4};
    for (int bank = 0; bank < kBanks; ++bank) {
        ui::OptionButton* option = banks[static_cast<std::size_t>(bank)];
        option->On(EventId::Click, [this, option, bank](ui::EventData&) {
            if (option->IsChecked() && bank != CurrentBank) ChooseBank(bank);
        });
    }
    // An edit in the channel boxes changes the panel's copy; the receiver gets it with the
    // next write of the bank.
    WireChannelList();
    cb_3->On(EventId::Click, [this](ui::EventData&) { StoreCurrentSettings(); });
    cb_2->On(EventId::Click, [this](ui::EventData&) { ReadBanks(); });
    cb_1->On(EventId::Click, [this](ui::EventData&) { WriteBanks(); });
    cbank->On(EventId::Click, [this](ui::EventData&) { SetDirectWrite(cbank->IsChecked()); });
    pictb_1->On(EventId::Click, [this](ui::EventData&) { WholeMemory = pictb_1->IsChecked(); });
}

// The bank's option button shows the current bank.
void AR3000A::ShowBankChoice() {
    const std::array<ui::OptionButton*, kBanks> banks = {optb_1, optb_2, optb_3, optb_4};
    ui::OptionButton* chosen =
        banks[static_cast<std::size_t>(std::clamp(CurrentBank, 0, kBanks - 1))];
    if (chosen && !chosen->IsChecked()) chosen->SetChecked(true);
}
