#include "receivers/aor/ar5000/ar5000_form.h"

namespace ar5000 {

namespace {

using ui::ControlKind;
namespace st = ui::style;

// Rectangles in dialog units: left, top, width, height.
// clang-format off
constexpr ui::ControlResource kControls[] = {
    {kLabel1, ControlKind::Label, "label_1", {4, 2, 92, 14}, st::kBold | st::kNoWrap, nullptr, nullptr},
    {kWidth, ControlKind::Edit, "width", {98, 4, 28, 12}, 0, nullptr, "Полоса пропускания, кГц"},
    {kBandwidthButton, ControlKind::CommandButton, "cb_5", {128, 3, 30, 13}, 0, "Полоса", nullptr},
    {kStepLabel, ControlKind::Label, "label_2", {190, 5, 44, 9}, st::kNoWrap | st::kRight, "Шаг шкалы", nullptr},
    {kStep, ControlKind::ComboBox, "step", {236, 3, 58, 77}, 0, nullptr, "Шаг частоты точной шкалы"},
    {kScale, ControlKind::Canvas, "scale", {4, 18, 290, 66}, 0, nullptr, nullptr},
    {kScroll, ControlKind::ScrollBar, "hs", {4, 84, 290, 9}, 0, nullptr, nullptr},
    {kPeakLeft, ControlKind::PictureButton, "pictbttn_3", {4, 95, 18, 16}, 0, nullptr, "Влево до Мах"},
    {kFixedLeft, ControlKind::PictureButton, "pictbttn_4", {24, 95, 18, 16}, 0, nullptr, "Влево до Фикс частоты"},
    {kFixedRight, ControlKind::PictureButton, "pictbttn_5", {44, 95, 18, 16}, 0, nullptr, "Вправо до Фикс частоты"},
    {kPeakRight, ControlKind::PictureButton, "pictbttn_2", {64, 95, 18, 16}, 0, nullptr, "Вправо до Мах"},
    {kClear, ControlKind::PictureButton, "clear", {84, 95, 18, 16}, 0, nullptr, "Очистить Шкалу/Остановить сканирование"},
    {kScanSettings, ControlKind::PictureButton, "pictbttn_6", {104, 95, 18, 16}, 0, nullptr, "Установка параметров сканирования"},
    {kStartScan, ControlKind::PictureButton, "pictbttn_1", {124, 95, 18, 16}, 0, nullptr, "Пуск Сканирования"},
    {kAttenuatorFrame, ControlKind::GroupBox, "groupb_1", {146, 93, 118, 19}, 0, "Атт", nullptr},
    {kAtt0, ControlKind::OptionButton, "catt0", {150, 100, 22, 10}, 0, "0", "Выключить Аттенюатор"},
    {kAtt10, ControlKind::OptionButton, "catt10", {174, 100, 26, 10}, 0, "10", "Установить значение Аттенюатора 10 дБ"},
    {kAtt20, ControlKind::OptionButton, "catt20", {202, 100, 26, 10}, 0, "20", "Установить значение Аттенюатора 20 дБ"},
    {kAttAuto, ControlKind::OptionButton, "cattAU", {230, 100, 30, 10}, 0, "AU", "Установить автоматический Аттеньюатор"},
    {kAuto, ControlKind::CheckBox, "cauto", {266, 100, 30, 10}, 0, "AUTO", "Включение/выключение режима AUTO"},
    {kVfoCells, ControlKind::Canvas, "vfo", {4, 114, 206, 20}, 0, nullptr, "Выбор VFO"},
    {kExtra, ControlKind::CommandButton, "cb_4", {214, 114, 40, 13}, 0, "Функции", nullptr},
    {kOff, ControlKind::CommandButton, "off", {256, 114, 38, 13}, 0, "Откл", nullptr},
    {kSquelchFrame, ControlKind::GroupBox, "groupb_2", {4, 135, 110, 19}, 0, "Сквэлш", nullptr},
    {kNoise, ControlKind::OptionButton, "sqns", {8, 142, 30, 10}, 0, "шум", nullptr},
    {kLevel, ControlKind::OptionButton, "sqlv", {40, 142, 32, 10}, 0, "уров", nullptr},
    {kVoice, ControlKind::OptionButton, "sqvc", {74, 142, 38, 10}, 0, "голос", nullptr},
    {kSquelch, ControlKind::Slider, "sql", {116, 138, 70, 14}, 0, nullptr, nullptr},
    {kSoundLabel, ControlKind::Label, "label_3", {190, 141, 20, 9}, st::kNoWrap, "Звук", nullptr},
    {kSound, ControlKind::Slider, "snd", {212, 138, 82, 14}, 0, nullptr, nullptr},
    {kList, ControlKind::ListView, "lv_1", {4, 156, 172, 70}, 0, nullptr, nullptr},
    {kBankLabel, ControlKind::Label, "label_4", {180, 158, 20, 9}, st::kNoWrap, "Банк", nullptr},
    {kBank, ControlKind::ComboBox, "bn", {202, 156, 26, 77}, 0, nullptr, "Выбор банка из списка"},
    {kChannelNumber, ControlKind::Label, "Nk", {230, 158, 16, 9}, st::kNoWrap | st::kBold, nullptr, nullptr},
    {kDirect, ControlKind::CheckBox, "cbank", {248, 157, 46, 10}, 0, "Запись", "Непосредственная запись в приемник информации о банках"},
    {kChannelFrequency, ControlKind::Edit, "textb_1", {180, 170, 52, 12}, 0, nullptr, nullptr},
    {kChannelMode, ControlKind::ComboBox, "smod", {234, 170, 28, 77}, 0, nullptr, nullptr},
    {kChannelStep, ControlKind::Edit, "sstep", {264, 170, 30, 12}, 0, nullptr, nullptr},
    {kComment, ControlKind::Edit, "comment", {180, 184, 60, 12}, 0, nullptr, nullptr},
    {kChannelAttenuator, ControlKind::ComboBox, "combo_att", {242, 184, 26, 77}, 0, nullptr, nullptr},
    {kSelect, ControlKind::CheckBox, "sel", {180, 198, 34, 10}, 0, "Выбор", nullptr},
    {kSkip, ControlKind::CheckBox, "skip", {216, 198, 40, 10}, 0, "Пропуск", nullptr},
    {kWholeMemory, ControlKind::CheckBox, "mem", {258, 198, 36, 10}, 0, "Всё", "Запись/Чтение всей памяти"},
    {kStore, ControlKind::CommandButton, "cb_3", {180, 211, 36, 14}, 0, "В банк", "Внесение в банк текущих установок приемника"},
    {kRead, ControlKind::CommandButton, "cb_2", {218, 211, 36, 14}, 0, "Чтение", "Чтение банков памяти из приемника "},
    {kWrite, ControlKind::CommandButton, "cb_1", {256, 211, 38, 14}, 0, "Запись", "Запись информации о банках в приемник"},
    {kSearchLabel, ControlKind::Label, "label_5", {4, 232, 22, 9}, st::kNoWrap, "Поиск", nullptr},
    {kSearchBank, ControlKind::ComboBox, "sbn", {28, 230, 26, 77}, 0, nullptr, "Выбор банка поиска из списка"},
    {kSearchLower, ControlKind::Edit, "textb_Fn", {56, 230, 44, 12}, 0, nullptr, nullptr},
    {kSearchUpper, ControlKind::Edit, "textb_Fk", {102, 230, 44, 12}, 0, nullptr, nullptr},
    {kSearchStep, ControlKind::Edit, "textb_step", {148, 230, 30, 12}, 0, nullptr, nullptr},
    {kSearchMode, ControlKind::ComboBox, "combo_mod", {180, 230, 28, 77}, 0, nullptr, nullptr},
    {kSearchAttenuator, ControlKind::ComboBox, "scombo_att", {210, 230, 26, 77}, 0, nullptr, nullptr},
    {kSearchLabelText, ControlKind::Edit, "textb_com", {238, 230, 56, 12}, 0, nullptr, nullptr},
};

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
    {"clear",  // clear the scale or stop the scan: a crossed-out scale
     {"..............", ".r.........r..", "..r.......r...", "...r..n..r....", "....r.nnr.....", ".....rnr......",
      "....nnrnn.....", "...nnrnrnn....", "..nnr...rnn...", ".nnr.....rn...", "kkkkkkkkkkkkk.", ".............."}},
};
// clang-format on

}  // namespace

const ui::FormResource kForm{"ID_AR5000", 298,     246,      "8.MS Sans Serif",
                             st::kChild,  nullptr, kControls};

ui::ArtPicture Picture(const std::string& controlName) {
    return ui::FindPicture(kArt, controlName);
}

}  // namespace ar5000
