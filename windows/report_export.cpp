// What the print form hands on besides pages: the export of the tab page's data as a text
// file, the report's text for the clipboard, and the resolution it proposes for a printer.

#include <algorithm>
#include <array>

#include "state/format_text.h"
#include "windows/range_analysis.h"
#include "windows/report.h"

namespace {

// The most points an export of the visible part of a range writes.
constexpr int64_t kMostVisiblePoints = 500;

// The upper end of each resolution estimate's list entry; above the last: 1440 dpi.
constexpr std::array<int, 9> kEstimateLimits = {100, 130, 200, 280, 320, 450, 650, 900, 1300};

enum { kHour = 3, kMinute = 4, kSecond = 5 };

std::string LevelText(const FDX& fdx, int32_t level) {
    return fdx.OptDb ? FormatText("%3.1f", fdx.LevelToDb(uint32_t(std::max(level, 0))) / 10.0)
                     : FormatText("%u", unsigned(std::max(level, 0)));
}

int32_t HistoryLevel(const FDX& fdx, int32_t channel, int32_t sample) {
    if (channel < 0 || std::size_t(channel) >= fdx.ChannelLevels.size() || sample < 0) return 0;
    const std::vector<uint8_t>& history = fdx.ChannelLevels[std::size_t(channel)];
    return std::size_t(sample) < history.size() ? history[std::size_t(sample)] : 0;
}

int32_t Channels(const FDX& fdx) {
    return std::clamp(fdx.ChannelCount, 0, int32_t(fdx.Channels.size()));
}

std::string ChannelHead(const Mt& channel) {
    return FormatText("%9.4f \t ", channel.Frequency / 10000.0) + channel.Identifier;
}

void BankExport(FDX& fdx, bool visible, std::vector<std::string>& out) {
    if (!fdx.HistoriesAllocated) {
        for (int32_t i = 0; i < Channels(fdx); ++i)
            out.push_back(ChannelHead(fdx.Channels[std::size_t(i)]) + " \t " +
                          LevelText(fdx, fdx.Channels[std::size_t(i)].Work));
        return;
    }
    if (visible) {
        const int32_t marker = fdx.BankSampleIndex;
        fdx.MeasurementTime(marker);
        const auto& t = fdx.MeasurementStamp;
        out.push_back(FormatText("Date of marker \t %02d/%02d/%04d", t[0], t[1], t[2]));
        out.push_back(
            FormatText("Время маркера \t %02d:%02d:%02d", t[kHour], t[kMinute], t[kSecond]));
        for (int32_t i = 0; i < Channels(fdx); ++i)
            out.push_back(ChannelHead(fdx.Channels[std::size_t(i)]) + " \t " +
                          LevelText(fdx, HistoryLevel(fdx, i, marker)));
        return;
    }
    fdx.MeasurementTime(0);
    const auto& t = fdx.MeasurementStamp;
    out.push_back(FormatText("Дата начала \t %02d/%02d/%04d", t[0], t[1], t[2]));
    out.push_back(FormatText("Время начала \t %02d:%02d:%02d", t[kHour], t[kMinute], t[kSecond]));
    out.push_back(
        FormatText("Шаг опроса \t %u", fdx.CurrentBank != nullptr ? fdx.CurrentBank->Poll : 0u));
    const int32_t measured = std::clamp(fdx.MeasurementCount, 0, fdx.MeasurementCapacity);
    for (int32_t i = 0; i < Channels(fdx); ++i) {
        std::string line = ChannelHead(fdx.Channels[std::size_t(i)]) + " ";
        for (int32_t n = 0; n < measured; ++n)
            line += "\t" + LevelText(fdx, HistoryLevel(fdx, i, n));
        out.push_back(line);
    }
}

void RangeExport(const FDX& fdx, bool visible, std::vector<std::string>& out) {
    if (fdx.SlotIndex < 0 || std::size_t(fdx.SlotIndex) >= fdx.ScanSlots.size()) return;
    const Bank& slot = fdx.ScanSlots[std::size_t(fdx.SlotIndex)];
    if (!slot.HasData() || slot.Step == 0) return;
    const int64_t step = slot.Step, fn = slot.Start;
    int64_t first = 0, last = LastPoint(slot);
    if (visible) {
        first = std::max<int64_t>((int64_t{slot.VisibleLow} - fn) / step, 0);
        last = std::min(last, std::max<int64_t>((int64_t{slot.VisibleHigh} - fn) / step, 0));
        last = std::min(last, first + kMostVisiblePoints - 1);
        out.push_back(FormatText("Начальная частота \t %10.4f", (fn + first * step) / 10000.0));
    } else {
        out.push_back(FormatText("Начальная частота \t %10.4f", slot.Start / 10000.0));
        out.push_back(FormatText("Конечная частота \t %10.4f", slot.End / 10000.0));
    }
    out.push_back(FormatText("Шаг пересторойки \t %4.1f", slot.Step / 10.0));
    const bool same = fdx.MainCurveKind == fdx.SecondCurveKind;
    for (int64_t k = first; k <= last; ++k) {
        if (fn + k * step > int64_t{slot.End}) continue;
        const std::string main = LevelText(fdx, PointLevel(slot, fdx.MainCurveKind, k));
        out.push_back(
            same ? main : LevelText(fdx, PointLevel(slot, fdx.SecondCurveKind, k)) + " \t " + main);
    }
}

}  // namespace

int ResolutionIndexOfEstimate(int estimate) {
    const auto above = std::lower_bound(kEstimateLimits.begin(), kEstimateLimits.end(), estimate);
    return int(above - kEstimateLimits.begin());
}

int ResolutionIndexFor(int longerSideDots) {
    return ResolutionIndexOfEstimate(int(int64_t{longerSideDots} * 10 / 117));
}

std::string ExportFileName(FDX& fdx, bool journal, bool visible, const std::string& timeOfDay) {
    if (!journal && fdx.WorkMode == kBankMode && fdx.HistoriesAllocated && visible) {
        fdx.MeasurementTime(fdx.BankSampleIndex);
        const auto& t = fdx.MeasurementStamp;
        return FormatText("%02d_%02d_%02d.txt", t[kHour], t[kMinute], t[kSecond]);
    }
    std::string name = timeOfDay;
    std::replace(name.begin(), name.end(), ':', '_');
    return name + ".txt";
}

std::vector<std::string> ExportLines(FDX& fdx, bool journal, bool visible) {
    std::vector<std::string> out;
    if (journal ? fdx.ItemTextAbsent || !fdx.ItemTextReady
                : fdx.PanelTextEmpty || !fdx.PanelTextReady)
        return out;
    if (!journal && fdx.WorkMode == kBankMode) {
        BankExport(fdx, visible, out);
    } else if (!journal && fdx.WorkMode == kRangeMode) {
        RangeExport(fdx, visible, out);
    } else {
        LoadReportLines(journal ? fdx.ItemTextFile : fdx.PanelTextFile, out);
    }
    return out;
}

std::string ClipboardText(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        const std::vector<std::string> fields = SplitReportFields(line);
        for (std::size_t i = 0; i < fields.size(); ++i) text += (i > 0 ? " - " : "") + fields[i];
        text += "\r\n";
    }
    return text;
}
