#pragma once
// The range window's form resource and button pictures (diap_form.cpp).

#include <string>

#include "ui/form_controls.h"
#include "ui/picture_art.h"

// The controls of the form (ui/form_controls.h), in the order they are made: the group boxes
// first, so that the option buttons inside them stand above them; the two rows of curve kinds
// by kind, the second row's button before the main row's. The level labels l0..l8 are placed
// on the level grid's rows when the window is made.
// clang-format off
#define DIAP_CONTROLS(X) \
    X(138, GroupBox, groupb_1, (2, 195, 172, 13), 0, nullptr, nullptr) \
    X(145, GroupBox, groupb_2, (2, 175, 172, 20), 0, " тек         мин         сред         макс         обр           этал ", nullptr) \
    X(101, ScrollBar, vs, (271, 10, 9, 112), kVertical, nullptr, nullptr) /* threshold position 0..255 */ \
    X(102, ScrollBar, hs, (24, 122, 246, 8), 0, nullptr, nullptr) /* first visible grid line */ \
    X(103, ComboBox, fn, (11, 133, 46, 60), 0, nullptr, nullptr) /* Fн, MHz */ \
    X(104, ComboBox, fk, (94, 133, 46, 60), 0, nullptr, nullptr) /* Fк, MHz */ \
    X(105, UpDown, fnup, (57, 133, 9, 13), 0, nullptr, nullptr) \
    X(106, UpDown, fkup, (140, 133, 9, 13), 0, nullptr, nullptr) \
    X(107, ComboBox, step, (40, 148, 36, 60), 0, nullptr, nullptr) /* kHz */ \
    X(108, Label, label_7, (2, 150, 38, 8), kNoWrap, "Шаг( КГц):", nullptr) \
    X(109, Label, label_2, (80, 150, 44, 8), kNoWrap, "Полоса(КГц):", nullptr) \
    X(110, PictureButton, left_max, (170, 133, 17, 14), 0, nullptr, "Влево до Мах") \
    X(111, PictureButton, left_fixed, (188, 133, 17, 14), 0, nullptr, "Влево до Фикс частоты") \
    X(112, PictureButton, right_fixed, (206, 133, 17, 14), 0, nullptr, "Вправо до Фикс частоты") \
    X(113, PictureButton, right_max, (224, 133, 17, 14), 0, nullptr, "Вправо до Мах") \
    X(114, Label, label_3, (2, 135, 9, 8), kNoWrap, "Fн", nullptr) \
    X(115, Label, label_4, (85, 135, 9, 8), kNoWrap, "Fк", nullptr) \
    X(116, Label, label_5, (67, 135, 16, 8), kNoWrap, "МГц", nullptr) \
    X(117, Label, label_6, (150, 135, 16, 8), kNoWrap, "МГц", nullptr) \
    X(118, Edit, wid, (124, 148, 30, 12), 0, nullptr, nullptr) /* bandwidth, kHz */ \
    X(119, Label, label_1, (24, 1, 246, 9), kBold | kNoWrap, nullptr, nullptr) /* the range's title */ \
    X(121, OptionButton, optb_1, (2, 164, 12, 11), kPushLike, "1", nullptr) \
    X(122, OptionButton, optb_2, (15, 164, 12, 11), kPushLike, "2", nullptr) \
    X(123, OptionButton, optb_3, (28, 164, 12, 11), kPushLike, "3", nullptr) \
    X(124, OptionButton, optb_4, (41, 164, 12, 11), kPushLike, "4", nullptr) \
    X(125, OptionButton, optb_5, (54, 164, 12, 11), kPushLike, "5", nullptr) \
    X(126, OptionButton, optb_6, (67, 164, 12, 11), kPushLike, "6", nullptr) \
    X(127, OptionButton, optb_7, (80, 164, 12, 11), kPushLike, "7", nullptr) \
    X(128, OptionButton, optb_8, (93, 164, 12, 11), kPushLike, "8", nullptr) \
    X(129, OptionButton, optb_9, (106, 164, 12, 11), kPushLike, "9", nullptr) \
    X(130, OptionButton, optb_10, (119, 164, 12, 11), kPushLike, "10", nullptr) \
    X(131, OptionButton, optb_11, (132, 164, 12, 11), kPushLike, "11", nullptr) \
    X(132, OptionButton, optb_12, (145, 164, 12, 11), kPushLike, "12", nullptr) \
    X(133, OptionButton, ftek, (5, 198, 10, 9), 0, nullptr, nullptr) \
    X(140, OptionButton, tek, (5, 185, 10, 9), 0, nullptr, nullptr) \
    X(134, OptionButton, fminm, (31, 198, 10, 9), 0, nullptr, nullptr) \
    X(141, OptionButton, minm, (31, 185, 10, 9), 0, nullptr, nullptr) \
    X(135, OptionButton, fsum, (62, 198, 10, 9), 0, nullptr, nullptr) \
    X(142, OptionButton, sum, (62, 185, 10, 9), 0, nullptr, nullptr) \
    X(136, OptionButton, fmaxm, (88, 198, 10, 9), 0, nullptr, nullptr) \
    X(143, OptionButton, maxm, (88, 185, 10, 9), 0, nullptr, nullptr) \
    X(139, OptionButton, fobr, (122, 198, 10, 9), 0, nullptr, nullptr) \
    X(146, OptionButton, obr, (122, 185, 10, 9), 0, nullptr, nullptr) \
    X(137, OptionButton, fetal, (154, 198, 10, 9), 0, nullptr, nullptr) \
    X(144, OptionButton, etal, (154, 185, 10, 9), 0, nullptr, nullptr) \
    X(147, Label, tetl, (208, 151, 73, 8), kNoWrap, nullptr, nullptr) /* the slot's etalon */ \
    X(148, PictureButton, marker, (242, 133, 17, 14), 0, nullptr, nullptr) \
    X(149, PictureButton, clear, (260, 133, 17, 14), 0, nullptr, "Очистить  шкалу") \
    X(150, CheckBox, is_grid, (188, 148, 17, 14), kPushLike, "#", "Отображать сетку") \
    X(159, Label, l0, (0, 94, 23, 8), kRight | kNoWrap, nullptr, nullptr) \
    X(157, Label, l1, (0, 84, 23, 8), kRight | kNoWrap, nullptr, nullptr) \
    X(156, Label, l2, (0, 74, 23, 8), kRight | kNoWrap, nullptr, nullptr) \
    X(155, Label, l3, (0, 64, 23, 8), kRight | kNoWrap, nullptr, nullptr) \
    X(154, Label, l4, (0, 54, 23, 8), kRight | kNoWrap, nullptr, nullptr) \
    X(153, Label, l5, (0, 44, 23, 8), kRight | kNoWrap, nullptr, nullptr) \
    X(152, Label, l6, (0, 34, 23, 8), kRight | kNoWrap, nullptr, nullptr) \
    X(151, Label, l7, (0, 24, 23, 8), kRight | kNoWrap, nullptr, nullptr) \
    X(158, Label, l8, (0, 14, 23, 8), kRight | kNoWrap, nullptr, nullptr) \
    X(160, PictureButton, aproximate, (170, 148, 17, 14), 0, nullptr, "Аппроксимировать") \
    X(161, Canvas, pictb_1, (24, 10, 246, 112), 0, nullptr, nullptr) /* the spectrum, showing the shared picture */
// clang-format on

// Registers "ID_diap"; called before the window is made.
void RegisterDiapForm();
// The picture of a picture button of the range window; empty for other controls.
ui::ArtPicture DiapPicture(const std::string& controlName);
