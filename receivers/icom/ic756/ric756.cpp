#include "receivers/icom/ic756/ric756.h"

#include <cstdio>
#include <string>

#include "receivers/icom/ic756/ic756.h"
#include "receivers/scan_stop.h"

namespace {

constexpr ui::ControlResource kRic756Controls[] = {UI_CONTROL_ROWS(RIC756_CONTROLS)};

constexpr ui::FormResource kRic756Form{
    "ID_RIC756",    250, 196, "8.MS Sans Serif", ui::style::kCaption, "Установка Параметров",
    kRic756Controls};

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

RIC756::RIC756(IC756& panel) : panel_(panel) {
    ui::RegisterFormResource(kRic756Form);
    On(ui::EventId::Create, [this](ui::EventData&) {
        CreateFormControls();
        for (ui::Slider* slider : {soundlvl, pik, sf}) slider->SetRange(0, kSliderTop);
        scan_stop::FillActions(pausemode);
        Wire();
    });
}

RIC756::~RIC756() {
    Destroy();
}

void RIC756::Open(ui::Form* owner) {
    if (!HasWindow() && !Create(kRic756Form.name, owner)) return;
    ShowSettings();
    Show();
}

void RIC756::ShowSettings() {
    const HfSettings& s = panel_.Settings;
    diapscan->SetChecked(s.RangeScan);
    bankscan->SetChecked(s.BankScan);
    handscan->SetChecked(s.ManualScan);
    selmode->SetChecked(s.SelectedChannels);
    (s.Rnar ? Rnar : R)->SetChecked(true);
    (s.Cnar ? Cnar : C)->SetChecked(true);
    soundlvl->SetPosition(static_cast<int>(s.DefaultSoundLevel) / kSliderUnit);
    pik->SetPosition(static_cast<int>(s.NoiseReduction) / kSliderUnit);
    sf->SetPosition(static_cast<int>(s.PbtShift) / kSliderUnit);
    (s.DefaultAttenuatorDb == 18   ? optb_2
     : s.DefaultAttenuatorDb == 12 ? optb_1
                                   : att10)
        ->SetChecked(true);
    fn->SetText(EdgeText(panel_.Channels[HfPanel::kLowerEdge]));
    fk->SetText(EdgeText(panel_.Channels[HfPanel::kUpperEdge]));
    scan_stop::ShowAction(pausemode, static_cast<uint32_t>(s.Action));
    scan_stop::ShowJobs(job, *panel_.State(), s.JobIndex);
}

void RIC756::Wire() {
    HfSettings& s = panel_.Settings;
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
    // One regime at a time.
    onChosen(diapscan, [&s] {
        s.RangeScan = true;
        s.BankScan = s.ManualScan = false;
    });
    onChosen(bankscan, [&s] {
        s.BankScan = true;
        s.RangeScan = s.ManualScan = false;
    });
    onChosen(handscan, [&s] {
        s.ManualScan = true;
        s.RangeScan = s.BankScan = false;
    });
    // The bank scan takes the selected channels or those of the current mode, never both;
    // cleared, it takes every channel.
    on(selmode, ui::EventId::Click, [this, &s](ui::EventData&) {
        s.SelectedChannels = selmode->IsChecked();
        if (s.SelectedChannels) s.SelectedModes = false;
    });
    // A narrow filter chosen or left: the receiver switches at once when its mode is the one.
    const auto narrow = [&](ui::OptionButton* option, bool HfSettings::*flag, bool set) {
        onChosen(option, [this, &s, flag, set] {
            s.*flag = set;
            panel_.SetMode();
        });
    };
    narrow(Rnar, &HfSettings::Rnar, true);
    narrow(R, &HfSettings::Rnar, false);
    narrow(Cnar, &HfSettings::Cnar, true);
    narrow(C, &HfSettings::Cnar, false);
    on(soundlvl, ui::EventId::Change, [&s](ui::EventData& e) {
        s.DefaultSoundLevel = static_cast<uint32_t>(e.value) * kSliderUnit;
    });
    onChosen(att10, [&s] { s.DefaultAttenuatorDb = 6; });
    onChosen(optb_1, [&s] { s.DefaultAttenuatorDb = 12; });
    onChosen(optb_2, [&s] { s.DefaultAttenuatorDb = 18; });
    on(pik, ui::EventId::Change, [this, &s](ui::EventData& e) {
        s.NoiseReduction = static_cast<uint32_t>(e.value) * kSliderUnit;
        panel_.SetNoiseReductionLevel(s.NoiseReduction);
    });
    on(sf, ui::EventId::Change, [this, &s](ui::EventData& e) {
        s.PbtShift = static_cast<uint32_t>(e.value) * kSliderUnit;
        panel_.SetPbtShift(s.PbtShift);
    });
    on(pausemode, ui::EventId::Select, [&s](ui::EventData& e) {
        if (const auto action = scan_stop::ChosenAction(e.value)) s.Action = *action;
    });
    on(job, ui::EventId::Select, [this, &s](ui::EventData& e) {
        const scan_stop::ChosenJob chosen = scan_stop::JobAt(*panel_.State(), e.value);
        s.JobIndex = chosen.index;
        s.JobName = chosen.name;
    });
}
