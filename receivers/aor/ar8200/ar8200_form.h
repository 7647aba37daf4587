#pragma once
// The AR8200 panel's form ("ID_AR8200") and its scan and bank dialog's ("ID_RAR8200"): their
// controls, declared once (ui/form_controls.h). The rows marked `inherited` place the controls
// the AOR core drives (aor_panel.h). The analysis view's controls are hidden until it is on;
// its picture lies over the channel list, which it replaces.

#include "ui/form_controls.h"

// clang-format off
#define AR8200_CONTROLS(X) \
    X(100, Label, model, (4, 5, 34, 9), kBold | kNoWrap, "AR-8200", nullptr) \
    X(101, Label, label_1, (40, 2, 76, 14), kBold | kNoWrap, nullptr, nullptr, inherited) \
    X(102, Label, label_2, (118, 5, 28, 9), kNoWrap | kRight, "Полоса:", nullptr) \
    X(103, Edit, width, (148, 3, 24, 12), kDisabled, nullptr, nullptr, inherited) \
    X(104, Label, label_3, (174, 5, 44, 9), kNoWrap | kRight, "Шаг( КГц):", nullptr) \
    X(105, ComboBox, step, (220, 3, 60, 77), 0, nullptr, "Шаг частоты точной шкалы") \
    X(106, Canvas, scale, (4, 17, 276, 58), 0, nullptr, nullptr) \
    X(107, ScrollBar, hs, (4, 75, 276, 9), 0, nullptr, nullptr) \
    X(108, PictureButton, pictbttn_4, (4, 86, 18, 16), 0, nullptr, "Влево до Фикс частоты") \
    X(109, PictureButton, pictbttn_3, (24, 86, 18, 16), 0, nullptr, "Влево до Мах") \
    X(110, PictureButton, pictbttn_2, (44, 86, 18, 16), 0, nullptr, "Вправо до Мах") \
    X(111, PictureButton, pictbttn_5, (64, 86, 18, 16), 0, nullptr, "Вправо до Фикс частоты") \
    X(112, PictureButton, clear, (84, 86, 18, 16), 0, nullptr, "Очистить Шкалу/Остановить сканирование", inherited) \
    X(113, PictureButton, pictbttn_6, (104, 86, 18, 16), 0, nullptr, "Установка Параметров", inherited) \
    X(114, PictureButton, pictbttn_1, (124, 86, 18, 16), 0, nullptr, "Пуск Сканирования", inherited) \
    X(115, CommandButton, vfobutton, (146, 87, 32, 14), 0, "VFO", "Переключение типа VFO") \
    X(116, CheckBox, catt, (182, 89, 28, 10), 0, "атт", "Вкл /выкл Аттеньюатора", inherited) \
    X(117, CheckBox, cauto, (212, 89, 32, 10), 0, "авто", "Включение/выключение режима AUTO", inherited) \
    X(118, CheckBox, csound, (246, 89, 34, 10), 0, "звук", "Вкл /выкл звука", inherited) \
    X(119, CommandButton, off, (4, 107, 28, 13), 0, "выкл", "Вкл./выкл.", inherited) \
    X(120, GroupBox, groupb_1, (34, 102, 96, 22), 0, "голос- порог", nullptr) \
    X(121, CheckBox, sqlsel, (38, 111, 12, 10), 0, nullptr, "флаг регулировки уровня сигнала/голоса") \
    X(122, Slider, sql, (50, 110, 76, 12), 0, nullptr, "Уровень порога сигнала/голоса") \
    X(123, CheckBox, scope, (134, 107, 16, 13), kPushLike, "S", "Включить/выключить  анализатор") \
    X(124, CheckBox, mem, (152, 108, 30, 10), 0, "пам", "Запись/Чтение всей памяти", inherited) \
    X(125, CheckBox, cbank, (184, 108, 30, 10), 0, "зап", "Непосредственная запись в приемник информации о банках", inherited) \
    X(126, CommandButton, cb_2, (214, 107, 20, 13), 0, "<", "Чтение банков памяти из приемника ", inherited) \
    X(127, CommandButton, cb_1, (236, 107, 20, 13), 0, ">", "Запись информации о банках в приемник", inherited) \
    X(128, CommandButton, cb_3, (258, 107, 22, 13), 0, "<<", "Внесение в банк текущих установок приемника", inherited) \
    X(129, GroupBox, ekv, (4, 124, 276, 60), 0, nullptr, nullptr) \
    X(130, ListView, lv_1, (8, 131, 156, 50), 0, nullptr, nullptr, inherited) \
    X(131, Canvas, view, (8, 131, 268, 50), kHidden, nullptr, nullptr) \
    X(132, Label, label_4, (168, 133, 20, 9), kNoWrap, "Банк", nullptr) \
    X(133, ComboBox, bn, (190, 131, 28, 77), 0, nullptr, "Выбор банка из списка", inherited) \
    X(134, Label, Nk, (222, 133, 14, 9), kNoWrap | kBold, nullptr, nullptr, inherited) \
    X(135, Edit, textb_1, (168, 145, 50, 12), 0, nullptr, nullptr, inherited) \
    X(136, ComboBox, smod, (220, 145, 26, 77), 0, nullptr, nullptr, inherited) \
    X(137, Edit, sstep, (248, 145, 28, 12), 0, nullptr, nullptr, inherited) \
    X(138, Edit, comment, (168, 158, 64, 12), 0, nullptr, nullptr, inherited) \
    X(139, CheckBox, satt, (236, 159, 30, 10), 0, "атт", nullptr, inherited) \
    X(140, CheckBox, sel, (168, 171, 36, 10), 0, "выбор", nullptr, inherited) \
    X(141, CheckBox, skip, (206, 171, 46, 10), 0, "пропуск", nullptr, inherited) \
    X(142, Label, label_5, (56, 186, 44, 9), kNoWrap, "Fн", nullptr) \
    X(143, Label, label_6, (102, 186, 44, 9), kNoWrap, "Fк", nullptr) \
    X(144, Label, label_7, (148, 186, 26, 9), kNoWrap, "шаг", nullptr) \
    X(145, Label, label_8, (176, 186, 28, 9), kNoWrap, "мод", nullptr) \
    X(146, Label, label_9, (206, 186, 16, 9), kNoWrap, "атт", nullptr) \
    X(147, Label, label_10, (224, 186, 56, 9), kNoWrap, "комм", nullptr) \
    X(148, Label, label_11, (4, 197, 24, 9), kNoWrap, "Поиск", nullptr) \
    X(149, ComboBox, sbn, (28, 195, 26, 77), 0, nullptr, "Выбор банка поиска из списка", inherited) \
    X(150, Edit, textb_Fn, (56, 195, 44, 12), 0, nullptr, nullptr, inherited) \
    X(151, Edit, textb_Fk, (102, 195, 44, 12), 0, nullptr, nullptr, inherited) \
    X(152, Edit, textb_step, (148, 195, 26, 12), 0, nullptr, nullptr, inherited) \
    X(153, ComboBox, combo_mod, (176, 195, 28, 77), 0, nullptr, "Выбор модуляции из списка", inherited) \
    X(154, CheckBox, checkbox_att, (208, 196, 12, 10), 0, nullptr, nullptr, inherited) \
    X(155, Edit, textb_com, (224, 195, 56, 12), 0, nullptr, nullptr, inherited) \
    X(156, Label, label_12, (4, 197, 28, 9), kNoWrap | kHidden, "Анализ", nullptr) \
    X(157, ComboBox, estep, (34, 195, 50, 77), kHidden, nullptr, "Шаг частоты спектроанализатора") \
    X(158, CommandButton, stopEL, (88, 194, 36, 13), kHidden, "пауза", "Останов/пуск спектроанализатора") \
    X(159, Label, label_13, (128, 197, 44, 9), kNoWrap | kHidden, "Шаг шкалы", nullptr) \
    X(160, CommandButton, stepEL, (174, 194, 24, 13), kHidden, "><", "Изменить вид спектроанализатора")

#define RAR8200_CONTROLS(X) \
    X(201, GroupBox, groupb_1, (4, 2, 184, 72), 0, "РЕЖИМ  РАБОТЫ  ПО  КНОПКЕ  СКАНИРОВАНИЕ", nullptr) \
    X(202, OptionButton, diapscan, (8, 13, 176, 10), 0, "Сканирование диапазона частот", nullptr, inherited) \
    X(203, OptionButton, bankscan, (8, 24, 176, 10), 0, "Сканирование по банку", nullptr, inherited) \
    X(204, OptionButton, VFOscan, (8, 35, 176, 10), 0, "Сканирование VFO", nullptr, inherited) \
    X(205, CheckBox, selscan, (8, 48, 176, 10), 0, "выборочное сканирование", nullptr) \
    X(206, CheckBox, diapVFO, (8, 59, 176, 10), 0, "режим 2x VFO", nullptr) \
    X(207, GroupBox, groupb_2, (192, 2, 184, 30), 0, "КОНФИГУРАЦИИ   АППАРАТНОГО   СКАНИРОВАНИЯ", nullptr) \
    X(208, ComboBox, config, (196, 14, 100, 77), kDropList, nullptr, nullptr) \
    X(209, GroupBox, groupb_3, (192, 36, 184, 38), 0, "ЗНАЧЕНИЯ  ПО  УМОЛЧАНИЮ", nullptr) \
    X(210, GroupBox, groupb_4, (196, 45, 70, 26), 0, "F", nullptr) \
    X(211, OptionButton, Fnar, (200, 56, 26, 10), 0, "узк", nullptr) \
    X(212, OptionButton, F, (228, 56, 36, 10), 0, "обычн", nullptr) \
    X(213, GroupBox, groupb_5, (270, 45, 102, 26), 0, "A", nullptr) \
    X(214, OptionButton, Anar, (274, 56, 26, 10), 0, "узк", nullptr) \
    X(215, OptionButton, A, (302, 56, 36, 10), 0, "обычн", nullptr) \
    X(216, OptionButton, Awide, (340, 56, 28, 10), 0, "шир", nullptr) \
    X(217, GroupBox, groupb_6, (4, 78, 372, 60), 0, "ПОДСОЕДИНЕНИЕ БАНКОВ ПОИСКА/СКАНИРОВАНИЯ", nullptr) \
    X(230, CheckBox, checkbox_1, (8, 90, 30, 10), 0, "A", nullptr) \
    X(231, CheckBox, checkbox_2, (44, 90, 30, 10), 0, "B", nullptr) \
    X(232, CheckBox, checkbox_3, (80, 90, 30, 10), 0, "C", nullptr) \
    X(233, CheckBox, checkbox_4, (116, 90, 30, 10), 0, "D", nullptr) \
    X(234, CheckBox, checkbox_5, (152, 90, 30, 10), 0, "E", nullptr) \
    X(235, CheckBox, checkbox_6, (188, 90, 30, 10), 0, "F", nullptr) \
    X(236, CheckBox, checkbox_7, (224, 90, 30, 10), 0, "G", nullptr) \
    X(237, CheckBox, checkbox_8, (260, 90, 30, 10), 0, "H", nullptr) \
    X(238, CheckBox, checkbox_9, (296, 90, 30, 10), 0, "I", nullptr) \
    X(239, CheckBox, checkbox_10, (332, 90, 30, 10), 0, "J", nullptr) \
    X(240, CheckBox, checkbox_11, (8, 101, 30, 10), 0, "a", nullptr) \
    X(241, CheckBox, checkbox_12, (44, 101, 30, 10), 0, "b", nullptr) \
    X(242, CheckBox, checkbox_13, (80, 101, 30, 10), 0, "c", nullptr) \
    X(243, CheckBox, checkbox_14, (116, 101, 30, 10), 0, "d", nullptr) \
    X(244, CheckBox, checkbox_15, (152, 101, 30, 10), 0, "e", nullptr) \
    X(245, CheckBox, checkbox_16, (188, 101, 30, 10), 0, "f", nullptr) \
    X(246, CheckBox, checkbox_17, (224, 101, 30, 10), 0, "g", nullptr) \
    X(247, CheckBox, checkbox_18, (260, 101, 30, 10), 0, "h", nullptr) \
    X(248, CheckBox, checkbox_19, (296, 101, 30, 10), 0, "i", nullptr) \
    X(249, CheckBox, checkbox_20, (332, 101, 30, 10), 0, "j", nullptr) \
    X(250, CheckBox, checkbox_21, (8, 112, 30, 10), 0, "K", nullptr) \
    X(251, CheckBox, checkbox_22, (44, 112, 30, 10), 0, "L", nullptr) \
    X(252, CheckBox, checkbox_23, (80, 112, 30, 10), 0, "M", nullptr) \
    X(253, CheckBox, checkbox_24, (116, 112, 30, 10), 0, "N", nullptr) \
    X(254, CheckBox, checkbox_25, (152, 112, 30, 10), 0, "O", nullptr) \
    X(255, CheckBox, checkbox_26, (188, 112, 30, 10), 0, "P", nullptr) \
    X(256, CheckBox, checkbox_27, (224, 112, 30, 10), 0, "Q", nullptr) \
    X(257, CheckBox, checkbox_28, (260, 112, 30, 10), 0, "R", nullptr) \
    X(258, CheckBox, checkbox_29, (296, 112, 30, 10), 0, "S", nullptr) \
    X(259, CheckBox, checkbox_30, (332, 112, 30, 10), 0, "T", nullptr) \
    X(260, CheckBox, checkbox_31, (8, 123, 30, 10), 0, "k", nullptr) \
    X(261, CheckBox, checkbox_32, (44, 123, 30, 10), 0, "l", nullptr) \
    X(262, CheckBox, checkbox_33, (80, 123, 30, 10), 0, "m", nullptr) \
    X(263, CheckBox, checkbox_34, (116, 123, 30, 10), 0, "n", nullptr) \
    X(264, CheckBox, checkbox_35, (152, 123, 30, 10), 0, "o", nullptr) \
    X(265, CheckBox, checkbox_36, (188, 123, 30, 10), 0, "p", nullptr) \
    X(266, CheckBox, checkbox_37, (224, 123, 30, 10), 0, "q", nullptr) \
    X(267, CheckBox, checkbox_38, (260, 123, 30, 10), 0, "r", nullptr) \
    X(268, CheckBox, checkbox_39, (296, 123, 30, 10), 0, "s", nullptr) \
    X(269, CheckBox, checkbox_40, (332, 123, 30, 10), 0, "t", nullptr) \
    X(218, GroupBox, groupb_7, (4, 140, 372, 26), 0, "сканирование с учетом модуляции", nullptr) \
    X(272, OptionButton, fm, (8, 151, 32, 10), 0, "F", "Модуляция NFM") \
    X(273, OptionButton, wfm, (44, 151, 32, 10), 0, "W", "Модуляция WFM") \
    X(274, OptionButton, am, (80, 151, 32, 10), 0, "A", "Модуляция AM") \
    X(275, OptionButton, lsb, (116, 151, 32, 10), 0, "L", "Модуляция LSB") \
    X(276, OptionButton, usb, (152, 151, 32, 10), 0, "U", "Модуляция USB") \
    X(277, OptionButton, cw, (188, 151, 32, 10), 0, "C", "Модуляция CW") \
    X(278, OptionButton, nfm, (224, 151, 32, 10), 0, "nF", nullptr) \
    X(279, OptionButton, wam, (260, 151, 32, 10), 0, "wA", nullptr) \
    X(280, OptionButton, nam, (296, 151, 32, 10), 0, "nA", nullptr) \
    X(281, OptionButton, all, (332, 151, 32, 10), 0, "все", nullptr) \
    X(220, GroupBox, groupb_8, (4, 168, 220, 50), 0, "ПАРАМЕТРЫ РЕЖИМА   ПАУЗА", nullptr) \
    X(221, Label, label_2, (8, 179, 160, 9), kNoWrap, "Время задержки на занятом канале (0-60):", nullptr) \
    X(222, Edit, textb_1, (170, 177, 24, 12), 0, nullptr, nullptr) \
    X(223, Label, label_3, (196, 179, 16, 9), kNoWrap, "сек", nullptr) \
    X(224, Label, label_4, (8, 193, 160, 9), kNoWrap, "Время задержки при пропадании сигн (0 - 9.9):", nullptr) \
    X(225, Edit, textb_2, (170, 191, 24, 12), 0, nullptr, nullptr) \
    X(226, Label, label_5, (196, 193, 16, 9), kNoWrap, "сек", nullptr) \
    X(227, CheckBox, hold, (8, 205, 70, 10), 0, "удерживать", nullptr) \
    X(228, Label, label_6, (230, 170, 80, 9), kNoWrap, "Сквэлш уровня:", nullptr) \
    X(229, Slider, value, (230, 179, 146, 12), 0, nullptr, nullptr) \
    X(282, Label, label_7, (230, 192, 80, 9), kNoWrap, "Сквэлш голоса:", nullptr) \
    X(283, Slider, voice, (230, 201, 146, 12), 0, nullptr, nullptr) \
    X(284, CheckBox, noise, (230, 215, 90, 10), 0, "шумоподавитель", nullptr) \
    X(285, GroupBox, groupb_9, (4, 228, 372, 30), 0, "СИГНАЛИЗАЦИЯ  РЕЖИМА   ПАУЗА", nullptr) \
    X(286, ComboBox, pausemode, (8, 240, 110, 77), kDropList, nullptr, nullptr, inherited) \
    X(287, Label, label_8, (124, 242, 76, 9), kNoWrap, "Выполнять задание :", nullptr) \
    X(288, ComboBox, jobs, (202, 240, 100, 77), kDropList, nullptr, nullptr) \
    X(289, CheckBox, AUTO, (308, 241, 64, 10), 0, "зап в банк j", nullptr)
// clang-format on

namespace ar8200 {

extern const ui::FormResource kForm;
extern const ui::FormResource kScanForm;

}  // namespace ar8200
