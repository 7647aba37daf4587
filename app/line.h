#pragma once
// The settings dialog: shows the settings of ORVEL.INI on the main window's parameters
// page and writes them. Options take effect as soon as they are written; receiver type,
// port and speed at the next start, which message 3 tells the operator.

#include <cstdint>
#include <string>
#include <vector>

#include "ui/controls.h"
#include "ui/form_controls.h"

// The controls of the form (ui/form_controls.h), in the order they are made: a group box before
// the buttons it holds, which would otherwise lie under it.
// clang-format off
#define LINE_CONTROLS(X) \
    X(101, ComboBox, com, (59, 12, 56, 77), 0, nullptr, nullptr) \
    X(102, Label, label_1, (11, 15, 48, 9), kNoWrap, "Номер порта:", nullptr) \
    X(103, ComboBox, speed, (59, 27, 56, 77), 0, nullptr, nullptr) \
    X(104, Label, label_2, (12, 30, 45, 9), kNoWrap, "Скорость:", nullptr) \
    X(105, Label, label_3, (78, 3, 132, 9), kNoWrap, "ПАРАМЕТРЫ   НАСТРОЙКИ", nullptr) \
    X(106, ComboBox, recv, (59, 41, 56, 77), 0, nullptr, nullptr) \
    X(107, Label, label_4, (11, 45, 42, 9), kNoWrap, "Приемник:", nullptr) \
    X(108, CommandButton, cb_1, (96, 195, 63, 12), 0, "Записать", nullptr) \
    X(112, GroupBox, groupb_1, (9, 81, 240, 44), 0, "______________ СТИЛЬ СКАНИРОВАНИЯ В ГРУППЕ __________", nullptr) \
    X(113, GroupBox, groupb_2, (9, 156, 240, 36), 0, "_____СОХРАНЕНИЕ ИНФОРМАЦИИ ПРИ ПЕРЕЗАГРУЗКЕ ______", nullptr) \
    X(109, OptionButton, natural, (12, 92, 213, 10), 0, "Все циклы  диапазона = переход к следующему диапазону", nullptr) \
    X(110, OptionButton, one_cycle, (12, 102, 213, 10), 0, "Один цикл  диапазона = переход к следующему диапазону", nullptr) \
    X(111, OptionButton, one_mes, (12, 112, 234, 10), 0, "Одно измерение  диапазона = переход к следующему диапазону", nullptr) \
    X(114, CheckBox, recv_save, (30, 168, 198, 9), 0, "Информация о состоянии приемника - банки, частоты", nullptr) \
    X(115, CheckBox, scan_save, (30, 180, 195, 9), 0, "Информация сканирования - диапазоны, измерения", nullptr) \
    X(116, CheckBox, autovalue, (27, 57, 108, 11), 0, "Постоянный опрос частоты", nullptr) \
    X(117, CheckBox, spy, (12, 135, 108, 11), 0, "Автоматическое слежение", nullptr) \
    X(120, ComboBox, autoexec, (120, 39, 129, 77), 0, nullptr, nullptr) \
    X(121, Label, label_7, (120, 30, 69, 8), kNoWrap, "Задание при старте:", nullptr) \
    X(122, CheckBox, dB, (27, 69, 100, 11), 0, "Величина сигналов в дБ", nullptr) \
    X(123, CheckBox, algroup, (162, 195, 96, 9), kHidden | kDisabled, "Выравнивание в группе", nullptr) \
    X(124, CheckBox, sound, (135, 126, 120, 9), 0, "Выкл звука при  сканировании", nullptr) \
    X(125, Edit, plusFt, (207, 54, 42, 13), 0, nullptr, nullptr) \
    X(126, Label, label_5, (138, 57, 69, 11), kNoWrap, "Приращение   Fт  +", nullptr) \
    X(127, Edit, minFt, (207, 68, 42, 13), 0, nullptr, nullptr) \
    X(128, Label, label_6, (138, 69, 70, 10), kNoWrap, "Уменьшение   Fт  -", nullptr) \
    X(129, CheckBox, end_scan, (135, 135, 117, 10), 0, "Извещение о завершении", nullptr) \
    X(130, CheckBox, lg, (12, 125, 108, 11), 0, "Логарифмическая шкала", nullptr) \
    X(131, CheckBox, monitor, (39, 144, 177, 13), 0, "Использовать разрешение монитора 800x600", nullptr)
// clang-format on

class FDX;

class line : public ui::Form {
  public:
    line();
    ~line() override;

    // Creates the form from "ID_line" under parent, working on fdx (null: the state given
    // before). False without a state or when the window exists already.
    bool Create(ui::Form* parent, FDX* fdx);

    // Handles a posted code: PostRefreshDisplay fills the controls, PostSaveSettings
    // writes ORVEL.INI. Other codes are not for this form.
    void OnUserEvent(uint32_t code);
    // Shows the state in the controls; the job list offers FDX::Jobs with the entry
    // FDX::AutoexecIndex chosen (0: no job), both set by the main window beforehand.
    void FillControls();
    // Writes ORVEL.INI from the controls and takes the options over.
    void WriteSettings();

    // Controls, owned by the form; empty until the create event.
    UI_FORM_CONTROLS(LINE_CONTROLS)

  private:
    void OnCreate();
    void CreateControls();
    void FillFixedLists();
    void WireEvents();
    void InitControls();
    void OnDestroy();
    void OnOneMesClick();

    FDX* fdx_ = nullptr;                        // the state worked on: the main window's
    int32_t shownReceiver_ = 0;                 // receiver list index shown by the last fill
    std::vector<std::string> shownJobFolders_;  // folders of the job list's entries 1..
};
