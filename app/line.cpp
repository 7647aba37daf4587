#include "app/line.h"

#include <cstdio>
#include <initializer_list>

#include "app/orvel_ini.h"
#include "receivers/panel_registry.h"
#include "state/fdx.h"
#include "state/message_bus.h"
#include "state/user_job.h"
#include "ui/post.h"

namespace {

namespace st = ui::style;

constexpr ui::ControlResource kLineControls[] = {UI_CONTROL_ROWS(LINE_CONTROLS)};

// The form fills the main window's parameters page, whose size it takes.
constexpr ui::FormResource kLine{"ID_line",  283,     209,          "8.MS Sans Serif",
                                 st::kChild, nullptr, kLineControls};

// Titles are drawn in colour 6 of the form library's sixteen-colour palette.
constexpr ui::Color kTitleColor = 0x008080;
constexpr int kListHeight = 125;

constexpr const char* kNoJob = "нет задания";

// The entry chosen in a list, or `kept` when none is (the value lay outside the list): a
// value from an odd file is written back as it was, never as a huge number.
int32_t ChosenOr(const ui::ComboBox* list, int32_t kept) {
    const int index = list->SelectedIndex();
    return index < 0 ? kept : index;
}

std::string MHzText(uint32_t offset) {
    char text[32];
    std::snprintf(text, sizeof text, "%8.4f", offset / 10000.0);
    return text;
}

}  // namespace

line::line() {
    ui::RegisterFormResource(kLine);
    On(ui::EventId::Create, [this](ui::EventData&) { OnCreate(); });
    On(ui::EventId::Destroy, [this](ui::EventData&) { OnDestroy(); });
    On(ui::EventId::User, [this](ui::EventData& e) { OnUserEvent(e.code); });
    // The right mouse button runs the macro or trigger job, as on every window.
    AddHandler(ui::EventId::RightButtonUp, [this](ui::Object&, ui::EventData&) {
        if (fdx_) PostPrivateMessage(fdx_->Owner, PostRunMacro);
        return false;
    });
}

line::~line() {
    Destroy();
}

bool line::Create(ui::Form* parent, FDX* fdx) {
    if (fdx) fdx_ = fdx;
    if (!fdx_) return false;
    return ui::Form::Create("ID_line", parent);
}

void line::OnCreate() {
    CreateControls();
    FillFixedLists();
    WireEvents();
    InitControls();
    Show();
}

void line::CreateControls() {
    CreateFormControls();

    for (ui::ComboBox* list : {com, speed, recv, autoexec}) list->SetListHeight(kListHeight);
    for (ui::Window* title : std::initializer_list<ui::Window*>{label_3, groupb_1, groupb_2})
        title->SetTextColor(kTitleColor);
    // The template hides the alignment option; an explicit hide keeps it hidden when the
    // form itself is shown later.
    algroup->Hide();
    natural->SetChecked(true);
    recv_save->SetChecked(true);
    scan_save->SetChecked(true);
}

void line::FillFixedLists() {
    for (const char* text : kPortList) com->AddString(text);
    for (const char* text : kSpeedList) speed->AddString(text);
    for (const std::string& text : panel_registry::ReceiverNames()) recv->AddString(text);
}

void line::WireEvents() {
    cb_1->AddHandler(ui::EventId::Click, [this](ui::Object&, ui::EventData&) {
        WriteSettings();
        return false;
    });
    // Natural and one-cycle scans may follow signals; a single measurement per range may not.
    for (ui::OptionButton* style : {natural, one_cycle})
        style->AddHandler(ui::EventId::Click, [this, style](ui::Object&, ui::EventData&) {
            if (style->IsChecked()) spy->SetEnabled(true);
            return false;
        });
    one_mes->AddHandler(ui::EventId::Click, [this](ui::Object&, ui::EventData&) {
        OnOneMesClick();
        return false;
    });
}

// The form deletes the controls once the destroy event is over.
void line::OnDestroy() {
    ForgetFormControls();
}

void line::OnOneMesClick() {
    if (one_mes->IsChecked()) {
        spy->SetChecked(false);
        spy->SetEnabled(false);
    } else {
        spy->SetEnabled(true);
    }
}

void line::InitControls() {
    // Receiver panels created after this form look at the mark (the start-up relies on it).
    fdx_->BuildingControls = 1;
    if (fdx_->OptMaxMon) {
        for (const ui::ControlResource& row : Resource()->controls) {
            ui::Control* control = FindControl(row.name);
            ui::Rect r = control->Geometry();
            r.x += fdx_->LayoutOffset;
            control->Move(r);
        }
    }
    FillControls();
}

void line::OnUserEvent(uint32_t code) {
    if (!fdx_ || !HasWindow()) return;
    if (code == PostRefreshDisplay) FillControls();
    if (code == PostSaveSettings) WriteSettings();
}

void line::FillControls() {
    if (!fdx_ || !HasWindow()) return;
    const FDX& s = *fdx_;
    plusFt->SetText(MHzText(s.PlusOffset));
    minFt->SetText(MHzText(s.MinusOffset));

    com->SetSelectedIndex(s.PortIndex);
    speed->SetSelectedIndex(s.SpeedIndex);
    // The IC-R9000 and the AR8600 run on another model's panel but are shown as themselves.
    shownReceiver_ = panel_registry::ConfiguredType(s.ReceiverType, s.ReceiverVariant);
    recv->SetSelectedIndex(shownReceiver_);

    autovalue->SetChecked(s.OptAuto);
    monitor->SetChecked(s.OptMaxMon);
    recv_save->SetChecked(s.OptRecvSave);
    scan_save->SetChecked(s.OptScanSave);
    end_scan->SetChecked(s.OptEndScan);
    natural->SetChecked(s.OptNatural);
    one_cycle->SetChecked(s.OptOneCycle);
    one_mes->SetChecked(s.OptOneMes);
    spy->SetChecked(s.OptSpy);
    sound->SetChecked(s.OptSound);
    algroup->SetChecked(s.OptAllign);
    dB->SetChecked(s.OptDb);
    lg->SetChecked(s.OptLg);

    autoexec->Clear();
    shownJobFolders_.clear();
    autoexec->AddString(kNoJob);
    for (const UserJob* job : s.Jobs) {
        if (!job) continue;
        autoexec->AddString(job->Identifier);
        shownJobFolders_.push_back(job->FolderName);
    }
    autoexec->SetSelectedIndex(s.AutoexecIndex);
}

void line::WriteSettings() {
    if (!fdx_ || !HasWindow()) return;
    FDX& s = *fdx_;

    OrvelSettings settings;
    settings.PortIndex = ChosenOr(com, s.PortIndex);
    settings.SpeedIndex = ChosenOr(speed, s.SpeedIndex);
    settings.ReceiverType = ChosenOr(recv, shownReceiver_);
    settings.PlusOffset = FDX::ParseMHz(plusFt->Text());
    settings.MinusOffset = FDX::ParseMHz(minFt->Text());
    settings.OptAuto = autovalue->IsChecked();
    settings.OptMaxMon = monitor->IsChecked();
    settings.OptSound = sound->IsChecked();
    settings.OptAllign = algroup->IsChecked();
    settings.OptLg = lg->IsChecked();
    settings.OptDb = dB->IsChecked();

    // Entry 0 is "no job"; with no entry chosen (the job was not in the list) the job
    // stays as it was.
    const int job = autoexec->SelectedIndex();
    if (job > 0 && job <= static_cast<int>(shownJobFolders_.size()))
        settings.AutoexecJob = shownJobFolders_[job - 1];
    else if (job < 0)
        settings.AutoexecJob = s.AutoexecJob;

    if (natural->IsChecked()) settings.GroupStyle = GroupScanStyle::Natural;
    if (one_cycle->IsChecked()) settings.GroupStyle = GroupScanStyle::OneCycle;
    if (one_mes->IsChecked()) settings.GroupStyle = GroupScanStyle::OneMes;

    settings.OptRecvSave = recv_save->IsChecked();
    settings.OptScanSave = scan_save->IsChecked();
    settings.OptEndScan = end_scan->IsChecked();
    settings.OptSpy = spy->IsChecked();

    if (!WriteOrvelIni(s, settings)) return;

    TakeOverOptions(s, settings);
    if (settings.OptLg) dB->SetChecked(true);
    if (job >= 0) s.AutoexecIndex = job;
    // Receiver, port and speed are set up only at start; the state keeps the running ones.
    if (settings.ReceiverType != shownReceiver_ || settings.PortIndex != s.PortIndex ||
        settings.SpeedIndex != s.SpeedIndex) {
        s.ShowError(3);
        s.RestartPending = 1;
    }
}
