#include "windows/base.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <system_error>
#include <utility>

#include "state/fdx.h"
#include "state/format_text.h"
#include "state/message_bus.h"
#include "state/user_sc.h"
#include "ui/form.h"

namespace {

namespace st = ui::style;

constexpr ui::ControlResource kBaseControls[] = {UI_CONTROL_ROWS(BASE_CONTROLS)};

// The form fills the main window's parameters page.
constexpr ui::FormResource kBaseForm{"ID_base",  283,     209,          "8.MS Sans Serif",
                                     st::kChild, nullptr, kBaseControls};

constexpr int kListHeight = 125;
constexpr int kWriteFailed = 23;  // "Ошибка записи файла - списка!"

std::string MHzText(int64_t frequency) {
    return frequency < 0 ? std::string{} : FormatText("%8.4f", double(frequency) / 10000.0);
}

const Field* findCaption(const std::vector<Field>& list, const std::string& caption) {
    const auto at = std::find_if(list.begin(), list.end(),
                                 [&](const Field& field) { return field.Caption == caption; });
    return at == list.end() ? nullptr : &*at;
}

}  // namespace

base::base() : PageWindow("ID_base") {
    ui::RegisterFormResource(kBaseForm);
    On(ui::EventId::Create, [this](ui::EventData&) { OnCreate(); });
    On(ui::EventId::User, [this](ui::EventData& e) { OnUserEvent(e.code); });
    On(ui::EventId::RightButtonUp, [this](ui::EventData&) { Post(PostRunMacro); });
}

base::~base() {
    Destroy();
}

// ---- building

void base::OnCreate() {
    CreateFormControls();
    GrowWithMainWindow();
    for (ui::ComboBox* list : {order, fields}) list->SetListHeight(kListHeight);
    for (ui::UpDown* arrows : {orderup, fnup, fkup}) {
        arrows->SetRange(-1, 1);
        arrows->SetPosition(0);
    }
    WireControls();
    SetName("base");
    // The defined fields are known from the start: the order list offers them at once.
    fields_ = ReadFieldList(*fdx_);
    ShowLists();
}

void base::WireControls() {
    cb_1->On(ui::EventId::Click, [this](ui::EventData&) { Add(); });
    cb_2->On(ui::EventId::Click, [this](ui::EventData&) { Change(); });
    cb_3->On(ui::EventId::Click, [this](ui::EventData&) { Delete(); });
    // Each click acts once and the up-downs stay at 0.
    const auto arrows = [](ui::UpDown* control, std::function<void(int)> action) {
        control->AddHandler(ui::EventId::DeltaPosition, [action](ui::Object&, ui::EventData& e) {
            action(e.value > 0 ? 1 : -1);
            e.cancel = true;
            return true;
        });
    };
    arrows(orderup, [this](int direction) { MoveField(direction); });
    arrows(fnup, [this](int direction) { StepSpan(fn, direction); });
    arrows(fkup, [this](int direction) { StepSpan(fk, direction); });
    fields->On(ui::EventId::DropDown, [this](ui::EventData&) { OpenValues(); });
    listfact->On(ui::EventId::Select, [this](ui::EventData& e) { ChooseLine(int(e.value)); });
    listfact->On(ui::EventId::RightButtonUp, [this](ui::EventData&) { Post(PostRunMacro); });
}

// ---- the message bus

void base::OnUserEvent(uint32_t code) {
    if (fdx_ == nullptr || !HasWindow()) return;
    switch (code) {
        case PostTakeSelection:
            TakeSelection();
            LeaveSelection();
            break;
        case PostResetSelection:
            LeaveSelection();
            break;
        case PostItemLoaded:
            EnterSelection();
            break;
        case PostRefreshDisplay:
            Refresh();
            break;
        case PostClearData:
            ClearTags();
            break;
        default:
            break;
    }
}

void base::Refresh() {
    const UserSc* item = fdx_->SelectedFixed;
    root_ = item == nullptr || item->Name == "ROOT";
    label_1->SetText(item != nullptr ? item->Identifier : std::string{});
    fields_ = ReadFieldList(*fdx_);
    tags_.clear();
    fields->Clear();
    listfact->Clear();
    if (root_) {
        orderup->Show();
    } else {
        orderup->Hide();
        tags_ = ReadItemTags(*fdx_, TagsPath(), fields_);
        fn->SetText(MHzText(item->StartFrequency));
        fk->SetText(MHzText(item->EndFrequency));
    }
    fields->SetEnabled(!root_);
    cb_2->SetEnabled(!root_);
    ShowLists();
}

// `order` offers the defined fields; `listfact` shows them for the root, the tags for an item.
void base::ShowLists() {
    const std::string typed = order->Text();
    order->Clear();
    for (const Field& field : fields_) order->AddString(field.Caption);
    order->SetText(typed);
    const int selected = listfact->SelectedIndex();
    listfact->Clear();
    if (root_) {
        for (const Field& field : fields_) listfact->AddString(field.Caption);
    } else {
        for (const Field& tag : tags_) listfact->AddString(tag.Caption + "..." + tag.Value);
    }
    if (selected < listfact->Count()) listfact->SetSelectedIndex(selected);
}

void base::EnableLists(bool enabled) {
    order->SetEnabled(enabled);
    listfact->SetEnabled(enabled);
    fields->SetEnabled(enabled && !root_);
    cb_1->SetEnabled(enabled);
    cb_3->SetEnabled(enabled);
    for (ui::Window* span : std::initializer_list<ui::Window*>{fn, fk, fnup, fkup})
        span->SetEnabled(!enabled);
}

// ---- the span of a new fixed frequency

void base::EnterSelection() {
    fdx_->SelectionActive = 1;
    fn->SetText(MHzText(fdx_->SelectionStart));
    fk->SetText(MHzText(fdx_->SelectionEnd));
    for (ui::UpDown* arrows : {fnup, fkup}) arrows->SetPosition(0);
    EnableLists(false);
    orderup->SetEnabled(false);
    fn->SetFocus();
}

void base::LeaveSelection() {
    fdx_->SelectionActive = 0;
    EnableLists(true);
    orderup->SetEnabled(true);
}

void base::TakeSelection() {
    uint32_t start = FDX::ParseMHz(fn->Text());
    uint32_t end = FDX::ParseMHz(fk->Text());
    if (start > end) std::swap(start, end);
    // A span the receiver cannot tune is not handed back.
    if (start < fdx_->FreqLow || end > fdx_->FreqHigh) return;
    fdx_->SelectionStart = int32_t(start);
    fdx_->SelectionEnd = int32_t(end);
    Post(PostFixedFromSelection);
}

void base::StepSpan(ui::Edit* field, int direction) {
    const int64_t now = FDX::ParseMHz(field->Text());
    const int64_t next =
        std::clamp<int64_t>(now + direction * int64_t{fdx_->Step}, 1, int64_t{fdx_->FreqHigh});
    field->SetText(MHzText(next));
}

// ---- fields and tags

std::string base::TagsPath() const {
    return fdx_->SelectedFixed != nullptr
               ? ItemTagsPath(fdx_->ProgramDir, fdx_->SelectedFixed->Name)
               : std::string{};
}

// Message 23; the lists go back to what the files hold.
bool base::Stored(bool written) {
    if (written) return true;
    fdx_->ShowError(kWriteFailed);
    fields_ = ReadFieldList(*fdx_);
    tags_ = root_ ? std::vector<Field>{} : ReadItemTags(*fdx_, TagsPath(), fields_);
    return false;
}

const Field* base::DefineField(const std::string& caption) {
    if (const Field* known = findCaption(fields_, caption)) return known;
    const std::optional<std::string> id = FreeFieldId(fields_);
    if (!id) return nullptr;
    fields_.push_back({caption, *id, {}});
    if (!Stored(WriteFieldList(fdx_->ProgramDir, fields_))) return nullptr;
    return &fields_.back();
}

bool base::SaveTags() {
    if (fdx_->SelectedFixed == nullptr || !TagText(fdx_->SelectedFixed->Name)) return false;
    return Stored(WriteItemTags(TagsPath(), tags_));
}

bool base::AddTag(const std::string& caption, const std::string& value) {
    const bool itemNamed =
        root_ || (fdx_->SelectedFixed != nullptr && TagText(fdx_->SelectedFixed->Name));
    if (!TagText(caption) || (!root_ && !TagText(value)) || !itemNamed) {
        fdx_->ShowError(51);
        return false;
    }
    const Field* field = DefineField(caption);
    if (field == nullptr || root_) return true;
    const std::vector<std::string> known = ReadFieldValues(*fdx_, field->FileId);
    if (std::find(known.begin(), known.end(), value) == known.end() &&
        !Stored(AppendFieldValue(fdx_->ProgramDir, field->FileId, value)))
        return true;
    const Field tag{caption, {}, value};
    if (std::find(tags_.begin(), tags_.end(), tag) == tags_.end()) tags_.push_back(tag);
    SaveTags();
    return true;
}

void base::Add() {
    AddTag(order->Text(), fields->Text());
    ShowLists();
}

void base::Change() {
    if (root_) return;
    const int selected = listfact->SelectedIndex();
    const std::vector<Field> before = tags_;
    if (selected >= 0 && selected < int(tags_.size())) tags_.erase(tags_.begin() + selected);
    // A refused tag leaves the one it was to replace.
    if (!AddTag(order->Text(), fields->Text())) tags_ = before;
    ShowLists();
}

void base::Delete() {
    const int selected = listfact->SelectedIndex();
    std::vector<Field>& list = root_ ? fields_ : tags_;
    if (selected < 0 || selected >= int(list.size())) return;
    list.erase(list.begin() + selected);
    if (root_)
        Stored(WriteFieldList(fdx_->ProgramDir, fields_));
    else
        SaveTags();
    ShowLists();
}

void base::MoveField(int direction) {
    const int selected = listfact->SelectedIndex();
    const int target = selected - direction;
    if (!root_ || selected < 0 || target < 0 || target >= int(fields_.size()) ||
        selected >= int(fields_.size()))
        return;
    std::swap(fields_[std::size_t(selected)], fields_[std::size_t(target)]);
    const bool moved = Stored(WriteFieldList(fdx_->ProgramDir, fields_));
    ShowLists();
    listfact->SetSelectedIndex(moved ? target : selected);
}

void base::OpenValues() {
    const std::string typed = fields->Text();
    fields->Clear();
    if (const Field* field = findCaption(fields_, order->Text()))
        for (const std::string& value : ReadFieldValues(*fdx_, field->FileId))
            fields->AddString(value);
    fields->SetText(typed);
}

void base::ChooseLine(int index) {
    const std::vector<Field>& list = root_ ? fields_ : tags_;
    if (index < 0 || index >= int(list.size())) return;
    order->SetText(list[std::size_t(index)].Caption);
    if (!root_) fields->SetText(list[std::size_t(index)].Value);
}

void base::ClearTags() {
    tags_.clear();
    fields->Clear();
    listfact->Clear();
    if (!root_ && fdx_->SelectedFixed != nullptr && TagText(fdx_->SelectedFixed->Name)) {
        std::error_code error;  // a missing file is no error
        std::filesystem::remove(TagsPath(), error);
        if (!Stored(!error)) ShowLists();
    }
}
