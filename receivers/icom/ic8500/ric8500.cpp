#include "receivers/icom/ic8500/ric8500.h"

#include <array>
#include <cstdio>
#include <string>

#include "receivers/icom/ic8500/ic8500.h"

namespace {

// Option buttons exclude each other within the group box that holds them.
constexpr ui::ControlResource kRic8500Controls[] = {UI_CONTROL_ROWS(RIC8500_CONTROLS)};

constexpr ui::FormResource kRic8500Form =
    PanelDialogForm("ID_RIC8500", 250, 166, "Установка Параметров", kRic8500Controls);

}  // namespace

RIC8500::RIC8500(IC8500& panel) : CivScanDialog(panel, kRic8500Form), panel_(panel) {}

void RIC8500::CreateControls() {
    CreateFormControls();
    SetStopLists(pausemode, jobs, panel_.Settings.Scan);
}

void RIC8500::ShowSettings() {
    const Ic8500Settings& s = panel_.Settings;
    const CivScanSettings& scan = s.Scan;
    ShowScan(scan, s.DefaultAttenuatorDb, s.DefaultAudioLevel);
    ShowFlags(Resumes(), scan);
    ShowFlags(Boxes(), scan);
    selmode->SetChecked(scan.SelectedChannels);
    modmode->SetChecked(scan.SelectedModes);
    (s.Fnar ? Fnar : Fnorm)->SetChecked(true);
    (s.Cnar ? Cnar : Cnorm)->SetChecked(true);
    (s.Anar ? Anar : s.Awide ? Awide : Anorm)->SetChecked(true);
    CivMemoryPanel::ShowLevel(peaklvl, s.PeakSetting);
    CivMemoryPanel::ShowLevel(centrelvl, s.CentreSetting);
    // The PRIO bank's one channel.
    const uint32_t prio = panel_.Channel(IC8500::kPrioBank, 0).Frequency;
    char text[32] = "";
    if (prio != 0) std::snprintf(text, sizeof text, "%9.4f", prio / 10000.0);
    fprio->SetText(text);
}

// How the scan goes on after a stop.
std::array<RIC8500::FlagOption<CivScanSettings>, 3> RIC8500::Resumes() const {
    return {{{resout, &CivScanSettings::NoReadBack},
             {resdelay, &CivScanSettings::Delay},
             {resoff, &CivScanSettings::DropOut}}};
}

// The flags a box of their own stands for.
std::array<RIC8500::FlagBox<CivScanSettings>, 3> RIC8500::Boxes() const {
    return {{{scanAUTO, &CivScanSettings::Auto},
             {priofreq, &CivScanSettings::Priority},
             {vsc, &CivScanSettings::Vsc}}};
}

void RIC8500::Wire() {
    using ui::EventId;
    Ic8500Settings& s = panel_.Settings;
    CivScanSettings& scan = s.Scan;
    WireScan(scan, s.DefaultAttenuatorDb, s.DefaultAudioLevel);
    WireFlags(Resumes(), scan);
    WireFlags(Boxes(), scan);
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
    WireLevel(peaklvl, s.PeakSetting, "1404");
    WireLevel(centrelvl, s.CentreSetting, "1405");
}
