#pragma once
// The detailed study's form resource and the picture of its print button (view_form.cpp).

#include <string>

#include "ui/form_controls.h"
#include "ui/picture_art.h"

// The controls of the form (ui/form_controls.h), in the order they are made. Under the graph one
// row of controls per curve: its feed, its readout switch, its zoom and its marker. clang-format
// off
// clang-format off
#define VIEW_CONTROLS(X) \
    X(101, Canvas, pictb_1, (4, 4, 332, 204), 0, nullptr, nullptr) /* the graph */ \
    X(102, Label, label_1, (4, 213, 10, 8), kBold | kNoWrap, "1", nullptr) \
    X(103, CheckBox, insignal, (16, 212, 32, 10), 0, "Ввод", "Заполнять кривую 1 из окна") \
    X(104, CheckBox, vsignal, (50, 212, 50, 10), 0, "Без отсчета", nullptr) /* the first curve's readout is not drawn */ \
    X(105, ComboBox, zoom_1, (102, 211, 28, 80), 0, nullptr, "Коэффициент увеличения") \
    X(106, ScrollBar, signal, (134, 213, 202, 9), 0, nullptr, nullptr) /* the first curve's marker */ \
    X(107, Label, label_2, (4, 227, 10, 8), kBold | kNoWrap, "2", nullptr) \
    X(108, CheckBox, intempl, (16, 226, 32, 10), 0, "Ввод", "Заполнять кривую 2 из окна") \
    X(109, CheckBox, vtempl, (50, 226, 50, 10), 0, "Без отсчета", nullptr) \
    X(110, ComboBox, zoom_2, (102, 225, 28, 80), 0, nullptr, "Коэффициент увеличения") \
    X(111, ScrollBar, templ, (134, 227, 202, 9), 0, nullptr, "Сдвиг по шкале желтого маркера") \
    X(112, Label, xg_1, (4, 242, 200, 8), kNoWrap, nullptr, nullptr) /* the grid's step */ \
    X(113, Label, yg_1, (206, 242, 80, 8), kNoWrap, nullptr, nullptr) /* the level unit */ \
    X(114, PictureButton, pictbttn_1, (318, 239, 18, 14), 0, nullptr, "Печать отчета")
// clang-format on

// Registers "ID_View"; called before the window is made.
void RegisterViewForm();
// The picture of a picture button of the study; empty for other controls.
ui::ArtPicture ViewPicture(const std::string& controlName);
