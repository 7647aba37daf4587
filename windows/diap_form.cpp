// The range window's form resource "ID_diap" and the pictures of its buttons.

#include "windows/diap_form.h"

namespace {

namespace st = ui::style;

constexpr ui::ControlResource kDiapControls[] = {UI_CONTROL_ROWS(DIAP_CONTROLS)};

// The window fills the main window's range page.
constexpr ui::FormResource kDiapForm{"ID_diap",  283,     209,          "8.MS Sans Serif",
                                     st::kChild, nullptr, kDiapControls};

// clang-format off
constexpr ui::PictureArt kArt[] = {
    {"left_max",  // left to the next peak
     {"..............", "...r..........", "..rrr.........", ".r.r.r........", "...r..........", "...r..........",
      "...r.....n....", "...r....nnn...", "...r...nnnnn..", "...r..nnnnnnn.", ".kkkkkkkkkkkkk", ".............."}},
    {"right_max",  // right to the next peak
     {"..............", "..........r...", ".........rrr..", "........r.r.r.", "..........r...", "..........r...",
      "....n.....r...", "...nnn....r...", "..nnnnn...r...", ".nnnnnnn..r...", "kkkkkkkkkkkkk.", ".............."}},
    {"left_fixed",  // left to the next fixed frequency
     {"..............", "..........b...", "..........b...", "...k......b...", "..kk......b...", ".kkkkkkk..b...",
      "..kk......b...", "...k......b...", "..........b...", "..........b...", "kkkkkkkkkkkkk.", ".............."}},
    {"right_fixed",  // right to the next fixed frequency
     {"..............", "...b..........", "...b..........", "...b......k...", "...b......kk..", "...b..kkkkkkk.",
      "...b......kk..", "...b......k...", "...b..........", "...b..........", ".kkkkkkkkkkkkk", ".............."}},
    {"marker",  // a flag on its pole
     {"..............", "....krrrrr....", "....krrrrrr...", "....krrrrr....", "....k.........", "....k.........",
      "....k.........", "....k.........", "....k.........", "....k.........", "..kkkkk.......", ".............."}},
    {"clear",  // a crossed-out scale
     {"..............", ".r.........r..", "..r.......r...", "...r..n..r....", "....r.nnr.....", ".....rnr......",
      "....nnrnn.....", "...nnrnrnn....", "..nnr...rnn...", ".nnr.....rn...", "kkkkkkkkkkkkk.", ".............."}},
    {"aproximate",  // points joined by a line
     {"..............", "..........kk..", "..........kk..", ".........b....", "........b.....", ".......b......",
      "..kk..b.......", "..kkbb........", "...b..........", "..b...........", "kkkkkkkkkkkkk.", ".............."}},
};
// clang-format on

}  // namespace

void RegisterDiapForm() {
    ui::RegisterFormResource(kDiapForm);
}

ui::ArtPicture DiapPicture(const std::string& controlName) {
    return ui::FindPicture(kArt, controlName);
}
