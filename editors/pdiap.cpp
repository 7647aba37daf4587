#include "editors/pdiap.h"

#include <algorithm>

#include "state/etl.h"
#include "state/fdx.h"
#include "state/format_text.h"
#include "state/user_dp.h"
#include "ui/form.h"

namespace {

using ui::ControlKind;
namespace st = ui::style;

// Rectangles in dialog units: left, top, width, height.
// clang-format off
constexpr ui::ControlResource kPdiapControls[] = {
    {101, ControlKind::Label, "label_1", {10, 4, 263, 9}, st::kCentered | st::kNoWrap | st::kBold, nullptr, nullptr},
    {102, ControlKind::Label, "label_2", {10, 19, 136, 8}, st::kNoWrap, "Сигнализировать ожидание:", nullptr},
    {103, ControlKind::ComboBox, "swait", {150, 17, 110, 80}, 0, nullptr, nullptr},
    {104, ControlKind::Label, "label_3", {10, 33, 136, 8}, st::kNoWrap, "Ожидание по превышению порога:", nullptr},
    {105, ControlKind::Edit, "level", {150, 31, 50, 12}, 0, nullptr, nullptr},
    {106, ControlKind::Label, "dbunit", {204, 33, 14, 8}, st::kNoWrap | st::kHidden, "дБ", nullptr},
    {107, ControlKind::CheckBox, "marker", {220, 32, 56, 10}, 0, "Маркер", nullptr},
    {108, ControlKind::Label, "label_4", {10, 47, 136, 8}, st::kNoWrap, "Время ожидания:", nullptr},
    {109, ControlKind::Edit, "twait", {150, 45, 50, 12}, 0, nullptr, nullptr},
    {110, ControlKind::Label, "label_5", {204, 47, 20, 8}, st::kNoWrap, "сек", nullptr},
    {111, ControlKind::Label, "label_6", {10, 61, 136, 8}, st::kNoWrap, "Условия сброса ожидания", nullptr},
    {112, ControlKind::ComboBox, "ewait", {150, 59, 110, 60}, 0, nullptr, nullptr},
    {113, ControlKind::Label, "label_7", {10, 75, 136, 8}, st::kNoWrap, "Тип обработки:", nullptr},
    {114, ControlKind::ComboBox, "processing", {150, 73, 110, 100}, 0, nullptr, nullptr},
    {115, ControlKind::Label, "label_8", {10, 89, 136, 8}, st::kNoWrap, "Эталон:", nullptr},
    {116, ControlKind::ComboBox, "etalon", {150, 87, 110, 80}, 0, nullptr, nullptr},
    {117, ControlKind::Label, "label_9", {10, 103, 136, 8}, st::kNoWrap, "Количество циклов сканирования:", nullptr},
    {118, ControlKind::Edit, "intv", {150, 101, 50, 12}, 0, nullptr, nullptr},
    {119, ControlKind::UpDown, "intvup", {200, 101, 10, 12}, 0, nullptr, nullptr},
    {120, ControlKind::Label, "label_10", {10, 117, 136, 8}, st::kNoWrap, "Время сканирования:", nullptr},
    {121, ControlKind::Edit, "stime", {150, 115, 50, 12}, 0, nullptr, nullptr},
    {122, ControlKind::Label, "label_11", {204, 117, 20, 8}, st::kNoWrap, "мин", nullptr},
    {123, ControlKind::Label, "label_12", {10, 131, 136, 8}, st::kNoWrap, "Выполнять задание при ожидании:", nullptr},
    {124, ControlKind::ComboBox, "job", {150, 129, 110, 80}, 0, nullptr, nullptr},
    {125, ControlKind::CheckBox, "efreq", {10, 146, 150, 10}, 0, "Исключать фиксирован частоты:", nullptr},
    {126, ControlKind::CheckBox, "sfreq", {10, 157, 150, 10}, 0, "Сканировать фиксирован частоты:", nullptr},
    {127, ControlKind::CheckBox, "wfreq", {10, 168, 150, 10}, 0, "Ожидание на фиксированных частотах:", nullptr},
    {128, ControlKind::CheckBox, "att", {170, 146, 90, 10}, 0, "вкл Атт", nullptr},
    {129, ControlKind::CheckBox, "journal", {10, 179, 150, 10}, 0, "Заносить протокол в поле Текст:", nullptr},
    {130, ControlKind::CommandButton, "bwrite", {110, 193, 63, 12}, 0, "Записать", nullptr},
};
// clang-format on

// The form fills the main window's parameters page.
constexpr ui::FormResource kPdiapForm{"ID_pdiap", 283,     209,           "8.MS Sans Serif",
                                      st::kChild, nullptr, kPdiapControls};

constexpr const char* kWaitSignals[] = {"режим пауза", "выполнить задание", "звуковой сигнал ",
                                        "запись частоты в банк", "отметить маркером"};
constexpr const char* kWaitEnds[] = {"истечение  времени", "пропадание  сигнала", "кнопка  ПАУЗА"};
constexpr const char* kProcessings[] = {"нет обработки", "мин - эталон", "средн - эталон",
                                        "макс - эталон", "эталон - мин", "эталон - средн",
                                        "эталон - макс", "макс - мин",   "средн - мин"};
constexpr const char* kNoEtalon = "нет эталона";
constexpr uint32_t kLongestWait = 3600;
constexpr uint32_t kMostCycles = 2000000;  // as far as the up-down counts

}  // namespace

pdiap::pdiap() : ScanParams(kPdiapForm) {}

void pdiap::BuildControls() {
    label_1 = CreateControl<ui::Label>(101);
    swait = CreateControl<ui::ComboBox>(103);
    level = CreateControl<ui::Edit>(105);
    dbunit = CreateControl<ui::Label>(106);
    marker = CreateControl<ui::CheckBox>(107);
    twait = CreateControl<ui::Edit>(109);
    ewait = CreateControl<ui::ComboBox>(112);
    processing = CreateControl<ui::ComboBox>(114);
    etalon = CreateControl<ui::ComboBox>(116);
    intv = CreateControl<ui::Edit>(118);
    intvup = CreateControl<ui::UpDown>(119);
    stime = CreateControl<ui::Edit>(121);
    job = CreateControl<ui::ComboBox>(124);
    efreq = CreateControl<ui::CheckBox>(125);
    sfreq = CreateControl<ui::CheckBox>(126);
    wfreq = CreateControl<ui::CheckBox>(127);
    att = CreateControl<ui::CheckBox>(128);
    journal = CreateControl<ui::CheckBox>(129);
    bwrite = CreateControl<ui::CommandButton>(130);
    for (const int label : {102, 104, 108, 110, 111, 113, 115, 117, 120, 122, 123})
        CreateControlByNumber(label);
    GrowWithMainWindow();
    FillList(swait, kWaitSignals);
    FillList(ewait, kWaitEnds);
    FillList(processing, kProcessings);
    wait_ = {swait, level, dbunit, twait, ewait, stime, job, kLongestWait};
    intvup->SetRange(-1, 1);
    intvup->SetPosition(0);
    WireFlags();
    WireCommon(bwrite);
    SetName("pdiap");
}

void pdiap::WireFlags() {
    // Fixed points are either skipped or the only ones scanned.
    efreq->On(ui::EventId::Click, [this](ui::EventData&) {
        if (efreq->IsChecked()) sfreq->SetChecked(false);
    });
    sfreq->On(ui::EventId::Click, [this](ui::EventData&) {
        if (sfreq->IsChecked()) efreq->SetChecked(false);
    });
    wfreq->On(ui::EventId::Click, [this](ui::EventData&) {
        if (wfreq->IsChecked() && sfreq->IsChecked()) efreq->SetChecked(false);
    });
    // Each click counts once and the up-down stays at 0.
    intvup->AddHandler(ui::EventId::DeltaPosition, [this](ui::Object&, ui::EventData& e) {
        StepCycles(e.value > 0 ? 1 : -1);
        e.cancel = true;
        return true;
    });
}

bool pdiap::DefaultRecord() const {
    return fdx_->SelectedRange != nullptr && fdx_->SelectedRange->FolderName == "ROOT";
}

void pdiap::StepCycles(int direction) {
    const int64_t cycles = ReadCount(intv->Text(), kMostCycles);
    intv->SetText(
        FormatText("%u", unsigned(std::clamp<int64_t>(cycles + direction, 0, kMostCycles))));
}

void pdiap::FillControls() {
    const UserDp* range = fdx_->SelectedRange;
    if (range == nullptr) return;
    label_1->SetText(range->Identifier);
    FillWait(*range, wait_);
    marker->SetChecked(range->Marker);
    processing->SetSelectedIndex(int(range->Processing));
    intv->SetText(FormatText("%u", range->Cycles));
    efreq->SetChecked(range->Exclusion);
    sfreq->SetChecked(range->Selection);
    wfreq->SetChecked(range->Fixing);
    journal->SetChecked(range->Journal);

    etalon->Clear();
    etalon->AddString(kNoEtalon);
    shownEtalons_.clear();
    const bool root = DefaultRecord();
    if (!root) {
        for (const Etl* stored : fdx_->Etalons) {
            etalon->AddString(stored != nullptr ? stored->Identifier : std::string{});
            shownEtalons_.push_back(stored != nullptr ? stored->Name : std::string{});
        }
    }
    etalon->SetSelectedIndex(root ? 0 : fdx_->EtalonIndex);
    etalon->SetEnabled(!root);
    att->SetChecked(!root && range->Attenuator);
    att->SetEnabled(!root);
}

void pdiap::StoreControls() {
    UserDp* range = fdx_->SelectedRange;
    if (range == nullptr) return;
    StoreWait(*range, wait_);
    range->Marker = marker->IsChecked();
    range->Processing = ChosenOr(processing, range->Processing);
    range->Cycles = ReadCount(intv->Text());
    range->Exclusion = efreq->IsChecked();
    range->Selection = sfreq->IsChecked();
    range->Fixing = wfreq->IsChecked();
    range->Journal = journal->IsChecked();
    range->Attenuator = att->IsChecked();
    const int chosen = etalon->SelectedIndex();
    if (chosen == 0) range->Etalon.clear();
    if (chosen > 0 && chosen <= int(shownEtalons_.size()))
        range->Etalon = shownEtalons_[std::size_t(chosen - 1)];
    range->WriteFile();
}
