#include "editors/set_macro.h"

#include "state/message_bus.h"
#include "state/user_job.h"
#include "ui/form.h"
#include "ui/post.h"

namespace {

namespace st = ui::style;

constexpr ui::ControlResource kSetMacroControls[] = {UI_CONTROL_ROWS(SET_MACRO_CONTROLS)};

constexpr ui::FormResource kSetMacroForm{
    "ID_SetMacro",    198, 64, "8.MS Sans Serif", st::kCaption, "Выполнить по правой кнопке мыши",
    kSetMacroControls};

constexpr const char* kNoJob = "нет задания";

}  // namespace

SetMacro::SetMacro() {
    ui::RegisterFormResource(kSetMacroForm);
    On(ui::EventId::Create, [this](ui::EventData&) { OnCreate(); });
    On(ui::EventId::RightButtonUp,
       [this](ui::EventData&) { PostPrivateMessage(fdx_->Owner, PostRunMacro); });
    // A closed dialog is gone; the next opening makes it anew.
    On(ui::EventId::Close, [this](ui::EventData&) { DestroyLater(); });
}

SetMacro::~SetMacro() {
    Destroy();
}

bool SetMacro::Create(ui::Form* parent, FDX* state) {
    if (state == nullptr) return false;
    fdx_ = state;
    result_ = 0;
    if (!ui::Form::Create("ID_SetMacro", parent)) return false;
    CenterOnParent();
    SetModal(true);
    Show();
    return true;
}

void SetMacro::OnCreate() {
    CreateFormControls();
    Fill(macro, fdx_->MacroJob);
    Fill(triger, fdx_->TriggerJob);
    cb_OK->On(ui::EventId::Click, [this](ui::EventData&) { Ok(); });
    cb_Cancel->On(ui::EventId::Click, [this](ui::EventData&) { Cancel(); });
    SetName("SetMacro");
}

// A binding that points past the stored jobs (a job deleted since) shows as none.
void SetMacro::Fill(ui::ComboBox* list, int32_t chosen) {
    list->AddString(kNoJob);
    for (const UserJob* job : fdx_->Jobs) list->AddString(job != nullptr ? job->Identifier : "");
    list->SetSelectedIndex(chosen >= 1 && chosen < list->Count() ? chosen : 0);
}

void SetMacro::Take(const ui::ComboBox* list, int32_t& index, std::string& name) const {
    const int chosen = list->SelectedIndex();
    const bool job = chosen >= 1 && std::size_t(chosen) <= fdx_->Jobs.size() &&
                     fdx_->Jobs[std::size_t(chosen - 1)] != nullptr;
    index = job ? chosen : 0;
    name = job ? fdx_->Jobs[std::size_t(chosen - 1)]->FolderName : std::string();
}

void SetMacro::Ok() {
    Take(macro, fdx_->MacroJob, fdx_->MacroJobName);
    Take(triger, fdx_->TriggerJob, fdx_->TriggerJobName);
    result_ = 1;
    Close();
}

void SetMacro::Cancel() {
    result_ = 0;
    Close();
}
