#include "receivers/icom/ic8500/ric8500.h"

#include <array>
#include <cstdio>
#include <string>

#include "receivers/icom/ic8500/ic8500.h"
#include "receivers/scan_stop.h"

namespace {

// Option buttons exclude each other within the group box that holds them.
constexpr ui::ControlResource kRic8500Controls[] = {UI_CONTROL_ROWS(RIC8500_CONTROLS)};

constexpr ui::FormResource kRic8500Form =
    PanelDialogForm("ID_RIC8500", 250, 166, "Установка Параметров", kRic8500Controls);

constexpr int kSliderTop = CivMemoryPanel::kSliderTop;

}  // namespace

RIC8500::RIC8500(IC8500& panel) : PanelDialog(panel, kRic8500Form), panel_(panel) {}

RIC8500::~RIC8500() {
    Destroy();
}

void RIC8500::CreateControls() {
    CreateFormControls();
    for (ui::Slider* slider : {soundlvl, peaklvl, centrelvl}) slider->SetRange(0, kSliderTop);
    scan_stop::FillActions(pausemode);
}

void RIC8500::Refresh() {
    const Ic8500Settings& s = panel_.Settings;
    const CivScanSettings& scan = s.Scan;
    ShowFlags(Regimes(), scan);
    ShowFlags(Resumes(), scan);
    scanAUTO->SetChecked(scan.Auto);
    selmode->SetChecked(scan.SelectedChannels);
    modmode->SetChecked(scan.SelectedModes);
    priofreq->SetChecked(scan.Priority);
    vsc->SetChecked(scan.Vsc);
    (s.Fnar ? Fnar : Fnorm)->SetChecked(true);
    (s.Cnar ? Cnar : Cnorm)->SetChecked(true);
    (s.Anar ? Anar : s.Awide ? Awide : Anorm)->SetChecked(true);
    ShowValue(Depths(), s.DefaultAttenuatorDb);
    CivMemoryPanel::ShowLevel(soundlvl, s.DefaultAudioLevel);
    CivMemoryPanel::ShowLevel(peaklvl, s.PeakSetting);
    CivMemoryPanel::ShowLevel(centrelvl, s.CentreSetting);
    scan_stop::ShowLists(pausemode, jobs, scan, *panel_.State());
    // The PRIO bank's one channel.
    const uint32_t prio = panel_.Channel(IC8500::kPrioBank, 0).Frequency;
    char text[32] = "";
    if (prio != 0) std::snprintf(text, sizeof text, "%9.4f", prio / 10000.0);
    fprio->SetText(text);
}

std::array<RIC8500::FlagOption<CivScanSettings>, 3> RIC8500::Regimes() const {
    return {{{diapscan, &CivScanSettings::RangeScan},
             {bankscan, &CivScanSettings::BankScan},
             {handscan, &CivScanSettings::ManualScan}}};
}

// How the scan goes on after a stop.
std::array<RIC8500::FlagOption<CivScanSettings>, 3> RIC8500::Resumes() const {
    return {{{resout, &CivScanSettings::NoReadBack},
             {resdelay, &CivScanSettings::Delay},
             {resoff, &CivScanSettings::DropOut}}};
}

std::array<RIC8500::ValueOption, 3> RIC8500::Depths() const {
    return {{{att10, panel_.Depth(0)}, {optb_1, panel_.Depth(1)}, {optb_2, panel_.Depth(2)}}};
}

void RIC8500::Wire() {
    using ui::EventId;
    Ic8500Settings& s = panel_.Settings;
    CivScanSettings& scan = s.Scan;
    WireFlags(Regimes(), scan);
    WireFlags(Resumes(), scan);
    scanAUTO->On(EventId::Click, [this, &scan](ui::EventData&) { scan.Auto = scanAUTO->IsChecked(); });
    priofreq->On(EventId::Click,
                 [this, &scan](ui::EventData&) { scan.Priority = priofreq->IsChecked(); });
    vsc->On(EventId::Click, [this, &scan](ui::EventData&) { scan.Vsc = vsc->IsChecked(); });
    // The scan takes the selected channels or those of the current mode, never both.
    selmode->On(EventId::Click, [this, &scan](ui::EventData&) {
        scan.SelectedChannels = selmode->IsChecked();
        if (!scan.SelectedChannels) return;
        scan.SelectedModes = false;
        modmode->SetChecked(false);
    });
    modmode->On(EventId::Click, [this, &scan](ui::EventData&) {
        scan.SelectedModes = modmode->IsChecked();
        if (!scan.SelectedModes) return;
        scan.SelectedChannels = false;
        selmode->SetChecked(false);
    });
    // A filter option chosen: the receiver switches at once when its current mode is the one
    // whose filter changed; the panel sends the mode as the settings now choose it.
    const auto filter = [this](ui::OptionButton* option, void (*choose)(Ic8500Settings&)) {
        OnChosen(option, [this, choose] {
            choose(panel_.Settings);
            panel_.SetMode();
        });
    };
    filter(Fnorm, [](Ic8500Settings& f) { f.Fnar = false; });
    filter(Fnar, [](Ic8500Settings& f) { f.Fnar = true; });
    filter(Cnorm, [](Ic8500Settings& f) { f.Cnar = false; });
    filter(Cnar, [](Ic8500Settings& f) { f.Cnar = true; });
    filter(Anorm, [](Ic8500Settings& f) { f.Anar = f.Awide = false; });
    filter(Anar, [](Ic8500Settings& f) {
        f.Anar = true;
        f.Awide = false;
    });
    filter(Awide, [](Ic8500Settings& f) {
        f.Awide = true;
        f.Anar = false;
    });
    WireValue(Depths(), s.DefaultAttenuatorDb);
    panel_.WireLevelSlider(soundlvl, s.DefaultAudioLevel);
    panel_.WireLevelSlider(peaklvl, s.PeakSetting, "1404");
    panel_.WireLevelSlider(centrelvl, s.CentreSetting, "1405");
    scan_stop::WireLists(pausemode, jobs, scan, *panel_.State());
}
