// The group window's form resource "ID_group".

#include "windows/group_form.h"

#include "ui/form.h"

namespace {

using ui::ControlKind;
namespace st = ui::style;

// Rectangles in dialog units: left, top, width, height. The strips' picture stands where the
// range window has its spectrum, as wide, so that a strip's columns are the range window's.
// clang-format off
constexpr ui::ControlResource kGroupControls[] = {
    {101, ControlKind::Label, "Id", {24, 1, 246, 9}, st::kBold | st::kNoWrap, "Группа диапазонов", nullptr},
    {102, ControlKind::ScrollBar, "vs", {271, 10, 9, 186}, st::kVertical, nullptr, nullptr},
    {103, ControlKind::ScrollBar, "hs", {24, 197, 246, 8}, 0, nullptr, nullptr},
    {104, ControlKind::Label, "nd", {2, 197, 20, 8}, st::kNoWrap, nullptr, nullptr},
    {105, ControlKind::UpDown, "ftup", {6, 10, 12, 20}, 0, nullptr, "Смещение группы "},
    {106, ControlKind::Canvas, "pictb_1", {24, 10, 246, 186}, 0, nullptr, nullptr},
};
// clang-format on

// The window fills the main window's group page.
constexpr ui::FormResource kGroupForm{"ID_group", 283,     209,           "8.MS Sans Serif",
                                      st::kChild, nullptr, kGroupControls};

}  // namespace

void RegisterGroupForm() {
    ui::RegisterFormResource(kGroupForm);
}
