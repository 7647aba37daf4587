// The print form's resource "ID_Report" and the pictures of its buttons.

#include "ui/form.h"
#include "ui/picture_art.h"
#include "windows/report.h"

namespace {

using ui::ControlKind;
namespace st = ui::style;

// Rectangles in dialog units: left, top, width, height. The header box stands across the top
// (made by the form itself: control 101); the settings on the left, the preview on the right.
// clang-format off
constexpr ui::ControlResource kReportControls[] = {
    {102, ControlKind::Label, "label_1", {6, 4, 160, 8}, st::kNoWrap, "Заголовок каждой страницы:", nullptr},
    {103, ControlKind::PictureButton, "pictbttn_8", {6, 52, 18, 14}, 0, nullptr, "Выбор шрифта для печати"},
    {104, ControlKind::GroupBox, "groupb_1", {6, 70, 96, 36}, 0, "Печатать", nullptr},
    {105, ControlKind::OptionButton, "jornal", {12, 80, 86, 10}, 0, "Элемент журнала", nullptr},
    {106, ControlKind::OptionButton, "field", {12, 92, 86, 10}, 0, "Текущую страницу", nullptr},
    {107, ControlKind::GroupBox, "groupb_2", {6, 108, 96, 36}, 0, "Ориентация", nullptr},
    {108, ControlKind::OptionButton, "port", {12, 118, 86, 10}, 0, "Книжная", nullptr},
    {109, ControlKind::OptionButton, "land", {12, 130, 86, 10}, 0, "Альбомная", nullptr},
    {110, ControlKind::Canvas, "pict", {108, 70, 196, 136}, 0, nullptr, nullptr},
    {111, ControlKind::ComboBox, "Xdpi", {50, 148, 34, 90}, 0, nullptr, "Разрешение принтера"},
    {112, ControlKind::Label, "label_6", {28, 50, 26, 8}, st::kNoWrap, "Шрифт:", nullptr},
    {113, ControlKind::Label, "label_8", {28, 60, 26, 8}, st::kNoWrap, "Размер:", nullptr},
    {114, ControlKind::Label, "label_9", {6, 150, 44, 8}, st::kNoWrap, "Разрешение:", nullptr},
    {115, ControlKind::Label, "label_2", {86, 150, 18, 8}, st::kNoWrap, "dpi", nullptr},
    {116, ControlKind::Label, "label_3", {108, 60, 196, 8}, st::kNoWrap, "Первая страница:", nullptr},
    {117, ControlKind::Label, "label_4", {6, 214, 34, 8}, st::kNoWrap, "Состояние:", nullptr},
    {118, ControlKind::Label, "font_name", {56, 50, 248, 8}, st::kNoWrap, nullptr, nullptr},
    {119, ControlKind::CommandButton, "start", {6, 178, 46, 14}, 0, "Печать", nullptr},
    {120, ControlKind::CheckBox, "visible", {6, 162, 96, 10}, 0, "Только видимое", "Печатать только то, что видно на странице"},
    {121, ControlKind::Label, "msg", {42, 214, 262, 8}, st::kNoWrap, nullptr, nullptr},
    {122, ControlKind::PictureButton, "pictbttn_17", {60, 195, 18, 14}, 0, nullptr, "Стереть установки"},
    {123, ControlKind::PictureButton, "pictbttn_18", {82, 195, 18, 14}, 0, nullptr, "Сохранить  установки и заголовок"},
    {124, ControlKind::Label, "end_pict", {108, 206, 196, 2}, 0, nullptr, nullptr},
    {125, ControlKind::CommandButton, "bufer", {56, 178, 46, 14}, 0, "В буфер", "Копировать в буфер обмена"},
    {126, ControlKind::CommandButton, "in_file", {6, 195, 46, 14}, 0, "В файл", "Записать данные страницы в текстовый файл"},
    {127, ControlKind::Label, "font_height", {56, 60, 30, 8}, st::kNoWrap, nullptr, nullptr},
};
// clang-format on

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
