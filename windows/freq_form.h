#pragma once
// The bank window's form resource and button pictures (freq_form.cpp).

#include <string>

#include "ui/form_controls.h"
#include "ui/picture_art.h"

// The controls of the form (ui/form_controls.h), in the order they are made. The chart stands
// beside the channel list with the same top, so that its rows (14 pixels apart, the first
// baseline 30 pixels down) line up with the list's rows under a 16-pixel header; the chart
// control also holds the time band and the line of the shown measurement's time under the chart.
// clang-format off
#define FREQ_CONTROLS(X) \
    X(101, ListView, lv_1, (1, 1, 189, 157), 0, nullptr, nullptr) /* the channels */ \
    X(102, Canvas, pictb_1, (191, 1, 91, 172), 0, nullptr, nullptr) /* the chart, showing the shared picture */ \
    X(103, ScrollBar, hs, (191, 173, 91, 8), 0, nullptr, nullptr) /* the chart's first measurement */ \
    X(104, Edit, textb_1, (1, 184, 40, 11), 0, nullptr, "Частота канала (МГц)") \
    X(105, Edit, sstep, (43, 184, 24, 11), 0, nullptr, "Шаг канала (КГц)") \
    X(106, ComboBox, smod, (69, 184, 24, 60), 0, nullptr, "Модуляция канала") \
    X(107, CheckBox, satt, (95, 184, 24, 11), 0, "Атт", "Аттенюатор канала") \
    X(108, Edit, comment, (121, 184, 76, 11), 0, nullptr, "Комментарий канала") \
    X(109, Label, time_start, (199, 186, 83, 8), kNoWrap, nullptr, nullptr) /* the start of the measurements */ \
    X(110, PictureButton, cb_1, (1, 197, 16, 12), 0, nullptr, "Добавить текущую частоту в банк") \
    X(111, PictureButton, cb_3, (18, 197, 16, 12), 0, nullptr, "Исключить выделенную частоту") \
    X(112, PictureButton, cb_4, (35, 197, 16, 12), 0, nullptr, "Перенумеровать каналы") \
    X(113, PictureButton, clear, (52, 197, 16, 12), 0, nullptr, "Очистить Шкалу") \
    X(114, Label, label_1, (71, 199, 30, 8), kNoWrap, "Шаг, N:", nullptr) \
    X(115, Edit, mstep, (101, 197, 24, 11), 0, nullptr, "Шаг размножения (КГц)") \
    X(116, Edit, count, (127, 197, 20, 11), 0, nullptr, "Счетчик размножения") \
    X(117, PictureButton, cb_2, (149, 197, 16, 12), 0, nullptr, "Размножить выбранную в банке частоту с указанным шагом кол-во раз") \
    X(118, Label, time_set, (199, 199, 83, 8), kNoWrap, nullptr, nullptr) /* the time of the measurement under the mouse */
// clang-format on

// Registers "ID_freq"; called before the window is made.
void RegisterFreqForm();
// The picture of a picture button of the bank window; empty for other controls.
ui::ArtPicture FreqPicture(const std::string& controlName);
