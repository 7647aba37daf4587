// The AR8200's job commands 911..934: its own; those both handhelds number alike are the AOR
// core's (aor_jobs.cpp).

#include <span>

#include "receivers/aor/ar8200/ar8200.h"
#include "state/message_bus.h"

namespace {

// Job values of "Выбор VFO" as the catalog names them: "VFO-A" 0, "VFO-B" 1, "VFO" 2.
constexpr int kVfoOfJobValue[] = {AR8200::kVfoA, AR8200::kVfoB, AR8200::kVfoF};

}  // namespace

// Its own beside those both handhelds number alike (AorPanel::ExecuteCommand).
std::span<const JobCommand<AR8200>> AR8200::OwnJobs() {
    // clang-format off
    static constexpr JobCommand<AR8200> kOwnJobs[] = {
        {925, &AR8200::SearchBankCommand},
        {926, &AR8200::TuneChannelCommand},
        {927, &AR8200::WholeMemoryBoxCommand},
        {928, &AR8200::VfoCommand},
        {929, &AR8200::AutoCommand},
        {930, &AR8200::StartScanCommand},
        {931, &AR8200::ScanSettingsCommand},
        {932, &AR8200::SquelchValueCommand},
        {933, &AR8200::VoiceSquelchCommand},
        {934, &AR8200::LevelSquelchCommand},
    };
    // clang-format on
    return kOwnJobs;
}

// Switched on, the selected channel goes into the receiver at once.
void AR8200::DirectWriteSwitched(JobStr& line) {
    if (DirectWrite && !ChannelAt(CurrentBank, SelectedChannel()).Empty())
        Answer(line, SendChannel(CurrentBank, SelectedChannel()));
}

void AR8200::VfoCommand(JobStr& line) {
    const uint32_t value = line.VAL <= 2 ? line.VAL : 0;
    Answer(line, SelectVfo(kVfoOfJobValue[value]));
    if (Reply.State == AorState::Vfo) TakeReceiverState();
    FollowTuning();
    PostToOwner(PostReceiverState);
}

// AUTO the receiver does not take fails the line with its own message (SwitchAuto).
void AR8200::AutoCommand(JobStr& line) {
    SwitchAuto(line.VAL != 0);
    PostToOwner(PostReceiverState);
}

void AR8200::ScanSettingsCommand(JobStr&) {
    PostToOwner(PostOpenScanSettings);
}

void AR8200::SquelchValueCommand(JobStr& line) {
    Answer(line, SetSquelch(line.VAL));
}

// What the job catalog lists under the panel's heading, in its order.
namespace {

using namespace job_catalog;

// clang-format off
constexpr Preset kAr8200Vfo[] = {
    {"VFO-A", 0}, {"VFO-B", 1}, {"VFO", 2},
};

constexpr Preset kAr8200Banks[] = {
    {"Банк A", 0}, {"Банк B", 1}, {"Банк C", 2}, {"Банк D", 3}, {"Банк E", 4}, {"Банк F", 5},
    {"Банк G", 6}, {"Банк H", 7}, {"Банк I", 8}, {"Банк J", 9}, {"Банк a", 10}, {"Банк b", 11},
    {"Банк c", 12}, {"Банк d", 13}, {"Банк e", 14}, {"Банк f", 15}, {"Банк g", 16}, {"Банк h", 17},
    {"Банк i", 18}, {"Банк j", 19},
};

constexpr Preset kAr8200SearchBanks[] = {
    {"Банк A", 0}, {"Банк B", 1}, {"Банк C", 2}, {"Банк D", 3}, {"Банк E", 4}, {"Банк F", 5},
    {"Банк G", 6}, {"Банк H", 7}, {"Банк I", 8}, {"Банк J", 9}, {"Банк K", 10}, {"Банк L", 11},
    {"Банк M", 12}, {"Банк N", 13}, {"Банк O", 14}, {"Банк P", 15}, {"Банк Q", 16}, {"Банк R", 17},
    {"Банк S", 18}, {"Банк T", 19}, {"Банк a", 20}, {"Банк b", 21}, {"Банк c", 22}, {"Банк d", 23},
    {"Банк e", 24}, {"Банк f", 25}, {"Банк g", 26}, {"Банк h", 27}, {"Банк i", 28}, {"Банк j", 29},
    {"Банк k", 30}, {"Банк l", 31}, {"Банк m", 32}, {"Банк n", 33}, {"Банк o", 34}, {"Банк p", 35},
    {"Банк q", 36}, {"Банк r", 37}, {"Банк s", 38}, {"Банк t", 39},
};

constexpr Object kJobCaptions[] = {
    {919, "Поиск Фикс.Частоты слева от маркера"},
    {921, "Поиск Максимума слева от маркера"},
    {917, "Кнопка Очистить/остановить сканирование"},
    {922, "Поиск Максимума справа от маркера"},
    {920, "Поиск Фикс.Частоты справа от маркера"},
    {926, "Выбор КАНАЛА", R, 1},
    {911, "Кнопка <-Читать Банк из приемника"},
    {912, "Кнопка ->Записать Банк в приемник"},
    {913, "Кнопка <<Внести текущую частоту в Банк"},
    {914, "Установить Аттенюатор", R, 1},
    {915, "Установить Звук", R, 1},
    {916, "Установить Режим Непосредственной Записи", R, 1},
    {918, "Отключить AR8200 от компьютера", R, 1},
    {929, "Установить Режим AUTO", R, 1},
    {928, "Выбор VFO", V | R, 0, kAr8200Vfo},
    {931, "Открыть панель параметров"},
    {930, "Аппаратное сканирование"},
    {934, "Сквэлш по уровню - вкл", R, 1},
    {933, "Сквэлш по голосу", R, 1},
    {932, "Уровень сквэлша", R},
    {923, "Поле Шаг-выбор", V | R, 0, kStandardSteps},
    {924, "Выбор БАНКА", V | R, 0, kAr8200Banks},
    {925, "Выбор БАНКА ПОИСКА", V | R, 0, kAr8200SearchBanks},
    // Served, not listed: the whole-memory box.
    {927, nullptr},
};
// clang-format on

}  // namespace

const job_catalog::Heading AR8200::kJobCatalog{"Панель ПРИЕМНИК AR-8200", kJobCaptions};
