#pragma once
// RIC756, the IC-756PRO panel's scan-regime dialog: which regime the panel's scan button starts
// (the range between the programmed-scan edges, the memory channels, or delta F), the narrow
// filters of RTTY and CW, the defaults the panel applies (sound level, attenuator depth), the
// receiver's noise-reduction and PBT-shift levels, and what a stop of the receiver's scan does.
// It keeps nothing of its own: every control writes straight into the panel, whose state file
// keeps it.

#include "receivers/icom/civ_memory/civ_scan_dialog.h"
#include "ui/form_controls.h"

class IC756;

// clang-format off
#define RIC756_CONTROLS(X) \
    X(101, GroupBox, groupb_1, (4, 2, 242, 52), 0, "РЕЖИМ  РАБОТЫ  ПО  КНОПКЕ  СКАНИРОВАНИЕ", nullptr) \
    X(102, OptionButton, diapscan, (10, 13, 118, 10), 0, "Сканирование диапазона частот", nullptr, inherited) \
    X(103, Label, label_1, (132, 14, 10, 9), kNoWrap, "c:", nullptr) \
    X(104, Label, fn, (144, 14, 40, 9), kNoWrap, nullptr, nullptr) \
    X(105, Label, label_2, (186, 14, 14, 9), kNoWrap, "по:", nullptr) \
    X(106, Label, fk, (202, 14, 40, 9), kNoWrap, nullptr, nullptr) \
    X(107, OptionButton, bankscan, (10, 26, 118, 10), 0, "Сканирование по текущему банку", nullptr, inherited) \
    X(108, CheckBox, selmode, (132, 26, 110, 10), 0, "только выбранные каналы", nullptr) \
    X(109, OptionButton, handscan, (10, 39, 118, 10), 0, "Delta F сканирование", nullptr, inherited) \
    X(110, GroupBox, groupb_2, (4, 58, 242, 68), 0, "ЗНАЧЕНИЯ  ПО  УМОЛЧАНИЮ", nullptr) \
    X(111, Label, label_3, (10, 78, 44, 9), kNoWrap, "Модуляция:", nullptr) \
    X(112, GroupBox, groupb_3, (58, 67, 90, 25), 0, "RTTY", nullptr) \
    X(113, OptionButton, Rnar, (62, 78, 36, 10), 0, "узк", nullptr) \
    X(114, OptionButton, R, (100, 78, 44, 10), 0, "обычн", nullptr) \
    X(115, GroupBox, groupb_4, (152, 67, 90, 25), 0, "CW", nullptr) \
    X(116, OptionButton, Cnar, (156, 78, 36, 10), 0, "узк", nullptr) \
    X(117, OptionButton, C, (194, 78, 44, 10), 0, "обычн", nullptr) \
    X(118, Label, label_4, (10, 98, 58, 9), kNoWrap, "Уровень звука:", nullptr) \
    X(119, Slider, soundlvl, (70, 95, 84, 14), 0, nullptr, nullptr, inherited) \
    X(120, Label, label_5, (10, 113, 52, 9), kNoWrap, "Аттеньюатор:", nullptr) \
    X(121, OptionButton, att10, (64, 112, 26, 10), 0, "6", nullptr, inherited) \
    X(122, OptionButton, optb_1, (92, 112, 28, 10), 0, "12", nullptr, inherited) \
    X(123, OptionButton, optb_2, (122, 112, 28, 10), 0, "18", nullptr, inherited) \
    X(124, Label, label_6, (4, 131, 82, 9), kNoWrap, "уровень ШУМ фильтра", nullptr) \
    X(125, Slider, pik, (88, 128, 84, 14), 0, nullptr, nullptr) \
    X(126, Label, label_7, (4, 147, 82, 9), kNoWrap, "уровень Сдвига Fц", nullptr) \
    X(127, Slider, sf, (88, 144, 84, 14), 0, nullptr, nullptr) \
    X(128, Label, label_8, (4, 164, 130, 9), kNoWrap, "СИГНАЛИЗАЦИЯ  РЕЖИМА   ПАУЗА", nullptr) \
    X(129, ComboBox, pausemode, (136, 162, 110, 60), kDropList, nullptr, nullptr, inherited) \
    X(130, Label, label_9, (4, 180, 80, 9), kNoWrap, "Выполнять задание :", nullptr) \
    X(131, ComboBox, job, (86, 178, 160, 60), kDropList, nullptr, nullptr)
// clang-format on

class RIC756 : public CivScanDialog {
  public:
    explicit RIC756(IC756& panel);

    UI_FORM_CONTROLS(RIC756_CONTROLS)

  private:
    void CreateControls() override;
    void Wire() override;
    void ShowSettings() override;

    IC756& panel_;
};
