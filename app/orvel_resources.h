#pragma once
// The main window's controls and form resources (orvel_resources.cpp).

#include "ui/form_controls.h"

// The main window's controls (ui/form_controls.h), in the order they are made.
// clang-format off
#define ORVEL_CONTROLS(X) \
    X(101, TreeView, op, (3, 33, 102, 192), kTreeEditLabels | kTreeDragDrop, nullptr, nullptr) \
    X(102, TabControl, tabctrl_1, (129, 0, 288, 225), 0, nullptr, nullptr) \
    X(103, GroupBox, groupb_1, (0, 225, 420, 30), 0, nullptr, nullptr) \
    X(104, PictureButton, pictbttn_2, (109, 95, 18, 16), 0, nullptr, "Загрузить Информацию") /* load */ \
    X(105, PictureButton, pictbttn_3, (109, 113, 18, 16), 0, nullptr, "Сохранить Информацию") /* save */ \
    X(106, CommandButton, start, (12, 237, 36, 12), 0, "ПУСК", "Запуск Сканирования") \
    X(107, ComboBox, ft, (219, 237, 54, 77), 0, nullptr, "Текущая частота  в МГц") /* frequency, MHz */ \
    X(108, UpDown, ftup, (273, 234, 11, 18), 0, nullptr, "Частота + - Шаг") \
    X(109, OptionButton, nfm, (331, 234, 12, 9), 0, nullptr, "Модуляция NFM") \
    X(110, Label, label_1, (333, 243, 84, 8), kNoWrap, "F   W   A    L    U   C    R", nullptr) \
    X(111, OptionButton, wfm, (343, 234, 12, 9), 0, nullptr, "Модуляция WFM") \
    X(112, OptionButton, am, (355, 234, 12, 9), 0, nullptr, "Модуляция AM") \
    X(113, OptionButton, lsb, (367, 234, 12, 9), 0, nullptr, "Модуляция LSB") \
    X(114, OptionButton, usb, (379, 234, 12, 9), 0, nullptr, "Модуляция USB") \
    X(115, OptionButton, cw, (390, 234, 12, 9), 0, nullptr, "Модуляция CW") \
    X(116, Label, Jornal, (39, 6, 33, 9), kNoWrap, "Журнал", nullptr) \
    X(118, Label, label_4, (285, 231, 9, 6), kNoWrap, "+", nullptr) \
    X(119, Label, label_7, (285, 243, 6, 9), kNoWrap, "_", nullptr) \
    X(120, PictureButton, pictbttn_1, (109, 189, 18, 15), 0, nullptr, "Очистить Панель") /* clear */ \
    X(121, PictureButton, pictbttn_4, (109, 171, 18, 15), 0, nullptr, "Удалить Информацию из Журнала") /* delete */ \
    X(122, PictureBox, pictb_1, (105, 204, 22, 20), 0, nullptr, nullptr) \
    X(123, ProgressBar, progb_1, (147, 240, 69, 9), 0, nullptr, nullptr) /* level bar */ \
    X(124, CommandButton, pause, (60, 237, 34, 12), 0, "ПАУЗА", "Приостановить Исполнение") \
    X(126, ComboBox, step, (291, 237, 39, 77), 0, nullptr, "Текущий шаг в КГц") /* step, kHz */ \
    X(127, GroupBox, groupb_2, (3, 0, 102, 30), 0, nullptr, nullptr) \
    X(128, Label, clock, (12, 21, 87, 8), kCentered | kNoWrap, nullptr, nullptr) \
    X(129, PictureButton, pictbttn_5, (108, 237, 16, 12), 0, nullptr, "Ручное управление") /* manual control */ \
    X(130, PictureButton, pictbttn_6, (109, 74, 18, 16), 0, nullptr, "Минус из текущей частоты") /* minus */ \
    X(131, PictureButton, pictbttn_7, (109, 57, 18, 16), 0, nullptr, "Выполнить по правой кнопке мыши ") /* macro */ \
    X(132, PictureButton, pictbttn_8, (109, 39, 18, 16), 0, nullptr, "Плюс к текущей частоте") /* plus */ \
    X(133, PictureButton, pictbttn_9, (109, 20, 18, 16), 0, nullptr, "Создать Фиксированную частоту из выделенной") /* fixed frequency from selection */ \
    X(134, PictureButton, pictbttn_10, (109, 2, 18, 16), 0, nullptr, "Создать Диапазон из выделенного") /* range from selection */ \
    X(136, PictureButton, pictbttn_11, (109, 153, 18, 16), 0, nullptr, "Печать отчета") /* print */ \
    X(137, PictureButton, pictbttn_12, (129, 237, 15, 12), 0, nullptr, "Калибровка") /* calibration */ \
    X(138, PictureButton, pictbttn_13, (110, 134, 18, 16), 0, nullptr, "Детальный анализ") /* analysis */ \
    /* Created disabled; the start-up enables it for the IC-756PRO. Its tooltip is the cw */ \
    /* button's text. */ \
    X(139, OptionButton, rtty, (402, 234, 12, 9), kDisabled, nullptr, "Модуляция CW")
// clang-format on

// The main window's caption.
constexpr const char* kOrvelCaption = "ORVEL - радиоконтроль";

// Registers "ID_ORVEL" and the forms of its tab pages ("ID_rcv", "ID_cfreq", ...).
void RegisterOrvelResources();
