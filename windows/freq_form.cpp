// The bank window's form resource "ID_freq" and the pictures of its buttons.

#include "windows/freq_form.h"

#include "ui/form.h"

namespace {

using ui::ControlKind;
namespace st = ui::style;

// Rectangles in dialog units: left, top, width, height. The chart stands beside the channel
// list with the same top, so that its rows (14 pixels apart, the first baseline 30 pixels
// down) line up with the list's rows under a 16-pixel header; the chart control also holds
// the time band and the line of the shown measurement's time under the chart.
// clang-format off
constexpr ui::ControlResource kFreqControls[] = {
    {101, ControlKind::ListView, "lv_1", {1, 1, 189, 157}, 0, nullptr, nullptr},
    {102, ControlKind::Canvas, "pictb_1", {191, 1, 91, 172}, 0, nullptr, nullptr},
    {103, ControlKind::ScrollBar, "hs", {191, 173, 91, 8}, 0, nullptr, nullptr},
    {104, ControlKind::Edit, "textb_1", {1, 184, 40, 11}, 0, nullptr, "Частота канала (МГц)"},
    {105, ControlKind::Edit, "sstep", {43, 184, 24, 11}, 0, nullptr, "Шаг канала (КГц)"},
    {106, ControlKind::ComboBox, "smod", {69, 184, 24, 60}, 0, nullptr, "Модуляция канала"},
    {107, ControlKind::CheckBox, "satt", {95, 184, 24, 11}, 0, "Атт", "Аттенюатор канала"},
    {108, ControlKind::Edit, "comment", {121, 184, 76, 11}, 0, nullptr, "Комментарий канала"},
    {109, ControlKind::Label, "time_start", {199, 186, 83, 8}, st::kNoWrap, nullptr, nullptr},
    {110, ControlKind::PictureButton, "cb_1", {1, 197, 16, 12}, 0, nullptr, "Добавить текущую частоту в банк"},
    {111, ControlKind::PictureButton, "cb_3", {18, 197, 16, 12}, 0, nullptr, "Исключить выделенную частоту"},
    {112, ControlKind::PictureButton, "cb_4", {35, 197, 16, 12}, 0, nullptr, "Перенумеровать каналы"},
    {113, ControlKind::PictureButton, "clear", {52, 197, 16, 12}, 0, nullptr, "Очистить Шкалу"},
    {114, ControlKind::Label, "label_1", {71, 199, 30, 8}, st::kNoWrap, "Шаг, N:", nullptr},
    {115, ControlKind::Edit, "mstep", {101, 197, 24, 11}, 0, nullptr, "Шаг размножения (КГц)"},
    {116, ControlKind::Edit, "count", {127, 197, 20, 11}, 0, nullptr, "Счетчик размножения"},
    {117, ControlKind::PictureButton, "cb_2", {149, 197, 16, 12}, 0, nullptr, "Размножить выбранную в банке частоту с указанным шагом кол-во раз"},
    {118, ControlKind::Label, "time_set", {199, 199, 83, 8}, st::kNoWrap, nullptr, nullptr},
};
// clang-format on

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
