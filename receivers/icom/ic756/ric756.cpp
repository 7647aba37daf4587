#include "receivers/icom/ic756/ric756.h"

#include <cstdio>
#include <string>

#include "receivers/icom/ic756/ic756.h"

namespace {

constexpr ui::ControlResource kRic756Controls[] = {UI_CONTROL_ROWS(RIC756_CONTROLS)};

constexpr ui::FormResource kRic756Form =
    PanelDialogForm("ID_RIC756", 250, 196, "Установка Параметров", kRic756Controls);

// An edge of the programmed scan in MHz; nothing for an empty channel.
std::string EdgeText(const MemoryChannel& channel) {
    char text[32] = "";
    if (!channel.Empty()) std::snprintf(text, sizeof text, "%9.4f", channel.Frequency / 10000.0);
    return text;
}

}  // namespace

RIC756::RIC756(IC756& panel) : CivScanDialog(panel, kRic756Form), panel_(panel) {}

void RIC756::CreateControls() {
    CreateFormControls();
    SetStopLists(pausemode, job, panel_.Settings);
}

void RIC756::ShowSettings() {
    const HfSettings& s = panel_.Settings;
    ShowScan(s, s.DefaultAttenuatorDb, s.DefaultSoundLevel);
    selmode->SetChecked(s.SelectedChannels);
    (s.Rnar ? Rnar : R)->SetChecked(true);
    (s.Cnar ? Cnar : C)->SetChecked(true);
    CivMemoryPanel::ShowLevel(pik, s.NoiseReduction);
    CivMemoryPanel::ShowLevel(sf, s.PbtShift);
    fn->SetText(EdgeText(panel_.Channels[HfPanel::kLowerEdge]));
    fk->SetText(EdgeText(panel_.Channels[HfPanel::kUpperEdge]));
}

void RIC756::Wire() {
    using ui::EventId;
    HfSettings& s = panel_.Settings;
    WireScan(s, s.DefaultAttenuatorDb, s.DefaultSoundLevel);
    // The bank scan takes the selected channels or those of the current mode, never both;
    // cleared, it takes every channel.
    selmode->On(EventId::Click, [this, &s](ui::EventData&) {
        s.SelectedChannels = selmode->IsChecked();
        if (s.SelectedChannels) s.SelectedModes = false;
    });
    // A narrow filter chosen or left: the receiver switches at once when its mode is the one.
    const auto narrow = [&](ui::OptionButton* option, bool HfSettings::*flag, bool set) {
        OnChosen(option, [this, &s, flag, set] {
            s.*flag = set;
            panel_.SetMode();
        });
    };
    narrow(Rnar, &HfSettings::Rnar, true);
    narrow(R, &HfSettings::Rnar, false);
    narrow(Cnar, &HfSettings::Cnar, true);
    narrow(C, &HfSettings::Cnar, false);
    // The noise reduction and the PBT shift, sent at once.
    WireLevel(pik, s.NoiseReduction, "1406");
    WireLevel(sf, s.PbtShift, "1407");
}
