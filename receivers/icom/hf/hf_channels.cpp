// The HF sets' memory channels: the record on the wire, the transfers between the panel's
// table and the receiver, the channel list with the current channel's controls, and the
// receiver's own scan.

#include <algorithm>
#include <cstdio>

#include "receivers/icom/hf/hf_panel.h"
#include "state/format_text.h"
#include "state/message_bus.h"

namespace {

// Bytes before the record in a memory reply: 1A 00 and the channel number.
constexpr std::size_t kSelectByte = 4;

}  // namespace

// ---------------------------------------------------------------------------------------
// One channel on the wire

bool HfPanel::EnterMemoryMode() {
    return !hf_.memoryModeFirst || Exchange("08", civ::kChannelSelect);
}

// Every channel 1..101 exists: a receiver that refuses to give one is off or busy, and its
// refusals count toward standby as any other.
HfPanel::ChannelResult HfPanel::ReadMemoryChannel(uint32_t number) {
    Link.LastReplyCode = -1;
    if (!SelectChannel(number)) return Outcome(false);
    // A reply that is not this channel's record leaves it empty.
    ChannelBuffer = hf_.channels.Empty(static_cast<int32_t>(number - 1));
    readNumber_ = number;
    const ChannelResult read =
        ChannelExchange(FormatText("1A00%04u", number), civ::kMemoryContents);
    readNumber_ = 0;
    if (read != ChannelResult::Done) return read;
    // A name the set holds as the panel's went there stays the panel's, on the panel's
    // channel alone.
    if (!ChannelBuffer.Empty() && number >= 1 && number <= kChannelCount) {
        const MemoryChannel& held = Channels[number - 1];
        ChannelBuffer.Label =
            LabelReadBack(HeldLabel(held, ChannelBuffer.Frequency), ChannelBuffer.Label,
                          hf_.channels.labelWidth, hf_.channels.labelCharacters);
    }
    ChannelBuffer.Level = std::max(ReadLevel(), 0);
    return ChannelResult::Done;
}

void HfPanel::TakeMemoryReply() {
    const std::string& text = Link.ReplyText;
    const std::vector<uint8_t>& body = Link.ReplyBytes;
    // The body ends with FD; a reply reads only the bytes it has.
    const std::size_t length = std::min(text.size() / 2, body.size());
    if (length < hf_.shortestRecord || text.substr(4, 4) != FormatText("%04u", readNumber_)) return;
    MemoryChannel& channel = ChannelBuffer;
    channel.Select = body[kSelectByte] == 0x01;
    channel.Frequency =
        std::clamp(civ::DecodeFrequency(text.substr(2 * kSelectByte)), LowerLimit, UpperLimit);
    DecodeMode(text.substr(20, 2), text.substr(22, 2), channel.Modulation, channel.Filter);
    if (hf_.attenuatorOn && body[12] != 0) {
        channel.Attenuator = true;
        channel.AttenuatorDb = Depth(0);
    }
    if (length > hf_.nameByte)
        channel.Label = civ::NameFromWire(std::span(body).subspan(
            hf_.nameByte, std::min(hf_.channels.labelWidth, length - hf_.nameByte)));
    // The receiver keeps no step with a channel: it takes the fine scale's.
    channel.Step = ViewStep;
}

HfPanel::ChannelResult HfPanel::WriteMemoryChannel(uint32_t number) {
    const MemoryChannel& channel = ChannelBuffer;
    std::string payload = FormatText("1A00%04u", number);
    if (channel.Empty()) {
        payload += "FF";
    } else {
        payload += channel.Select ? "01" : "00";
        payload += civ::FreqToBcd(channel.Frequency, 0);
        const HfMemoryMode* mode = &hf_.memoryModes.front();
        for (const HfMemoryMode& entry : hf_.memoryModes)
            if (entry.letter == channel.Modulation) mode = &entry;
        payload +=
            mode->bytes[static_cast<std::size_t>(std::clamp(channel.Filter, 0, kWidestFilter))];
        if (hf_.attenuatorOn) payload += channel.Attenuator ? hf_.attenuatorOn : "00";
        payload += hf_.filler;
        payload +=
            civ::NameToHex(channel.Label, hf_.channels.labelWidth, hf_.channels.labelCharacters);
    }
    return WriteChannelRecord(payload);
}

// The channel is empty once the receiver took the clear; the selection after it is the set's
// own way of showing it, and a set that went silent there is found by the next exchange.
HfPanel::ChannelResult HfPanel::ClearMemoryChannel(uint32_t number) {
    const ChannelResult clear = WriteChannelRecord(FormatText("1A00%04uFF", number));
    if (clear == ChannelResult::Done) SelectChannel(number);
    return clear;
}

// ---------------------------------------------------------------------------------------
// Transfers

bool HfPanel::WalkChannels(const std::string& status, Untaken& untaken, bool countUnreached,
                           const std::function<ChannelResult(uint32_t number)>& each) {
    uint32_t reached = 0;
    const bool answered = ListTransfer(status, [&] {
        if (!EnterMemoryMode()) return false;
        for (uint32_t number = 1; number <= kChannelCount; ++number) {
            const ChannelResult result = each(number);
            if (result == ChannelResult::Unanswered) return false;
            reached = number;
            if (result == ChannelResult::Refused) untaken.Add(number);
        }
        return true;
    });
    if (countUnreached)
        for (uint32_t number = reached + 1; number <= kChannelCount; ++number) untaken.Add(number);
    return answered;
}

bool HfPanel::ReadChannels(const std::string& status) {
    Untaken refused;
    const bool answered = WalkChannels(status, refused, false, [this](uint32_t number) {
        const ChannelResult read = ReadMemoryChannel(number);
        if (read == ChannelResult::Done) Channels[number - 1] = ChannelBuffer;
        return read;
    });
    if (answered) FinishTransfer(kNotRead, refused);
    return answered;
}

bool HfPanel::WriteChannels() {
    Untaken refused;
    const bool answered = WalkChannels(hf_.writeStatus, refused, false, [this](uint32_t number) {
        ChannelBuffer = Channels[number - 1];
        return WriteMemoryChannel(number);
    });
    if (answered) FinishTransfer(kNotWritten, refused);
    return answered;
}

// The channels the receiver did not take are told; the receiver goes back to the program's
// settings, and with direct write it stays on the current channel.
void HfPanel::FinishTransfer(const char* what, const Untaken& untaken) {
    TellUntaken(what, untaken);
    ApplyReceiverSettings();
    if (Settings.DirectWrite && EnterMemoryMode()) SelectChannel(CurrentChannel + 1);
}

// The attenuator as the panel has it, its depth included.
void HfPanel::ApplyReceiverSettings() {
    SetFrequencyWait();
    SendAttenuator();
    SetMode();
    SetStep();
}

void HfPanel::ClearChannels() {
    const auto empty = [this](uint32_t entry) {
        Channels[entry] = hf_.channels.Empty(static_cast<int32_t>(entry));
    };
    if (!Settings.DirectWrite) {
        for (uint32_t entry = 0; entry < kChannelCount; ++entry) empty(entry);
        ShowChannels();
        return;
    }
    // An entry is emptied only when the receiver emptied its channel: the list shows what the
    // receiver holds.
    Untaken left;
    WalkChannels(hf_.clearStatus, left, true, [&](uint32_t number) {
        const ChannelResult clear = ClearMemoryChannel(number);
        if (clear == ChannelResult::Done) empty(number - 1);
        return clear;
    });
    TellUntaken(kNotCleared, left);
}

void HfPanel::StoreCurrentSettings() {
    const uint32_t entry = CurrentChannel;
    StoreChannel(Channels[entry], entry + 1, -1, [this, entry] {
        ChannelBuffer = Channels[entry];
        return WriteMemoryChannel(entry + 1);
    });
    ShowRow(entry);
    ShowChannel();
}

// ---------------------------------------------------------------------------------------
// The current channel

void HfPanel::ChooseChannel(uint32_t entry) {
    if (entry >= kChannelCount) return;
    CurrentChannel = entry;
    if (lv_1) lv_1->SelectRow(static_cast<int>(entry));
    ShowChannel();
    if (Settings.DirectWrite) ApplyCurrentChannel();
}

// What the receiver's memory holds of a channel replaces the panel's; the rest (a step, the
// IC-756PRO's attenuator and skip mark) stays the panel's.
void HfPanel::TakeHeldFields(MemoryChannel& entry) const {
    const MemoryChannel& read = ChannelBuffer;
    entry.Frequency = read.Frequency;
    entry.Modulation = read.Modulation;
    entry.Filter = read.Filter;
    entry.Select = read.Select;
    entry.Label = read.Label;
    entry.Level = read.Level;
    if (hf_.attenuatorOn) {
        entry.Attenuator = read.Attenuator;
        entry.AttenuatorDb = read.AttenuatorDb;
    }
    if (entry.Step == 0) entry.Step = read.Step;
}

void HfPanel::ApplyCurrentChannel() {
    if (Standby || ReadMemoryChannel(CurrentChannel + 1) != ChannelResult::Done) return;
    MemoryChannel& entry = Channels[CurrentChannel];
    TakeHeldFields(entry);
    ShowRow(CurrentChannel);
    ShowChannel();
    TuneToChannel(entry);
}

// The filter button goes on from the channel's filter.
void HfPanel::OnTunedToChannel(const MemoryChannel& channel) {
    Settings.FilterChoice = channel.Filter;
    ShowAttenuator();
}

void HfPanel::EditChannel(const std::function<void(MemoryChannel&)>& change) {
    MemoryChannel& entry = Channels[CurrentChannel];
    const uint32_t number = CurrentChannel + 1;
    if (Settings.DirectWrite && ReadMemoryChannel(number) == ChannelResult::Done)
        TakeHeldFields(entry);
    const MemoryChannel before = entry;
    change(entry);
    ShowRow(CurrentChannel);
    if (!Settings.DirectWrite) return;
    ChannelBuffer = entry;
    // The entry shows what the receiver holds: the edit only when the receiver took it.
    if (!Written(WriteMemoryChannel(number), number, -1)) {
        entry = before;
        ShowRow(CurrentChannel);
        ShowChannel();
    }
    ApplyCurrentChannel();
}

void HfPanel::WireChannelControls() {
    const auto on = [this](ui::Control* control, ui::EventId id, auto action) {
        control->AddHandler(id, [this, action](ui::Object&, ui::EventData& e) {
            if (!showingChannel_) action(e);
            return false;
        });
    };
    RunMacroOnRightButton(*lv_1);
    lv_1->AddHandler(ui::EventId::Select, [this](ui::Object&, ui::EventData& e) {
        if (e.value >= 0 && !PanelBusy) ChooseChannel(static_cast<uint32_t>(e.value));
        return false;
    });
    // A frequency of 0 or beyond the receiver's range keeps the channel's, and the box shows it.
    on(textb_1, ui::EventId::Change, [this](ui::EventData& e) {
        const uint32_t frequency = FDX::ParseMHz(e.text);
        if (frequency < LowerLimit || frequency > UpperLimit ||
            frequency == Channels[CurrentChannel].Frequency) {
            ShowChannel();
            return;
        }
        EditChannel([frequency](MemoryChannel& c) { c.Frequency = frequency; });
    });
    on(comment, ui::EventId::Change, [this](ui::EventData& e) {
        const uint32_t step = FDX::ParseKHz(e.text);
        if (step == 0 || step == Channels[CurrentChannel].Step) {
            ShowChannel();
            return;
        }
        EditChannel([step](MemoryChannel& c) { c.Step = step; });
    });
    on(smod, ui::EventId::Select, [this](ui::EventData& e) {
        if (e.value < 0 || e.value >= static_cast<int64_t>(hf_.modeChoices.size())) return;
        const HfModeChoice& choice = hf_.modeChoices[static_cast<std::size_t>(e.value)];
        const MemoryChannel& now = Channels[CurrentChannel];
        const int32_t filter = choice.filter < 0 ? now.Filter : choice.filter;
        if (now.Modulation == choice.letter && now.Filter == filter) return;
        EditChannel([&](MemoryChannel& c) {
            c.Modulation = choice.letter;
            c.Filter = filter;
        });
    });
    on(satt, ui::EventId::Select, [this](ui::EventData& e) {
        if (e.value < 0 || e.value >= static_cast<int64_t>(hf_.sattChoices.size())) return;
        const int32_t value = hf_.sattChoices[static_cast<std::size_t>(e.value)].value;
        const MemoryChannel& now = Channels[CurrentChannel];
        if (hf_.sattIsAttenuator) {
            if (now.Attenuator == (value != 0)) return;
            EditChannel([&](MemoryChannel& c) {
                c.Attenuator = value != 0;
                c.AttenuatorDb =
                    c.Attenuator ? hf_.channels.Depth(static_cast<uint32_t>(value)) : 0;
            });
        } else if (now.Filter != value) {
            EditChannel([value](MemoryChannel& c) { c.Filter = value; });
        }
    });
    on(sel, ui::EventId::Click, [this](ui::EventData&) {
        const bool set = sel->IsChecked();
        EditChannel([set](MemoryChannel& c) { c.Select = set; });
    });
    if (ui::CheckBox* box = SkipBox()) {
        on(box, ui::EventId::Click, [this, box](ui::EventData&) {
            const bool set = box->IsChecked();
            EditChannel([set](MemoryChannel& c) { c.Skip = set; });
        });
    }
}

// ---------------------------------------------------------------------------------------
// The channel list

std::vector<std::string> HfPanel::RowCells(const MemoryChannel& channel, uint32_t entry) const {
    const bool used = !channel.Empty();
    std::vector<std::string> cells;
    for (const HfListColumn& column : hf_.columns) {
        char text[64] = "";
        switch (column.field) {
            case HfColumn::Frequency:
                if (used) std::snprintf(text, sizeof text, "%9.4f", channel.Frequency / 10000.0);
                break;
            case HfColumn::Step:
                if (used) std::snprintf(text, sizeof text, "%.1f", channel.Step / 10.0);
                break;
            case HfColumn::Mode:
                if (used) std::snprintf(text, sizeof text, "%s", ModeText(channel).c_str());
                break;
            case HfColumn::Level:
                if (used) std::snprintf(text, sizeof text, "%s", LevelText(channel.Level).c_str());
                break;
            case HfColumn::Filter:
            case HfColumn::Attenuator:
                if (used) std::snprintf(text, sizeof text, "%s", SattText(channel).c_str());
                break;
            case HfColumn::Label:
                std::snprintf(text, sizeof text, "%s", channel.Label.c_str());
                break;
            case HfColumn::Number:
                std::snprintf(text, sizeof text, "%u", entry + 1);
                break;
            case HfColumn::Select:
                if (channel.Select) text[0] = '+';
                break;
            case HfColumn::Skip:
                if (channel.Skip) text[0] = '+';
                break;
        }
        cells.emplace_back(text);
    }
    return cells;
}

int HfPanel::ModeChoiceOf(const MemoryChannel& channel) const {
    for (std::size_t i = 0; i < hf_.modeChoices.size(); ++i) {
        const HfModeChoice& choice = hf_.modeChoices[i];
        if (choice.letter == channel.Modulation &&
            (choice.filter < 0 || choice.filter == channel.Filter))
            return static_cast<int>(i);
    }
    return -1;
}

int HfPanel::SattChoiceOf(const MemoryChannel& channel) const {
    const int32_t value = hf_.sattIsAttenuator
                              ? (channel.Attenuator ? static_cast<int32_t>(Depth(0)) : 0)
                              : channel.Filter;
    for (std::size_t i = 0; i < hf_.sattChoices.size(); ++i)
        if (hf_.sattChoices[i].value == value) return static_cast<int>(i);
    return -1;
}

std::string HfPanel::ModeText(const MemoryChannel& channel) const {
    const int choice = ModeChoiceOf(channel);
    return choice < 0 ? std::string(1, channel.Modulation)
                      : hf_.modeChoices[static_cast<std::size_t>(choice)].text;
}

std::string HfPanel::SattText(const MemoryChannel& channel) const {
    const int choice = SattChoiceOf(channel);
    return choice < 0 ? std::string() : hf_.sattChoices[static_cast<std::size_t>(choice)].text;
}

void HfPanel::ShowRow(uint32_t entry) {
    if (!lv_1 || entry >= static_cast<uint32_t>(lv_1->RowCount())) return;
    const std::vector<std::string> cells = RowCells(Channels[entry], entry);
    for (std::size_t column = 0; column < cells.size(); ++column)
        lv_1->SetCell(static_cast<int>(entry), static_cast<int>(column), cells[column]);
}

void HfPanel::ShowChannels() {
    if (!lv_1) return;
    lv_1->Clear();
    for (uint32_t entry = 0; entry < kChannelCount; ++entry)
        lv_1->AddRow(RowCells(Channels[entry], entry));
    lv_1->SelectRow(static_cast<int>(CurrentChannel));
    ShowChannel();
}

// The channel controls show the current channel; they work only on a channel with a
// frequency, and not while the panel is locked.
void HfPanel::ShowChannel() {
    if (!textb_1) return;
    const MemoryChannel& channel = Channels[CurrentChannel];
    const bool used = !channel.Empty();
    showingChannel_ = true;
    char text[32] = "";
    if (used) std::snprintf(text, sizeof text, "%.4f", channel.Frequency / 10000.0);
    textb_1->SetText(text);
    text[0] = '\0';
    if (used) std::snprintf(text, sizeof text, "%.1f", channel.Step / 10.0);
    comment->SetText(text);
    smod->SetSelectedIndex(used ? ModeChoiceOf(channel) : -1);
    satt->SetSelectedIndex(used ? SattChoiceOf(channel) : -1);
    sel->SetChecked(channel.Select);
    ui::CheckBox* skip = SkipBox();
    if (skip) skip->SetChecked(channel.Skip);
    showingChannel_ = false;
    const bool editable = used && !PanelBusy;
    for (ui::Window* control : {static_cast<ui::Window*>(textb_1),
                                static_cast<ui::Window*>(comment), static_cast<ui::Window*>(smod),
                                static_cast<ui::Window*>(satt), static_cast<ui::Window*>(sel)})
        control->SetEnabled(editable);
    if (skip) skip->SetEnabled(editable);
}

// ---------------------------------------------------------------------------------------
// The receiver's own scan

bool HfPanel::SendScanStart() {
    // The whole sequence goes out; the regime's command decides, and without a regime nothing
    // starts.
    bool started = false;
    for (const char* payload : hf_.scanPrelude) SendScanCommand(payload);
    if (Settings.ManualScan && hf_.manualScan) {
        started = SendScanCommand(hf_.manualScan);
    } else if (Settings.RangeScan) {
        started = SendScanCommand(hf_.rangeScan);
    } else if (Settings.BankScan) {
        EnterMemoryMode();
        for (MemoryChannel& channel : Channels) channel.Level = 0;
        started = SendScanCommand(Settings.SelectedChannels ? "0E23" : "0E22");
        ShowChannels();
    }
    return started;
}

// What the bank scan left in the channels.
void HfPanel::ReadBackAfterScan() {
    if (!Settings.NoReadBack && Settings.BankScan) {
        for (uint32_t number = 1; number <= kChannelCount; ++number) {
            if (ReadMemoryChannel(number) != ChannelResult::Done) break;
            Channels[number - 1] = ChannelBuffer;
        }
        SelectChannel(CurrentChannel + 1);
        ShowChannels();
    } else if (Settings.DirectWrite) {
        SelectChannel(CurrentChannel + 1);
    }
}
