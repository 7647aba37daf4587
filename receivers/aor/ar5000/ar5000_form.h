#pragma once
// The AR5000 panel's form ("ID_AR5000"): its controls, declared once (ui/form_controls.h). The
// rows marked `inherited` place the controls the AOR core drives (aor_panel.h).

#include "ui/form_controls.h"

// clang-format off
#define AR5000_CONTROLS(X) \
    X(101, Label, label_1, (4, 2, 88, 14), kBold | kNoWrap, nullptr, nullptr, inherited) \
    X(102, Edit, width, (94, 4, 26, 12), 0, nullptr, "Полоса пропускания, кГц", inherited) \
    X(103, CommandButton, cb_5, (122, 3, 30, 13), 0, "Полоса", nullptr) \
    X(104, Label, label_2, (178, 5, 42, 9), kNoWrap | kRight, "Шаг шкалы", nullptr) \
    X(105, ComboBox, step, (222, 3, 58, 77), 0, nullptr, "Шаг частоты точной шкалы") \
    X(106, Canvas, scale, (4, 17, 276, 44), 0, nullptr, nullptr) \
    X(107, ScrollBar, hs, (4, 61, 276, 9), 0, nullptr, nullptr) \
    X(108, PictureButton, pictbttn_3, (4, 73, 18, 16), 0, nullptr, "Влево до Мах") \
    X(109, PictureButton, pictbttn_4, (24, 73, 18, 16), 0, nullptr, "Влево до Фикс частоты") \
    X(110, PictureButton, pictbttn_5, (44, 73, 18, 16), 0, nullptr, "Вправо до Фикс частоты") \
    X(111, PictureButton, pictbttn_2, (64, 73, 18, 16), 0, nullptr, "Вправо до Мах") \
    X(112, PictureButton, clear, (84, 73, 18, 16), 0, nullptr, "Очистить Шкалу/Остановить сканирование", inherited) \
    X(113, PictureButton, pictbttn_6, (104, 73, 18, 16), 0, nullptr, "Установка параметров сканирования", inherited) \
    X(114, PictureButton, pictbttn_1, (124, 73, 18, 16), 0, nullptr, "Пуск Сканирования", inherited) \
    X(115, GroupBox, groupb_1, (146, 70, 100, 21), 0, "Атт", nullptr) \
    X(116, OptionButton, catt0, (149, 80, 20, 9), 0, "0", "Выключить Аттенюатор") \
    X(117, OptionButton, catt10, (170, 80, 24, 9), 0, "10", "Установить значение Аттенюатора 10 дБ") \
    X(118, OptionButton, catt20, (195, 80, 24, 9), 0, "20", "Установить значение Аттенюатора 20 дБ") \
    X(119, OptionButton, cattAU, (220, 80, 24, 9), 0, "AU", "Установить автоматический Аттеньюатор") \
    X(120, CheckBox, cauto, (250, 80, 32, 9), 0, "AUTO", "Включение/выключение режима AUTO", inherited) \
    X(121, Canvas, vfo, (4, 91, 200, 18), 0, nullptr, "Выбор VFO") \
    X(122, CommandButton, cb_4, (208, 92, 38, 13), 0, "Функции", nullptr) \
    X(123, CommandButton, off, (248, 92, 34, 13), 0, "Откл", nullptr, inherited) \
    X(124, GroupBox, groupb_2, (4, 110, 110, 21), 0, "Сквэлш", nullptr) \
    X(125, OptionButton, sqns, (8, 120, 30, 9), 0, "шум", nullptr) \
    X(126, OptionButton, sqlv, (40, 120, 32, 9), 0, "уров", nullptr) \
    X(127, OptionButton, sqvc, (74, 120, 38, 9), 0, "голос", nullptr) \
    X(128, Slider, sql, (116, 115, 66, 14), 0, nullptr, nullptr) \
    X(129, Label, label_3, (184, 118, 18, 9), kNoWrap, "Звук", nullptr) \
    X(130, Slider, snd, (204, 115, 78, 14), 0, nullptr, nullptr) \
    X(131, ListView, lv_1, (4, 131, 170, 63), 0, nullptr, nullptr, inherited) \
    X(132, Label, label_4, (178, 132, 18, 9), kNoWrap, "Банк", nullptr) \
    X(133, ComboBox, bn, (198, 130, 26, 77), 0, nullptr, "Выбор банка из списка", inherited) \
    X(134, Label, Nk, (226, 132, 14, 9), kNoWrap | kBold, nullptr, nullptr, inherited) \
    X(135, CheckBox, cbank, (242, 131, 40, 10), 0, "Запись", "Непосредственная запись в приемник информации о банках", inherited) \
    X(136, Edit, textb_1, (178, 143, 50, 12), 0, nullptr, nullptr, inherited) \
    X(137, ComboBox, smod, (230, 143, 26, 77), 0, nullptr, nullptr, inherited) \
    X(138, Edit, sstep, (258, 143, 24, 12), 0, nullptr, nullptr, inherited) \
    X(139, Edit, comment, (178, 156, 60, 12), 0, nullptr, nullptr, inherited) \
    X(140, ComboBox, combo_att, (240, 156, 26, 77), 0, nullptr, nullptr, inherited) \
    X(141, CheckBox, sel, (178, 170, 35, 10), 0, "Выбор", nullptr, inherited) \
    X(142, CheckBox, skip, (214, 170, 39, 10), 0, "Пропуск", nullptr, inherited) \
    X(143, CheckBox, mem, (254, 170, 28, 10), 0, "Всё", "Запись/Чтение всей памяти", inherited) \
    X(144, CommandButton, cb_3, (178, 181, 34, 13), 0, "В банк", "Внесение в банк текущих установок приемника", inherited) \
    X(145, CommandButton, cb_2, (214, 181, 34, 13), 0, "Чтение", "Чтение банков памяти из приемника ", inherited) \
    X(146, CommandButton, cb_1, (250, 181, 32, 13), 0, "Запись", "Запись информации о банках в приемник", inherited) \
    X(147, Label, label_5, (4, 198, 22, 9), kNoWrap, "Поиск", nullptr) \
    X(148, ComboBox, sbn, (28, 196, 26, 77), 0, nullptr, "Выбор банка поиска из списка", inherited) \
    X(149, Edit, textb_Fn, (56, 196, 44, 12), 0, nullptr, nullptr, inherited) \
    X(150, Edit, textb_Fk, (102, 196, 44, 12), 0, nullptr, nullptr, inherited) \
    X(151, Edit, textb_step, (148, 196, 28, 12), 0, nullptr, nullptr, inherited) \
    X(152, ComboBox, combo_mod, (178, 196, 28, 77), 0, nullptr, nullptr, inherited) \
    X(153, ComboBox, scombo_att, (208, 196, 26, 77), 0, nullptr, nullptr, inherited) \
    X(154, Edit, textb_com, (236, 196, 46, 12), 0, nullptr, nullptr, inherited)
// clang-format on

namespace ar5000 {

extern const ui::FormResource kForm;

}  // namespace ar5000
