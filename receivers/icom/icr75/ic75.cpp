#include "receivers/icom/icr75/ic75.h"

#include <limits>
#include <span>

namespace {

constexpr ui::ControlResource kIc75Controls[] = {UI_CONTROL_ROWS(HF_CONTROLS)
                                                     UI_CONTROL_ROWS(IC75_CONTROLS)};

constexpr ui::FormResource kIc75Form = PanelForm("ID_IC75", kIc75Controls, "IC - R75");

// Modes and filters (0 normal, 1 narrow, 2 wide): the mode command, the reply's mode and filter
// bytes, the bandwidth in kHz. WFM is the set's FM on the wide filter; it has no RTTY.
// clang-format off
constexpr CivMode kModes[] = {
    {'A', 0, "060202", "0202", "6.0"}, {'A', 1, "060203", "0203", "2.4"}, {'A', 2, "060201", "0201", "15.0"},
    {'C', 0, "060302", "0302", "6.0"}, {'C', 1, "060303", "0303", "2.4"}, {'C', 2, "060301", "0301", "15.0"},
    {'F', 0, "060502", "0502", "6.0"}, {'F', 1, "060503", "0503", "2.4"}, {'F', 2, "060501", "0501", "15.0"},
    {'L', 0, "060002", "0002", "6.0"}, {'L', 1, "060003", "0003", "2.4"}, {'L', 2, "060001", "0001", "15.0"},
    {'U', 0, "060102", "0102", "6.0"}, {'U', 1, "060103", "0103", "2.4"}, {'U', 2, "060101", "0101", "15.0"},
    {'W', 2, "060501", "0501", "15.0"},
};
constexpr HfModeByte kReplyModes[] = {
    {"00", 'L'}, {"01", 'U'}, {"02", 'A'}, {"11", 'A'}, {"03", 'C'},
    {"04", 'C'}, {"07", 'C'}, {"08", 'C'}, {"05", 'F'},
};
// A channel's mode and filter bytes; F narrow and wide alike, a letter the set lacks as FM.
constexpr HfMemoryMode kMemoryModes[] = {
    {'F', {"0502", "0503", "0503"}}, {'W', {"0501", "0501", "0501"}},
    {'A', {"0202", "0203", "0201"}}, {'C', {"0302", "0303", "0301"}},
    {'L', {"0002", "0003", "0001"}}, {'U', {"0102", "0103", "0101"}},
    {'R', {"0502", "0502", "0502"}},
};
// Every step has a code: the first at or above it.
constexpr HfStepCode kSteps[] = {
    {1, "1001"}, {10, "1002"}, {50, "1003"}, {63, "1004"}, {90, "1005"}, {100, "1006"},
    {125, "1007"}, {200, "1008"}, {250, "1009"}, {1000, "1010"},
    {std::numeric_limits<uint32_t>::max(), "1011"},
};
// clang-format on
constexpr CivAttenuator kAttenuators[] = {{0, "1100"}, {20, "1120"}};
constexpr uint32_t kDepths[] = {20};
constexpr ChoiceKey kAttenuatorKeys[] = {{20, "Атт20"}};
using Column = HfColumn;
constexpr HfListColumn kColumns[] = {
    {"Частота", 60, Column::Frequency}, {"Мод", 36, Column::Mode},
    {"Уровень", 50, Column::Level},     {"Атт", 30, Column::Attenuator},
    {"Комментарий", 76, Column::Label}, {"№", 30, Column::Number},
    {"Выбор", 40, Column::Select},
};
// A letter with its filter: "n" narrow, "w" wide.
constexpr HfModeChoice kModeChoices[] = {
    {"F", 'F', 0},  {"W", 'W', 0},  {"A", 'A', 0},  {"L", 'L', 0},  {"U", 'U', 0},
    {"C", 'C', 0},  {"nF", 'F', 1}, {"nA", 'A', 1}, {"wA", 'A', 2}, {"nL", 'L', 1},
    {"wL", 'L', 2}, {"nU", 'U', 1}, {"wU", 'U', 2}, {"nC", 'C', 1}, {"wC", 'C', 2},
};
constexpr HfChoice kAttenuatorChoices[] = {{"0", 0}, {"20", 20}};
// Delay resume, then the regime's command.
constexpr const char* kScanPrelude[] = {"0E00", "0ED3"};

// Bars a level/8 pixels high; the strip of the whole range 1 MHz a pixel.
constexpr CivModel kCivModel = CivModelOf<IC75>(kIc75Form, kModes, "IC75",
                                                {.overviewHeight = 40,
                                                 .barDivisor = 8,
                                                 .viewSteps = kKilohertzViewSteps,
                                                 .overviewUnit = 10000});

}  // namespace

const ChannelLayout IC75::kChannelLayout{.holds = {.skip = false},
                                         .labelWidth = 8,
                                         .depths = kDepths,
                                         .emptyModulation = 'F',
                                         .bankSize = 101,
                                         .stepLow = kHfChannelStepLow,
                                         .stepHigh = kHfChannelStepHigh};

namespace {

const HfModel kModel{
    .civ = kCivModel,
    .channels = IC75::kChannelLayout,
    .replyModes = kReplyModes,
    .otherMode = 'L',
    .wideFmIsWfm = true,
    .narrowModes = {},
    .storedFilterForModes = true,
    .steps = kSteps,
    .stepsUpTo = true,
    .attenuators = kAttenuators,
    .agcOn = "161201",
    .agcOff = "161200",
    .standbyEnter = "1800",
    .standbyLeave = "1801",
    .standbyCommand = civ::kPowerSet,
    .memoryModes = kMemoryModes,
    // The attenuator, then the preamplifier and the antenna off.
    .attenuatorOn = "20",
    .filler = "0000",
    .nameByte = 15,
    .shortestRecord = 22,
    .memoryModeFirst = true,
    .scanPrelude = kScanPrelude,
    .rangeScan = "0E02",
    .manualScan = nullptr,
    .pauseActions = false,
    .columns = kColumns,
    .modeChoices = kModeChoices,
    .sattChoices = kAttenuatorChoices,
    .sattIsAttenuator = true,
    .jobBase = 1000,
    .readStatus = "Чтение банка",
    .jobReadStatus = "Чтение банка",
    .writeStatus = "Запись банка",
    .clearStatus = "Очистка банка",
    .attenuatorKeys = kAttenuatorKeys,
    .defaultAttenuatorKeys = {},
    .narrowKeys = false,
    .filterChoiceKey = true,
    .channelCountKey = true,
    .keysAfterScale = true,
};

}  // namespace

// The attenuator on, and the channel by its number.
const JobCommand<HfPanel> IC75::kOwnJobs[] = {
    {1016, &IC75::DepthCommand<0>},
    {1028, &IC75::ChannelNumberCommand},
};

IC75::IC75() : HfModelPanel(kModel, kOwnJobs) {}

// The form goes while the model's hooks are still there: its state file is written then.
IC75::~IC75() {
    Destroy();
}

void IC75::WireControls() {
    HfPanel::WireControls();
    catt->On(ui::EventId::Click,
             [this](ui::EventData&) { ChooseAttenuator(catt->IsChecked(), Depth(0)); });
    // The range regime, the bank regime over all channels or over the selected ones.
    const struct {
        ui::OptionButton* option;
        bool bank, selected;
    } regimes[] = {{scandiap, false, false}, {scanbank, true, false}, {scansel, true, true}};
    for (const auto& regime : regimes) {
        regime.option->On(ui::EventId::Click, [this, regime](ui::EventData&) {
            if (!regime.option->IsChecked()) return;
            Settings.RangeScan = !regime.bank;
            Settings.BankScan = regime.bank;
            Settings.ManualScan = false;
            Settings.SelectedChannels = regime.selected;
        });
    }
}

void IC75::ShowAttenuator() {
    if (catt) catt->SetChecked(AttenuatorOption() != 0);
}

void IC75::ShowModelControls() {
    if (!scandiap) return;
    ui::OptionButton* chosen = !Settings.BankScan          ? scandiap
                               : Settings.SelectedChannels ? scansel
                                                           : scanbank;
    chosen->SetChecked(true);
}

// What the job catalog lists under the panel's heading, in its order.
namespace {

using namespace job_catalog;

// clang-format off
constexpr Object kJobCaptions[] = {
    {1029, "Поиск Фикс.Частоты слева от маркера"},
    {1031, "Поиск Максимума слева от маркера"},
    {1034, "Пуск аппаратного сканирования"},
    {1021, "Кнопка Очистить/Остановка сканирования"},
    {1032, "Поиск Максимума справа от маркера"},
    {1030, "Поиск Фикс.Частоты справа от маркера"},
    {1011, "Кнопка <-Читать Банк из приемника"},
    {1012, "Кнопка ->Записать Банк в приемник"},
    {1013, "Кнопка <<Внести текущую частоту в Банк"},
    {1014, "Кнопка Атт 0 дБ"},
    {1016, "Кнопка Атт 20 дБ"},
    {1018, "Уровень Звука", R},
    {1019, "Уровень Сквэлша", R},
    {1020, "Кнопка Непосредственной Записи", R, 1},
    {1022, "TX/RX режимы Приемника", R, 1},
    {1023, "Вкл/Выкл АРУ", R, 1},
    {1024, "Вкл/Выкл Предусилителя", R, 1},
    {1025, "Вкл/Выкл Шум-Фильтра", R, 1},
    {1026, "Поле Шаг-выбор", V | S | R, 0, kStandardSteps},
    {1028, "Выбор КАНАЛА", R, 1},
};
// clang-format on

}  // namespace

const job_catalog::Heading IC75::kJobCatalog{"Панель ПРИЕМНИК IC-R7", kJobCaptions};
