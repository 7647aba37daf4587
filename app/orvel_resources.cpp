// Form resources of the main window and of its one-label tab pages.

#include "app/orvel_resources.h"

#include "ui/form.h"

namespace {

using ui::ControlKind;
namespace st = ui::style;

// Rectangles in dialog units: left, top, width, height.
// clang-format off
constexpr ui::ControlResource kOrvelControls[] = {
    {101, ControlKind::TreeView, "op", {3, 33, 102, 192}, st::kTreeEditLabels | st::kTreeDragDrop, nullptr, nullptr},
    {102, ControlKind::TabControl, "tabctrl_1", {129, 0, 288, 225}, 0, nullptr, nullptr},
    {103, ControlKind::GroupBox, "groupb_1", {0, 225, 420, 30}, 0, nullptr, nullptr},
    {104, ControlKind::PictureButton, "pictbttn_2", {109, 95, 18, 16}, 0, nullptr, "Загрузить Информацию"},
    {105, ControlKind::PictureButton, "pictbttn_3", {109, 113, 18, 16}, 0, nullptr, "Сохранить Информацию"},
    {106, ControlKind::CommandButton, "start", {12, 237, 36, 12}, 0, "ПУСК", "Запуск Сканирования"},
    {107, ControlKind::ComboBox, "ft", {219, 237, 54, 77}, 0, nullptr, "Текущая частота  в МГц"},
    {108, ControlKind::UpDown, "ftup", {273, 234, 11, 18}, 0, nullptr, "Частота + - Шаг"},
    {109, ControlKind::OptionButton, "nfm", {331, 234, 10, 9}, 0, nullptr, "Модуляция NFM"},
    {110, ControlKind::Label, "label_1", {333, 243, 84, 8}, st::kNoWrap, "F   W   A    L    U   C    R", nullptr},
    {111, ControlKind::OptionButton, "wfm", {341, 234, 10, 9}, 0, nullptr, "Модуляция WFM"},
    {112, ControlKind::OptionButton, "am", {352, 234, 10, 9}, 0, nullptr, "Модуляция AM"},
    {113, ControlKind::OptionButton, "lsb", {363, 234, 10, 9}, 0, nullptr, "Модуляция LSB"},
    {114, ControlKind::OptionButton, "usb", {374, 234, 10, 9}, 0, nullptr, "Модуляция USB"},
    {115, ControlKind::OptionButton, "cw", {385, 234, 10, 9}, 0, nullptr, "Модуляция CW"},
    {116, ControlKind::Label, "Jornal", {39, 6, 33, 9}, st::kNoWrap, "Журнал", nullptr},
    {118, ControlKind::Label, "label_4", {285, 231, 9, 6}, st::kNoWrap, "+", nullptr},
    {119, ControlKind::Label, "label_7", {285, 243, 6, 9}, st::kNoWrap, "_", nullptr},
    {120, ControlKind::PictureButton, "pictbttn_1", {109, 189, 18, 15}, 0, nullptr, "Очистить Панель"},
    {121, ControlKind::PictureButton, "pictbttn_4", {109, 171, 18, 15}, 0, nullptr, "Удалить Информацию из Журнала"},
    {122, ControlKind::PictureBox, "pictb_1", {105, 204, 22, 20}, 0, nullptr, nullptr},
    {123, ControlKind::ProgressBar, "progb_1", {147, 240, 69, 9}, 0, nullptr, nullptr},
    {124, ControlKind::CommandButton, "pause", {60, 237, 34, 12}, 0, "ПАУЗА", "Приостановить Исполнение"},
    {126, ControlKind::ComboBox, "step", {291, 237, 39, 77}, 0, nullptr, "Текущий шаг в КГц"},
    {127, ControlKind::GroupBox, "groupb_2", {3, 0, 102, 30}, 0, nullptr, nullptr},
    {128, ControlKind::Label, "clock", {12, 21, 87, 8}, st::kCentered | st::kNoWrap, nullptr, nullptr},
    {129, ControlKind::PictureButton, "pictbttn_5", {108, 237, 16, 12}, 0, nullptr, "Ручное управление"},
    {130, ControlKind::PictureButton, "pictbttn_6", {109, 74, 18, 16}, 0, nullptr, "Минус из текущей частоты"},
    {131, ControlKind::PictureButton, "pictbttn_7", {109, 57, 18, 16}, 0, nullptr, "Выполнить по правой кнопке мыши "},
    {132, ControlKind::PictureButton, "pictbttn_8", {109, 39, 18, 16}, 0, nullptr, "Плюс к текущей частоте"},
    {133, ControlKind::PictureButton, "pictbttn_9", {109, 20, 18, 16}, 0, nullptr, "Создать Фиксированную частоту из выделенной"},
    {134, ControlKind::PictureButton, "pictbttn_10", {109, 2, 18, 16}, 0, nullptr, "Создать Диапазон из выделенного"},
    {136, ControlKind::PictureButton, "pictbttn_11", {109, 153, 18, 16}, 0, nullptr, "Печать отчета"},
    {137, ControlKind::PictureButton, "pictbttn_12", {129, 237, 15, 12}, 0, nullptr, "Калибровка"},
    {138, ControlKind::PictureButton, "pictbttn_13", {110, 134, 18, 16}, 0, nullptr, "Детальный анализ"},
    // Created disabled; the start-up enables it for the IC-756PRO. Its tooltip is the cw
    // button's text.
    {139, ControlKind::OptionButton, "rtty", {397, 234, 10, 9}, st::kDisabled, nullptr, "Модуляция CW"},
};
// clang-format on

constexpr ui::FormResource kOrvel{
    "ID_ORVEL",    419,           264, "8.MS Sans Serif", st::kCaption | st::kSizingFrame,
    kOrvelCaption, kOrvelControls};

// The one-label page forms differ only in name, size and label text.
constexpr const char* kNotSupported = "РЕЖИМ   НЕ   ПОДДЕРЖИВАЕТСЯ";

#define ONE_LABEL_PAGE(form, height, text)                                                    \
    constexpr ui::ControlResource k_##form##_controls[] = {                                   \
        {101, ControlKind::Label, "label_1", {10, 95, 263, 10}, st::kNoWrap, text, nullptr}}; \
    constexpr ui::FormResource k_##form{                                                      \
        "ID_" #form, 283, height, "8.MS Sans Serif", st::kChild, nullptr, k_##form##_controls};

ONE_LABEL_PAGE(rcv, 211, " ТИП   ПРИЕМНИКА   НЕ  УКАЗАН  !")
ONE_LABEL_PAGE(cfreq, 209, kNotSupported)
ONE_LABEL_PAGE(cdiap, 209, kNotSupported)
ONE_LABEL_PAGE(cgroup, 209, kNotSupported)
ONE_LABEL_PAGE(cjob, 209, kNotSupported)
ONE_LABEL_PAGE(cinfo, 209, kNotSupported)
ONE_LABEL_PAGE(cfield, 209, nullptr)  // the phonogram window takes its place
ONE_LABEL_PAGE(parm, 209, "ДЛЯ  ЭТОГО  ЭЛЕМЕНТА  ПАРАМЕТРЫ  ОТСУТСТВУЮТ")

}  // namespace

void RegisterOrvelResources() {
    for (const ui::FormResource* r :
         {&kOrvel, &k_rcv, &k_cfreq, &k_cdiap, &k_cgroup, &k_cjob, &k_cinfo, &k_cfield, &k_parm})
        ui::RegisterFormResource(*r);
}
