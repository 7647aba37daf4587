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

class pdiap : public ScanParams {
  public:
    pdiap();

    // Controls, owned by the form; empty until the create event.
    ui::Label* label_1 = nullptr;        // the range's name
    ui::ComboBox* swait = nullptr;       // "Ожидание"
    ui::Edit* level = nullptr;           // "Уровень"
    ui::CheckBox* marker = nullptr;      // "Маркер": the marker's level is the threshold
    ui::Label* dbunit = nullptr;         // shown with the dB option
    ui::Edit* twait = nullptr;           // "Время_ожидания", seconds, at most 3600
    ui::ComboBox* ewait = nullptr;       // "Условие"
    ui::ComboBox* processing = nullptr;  // "Обработка"
    ui::ComboBox* etalon = nullptr;      // "Эталон"
    ui::Edit* intv = nullptr;            // "Циклов"
    ui::UpDown* intvup = nullptr;
    ui::Edit* stime = nullptr;            // "Интервал", minutes
    ui::CheckBox* efreq = nullptr;        // "Исключение"
    ui::CheckBox* sfreq = nullptr;        // "Выделение"
    ui::CheckBox* wfreq = nullptr;        // "Фиксирование"
    ui::CheckBox* att = nullptr;          // "Атт"
    ui::CheckBox* journal = nullptr;      // "Журнал"
    ui::ComboBox* job = nullptr;          // "Задание"
    ui::CommandButton* bwrite = nullptr;  // "Записать"

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
