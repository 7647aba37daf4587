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

// One step of the sliders is 16 level units.
constexpr int kSliderUnit = 16;
constexpr int kSliderTop = 15;

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
    soundlvl->SetPosition(static_cast<int>(s.DefaultSoundLevel) / kSliderUnit);
    pik->SetPosition(static_cast<int>(s.NoiseReduction) / kSliderUnit);
    sf->SetPosition(static_cast<int>(s.PbtShift) / kSliderUnit);
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
    return {{{att10, 6}, {optb_1, 12}, {optb_2, 18}}};
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
    soundlvl->On(EventId::Change, [&s](ui::EventData& e) {
        s.DefaultSoundLevel = static_cast<uint32_t>(e.value) * kSliderUnit;
    });
    WireValue(Depths(), s.DefaultAttenuatorDb);
    pik->On(EventId::Change, [this, &s](ui::EventData& e) {
        s.NoiseReduction = static_cast<uint32_t>(e.value) * kSliderUnit;
        panel_.SetNoiseReductionLevel(s.NoiseReduction);
    });
    sf->On(EventId::Change, [this, &s](ui::EventData& e) {
        s.PbtShift = static_cast<uint32_t>(e.value) * kSliderUnit;
        panel_.SetPbtShift(s.PbtShift);
    });
    scan_stop::WireLists(pausemode, job, s, *panel_.State());
}
