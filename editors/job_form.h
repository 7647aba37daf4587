#pragma once
// The job window's form resource and button pictures (job_form.cpp).

#include <string>

#include "ui/form_controls.h"
#include "ui/picture_art.h"

// The controls of the form (ui/form_controls.h), in the order they are made.
// clang-format off
#define JOB_CONTROLS(X) \
    X(101, ListView, lv_1, (2, 2, 279, 138), 0, nullptr, nullptr) /* the job's lines */ \
    X(102, GroupBox, groupb_1, (2, 141, 279, 66), 0, nullptr, nullptr) /* the selected line */ \
    X(103, Label, label_1, (6, 149, 30, 8), kNoWrap, "Задание:", nullptr) \
    X(104, Label, jobName, (36, 149, 150, 8), kBold | kNoWrap, nullptr, nullptr) /* the job's name */ \
    X(105, Label, label_4, (200, 149, 28, 8), kNoWrap, "Строка:", nullptr) \
    X(106, Label, lineNumber, (228, 149, 20, 8), kBold | kNoWrap, nullptr, nullptr) /* the selected line's number */ \
    X(107, Label, label_6, (6, 162, 34, 8), kNoWrap, "Значение:", nullptr) \
    X(108, Edit, Value, (40, 160, 134, 12), 0, nullptr, nullptr) /* the selected line's value */ \
    X(109, PictureButton, cb_3, (176, 159, 17, 14), 0, nullptr, "Выбор файла для команды") \
    X(110, CheckBox, Cond, (200, 161, 78, 10), 0, "Условие", "Команда выполняется если код возврата предыдущей ком = 0") /* the line runs only after a line that succeeded */ \
    X(111, Label, label_7, (6, 176, 34, 8), kNoWrap, "Результат:", nullptr) \
    X(112, Label, Rc_msg, (40, 176, 238, 8), kNoWrap, nullptr, nullptr) /* the selected line's message */ \
    X(113, ComboBox, commands, (6, 190, 124, 90), kDropList, nullptr, "Внутренние команды задания") /* the internal commands */ \
    X(114, PictureButton, cb_4, (132, 188, 17, 14), 0, nullptr, "Внести команду выбранную из списка внутренних команд") /* insert the chosen internal command */ \
    X(115, PictureButton, cb_1, (154, 188, 17, 14), 0, nullptr, "Запомнить выделенную команду") \
    X(116, PictureButton, Paste, (172, 188, 17, 14), 0, nullptr, "Вставить сохраненную команду") \
    X(117, PictureButton, cb_2, (190, 188, 17, 14), 0, nullptr, "Исключить выделенную команду") \
    X(118, CheckBox, cb_5, (212, 187, 30, 10), 0, "x>", "Сохранить значение во внутренней переменной") /* GET */ \
    X(119, CheckBox, cb_6, (246, 187, 30, 10), 0, ">x", "Внести сохраненную величину") /* PUT */
// clang-format on

// Registers "ID_job"; called before the window is made.
void RegisterJobForm();
// The picture of a picture button of the job window; empty for other controls.
ui::ArtPicture JobPicture(const std::string& controlName);
