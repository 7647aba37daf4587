// The AR5000's copy of the receiver's memory: 10 banks of 100 channels and 20 search banks,
// read from the receiver, written into it, edited in the channel list and the search-bank
// boxes, exchanged with the bank items of the journal.

#include <algorithm>
#include <cctype>

#include "receivers/aor/ar5000/ar5000.h"
#include "receivers/aor/ar5000/ar5000_form.h"
#include "receivers/aor/ar5000/ar5000_modes.h"
#include "state/channel_order.h"
#include "state/cp1251.h"
#include "state/message_bus.h"
#include "state/user_freq.h"

namespace {

using aor::Format;

// Waits for the answer of the very channel asked for; the receiver's answer to the read
// before may come first.
constexpr int kChannelWaits = 3;
constexpr int kWriteAttempts = 5;
constexpr const char* kOff = "выкл";
constexpr uint32_t kAttenuatorChoices[] = {0, 10, 20, 255};
constexpr uint32_t kAttenuatorDepths[] = {10, 20, 255};

MemoryChannel EmptyChannel(int32_t number) {
    return AR5000::kChannelLayout.Empty(number);
}

// A label as the receiver sent it (eight characters, code page 1251), without its padding.
std::string LabelFromWire(std::string_view bytes) {
    std::string text = Cp1251ToUtf8(bytes);
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// A label as the receiver takes it: at most eight characters, right-aligned in eight.
std::string LabelToWire(const std::string& label) {
    std::string bytes = Utf8ToCp1251(label).substr(0, AR5000::kLabelWidth);
    bytes.insert(0, AR5000::kLabelWidth - bytes.size(), ' ');
    return Cp1251ToUtf8(bytes);
}

std::string Flag(bool set) {
    return set ? "+" : "-";
}

int AttenuatorIndex(bool on, uint32_t db) {
    const uint32_t choice = ar5000::AttenuatorOption(on, db);
    return choice == 0 ? 0 : choice == 10 ? 1 : choice == 20 ? 2 : 3;
}

}  // namespace

const ChannelLayout AR5000::kChannelLayout{.holds = {},
                                           .labelWidth = kLabelWidth,
                                           .depths = kAttenuatorDepths,
                                           .emptyModulation = 'F',
                                           .bankSize = kChannels};

// ---------------------------------------------------------------------------------------
// Reading from the receiver

AR5000::ChannelAnswer AR5000::ReadChannelInto(int bank, int channel, MemoryChannel& out,
                                              bool full) {
    BanksBeingRead = true;
    Reply.Attenuator = Reply.Select = Reply.Skip = false;
    Reply.AttenuatorDb = 0;
    Reply.Bank = Reply.Channel = -1;
    Reply.State = Ar5000State::Unknown;
    Reply.Bandwidth = 0;
    bool matched = false;
    if (Link.Send(Format("MR%d%02d\r\nRX\r\n", bank, channel), "MX")) {
        for (int wait = 0; wait < kChannelWaits && !matched; ++wait) {
            if (wait > 0 && !Link.Rearm("MX")) break;
            if (!WaitReply()) break;
            matched = Reply.Bank == bank && Reply.Channel == channel;
        }
    }
    BanksBeingRead = false;
    if (!matched) return ChannelAnswer::None;
    if (!Reply.ChannelPresent || Reply.State != Ar5000State::MemoryRead)
        return ChannelAnswer::Empty;
    out.Frequency = Reply.Frequency;
    out.Step = Reply.Step;
    const ar5000::ReportedMode mode = ar5000::ModeOfReply(Reply.Mode, Reply.Bandwidth);
    out.Modulation = mode.letter;
    out.Filter = mode.filter;
    out.Label = LabelFromWire(Reply.Label);
    out.Number = channel;
    if (full) {
        // The flags of the channel, and its attenuator last: the three answers come in order.
        if (Link.Exchange("GA\r\nMP\r\nAT\r\n", "AT")) {
            out.Select = Reply.Select;
            out.Skip = Reply.Skip;
        }
        if (Link.Exchange("LM\r\n", "LM")) out.Level = Reply.Level;
    }
    out.Attenuator = Reply.Attenuator;
    out.AttenuatorDb = Reply.AttenuatorDb;
    return ChannelAnswer::Found;
}

bool AR5000::ReadChannel(int bank, int channel) {
    MemoryChannel& record = ChannelAt(bank, channel);
    if (ReadChannelInto(bank, channel, record, true) == ChannelAnswer::Found) return true;
    record.Frequency = 0;
    return false;
}

AR5000::ChannelAnswer AR5000::ReadSearchBankInto(int bank, Ar5000SearchBank& out) {
    Reply.SearchBank = -1;
    Reply.Bandwidth = 0;
    if (!Link.Exchange(Format("SR%02d\r\n", bank), "SR") || Reply.SearchBank != bank)
        return ChannelAnswer::None;
    if (!Reply.ChannelPresent) return ChannelAnswer::Empty;
    out.Lower = Reply.SearchLower;
    out.Upper = Reply.SearchUpper;
    out.Step = Reply.Step;
    const ar5000::ReportedMode mode = ar5000::ModeOfReply(Reply.Mode, Reply.Bandwidth);
    out.Mode = mode.letter;
    out.Filter = mode.filter;
    out.Attenuator = Reply.Attenuator;
    out.AttenuatorDb = Reply.AttenuatorDb;
    out.Label = LabelFromWire(Reply.Label);
    return ChannelAnswer::Found;
}

// Only an answer clears the panel's search bank: one that does not come leaves it as it is.
bool AR5000::ReadSearchBank(int bank) {
    Ar5000SearchBank& record = SearchBanks[static_cast<std::size_t>(bank)];
    Ar5000SearchBank read = record;
    switch (ReadSearchBankInto(bank, read)) {
        case ChannelAnswer::None:
            return false;
        case ChannelAnswer::Empty:
            record = {};
            return true;
        case ChannelAnswer::Found:
            record = read;
            return true;
    }
    return false;
}

bool AR5000::Answers() {
    return ReadLevel() != -1;
}

// The receiver's own reports would come between the channels: they are off while the
// memory is read or written.
void AR5000::ReportsOff() {
    SendSetting("LC0");
    Cancel(false);
}

void AR5000::ReadCurrentBank() {
    Transfer(Format("Чтение банка N %d", CurrentBank), [this] {
        if (lv_1) lv_1->Clear();
        const bool answered = Answers();
        if (answered) {
            ReportsOff();
            for (int channel = 0; channel < kChannels; ++channel) ReadChannel(CurrentBank, channel);
            SendSetting("LC1");
        }
        ShowBankList();
        return answered;
    });
}

// A bank whose probe goes unanswered ends the transfer there.
void AR5000::ReadAllBanks() {
    Transfer("Чтение банков приемника", [this] {
        if (lv_1) lv_1->Clear();
        bool reading = true;
        for (int bank = 0; bank < kBanks && reading; ++bank) {
            reading = Answers();
            if (!reading) break;
            if (bank == 0) ReportsOff();
            for (int channel = 0; channel < kChannels; ++channel) ReadChannel(bank, channel);
        }
        if (reading) {
            for (int bank = 0; bank < kSearchBanks; ++bank) ReadSearchBank(bank);
            SendSetting("LC1");
            SelectVfo(Vfo);
        }
        ShowBankList();
        ShowSearchBank();
        return reading;
    });
}

// ---------------------------------------------------------------------------------------
// Writing into the receiver

std::string AR5000::ChannelLine(int bank, int channel) const {
    const MemoryChannel& record = ChannelAt(bank, channel);
    const ar5000::ModeSetting mode =
        ar5000::FindMode(record.Modulation, record.Filter).value_or(ar5000::kModeSettings[0]);
    return Format(
        "MX%d%02d RF%u00 AU0 ST%u MD%c BW%c MP%c TM%s\r\nAT%c\r\nGA%c\r\n", bank, channel,
        record.Frequency, record.Step * 100, mode.modeDigit, ar5000::BandwidthDigit(mode.bandwidth),
        record.Skip ? '1' : '0', LabelToWire(record.Label).c_str(),
        ar5000::AttenuatorDigit(record.Attenuator, record.AttenuatorDb), record.Select ? '1' : '0');
}

std::string AR5000::SearchBankLine(int bank) const {
    const Ar5000SearchBank& record = SearchBanks[static_cast<std::size_t>(bank)];
    const ar5000::ModeSetting mode =
        ar5000::FindMode(record.Mode, record.Filter).value_or(ar5000::kModeSettings[0]);
    return Format("SE%02d SL%u00 SU%u00 ST%u AU0 MD%c BW%c AT%c TT%s\r\n", bank, record.Lower,
                  record.Upper, record.Step * 100, mode.modeDigit,
                  ar5000::BandwidthDigit(mode.bandwidth),
                  ar5000::AttenuatorDigit(record.Attenuator, record.AttenuatorDb),
                  LabelToWire(record.Label).c_str());
}

bool AR5000::ClearChannelOnReceiver(int bank, int channel) {
    return SendSetting(Format("MR%d%02d", bank, channel)) && SendSetting(Format("MQ%02d", channel));
}

// Up to five times until the receiver reads back the frequency and mode written; a channel
// that never does is left as the receiver has it.
void AR5000::WriteChannel(int bank, int channel) {
    const MemoryChannel& record = ChannelAt(bank, channel);
    for (int attempt = 0; attempt < kWriteAttempts; ++attempt) {
        if (!Link.Exchange(ChannelLine(bank, channel), "")) continue;
        MemoryChannel read;
        if (ReadChannelInto(bank, channel, read, false) == ChannelAnswer::Found &&
            read.Frequency == record.Frequency && read.Modulation == record.Modulation)
            return;
    }
}

void AR5000::WriteBankChannels(int bank) {
    for (int channel = 0; channel < kChannels; ++channel) {
        if (ChannelAt(bank, channel).Empty())
            ClearChannelOnReceiver(bank, channel);
        else
            WriteChannel(bank, channel);
    }
}

void AR5000::WriteCurrentBank() {
    Transfer(Format("Запись банка N %d", CurrentBank), [this] {
        if (!Answers()) return false;
        ReportsOff();
        WriteBankChannels(CurrentBank);
        SendSetting("LC1");
        if (!SearchBanks[static_cast<std::size_t>(CurrentSearchBank)].Empty())
            Link.Exchange(SearchBankLine(CurrentSearchBank), "");
        SelectVfo(Vfo);
        return true;
    });
}

void AR5000::WriteAllBanks() {
    Transfer("Запись банков приемника", [this] {
        for (int bank = 0; bank < kBanks; ++bank) {
            if (!Answers()) return false;
            if (bank == 0) ReportsOff();
            WriteBankChannels(bank);
        }
        for (int bank = 0; bank < kSearchBanks; ++bank)
            if (!SearchBanks[static_cast<std::size_t>(bank)].Empty())
                Link.Exchange(SearchBankLine(bank), "");
        SendSetting("LC1");
        SelectVfo(Vfo);
        return true;
    });
}

// ---------------------------------------------------------------------------------------
// The panel's own copy

void AR5000::StoreCurrentSettings() {
    const FDX& s = *fdx_;
    MemoryChannel& record = ChannelAt(CurrentBank, SelectedChannel());
    record.Frequency = std::clamp(s.Frequency, LowerLimit, UpperLimit);
    record.Step = s.Step;
    record.Modulation = s.Modulation;
    record.Filter = s.Filter;
    record.Attenuator = s.Attenuator != 0;
    record.AttenuatorDb = s.AttenuatorDb;
    record.Level = std::max(s.Level, 0);
    ShowBankList();
}

void AR5000::ClearBanks() {
    const auto clearBank = [this](int bank) {
        if (DirectWrite) SendSetting(Format("MQ%%%%%d", bank));
        for (int channel = 0; channel < kChannels; ++channel)
            ChannelAt(bank, channel) = EmptyChannel(channel);
    };
    if (WholeMemory) {
        for (int bank = 0; bank < kBanks; ++bank) clearBank(bank);
        for (int bank = 0; bank < kSearchBanks; ++bank) {
            if (DirectWrite) SendSetting(Format("QS%02d", bank));
            SearchBanks[static_cast<std::size_t>(bank)] = {};
        }
    } else {
        clearBank(CurrentBank);
    }
    BankPositions[static_cast<std::size_t>(CurrentBank)] = 0;
    ShowBankList();
    ShowSearchBank();
}

std::span<MemoryChannel> AR5000::CurrentBankChannels() {
    return std::span(Channels).subspan(Index(CurrentBank, 0), kChannels);
}

// The bank item loaded in the journal becomes the current bank: as many of its channels as
// the bank holds, the rest empty.
void AR5000::LoadBankItem() {
    TakeBankItem(CurrentBankChannels(), kChannelLayout);
    BankPositions[static_cast<std::size_t>(CurrentBank)] = 0;
    ShowBankList();
}

// PostSaveBank: the current bank becomes the working bank, and the main window makes a bank
// item of it.
void AR5000::SaveBankItem() {
    GiveBankItem(CurrentBankChannels());
}

// ---------------------------------------------------------------------------------------
// The channel list and the boxes

int32_t AR5000::SelectedChannel() const {
    return std::clamp(BankPositions[static_cast<std::size_t>(CurrentBank)], 0, kChannels - 1);
}

void AR5000::ShowBankList() {
    if (rows_.size() != static_cast<std::size_t>(kChannels)) {
        rows_.resize(kChannels);
        for (int channel = 0; channel < kChannels; ++channel)
            rows_[static_cast<std::size_t>(channel)] = channel;
    }
    if (bn) bn->SetSelectedIndex(CurrentBank);
    if (!lv_1) return;
    lv_1->Clear();
    for (int row = 0; row < kChannels; ++row) {
        lv_1->AddRow({});
        ShowChannelRow(row);
    }
    ShowChannelBoxes();
}

void AR5000::ShowChannelRow(int row) {
    if (!lv_1 || row < 0 || row >= kChannels) return;
    const MemoryChannel& record = ChannelAt(CurrentBank, rows_[static_cast<std::size_t>(row)]);
    std::vector<std::string> cells(9);
    cells[6] = Format("%02d", record.Number);
    if (record.Empty()) {
        cells[0] = kOff;
    } else {
        const FDX& s = *fdx_;
        cells[0] = Format("%9.4f", record.Frequency / 10000.0);
        cells[1] = Format("%5.1f", record.Step / 10.0);
        const char* mode = ar5000::ModeText(record.Modulation, record.Filter);
        cells[2] = mode ? mode : std::string(1, record.Modulation);
        const uint32_t level = static_cast<uint32_t>(std::clamp(record.Level, 0, 255));
        cells[3] = s.OptDb ? Format("%3.1f", s.LevelToDb(level) / 10.0) : Format("%u", level);
        cells[4] = Flag(record.Attenuator);
        cells[5] = record.Label;
        cells[7] = Flag(record.Select);
        cells[8] = Flag(record.Skip);
    }
    for (int column = 0; column < 9; ++column)
        lv_1->SetCell(row, column, cells[static_cast<std::size_t>(column)]);
}

void AR5000::ShowChannelBoxes() {
    if (!textb_1) return;
    const int channel = SelectedChannel();
    const MemoryChannel& record = ChannelAt(CurrentBank, channel);
    const auto row = std::find(rows_.begin(), rows_.end(), channel);
    if (row != rows_.end()) lv_1->SelectRow(static_cast<int>(row - rows_.begin()));
    Nk->SetText(Format("%02d", channel));
    textb_1->SetText(record.Empty() ? kOff : Format("%9.4f", record.Frequency / 10000.0));
    comment->SetText(record.Label);
    sstep->SetText(Format("%5.1f", record.Step / 10.0));
    const char* mode = ar5000::ModeText(record.Modulation, record.Filter);
    for (int i = 0; i < smod->Count(); ++i)
        if (mode && smod->StringAt(i) == mode) smod->SetSelectedIndex(i);
    combo_att->SetSelectedIndex(AttenuatorIndex(record.Attenuator, record.AttenuatorDb));
    sel->SetChecked(record.Select);
    skip->SetChecked(record.Skip);
    const bool enabled = !record.Empty() && !PanelBusy;
    for (ui::Control* box :
         std::initializer_list<ui::Control*>{comment, sstep, combo_att, smod, sel, skip})
        box->SetEnabled(enabled);
}

void AR5000::ShowSearchBank() {
    if (sbn) sbn->SetSelectedIndex(CurrentSearchBank);
    if (!textb_Fn) return;
    const Ar5000SearchBank& record = SearchBanks[static_cast<std::size_t>(CurrentSearchBank)];
    const bool empty = record.Empty();
    textb_Fn->SetText(empty ? kOff : Format("%9.4f", record.Lower / 10000.0));
    textb_Fk->SetText(empty ? kOff : Format("%9.4f", record.Upper / 10000.0));
    textb_step->SetText(Format("%5.1f", record.Step / 10.0));
    textb_com->SetText(record.Label);
    const char* mode = ar5000::ModeText(record.Mode, record.Filter);
    for (int i = 0; i < combo_mod->Count(); ++i)
        if (mode && combo_mod->StringAt(i) == mode) combo_mod->SetSelectedIndex(i);
    scombo_att->SetSelectedIndex(AttenuatorIndex(record.Attenuator, record.AttenuatorDb));
    const bool enabled = !empty && !PanelBusy;
    for (ui::Control* box : std::initializer_list<ui::Control*>{textb_com, textb_step, textb_Fk,
                                                                combo_mod, scombo_att})
        box->SetEnabled(enabled);
}

// Sorted by a column: frequency, step, mode, level, attenuator, label or number; the select
// and skip columns leave the order.
void AR5000::SortList(int column) {
    if (column < 0 || column > static_cast<int>(ChannelColumn::Number)) return;
    SortChannelRows(rows_, static_cast<ChannelColumn>(column), [this](int32_t channel) {
        return SortFieldsOf(ChannelAt(CurrentBank, channel));
    });
    for (int row = 0; row < kChannels; ++row) ShowChannelRow(row);
    ShowChannelBoxes();
}

void AR5000::ChooseBank(int bank) {
    if (bank < 0 || bank >= kBanks) return;
    CurrentBank = bank;
    rows_.clear();  // another bank shows in channel order
    if (DirectWrite) SendSetting(Format("MR%d%02d", bank, SelectedChannel()));
    ShowBankList();
    PostToOwner(PostRefreshPanelDialogs);
}

void AR5000::ChooseSearchBank(int bank) {
    if (bank < 0 || bank >= kSearchBanks) return;
    CurrentSearchBank = bank;
    if (DirectWrite) ReadSearchBank(bank);
    ShowSearchBank();
    PostToOwner(PostRefreshPanelDialogs);
}

// An edit of the selected channel. With direct writing the channel is read from the receiver
// first, takes what the receiver holds but the edit, and goes back into the receiver; when
// the receiver does not answer, only the panel's copy takes the edit.
void AR5000::EditChannel(const std::function<void(MemoryChannel&)>& edit) {
    const int channel = SelectedChannel();
    MemoryChannel& record = ChannelAt(CurrentBank, channel);
    if (DirectWrite) {
        MemoryChannel held = record;
        const ChannelAnswer answer = ReadChannelInto(CurrentBank, channel, held, true);
        if (answer != ChannelAnswer::None) {
            if (answer == ChannelAnswer::Found) record = held;
            edit(record);
            if (!record.Empty()) Link.Exchange(ChannelLine(CurrentBank, channel), "");
            ShowBankList();
            ShowBandwidth();
            FollowTuning();
            PostToOwner(PostReceiverState);
            return;
        }
    }
    edit(record);
    const auto row = std::find(rows_.begin(), rows_.end(), channel);
    if (row != rows_.end()) ShowChannelRow(static_cast<int>(row - rows_.begin()));
}

void AR5000::EditSearchBank(const std::function<void(Ar5000SearchBank&)>& edit, bool sendAnyway) {
    Ar5000SearchBank& record = SearchBanks[static_cast<std::size_t>(CurrentSearchBank)];
    if (!DirectWrite) {
        edit(record);
        return;
    }
    Ar5000SearchBank held = record;
    const ChannelAnswer answer = ReadSearchBankInto(CurrentSearchBank, held);
    if (answer == ChannelAnswer::Found) {
        record = held;
        if (Reply.Bandwidth > 0) {
            Bandwidth = Reply.Bandwidth;
            ShowBandwidth();
        }
    }
    edit(record);
    if ((answer != ChannelAnswer::None || sendAnyway) && !record.Empty())
        Link.Exchange(SearchBankLine(CurrentSearchBank), "");
}

void AR5000::OnChannelFrequency(const std::string& text) {
    const FDX& s = *fdx_;
    const uint32_t value = FDX::ParseMHz(text);
    if (value != 0 && (value < LowerLimit || value > UpperLimit)) return;
    if (value == 0) {
        ChannelAt(CurrentBank, SelectedChannel()).Frequency = 0;
        if (DirectWrite) ClearChannelOnReceiver(CurrentBank, SelectedChannel());
        ShowBankList();
        return;
    }
    const uint32_t depth = ar5000::AttenuatorOption(s.Attenuator != 0, s.AttenuatorDb);
    EditChannel([&](MemoryChannel& r) {
        if (r.Empty()) {
            r.Modulation = s.Modulation;
            r.Filter = s.Filter;
            r.Attenuator = depth != 0;
            r.AttenuatorDb = depth;
            r.Step = s.Step;
            r.Select = r.Skip = false;
            r.Level = 0;
        }
        r.Frequency = value;
    });
    ShowChannelBoxes();
}

void AR5000::OnSearchLower(const std::string& text) {
    const FDX& s = *fdx_;
    const uint32_t value = FDX::ParseMHz(text);
    if (value != 0 && (value < LowerLimit || value > UpperLimit)) return;
    if (value == 0) {
        SearchBanks[static_cast<std::size_t>(CurrentSearchBank)] = {};
        if (DirectWrite) SendSetting(Format("QS%02d", CurrentSearchBank));
        ShowSearchBank();
        return;
    }
    EditSearchBank(
        [&](Ar5000SearchBank& r) {
            if (r.Empty()) {
                r.Mode = s.Modulation;
                r.Filter = s.Filter;
                r.Attenuator = s.Attenuator != 0;
                r.AttenuatorDb = s.AttenuatorDb;
                r.Step = s.Step;
                r.Upper = value;
            }
            r.Lower = value;
            // An upper limit the receiver has not set yet follows the lower one.
            if (r.Upper == 0) r.Upper = value;
        },
        true);
    ShowSearchBank();
}

void AR5000::WireBankControls() {
    using ui::EventId;
    ar5000::WhenRaised(lv_1, EventId::Select, [this](ui::EventData& e) {
        if (PanelBusy || e.value < 0 || e.value >= kChannels) return;
        BankPositions[static_cast<std::size_t>(CurrentBank)] =
            rows_[static_cast<std::size_t>(e.value)];
        ShowChannelBoxes();
    });
    ar5000::WhenRaised(lv_1, EventId::ColumnClick,
                       [this](ui::EventData& e) { SortList(static_cast<int>(e.value)); });
    ar5000::WhenRaised(comment, EventId::Change, [this](ui::EventData& e) {
        const std::string label = kChannelLayout.CutLabel(e.text);
        EditChannel([&](MemoryChannel& r) { r.Label = label; });
    });
    ar5000::WhenRaised(sstep, EventId::Change, [this](ui::EventData& e) {
        const uint32_t value = std::clamp(FDX::ParseKHz(e.text), fdx_->StepLow,
                                          std::max(fdx_->StepLow, fdx_->StepHigh));
        EditChannel([&](MemoryChannel& r) { r.Step = value; });
    });
    ar5000::WhenRaised(textb_1, EventId::Change,
                       [this](ui::EventData& e) { OnChannelFrequency(e.text); });
    ar5000::WhenRaised(smod, EventId::Select, [this](ui::EventData& e) {
        if (e.value < 0 || e.value >= static_cast<int64_t>(std::size(ar5000::kModeEntries))) return;
        const ar5000::ModeEntry& entry = ar5000::kModeEntries[e.value];
        const MemoryChannel& record = ChannelAt(CurrentBank, SelectedChannel());
        const bool letterOnly = entry.letter == 'L' || entry.letter == 'U' || entry.letter == 'C';
        if (record.Modulation == entry.letter && (letterOnly || record.Filter == entry.filter))
            return;
        Bandwidth = entry.bandwidth;
        ShowBandwidth();
        EditChannel([&](MemoryChannel& r) {
            r.Modulation = entry.letter;
            r.Filter = entry.filter;
        });
    });
    const auto flagBox = [this](ui::CheckBox* box, bool MemoryChannel::*flag) {
        ar5000::WhenRaised(box, EventId::Click, [this, box, flag](ui::EventData&) {
            const MemoryChannel& record = ChannelAt(CurrentBank, SelectedChannel());
            if (record.Empty() || record.*flag == box->IsChecked()) return;
            const bool set = box->IsChecked();
            EditChannel([&](MemoryChannel& r) { r.*flag = set; });
        });
    };
    flagBox(sel, &MemoryChannel::Select);
    flagBox(skip, &MemoryChannel::Skip);
    ar5000::WhenRaised(combo_att, EventId::Select, [this](ui::EventData& e) {
        if (e.value < 0 || e.value > 3) return;
        const uint32_t choice = kAttenuatorChoices[e.value];
        const MemoryChannel& record = ChannelAt(CurrentBank, SelectedChannel());
        if (record.Empty() ||
            ar5000::AttenuatorOption(record.Attenuator, record.AttenuatorDb) == choice)
            return;
        EditChannel([&](MemoryChannel& r) {
            r.Attenuator = choice != 0;
            r.AttenuatorDb = choice;
        });
    });
    ar5000::WhenRaised(cb_3, EventId::Click, [this](ui::EventData&) { StoreCurrentSettings(); });
    ar5000::WhenRaised(cb_2, EventId::Click, [this](ui::EventData&) {
        if (WholeMemory)
            ReadAllBanks();
        else
            ReadCurrentBank();
    });
    ar5000::WhenRaised(cb_1, EventId::Click, [this](ui::EventData&) {
        if (WholeMemory)
            WriteAllBanks();
        else
            WriteCurrentBank();
    });
    ar5000::WhenRaised(cbank, EventId::Click, [this](ui::EventData&) {
        DirectWrite = cbank->IsChecked();
        if (!DirectWrite) return;
        ReadChannel(CurrentBank, SelectedChannel());
        ReadSearchBank(CurrentSearchBank);
        ShowBankList();
        ShowSearchBank();
    });
    ar5000::WhenRaised(mem, EventId::Click,
                       [this](ui::EventData&) { WholeMemory = mem->IsChecked(); });
    ar5000::WhenRaised(bn, EventId::Select,
                       [this](ui::EventData& e) { ChooseBank(static_cast<int>(e.value)); });
    ar5000::WhenRaised(sbn, EventId::Select,
                       [this](ui::EventData& e) { ChooseSearchBank(static_cast<int>(e.value)); });
    ar5000::WhenRaised(textb_com, EventId::Change, [this](ui::EventData& e) {
        const std::string label = kChannelLayout.CutLabel(e.text);
        EditSearchBank([&](Ar5000SearchBank& r) { r.Label = label; }, false);
    });
    ar5000::WhenRaised(textb_step, EventId::Change, [this](ui::EventData& e) {
        const uint32_t value = std::clamp(FDX::ParseKHz(e.text), fdx_->StepLow,
                                          std::max(fdx_->StepLow, fdx_->StepHigh));
        if (SearchBanks[static_cast<std::size_t>(CurrentSearchBank)].Step == value) return;
        EditSearchBank([&](Ar5000SearchBank& r) { r.Step = value; }, false);
    });
    ar5000::WhenRaised(textb_Fn, EventId::Change,
                       [this](ui::EventData& e) { OnSearchLower(e.text); });
    ar5000::WhenRaised(textb_Fk, EventId::Change, [this](ui::EventData& e) {
        const uint32_t value = FDX::ParseMHz(e.text);
        if (value < LowerLimit || value > UpperLimit) return;
        EditSearchBank([&](Ar5000SearchBank& r) { r.Upper = value; }, true);
    });
    ar5000::WhenRaised(combo_mod, EventId::Select, [this](ui::EventData& e) {
        if (e.value < 0 || e.value >= static_cast<int64_t>(std::size(ar5000::kModeEntries))) return;
        const ar5000::ModeEntry& entry = ar5000::kModeEntries[e.value];
        const Ar5000SearchBank& record = SearchBanks[static_cast<std::size_t>(CurrentSearchBank)];
        const bool letterOnly = entry.letter == 'L' || entry.letter == 'U' || entry.letter == 'C';
        if (record.Mode == entry.letter && (letterOnly || record.Filter == entry.filter)) return;
        Bandwidth = entry.bandwidth;
        ShowBandwidth();
        EditSearchBank(
            [&](Ar5000SearchBank& r) {
                r.Mode = entry.letter;
                r.Filter = entry.filter;
            },
            false);
    });
    ar5000::WhenRaised(scombo_att, EventId::Select, [this](ui::EventData& e) {
        if (e.value < 0 || e.value > 3) return;
        const uint32_t choice = kAttenuatorChoices[e.value];
        const Ar5000SearchBank& record = SearchBanks[static_cast<std::size_t>(CurrentSearchBank)];
        if (ar5000::AttenuatorOption(record.Attenuator, record.AttenuatorDb) == choice) return;
        EditSearchBank(
            [&](Ar5000SearchBank& r) {
                r.Attenuator = choice != 0;
                r.AttenuatorDb = choice;
            },
            false);
    });
}
