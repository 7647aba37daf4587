// The AOR panels' channel list of the current bank, the edit row of its selected channel and
// the boxes of the current search bank. With direct writing an edit goes to the receiver at
// once.

#include <algorithm>

#include "receivers/aor/aor_panel.h"
#include "state/message_bus.h"

namespace {

using aor::Format;
using aor::WhenRaised;

constexpr const char* kOff = "выкл";
// The entries of the attenuator lists: off, 10 dB, 20 dB, automatic.
constexpr uint32_t kAttenuatorChoices[] = {0, 10, 20, 255};

std::string Flag(bool set) {
    return set ? "+" : "-";
}

int AttenuatorIndex(bool on, uint32_t db) {
    const uint32_t choice = aor::AttenuatorOption(on, db);
    return static_cast<int>(
        std::find(std::begin(kAttenuatorChoices), std::end(kAttenuatorChoices), choice) -
        std::begin(kAttenuatorChoices));
}

// How a mode shows: its entry of the mode list ("nF", "wA"), the normal one for a filter the
// letter lacks; null for a letter without an entry.
const char* ModeText(std::span<const AorModeEntry> entries, char letter, int32_t filter) {
    const char* normal = nullptr;
    for (const AorModeEntry& entry : entries) {
        if (entry.letter != letter) continue;
        if (entry.filter == filter) return entry.text;
        if (entry.filter == 0) normal = entry.text;
    }
    return normal;
}

void ChooseMode(ui::ComboBox* list, const char* text) {
    for (int i = 0; text && i < list->Count(); ++i)
        if (list->StringAt(i) == text) list->SetSelectedIndex(i);
}

void ShowAttenuatorIn(ui::ComboBox* list, bool on, uint32_t db) {
    if (list) list->SetSelectedIndex(AttenuatorIndex(on, db));
}

void EnableAll(std::initializer_list<ui::Control*> controls, bool enabled) {
    for (ui::Control* control : controls)
        if (control) control->SetEnabled(enabled);
}

}  // namespace

void AorPanel::ShowBankList() {
    if (rows_.size() != model_.layout->bankSize) {
        rows_.resize(model_.layout->bankSize);
        for (int channel = 0; channel < BankSize(); ++channel)
            rows_[static_cast<std::size_t>(channel)] = channel;
    }
    if (Controls.bank) Controls.bank->SetSelectedIndex(CurrentBank);
    if (!Controls.list) return;
    Controls.list->Clear();
    for (int row = 0; row < BankSize(); ++row) {
        Controls.list->AddRow({});
        ShowChannelRow(row);
    }
    ShowChannelBoxes();
}

void AorPanel::ShowChannelRow(int row) {
    if (!Controls.list || row < 0 || row >= BankSize()) return;
    const MemoryChannel& record = ChannelAt(CurrentBank, rows_[static_cast<std::size_t>(row)]);
    const FDX& s = *fdx_;
    for (std::size_t column = 0; column < model_.columns.size(); ++column) {
        std::string cell;
        const AorColumn shows = model_.columns[column].shows;
        if (shows == AorColumn::Number) {
            cell = Format("%02d", record.Number);
        } else if (record.Empty()) {
            if (shows == AorColumn::Frequency) cell = kOff;
        } else {
            switch (shows) {
                case AorColumn::Frequency:
                    cell = Format("%9.4f", record.Frequency / 10000.0);
                    break;
                case AorColumn::Step:
                    cell = Format("%5.1f", record.Step / 10.0);
                    break;
                case AorColumn::Mode: {
                    const char* mode = ModeText(model_.modes, record.Modulation, record.Filter);
                    cell = mode ? mode : std::string(1, record.Modulation);
                    break;
                }
                case AorColumn::Level: {
                    const uint32_t level = static_cast<uint32_t>(std::clamp(record.Level, 0, 255));
                    cell =
                        s.OptDb ? Format("%3.1f", s.LevelToDb(level) / 10.0) : Format("%u", level);
                    break;
                }
                case AorColumn::Attenuator:
                    cell = Flag(record.Attenuator);
                    break;
                case AorColumn::Label:
                    cell = record.Label;
                    break;
                case AorColumn::Select:
                    cell = Flag(record.Select);
                    break;
                case AorColumn::Skip:
                    cell = Flag(record.Skip);
                    break;
                case AorColumn::Number:
                    break;
            }
        }
        Controls.list->SetCell(row, static_cast<int>(column), cell);
    }
}

void AorPanel::ShowChannelBoxes() {
    const AorControls& c = Controls;
    if (!c.channelFrequency) return;
    const int channel = SelectedChannel();
    const MemoryChannel& record = ChannelAt(CurrentBank, channel);
    const auto row = std::find(rows_.begin(), rows_.end(), channel);
    if (row != rows_.end() && c.list) c.list->SelectRow(static_cast<int>(row - rows_.begin()));
    if (c.number) c.number->SetText(Format("%02d", channel));
    c.channelFrequency->SetText(record.Empty() ? kOff
                                               : Format("%9.4f", record.Frequency / 10000.0));
    c.channelLabel->SetText(record.Label);
    c.channelStep->SetText(Format("%5.1f", record.Step / 10.0));
    ChooseMode(c.channelMode, ModeText(model_.modes, record.Modulation, record.Filter));
    ShowAttenuatorIn(c.channelAttenuator, record.Attenuator, record.AttenuatorDb);
    c.select->SetChecked(record.Select);
    c.skip->SetChecked(record.Skip);
    EnableAll({c.channelLabel, c.channelStep, c.channelAttenuator, c.channelMode, c.select, c.skip},
              !record.Empty() && !PanelBusy);
}

void AorPanel::ShowSearchBank() {
    const AorControls& c = Controls;
    if (c.searchBank) c.searchBank->SetSelectedIndex(CurrentSearchBank);
    if (!c.searchLower) return;
    const AorSearchBank& record = CurrentSearch();
    const bool empty = record.Empty();
    c.searchLower->SetText(empty ? kOff : Format("%9.4f", record.Lower / 10000.0));
    c.searchUpper->SetText(empty ? kOff : Format("%9.4f", record.Upper / 10000.0));
    c.searchStep->SetText(Format("%5.1f", record.Step / 10.0));
    c.searchLabel->SetText(record.Label);
    ChooseMode(c.searchMode, ModeText(model_.modes, record.Mode, record.Filter));
    ShowAttenuatorIn(c.searchAttenuator, record.Attenuator, record.AttenuatorDb);
    EnableAll({c.searchLabel, c.searchStep, c.searchUpper, c.searchMode, c.searchAttenuator},
              !empty && !PanelBusy);
}

// Sorted by a column: frequency, step, mode, level, attenuator, label or number; the select
// and skip columns leave the order.
void AorPanel::SortList(int column) {
    if (column < 0 || column >= static_cast<int>(model_.columns.size())) return;
    const AorColumn shows = model_.columns[static_cast<std::size_t>(column)].shows;
    if (shows == AorColumn::Select || shows == AorColumn::Skip) return;
    SortChannelRows(rows_, static_cast<ChannelColumn>(shows), [this](int32_t channel) {
        return SortFieldsOf(ChannelAt(CurrentBank, channel));
    });
    for (int row = 0; row < BankSize(); ++row) ShowChannelRow(row);
    ShowChannelBoxes();
}

void AorPanel::ChooseBank(int bank) {
    if (bank < 0 || bank >= model_.banks) return;
    CurrentBank = bank;
    rows_.clear();  // another bank shows in channel order
    if (DirectWrite) SendSetting(Format("MR%s%02d", BankName(bank).c_str(), SelectedChannel()));
    ShowBankList();
    PostToOwner(PostRefreshPanelDialogs);
}

void AorPanel::ChooseSearchBank(int bank) {
    if (bank < 0 || bank >= model_.searchBanks) return;
    CurrentSearchBank = bank;
    if (DirectWrite) ReadSearchBank(bank);
    ShowSearchBank();
    PostToOwner(PostRefreshPanelDialogs);
}

// An edit of the selected channel. With direct writing the channel is read from the receiver
// first, takes what the receiver holds but the edit, and goes back into the receiver; when
// the receiver does not answer, only the panel's copy takes the edit.
void AorPanel::EditChannel(const std::function<void(MemoryChannel&)>& edit) {
    const int channel = SelectedChannel();
    MemoryChannel& record = ChannelAt(CurrentBank, channel);
    if (DirectWrite) {
        MemoryChannel held = record;
        const ChannelAnswer answer = ReadChannelInto(CurrentBank, channel, held, true);
        if (answer != ChannelAnswer::None) {
            if (answer == ChannelAnswer::Found) record = held;
            edit(record);
            if (!record.Empty()) SendChannel(CurrentBank, channel);
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

void AorPanel::EditSearchBank(const std::function<void(AorSearchBank&)>& edit, bool sendAnyway) {
    AorSearchBank& record = CurrentSearch();
    if (!DirectWrite) {
        edit(record);
        return;
    }
    AorSearchBank held = record;
    const ChannelAnswer answer = ReadSearchBankInto(CurrentSearchBank, held);
    if (answer == ChannelAnswer::Found) {
        record = held;
        if (reply_.Bandwidth > 0) {
            Bandwidth = reply_.Bandwidth;
            ShowBandwidth();
        }
    }
    edit(record);
    if ((answer != ChannelAnswer::None || sendAnyway) && !record.Empty())
        SendSearchBank(CurrentSearchBank);
}

void AorPanel::OnChannelFrequency(const std::string& text) {
    const FDX& s = *fdx_;
    const uint32_t value = FDX::ParseMHz(text);
    if (value != 0 && (value < LowerLimit || value > UpperLimit)) return;
    if (value == 0) {
        ChannelAt(CurrentBank, SelectedChannel()).Frequency = 0;
        if (DirectWrite &&
            model_.memory.emptyChannels == AorMemoryRules::EmptyChannels::ClearedOnReceiver)
            ClearChannelOnReceiver(CurrentBank, SelectedChannel());
        ShowBankList();
        return;
    }
    const uint32_t depth = aor::AttenuatorOption(s.Attenuator != 0, s.AttenuatorDb);
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

void AorPanel::OnSearchLower(const std::string& text) {
    const FDX& s = *fdx_;
    const uint32_t value = FDX::ParseMHz(text);
    if (value != 0 && (value < LowerLimit || value > UpperLimit)) return;
    if (value == 0) {
        CurrentSearch() = {};
        if (DirectWrite) ClearSearchBankOnReceiver(CurrentSearchBank);
        ShowSearchBank();
        return;
    }
    EditSearchBank(
        [&](AorSearchBank& r) {
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

// A mode list entry is taken only when it changes the letter or, where the letter has
// filters, the filter; the panel shows its bandwidth.
void AorPanel::TakeModeEntry(int64_t index, bool searchBank) {
    if (index < 0 || index >= static_cast<int64_t>(model_.modes.size())) return;
    const AorModeEntry& entry = model_.modes[static_cast<std::size_t>(index)];
    const char letter =
        searchBank ? CurrentSearch().Mode : ChannelAt(CurrentBank, SelectedChannel()).Modulation;
    const int32_t filter =
        searchBank ? CurrentSearch().Filter : ChannelAt(CurrentBank, SelectedChannel()).Filter;
    const bool letterOnly = entry.letter == 'L' || entry.letter == 'U' || entry.letter == 'C';
    if (letter == entry.letter && (letterOnly || filter == entry.filter)) return;
    if (entry.bandwidth > 0) {
        Bandwidth = entry.bandwidth;
        ShowBandwidth();
    }
    if (searchBank) {
        EditSearchBank(
            [&](AorSearchBank& r) {
                r.Mode = entry.letter;
                r.Filter = entry.filter;
            },
            false);
    } else {
        EditChannel([&](MemoryChannel& r) {
            r.Modulation = entry.letter;
            r.Filter = entry.filter;
        });
    }
}

// An attenuator list entry (off, 10, 20, automatic) taken when it differs.
void AorPanel::TakeAttenuatorChoice(int64_t index, bool searchBank) {
    if (index < 0 || index >= static_cast<int64_t>(std::size(kAttenuatorChoices))) return;
    const uint32_t choice = kAttenuatorChoices[index];
    const auto set = [choice](auto& r) {
        r.Attenuator = choice != 0;
        r.AttenuatorDb = choice;
    };
    if (searchBank) {
        const AorSearchBank& record = CurrentSearch();
        if (aor::AttenuatorOption(record.Attenuator, record.AttenuatorDb) == choice) return;
        EditSearchBank([&](AorSearchBank& r) { set(r); }, false);
        return;
    }
    const MemoryChannel& record = ChannelAt(CurrentBank, SelectedChannel());
    if (record.Empty() || aor::AttenuatorOption(record.Attenuator, record.AttenuatorDb) == choice)
        return;
    EditChannel([&](MemoryChannel& r) { set(r); });
}

void AorPanel::WireBankControls() {
    using ui::EventId;
    const AorControls& c = Controls;
    if (!c.list) return;
    WhenRaised(c.list, EventId::Select, [this](ui::EventData& e) {
        if (PanelBusy || e.value < 0 || e.value >= BankSize()) return;
        BankPositions[static_cast<std::size_t>(CurrentBank)] =
            rows_[static_cast<std::size_t>(e.value)];
        ShowChannelBoxes();
        OnChannelChosen();
    });
    WhenRaised(c.list, EventId::ColumnClick,
               [this](ui::EventData& e) { SortList(static_cast<int>(e.value)); });
    WhenRaised(c.channelLabel, EventId::Change, [this](ui::EventData& e) {
        const std::string label = model_.layout->CutLabel(e.text);
        EditChannel([&](MemoryChannel& r) { r.Label = label; });
    });
    WhenRaised(c.channelStep, EventId::Change, [this](ui::EventData& e) {
        const uint32_t value = std::clamp(FDX::ParseKHz(e.text), fdx_->StepLow,
                                          std::max(fdx_->StepLow, fdx_->StepHigh));
        EditChannel([&](MemoryChannel& r) { r.Step = value; });
    });
    WhenRaised(c.channelFrequency, EventId::Change,
               [this](ui::EventData& e) { OnChannelFrequency(e.text); });
    WhenRaised(c.channelMode, EventId::Select,
               [this](ui::EventData& e) { TakeModeEntry(e.value, false); });
    const auto flagBox = [this](ui::CheckBox* box, bool MemoryChannel::*flag) {
        WhenRaised(box, EventId::Click, [this, box, flag](ui::EventData&) {
            const MemoryChannel& record = ChannelAt(CurrentBank, SelectedChannel());
            if (record.Empty() || record.*flag == box->IsChecked()) return;
            const bool set = box->IsChecked();
            EditChannel([&](MemoryChannel& r) { r.*flag = set; });
        });
    };
    flagBox(c.select, &MemoryChannel::Select);
    flagBox(c.skip, &MemoryChannel::Skip);
    if (c.channelAttenuator)
        WhenRaised(c.channelAttenuator, EventId::Select,
                   [this](ui::EventData& e) { TakeAttenuatorChoice(e.value, false); });
    WhenRaised(c.store, EventId::Click, [this](ui::EventData&) { StoreCurrentSettings(); });
    WhenRaised(c.read, EventId::Click, [this](ui::EventData&) {
        if (WholeMemory)
            ReadAllBanks();
        else
            ReadCurrentBank();
    });
    WhenRaised(c.write, EventId::Click, [this](ui::EventData&) {
        if (WholeMemory)
            WriteAllBanks();
        else
            WriteCurrentBank();
    });
    WhenRaised(c.direct, EventId::Click, [this](ui::EventData&) {
        DirectWrite = Controls.direct->IsChecked();
        if (!DirectWrite) return;
        ReadChannel(CurrentBank, SelectedChannel());
        ReadSearchBank(CurrentSearchBank);
        ShowBankList();
        ShowSearchBank();
    });
    WhenRaised(c.whole, EventId::Click,
               [this](ui::EventData&) { WholeMemory = Controls.whole->IsChecked(); });
    WhenRaised(c.bank, EventId::Select,
               [this](ui::EventData& e) { ChooseBank(static_cast<int>(e.value)); });
    WhenRaised(c.searchBank, EventId::Select,
               [this](ui::EventData& e) { ChooseSearchBank(static_cast<int>(e.value)); });
    WhenRaised(c.searchLabel, EventId::Change, [this](ui::EventData& e) {
        const std::string label = model_.layout->CutLabel(e.text);
        EditSearchBank([&](AorSearchBank& r) { r.Label = label; }, false);
    });
    WhenRaised(c.searchStep, EventId::Change, [this](ui::EventData& e) {
        const uint32_t value = std::clamp(FDX::ParseKHz(e.text), fdx_->StepLow,
                                          std::max(fdx_->StepLow, fdx_->StepHigh));
        if (CurrentSearch().Step == value) return;
        EditSearchBank([&](AorSearchBank& r) { r.Step = value; }, false);
    });
    WhenRaised(c.searchLower, EventId::Change, [this](ui::EventData& e) { OnSearchLower(e.text); });
    WhenRaised(c.searchUpper, EventId::Change, [this](ui::EventData& e) {
        const uint32_t value = FDX::ParseMHz(e.text);
        if (value < LowerLimit || value > UpperLimit) return;
        EditSearchBank([&](AorSearchBank& r) { r.Upper = value; }, true);
    });
    WhenRaised(c.searchMode, EventId::Select,
               [this](ui::EventData& e) { TakeModeEntry(e.value, true); });
    if (c.searchAttenuator)
        WhenRaised(c.searchAttenuator, EventId::Select,
                   [this](ui::EventData& e) { TakeAttenuatorChoice(e.value, true); });
}
