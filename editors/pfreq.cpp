#include "editors/pfreq.h"

#include "state/fdx.h"
#include "state/format_text.h"
#include "state/user_freq.h"
#include "ui/form.h"

namespace {

using ui::ControlKind;
namespace st = ui::style;

// Rectangles in dialog units: left, top, width, height.
// clang-format off
constexpr ui::ControlResource kPfreqControls[] = {
    {101, ControlKind::Label, "label_1", {10, 4, 263, 9}, st::kCentered | st::kNoWrap | st::kBold, nullptr, nullptr},
    {102, ControlKind::Label, "label_2", {10, 24, 136, 8}, st::kNoWrap, "Шаг опроса частот:", nullptr},
    {103, ControlKind::Edit, "fstep", {150, 22, 50, 12}, 0, nullptr, nullptr},
    {104, ControlKind::Label, "label_3", {204, 24, 20, 8}, st::kNoWrap, "сек", nullptr},
    {105, ControlKind::Label, "label_4", {10, 42, 136, 8}, st::kNoWrap, "Сигнализировать ожидание:", nullptr},
    {106, ControlKind::ComboBox, "wsig", {150, 40, 110, 60}, 0, nullptr, nullptr},
    {107, ControlKind::Label, "label_5", {10, 60, 136, 8}, st::kNoWrap, "Ожидание по превышению порога:", nullptr},
    {108, ControlKind::Edit, "wlevel", {150, 58, 50, 12}, 0, nullptr, nullptr},
    {109, ControlKind::Label, "dbunit", {204, 60, 20, 8}, st::kNoWrap | st::kHidden, "дБ", nullptr},
    {110, ControlKind::Label, "label_6", {10, 78, 136, 8}, st::kNoWrap, "Время ожидания:", nullptr},
    {111, ControlKind::Edit, "wtime", {150, 76, 50, 12}, 0, nullptr, nullptr},
    {112, ControlKind::Label, "label_7", {204, 78, 20, 8}, st::kNoWrap, "сек", nullptr},
    {113, ControlKind::Label, "label_8", {10, 96, 136, 8}, st::kNoWrap, "Условия сброса ожидания", nullptr},
    {114, ControlKind::ComboBox, "wcond", {150, 94, 110, 60}, 0, nullptr, nullptr},
    {115, ControlKind::Label, "label_9", {10, 114, 136, 8}, st::kNoWrap, "Интервал времени сканирования :", nullptr},
    {116, ControlKind::Edit, "stime", {150, 112, 50, 12}, 0, nullptr, nullptr},
    {117, ControlKind::Label, "label_10", {204, 114, 20, 8}, st::kNoWrap, "мин", nullptr},
    {118, ControlKind::Label, "label_11", {10, 132, 136, 8}, st::kNoWrap, "Выполнять задание при ожидании:", nullptr},
    {119, ControlKind::ComboBox, "job", {150, 130, 110, 80}, 0, nullptr, nullptr},
    {120, ControlKind::CommandButton, "cb_1", {110, 190, 63, 12}, 0, "Записать", nullptr},
};
// clang-format on

// The form fills the main window's parameters page.
constexpr ui::FormResource kPfreqForm{"ID_pfreq", 283,     209,           "8.MS Sans Serif",
                                      st::kChild, nullptr, kPfreqControls};

constexpr const char* kWaitSignals[] = {"режим пауза", "выполнение задания", "звуковой сигнал"};
constexpr const char* kWaitEnds[] = {"истечение времени", "пропадание сигнала", "кнопка ПАУЗА"};

}  // namespace

pfreq::pfreq() : ScanParams(kPfreqForm) {}

void pfreq::BuildControls() {
    label_1 = CreateControl<ui::Label>(101);
    fstep = CreateControl<ui::Edit>(103);
    wsig = CreateControl<ui::ComboBox>(106);
    wlevel = CreateControl<ui::Edit>(108);
    dbunit = CreateControl<ui::Label>(109);
    wtime = CreateControl<ui::Edit>(111);
    wcond = CreateControl<ui::ComboBox>(114);
    stime = CreateControl<ui::Edit>(116);
    job = CreateControl<ui::ComboBox>(119);
    cb_1 = CreateControl<ui::CommandButton>(120);
    for (const int label : {102, 104, 105, 107, 110, 112, 113, 115, 117, 118})
        CreateControlByNumber(label);
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
    bank->Poll = ReadCount(fstep->Text());
    StoreWait(*bank, wait_);
    bank->WriteFile();
}
