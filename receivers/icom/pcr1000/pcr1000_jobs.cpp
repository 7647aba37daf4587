// The IC-PCR1000's job commands 613..636 and its state file "IC1000.<port>".

#include <algorithm>
#include <cstdlib>
#include <span>
#include <string>

#include "receivers/icom/pcr1000/pcr1000.h"
#include "receivers/state_file.h"
#include "state/key_value.h"
#include "state/message_bus.h"

namespace {

constexpr int kSliderUnit = 8;
// The bandwidths the set has a filter for, 100 Hz units.
constexpr int32_t kBandwidths[] = {28, 60, 150, 500, 2300};

uint32_t Level(uint32_t value) {
    return std::min<uint32_t>(value, 255);
}

// The settings' keys in the order they are written; "Ускор" (the band scope's scan) stands
// between the flags and the levels.
// clang-format off
constexpr FlagKeyOf<Pcr1000Settings> kFlagKeys[] = {
    {"Атт", &Pcr1000Settings::Attenuator},
    {"АРУ", &Pcr1000Settings::Agc},
    {"ШУМ", &Pcr1000Settings::NoiseBlanker},
};
constexpr LevelKeyOf<Pcr1000Settings> kLevelKeys[] = {
    {"Умолчание_Звук", &Pcr1000Settings::DefaultVolume},
    {"Уровень_Звук", &Pcr1000Settings::Volume},
    {"Уровень_Порог", &Pcr1000Settings::Squelch},
    {"Уровень_Пик", &Pcr1000Settings::IfShift},
    {"Уровень_Центр", &Pcr1000Settings::CentreLevel},
};
// clang-format on
constexpr const char* kScopeScanKey = "Ускор";

// A bandwidth edited into the file between two filters is the nearer of them.
int32_t NearestBandwidth(int64_t value) {
    int32_t nearest = kBandwidths[0];
    for (const int32_t b : kBandwidths)
        if (std::llabs(value - b) < std::llabs(value - nearest)) nearest = b;
    return nearest;
}

}  // namespace

// clang-format off
// 615, 616, 620, 624, 627, 628 and 633 are the other ICOM panels' and not served here.
const JobCommand<IC1000> IC1000::kJobCommands[] = {
    {613, &IC1000::IfShiftCommand},
    {614, &IC1000::AttenuatorOffCommand},
    {617, &IC1000::AttenuatorOnCommand},
    {618, &IC1000::VolumeCommand},
    {619, &IC1000::SquelchCommand},
    {622, &IC1000::PowerCommand},
    {623, &IC1000::AgcCommand},
    {625, &IC1000::NoiseBlankerCommand},
    {634, &IC1000::NothingCommand},
    {635, &IC1000::ScopePauseCommand},
    {636, &IC1000::ScopeScanCommand},
};
// clang-format on

void IC1000::ExecuteCommand() {
    ServeJobLine(*this, std::span<const JobCommand<IC1000>>(kJobCommands),
                 kIcomFineScaleJobs.From(600), kNoAccessSpeltWithSoftSign);
}

// A setting the set refuses (G001) leaves the line done all the same, as on the other ICOM
// panels: the job goes on. One it leaves unanswered, or that cannot reach a set that is off or
// was not found, fails the line (ServeJobLine).

void IC1000::LevelCommand(JobStr& line, uint32_t& setting, const char* id) {
    setting = Level(line.VAL);
    SetSliders();
    SendLevel(id, setting);
}

void IC1000::SwitchAttenuator(bool on) {
    fdx_->Attenuator = on ? 1 : 0;
    SetAttenuator();
}

// The connect and the power-off run within the line, so that it fails when the set did not
// answer them (a set not connected has nothing to switch off). The connect judges itself: its
// speed search leaves questions unanswered on purpose, so its exchanges are watched apart.
void IC1000::PowerCommand(JobStr& line) {
    const RefusalWatch ownJudgement(*this);
    if (line.VAL == 0) {
        if (!Busy && !PowerOff()) AnswerReceiverSilent(line);
    } else if (Busy) {
        Connect();
        if (Busy) AnswerReceiverSilent(line);
    }
}

void IC1000::SwitchCommand(JobStr& line, bool& setting, const char* id) {
    setting = line.VAL != 0;
    ShowSwitches();
    SendSwitch(id, setting);
}

void IC1000::NothingCommand(JobStr&) {}

void IC1000::ScopePauseCommand(JobStr& line) {
    Scope.Paused = line.VAL == 0;
    ShowScopeButton();
}

void IC1000::ScopeScanCommand(JobStr& line) {
    SetScopeScan(line.VAL != 0);
}

// ---------------------------------------------------------------------------------------
// State file

bool IC1000::WriteStateFile() {
    const FDX& s = *fdx_;
    StateFileWriter file;
    WriteHead(file, [this](StateFileWriter& f) {
        f.Text("Полоса", std::to_string(Settings.Bandwidth) + " ");
    });
    WriteFlags(file, Settings, kFlagKeys);
    file.Flag(kScopeScanKey, s.PcrScope != 0);
    WriteLevels(file, Settings, kLevelKeys);
    file.Number("Шаг_спектра", static_cast<uint32_t>(Scope.StepItem()));
    file.Number("Ширина_спектра", static_cast<uint32_t>(Scope.CellWidth));
    file.Scale(Scale);
    return file.Save(StateFilePath());
}

bool IC1000::ReadStateFile() {
    FDX& s = *fdx_;
    Pcr1000Settings read = Settings;
    bool scopeScan = s.PcrScope != 0;
    int stepItem = Scope.StepItem();
    int cellWidth = Scope.CellWidth;
    // Flags count by their presence, as the program has always written them.
    const auto modelKey = [&](std::string_view key, std::string_view value) {
        TakeFlag(key, read, kFlagKeys);
        TakeLevel(key, value, read, kLevelKeys);
        if (key == kScopeScanKey) scopeScan = true;
        if (key == "Полоса") read.Bandwidth = NearestBandwidth(ReadNumberOrZero(value));
        if (key == "Шаг_спектра") stepItem = static_cast<int>(ReadNumberOrZero(value));
        if (key == "Ширина_спектра") cellWidth = static_cast<int>(ReadNumberOrZero(value));
    };
    if (!ReadStateFileKeys(modelKey)) return false;
    TunedFrequency = s.Frequency;
    Settings = read;
    if (Settings.Attenuator) s.Attenuator = 1;
    SetScopeScan(scopeScan);
    // A step or width the lists do not have keeps the default.
    Scope.SetStepItem(stepItem);
    Scope.SetCellWidth(cellWidth);
    return true;
}

// What the job catalog lists under the panel's heading, in its order.
namespace {

using namespace job_catalog;

// clang-format off
constexpr Preset kPcrScope[] = {
    {"Останов", 0}, {"Пуск", 1},
};

constexpr Preset kPcrScanType[] = {
    {"Обычное", 0}, {"Быстрое", 1},
};

constexpr Object kJobCaptions[] = {
    {614, "Кнопка Атт выкл."},
    {617, "Кнопка Атт вкл."},
    {618, "Уровень Звука", R},
    {619, "Уровень Сквэлша", R},
    {613, "Сдвиг Fц", R},
    {621, "Кнопка Очистить"},
    {622, "Вкл/Выкл Приемника", R, 1},
    {623, "Вкл/Выкл АРУ", R, 1},
    {625, "Вкл/Выкл Шум-Фильтра", R, 1},
    {635, "Пуск/Останов спектроанализатора", V | R, 0, kPcrScope},
    {636, "Тип сканирования", V | R, 0, kPcrScanType},
    {626, "Поле Шаг-выбор", V | S | R, 0, kStandardSteps},
    // Served, not listed: the fine scale's jumps and a command that does nothing.
    {629, nullptr}, {630, nullptr}, {631, nullptr}, {632, nullptr}, {634, nullptr},
};
// clang-format on

}  // namespace

const job_catalog::Heading IC1000::kJobCatalog{"Панель ПРИЕМНИК IC-PCR1000", kJobCaptions};
