// The range window's form resource "ID_diap" and the pictures of its buttons.

#include "windows/diap_form.h"

#include "ui/form.h"

namespace {

using ui::ControlKind;
namespace st = ui::style;

// Rectangles in dialog units: left, top, width, height. The level labels l0..l8 are placed on
// the level grid's rows when the window is made.
// clang-format off
constexpr ui::ControlResource kDiapControls[] = {
    {101, ControlKind::ScrollBar, "vs", {271, 10, 9, 112}, st::kVertical, nullptr, nullptr},
    {102, ControlKind::ScrollBar, "hs", {24, 122, 246, 8}, 0, nullptr, nullptr},
    {103, ControlKind::ComboBox, "fn", {11, 133, 46, 60}, 0, nullptr, nullptr},
    {104, ControlKind::ComboBox, "fk", {94, 133, 46, 60}, 0, nullptr, nullptr},
    {105, ControlKind::UpDown, "fnup", {57, 133, 9, 13}, 0, nullptr, nullptr},
    {106, ControlKind::UpDown, "fkup", {140, 133, 9, 13}, 0, nullptr, nullptr},
    {107, ControlKind::ComboBox, "step", {40, 148, 36, 60}, 0, nullptr, nullptr},
    {108, ControlKind::Label, "label_7", {2, 150, 38, 8}, st::kNoWrap, "Шаг( КГц):", nullptr},
    {109, ControlKind::Label, "label_2", {80, 150, 44, 8}, st::kNoWrap, "Полоса(КГц):", nullptr},
    {110, ControlKind::PictureButton, "left_max", {170, 133, 17, 14}, 0, nullptr, "Влево до Мах"},
    {111, ControlKind::PictureButton, "left_fixed", {188, 133, 17, 14}, 0, nullptr, "Влево до Фикс частоты"},
    {112, ControlKind::PictureButton, "right_fixed", {206, 133, 17, 14}, 0, nullptr, "Вправо до Фикс частоты"},
    {113, ControlKind::PictureButton, "right_max", {224, 133, 17, 14}, 0, nullptr, "Вправо до Мах"},
    {114, ControlKind::Label, "label_3", {2, 135, 9, 8}, st::kNoWrap, "Fн", nullptr},
    {115, ControlKind::Label, "label_4", {85, 135, 9, 8}, st::kNoWrap, "Fк", nullptr},
    {116, ControlKind::Label, "label_5", {67, 135, 16, 8}, st::kNoWrap, "МГц", nullptr},
    {117, ControlKind::Label, "label_6", {150, 135, 16, 8}, st::kNoWrap, "МГц", nullptr},
    {118, ControlKind::Edit, "wid", {124, 148, 30, 12}, 0, nullptr, nullptr},
    {119, ControlKind::Label, "label_1", {24, 1, 246, 9}, st::kBold | st::kNoWrap, nullptr, nullptr},
    {121, ControlKind::OptionButton, "optb_1", {2, 164, 12, 11}, st::kPushLike, "1", nullptr},
    {122, ControlKind::OptionButton, "optb_2", {15, 164, 12, 11}, st::kPushLike, "2", nullptr},
    {123, ControlKind::OptionButton, "optb_3", {28, 164, 12, 11}, st::kPushLike, "3", nullptr},
    {124, ControlKind::OptionButton, "optb_4", {41, 164, 12, 11}, st::kPushLike, "4", nullptr},
    {125, ControlKind::OptionButton, "optb_5", {54, 164, 12, 11}, st::kPushLike, "5", nullptr},
    {126, ControlKind::OptionButton, "optb_6", {67, 164, 12, 11}, st::kPushLike, "6", nullptr},
    {127, ControlKind::OptionButton, "optb_7", {80, 164, 12, 11}, st::kPushLike, "7", nullptr},
    {128, ControlKind::OptionButton, "optb_8", {93, 164, 12, 11}, st::kPushLike, "8", nullptr},
    {129, ControlKind::OptionButton, "optb_9", {106, 164, 12, 11}, st::kPushLike, "9", nullptr},
    {130, ControlKind::OptionButton, "optb_10", {119, 164, 12, 11}, st::kPushLike, "10", nullptr},
    {131, ControlKind::OptionButton, "optb_11", {132, 164, 12, 11}, st::kPushLike, "11", nullptr},
    {132, ControlKind::OptionButton, "optb_12", {145, 164, 12, 11}, st::kPushLike, "12", nullptr},
    {133, ControlKind::OptionButton, "ftek", {5, 198, 10, 9}, 0, nullptr, nullptr},
    {134, ControlKind::OptionButton, "fminm", {31, 198, 10, 9}, 0, nullptr, nullptr},
    {135, ControlKind::OptionButton, "fsum", {62, 198, 10, 9}, 0, nullptr, nullptr},
    {136, ControlKind::OptionButton, "fmaxm", {88, 198, 10, 9}, 0, nullptr, nullptr},
    {137, ControlKind::OptionButton, "fetal", {154, 198, 10, 9}, 0, nullptr, nullptr},
    {138, ControlKind::GroupBox, "groupb_1", {2, 195, 172, 13}, 0, nullptr, nullptr},
    {139, ControlKind::OptionButton, "fobr", {122, 198, 10, 9}, 0, nullptr, nullptr},
    {140, ControlKind::OptionButton, "tek", {5, 185, 10, 9}, 0, nullptr, nullptr},
    {141, ControlKind::OptionButton, "minm", {31, 185, 10, 9}, 0, nullptr, nullptr},
    {142, ControlKind::OptionButton, "sum", {62, 185, 10, 9}, 0, nullptr, nullptr},
    {143, ControlKind::OptionButton, "maxm", {88, 185, 10, 9}, 0, nullptr, nullptr},
    {144, ControlKind::OptionButton, "etal", {154, 185, 10, 9}, 0, nullptr, nullptr},
    {145, ControlKind::GroupBox, "groupb_2", {2, 175, 172, 20}, 0,
     " тек         мин         сред         макс         обр           этал ", nullptr},
    {146, ControlKind::OptionButton, "obr", {122, 185, 10, 9}, 0, nullptr, nullptr},
    {147, ControlKind::Label, "tetl", {208, 151, 73, 8}, st::kNoWrap, nullptr, nullptr},
    {148, ControlKind::PictureButton, "marker", {242, 133, 17, 14}, 0, nullptr, nullptr},
    {149, ControlKind::PictureButton, "clear", {260, 133, 17, 14}, 0, nullptr, "Очистить  шкалу"},
    {150, ControlKind::CheckBox, "is_grid", {188, 148, 17, 14}, st::kPushLike, "#", "Отображать сетку"},
    {151, ControlKind::Label, "l7", {0, 24, 23, 8}, st::kRight | st::kNoWrap, nullptr, nullptr},
    {152, ControlKind::Label, "l6", {0, 34, 23, 8}, st::kRight | st::kNoWrap, nullptr, nullptr},
    {153, ControlKind::Label, "l5", {0, 44, 23, 8}, st::kRight | st::kNoWrap, nullptr, nullptr},
    {154, ControlKind::Label, "l4", {0, 54, 23, 8}, st::kRight | st::kNoWrap, nullptr, nullptr},
    {155, ControlKind::Label, "l3", {0, 64, 23, 8}, st::kRight | st::kNoWrap, nullptr, nullptr},
    {156, ControlKind::Label, "l2", {0, 74, 23, 8}, st::kRight | st::kNoWrap, nullptr, nullptr},
    {157, ControlKind::Label, "l1", {0, 84, 23, 8}, st::kRight | st::kNoWrap, nullptr, nullptr},
    {158, ControlKind::Label, "l8", {0, 14, 23, 8}, st::kRight | st::kNoWrap, nullptr, nullptr},
    {159, ControlKind::Label, "l0", {0, 94, 23, 8}, st::kRight | st::kNoWrap, nullptr, nullptr},
    {160, ControlKind::PictureButton, "aproximate", {170, 148, 17, 14}, 0, nullptr, "Аппроксимировать"},
    {161, ControlKind::Canvas, "pictb_1", {24, 10, 246, 112}, 0, nullptr, nullptr},
};
// clang-format on

// The window fills the main window's range page.
constexpr ui::FormResource kDiapForm{"ID_diap",  283,     209,          "8.MS Sans Serif",
                                     st::kChild, nullptr, kDiapControls};

// clang-format off
constexpr ui::PictureArt kArt[] = {
    {"left_max",  // left to the next peak
     {"..............", "...r..........", "..rrr.........", ".r.r.r........", "...r..........", "...r..........",
      "...r.....n....", "...r....nnn...", "...r...nnnnn..", "...r..nnnnnnn.", ".kkkkkkkkkkkkk", ".............."}},
    {"right_max",  // right to the next peak
     {"..............", "..........r...", ".........rrr..", "........r.r.r.", "..........r...", "..........r...",
      "....n.....r...", "...nnn....r...", "..nnnnn...r...", ".nnnnnnn..r...", "kkkkkkkkkkkkk.", ".............."}},
    {"left_fixed",  // left to the next fixed frequency
     {"..............", "..........b...", "..........b...", "...k......b...", "..kk......b...", ".kkkkkkk..b...",
      "..kk......b...", "...k......b...", "..........b...", "..........b...", "kkkkkkkkkkkkk.", ".............."}},
    {"right_fixed",  // right to the next fixed frequency
     {"..............", "...b..........", "...b..........", "...b......k...", "...b......kk..", "...b..kkkkkkk.",
      "...b......kk..", "...b......k...", "...b..........", "...b..........", ".kkkkkkkkkkkkk", ".............."}},
    {"marker",  // a flag on its pole
     {"..............", "....krrrrr....", "....krrrrrr...", "....krrrrr....", "....k.........", "....k.........",
      "....k.........", "....k.........", "....k.........", "....k.........", "..kkkkk.......", ".............."}},
    {"clear",  // a crossed-out scale
     {"..............", ".r.........r..", "..r.......r...", "...r..n..r....", "....r.nnr.....", ".....rnr......",
      "....nnrnn.....", "...nnrnrnn....", "..nnr...rnn...", ".nnr.....rn...", "kkkkkkkkkkkkk.", ".............."}},
    {"aproximate",  // points joined by a line
     {"..............", "..........kk..", "..........kk..", ".........b....", "........b.....", ".......b......",
      "..kk..b.......", "..kkbb........", "...b..........", "..b...........", "kkkkkkkkkkkkk.", ".............."}},
};
// clang-format on

}  // namespace

void RegisterDiapForm() {
    ui::RegisterFormResource(kDiapForm);
}

ui::ArtPicture DiapPicture(const std::string& controlName) {
    return ui::FindPicture(kArt, controlName);
}
