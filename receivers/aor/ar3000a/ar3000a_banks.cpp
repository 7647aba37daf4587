// The AR3000A's copy of the receiver's memory: four banks of 100 channels, read from the
// receiver, written into it, stored into from the program state, edited in the channel boxes,
// exchanged with the bank items of the journal.

#include <algorithm>
#include <limits>

#include "receivers/aor/ar3000a/ar3000a.h"
#include "state/format_text.h"
#include "state/message_bus.h"

namespace {

constexpr const char* kOff = "выкл";

}  // namespace

const ChannelLayout AR3000A::kChannelLayout{
    .holds = {.filter = false, .depth = false, .select = false, .skip = false},
    .labelWidth = std::numeric_limits<std::size_t>::max(),
    .depths = {},
    .emptyModulation = 'F',
    .bankSize = kChannels};

MemoryChannel& AR3000A::ChannelAt(int bank, int channel) {
    const auto index = static_cast<std::size_t>(std::clamp(bank, 0, kBanks - 1) * kChannels +
                                                std::clamp(channel, 0, kChannels - 1));
    return Channels[index];
}

int32_t AR3000A::SelectedChannel() const {
    return std::clamp(BankPositions[static_cast<std::size_t>(std::clamp(CurrentBank, 0, kBanks - 1))],
                      0, kChannels - 1);
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

bool AR3000A::ReadChannel(int32_t channel) {
    const std::string query =
        channel < 0 ? ar3000a::SettingsQuery() : ar3000a::ChannelQuery(channel);
    if (!Link.Exchange(query)) return false;
    const auto reading = ar3000a::ParseChannel(Link.Reply, channel, LowerLimit, UpperLimit);
    if (!reading) return false;
    Reading = *reading;
    // The level belongs to the channel's frequency, where the receiver stands now.
    TunedFrequency = Reading.Frequency;
    ShownModulation = Reading.Modulation;
    ShownAttenuator = Reading.Attenuator;
    Reading.Level = std::max(ReadLevel(), 0);
    ShowStatus();
    return true;
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

void AR3000A::EndTransfer() {
    if (WholeMemory && !SelectBank(CurrentBank)) return;
    MemoryChannel& record = ChannelAt(CurrentBank, SelectedChannel());
    if (ReadChannel(SelectedChannel()) && DirectWrite) TakeReading(record);
}

void AR3000A::ReadBanks() {
    const std::string status = WholeMemory ? std::string("Чтение банков приемника")
                                           : FormatText("Чтение банка N %d", CurrentBank + 1);
    Transfer(status, [this] {
        if (lv_1) lv_1->Clear();
        const bool answered = WalkMemory([this](int bank, int channel) {
            MemoryChannel& record = ChannelAt(bank, channel);
            record = kChannelLayout.Empty(channel);
            if (ReadChannel(channel)) Reading.CopyTo(record);
        });
        if (answered) EndTransfer();
        ShowBankList();
        return answered;
    });
}

void AR3000A::WriteBanks() {
    const std::string status = WholeMemory ? std::string("Запись банков приемника")
                                           : FormatText("Запись банка N %d", CurrentBank + 1);
    Transfer(status, [this] {
        const bool answered =
            WalkMemory([this](int bank, int channel) { WriteChannel(bank, channel); });
        if (answered) EndTransfer();
        ShowBankList();
        return answered;
    });
}

// ---------------------------------------------------------------------------------------
// Channels and the program state

void AR3000A::StoreCurrentSettings() {
    const FDX& s = *fdx_;
    MemoryChannel& record = ChannelAt(CurrentBank, SelectedChannel());
    record.Frequency = std::clamp(s.Frequency, LowerLimit, UpperLimit);
    record.Modulation = kChannelLayout.KnownModulation(s.Modulation);
    record.Attenuator = s.Attenuator != 0;
    record.Step = s.Step;
    record.Level = std::max(s.Level, 0);
    record.Label.clear();
    if (DirectWrite) WriteChannel(CurrentBank, SelectedChannel());
    ShowChannelRow(SelectedChannel());
    ShowChannelBoxes();
}

void AR3000A::TakeChannel(const MemoryChannel& record) {
    FDX& s = *fdx_;
    s.Frequency = record.Frequency;
    s.Modulation = record.Modulation;
    s.Step = record.Step;
    s.Attenuator = record.Attenuator ? 1 : 0;
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
        if (ReadChannel(channel)) TakeReading(record);
    } else if (!record.Empty()) {
        ApplyChannel(record);
    }
    ShowChannelRow(channel);
    ShowChannelBoxes();
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

// PostItemLoaded: the bank item loaded in the journal becomes the current bank, as many of
// its channels as the bank holds, the rest empty.
void AR3000A::LoadBankItem() {
    TakeBankItem(CurrentBankChannels(), kChannelLayout);
    BankPositions[static_cast<std::size_t>(CurrentBank)] = 0;
    ShowBankList();
}

void AR3000A::ClearBank() {
    for (MemoryChannel& record : CurrentBankChannels())
        record = kChannelLayout.Empty(record.Number);
    BankPositions[static_cast<std::size_t>(CurrentBank)] = 0;
    ShowBankList();
}

// An edit in the channel boxes changes the panel's copy; the receiver gets it with the next
// write of the bank.
void AR3000A::EditChannel(const std::function<void(MemoryChannel&)>& edit) {
    if (PanelBusy) return;
    edit(ChannelAt(CurrentBank, SelectedChannel()));
    ShowChannelRow(SelectedChannel());
}

// A frequency typed into an empty channel gives it the program state's settings; 0 or "выкл"
// empties it; one beyond the receiver's limits is not taken.
void AR3000A::OnChannelFrequency(const std::string& text) {
    const uint32_t value = FDX::ParseMHz(text);
    if (value != 0 && (value < LowerLimit || value > UpperLimit)) return;
    const FDX& s = *fdx_;
    EditChannel([&](MemoryChannel& r) {
        if (r.Empty()) {
            r.Step = s.Step;
            r.Modulation = kChannelLayout.KnownModulation(s.Modulation);
            r.Attenuator = s.Attenuator != 0;
            r.Level = 0;
        }
        r.Frequency = value;
    });
    const bool enabled = value != 0;
    for (ui::Control* box : std::initializer_list<ui::Control*>{smod, sstep, satt, comment})
        if (box) box->SetEnabled(enabled);
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
    lv_1->On(EventId::Select, [this](ui::EventData& e) {
        if (!PanelBusy && e.value != SelectedChannel()) SelectChannel(static_cast<int>(e.value));
    });
    textb_1->On(EventId::Change, [this](ui::EventData& e) { OnChannelFrequency(e.text); });
    smod->On(EventId::Select, [this](ui::EventData& e) {
        const auto modes = ar3000a::Modes();
        if (e.value < 0 || e.value >= static_cast<int64_t>(modes.size())) return;
        const char letter = modes[static_cast<std::size_t>(e.value)].letter;
        EditChannel([&](MemoryChannel& r) { r.Modulation = letter; });
    });
    sstep->On(EventId::Change, [this](ui::EventData& e) {
        const uint32_t value = std::clamp(FDX::ParseKHz(e.text), ar3000a::kStepLow,
                                          ar3000a::kStepHigh);
        EditChannel([&](MemoryChannel& r) { r.Step = value; });
    });
    satt->On(EventId::Click, [this](ui::EventData&) {
        const bool on = satt->IsChecked();
        EditChannel([&](MemoryChannel& r) { r.Attenuator = on; });
    });
    comment->On(EventId::Change, [this](ui::EventData& e) {
        EditChannel([&](MemoryChannel& r) { r.Label = e.text; });
    });
    cb_3->On(EventId::Click, [this](ui::EventData&) { StoreCurrentSettings(); });
    cb_2->On(EventId::Click, [this](ui::EventData&) { ReadBanks(); });
    cb_1->On(EventId::Click, [this](ui::EventData&) { WriteBanks(); });
    cbank->On(EventId::Click, [this](ui::EventData&) { SetDirectWrite(cbank->IsChecked()); });
    pictb_1->On(EventId::Click, [this](ui::EventData&) { WholeMemory = pictb_1->IsChecked(); });
}

// ---------------------------------------------------------------------------------------
// The channel list and the boxes

void AR3000A::ShowBankList() {
    const std::array<ui::OptionButton*, kBanks> banks = {optb_1, optb_2, optb_3, optb_4};
    ui::OptionButton* chosen = banks[static_cast<std::size_t>(std::clamp(CurrentBank, 0, kBanks - 1))];
    if (chosen && !chosen->IsChecked()) chosen->SetChecked(true);
    if (!lv_1) return;
    lv_1->Clear();
    for (int channel = 0; channel < kChannels; ++channel) {
        lv_1->AddRow({});
        ShowChannelRow(channel);
    }
    ShowChannelBoxes();
}

void AR3000A::ShowChannelRow(int channel) {
    if (!lv_1 || channel < 0 || channel >= lv_1->RowCount()) return;
    const MemoryChannel& record = ChannelAt(CurrentBank, channel);
    std::array<std::string, 7> cells;
    cells[6] = FormatText("%02d", channel);
    if (record.Empty()) {
        cells[0] = kOff;
    } else {
        const FDX& s = *fdx_;
        const auto level = static_cast<uint32_t>(std::clamp(record.Level, 0, 255));
        cells[0] = FormatText("%9.4f", record.Frequency / 10000.0);
        cells[1] = FormatText("%5.1f", record.Step / 10.0);
        cells[2] = std::string(1, record.Modulation);
        cells[3] = s.OptDb ? FormatText("%3.1f", s.LevelToDb(level) / 10.0)
                           : FormatText("%u", level);
        cells[4] = record.Attenuator ? "+" : "-";
        cells[5] = record.Label;
    }
    for (int column = 0; column < static_cast<int>(cells.size()); ++column)
        lv_1->SetCell(channel, column, cells[static_cast<std::size_t>(column)]);
}

// The boxes show the selected channel; they edit it only when it holds a frequency.
void AR3000A::ShowChannelBoxes() {
    if (!textb_1) return;
    const int channel = SelectedChannel();
    const MemoryChannel& record = ChannelAt(CurrentBank, channel);
    lv_1->SelectRow(channel);
    textb_1->SetText(record.Empty() ? kOff : FormatText("%9.4f", record.Frequency / 10000.0));
    sstep->SetText(FormatText("%5.1f", record.Step / 10.0));
    comment->SetText(record.Label);
    satt->SetChecked(record.Attenuator);
    const auto modes = ar3000a::Modes();
    for (std::size_t i = 0; i < modes.size(); ++i)
        if (modes[i].letter == record.Modulation) smod->SetSelectedIndex(static_cast<int>(i));
    const bool enabled = !record.Empty() && !PanelBusy;
    for (ui::Control* box : std::initializer_list<ui::Control*>{smod, sstep, satt, comment})
        box->SetEnabled(enabled);
}
