// The IC-PCR1000 panel's picture buttons, drawn as character art like the main window's.

#include "receivers/icom/pcr1000/pcr1000_pictures.h"

namespace {

// clang-format off
constexpr ui::PictureArt kArt[] = {
    {"pictbttn_1",  // power: a broken ring with its bar
     {"..............", "......r.......", "...k..r..k....", "..k...r...k...", ".k....r....k..", ".k....r....k..",
      ".k.........k..", ".k.........k..", "..k.......k...", "...kkkkkkk....", "..............", ".............."}},
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
    {"pictbttn_7",  // clear the fine scale: a crossed-out scale
     {"..............", ".r.........r..", "..r.......r...", "...r..n..r....", "....r.nnr.....", ".....rnr......",
      "....nnrnn.....", "...nnrnrnn....", "..nnr...rnn...", ".nnr.....rn...", "kkkkkkkkkkkkk.", ".............."}},
};
// clang-format on

}  // namespace

ui::ArtPicture Ic1000Picture(const std::string& controlName) {
    return ui::FindPicture(kArt, controlName);
}
