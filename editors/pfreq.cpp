#include "editors/pfreq.h"

#include "state/fdx.h"
#include "state/format_text.h"
#include "state/user_freq.h"
#include "ui/form.h"

namespace {

namespace st = ui::style;

constexpr ui::ControlResource kPfreqControls[] = {UI_CONTROL_ROWS(PFREQ_CONTROLS)};

// The form fills the main window's parameters page.
constexpr ui::FormResource kPfreqForm{"ID_pfreq", 283,     209,           "8.MS Sans Serif",
                                      st::kChild, nullptr, kPfreqControls};

constexpr const char* kWaitSignals[] = {"режим пауза", "выполнение задания", "звуковой сигнал"};
constexpr const char* kWaitEnds[] = {"истечение времени", "пропадание сигнала", "кнопка ПАУЗА"};

}  // namespace

pfreq::pfreq() : ScanParams(kPfreqForm) {}

void pfreq::BuildControls() {
    CreateFormControls();
    GrowWithMainWindow();
    FillList(wsig, kWaitSignals);
    FillList(wcond, kWaitEnds);
    wait_ = {wsig, wlevel, dbunit, wtime, wcond, stime, job};
    WireCommon(cb_1);
    SetName("pfreq");
}

void pfreq::FillControls() {
    const UserFreq* bank = fdx_->SelectedBank;
    if (bank == nullptr) return;
    label_1->SetText(bank->Identifier);
    fstep->SetText(FormatText("%u", bank->Poll));
    FillWait(*bank, wait_);
}

void pfreq::StoreControls() {
    UserFreq* bank = fdx_->SelectedBank;
    if (bank == nullptr) return;
    const UserFreq stored = *bank;
    bank->Poll = ReadCount(fstep->Text());
    StoreWait(*bank, wait_);
    WriteOrRestore(*bank, stored);
}
