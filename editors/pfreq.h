#pragma once
// The bank-scan parameters `pfreq` on the main window's parameters page: the poll period, the
// reaction to a signal over the threshold, the hold time and its end, the length of the
// measurement series and the job to run, of the selected bank (FDX::SelectedBank, its
// freq.cfg).

#include "editors/scan_params.h"

class pfreq : public ScanParams {
  public:
    pfreq();

    // Controls, owned by the form; empty until the create event.
    ui::Label* label_1 = nullptr;       // the bank's name
    ui::Edit* fstep = nullptr;          // "Опрос", seconds
    ui::ComboBox* wsig = nullptr;       // "Ожидание"
    ui::Edit* wlevel = nullptr;         // "Уровень"
    ui::Label* dbunit = nullptr;        // shown with the dB option
    ui::Edit* wtime = nullptr;          // "Время_ожидания", seconds
    ui::ComboBox* wcond = nullptr;      // "Условие"
    ui::Edit* stime = nullptr;          // "Интервал", minutes
    ui::ComboBox* job = nullptr;        // "Задание"
    ui::CommandButton* cb_1 = nullptr;  // "Записать"

    void FillControls() override;
    void StoreControls() override;

  private:
    void BuildControls() override;

    WaitControls wait_;
};
