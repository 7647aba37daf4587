// The AR8000's job commands 211..228: its own; those both handhelds number alike are the AOR
// core's (aor_jobs.cpp).

#include <span>

#include "receivers/aor/ar8000/ar8000.h"

// Its own beside those both handhelds number alike (AorPanel::ExecuteCommand).
std::span<const JobCommand<AR8000>> AR8000::OwnJobs() {
    // clang-format off
    static constexpr JobCommand<AR8000> kOwnJobs[] = {
        {225, &AR8000::TuneChannelCommand},
        {226, &AR8000::WholeMemoryBoxCommand},
        {227, &AR8000::VfoCommand},
        {228, &AR8000::AutoCommand},
    };
    // clang-format on
    return kOwnJobs;
}

void AR8000::VfoCommand(JobStr& line) {
    Answer(line, SwitchVfo());
}

// AUTO the receiver does not take fails the line with its own message (SwitchAuto).
void AR8000::AutoCommand(JobStr& line) {
    ChooseAuto(line.VAL != 0);
}

// What the job catalog lists under the panel's heading, in its order.
namespace {

using namespace job_catalog;

// clang-format off
constexpr Preset kAr8000Banks[] = {
    {"Банк A", 0}, {"Банк B", 1}, {"Банк C", 2}, {"Банк D", 3}, {"Банк E", 4}, {"Банк F", 5},
    {"Банк G", 6}, {"Банк H", 7}, {"Банк I", 8}, {"Банк J", 9}, {"Банк j", 10}, {"Банк i", 11},
    {"Банк h", 12}, {"Банк g", 13}, {"Банк f", 14}, {"Банк e", 15}, {"Банк d", 16}, {"Банк c", 17},
    {"Банк b", 18}, {"Банк a", 19},
};

constexpr Object kJobCaptions[] = {
    {219, "Поиск Фикс.Частоты слева от маркера"},
    {221, "Поиск Максимума слева от маркера"},
    {217, "Кнопка Очистить"},
    {222, "Поиск Максимума справа от маркера"},
    {220, "Поиск Фикс.Частоты справа от маркера"},
    {225, "Выбор КАНАЛА", R, 1},
    {211, "Кнопка <-Читать Банк из приемника"},
    {212, "Кнопка ->Записать Банк в приемник"},
    {213, "Кнопка <<Внести текущую частоту в Банк"},
    {214, "Установить Аттеньюатор", R, 1},
    {215, "Установить Звук", R, 1},
    {216, "Установить Режим Непосредственной Записи", R, 1},
    {227, "Изменить Режим VFO", R, 1},
    {218, "Отключить AR8000 от компьютера", R, 1},
    {228, "Установить Режим AUTO", R, 1},
    {223, "Поле Шаг-выбор", V | R, 0, kStandardSteps},
    {224, "Выбор БАНКА", V | R, 0, kAr8000Banks},
    // Served, not listed: the whole-memory box.
    {226, nullptr},
};
// clang-format on

}  // namespace

const job_catalog::Heading AR8000::kJobCatalog{"Панель ПРИЕМНИК AR-8000", kJobCaptions};
