#include "receivers/icom/ic756/ic756.h"

#include <span>
#include <utility>

#include "receivers/icom/ic756/ric756.h"
#include "state/message_bus.h"

namespace {

constexpr ui::ControlResource kIc756Controls[] = {UI_CONTROL_ROWS(HF_CONTROLS)
                                                      UI_CONTROL_ROWS(IC756_CONTROLS)};

constexpr ui::FormResource kIc756Form = PanelForm("ID_IC756", kIc756Controls, "IC - 756PRO");

// Modes and filters (0 normal, 1 narrow, 2 wide): the mode command, the reply's mode and filter
// bytes, the bandwidth in kHz. The set has no WFM: W is its FM.
// clang-format off
constexpr CivMode kModes[] = {
    {'L', 0, "060002", "0002", "2.1"},  {'L', 1, "060003", "0003", "1.8"},  {'L', 2, "060001", "0001", "3.0"},
    {'U', 0, "060102", "0102", "2.1"},  {'U', 1, "060103", "0103", "1.8"},  {'U', 2, "060101", "0101", "3.0"},
    {'A', 0, "060202", "0202", "6.0"},  {'A', 1, "060203", "0203", "3.0"},  {'A', 2, "060201", "0201", "9.0"},
    {'C', 0, "060302", "0302", "0.5"},  {'C', 1, "060303", "0303", "0.25"}, {'C', 2, "060301", "0301", "1.2"},
    {'R', 0, "060402", "0402", "0.5"},  {'R', 1, "060403", "0403", "0.25"}, {'R', 2, "060401", "0401", "2.4"},
    {'F', 0, "060502", "0502", "10.0"}, {'F', 1, "060503", "0503", "7.0"},  {'F', 2, "060501", "0501", "15.0"},
    {'W', 0, "060502", "0502", "15.0"}, {'W', 1, "060503", "0503", "15.0"}, {'W', 2, "060501", "0501", "15.0"},
};
// clang-format on
// CW and RTTY narrow go as the receiver's reverse modes with the narrow filter.
constexpr HfNarrowMode kNarrowModes[] = {
    {'C', &HfSettings::Cnar, "060703"},
    {'R', &HfSettings::Rnar, "060803"},
};
constexpr HfModeByte kReplyModes[] = {
    {"05", 'F'}, {"06", 'W'}, {"02", 'A'}, {"00", 'L'}, {"01", 'U'},
    {"03", 'C'}, {"07", 'C'}, {"04", 'R'}, {"08", 'R'},
};
// A channel's mode byte: CW as the receiver's reverse CW, FM and WFM as its FM.
// clang-format off
constexpr HfMemoryMode kMemoryModes[] = {
    {'F', {"0502", "0503", "0501"}}, {'W', {"0502", "0503", "0501"}},
    {'A', {"0202", "0203", "0201"}}, {'C', {"0702", "0703", "0701"}},
    {'L', {"0002", "0003", "0001"}}, {'R', {"0402", "0403", "0401"}},
    {'U', {"0102", "0103", "0101"}},
};
constexpr HfStepCode kSteps[] = {
    {1, "1001"}, {10, "1002"}, {50, "1003"}, {90, "1004"},
    {100, "1005"}, {125, "1006"}, {200, "1007"}, {250, "1008"},
};
constexpr CivAttenuator kAttenuators[] = {{0, "1100"}, {6, "1106"}, {12, "1112"}, {18, "1118"}};
constexpr uint32_t kDepths[] = {6, 12, 18};
constexpr ChoiceKey kAttenuatorKeys[] = {
    {0, "Атт0"}, {6, "Атт10"}, {12, "Атт20"}, {18, "Атт30"}};
constexpr ChoiceKey kDefaultAttenuatorKeys[] = {
    {6, "Умолч_Атт10"}, {12, "Умолч_Атт20"}, {18, "Умолч_Атт30"}};
// Steps of the fine scale, one pixel column each (100 Hz units), in kHz.
constexpr ViewStepEntry kViewSteps[] = {
    {10, "1"}, {50, "5"}, {100, "10"}, {200, "20"}, {500, "50"}, {1000, "100"},
    {2000, "200"}, {5000, "500"}, {10000, "1000"}, {20000, "2000"}, {50000, "5000"},
};
using Column = HfColumn;
constexpr HfListColumn kColumns[] = {
    {"Частота", 60, Column::Frequency}, {"Шаг", 36, Column::Step}, {"Мод", 40, Column::Mode},
    {"Уровень", 50, Column::Level}, {"Фильтр", 44, Column::Filter},
    {"Комментарий", 76, Column::Label}, {"№", 30, Column::Number}, {"Выбор", 40, Column::Select},
    {"Пропуск", 50, Column::Skip},
};
// clang-format on
constexpr HfModeChoice kModeChoices[] = {
    {"FM", 'F', -1},  {"AM", 'A', -1}, {"LSB", 'L', -1},
    {"USB", 'U', -1}, {"CW", 'C', -1}, {"RTTY", 'R', -1},
};
constexpr HfChoice kFilterChoices[] = {{"FL1", 2}, {"FL2", 0}, {"FL3", 1}};
constexpr const char* kScanPrelude[] = {"0E00"};

// Bars a level/8 pixels high; the strip of the whole range 250 kHz a pixel.
constexpr CivModel kCivModel = CivModelOf<IC756>(
    kIc756Form, kModes, "ICIC_756",
    {.overviewHeight = 40, .barDivisor = 8, .viewSteps = kViewSteps, .overviewUnit = 2500});

}  // namespace

const ChannelLayout IC756::kChannelLayout{
    .holds = {},
    .labelWidth = 10,
    .depths = kDepths,
    .emptyModulation = 'F',
    .bankSize = 101,
    .stepLow = kHfChannelStepLow,
    .stepHigh = kHfChannelStepHigh};

namespace {

const HfModel kModel{
    .civ = kCivModel,
    .channels = IC756::kChannelLayout,
    .replyModes = kReplyModes,
    .otherMode = 'F',
    .wideFmIsWfm = false,
    .narrowModes = kNarrowModes,
    .storedFilterForModes = false,
    .steps = kSteps,
    .stepsUpTo = false,
    .attenuators = kAttenuators,
    .agcOn = "161201",
    .agcOff = "161203",
    .standbyEnter = "1C01",
    .standbyLeave = "1C00",
    .standbyCommand = 0x1C,
    .memoryModes = kMemoryModes,
    .attenuatorOn = nullptr,
    // No tone, and the tones at 88.5 Hz.
    .filler = "00000885000885",
    .nameByte = 19,
    .shortestRecord = 23,
    .memoryModeFirst = false,
    .scanPrelude = kScanPrelude,
    .rangeScan = "0E01",
    .manualScan = "0E03",
    .pauseActions = true,
    .columns = kColumns,
    .modeChoices = kModeChoices,
    .sattChoices = kFilterChoices,
    .sattIsAttenuator = false,
    .jobBase = 1200,
    .readStatus = "Чтение банка",
    .jobReadStatus = "Чтение банков приемника",
    .writeStatus = "Запись банка ",
    .clearStatus = "Очистка банка ",
    .attenuatorKeys = kAttenuatorKeys,
    .defaultAttenuatorKeys = kDefaultAttenuatorKeys,
    .narrowKeys = true,
    .filterChoiceKey = false,
    .channelCountKey = false,
    .keysAfterScale = false,
};

}  // namespace

// The depths of the attenuator, the channel by its table entry and the settings dialog.
const JobCommand<HfPanel> IC756::kOwnJobs[] = {
    {1215, &IC756::DepthCommand<0>},         {1216, &IC756::DepthCommand<1>},
    {1217, &IC756::DepthCommand<2>},         {1228, &IC756::ChannelEntryCommand},
    {1235, &IC756::OpenScanSettingsCommand},
};

IC756::IC756() : HfModelPanel(kModel, kOwnJobs) {}

// The form goes while the model's hooks are still there: its state file is written then.
IC756::~IC756() {
    Destroy();
}

void IC756::WireControls() {
    HfPanel::WireControls();
    pictbttn_6->On(ui::EventId::Click,
                   [this](ui::EventData&) { PostToOwner(PostOpenScanSettings); });
}

void IC756::ServeDialogCode(uint32_t code) {
    if (code == PostOpenScanSettings) OpenScanDialog(dialog_, *this, Settings);
}

// What the job catalog lists under the panel's heading, in its order.
namespace {

using namespace job_catalog;

// clang-format off
constexpr Preset kIc756Steps[] = {
    {"1 кГц", 10}, {"5 кГц", 50}, {"10 кГц", 100}, {"20 кГц", 200}, {"50 кГц", 500},
    {"100 кГц", 1000}, {"200 кГц", 2000}, {"500 кГц", 5000}, {"1 МГц", 10000}, {"2 МГц", 20000},
    {"5 МГц", 50000},
};

constexpr Object kJobCaptions[] = {
    {1229, "Поиск Фикс.Частоты слева от маркера"},
    {1231, "Поиск Максимума слева от маркера"},
    {1235, "Открыть панель параметров"},
    {1234, "Пуск аппаратного сканирования"},
    {1221, "Кнопка Очистить/Остановка сканирования"},
    {1232, "Поиск Максимума справа от маркера"},
    {1230, "Поиск Фикс.Частоты справа от маркера"},
    {1211, "Кнопка <-Читать Банк из приемника"},
    {1212, "Кнопка ->Записать Банк в приемник"},
    {1213, "Кнопка <<Внести текущую частоту в Банк"},
    {1214, "Кнопка Атт 0 дБ"},
    {1215, "Кнопка Атт 6 дБ"},
    {1216, "Кнопка Атт 12 дБ"},
    {1217, "Кнопка Атт 18 дБ"},
    {1218, "Уровень Звука", R},
    {1219, "Уровень Сквэлша", R},
    {1220, "Кнопка Непосредственной Записи", R, 1},
    {1222, "Вкл/Выкл Приемника", R, 1},
    {1223, "Вкл/Выкл АРУ", R, 1},
    {1224, "Вкл/Выкл Предусилитель", R, 1},
    {1225, "Вкл/Выкл Шум-Фильтра", R, 1},
    {1226, "Поле Шаг-выбор", V | S | R, 0, kIc756Steps},
    {1228, "Выбор КАНАЛА", R, 1},
};
// clang-format on

}  // namespace

const job_catalog::Heading IC756::kJobCatalog{"Панель ТРАНСИВЕР IC-756PRO", kJobCaptions};
