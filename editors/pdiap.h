#pragma once
// The range-scan parameters `pdiap` on the main window's parameters page: the reaction to a
// signal over the threshold, the hold time and its end, the processing of the curves against
// the etalon, the etalon, the cycles and length of the scan, the fixed-point flags, the
// attenuator, the journal and the job, of the selected range (FDX::SelectedRange, its
// diap.cfg). The etalons offered are FDX::Etalons, which the main window gathers for the
// range first; the default parameters (the record of the folder "ROOT") have no etalon and
// no attenuator.

#include <string>
#include <vector>

#include "editors/scan_params.h"
#include "ui/form_controls.h"

// The controls of the form (ui/form_controls.h), in the order they are made.
// clang-format off
#define PDIAP_CONTROLS(X) \
    X(101, Label, label_1, (10, 4, 263, 9), kCentered | kNoWrap | kBold, nullptr, nullptr) /* the range's name */ \
    X(102, Label, label_2, (10, 19, 136, 8), kNoWrap, "Сигнализировать ожидание:", nullptr) \
    X(103, ComboBox, swait, (150, 17, 110, 80), 0, nullptr, nullptr) /* "Ожидание" */ \
    X(104, Label, label_3, (10, 33, 136, 8), kNoWrap, "Ожидание по превышению порога:", nullptr) \
    X(105, Edit, level, (150, 31, 50, 12), 0, nullptr, nullptr) /* "Уровень" */ \
    X(106, Label, dbunit, (204, 33, 14, 8), kNoWrap | kHidden, "дБ", nullptr) /* shown with the dB option */ \
    X(107, CheckBox, marker, (220, 32, 56, 10), 0, "Маркер", nullptr) /* "Маркер": the marker's level is the threshold */ \
    X(108, Label, label_4, (10, 47, 136, 8), kNoWrap, "Время ожидания:", nullptr) \
    X(109, Edit, twait, (150, 45, 50, 12), 0, nullptr, nullptr) /* "Время_ожидания", seconds, at most 3600 */ \
    X(110, Label, label_5, (204, 47, 20, 8), kNoWrap, "сек", nullptr) \
    X(111, Label, label_6, (10, 61, 136, 8), kNoWrap, "Условия сброса ожидания", nullptr) \
    X(112, ComboBox, ewait, (150, 59, 110, 60), 0, nullptr, nullptr) /* "Условие" */ \
    X(113, Label, label_7, (10, 75, 136, 8), kNoWrap, "Тип обработки:", nullptr) \
    X(114, ComboBox, processing, (150, 73, 110, 100), 0, nullptr, nullptr) /* "Обработка" */ \
    X(115, Label, label_8, (10, 89, 136, 8), kNoWrap, "Эталон:", nullptr) \
    X(116, ComboBox, etalon, (150, 87, 110, 80), 0, nullptr, nullptr) /* "Эталон" */ \
    X(117, Label, label_9, (10, 103, 136, 8), kNoWrap, "Количество циклов сканирования:", nullptr) \
    X(118, Edit, intv, (150, 101, 50, 12), 0, nullptr, nullptr) /* "Циклов" */ \
    X(119, UpDown, intvup, (200, 101, 10, 12), 0, nullptr, nullptr) \
    X(120, Label, label_10, (10, 117, 136, 8), kNoWrap, "Время сканирования:", nullptr) \
    X(121, Edit, stime, (150, 115, 50, 12), 0, nullptr, nullptr) /* "Интервал", minutes */ \
    X(122, Label, label_11, (204, 117, 20, 8), kNoWrap, "мин", nullptr) \
    X(123, Label, label_12, (10, 131, 136, 8), kNoWrap, "Выполнять задание при ожидании:", nullptr) \
    X(124, ComboBox, job, (150, 129, 110, 80), 0, nullptr, nullptr) /* "Задание" */ \
    X(125, CheckBox, efreq, (10, 146, 150, 10), 0, "Исключать фиксирован частоты:", nullptr) /* "Исключение" */ \
    X(126, CheckBox, sfreq, (10, 157, 150, 10), 0, "Сканировать фиксирован частоты:", nullptr) /* "Выделение" */ \
    X(127, CheckBox, wfreq, (10, 168, 150, 10), 0, "Ожидание на фиксированных частотах:", nullptr) /* "Фиксирование" */ \
    X(128, CheckBox, att, (170, 146, 90, 10), 0, "вкл Атт", nullptr) /* "Атт" */ \
    X(129, CheckBox, journal, (10, 179, 150, 10), 0, "Заносить протокол в поле Текст:", nullptr) /* "Журнал" */ \
    X(130, CommandButton, bwrite, (110, 193, 63, 12), 0, "Записать", nullptr)
// clang-format on

class pdiap : public ScanParams {
  public:
    pdiap();

    // Controls, owned by the form; empty until the create event.
    UI_FORM_CONTROLS(PDIAP_CONTROLS)

    void FillControls() override;
    void StoreControls() override;
    // intvup: one cycle more (+1) or less (-1).
    void StepCycles(int direction);

  private:
    void BuildControls() override;
    void WireFlags();
    bool DefaultRecord() const;

    WaitControls wait_;
    std::vector<std::string> shownEtalons_;  // names of the etalon list's entries 1..
};
