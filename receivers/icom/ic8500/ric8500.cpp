#include "receivers/icom/ic8500/ric8500.h"

#include <cstdio>
#include <string>

#include "receivers/icom/ic8500/ic8500.h"
#include "state/user_job.h"

namespace {

using ui::ControlKind;
namespace st = ui::style;

// Rectangles in dialog units: left, top, width, height. Option buttons exclude each other
// within the group box that holds them.
// clang-format off
constexpr ui::ControlResource kRic8500Controls[] = {
    {101, ControlKind::GroupBox, "groupb_1", {4, 2, 118, 78}, 0, "Сканирование", nullptr},
    {102, ControlKind::OptionButton, "diapscan", {8, 13, 46, 10}, 0, "Диапазон", nullptr},
    {103, ControlKind::OptionButton, "bankscan", {8, 25, 46, 10}, 0, "Банк", nullptr},
    {104, ControlKind::OptionButton, "handscan", {8, 37, 46, 10}, 0, "Ручное", nullptr},
    {105, ControlKind::CheckBox, "scanAUTO", {56, 13, 62, 10}, 0, "АВТО", nullptr},
    {106, ControlKind::CheckBox, "selmode", {56, 25, 62, 10}, 0, "Выбор каналов", nullptr},
    {107, ControlKind::CheckBox, "modmode", {56, 37, 62, 10}, 0, "Выбор мод", nullptr},
    {108, ControlKind::CheckBox, "priofreq", {8, 50, 46, 10}, 0, "Прио", nullptr},
    {109, ControlKind::CheckBox, "vsc", {56, 50, 62, 10}, 0, "VSC", nullptr},
    {110, ControlKind::Label, "label_1", {8, 66, 22, 9}, st::kNoWrap, "PRIO", nullptr},
    {111, ControlKind::Label, "fprio", {34, 66, 60, 9}, st::kNoWrap, nullptr, nullptr},
    {112, ControlKind::GroupBox, "groupb_2", {126, 2, 122, 46}, 0, "Возобновление", nullptr},
    {113, ControlKind::OptionButton, "resout", {132, 13, 60, 10}, 0, "Запрет", nullptr},
    {114, ControlKind::OptionButton, "resdelay", {132, 25, 60, 10}, 0, "Задержка", nullptr},
    {115, ControlKind::OptionButton, "resoff", {132, 37, 60, 10}, 0, "Пропадание", nullptr},
    {116, ControlKind::GroupBox, "groupb_3", {126, 50, 60, 30}, 0, "FM", nullptr},
    {117, ControlKind::OptionButton, "Fnorm", {128, 62, 31, 10}, 0, "Норм", nullptr},
    {118, ControlKind::OptionButton, "Fnar", {161, 62, 24, 10}, 0, "Узк", nullptr},
    {119, ControlKind::GroupBox, "groupb_4", {188, 50, 60, 30}, 0, "CW", nullptr},
    {120, ControlKind::OptionButton, "Cnorm", {190, 62, 31, 10}, 0, "Норм", nullptr},
    {121, ControlKind::OptionButton, "Cnar", {223, 62, 24, 10}, 0, "Узк", nullptr},
    {122, ControlKind::GroupBox, "groupb_5", {4, 82, 118, 26}, 0, "AM", nullptr},
    {123, ControlKind::OptionButton, "Anorm", {10, 93, 34, 10}, 0, "Норм", nullptr},
    {124, ControlKind::OptionButton, "Anar", {46, 93, 34, 10}, 0, "Узк", nullptr},
    {125, ControlKind::OptionButton, "Awide", {82, 93, 36, 10}, 0, "Шир", nullptr},
    {126, ControlKind::GroupBox, "groupb_6", {126, 82, 122, 26}, 0, "Аттенюатор, дБ", nullptr},
    {127, ControlKind::OptionButton, "att10", {132, 93, 30, 10}, 0, "10", nullptr},
    {128, ControlKind::OptionButton, "optb_1", {166, 93, 30, 10}, 0, "20", nullptr},
    {129, ControlKind::OptionButton, "optb_2", {200, 93, 30, 10}, 0, "30", nullptr},
    {130, ControlKind::Label, "label_2", {4, 114, 30, 9}, st::kNoWrap, "Звук", nullptr},
    {131, ControlKind::Slider, "soundlvl", {36, 111, 84, 14}, 0, nullptr, "Уровень звука по умолчанию"},
    {132, ControlKind::Label, "label_3", {126, 114, 30, 9}, st::kNoWrap, "Пик", nullptr},
    {133, ControlKind::Slider, "peaklvl", {158, 111, 90, 14}, 0, nullptr, nullptr},
    {134, ControlKind::Label, "label_4", {4, 132, 30, 9}, st::kNoWrap, "Центр", nullptr},
    {135, ControlKind::Slider, "centrelvl", {36, 129, 84, 14}, 0, nullptr, nullptr},
    {136, ControlKind::Label, "label_5", {126, 132, 30, 9}, st::kNoWrap, "Пауза", nullptr},
    {137, ControlKind::ComboBox, "pausemode", {158, 130, 90, 60}, 0, nullptr, nullptr},
    {138, ControlKind::Label, "label_6", {4, 150, 30, 9}, st::kNoWrap, "Задание", nullptr},
    {139, ControlKind::ComboBox, "jobs", {36, 148, 212, 60}, 0, nullptr, nullptr},
};
// clang-format on

constexpr ui::FormResource kRic8500Form{"ID_RIC8500",      250,          166,
                                        "8.MS Sans Serif", st::kCaption, "Установка Параметров",
                                        kRic8500Controls};

// What the panel does when the receiver's scan stops on a signal, by pause mode.
constexpr const char* kPauseModes[] = {"режим пауза", "звуковой сигнал", "выполнение задания",
                                       "занести частоту в банк"};
constexpr const char* kNoJob = "нет задания";
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
    for (int number = 101; number <= 139; ++number) CreateControlByNumber(number);
    const auto find = [this]<class T>(T*& control, const char* name) {
        control = dynamic_cast<T*>(FindControl(name));
    };
    find(diapscan, "diapscan");
    find(bankscan, "bankscan");
    find(handscan, "handscan");
    find(scanAUTO, "scanAUTO");
    find(selmode, "selmode");
    find(modmode, "modmode");
    find(priofreq, "priofreq");
    find(vsc, "vsc");
    find(fprio, "fprio");
    find(resout, "resout");
    find(resdelay, "resdelay");
    find(resoff, "resoff");
    find(Fnorm, "Fnorm");
    find(Fnar, "Fnar");
    find(Cnorm, "Cnorm");
    find(Cnar, "Cnar");
    find(Anorm, "Anorm");
    find(Anar, "Anar");
    find(Awide, "Awide");
    find(att10, "att10");
    find(optb_1, "optb_1");
    find(optb_2, "optb_2");
    find(soundlvl, "soundlvl");
    find(peaklvl, "peaklvl");
    find(centrelvl, "centrelvl");
    find(pausemode, "pausemode");
    find(jobs, "jobs");
    for (ui::Slider* slider : {soundlvl, peaklvl, centrelvl}) slider->SetRange(0, kSliderTop);
    for (const char* text : kPauseModes) pausemode->AddString(text);
    Wire();
}

void RIC8500::ShowSettings() {
    const Ic8500Settings& s = panel_.Settings;
    const Ic8500ScanSettings& scan = s.Scan;
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
    pausemode->SetSelectedIndex(
        scan.PauseMode < std::size(kPauseModes) ? static_cast<int>(scan.PauseMode) : 0);
    jobs->Clear();
    jobs->AddString(kNoJob);
    for (const UserJob* job : panel_.State()->Jobs) jobs->AddString(job ? job->Identifier : "");
    jobs->SetSelectedIndex(scan.JobIndex > 0 && scan.JobIndex < jobs->Count() ? scan.JobIndex : 0);
    // The PRIO bank's one channel.
    const uint32_t prio = panel_.Channel(IC8500::kPrioBank, 0).Frequency;
    char text[32] = "";
    if (prio != 0) std::snprintf(text, sizeof text, "%9.4f", prio / 10000.0);
    fprio->SetText(text);
}

void RIC8500::Wire() {
    Ic8500Settings& s = panel_.Settings;
    Ic8500ScanSettings& scan = s.Scan;
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
        if (e.value >= 0 && e.value < static_cast<int64_t>(std::size(kPauseModes)))
            scan.PauseMode = static_cast<uint32_t>(e.value);
    });
    on(jobs, ui::EventId::Select, [this, &scan](ui::EventData& e) {
        const auto& list = panel_.State()->Jobs;
        const bool job = e.value > 0 && e.value <= static_cast<int64_t>(list.size()) &&
                         list[static_cast<std::size_t>(e.value - 1)];
        scan.JobIndex = job ? static_cast<int32_t>(e.value) : 0;
        scan.JobName = job ? list[static_cast<std::size_t>(e.value - 1)]->Identifier : "";
    });
}

// The receiver switches at once when its current mode is the one whose filter changed; the
// panel sends the mode as the settings now choose it.
void RIC8500::FilterChosen() {
    panel_.SetMode();
}
