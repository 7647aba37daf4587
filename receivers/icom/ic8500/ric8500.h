#pragma once
// RIC8500, the IC-R8500 panel's scan-settings dialog: how the receiver's own scan runs, what
// the panel does when it stops on a signal, the filter variants SetMode sends, the default
// attenuator depth and audio level, and the peak and centre settings. It keeps nothing of its
// own: every control writes straight into the panel's settings, which the panel's state file
// keeps.

#include <array>

#include "receivers/icom/civ_memory/civ_scan_dialog.h"
#include "ui/form_controls.h"

// The dialog's controls (ui/form_controls.h).
// clang-format off
#define RIC8500_CONTROLS(X) \
    X(101, GroupBox, groupb_1, (4, 2, 118, 78), 0, "Сканирование", nullptr) \
    X(102, OptionButton, diapscan, (8, 13, 46, 10), 0, "Диапазон", nullptr, inherited) \
    X(103, OptionButton, bankscan, (8, 25, 46, 10), 0, "Банк", nullptr, inherited) \
    X(104, OptionButton, handscan, (8, 37, 46, 10), 0, "Ручное", nullptr, inherited) \
    X(105, CheckBox, scanAUTO, (56, 13, 62, 10), 0, "АВТО", nullptr) \
    X(106, CheckBox, selmode, (56, 25, 62, 10), 0, "Выбор каналов", nullptr) \
    X(107, CheckBox, modmode, (56, 37, 62, 10), 0, "Выбор мод", nullptr) \
    X(108, CheckBox, priofreq, (8, 50, 46, 10), 0, "Прио", nullptr) \
    X(109, CheckBox, vsc, (56, 50, 62, 10), 0, "VSC", nullptr) \
    X(110, Label, label_1, (8, 66, 22, 9), kNoWrap, "PRIO", nullptr) \
    X(111, Label, fprio, (34, 66, 60, 9), kNoWrap, nullptr, nullptr) \
    X(112, GroupBox, groupb_2, (126, 2, 122, 46), 0, "Возобновление", nullptr) \
    X(113, OptionButton, resout, (132, 13, 60, 10), 0, "Запрет", nullptr) \
    X(114, OptionButton, resdelay, (132, 25, 60, 10), 0, "Задержка", nullptr) \
    X(115, OptionButton, resoff, (132, 37, 60, 10), 0, "Пропадание", nullptr) \
    X(116, GroupBox, groupb_3, (126, 50, 60, 30), 0, "FM", nullptr) \
    X(117, OptionButton, Fnorm, (128, 62, 31, 10), 0, "Норм", nullptr) \
    X(118, OptionButton, Fnar, (161, 62, 24, 10), 0, "Узк", nullptr) \
    X(119, GroupBox, groupb_4, (188, 50, 60, 30), 0, "CW", nullptr) \
    X(120, OptionButton, Cnorm, (190, 62, 31, 10), 0, "Норм", nullptr) \
    X(121, OptionButton, Cnar, (223, 62, 24, 10), 0, "Узк", nullptr) \
    X(122, GroupBox, groupb_5, (4, 82, 118, 26), 0, "AM", nullptr) \
    X(123, OptionButton, Anorm, (10, 93, 34, 10), 0, "Норм", nullptr) \
    X(124, OptionButton, Anar, (46, 93, 34, 10), 0, "Узк", nullptr) \
    X(125, OptionButton, Awide, (82, 93, 36, 10), 0, "Шир", nullptr) \
    X(126, GroupBox, groupb_6, (126, 82, 122, 26), 0, "Аттенюатор, дБ", nullptr) \
    X(127, OptionButton, att10, (132, 93, 30, 10), 0, "10", nullptr, inherited) \
    X(128, OptionButton, optb_1, (166, 93, 30, 10), 0, "20", nullptr, inherited) \
    X(129, OptionButton, optb_2, (200, 93, 30, 10), 0, "30", nullptr, inherited) \
    X(130, Label, label_2, (4, 114, 30, 9), kNoWrap, "Звук", nullptr) \
    X(131, Slider, soundlvl, (36, 111, 84, 14), 0, nullptr, "Уровень звука по умолчанию", inherited) \
    X(132, Label, label_3, (126, 114, 30, 9), kNoWrap, "Пик", nullptr) \
    X(133, Slider, peaklvl, (158, 111, 90, 14), 0, nullptr, nullptr) \
    X(134, Label, label_4, (4, 132, 30, 9), kNoWrap, "Центр", nullptr) \
    X(135, Slider, centrelvl, (36, 129, 84, 14), 0, nullptr, nullptr) \
    X(136, Label, label_5, (126, 132, 30, 9), kNoWrap, "Пауза", nullptr) \
    X(137, ComboBox, pausemode, (158, 130, 90, 60), 0, nullptr, nullptr, inherited) \
    X(138, Label, label_6, (4, 150, 30, 9), kNoWrap, "Задание", nullptr) \
    X(139, ComboBox, jobs, (36, 148, 212, 60), 0, nullptr, nullptr)
// clang-format on

class IC8500;

class RIC8500 : public CivScanDialog {
  public:
    explicit RIC8500(IC8500& panel);

    // Controls, owned by the form; empty until the create event.
    UI_FORM_CONTROLS(RIC8500_CONTROLS)

  private:
    void CreateControls() override;
    void Wire() override;
    void ShowSettings() override;
    std::array<FlagOption<CivScanSettings>, 3> Resumes() const;
    std::array<FlagBox<CivScanSettings>, 3> Boxes() const;

    IC8500& panel_;
};
