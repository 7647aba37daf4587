// The IC-PCR1000 panel's picture buttons, drawn as character art like the main window's.

#include "receivers/icom/pcr1000/pcr1000_pictures.h"

#include "receivers/panel_pictures.h"

namespace {

// clang-format off
constexpr ui::PictureArt kArt[] = {
    {"pictbttn_1",  // power: a broken ring with its bar
     {"..............", "......r.......", "...k..r..k....", "..k...r...k...", ".k....r....k..", ".k....r....k..",
      ".k.........k..", ".k.........k..", "..k.......k...", "...kkkkkkk....", "..............", ".............."}},
};
// clang-format on

}  // namespace

// Its own power button; the others look as on every panel.
ui::ArtPicture Ic1000Picture(const std::string& controlName) {
    const ui::ArtPicture own = ui::FindPicture(kArt, controlName);
    return own.width > 0 ? own : PanelPicture(controlName);
}
