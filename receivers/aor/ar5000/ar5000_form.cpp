#include "receivers/aor/ar5000/ar5000_form.h"

namespace ar5000 {

namespace {

using ui::ControlKind;
namespace st = ui::style;

// Rectangles in dialog units: left, top, width, height.
// clang-format off
constexpr ui::ControlResource kControls[] = {
    {kLabel1, ControlKind::Label, "label_1", {4, 2, 88, 14}, st::kBold | st::kNoWrap, nullptr, nullptr},
    {kWidth, ControlKind::Edit, "width", {94, 4, 26, 12}, 0, nullptr, "Полоса пропускания, кГц"},
    {kBandwidthButton, ControlKind::CommandButton, "cb_5", {122, 3, 30, 13}, 0, "Полоса", nullptr},
    {kStepLabel, ControlKind::Label, "label_2", {178, 5, 42, 9}, st::kNoWrap | st::kRight, "Шаг шкалы", nullptr},
    {kStep, ControlKind::ComboBox, "step", {222, 3, 58, 77}, 0, nullptr, "Шаг частоты точной шкалы"},
    {kScale, ControlKind::Canvas, "scale", {4, 17, 276, 44}, 0, nullptr, nullptr},
    {kScroll, ControlKind::ScrollBar, "hs", {4, 61, 276, 9}, 0, nullptr, nullptr},
    {kPeakLeft, ControlKind::PictureButton, "pictbttn_3", {4, 73, 18, 16}, 0, nullptr, "Влево до Мах"},
    {kFixedLeft, ControlKind::PictureButton, "pictbttn_4", {24, 73, 18, 16}, 0, nullptr, "Влево до Фикс частоты"},
    {kFixedRight, ControlKind::PictureButton, "pictbttn_5", {44, 73, 18, 16}, 0, nullptr, "Вправо до Фикс частоты"},
    {kPeakRight, ControlKind::PictureButton, "pictbttn_2", {64, 73, 18, 16}, 0, nullptr, "Вправо до Мах"},
    {kClear, ControlKind::PictureButton, "clear", {84, 73, 18, 16}, 0, nullptr, "Очистить Шкалу/Остановить сканирование"},
    {kScanSettings, ControlKind::PictureButton, "pictbttn_6", {104, 73, 18, 16}, 0, nullptr, "Установка параметров сканирования"},
    {kStartScan, ControlKind::PictureButton, "pictbttn_1", {124, 73, 18, 16}, 0, nullptr, "Пуск Сканирования"},
    {kAttenuatorFrame, ControlKind::GroupBox, "groupb_1", {146, 70, 100, 21}, 0, "Атт", nullptr},
    {kAtt0, ControlKind::OptionButton, "catt0", {149, 80, 20, 9}, 0, "0", "Выключить Аттенюатор"},
    {kAtt10, ControlKind::OptionButton, "catt10", {170, 80, 24, 9}, 0, "10", "Установить значение Аттенюатора 10 дБ"},
    {kAtt20, ControlKind::OptionButton, "catt20", {195, 80, 24, 9}, 0, "20", "Установить значение Аттенюатора 20 дБ"},
    {kAttAuto, ControlKind::OptionButton, "cattAU", {220, 80, 24, 9}, 0, "AU", "Установить автоматический Аттеньюатор"},
    {kAuto, ControlKind::CheckBox, "cauto", {250, 80, 32, 9}, 0, "AUTO", "Включение/выключение режима AUTO"},
    {kVfoCells, ControlKind::Canvas, "vfo", {4, 91, 200, 18}, 0, nullptr, "Выбор VFO"},
    {kExtra, ControlKind::CommandButton, "cb_4", {208, 92, 38, 13}, 0, "Функции", nullptr},
    {kOff, ControlKind::CommandButton, "off", {248, 92, 34, 13}, 0, "Откл", nullptr},
    {kSquelchFrame, ControlKind::GroupBox, "groupb_2", {4, 110, 110, 21}, 0, "Сквэлш", nullptr},
    {kNoise, ControlKind::OptionButton, "sqns", {8, 120, 30, 9}, 0, "шум", nullptr},
    {kLevel, ControlKind::OptionButton, "sqlv", {40, 120, 32, 9}, 0, "уров", nullptr},
    {kVoice, ControlKind::OptionButton, "sqvc", {74, 120, 38, 9}, 0, "голос", nullptr},
    {kSquelch, ControlKind::Slider, "sql", {116, 115, 66, 14}, 0, nullptr, nullptr},
    {kSoundLabel, ControlKind::Label, "label_3", {184, 118, 18, 9}, st::kNoWrap, "Звук", nullptr},
    {kSound, ControlKind::Slider, "snd", {204, 115, 78, 14}, 0, nullptr, nullptr},
    {kList, ControlKind::ListView, "lv_1", {4, 131, 170, 63}, 0, nullptr, nullptr},
    {kBankLabel, ControlKind::Label, "label_4", {178, 132, 18, 9}, st::kNoWrap, "Банк", nullptr},
    {kBank, ControlKind::ComboBox, "bn", {198, 130, 26, 77}, 0, nullptr, "Выбор банка из списка"},
    {kChannelNumber, ControlKind::Label, "Nk", {226, 132, 14, 9}, st::kNoWrap | st::kBold, nullptr, nullptr},
    {kDirect, ControlKind::CheckBox, "cbank", {242, 131, 40, 10}, 0, "Запись", "Непосредственная запись в приемник информации о банках"},
    {kChannelFrequency, ControlKind::Edit, "textb_1", {178, 143, 50, 12}, 0, nullptr, nullptr},
    {kChannelMode, ControlKind::ComboBox, "smod", {230, 143, 26, 77}, 0, nullptr, nullptr},
    {kChannelStep, ControlKind::Edit, "sstep", {258, 143, 24, 12}, 0, nullptr, nullptr},
    {kComment, ControlKind::Edit, "comment", {178, 156, 60, 12}, 0, nullptr, nullptr},
    {kChannelAttenuator, ControlKind::ComboBox, "combo_att", {240, 156, 26, 77}, 0, nullptr, nullptr},
    {kSelect, ControlKind::CheckBox, "sel", {178, 170, 35, 10}, 0, "Выбор", nullptr},
    {kSkip, ControlKind::CheckBox, "skip", {214, 170, 39, 10}, 0, "Пропуск", nullptr},
    {kWholeMemory, ControlKind::CheckBox, "mem", {254, 170, 28, 10}, 0, "Всё", "Запись/Чтение всей памяти"},
    {kStore, ControlKind::CommandButton, "cb_3", {178, 181, 34, 13}, 0, "В банк", "Внесение в банк текущих установок приемника"},
    {kRead, ControlKind::CommandButton, "cb_2", {214, 181, 34, 13}, 0, "Чтение", "Чтение банков памяти из приемника "},
    {kWrite, ControlKind::CommandButton, "cb_1", {250, 181, 32, 13}, 0, "Запись", "Запись информации о банках в приемник"},
    {kSearchLabel, ControlKind::Label, "label_5", {4, 198, 22, 9}, st::kNoWrap, "Поиск", nullptr},
    {kSearchBank, ControlKind::ComboBox, "sbn", {28, 196, 26, 77}, 0, nullptr, "Выбор банка поиска из списка"},
    {kSearchLower, ControlKind::Edit, "textb_Fn", {56, 196, 44, 12}, 0, nullptr, nullptr},
    {kSearchUpper, ControlKind::Edit, "textb_Fk", {102, 196, 44, 12}, 0, nullptr, nullptr},
    {kSearchStep, ControlKind::Edit, "textb_step", {148, 196, 28, 12}, 0, nullptr, nullptr},
    {kSearchMode, ControlKind::ComboBox, "combo_mod", {178, 196, 28, 77}, 0, nullptr, nullptr},
    {kSearchAttenuator, ControlKind::ComboBox, "scombo_att", {208, 196, 26, 77}, 0, nullptr, nullptr},
    {kSearchLabelText, ControlKind::Edit, "textb_com", {236, 196, 46, 12}, 0, nullptr, nullptr},
};
// clang-format on

}  // namespace

const ui::FormResource kForm{"ID_AR5000", 283,     209,      "8.MS Sans Serif",
                             st::kChild,  nullptr, kControls};


}  // namespace ar5000
