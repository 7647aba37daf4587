// The receiver panels' picture buttons, drawn as character art like the main window's.

#include "receivers/panel_pictures.h"

#include "ui/controls.h"

namespace {

// clang-format off
constexpr ui::PictureArt kArt[] = {
    {"pictbttn_1",  // start the receiver's scan: a play mark
     {"..............", "...k..........", "...kk.........", "...knk........", "...knnk.......", "...knnnk......",
      "...knnnk......", "...knnk.......", "...knk........", "...kk.........", "...k..........", ".............."}},
    {"pictbttn_2",  // right to the next peak
     {"..............", "..........r...", ".........rrr..", "........r.r.r.", "..........r...", "..........r...",
      "....n.....r...", "...nnn....r...", "..nnnnn...r...", ".nnnnnnn..r...", "kkkkkkkkkkkkk.", ".............."}},
    {"pictbttn_3",  // left to the next peak
     {"..............", "...r..........", "..rrr.........", ".r.r.r........", "...r..........", "...r..........",
      "...r.....n....", "...r....nnn...", "...r...nnnnn..", "...r..nnnnnnn.", ".kkkkkkkkkkkkk", ".............."}},
    {"pictbttn_4",  // left to the next fixed frequency
     {"..............", "..........b...", "..........b...", "...k......b...", "..kk......b...", ".kkkkkkk..b...",
      "..kk......b...", "...k......b...", "..........b...", "..........b...", "kkkkkkkkkkkkk.", ".............."}},
    {"pictbttn_5",  // right to the next fixed frequency
     {"..............", "...b..........", "...b..........", "...b......k...", "...b......kk..", "...b..kkkkkkk.",
      "...b......kk..", "...b......k...", "...b..........", "...b..........", ".kkkkkkkkkkkkk", ".............."}},
    {"pictbttn_6",  // scan settings: a sheet with lines
     {"..............", "..kkkkkkkkk...", "..kyyyyyyyk...", "..kykkkkkyk...", "..kyyyyyyyk...", "..kykkkkkyk...",
      "..kyyyyyyyk...", "..kykkkkkyk...", "..kyyyyyyyk...", "..kkkkkkkkk...", "..............", ".............."}},
    {"pictbttn_7",  // clear the fine scale: a crossed-out scale
     {"..............", ".r.........r..", "..r.......r...", "...r..n..r....", "....r.nnr.....", ".....rnr......",
      "....nnrnn.....", "...nnrnrnn....", "..nnr...rnn...", ".nnr.....rn...", "kkkkkkkkkkkkk.", ".............."}},
};
// clang-format on

}  // namespace

ui::ArtPicture PanelPicture(const std::string& controlName) {
    // Some panels name their clear button "clear".
    return ui::FindPicture(kArt, controlName == "clear" ? "pictbttn_7" : controlName);
}

void ShowPanelPictures(ui::Form& panel, PanelPictureFinder find) {
    for (const ui::ControlResource& row : panel.Resource()->controls) {
        if (row.kind != ui::ControlKind::PictureButton) continue;
        auto* button = dynamic_cast<ui::PictureButton*>(panel.FindControl(row.name));
        const ui::ArtPicture art = find(row.name);
        if (button) button->SetPicture(art.width, art.height, art.pixels);
    }
}
