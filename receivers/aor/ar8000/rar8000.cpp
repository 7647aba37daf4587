#include "receivers/aor/ar8000/rar8000.h"

#include <algorithm>
#include <cstdlib>

#include "receivers/aor/ar8000/ar8000.h"

namespace {

using Kind = AorScanSettings::Kind;

}  // namespace

RAR8000::RAR8000(AR8000& panel) : AorScanDialog(panel, ar8000::kScanForm), panel_(panel) {}

void RAR8000::CreateControls() {
    CreateFormControls();
    SetStopLists(pausemode, job, panel_.ScanSettings);
    FindNumberedBoxes(links);
    modes = {wfm, nfm, am, usb, lsb, cw};
    soundlvl->SetRange(static_cast<int>(AR8000::kLowestThreshold),
                       static_cast<int>(AR8000::kHighestThreshold));
    updown_1->SetRange(static_cast<int>(AR8000::kShortestDelay),
                       static_cast<int>(AR8000::kLongestDelay));
}

// The flags a box of their own stands for; each changes what the dialog enables.
std::array<RAR8000::FlagBox<AorScanSettings>, 4> RAR8000::Boxes() const {
    return {{{selscan, &AorScanSettings::SelectScan},
             {VSC, &AorScanSettings::Voice},
             {Lev_box, &AorScanSettings::LevelBox},
             {modscan, &AorScanSettings::ModeScan}}};
}

void RAR8000::ShowSettings() {
    const AorScanSettings& scan = panel_.ScanSettings;
    const bool bank = scan.kind == Kind::MemoryBanks;
    ShowKind();
    ShowFlags(Boxes(), scan);
    soundlvl->SetPosition(static_cast<int>(panel_.Threshold));
    resdelay->SetChecked(scan.DelayOn);
    resout->SetChecked(!scan.DelayOn);
    ShowDelay();
    // The mode filter shows ticked in the bank scan only.
    modscan->SetChecked(bank && scan.ModeScan);
    for (std::size_t digit = 0; digit < modes.size(); ++digit)
        modes[digit]->SetChecked(digit == scan.ModeChoice);
    ShowLinks(links, AR8000::kLinkLetters);
    ShowEnabled();
}

// The mode filter applies to the bank scan only; the threshold with the level analysis; the
// delay time when the pause ends by it.
void RAR8000::ShowEnabled() {
    const AorScanSettings& scan = panel_.ScanSettings;
    const bool bank = scan.kind == Kind::MemoryBanks;
    modscan->SetEnabled(bank);
    for (ui::OptionButton* option : modes) option->SetEnabled(bank && scan.ModeScan);
    selscan->SetEnabled(bank);
    soundlvl->SetEnabled(scan.LevelBox);
    textb_1->SetEnabled(scan.DelayOn);
    updown_1->SetEnabled(scan.DelayOn);
}

void RAR8000::ShowDelay() {
    textb_1->SetText(std::to_string(panel_.DelaySeconds));
    updown_1->SetPosition(static_cast<int>(panel_.DelaySeconds));
}

// A delay outside 1..99 s is held to it.
void RAR8000::TakeDelay(int64_t seconds) {
    panel_.DelaySeconds = static_cast<uint32_t>(
        std::clamp<int64_t>(seconds, AR8000::kShortestDelay, AR8000::kLongestDelay));
    ShowDelay();
}

void RAR8000::Wire() {
    using ui::EventId;
    WireKinds();
    WireLinks(links, AR8000::kLinkLetters);
    for (std::size_t digit = 0; digit < modes.size(); ++digit) {
        modes[digit]->On(EventId::Click, [this, digit](ui::EventData&) {
            if (modes[digit]->IsChecked())
                panel_.ScanSettings.ModeChoice = static_cast<uint32_t>(digit);
        });
    }
    textb_1->On(EventId::Change,
                [this](ui::EventData& e) { TakeDelay(std::atoll(e.text.c_str())); });
    updown_1->On(EventId::DeltaPosition, [this](ui::EventData& e) {
        TakeDelay(int64_t{panel_.DelaySeconds} + (e.value < 0 ? -1 : 1));
    });
    soundlvl->On(EventId::Change, [this](ui::EventData& e) {
        panel_.Threshold = static_cast<uint32_t>(
            std::clamp<int64_t>(e.value, AR8000::kLowestThreshold, AR8000::kHighestThreshold));
    });
    WireScan();
}

void RAR8000::WireScan() {
    using ui::EventId;
    AorScanSettings& scan = panel_.ScanSettings;
    WireFlags(Boxes(), scan, [this] { ShowEnabled(); });
    const std::pair<ui::OptionButton*, bool> resets[] = {{resdelay, true}, {resout, false}};
    for (const auto& [option, byDelay] : resets) {
        option->On(EventId::Click,
                   [this, &scan, option = option, byDelay = byDelay](ui::EventData&) {
                       if (!option->IsChecked()) return;
                       scan.DelayOn = byDelay;
                       ShowEnabled();
                   });
    }
}
