#include "app/orvel_pictures.h"

namespace {

// clang-format off
constexpr ui::PictureArt kArt[] = {
    {"pictbttn_2",  // load: an open folder with an arrow out of it
     {"..............", "......b.......", ".....bbb......", "....bbbbb.....", "......b.......",
      ".yyyy.b.......", "ykkkkykkkkkk..", "ykyyyyyyyyyk..", "ykyyyyyyyyyk..", "ykyyyyyyyyyk..",
      "ykkkkkkkkkkk..", ".............."}},
    {"pictbttn_3",  // save: a diskette
     {"..............", ".kkkkkkkkkkk..", ".kbwwwwwwwbk..", ".kbwwwwwwwbk..", ".kbbbbbbbbbk..",
      ".kbbbbbbbbbk..", ".kbbgggggbbk..", ".kbbgkkggbbk..", ".kbbgkkggbbk..", ".kbbgggggbbk..",
      ".kkkkkkkkkkk..", ".............."}},
    {"pictbttn_1",  // clear the panel: an eraser
     {"..............", "..............", ".......kkkkk..", "......krrrrk..", ".....krrrrkk..",
      "....kwwwrkrk..", "...kwwwwkrk...", "..kwwwwwkk....", "..kkkkkkk.....", "..............",
      ".kkkkkkkkkkk..", ".............."}},
    {"pictbttn_4",  // delete from the journal: a red cross
     {"..............", ".rr.......rr..", "..rr.....rr...", "...rr...rr....", "....rr.rr.....",
      ".....rrr......", ".....rrr......", "....rr.rr.....", "...rr...rr....", "..rr.....rr...",
      ".rr.......rr..", ".............."}},
    {"pictbttn_5",  // manual control: a tuning knob
     {"..............", "....kkkkk.....", "...kgggggk....", "..kgwwwwwgk...", "..kgwkkwwgk...",
      "..kgwwkwwgk...", "..kgwwwkwgk...", "..kgwwwwwgk...", "...kgggggk....", "....kkkkk.....",
      "..............", ".............."}},
    {"pictbttn_6",  // minus from the current frequency
     {"..............", "..............", "..............", "..............", "..............",
      "..bbbbbbbbbb..", "..bbbbbbbbbb..", "..............", "..............", "..............",
      "..............", ".............."}},
    {"pictbttn_7",  // run by the right mouse button: M for macro
     {"..............", ".kk.......kk..", ".kkk.....kkk..", ".kk.k...k.kk..", ".kk..k.k..kk..",
      ".kk...k...kk..", ".kk.......kk..", ".kk.......kk..", ".kk.......kk..", ".kk.......kk..",
      "..............", ".............."}},
    {"pictbttn_8",  // plus to the current frequency
     {"..............", "......rr......", "......rr......", "......rr......", "......rr......",
      "..rrrrrrrrrr..", "..rrrrrrrrrr..", "......rr......", "......rr......", "......rr......",
      "......rr......", ".............."}},
    {"pictbttn_9",  // a fixed frequency from the selection: one marked line
     {"..............", "......r.......", "......r.......", "......r.......", "......r.......",
      "......r.......", "......r.......", "....r.r.r.....", "...r..r..r....", "......r.......",
      ".kkkkkkkkkkkk.", ".............."}},
    {"pictbttn_10",  // a range from the selection: a bracketed span
     {"..............", ".kk........kk.", ".k..........k.", ".k..n..n....k.", ".k..n.nnn.n.k.",
      ".k.nnnnnnnn.k.", ".k.nnnnnnnnnk.", ".knnnnnnnnnnk.", ".k..........k.", ".kk........kk.",
      "..............", ".............."}},
    {"pictbttn_11",  // print the report: a printer
     {"..............", "....wwwwww....", "....wkkkkw....", "....wwwwww....", "..kkkkkkkkkk..",
      ".kggggggggggk.", ".kggggggggnk..", ".kkkkkkkkkkk..", "...wwwwwww....", "...wkkkkkw....",
      "...wwwwwww....", ".............."}},
    {"pictbttn_12",  // calibration: a level scale
     {"..............", ".k............", ".kkk..........", ".k......rr....", ".kk.....rr....",
      ".k....rrrr....", ".kkk..rrrr....", ".k..rrrrrr....", ".kk.rrrrrr....", ".k.rrrrrrr....",
      ".kkkkkkkkkkk..", ".............."}},
    {"pictbttn_13",  // detailed analysis: a magnifying glass
     {"..............", "...kkkk.......", "..kwwwwk......", ".kwwcwwwk.....", ".kwcwwwwk.....",
      ".kwwwwwwk.....", "..kwwwwk......", "...kkkkkk.....", ".......kkk....", "........kkk...",
      ".........kk...", ".............."}},
    {"pictb_1",  // the program: an antenna with its waves
     {"..............", "..c...k...c...", ".c..c.k.c..c..", ".c.c..k..c.c..", ".c..c.k.c..c..",
      "..c..kkk..c...", ".....kkk......", "....k.k.k.....", "...k..k..k....", "..k...k...k...",
      ".kkkkkkkkkkk..", ".............."}},
};

// clang-format on

}  // namespace

ui::ArtPicture OrvelPicture(const std::string& controlName) {
    return FindPicture(kArt, controlName);
}
