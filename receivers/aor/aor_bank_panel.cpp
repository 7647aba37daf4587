// The AOR panels' channel list of the current bank and the edit row of its selected channel.

#include "receivers/aor/aor_bank_panel.h"

#include <algorithm>
#include <initializer_list>
#include <utility>

#include "receivers/aor/aor_link.h"
#include "state/fdx.h"
#include "state/format_text.h"

namespace {

constexpr const char* kOff = "выкл";
// The entries of the attenuator lists: off, 10 dB, 20 dB, automatic.
constexpr uint32_t kAttenuatorChoices[] = {0, 10, 20, 255};

std::string Flag(bool set) {
    return set ? "+" : "-";
}

void ChooseMode(ui::ComboBox* list, const char* text) {
    for (int i = 0; list && text && i < list->Count(); ++i)
        if (list->StringAt(i) == text) list->SetSelectedIndex(i);
}

}  // namespace

int aor::AttenuatorChoiceIndex(bool on, uint32_t db) {
    const uint32_t choice = aor::AttenuatorOption(on, db);
    return static_cast<int>(
        std::find(std::begin(kAttenuatorChoices), std::end(kAttenuatorChoices), choice) -
        std::begin(kAttenuatorChoices));
}

std::optional<uint32_t> aor::AttenuatorChoice(int64_t index) {
    if (index < 0 || index >= static_cast<int64_t>(std::size(kAttenuatorChoices))) return {};
    return kAttenuatorChoices[index];
}

void aor::EnableAll(std::initializer_list<ui::Control*> controls, bool enabled) {
    for (ui::Control* control : controls)
        if (control) control->SetEnabled(enabled);
}

// How a mode shows: its entry of the mode list ("nF", "wA"), the normal one for a filter the
// letter lacks.
const char* AorBankPanel::ModeText(char letter, int32_t filter) const {
    const char* normal = nullptr;
    for (const AorModeEntry& entry : list_.modes) {
        if (entry.letter != letter) continue;
        if (entry.filter == filter) return entry.text;
        if (entry.filter == 0) normal = entry.text;
    }
    return normal;
}

// An entry is taken only when it changes the letter or, where the letter has filters, the
// filter.
const AorModeEntry* AorBankPanel::ChangingModeEntry(int64_t index, char letter,
                                                    int32_t filter) const {
    if (index < 0 || index >= static_cast<int64_t>(list_.modes.size())) return nullptr;
    const AorModeEntry& entry = list_.modes[static_cast<std::size_t>(index)];
    const bool letterOnly = entry.letter == 'L' || entry.letter == 'U' || entry.letter == 'C';
    if (letter == entry.letter && (letterOnly || filter == entry.filter)) return nullptr;
    return &entry;
}

void AorBankPanel::MakeListColumns() {
    if (!lv_1) return;
    const FDX& s = *fdx_;
    std::vector<std::pair<std::string, int>> columns;
    for (const AorListColumn& column : list_.columns) {
        const bool grows = list_.columnsGrow && s.OptMaxMon;
        columns.emplace_back(
            column.title, grows ? static_cast<int>(static_cast<float>(column.width) * s.LayoutScale)
                                : column.width);
    }
    lv_1->SetColumns(columns);
}

void AorBankPanel::ShowBankList() {
    if (rows_.size() != list_.layout->bankSize) {
        rows_.resize(list_.layout->bankSize);
        for (int channel = 0; channel < BankSize(); ++channel)
            rows_[static_cast<std::size_t>(channel)] = channel;
    }
    ShowBankChoice();
    if (!lv_1) return;
    lv_1->Clear();
    for (int row = 0; row < BankSize(); ++row) {
        lv_1->AddRow({});
        ShowChannelRow(row);
    }
    ShowChannelBoxes();
}

void AorBankPanel::ShowChannelRow(int row) {
    if (!lv_1 || row < 0 || row >= BankSize() || row >= lv_1->RowCount()) return;
    const MemoryChannel& record = ChannelAt(CurrentBank, rows_[static_cast<std::size_t>(row)]);
    const FDX& s = *fdx_;
    for (std::size_t column = 0; column < list_.columns.size(); ++column) {
        std::string cell;
        const AorColumn shows = list_.columns[column].shows;
        if (shows == AorColumn::Number) {
            cell = FormatText("%02d", record.Number);
        } else if (record.Empty()) {
            if (shows == AorColumn::Frequency) cell = kOff;
        } else {
            switch (shows) {
                case AorColumn::Frequency:
                    cell = FormatText("%9.4f", record.Frequency / 10000.0);
                    break;
                case AorColumn::Step:
                    cell = FormatText("%5.1f", record.Step / 10.0);
                    break;
                case AorColumn::Mode: {
                    const char* mode =
                        list_.modeLetters ? nullptr : ModeText(record.Modulation, record.Filter);
                    cell = mode ? mode : std::string(1, record.Modulation);
                    break;
                }
                case AorColumn::Level: {
                    const uint32_t level = static_cast<uint32_t>(std::clamp(record.Level, 0, 255));
                    cell = s.OptDb ? FormatText("%3.1f", s.LevelToDb(level) / 10.0)
                                   : FormatText("%u", level);
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
        lv_1->SetCell(row, static_cast<int>(column), cell);
    }
}

void AorBankPanel::ShowSelectedRow() {
    const auto row = std::find(rows_.begin(), rows_.end(), SelectedChannel());
    if (row != rows_.end()) ShowChannelRow(static_cast<int>(row - rows_.begin()));
}

// The boxes show the selected channel; they edit it only when it holds a frequency.
void AorBankPanel::ShowChannelBoxes() {
    if (!textb_1) return;
    const int channel = SelectedChannel();
    const MemoryChannel& record = ChannelAt(CurrentBank, channel);
    const auto row = std::find(rows_.begin(), rows_.end(), channel);
    if (row != rows_.end() && lv_1) lv_1->SelectRow(static_cast<int>(row - rows_.begin()));
    if (Nk) Nk->SetText(FormatText("%02d", channel));
    textb_1->SetText(record.Empty() ? kOff : FormatText("%9.4f", record.Frequency / 10000.0));
    if (comment) comment->SetText(record.Label);
    if (sstep) sstep->SetText(FormatText("%5.1f", record.Step / 10.0));
    ChooseMode(smod, ModeText(record.Modulation, record.Filter));
    if (combo_att)
        combo_att->SetSelectedIndex(
            aor::AttenuatorChoiceIndex(record.Attenuator, record.AttenuatorDb));
    if (satt) satt->SetChecked(record.Attenuator);
    if (sel) sel->SetChecked(record.Select);
    if (skip) skip->SetChecked(record.Skip);
    aor::EnableAll({comment, sstep, combo_att, satt, smod, sel, skip},
                   !record.Empty() && !PanelBusy);
}

// Sorted by a column: frequency, step, mode, level, attenuator, label or number; the select
// and skip columns leave the order.
void AorBankPanel::SortList(int column) {
    if (column < 0 || column >= static_cast<int>(list_.columns.size())) return;
    const AorColumn shows = list_.columns[static_cast<std::size_t>(column)].shows;
    if (shows == AorColumn::Select || shows == AorColumn::Skip) return;
    SortChannelRows(rows_, static_cast<ChannelColumn>(shows), [this](int32_t channel) {
        return SortFieldsOf(ChannelAt(CurrentBank, channel));
    });
    for (int row = 0; row < BankSize(); ++row) ShowChannelRow(row);
    ShowChannelBoxes();
}

// Nothing is edited while a scan or a transfer holds the panel.
void AorBankPanel::EditChannel(const std::function<void(MemoryChannel&)>& edit) {
    if (PanelBusy) return;
    if (DirectWrite && EditOnReceiver(edit)) return;
    edit(ChannelAt(CurrentBank, SelectedChannel()));
    ShowSelectedRow();
}

namespace {

constexpr const char* kNotWritten = "Не записано в приемник каналов";
constexpr const char* kNotRead = "Не прочитано из приемника каналов";

std::string ChannelPlace(const std::string& bank, int channel) {
    return FormatText("банк %s, канал %d", bank.c_str(), channel);
}

std::string SearchBankPlace(const std::string& searchBank) {
    return "банк поиска " + searchBank;
}

}  // namespace

void AorBankPanel::Unread::Channel(int bank, int number) {
    if (count++ == 0) channel = std::pair{bank, number};
}

void AorBankPanel::Unread::SearchBank(int bank) {
    if (count++ == 0) searchBank = bank;
}

void AorBankPanel::TellPlaces(const char* what, uint32_t count, const std::string& first) {
    fdx_->ShowErrorText(FormatText("%s: %u (первый: %s)", what, count, first.c_str()));
}

void AorBankPanel::TellNotWritten(uint32_t count, const std::string& bank, int channel) {
    TellPlaces(kNotWritten, count, ChannelPlace(bank, channel));
}

void AorBankPanel::TellSearchBankNotWritten(uint32_t count, const std::string& searchBank) {
    TellPlaces(kNotWritten, count, SearchBankPlace(searchBank));
}

void AorBankPanel::TellNotRead(uint32_t count, const std::string& bank, int channel) {
    TellPlaces(kNotRead, count, ChannelPlace(bank, channel));
}

void AorBankPanel::TellSearchBankNotRead(uint32_t count, const std::string& searchBank) {
    TellPlaces(kNotRead, count, SearchBankPlace(searchBank));
}

bool AorBankPanel::KeepWritten(bool written, MemoryChannel& record, const MemoryChannel& before,
                               const std::string& bank, int channel) {
    if (written) return true;
    record = before;
    TellNotWritten(1, bank, channel);
    return false;
}

void AorBankPanel::StoreIntoSelectedChannel(const std::function<bool(int channel)>& write,
                                            const std::string& bank) {
    const int channel = SelectedChannel();
    MemoryChannel& record = ChannelAt(CurrentBank, channel);
    const MemoryChannel before = record;
    if (StoreSettingsInto(record) && DirectWrite)
        KeepWritten(write(channel), record, before, bank, channel);
}

// A frequency typed into an empty channel gives it the program state's settings, as far as
// the model's memory holds them; 0 or "выкл" empties it; one beyond the receiver's limits is
// not taken.
void AorBankPanel::OnChannelFrequency(const std::string& text) {
    const FDX& s = *fdx_;
    const uint32_t value = FDX::ParseMHz(text);
    if (value != 0 && (value < LowerLimit || value > UpperLimit)) return;
    if (value == 0) {
        if (PanelBusy) return;
        MemoryChannel& record = ChannelAt(CurrentBank, SelectedChannel());
        const MemoryChannel before = record;
        record.Frequency = 0;
        if (DirectWrite) ChannelEmptied(record, before);
        ShowBankList();
        return;
    }
    const ChannelLayout& layout = *list_.layout;
    const uint32_t depth = aor::AttenuatorOption(s.Attenuator != 0, s.AttenuatorDb);
    EditChannel([&](MemoryChannel& r) {
        if (r.Empty()) {
            r.Modulation = layout.KnownModulation(s.Modulation);
            r.Filter = layout.holds.filter ? s.Filter : 0;
            r.Attenuator = depth != 0;
            r.AttenuatorDb = depth == 0 ? 0 : layout.holds.depth ? depth : layout.Depth(0);
            r.Step = layout.HeldStep(s.Step);
            r.Select = r.Skip = false;
            r.Level = 0;
        }
        r.Frequency = value;
    });
    ShowChannelBoxes();
}

void AorBankPanel::TakeModeEntry(int64_t index) {
    const MemoryChannel& record = ChannelAt(CurrentBank, SelectedChannel());
    const AorModeEntry* entry = ChangingModeEntry(index, record.Modulation, record.Filter);
    if (!entry) return;
    if (entry->bandwidth > 0) ShowEntryBandwidth(entry->bandwidth);
    EditChannel([entry](MemoryChannel& r) {
        r.Modulation = entry->letter;
        r.Filter = entry->filter;
    });
}

// An attenuator list entry (off, 10, 20, automatic) taken when it differs.
void AorBankPanel::TakeAttenuatorChoice(int64_t index) {
    const std::optional<uint32_t> choice = aor::AttenuatorChoice(index);
    const MemoryChannel& record = ChannelAt(CurrentBank, SelectedChannel());
    if (!choice || record.Empty() ||
        aor::AttenuatorOption(record.Attenuator, record.AttenuatorDb) == *choice)
        return;
    EditChannel([choice](MemoryChannel& r) {
        r.Attenuator = *choice != 0;
        r.AttenuatorDb = *choice;
    });
}

void AorBankPanel::WireFlagBox(ui::CheckBox* box, bool MemoryChannel::*flag) {
    if (!box) return;
    box->On(ui::EventId::Click, [this, box, flag](ui::EventData&) {
        const MemoryChannel& record = ChannelAt(CurrentBank, SelectedChannel());
        if (record.Empty() || record.*flag == box->IsChecked()) return;
        const bool set = box->IsChecked();
        const uint32_t depth = set ? list_.layout->Depth(0) : 0;
        EditChannel([&](MemoryChannel& r) {
            r.*flag = set;
            if (flag == &MemoryChannel::Attenuator) r.AttenuatorDb = depth;
        });
    });
}

void AorBankPanel::WireChannelList() {
    using ui::EventId;
    if (!lv_1) return;
    RunMacroOnRightButton(*lv_1);
    lv_1->On(EventId::Select, [this](ui::EventData& e) {
        if (PanelBusy || e.value < 0 || e.value >= static_cast<int64_t>(rows_.size())) return;
        ChooseChannel(rows_[static_cast<std::size_t>(e.value)]);
    });
    if (list_.sortsByColumn)
        lv_1->On(EventId::ColumnClick,
                 [this](ui::EventData& e) { SortList(static_cast<int>(e.value)); });
    if (comment) {
        comment->On(EventId::Change, [this](ui::EventData& e) {
            const std::string label = list_.layout->CutLabel(e.text);
            EditChannel([&](MemoryChannel& r) { r.Label = label; });
        });
    }
    if (sstep) {
        sstep->On(EventId::Change, [this](ui::EventData& e) {
            const uint32_t value = list_.layout->HeldStep(std::clamp(
                FDX::ParseKHz(e.text), fdx_->StepLow, std::max(fdx_->StepLow, fdx_->StepHigh)));
            EditChannel([&](MemoryChannel& r) { r.Step = value; });
        });
    }
    if (textb_1)
        textb_1->On(EventId::Change, [this](ui::EventData& e) { OnChannelFrequency(e.text); });
    if (smod) smod->On(EventId::Select, [this](ui::EventData& e) { TakeModeEntry(e.value); });
    if (combo_att)
        combo_att->On(EventId::Select, [this](ui::EventData& e) { TakeAttenuatorChoice(e.value); });
    WireFlagBox(satt, &MemoryChannel::Attenuator);
    WireFlagBox(sel, &MemoryChannel::Select);
    WireFlagBox(skip, &MemoryChannel::Skip);
}
