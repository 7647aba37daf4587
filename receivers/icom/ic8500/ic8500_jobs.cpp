// The IC-R8500's job commands 411..435.

#include <span>

#include "receivers/icom/ic8500/ic8500.h"

// The model's own; the commands the memory core shares are added from the job base 400.
std::span<const JobCommand<IC8500>> IC8500::OwnJobs() {
    // clang-format off
    static constexpr JobCommand<IC8500> kRows[] = {
        {415, &IC8500::DepthCommand<0>},
        {416, &IC8500::DepthCommand<1>},
        {417, &IC8500::DepthCommand<2>},
        {422, &IC8500::PowerCommand},
        {427, &IC8500::BankCommand},
        {428, &IC8500::ChannelCommand},
        {433, &IC8500::DirectBoxCommand},
        {435, &IC8500::OpenScanSettingsCommand},
    };
    // clang-format on
    return kRows;
}

void IC8500::ExecuteCommand() {
    ServeJobLine(*this, std::span<const JobCommand<IC8500>>(jobs_),
                 kIcomFineScaleJobs.From(kJobBase));
}

// A setting the receiver refuses (FA) leaves the line done all the same: the job goes on as
// after a setting taken, and a set that keeps refusing is found by the rejections the timer
// tick counts (standby). One it leaves unanswered fails the line (ServeJobLine). A bank or
// channel the panel does not have fails the line, and so do a transfer the receiver did not
// answer or did not take whole, and a scan it did not start (their messages).

void IC8500::PowerCommand(JobStr& line) {
    // The panel takes the state the line asks for whatever the answer, unlike the power
    // button, which waits for the set to take it.
    if (line.VAL == 0) {
        Exchange("1800", civ::kPowerSet);
        if (!Standby) EnterStandby();
    } else if (Standby) {
        Exchange("1801", civ::kPowerSet);
        LeaveStandby();
    }
}

void IC8500::BankCommand(JobStr& line) {
    if (Refuse(line, kBankCount, kNoBank)) return;
    ChooseBank(line.VAL);
}

void IC8500::ChannelCommand(JobStr& line) {
    if (Refuse(line, BankChannels[CurrentBank], kNoChannel)) return;
    BankPositions[CurrentBank] = line.VAL;
    if (lv_1) lv_1->SelectRow(RowOf(line.VAL));
    ShowChannel();
    if (Settings.DirectMode) SelectChannel(line.VAL);
}

void IC8500::DirectBoxCommand(JobStr& line) {
    SwitchDirectWrite(line.VAL != 0, /*apply=*/false);
}

// What the job catalog lists under the panel's heading, in its order.
namespace {

using namespace job_catalog;

// clang-format off
constexpr Preset kIc8500Banks[] = {
    {"Банк 0", 0}, {"Банк 1", 1}, {"Банк 2", 2}, {"Банк 3", 3}, {"Банк 4", 4}, {"Банк 5", 5},
    {"Банк 6", 6}, {"Банк 7", 7}, {"Банк 8", 8}, {"Банк 9", 9}, {"Банк 10", 10}, {"Банк 11", 11},
    {"Банк 12", 12}, {"Банк 13", 13}, {"Банк 14", 14}, {"Банк 15", 15}, {"Банк 16", 16},
    {"Банк 17", 17}, {"Банк 18", 18}, {"Банк 19", 19}, {"Банк FREE-свободных каналов", 20},
    {"Банк AUTO-автоматически заполняемых при сканировании", 21},
    {"Банк SKIP-пропускаемых при сканировании", 22},
    {"Банк PROG-для сканирования диапазона частот", 23},
    {"Банк PRIO-приоритетной частоты для постоянного опроса", 24},
};

constexpr Object kJobCaptions[] = {
    {429, "Поиск Фикс.Частоты слева от маркера"},
    {431, "Поиск Максимума слева от маркера"},
    {435, "Открыть панель параметров"},
    {434, "Пуск аппаратного сканирования"},
    {421, "Кнопка Очистить/Остановка сканирования"},
    {432, "Поиск Максимума справа от маркера"},
    {430, "Поиск Фикс.Частоты справа от маркера"},
    {411, "Кнопка <-Читать Банк из приемника"},
    {412, "Кнопка ->Записать Банк в приемник"},
    {413, "Кнопка <<Внести текущую частоту в Банк"},
    {414, "Кнопка Атт 0 дБ"},
    {415, "Кнопка Атт 10 дБ"},
    {416, "Кнопка Атт 20 дБ"},
    {417, "Кнопка Атт 30 дБ"},
    {418, "Уровень Звука", R},
    {419, "Уровень Сквэлша", R},
    {420, "Кнопка Непосредственной Записи", R, 1},
    {422, "Вкл/Выкл Приемника", R, 1},
    {423, "Вкл/Выкл АРУ", R, 1},
    {424, "Вкл/Выкл Пик-Фильтра", R, 1},
    {425, "Вкл/Выкл Шум-Фильтра", R, 1},
    {433, "Установить Запись/Чтение всей памяти", R, 1},
    {426, "Поле Шаг-выбор", V | S | R, 0, kStandardSteps},
    {427, "Выбор БАНКА", V | R, 0, kIc8500Banks},
    {428, "Выбор КАНАЛА", R, 1},
};
// clang-format on

}  // namespace

const job_catalog::Heading IC8500::kJobCatalog{"Панель ПРИЕМНИК IC-R8500", kJobCaptions};
