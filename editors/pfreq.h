#pragma once
// The bank-scan parameters `pfreq` on the main window's parameters page: the poll period, the
// reaction to a signal over the threshold, the hold time and its end, the length of the
// measurement series and the job to run, of the selected bank (FDX::SelectedBank, its
// freq.cfg).

#include "editors/scan_params.h"
#include "ui/form_controls.h"

// The controls of the form (ui/form_controls.h), in the order they are made.
// clang-format off
#define PFREQ_CONTROLS(X) \
    X(101, Label, label_1, (10, 4, 263, 9), kCentered | kNoWrap | kBold, nullptr, nullptr) /* the bank's name */ \
    X(102, Label, label_2, (10, 24, 136, 8), kNoWrap, "Шаг опроса частот:", nullptr) \
    X(103, Edit, fstep, (150, 22, 50, 12), 0, nullptr, nullptr) /* "Опрос", seconds */ \
    X(104, Label, label_3, (204, 24, 20, 8), kNoWrap, "сек", nullptr) \
    X(105, Label, label_4, (10, 42, 136, 8), kNoWrap, "Сигнализировать ожидание:", nullptr) \
    X(106, ComboBox, wsig, (150, 40, 110, 60), 0, nullptr, nullptr) /* "Ожидание" */ \
    X(107, Label, label_5, (10, 60, 136, 8), kNoWrap, "Ожидание по превышению порога:", nullptr) \
    X(108, Edit, wlevel, (150, 58, 50, 12), 0, nullptr, nullptr) /* "Уровень" */ \
    X(109, Label, dbunit, (204, 60, 20, 8), kNoWrap | kHidden, "дБ", nullptr) /* shown with the dB option */ \
    X(110, Label, label_6, (10, 78, 136, 8), kNoWrap, "Время ожидания:", nullptr) \
    X(111, Edit, wtime, (150, 76, 50, 12), 0, nullptr, nullptr) /* "Время_ожидания", seconds */ \
    X(112, Label, label_7, (204, 78, 20, 8), kNoWrap, "сек", nullptr) \
    X(113, Label, label_8, (10, 96, 136, 8), kNoWrap, "Условия сброса ожидания", nullptr) \
    X(114, ComboBox, wcond, (150, 94, 110, 60), 0, nullptr, nullptr) /* "Условие" */ \
    X(115, Label, label_9, (10, 114, 136, 8), kNoWrap, "Интервал времени сканирования :", nullptr) \
    X(116, Edit, stime, (150, 112, 50, 12), 0, nullptr, nullptr) /* "Интервал", minutes */ \
    X(117, Label, label_10, (204, 114, 20, 8), kNoWrap, "мин", nullptr) \
    X(118, Label, label_11, (10, 132, 136, 8), kNoWrap, "Выполнять задание при ожидании:", nullptr) \
    X(119, ComboBox, job, (150, 130, 110, 80), 0, nullptr, nullptr) /* "Задание" */ \
    X(120, CommandButton, cb_1, (110, 190, 63, 12), 0, "Записать", nullptr)
// clang-format on

class pfreq : public ScanParams {
  public:
    pfreq();

    // Controls, owned by the form; empty until the create event.
    UI_FORM_CONTROLS(PFREQ_CONTROLS)

    void FillControls() override;
    void StoreControls() override;

  private:
    void BuildControls() override;

    WaitControls wait_;
};
