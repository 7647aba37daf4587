// The print form's resource "ID_Report" and the pictures of its buttons.

#include "ui/form.h"
#include "ui/picture_art.h"
#include "windows/report.h"

namespace {

namespace st = ui::style;

constexpr ui::ControlResource kReportControls[] = {UI_CONTROL_ROWS(REPORT_CONTROLS)};

constexpr ui::FormResource kReportForm{
    "ID_Report", 310, 226, "8.MS Sans Serif", st::kCaption, "Печать отчета", kReportControls};

// clang-format off
constexpr ui::PictureArt kArt[] = {
    {"pictbttn_8",  // the font: a large and a small letter A
     {"..............", "...kk.........", "...kk.........", "..k..k........", "..k..k........", ".kkkkkk.......",
      ".k....k...k...", "k......k.k.k..", "k......kkkkk..", "........k...k.", "..............", ".............."}},
    {"pictbttn_17",  // clear: a red cross over the sheet
     {"..wwwwwwww....", "..wkkkkkkw....", "..wrwwwwrw....", "..wwrwwrww....", "..wkkrrkkw....", "..wwwrrwww....",
      "..wkkrrkkw....", "..wwrwwrww....", "..wrwwwwrw....", "..wwwwwwww....", "..............", ".............."}},
    {"pictbttn_18",  // save: a disk
     {"..............", ".bbbbbbbbbbb..", ".bwwwwwwwwwb..", ".bwkkkkkkkwb..", ".bwwwwwwwwwb..", ".bbbbbbbbbbb..",
      ".bbbgggggbbb..", ".bbbgkkggbbb..", ".bbbgkkggbbb..", ".bbbgggggbbb..", "..............", ".............."}},
};
// clang-format on

}  // namespace

void RegisterReportForm() {
    ui::RegisterFormResource(kReportForm);
}

ui::ArtPicture ReportPicture(const std::string& controlName) {
    return ui::FindPicture(kArt, controlName);
}
