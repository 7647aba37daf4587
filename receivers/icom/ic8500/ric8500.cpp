#include "receivers/icom/ic8500/ric8500.h"

#include <cstdio>
#include <string>

#include "receivers/icom/ic8500/ic8500.h"
#include "receivers/scan_stop.h"

namespace {

namespace st = ui::style;

// Option buttons exclude each other within the group box that holds them.
constexpr ui::ControlResource kRic8500Controls[] = {UI_CONTROL_ROWS(RIC8500_CONTROLS)};

constexpr ui::FormResource kRic8500Form{"ID_RIC8500",      250,          166,
                                        "8.MS Sans Serif", st::kCaption, "Установка Параметров",
                                        kRic8500Controls};

// One step of the sliders is 16 level units.
constexpr int kSliderUnit = 16;
constexpr int kSliderTop = 15;

}  // namespace

RIC8500::RIC8500(IC8500& panel) : panel_(panel) {
    ui::RegisterFormResource(kRic8500Form);
    On(ui::EventId::Create, [this](ui::EventData&) { OnCreate(); });
}

RIC8500::~RIC8500() {
    Destroy();
}

void RIC8500::Open(ui::Form* owner) {
    if (!HasWindow() && !Create(kRic8500Form.name, owner)) return;
    ShowSettings();
    Show();
}

void RIC8500::OnCreate() {
    CreateFormControls();
    for (ui::Slider* slider : {soundlvl, peaklvl, centrelvl}) slider->SetRange(0, kSliderTop);
    scan_stop::FillActions(pausemode);
    Wire();
}

void RIC8500::ShowSettings() {
    const Ic8500Settings& s = panel_.Settings;
    const CivScanSettings& scan = s.Scan;
    diapscan->SetChecked(scan.RangeScan);
    bankscan->SetChecked(scan.BankScan);
    handscan->SetChecked(scan.ManualScan);
    scanAUTO->SetChecked(scan.Auto);
    selmode->SetChecked(scan.SelectedChannels);
    modmode->SetChecked(scan.SelectedModes);
    priofreq->SetChecked(scan.Priority);
    vsc->SetChecked(scan.Vsc);
    resout->SetChecked(scan.NoReadBack);
    resdelay->SetChecked(scan.Delay);
    resoff->SetChecked(scan.DropOut);
    (s.Fnar ? Fnar : Fnorm)->SetChecked(true);
    (s.Cnar ? Cnar : Cnorm)->SetChecked(true);
    (s.Anar ? Anar : s.Awide ? Awide : Anorm)->SetChecked(true);
    (s.DefaultAttenuatorDb == 30   ? optb_2
     : s.DefaultAttenuatorDb == 20 ? optb_1
                                   : att10)
        ->SetChecked(true);
    soundlvl->SetPosition(static_cast<int>(s.DefaultAudioLevel) / kSliderUnit);
    peaklvl->SetPosition(static_cast<int>(s.PeakSetting) / kSliderUnit);
    centrelvl->SetPosition(static_cast<int>(s.CentreSetting) / kSliderUnit);
    scan_stop::ShowAction(pausemode, static_cast<uint32_t>(scan.Action));
    scan_stop::ShowJobs(jobs, *panel_.State(), scan.JobIndex);
    // The PRIO bank's one channel.
    const uint32_t prio = panel_.Channel(IC8500::kPrioBank, 0).Frequency;
    char text[32] = "";
    if (prio != 0) std::snprintf(text, sizeof text, "%9.4f", prio / 10000.0);
    fprio->SetText(text);
}

void RIC8500::Wire() {
    Ic8500Settings& s = panel_.Settings;
    CivScanSettings& scan = s.Scan;
    const auto on = [](ui::Control* control, ui::EventId id, auto action) {
        control->AddHandler(id, [action](ui::Object&, ui::EventData& e) {
            action(e);
            return false;
        });
    };
    // An option acts when it becomes the ticked one of its group.
    const auto onChosen = [&on](ui::OptionButton* option, auto action) {
        on(option, ui::EventId::Click, [option, action](ui::EventData&) {
            if (option->IsChecked()) action();
        });
    };
    onChosen(diapscan, [&scan] {
        scan.RangeScan = true;
        scan.BankScan = scan.ManualScan = false;
    });
    onChosen(bankscan, [&scan] {
        scan.BankScan = true;
        scan.RangeScan = scan.ManualScan = false;
    });
    onChosen(handscan, [&scan] {
        scan.ManualScan = true;
        scan.RangeScan = scan.BankScan = false;
    });
    on(scanAUTO, ui::EventId::Click,
       [this, &scan](ui::EventData&) { scan.Auto = scanAUTO->IsChecked(); });
    on(priofreq, ui::EventId::Click,
       [this, &scan](ui::EventData&) { scan.Priority = priofreq->IsChecked(); });
    on(vsc, ui::EventId::Click, [this, &scan](ui::EventData&) { scan.Vsc = vsc->IsChecked(); });
    // The scan takes the selected channels or those of the current mode, never both.
    on(selmode, ui::EventId::Click, [this, &scan](ui::EventData&) {
        scan.SelectedChannels = selmode->IsChecked();
        if (!scan.SelectedChannels) return;
        scan.SelectedModes = false;
        modmode->SetChecked(false);
    });
    on(modmode, ui::EventId::Click, [this, &scan](ui::EventData&) {
        scan.SelectedModes = modmode->IsChecked();
        if (!scan.SelectedModes) return;
        scan.SelectedChannels = false;
        selmode->SetChecked(false);
    });
    onChosen(resout, [&scan] {
        scan.NoReadBack = true;
        scan.Delay = scan.DropOut = false;
    });
    onChosen(resdelay, [&scan] {
        scan.Delay = true;
        scan.NoReadBack = scan.DropOut = false;
    });
    onChosen(resoff, [&scan] {
        scan.DropOut = true;
        scan.NoReadBack = scan.Delay = false;
    });

    onChosen(Fnorm, [this, &s] {
        s.Fnar = false;
        FilterChosen();
    });
    onChosen(Fnar, [this, &s] {
        s.Fnar = true;
        FilterChosen();
    });
    onChosen(Cnorm, [this, &s] {
        s.Cnar = false;
        FilterChosen();
    });
    onChosen(Cnar, [this, &s] {
        s.Cnar = true;
        FilterChosen();
    });
    onChosen(Anorm, [this, &s] {
        s.Anar = s.Awide = false;
        FilterChosen();
    });
    onChosen(Anar, [this, &s] {
        s.Anar = true;
        s.Awide = false;
        FilterChosen();
    });
    onChosen(Awide, [this, &s] {
        s.Awide = true;
        s.Anar = false;
        FilterChosen();
    });

    onChosen(att10, [&s] { s.DefaultAttenuatorDb = 10; });
    onChosen(optb_1, [&s] { s.DefaultAttenuatorDb = 20; });
    onChosen(optb_2, [&s] { s.DefaultAttenuatorDb = 30; });

    on(soundlvl, ui::EventId::Change, [&s](ui::EventData& e) {
        s.DefaultAudioLevel = static_cast<uint32_t>(e.value) * kSliderUnit;
    });
    const auto sendLevel = [this](const char* command, uint32_t level) {
        char payload[16];
        std::snprintf(payload, sizeof payload, "%s%04u", command, level);
        panel_.Exchange(payload, civ::kLevelSet);
    };
    on(peaklvl, ui::EventId::Change, [&s, sendLevel](ui::EventData& e) {
        s.PeakSetting = static_cast<uint32_t>(e.value) * kSliderUnit;
        sendLevel("1404", s.PeakSetting);
    });
    on(centrelvl, ui::EventId::Change, [&s, sendLevel](ui::EventData& e) {
        s.CentreSetting = static_cast<uint32_t>(e.value) * kSliderUnit;
        sendLevel("1405", s.CentreSetting);
    });
    on(pausemode, ui::EventId::Select, [&scan](ui::EventData& e) {
        if (const auto action = scan_stop::ChosenAction(e.value)) scan.Action = *action;
    });
    on(jobs, ui::EventId::Select, [this, &scan](ui::EventData& e) {
        const scan_stop::ChosenJob job = scan_stop::JobAt(*panel_.State(), e.value);
        scan.JobIndex = job.index;
        scan.JobName = job.name;
    });
}

// The receiver switches at once when its current mode is the one whose filter changed; the
// panel sends the mode as the settings now choose it.
void RIC8500::FilterChosen() {
    panel_.SetMode();
}
