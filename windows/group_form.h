#pragma once
// The group window's form resource (group_form.cpp).

#include "ui/form_controls.h"

// The controls of the form (ui/form_controls.h), in the order they are made. The strips'
// picture stands where the range window has its spectrum, as wide, so that a strip's columns
// are the range window's.
// clang-format off
#define GROUP_CONTROLS(X) \
    X(101, Label, Id, (24, 1, 246, 9), kBold | kNoWrap, "Группа диапазонов", nullptr) /* the group's identifier */ \
    X(102, ScrollBar, vs, (271, 10, 9, 186), kVertical, nullptr, nullptr) /* which strips are in view */ \
    X(103, ScrollBar, hs, (24, 197, 246, 8), 0, nullptr, nullptr) /* the current range's scroll position, in grid lines */ \
    X(104, Label, nd, (2, 197, 20, 8), kNoWrap, nullptr, nullptr) /* number of the current range */ \
    X(105, UpDown, ftup, (6, 10, 12, 20), 0, nullptr, "Смещение группы ") /* moves every range by a grid line */ \
    X(106, Canvas, pictb_1, (24, 10, 246, 186), 0, nullptr, nullptr) /* the strips, showing the shared picture */
// clang-format on

// Registers "ID_group"; called before the window is made.
void RegisterGroupForm();
