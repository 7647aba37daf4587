// The detailed study's form resource "ID_View" and the picture of its print button.

#include "windows/view_form.h"

namespace {

namespace st = ui::style;

constexpr ui::ControlResource kViewControls[] = {UI_CONTROL_ROWS(VIEW_CONTROLS)};

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
