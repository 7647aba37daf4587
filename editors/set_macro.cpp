#include "editors/set_macro.h"

#include "state/message_bus.h"
#include "state/user_job.h"
#include "ui/form.h"
#include "ui/post.h"

namespace {

using ui::ControlKind;
namespace st = ui::style;

// Rectangles in dialog units: left, top, width, height.
// clang-format off
constexpr ui::ControlResource kSetMacroControls[] = {
    {101, ControlKind::Label, "label_1", {6, 8, 34, 8}, st::kNoWrap, "Макро:", nullptr},
    {102, ControlKind::ComboBox, "macro", {42, 6, 150, 80}, st::kDropList, nullptr, "Задание по правой кнопке мыши"},
    {103, ControlKind::Label, "label_2", {6, 26, 34, 8}, st::kNoWrap, "Тригер:", nullptr},
    {104, ControlKind::ComboBox, "triger", {42, 24, 150, 80}, st::kDropList, nullptr, "Задание попеременно с макро"},
    {105, ControlKind::CommandButton, "cb_OK", {52, 44, 44, 14}, 0, "OK", nullptr},
    {106, ControlKind::CommandButton, "cb_Cancel", {104, 44, 44, 14}, 0, "Отмена", nullptr},
};
// clang-format on

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
    label_1 = CreateControl<ui::Label>(101);
    macro = CreateControl<ui::ComboBox>(102);
    label_2 = CreateControl<ui::Label>(103);
    triger = CreateControl<ui::ComboBox>(104);
    cb_OK = CreateControl<ui::CommandButton>(105);
    cb_Cancel = CreateControl<ui::CommandButton>(106);
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
