#pragma once
// The AR8000 panel's form ("ID_AR8000") and its scan-mode dialog's ("ID_RAR8000"): their
// controls, declared once (ui/form_controls.h). The rows marked `inherited` place the controls
// the AOR core drives (aor_panel.h).

#include "ui/form_controls.h"

// clang-format off
#define AR8000_CONTROLS(X) \
    X(100, Label, model, (4, 5, 34, 9), kBold | kNoWrap, "AR-8000", nullptr) \
    X(101, Label, label_1, (40, 2, 78, 14), kBold | kNoWrap, nullptr, nullptr, inherited) \
    X(102, Label, label_2, (120, 5, 28, 9), kNoWrap | kRight, "Полоса:", nullptr) \
    X(103, Edit, width, (150, 3, 26, 12), kDisabled, nullptr, nullptr, inherited) \
    X(104, Label, label_3, (178, 5, 44, 9), kNoWrap | kRight, "Шаг( КГц):", nullptr) \
    X(105, ComboBox, step, (224, 3, 56, 77), 0, nullptr, "Шаг частоты точной шкалы") \
    X(106, Canvas, scale, (4, 17, 276, 52), 0, nullptr, nullptr) \
    X(107, ScrollBar, hs, (4, 70, 276, 9), 0, nullptr, nullptr) \
    X(108, PictureButton, pictbttn_4, (4, 81, 18, 16), 0, nullptr, "Влево до Фикс частоты") \
    X(109, PictureButton, pictbttn_3, (24, 81, 18, 16), 0, nullptr, "Влево до Мах") \
    X(110, PictureButton, pictbttn_2, (44, 81, 18, 16), 0, nullptr, "Вправо до Мах") \
    X(111, PictureButton, pictbttn_5, (64, 81, 18, 16), 0, nullptr, "Вправо до Фикс частоты") \
    X(112, PictureButton, clear, (84, 81, 18, 16), 0, nullptr, "Очистить Шкалу/Остановить сканирование", inherited) \
    X(113, PictureButton, pictbttn_6, (104, 81, 18, 16), 0, nullptr, "Установка Параметров", inherited) \
    X(114, PictureButton, pictbttn_1, (124, 81, 18, 16), 0, nullptr, "Пуск Сканирования", inherited) \
    X(115, CommandButton, vfobutton, (146, 82, 34, 14), 0, "AVFO", "Переключение типа VFO") \
    X(116, CheckBox, catt, (184, 84, 28, 10), 0, "атт", "Вкл /выкл Аттеньюатора", inherited) \
    X(117, CheckBox, cauto, (214, 84, 32, 10), 0, "авто", "Включение/выключение режима AUTO", inherited) \
    X(118, CheckBox, csound, (248, 84, 32, 10), 0, "звук", "Вкл /выкл звука", inherited) \
    X(119, CommandButton, off, (4, 99, 30, 14), 0, "выкл", nullptr, inherited) \
    X(120, CheckBox, mem, (40, 101, 30, 10), 0, "пам", "Запись/Чтение всей памяти", inherited) \
    X(121, CheckBox, cbank, (72, 101, 30, 10), 0, "зап", "Непосредственная запись в приемник информации о банках", inherited) \
    X(122, CommandButton, cb_2, (104, 99, 20, 14), 0, "<", "Чтение банков памяти из приемника ", inherited) \
    X(123, CommandButton, cb_1, (126, 99, 20, 14), 0, ">", "Запись информации о банках в приемник", inherited) \
    X(124, CommandButton, cb_3, (148, 99, 22, 14), 0, "<<", "Внесение в банк текущих установок приемника", inherited) \
    X(125, GroupBox, ekv, (4, 114, 276, 66), 0, nullptr, nullptr) \
    X(126, ListView, lv_1, (8, 121, 150, 55), 0, nullptr, nullptr, inherited) \
    X(127, Label, label_4, (162, 124, 20, 9), kNoWrap, "Банк", nullptr) \
    X(128, ComboBox, bn, (184, 122, 30, 77), 0, nullptr, "Выбор банка из списка", inherited) \
    X(129, UpDown, updwbnum, (216, 122, 10, 14), 0, nullptr, "Выбор номера банка") \
    X(130, Label, Nk, (230, 124, 16, 9), kNoWrap | kBold, nullptr, nullptr, inherited) \
    X(131, Edit, textb_1, (162, 137, 56, 12), 0, nullptr, nullptr, inherited) \
    X(132, ComboBox, smod, (220, 137, 26, 77), 0, nullptr, nullptr, inherited) \
    X(133, Edit, sstep, (248, 137, 28, 12), 0, nullptr, nullptr, inherited) \
    X(134, Edit, comment, (162, 151, 74, 12), 0, nullptr, nullptr, inherited) \
    X(135, CheckBox, satt, (240, 152, 32, 10), 0, "атт", nullptr, inherited) \
    X(136, CheckBox, sel, (162, 166, 40, 10), 0, "выбор", nullptr, inherited) \
    X(137, CheckBox, skip, (206, 166, 48, 10), 0, "пропуск", nullptr, inherited) \
    X(138, Label, label_5, (40, 182, 44, 9), kNoWrap, "Fн", nullptr) \
    X(139, Label, label_6, (86, 182, 44, 9), kNoWrap, "Fк", nullptr) \
    X(140, Label, label_7, (132, 182, 26, 9), kNoWrap, "шаг", nullptr) \
    X(141, Label, label_8, (160, 182, 28, 9), kNoWrap, "мод", nullptr) \
    X(142, Label, label_9, (190, 182, 16, 9), kNoWrap, "атт", nullptr) \
    X(143, Label, label_10, (208, 182, 60, 9), kNoWrap, "комм", nullptr) \
    X(144, Label, label_11, (4, 193, 24, 9), kNoWrap, "Поиск", nullptr) \
    X(145, Label, sbank, (30, 193, 8, 9), kNoWrap | kBold, nullptr, nullptr, inherited) \
    X(146, Edit, textb_Fn, (40, 191, 44, 12), 0, nullptr, nullptr, inherited) \
    X(147, Edit, textb_Fk, (86, 191, 44, 12), 0, nullptr, nullptr, inherited) \
    X(148, Edit, textb_step, (132, 191, 26, 12), 0, nullptr, nullptr, inherited) \
    X(149, ComboBox, combo_mod, (160, 191, 28, 77), 0, nullptr, "Выбор модуляции из списка", inherited) \
    X(150, CheckBox, checkbox_att, (192, 192, 12, 10), 0, nullptr, nullptr, inherited) \
    X(151, Edit, textb_com, (208, 191, 72, 12), 0, nullptr, nullptr, inherited)

#define RAR8000_CONTROLS(X) \
    X(201, GroupBox, groupb_1, (4, 2, 170, 48), 0, "РЕЖИМ  РАБОТЫ  ПО  КНОПКЕ  СКАНИРОВАНИЕ", nullptr) \
    X(202, OptionButton, diapscan, (8, 13, 160, 10), 0, "Сканирование диапазона частот", nullptr, inherited) \
    X(203, OptionButton, bankscan, (8, 24, 160, 10), 0, "Сканирование по банку", nullptr, inherited) \
    X(204, CheckBox, selscan, (20, 36, 140, 10), 0, "выборочное сканирование", nullptr) \
    X(205, CheckBox, VSC, (180, 8, 90, 10), 0, "анализ   речи", nullptr) \
    X(206, CheckBox, Lev_box, (180, 20, 90, 10), 0, "анализ уровня", nullptr) \
    X(207, Label, label_1, (180, 33, 80, 9), kNoWrap, "Пороговый уровень:", nullptr) \
    X(208, Slider, soundlvl, (180, 42, 90, 14), 0, nullptr, nullptr) \
    X(209, Label, label_2, (183, 56, 88, 9), kNoWrap, "1   2   3   4   5   6   7", nullptr) \
    X(210, GroupBox, groupb_2, (4, 52, 170, 34), 0, nullptr, nullptr) \
    X(211, CheckBox, modscan, (8, 56, 100, 10), 0, "выбор по модуляции", nullptr) \
    X(212, Label, label_3, (10, 66, 150, 9), kNoWrap, "F   W   A   L    U    C", nullptr) \
    X(213, OptionButton, nfm, (10, 75, 12, 9), 0, nullptr, "Модуляция NFM") \
    X(214, OptionButton, wfm, (24, 75, 12, 9), 0, nullptr, "Модуляция WFM") \
    X(215, OptionButton, am, (38, 75, 12, 9), 0, nullptr, "Модуляция AM") \
    X(216, OptionButton, lsb, (52, 75, 12, 9), 0, nullptr, "Модуляция LSB") \
    X(217, OptionButton, usb, (66, 75, 12, 9), 0, nullptr, "Модуляция USB") \
    X(218, OptionButton, cw, (80, 75, 12, 9), 0, nullptr, "Модуляция CW") \
    X(219, GroupBox, groupb_3, (4, 88, 266, 40), 0, "СБРОС   РЕЖИМА   ПАУЗА", nullptr) \
    X(220, OptionButton, resdelay, (8, 99, 70, 10), 0, "задержка", nullptr) \
    X(221, OptionButton, resout, (80, 99, 100, 10), 0, "пропадание сигнала", nullptr) \
    X(222, Label, label_4, (8, 113, 130, 9), kNoWrap, "Время задержки на занятом канале:", nullptr) \
    X(223, Edit, textb_1, (142, 111, 22, 12), 0, nullptr, nullptr) \
    X(224, UpDown, updown_1, (164, 111, 10, 12), 0, nullptr, "Установка времени задержки") \
    X(225, Label, label_5, (178, 113, 16, 9), kNoWrap, "сек", nullptr) \
    X(226, GroupBox, groupb_4, (4, 130, 266, 38), 0, "ПОДСОЕДИНЕНИЕ БАНКОВ ПОИСКА/СКАНИРОВАНИЯ", nullptr) \
    X(227, CheckBox, checkbox_1, (8, 142, 24, 10), 0, "A", nullptr) \
    X(228, CheckBox, checkbox_2, (34, 142, 24, 10), 0, "B", nullptr) \
    X(229, CheckBox, checkbox_3, (60, 142, 24, 10), 0, "C", nullptr) \
    X(230, CheckBox, checkbox_4, (86, 142, 24, 10), 0, "D", nullptr) \
    X(231, CheckBox, checkbox_5, (112, 142, 24, 10), 0, "E", nullptr) \
    X(232, CheckBox, checkbox_6, (138, 142, 24, 10), 0, "F", nullptr) \
    X(233, CheckBox, checkbox_7, (164, 142, 24, 10), 0, "G", nullptr) \
    X(234, CheckBox, checkbox_8, (190, 142, 24, 10), 0, "H", nullptr) \
    X(235, CheckBox, checkbox_9, (216, 142, 24, 10), 0, "I", nullptr) \
    X(236, CheckBox, checkbox_10, (242, 142, 24, 10), 0, "J", nullptr) \
    X(237, CheckBox, checkbox_11, (8, 154, 24, 10), 0, "a", nullptr) \
    X(238, CheckBox, checkbox_12, (34, 154, 24, 10), 0, "b", nullptr) \
    X(239, CheckBox, checkbox_13, (60, 154, 24, 10), 0, "c", nullptr) \
    X(240, CheckBox, checkbox_14, (86, 154, 24, 10), 0, "d", nullptr) \
    X(241, CheckBox, checkbox_15, (112, 154, 24, 10), 0, "e", nullptr) \
    X(242, CheckBox, checkbox_16, (138, 154, 24, 10), 0, "f", nullptr) \
    X(243, CheckBox, checkbox_17, (164, 154, 24, 10), 0, "g", nullptr) \
    X(244, CheckBox, checkbox_18, (190, 154, 24, 10), 0, "h", nullptr) \
    X(245, CheckBox, checkbox_19, (216, 154, 24, 10), 0, "i", nullptr) \
    X(246, CheckBox, checkbox_20, (242, 154, 24, 10), 0, "j", nullptr) \
    X(247, GroupBox, groupb_5, (4, 170, 266, 30), 0, "СИГНАЛИЗАЦИЯ  РЕЖИМА   ПАУЗА", nullptr) \
    X(248, ComboBox, pausemode, (8, 182, 96, 77), kDropList, nullptr, nullptr, inherited) \
    X(249, Label, label_6, (108, 184, 72, 9), kNoWrap, "Выполнять задание :", nullptr) \
    X(250, ComboBox, job, (182, 182, 84, 77), kDropList, nullptr, nullptr)
// clang-format on

namespace ar8000 {

extern const ui::FormResource kForm;
extern const ui::FormResource kScanForm;

}  // namespace ar8000
