// The AR5000's job commands 711..747.

#include <algorithm>
#include <span>

#include "receivers/aor/ar5000/ar5000.h"
#include "state/message_bus.h"

// clang-format off
const JobCommand<AR5000> AR5000::kJobCommands[] = {
    {711, &AR5000::ReadBankCommand},
    {712, &AR5000::WriteBankCommand},
    {713, &AR5000::StoreCommand},
    {714, &AR5000::SearchBankCommand},
    {715, &AR5000::VolumeCommand},
    {716, &AR5000::DirectCommand},
    {717, &AR5000::StopScanCommand},
    {718, &AR5000::DisconnectCommand},
    {724, &AR5000::BankCommand},
    {725, &AR5000::ChannelCommand},
    {726, &AR5000::WholeMemoryCommand},
    {727, &AR5000::VfoCommand},
    {728, &AR5000::AutoCommand},
    {729, &AR5000::Attenuator0Command},
    {730, &AR5000::Attenuator10Command},
    {731, &AR5000::Attenuator20Command},
    {732, &AR5000::AttenuatorAutoCommand},
    {733, &AR5000::NoiseSquelchCommand},
    {734, &AR5000::LevelSquelchCommand},
    {735, &AR5000::VoiceSquelchCommand},
    {736, &AR5000::SquelchLevelCommand},
    {737, &AR5000::OpenScanSettingsCommand},
    {738, &AR5000::ExtraFunctionsCommand},
    {739, &AR5000::StartScanCommand},
    {740, &AR5000::BandwidthCommand},
    {741, &AR5000::Antenna1Command},
    {742, &AR5000::Antenna2Command},
    {743, &AR5000::Antenna3Command},
    {744, &AR5000::Antenna4Command},
    {745, &AR5000::IfOffCommand},
    {746, &AR5000::If1Command},
    {747, &AR5000::If2Command},
};
// clang-format on

void AR5000::ExecuteCommand() {
    ServeJobLine(*this, std::span<const JobCommand<AR5000>>(kJobCommands),
                 kAorFineScaleJobs.From(700));
}

void AR5000::VolumeCommand(JobStr& line) {
    Volume = std::min<uint32_t>(line.VAL, 255);
    Answer(line, SendText(aor::Format("VL%03u", Volume)));
    ShowSquelch();
}

// The set answers "QP" with nothing: the write alone tells whether it went.
void AR5000::DisconnectCommand(JobStr& line) {
    if (!Port() || !Port()->WriteString("QP\r\n")) AnswerReceiverSilent(line);
}

void AR5000::VfoCommand(JobStr& line) {
    if (Refuse(line, kVfos, kNoBank)) return;
    Vfo = static_cast<int32_t>(line.VAL);
    Answer(line, SelectVfo(Vfo));
    FollowTuning();
}

void AR5000::AutoCommand(JobStr& line) {
    if (!AutoOn) SavedStep = fdx_->Step;
    AutoOn = true;
    if (cauto) cauto->SetChecked(true);
    Answer(line, SetAuto(true));
    PostToOwner(PostReceiverState);
}

void AR5000::SquelchLevelCommand(JobStr& line) {
    const uint32_t value = std::min<uint32_t>(line.VAL, 255);
    VoiceSquelch = LevelSquelch = NoiseSquelch = value;
    bool taken = SendText(aor::Format("DA%03u", value));
    taken = SendText(aor::Format("DB%03u", value)) && taken;
    taken = SendText(aor::Format("RQ%03u", value)) && taken;
    Answer(line, taken);
    ShowSquelch();
}

void AR5000::ExtraFunctionsCommand(JobStr&) {
    PostToOwner(PostOpenExtraFunctions);
}

void AR5000::BandwidthCommand(JobStr& line) {
    Bandwidth = static_cast<int32_t>(std::min<uint32_t>(line.VAL, 2200));
    Answer(line, SendBandwidth());
}

// What the job catalog lists under the panel's heading, in its order.
namespace {

using namespace job_catalog;

// clang-format off
constexpr Preset kAr5000Vfo[] = {
    {"VFO-A", 0}, {"VFO-B", 1}, {"VFO-C", 2}, {"VFO-D", 3}, {"VFO-E", 4},
};

constexpr Preset kAr5000Bandwidths[] = {
    {"3 кГц", 30}, {"6 кГц", 60}, {"15 кГц", 150}, {"30 кГц", 300}, {"110 кГц", 1100},
    {"220 кГц", 2200},
};

constexpr Preset kBanks0To19[] = {
    {"Банк 0", 0}, {"Банк 1", 1}, {"Банк 2", 2}, {"Банк 3", 3}, {"Банк 4", 4}, {"Банк 5", 5},
    {"Банк 6", 6}, {"Банк 7", 7}, {"Банк 8", 8}, {"Банк 9", 9}, {"Банк 10", 10}, {"Банк 11", 11},
    {"Банк 12", 12}, {"Банк 13", 13}, {"Банк 14", 14}, {"Банк 15", 15}, {"Банк 16", 16},
    {"Банк 17", 17}, {"Банк 18", 18}, {"Банк 19", 19},
};

constexpr Preset kBanks0To9[] = {
    {"Банк 0", 0}, {"Банк 1", 1}, {"Банк 2", 2}, {"Банк 3", 3}, {"Банк 4", 4}, {"Банк 5", 5},
    {"Банк 6", 6}, {"Банк 7", 7}, {"Банк 8", 8}, {"Банк 9", 9},
};

constexpr Object kJobCaptions[] = {
    {719, "Поиск Фикс.Частоты слева от маркера"},
    {721, "Поиск Максимума слева от маркера"},
    {717, "Кнопка Очистить/Остановить сканирование "},
    {722, "Поиск Максимума справа от маркера"},
    {720, "Поиск Фикс.Частоты справа от маркера"},
    {725, "Выбор КАНАЛА", R, 1},
    {711, "Кнопка <-Читать Банк из приемника"},
    {712, "Кнопка ->Записать Банк в приемник"},
    {713, "Кнопка <<Внести текущую частоту в Банк"},
    {716, "Установить Режим Непосредственной Записи", R, 1},
    {718, "Отключить AR5000 от компьютера", R, 1},
    {728, "Установить Режим AUTO", R, 1},
    {727, "Выбор VFO", V | R, 0, kAr5000Vfo},
    {738, "Открыть панель функций"},
    {737, "Открыть панель параметров сканирования"},
    {739, "Пуск аппаратного сканирования"},
    {729, "Кнопка Атт 0 дБ"},
    {730, "Кнопка Атт 10 дБ"},
    {731, "Кнопка Атт 20 дБ"},
    {732, "Кнопка Атт AUto"},
    {715, "Уровень Звука", R},
    {733, "Сквэлш шума", R, 1},
    {734, "Сквэлш уровня", R, 1},
    {735, "Сквэлш голоса", R, 1},
    {736, "Уровень Сквэлша", R},
    {741, "Выбор антенны №1"},
    {742, "Выбор антенны №2"},
    {743, "Выбор антенны №3"},
    {744, "Выбор антенны №4"},
    {745, "Выкл широкополосного выхода"},
    {746, "Широкополосный выход №1"},
    {747, "Широкополосный выход №2"},
    {740, "Поле Полоса", V | R, 0, kAr5000Bandwidths},
    {723, "Поле Шаг-выбор", V | R, 0, kStandardSteps},
    {714, "Выбор БАНКА Поиска", V | R, 0, kBanks0To19},
    {724, "Выбор БАНКА Памяти", V | R, 0, kBanks0To9},
    // Served, not listed: the whole-memory box.
    {726, nullptr},
};
// clang-format on

}  // namespace

const job_catalog::Heading AR5000::kJobCatalog{"Панель ПРИЕМНИК AR-5000", kJobCaptions};
