#include "app/status_line.h"

#include <cstdlib>
#include <iterator>

#include "app/format_text.h"

namespace {

constexpr int kModePane = 0;
constexpr int kScanPane = 1;
constexpr int kLevelPane = 2;
constexpr int kCursorLevelPane = 3;
constexpr int kLeftMarkerPane = 4;
constexpr int kCursorPane = 5;
constexpr int kRightMarkerPane = 6;

constexpr const char* kLevelOff = "выкл";

// The texts of the work modes.
constexpr const char* kModeTexts[] = {
    "Сканирование по Шкале", "Сканирование Банка", "Сканирование Диапазона",
    "Сканирование Группы ",  "Выполнение Задания", "Текстовая Информация ",
    "Звукозапись",           "Параметры Раздела",
};

}  // namespace

// Tenths of dB through the calibration, or the raw number.
std::string StatusLine::LevelText(int64_t level) const {
    if (fdx_.OptDb) return FormatText("%3.1f", fdx_.LevelToDb(uint32_t(level)) / 10.0);
    return FormatText("%u", unsigned(level));
}

void StatusLine::ShowText(const std::string& text) {
    if (bar_ != nullptr) bar_->SetPartText(kModePane, text);
}

void StatusLine::ShowModeStatus() {
    if (fdx_.WorkMode >= 0 && fdx_.WorkMode < int32_t(std::size(kModeTexts)))
        ShowText(kModeTexts[fdx_.WorkMode]);
}

void StatusLine::ShowLevel(int32_t level) {
    if (levelBar_ != nullptr) levelBar_->SetPosition(level == -1 ? 0 : level & 0xffff);
    if (bar_ != nullptr) bar_->SetPartText(kLevelPane, level == -1 ? kLevelOff : LevelText(level));
}

void StatusLine::ShowCyclesLeft() {
    if (bar_ != nullptr) bar_->SetPartText(kScanPane, FormatText("%u", unsigned(fdx_.CyclesLeft)));
}

void StatusLine::ShowAttenuator() {
    if (!fdx_.Running && bar_ != nullptr)
        bar_->SetPartText(kScanPane, fdx_.Attenuator ? "ATT" : "");
}

void StatusLine::ShowSightLevel() {
    if (bar_ == nullptr) return;
    const int32_t index = fdx_.SlotIndex;
    const Bank* shown = index >= 0 && std::size_t(index) < fdx_.ScanSlots.size()
                            ? &fdx_.ScanSlots[std::size_t(index)]
                            : nullptr;
    std::string text;
    if (shown != nullptr && shown->InUse)
        text = fdx_.OptDb ? FormatText(">%3.1f<", fdx_.LevelToDb(shown->SightLevel) / 10.0)
                          : FormatText(">%u<", unsigned(shown->SightLevel));
    bar_->SetPartText(kCursorLevelPane, text);
}

void StatusLine::ShowMarkersAndCursor() {
    if (bar_ == nullptr) return;
    const int32_t start = fdx_.SelectionStart;
    const int32_t end = fdx_.SelectionEnd;
    const bool distinct = start != end;
    bar_->SetPartText(kLeftMarkerPane, start >= 0 && distinct
                                           ? FormatText("<<%8.4f", start / 10000.0)
                                           : std::string());
    bar_->SetPartText(kRightMarkerPane,
                      end >= 0 && distinct ? FormatText("%8.4f>>", end / 10000.0) : std::string());
    if (fdx_.CursorFrequency < 0) {
        bar_->SetPartText(kCursorPane, "");
        bar_->SetPartText(kCursorLevelPane, "");
        if (!fdx_.Running) bar_->SetPartText(kScanPane, "");
        return;
    }
    bar_->SetPartText(kCursorPane, FormatText("%8.4f", fdx_.CursorFrequency / 10000.0));
    bar_->SetPartText(kCursorLevelPane,
                      fdx_.CursorLevel >= 0 ? LevelText(fdx_.CursorLevel) : std::string());
    if (start >= 0 && end >= 0 && !fdx_.Running)
        bar_->SetPartText(kScanPane,
                          FormatText("%3.1f", double(std::abs(int64_t{end} - start)) / 10.0));
}
