#include "receivers/icom/ic756/ric756.h"

#include <array>
#include <cstdio>
#include <string>

#include "receivers/icom/ic756/ic756.h"
#include "receivers/scan_stop.h"

namespace {

constexpr ui::ControlResource kRic756Controls[] = {UI_CONTROL_ROWS(RIC756_CONTROLS)};

constexpr ui::FormResource kRic756Form =
    PanelDialogForm("ID_RIC756", 250, 196, "Установка Параметров", kRic756Controls);

constexpr int kSliderTop = CivMemoryPanel::kSliderTop;

// An edge of the programmed scan in MHz; nothing for an empty channel.
std::string EdgeText(const MemoryChannel& channel) {
    char text[32] = "";
    if (!channel.Empty()) std::snprintf(text, sizeof text, "%9.4f", channel.Frequency / 10000.0);
    return text;
}

}  // namespace

RIC756::RIC756(IC756& panel) : PanelDialog(panel, kRic756Form), panel_(panel) {}

RIC756::~RIC756() {
    Destroy();
}

void RIC756::CreateControls() {
    CreateFormControls();
    for (ui::Slider* slider : {soundlvl, pik, sf}) slider->SetRange(0, kSliderTop);
    scan_stop::FillActions(pausemode);
}

void RIC756::Refresh() {
    const HfSettings& s = panel_.Settings;
    ShowFlags<CivScanSettings>(Regimes(), s);
    selmode->SetChecked(s.SelectedChannels);
    (s.Rnar ? Rnar : R)->SetChecked(true);
    (s.Cnar ? Cnar : C)->SetChecked(true);
    CivMemoryPanel::ShowLevel(soundlvl, s.DefaultSoundLevel);
    CivMemoryPanel::ShowLevel(pik, s.NoiseReduction);
    CivMemoryPanel::ShowLevel(sf, s.PbtShift);
    ShowValue(Depths(), s.DefaultAttenuatorDb);
    fn->SetText(EdgeText(panel_.Channels[HfPanel::kLowerEdge]));
    fk->SetText(EdgeText(panel_.Channels[HfPanel::kUpperEdge]));
    scan_stop::ShowLists(pausemode, job, s, *panel_.State());
}

std::array<RIC756::FlagOption<CivScanSettings>, 3> RIC756::Regimes() const {
    return {{{diapscan, &CivScanSettings::RangeScan},
             {bankscan, &CivScanSettings::BankScan},
             {handscan, &CivScanSettings::ManualScan}}};
}

std::array<RIC756::ValueOption, 3> RIC756::Depths() const {
    return {{{att10, panel_.Depth(0)}, {optb_1, panel_.Depth(1)}, {optb_2, panel_.Depth(2)}}};
}

void RIC756::Wire() {
    using ui::EventId;
    HfSettings& s = panel_.Settings;
    WireFlags<CivScanSettings>(Regimes(), s);
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
    panel_.WireLevelSlider(soundlvl, s.DefaultSoundLevel);
    WireValue(Depths(), s.DefaultAttenuatorDb);
    // The noise reduction and the PBT shift, sent at once.
    panel_.WireLevelSlider(pik, s.NoiseReduction, "1406");
    panel_.WireLevelSlider(sf, s.PbtShift, "1407");
    scan_stop::WireLists(pausemode, job, s, *panel_.State());
}
