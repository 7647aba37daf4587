#include "receivers/aor/ar8200/rar8200.h"

#include <algorithm>
#include <string>

#include "receivers/aor/ar8200/ar8200.h"
#include "state/key_value.h"
#include "state/message_bus.h"

namespace {

using aor::Format;
using Kind = AorScanSettings::Kind;

constexpr int kConfigurations = 10;

}  // namespace

RAR8200::RAR8200(AR8200& panel) : AorScanDialog(panel, ar8200::kScanForm), panel_(panel) {}

void RAR8200::CreateControls() {
    CreateFormControls();
    SetStopLists(pausemode, jobs, panel_.ScanSettings);
    FindNumberedBoxes(links);
    modes = {fm, wfm, am, lsb, usb, cw, nfm, wam, nam, all};
    config->AddString("по умолчанию");
    for (int i = 1; i < kConfigurations; ++i) config->AddString(Format("конфигурация %d", i));
    value->SetRange(0, 15);
    voice->SetRange(0, 15);
}

// Only the operator's input raises these events, once it is delivered and no wait for a reply
// runs: the dialog setting its controls from the panel raises none.
void RAR8200::Wire() {
    using ui::EventId;
    WireKinds();
    selscan->On(EventId::Click,
                [this](ui::EventData&) { panel_.ScanSettings.SelectScan = selscan->IsChecked(); });
    diapVFO->On(EventId::Click,
                [this](ui::EventData&) { panel_.Options.TwoVfoScan = diapVFO->IsChecked(); });
    config->On(EventId::Select,
               [this](ui::EventData& e) { ChooseConfiguration(static_cast<int>(e.value)); });
    // The links go to the receiver at once.
    WireLinks(links, kLinkLetters, [this] { panel_.SendBankLinks(); });
    for (uint32_t mode = 0; mode < modes.size(); ++mode) {
        modes[mode]->On(EventId::Click, [this, mode](ui::EventData&) {
            panel_.Options.ScanModeChoice = mode;
            panel_.ScanSettings.ModeScan = mode != AR8200::kAllModes;
        });
    }
    WireSettings();
}

void RAR8200::WireSettings() {
    using ui::EventId;
    const std::pair<ui::OptionButton*, std::pair<char, int32_t>> variants[] = {
        {Fnar, {'F', 1}}, {F, {'F', 0}}, {Anar, {'A', 1}}, {A, {'A', 0}}, {Awide, {'A', 2}}};
    for (const auto& [option, mode] : variants) {
        option->On(EventId::Click, [this, mode = mode](ui::EventData&) {
            panel_.ChooseVariant(mode.first, mode.second);
        });
    }
    textb_1->On(EventId::Change, [this](ui::EventData& e) { OnPause(e.text); });
    textb_2->On(EventId::Change, [this](ui::EventData& e) { OnDelay(e.text); });
    hold->On(EventId::Click, [this](ui::EventData&) { OnHold(); });
    value->On(EventId::Change,
              [this](ui::EventData& e) { SendScanLevel(false, static_cast<int>(e.value)); });
    voice->On(EventId::Change,
              [this](ui::EventData& e) { SendScanLevel(true, static_cast<int>(e.value)); });
    noise->On(EventId::Click,
              [this](ui::EventData&) { panel_.SendText(noise->IsChecked() ? "NL1" : "NL0"); });
    AUTO->On(EventId::Click,
             [this](ui::EventData&) { panel_.SendText(AUTO->IsChecked() ? "AS2" : "AS0"); });
}

void RAR8200::BeforeRefresh() {
    Fnar->SetChecked(panel_.Options.Fnar);
    F->SetChecked(!panel_.Options.Fnar);
    Anar->SetChecked(panel_.Options.Anar);
    Awide->SetChecked(!panel_.Options.Anar && panel_.Options.Awide);
    A->SetChecked(!panel_.Options.Anar && !panel_.Options.Awide);
    noise->SetChecked(false);
    if (panel_.ReceiverAnswered() && panel_.Link.Exchange("NL\r\n", "NL"))
        noise->SetChecked(panel_.Reply.NoiseLimiter);
    panel_.ScanSettings.FindJob(*panel_.State());
}

// The scan kind's configuration as the receiver reports it ("GS" or "GM", with its links),
// then the panel's settings.
void RAR8200::ShowSettings() {
    AorScanSettings& scan = panel_.ScanSettings;
    config->SetSelectedIndex(panel_.ReceiverAnswered() ? panel_.ReadScanConfiguration() : 0);
    ShowKind();
    ShowLinks(links, kLinkLetters);
    for (uint32_t mode = 0; mode < modes.size(); ++mode)
        modes[mode]->SetChecked(mode == panel_.Options.ScanModeChoice);
    hold->SetChecked(scan.Delay == AR8200::kHold);
    textb_2->SetEnabled(scan.Delay != AR8200::kHold);
    textb_2->SetText(scan.Delay == AR8200::kHold ? "0.0" : Format("%1.1f", scan.Delay / 10.0));
    textb_1->SetText(Format("%u", scan.Pause));
    selscan->SetChecked(scan.SelectScan);
    diapVFO->SetChecked(panel_.Options.TwoVfoScan);
    value->SetPosition(static_cast<int>(panel_.Options.LevelValue) / AR8200::kSliderUnit);
    voice->SetPosition(static_cast<int>(panel_.Options.VoiceValue) / AR8200::kSliderUnit);
    if (scan.kind == Kind::Search) AUTO->SetChecked(panel_.Reply.AutoStore);
}

// A configuration of the receiver's scan: its links come back with it.
void RAR8200::ChooseConfiguration(int index) {
    const Kind kind = panel_.ScanSettings.kind;
    if (kind == Kind::Vfo || index < 0 || index >= kConfigurations) return;
    if (panel_.SendText(Format("%s%d", kind == Kind::MemoryBanks ? "GM" : "GS", index))) Refresh();
}

void RAR8200::OnPause(const std::string& text) {
    const uint32_t seconds = ReadU32(text);
    panel_.ScanSettings.Pause = std::min(seconds, AR8200::kMostPause);
    textb_1->SetText(Format("%u", panel_.ScanSettings.Pause));
    panel_.SendPause();
}

// Tenths of a second, at most 9.9 s.
void RAR8200::OnDelay(const std::string& text) {
    panel_.ScanSettings.Delay = std::min(FDX::ParseKHz(text), AR8200::kMostDelay);
    panel_.SendDelay();
}

void RAR8200::OnHold() {
    const bool holds = hold->IsChecked();
    panel_.ScanSettings.Delay = holds ? AR8200::kHold : 0;
    panel_.ScanSettings.Hold = holds;
    textb_2->SetEnabled(!holds);
    panel_.SendDelay();
}

// The scan's own squelch levels: the range search's (SB, SA), the bank scan's (XB, XA), or in
// a VFO scan the panel's (DB, DA).
void RAR8200::SendScanLevel(bool voiceLevel, int position) {
    const uint32_t level = static_cast<uint32_t>(std::clamp(position, 0, 15) * AR8200::kSliderUnit);
    (voiceLevel ? panel_.Options.VoiceValue : panel_.Options.LevelValue) = level;
    panel_.SendText(Format("%c%c%03u", KindLetter(), voiceLevel ? 'A' : 'B', level));
    panel_.ShowSquelch();
}
