// The bank window's form resource "ID_freq" and the pictures of its buttons.

#include "windows/freq_form.h"

namespace {

namespace st = ui::style;

constexpr ui::ControlResource kFreqControls[] = {UI_CONTROL_ROWS(FREQ_CONTROLS)};

// The window fills the main window's bank page.
constexpr ui::FormResource kFreqForm{"ID_freq",  283,     209,          "8.MS Sans Serif",
                                     st::kChild, nullptr, kFreqControls};

// clang-format off
constexpr ui::PictureArt kArt[] = {
    {"cb_1",  // the current frequency into the bank
     {"..............", "......nn......", "......nn......", "......nn......", "..nnnnnnnnnn..", "..nnnnnnnnnn..",
      "......nn......", "......nn......", "......nn......", "..............", "kkkkkkkkkkkkkk", ".............."}},
    {"cb_2",  // copies of a channel a step apart
     {"..............", ".kkkk.........", ".kkkk.........", "....b.........", "....bkkkk.....", ".....kkkk.....",
      "........b.....", "........bkkkk.", ".........kkkk.", "..............", "..............", ".............."}},
    {"cb_3",  // the selected channel out
     {"..............", "..............", "..............", "..............", "..rrrrrrrrrr..", "..rrrrrrrrrr..",
      "..............", "..............", "..............", "..............", "kkkkkkkkkkkkkk", ".............."}},
    {"cb_4",  // numbers in order
     {"..............", "...k....kkk...", "..kk...k...k..", "...k.......k..", "...k......k...", "...k.....k....",
      "...k....k.....", "..kkk..kkkkk..", "..............", "bbbbbbbbbbbbb.", "..........bb..", "..........b..."}},
    {"clear",  // the channel list beside the window
     {"..............", ".kkkkkkkkkkkk.", ".k..........k.", ".k.bbbb.nnn.k.", ".k..........k.", ".k.bbbb.nnn.k.",
      ".k..........k.", ".k.bbbb.nnn.k.", ".k..........k.", ".kkkkkkkkkkkk.", "..............", ".............."}},
};
// clang-format on

}  // namespace

void RegisterFreqForm() {
    ui::RegisterFormResource(kFreqForm);
}

ui::ArtPicture FreqPicture(const std::string& controlName) {
    return ui::FindPicture(kArt, controlName);
}
