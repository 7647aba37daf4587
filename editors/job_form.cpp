// The job window's form resource "ID_job" and the pictures of its buttons.

#include "editors/job_form.h"

namespace {

namespace st = ui::style;

constexpr ui::ControlResource kJobControls[] = {UI_CONTROL_ROWS(JOB_CONTROLS)};

// The window fills the main window's job page.
constexpr ui::FormResource kJobForm{"ID_job",   283,     209,         "8.MS Sans Serif",
                                    st::kChild, nullptr, kJobControls};

// clang-format off
constexpr ui::PictureArt kArt[] = {
    {"cb_3",  // a folder to pick a file from
     {"..............", "..............", ".yyyy.........", "ykkkkykkkkkk..", "ykyyyyyyyyyk..", "ykyyyyyyyyyk..",
      "ykyyyyyyyyyk..", "ykyyyyyyyyyk..", "ykyyyyyyyyyk..", "ykkkkkkkkkkk..", "..............", ".............."}},
    {"cb_4",  // an arrow into the list
     {"..............", ".....nn.......", ".....nn.......", ".....nn.......", ".....nn.......", "..nnnnnnnn....",
      "...nnnnnn.....", "....nnnn......", ".....nn.......", "..............", ".kkkkkkkkkkk..", ".............."}},
    {"cb_1",  // a line copied onto a sheet
     {"..............", ".kkkkkkk......", ".kwwwwwk......", ".kwbbbwkkkkk..", ".kwwwwwkwwwk..", ".kwbbbwkbbwk..",
      ".kkkkkkkwwwk..", "......kwbbwk..", "......kwwwwk..", "......kkkkkk..", "..............", ".............."}},
    {"Paste",  // the kept line back into the list
     {"..............", "...kkkkkk.....", "...kwwwwk.....", "...kwbbwk.....", "...kkkkkk.....", ".....bb.......",
      "...bbbbbb.....", "....bbbb......", ".....bb.......", "..............", ".kkkkkkkkkkk..", ".............."}},
    {"cb_2",  // a line crossed out
     {"..............", "..............", ".rr.......rr..", "..rr.....rr...", "...rr...rr....", "....rr.rr.....",
      ".....rrr......", "....rr.rr.....", "...rr...rr....", "..rr.....rr...", ".rr.......rr..", ".............."}},
};
// clang-format on

}  // namespace

void RegisterJobForm() {
    ui::RegisterFormResource(kJobForm);
}

ui::ArtPicture JobPicture(const std::string& controlName) {
    return ui::FindPicture(kArt, controlName);
}
