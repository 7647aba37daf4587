#pragma once
// A form's controls, declared once. The form's header lists them as a macro of rows, one
// X(...) per control, in the order the controls are made (a group box before what it holds,
// which would otherwise lie under it), each line but the last ended by a backslash:
//
//   #define HFREQ_CONTROLS(X) X(101, ListView, lv_1, (1, 1, 96, 178), 0, nullptr, nullptr)
//
// A row is the control's number, its kind (a ControlKind, which is also the name of its
// class), its name, its rectangle in dialog units (left, top, width, height), its style bits
// (names of ui::style, unqualified: kNoWrap | kBold), its caption and its tooltip. The rest
// follows from the list, as a form compiler would give it. In the form's class,
//
//   UI_FORM_CONTROLS(HFREQ_CONTROLS)
//
// declares the numbers (ControlId::lv_1 is 101), one typed member per control named as the
// control (`ui::ListView* lv_1`, null until made), CreateFormControls(), which makes every
// control in list order into its member, and ForgetFormControls(), which sets them back to
// null. Where the form resource is defined,
//
//   constexpr ui::ControlResource kHfreqControls[] = {UI_CONTROL_ROWS(HFREQ_CONTROLS)};
//
// gives the rows of its table, made by the compiler. A comment in a list is written /* */:
// a // comment would swallow the rest of the macro.
//
// A row ended by `inherited` is a control whose member a base class declares: a family's core
// that works on the controls every model of the family has, while each model places them on
// its own form. The row gives the number, the table's row and the creation as any other; the
// member it fills and forgets is the base class's.
//
//   X(101, Label, label_1, (4, 2, 150, 14), kBold | kNoWrap, nullptr, nullptr, inherited)

#include <cstdint>

#include "ui/controls.h"
#include "ui/text_box.h"

#define UI_FORM_CONTROLS(LIST)               \
    struct ControlId {                       \
        enum : int { LIST(UI_CONTROL_ID_) }; \
    };                                       \
    LIST(UI_CONTROL_MEMBER_)                 \
    void CreateFormControls() {              \
        LIST(UI_CONTROL_CREATE_)             \
    }                                        \
    void ForgetFormControls() {              \
        LIST(UI_CONTROL_FORGET_)             \
    }

#define UI_CONTROL_ROWS(LIST) LIST(UI_CONTROL_ROW_)

// The pieces of one row; the trailing argument is empty or `inherited`.
#define UI_CONTROL_ID_(number, kind, name, rect, bits, caption, tooltip, ...) name = number,
#define UI_CONTROL_MEMBER_(number, kind, name, rect, bits, caption, tooltip, ...) \
    UI_CONTROL_MEMBER_OF_##__VA_ARGS__(kind, name)
#define UI_CONTROL_MEMBER_OF_(kind, name) ui::kind* name = nullptr;
#define UI_CONTROL_MEMBER_OF_inherited(kind, name)
#define UI_CONTROL_CREATE_(number, kind, name, rect, bits, caption, tooltip, ...) \
    name = CreateControl<ui::kind>(ControlId::name);
#define UI_CONTROL_FORGET_(number, kind, name, rect, bits, caption, tooltip, ...) name = nullptr;
#define UI_CONTROL_ROW_(number, kind, name, rect, bits, caption, tooltip, ...) \
    ui::ControlResource{number,                                           \
                        ui::ControlKind::kind,                            \
                        #name,                                            \
                        ui::Rect{UI_CONTROL_RECT_ rect},                  \
                        [] {                                              \
                            using namespace ui::style;                    \
                            return uint32_t(bits);                        \
                        }(),                                              \
                        caption,                                          \
                        tooltip},
#define UI_CONTROL_RECT_(left, top, width, height) left, top, width, height
