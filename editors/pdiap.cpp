#include "editors/pdiap.h"

#include <algorithm>

#include "state/etl.h"
#include "state/fdx.h"
#include "state/format_text.h"
#include "state/user_dp.h"
#include "ui/form.h"

namespace {

namespace st = ui::style;

constexpr ui::ControlResource kPdiapControls[] = {UI_CONTROL_ROWS(PDIAP_CONTROLS)};

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
    CreateFormControls();
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
    const UserDp stored = *range;
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
    WriteOrRestore(*range, stored);
    // The list shows the etalon the record now holds.
    const auto shown = std::find(shownEtalons_.begin(), shownEtalons_.end(), range->Etalon);
    fdx_->EtalonIndex = range->Etalon.empty() || shown == shownEtalons_.end()
                            ? 0
                            : int32_t(shown - shownEtalons_.begin()) + 1;
}
