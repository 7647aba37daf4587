// The job window's form resource "ID_job" and the pictures of its buttons.

#include "editors/job_form.h"

#include "ui/form.h"

namespace {

using ui::ControlKind;
namespace st = ui::style;

// Rectangles in dialog units: left, top, width, height.
// clang-format off
constexpr ui::ControlResource kJobControls[] = {
    {101, ControlKind::ListView, "lv_1", {2, 2, 279, 138}, 0, nullptr, nullptr},
    {102, ControlKind::GroupBox, "groupb_1", {2, 141, 279, 66}, 0, nullptr, nullptr},
    {103, ControlKind::Label, "label_1", {6, 149, 30, 8}, st::kNoWrap, "Задание:", nullptr},
    {104, ControlKind::Label, "jobName", {36, 149, 150, 8}, st::kBold | st::kNoWrap, nullptr, nullptr},
    {105, ControlKind::Label, "label_4", {200, 149, 28, 8}, st::kNoWrap, "Строка:", nullptr},
    {106, ControlKind::Label, "lineNumber", {228, 149, 20, 8}, st::kBold | st::kNoWrap, nullptr, nullptr},
    {107, ControlKind::Label, "label_6", {6, 162, 34, 8}, st::kNoWrap, "Значение:", nullptr},
    {108, ControlKind::Edit, "Value", {40, 160, 134, 12}, 0, nullptr, nullptr},
    {109, ControlKind::PictureButton, "cb_3", {176, 159, 17, 14}, 0, nullptr, "Выбор файла для команды"},
    {110, ControlKind::CheckBox, "Cond", {200, 161, 78, 10}, 0, "Условие", "Команда выполняется если код возврата предыдущей ком = 0"},
    {111, ControlKind::Label, "label_7", {6, 176, 34, 8}, st::kNoWrap, "Результат:", nullptr},
    {112, ControlKind::Label, "Rc_msg", {40, 176, 238, 8}, st::kNoWrap, nullptr, nullptr},
    {113, ControlKind::ComboBox, "commands", {6, 190, 124, 90}, st::kDropList, nullptr, "Внутренние команды задания"},
    {114, ControlKind::PictureButton, "cb_4", {132, 188, 17, 14}, 0, nullptr, "Внести команду выбранную из списка внутренних команд"},
    {115, ControlKind::PictureButton, "cb_1", {154, 188, 17, 14}, 0, nullptr, "Запомнить выделенную команду"},
    {116, ControlKind::PictureButton, "Paste", {172, 188, 17, 14}, 0, nullptr, "Вставить сохраненную команду"},
    {117, ControlKind::PictureButton, "cb_2", {190, 188, 17, 14}, 0, nullptr, "Исключить выделенную команду"},
    {118, ControlKind::CheckBox, "cb_5", {212, 187, 30, 10}, 0, "x>", "Сохранить значение во внутренней переменной"},
    {119, ControlKind::CheckBox, "cb_6", {246, 187, 30, 10}, 0, ">x", "Внести сохраненную величину"},
};
// clang-format on

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
