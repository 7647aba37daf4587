// The AOR line panels' choice of the bank and the search bank, the boxes of the current search
// bank, and the edits that go through the receiver: with direct writing an edit of a channel
// or a search bank is read from the receiver first and goes back into it at once.

#include <algorithm>

#include "receivers/aor/aor_panel.h"
#include "state/message_bus.h"

namespace {

using aor::Format;

constexpr const char* kOff = "выкл";

}  // namespace

void AorPanel::ShowBankChoice() {
    if (bn) bn->SetSelectedIndex(CurrentBank);
}

void AorPanel::ShowSearchBank() {
    if (sbn) sbn->SetSelectedIndex(CurrentSearchBank);
    if (sbank) sbank->SetText(BankName(CurrentSearchBank));
    if (!textb_Fn) return;
    const AorSearchBank& record = CurrentSearch();
    const bool empty = record.Empty();
    textb_Fn->SetText(empty ? kOff : Format("%9.4f", record.Lower / 10000.0));
    if (textb_Fk) textb_Fk->SetText(empty ? kOff : Format("%9.4f", record.Upper / 10000.0));
    if (textb_step) textb_step->SetText(Format("%5.1f", record.Step / 10.0));
    if (textb_com) textb_com->SetText(record.Label);
    const char* mode = ModeText(record.Mode, record.Filter);
    for (int i = 0; combo_mod && mode && i < combo_mod->Count(); ++i)
        if (combo_mod->StringAt(i) == mode) combo_mod->SetSelectedIndex(i);
    if (scombo_att)
        scombo_att->SetSelectedIndex(
            aor::AttenuatorChoiceIndex(record.Attenuator, record.AttenuatorDb));
    if (checkbox_att) checkbox_att->SetChecked(record.Attenuator);
    aor::EnableAll({textb_com, textb_step, textb_Fk, combo_mod, scombo_att, checkbox_att},
                   !empty && !PanelBusy);
}

void AorPanel::ChooseChannel(int channel) {
    BankPositions[static_cast<std::size_t>(CurrentBank)] = channel;
    ShowChannelBoxes();
    if (model_.tunesChosenChannel) TuneToChannel();
}

void AorPanel::ChooseBank(int bank) {
    if (bank < 0 || bank >= model_.banks) return;
    CurrentBank = bank;
    rows_.clear();  // another bank shows in channel order
    BankChosen(bank);
    ShowBankList();
    PostToOwner(PostRefreshPanelDialogs);
}

void AorPanel::BankChosen(int bank) {
    if (DirectWrite) SendText(Format("MR%s%02d", BankName(bank).c_str(), SelectedChannel()));
}

void AorPanel::ChooseSearchBank(int bank) {
    if (bank < 0 || bank >= model_.searchBanks) return;
    CurrentSearchBank = bank;
    if (DirectWrite) ReadSearchBank(bank);
    ShowSearchBank();
    PostToOwner(PostRefreshPanelDialogs);
}

void AorPanel::ShowEntryBandwidth(int32_t bandwidth) {
    Bandwidth = bandwidth;
    ShowBandwidth();
}

// The channel is read from the receiver first, takes what the receiver holds but the edit,
// and goes back into the receiver; when the receiver does not answer, only the panel's copy
// takes the edit.
bool AorPanel::EditOnReceiver(const std::function<void(MemoryChannel&)>& edit) {
    const int channel = SelectedChannel();
    MemoryChannel& record = ChannelAt(CurrentBank, channel);
    MemoryChannel held = record;
    const ChannelAnswer answer = ReadChannelInto(CurrentBank, channel, held, true);
    if (answer == ChannelAnswer::None) return false;
    if (answer == ChannelAnswer::Found) record = held;
    const MemoryChannel before = record;
    edit(record);
    if (!record.Empty())
        KeepWritten(SendChannel(CurrentBank, channel), record, before, BankName(CurrentBank),
                    channel);
    ShowBankList();
    ShowBandwidth();
    FollowTuning();
    PostToOwner(PostReceiverState);
    return true;
}

// A clear the receiver does not take leaves its channel there, so the row keeps showing it.
void AorPanel::ChannelEmptied(MemoryChannel& record, const MemoryChannel& before) {
    if (model_.memory.emptyChannels != AorMemoryRules::EmptyChannels::ClearedOnReceiver) return;
    const int channel = SelectedChannel();
    KeepWritten(ClearChannelOnReceiver(CurrentBank, channel), record, before,
                BankName(CurrentBank), channel);
}

// With direct writing the search bank is read from the receiver first and takes what the
// receiver holds but the edit; written, it becomes the receiver's current one. A write the
// receiver refuses (or leaves unanswered) leaves the search bank as the receiver holds it (as
// the panel had it when the receiver did not answer the read), and is told as a bank write
// tells it: the row never shows a value the receiver does not hold.
void AorPanel::EditSearchBank(const std::function<void(AorSearchBank&)>& edit, bool sendAnyway) {
    AorSearchBank& record = CurrentSearch();
    if (!DirectWrite) {
        edit(record);
        ShowSearchBank();
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
    const AorSearchBank before = answer == ChannelAnswer::Empty ? AorSearchBank{} : record;
    edit(record);
    if ((answer != ChannelAnswer::None || sendAnyway) && !record.Empty()) {
        if (!SendSearchBank(CurrentSearchBank)) {
            record = before;
            TellSearchBankNotWritten(1, SearchBankName(CurrentSearchBank));
        } else if (!SelectWrittenSearchBank(CurrentSearchBank)) {
            fdx_->ShowError(kReceiverSilent);
        }
    }
    ShowSearchBank();
}

// A first lower limit fills the bank from the program's settings.
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
    const uint32_t firstUpper =
        model_.firstUpperStepAbove ? std::min(value + s.Step, UpperLimit) : value;
    EditSearchBank(
        [&](AorSearchBank& r) {
            if (r.Empty()) {
                r.Mode = s.Modulation;
                r.Filter = s.Filter;
                r.Attenuator = s.Attenuator != 0;
                r.AttenuatorDb = s.AttenuatorDb;
                r.Step = s.Step;
                r.Upper = firstUpper;
            }
            r.Lower = value;
            // An upper limit the receiver has not set yet follows the lower one.
            if (r.Upper == 0) r.Upper = firstUpper;
        },
        true);
}

void AorPanel::TakeSearchModeEntry(int64_t index) {
    const AorSearchBank& record = CurrentSearch();
    const AorModeEntry* entry = ChangingModeEntry(index, record.Mode, record.Filter);
    if (!entry) return;
    if (entry->bandwidth > 0) ShowEntryBandwidth(entry->bandwidth);
    EditSearchBank(
        [entry](AorSearchBank& r) {
            r.Mode = entry->letter;
            r.Filter = entry->filter;
        },
        false);
}

// An attenuator list entry (off, 10, 20, automatic) taken when it differs.
void AorPanel::TakeSearchAttenuator(int64_t index) {
    const std::optional<uint32_t> choice = aor::AttenuatorChoice(index);
    const AorSearchBank& record = CurrentSearch();
    if (!choice || aor::AttenuatorOption(record.Attenuator, record.AttenuatorDb) == *choice) return;
    EditSearchBank(
        [choice](AorSearchBank& r) {
            r.Attenuator = *choice != 0;
            r.AttenuatorDb = *choice;
        },
        false);
}

// The box turns the model's one attenuator depth on or off.
void AorPanel::TakeSearchAttenuatorBox() {
    const bool on = checkbox_att->IsChecked();
    if (CurrentSearch().Attenuator == on) return;
    const uint32_t depth = on ? model_.list.layout->Depth(0) : 0;
    EditSearchBank(
        [on, depth](AorSearchBank& r) {
            r.Attenuator = on;
            r.AttenuatorDb = depth;
        },
        false);
}

void AorPanel::WireBankControls() {
    using ui::EventId;
    WireChannelList();
    if (cb_3) cb_3->On(EventId::Click, [this](ui::EventData&) { StoreCurrentSettings(); });
    // The whole memory with its box, else the current bank.
    if (cb_2) {
        cb_2->On(EventId::Click,
                 [this](ui::EventData&) { WholeMemory ? ReadAllBanks() : ReadCurrentBank(); });
    }
    if (cb_1) {
        cb_1->On(EventId::Click,
                 [this](ui::EventData&) { WholeMemory ? WriteAllBanks() : WriteCurrentBank(); });
    }
    if (cbank) {
        cbank->On(EventId::Click, [this](ui::EventData&) {
            DirectWrite = cbank->IsChecked();
            if (!DirectWrite) return;
            ReadChannel(CurrentBank, SelectedChannel());
            ReadSearchBank(CurrentSearchBank);
            ShowBankList();
            ShowSearchBank();
        });
    }
    if (mem) mem->On(EventId::Click, [this](ui::EventData&) { WholeMemory = mem->IsChecked(); });
    if (bn)
        bn->On(EventId::Select,
               [this](ui::EventData& e) { ChooseBank(static_cast<int>(e.value)); });
    if (sbn) {
        sbn->On(EventId::Select,
                [this](ui::EventData& e) { ChooseSearchBank(static_cast<int>(e.value)); });
    }
    WireSearchBankRow();
}

void AorPanel::WireSearchBankRow() {
    using ui::EventId;
    if (!textb_Fn) return;
    if (textb_com) {
        textb_com->On(EventId::Change, [this](ui::EventData& e) {
            const std::string label = model_.list.layout->CutLabel(e.text);
            EditSearchBank([&](AorSearchBank& r) { r.Label = label; }, false);
        });
    }
    if (textb_step) {
        textb_step->On(EventId::Change, [this](ui::EventData& e) {
            const uint32_t value = std::clamp(FDX::ParseKHz(e.text), fdx_->StepLow,
                                              std::max(fdx_->StepLow, fdx_->StepHigh));
            if (CurrentSearch().Step == value) return;
            EditSearchBank([&](AorSearchBank& r) { r.Step = value; }, false);
        });
    }
    textb_Fn->On(EventId::Change, [this](ui::EventData& e) { OnSearchLower(e.text); });
    if (textb_Fk) {
        textb_Fk->On(EventId::Change, [this](ui::EventData& e) {
            const uint32_t value = FDX::ParseMHz(e.text);
            if (value < LowerLimit || value > UpperLimit) return;
            EditSearchBank([&](AorSearchBank& r) { r.Upper = value; }, true);
        });
    }
    if (combo_mod)
        combo_mod->On(EventId::Select, [this](ui::EventData& e) { TakeSearchModeEntry(e.value); });
    if (scombo_att) {
        scombo_att->On(EventId::Select,
                       [this](ui::EventData& e) { TakeSearchAttenuator(e.value); });
    }
    if (checkbox_att)
        checkbox_att->On(EventId::Click, [this](ui::EventData&) { TakeSearchAttenuatorBox(); });
}
