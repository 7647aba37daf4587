// The detailed study's form resource "ID_View" and the picture of its print button.

#include "windows/view_form.h"

#include "ui/form.h"

namespace {

using ui::ControlKind;
namespace st = ui::style;

// Rectangles in dialog units: left, top, width, height. Under the graph one row of controls
// per curve: its feed, its readout switch, its zoom and its marker.
// clang-format off
constexpr ui::ControlResource kViewControls[] = {
    {101, ControlKind::Canvas, "pictb_1", {4, 4, 332, 204}, 0, nullptr, nullptr},
    {102, ControlKind::Label, "label_1", {4, 213, 10, 8}, st::kBold | st::kNoWrap, "1", nullptr},
    {103, ControlKind::CheckBox, "insignal", {16, 212, 32, 10}, 0, "Ввод", "Заполнять кривую 1 из окна"},
    {104, ControlKind::CheckBox, "vsignal", {50, 212, 50, 10}, 0, "Без отсчета", nullptr},
    {105, ControlKind::ComboBox, "zoom_1", {102, 211, 28, 80}, 0, nullptr, "Коэффициент увеличения"},
    {106, ControlKind::ScrollBar, "signal", {134, 213, 202, 9}, 0, nullptr, nullptr},
    {107, ControlKind::Label, "label_2", {4, 227, 10, 8}, st::kBold | st::kNoWrap, "2", nullptr},
    {108, ControlKind::CheckBox, "intempl", {16, 226, 32, 10}, 0, "Ввод", "Заполнять кривую 2 из окна"},
    {109, ControlKind::CheckBox, "vtempl", {50, 226, 50, 10}, 0, "Без отсчета", nullptr},
    {110, ControlKind::ComboBox, "zoom_2", {102, 225, 28, 80}, 0, nullptr, "Коэффициент увеличения"},
    {111, ControlKind::ScrollBar, "templ", {134, 227, 202, 9}, 0, nullptr, "Сдвиг по шкале желтого маркера"},
    {112, ControlKind::Label, "xg_1", {4, 242, 200, 8}, st::kNoWrap, nullptr, nullptr},
    {113, ControlKind::Label, "yg_1", {206, 242, 80, 8}, st::kNoWrap, nullptr, nullptr},
    {114, ControlKind::PictureButton, "pictbttn_1", {318, 239, 18, 14}, 0, nullptr, "Печать отчета"},
};
// clang-format on

constexpr ui::FormResource kViewForm{
    "ID_View",    340, 256, "8.MS Sans Serif", st::kCaption, "Детальное исследование сигналов",
    kViewControls};

// clang-format off
constexpr ui::PictureArt kArt[] = {
    {"pictbttn_1",  // a printer with its sheet
     {"..............", "....wwwwww....", "....wkkkkw....", "....wwwwww....", "..gggggggggg..", ".gwwwwwwwwwwg.",
      ".gwwwwwwwnwwg.", ".gggggggggggg.", ".g.wwwwwwww.g.", "...wkkkkkkw...", "...wwwwwwww...", ".............."}},
};
// clang-format on

}  // namespace

void RegisterViewForm() {
    ui::RegisterFormResource(kViewForm);
}

ui::ArtPicture ViewPicture(const std::string& controlName) {
    return ui::FindPicture(kArt, controlName);
}
