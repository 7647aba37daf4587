// The detailed study's printout: one page with a header line, the two bands of the graph as
// the window shows them, a table of the markers and the lines of the grid steps and markers.
// The page is laid out like the program's reports: in dots of the chosen resolution r, a left
// margin of 7r/10 and a top margin of r/2, lines one and a half font heights apart, and the
// table 4 characters in from the left with its columns sharing the rest but 4 characters.

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <optional>

#include "state/format_text.h"
#include "state/text_file.h"
#include "ui/print.h"
#include "windows/view.h"

namespace {

// The print form's resolutions, by FDX::PrinterResolution.
constexpr int kResolutions[] = {72, 120, 144, 240, 300, 360, 600, 720, 1200, 1440};
constexpr int kDefaultResolution = 300;
constexpr const char* kDefaultPrintFont = "8.MS Sans Serif.CharSet=204";
constexpr int kTableColumns = 7;

// A curve's cells of a table row: its place at the marker and the level there.
std::string MarkerCells(FDX& fdx, const ViewSource& source) {
    const int64_t marker = MarkerSample(source);
    const std::string level = "\t" + StudyLevelText(fdx, StudyLevel(source, marker));
    if (OnTimeAxis(source)) return "\t " + StudyTimeText(fdx, marker) + " " + level;
    return FormatText("\t%8.4f", SamplePosition(source, marker) / 10000.0) + level;
}

// "f1=145.2500 u1=20.0 dB", or on the time axis "t1=09:05:30 u1=20.0 dB"; a raw level is
// written without a unit.
std::string MarkerLine(FDX& fdx, const ViewSource& source, int curve) {
    const int64_t marker = MarkerSample(source);
    const uint32_t level = StudyLevel(source, marker);
    const std::string u = fdx.OptDb
                              ? FormatText(" u%d=%3.1f dB", curve, fdx.LevelToDb(level) / 10.0)
                              : FormatText(" u%d=%u", curve, level);
    if (OnTimeAxis(source)) return FormatText("t%d=", curve) + StudyTimeText(fdx, marker) + u;
    return FormatText("f%d=%8.4f", curve, SamplePosition(source, marker) / 10000.0) + u;
}

std::string LevelDifference(const FDX& fdx, const StudyDifferences& d) {
    return fdx.OptDb ? FormatText("%3.1f", d.levelDb / 10.0) : FormatText("%u", d.level);
}

// The level difference of the two markers, also when the curves lie on different axes.
StudyDifferences LevelsApart(const FDX& fdx) {
    StudyDifferences d;
    const ViewSource &a = fdx.ViewSources[0], &b = fdx.ViewSources[1];
    const uint32_t la = StudyLevel(a, MarkerSample(a)), lb = StudyLevel(b, MarkerSample(b));
    d.level = la > lb ? la - lb : lb - la;
    d.levelDb = std::abs(fdx.LevelToDb(la) - fdx.LevelToDb(lb));
    return d;
}

std::vector<std::string> SplitCells(const std::string& row) {
    std::vector<std::string> cells(1);
    for (char c : row) {
        if (c == '\t')
            cells.emplace_back();
        else
            cells.back() += c;
    }
    return cells;
}

}  // namespace

std::vector<std::string> View::PrintedTable() {
    FDX& s = *fdx_;
    const ViewSource &one = s.ViewSources[0], &two = s.ViewSources[1];
    const bool first = StudyCurvePresent(one), second = StudyCurvePresent(two);
    const bool time = first ? OnTimeAxis(one) : second && OnTimeAxis(two);
    std::vector<std::string> rows;
    rows.push_back(time ? "График\t T1 \t U1 \t T2 \t U2 \t dT \t dU"
                        : "График\t F1 \t U1 \t F2 \t U2 \t dF \t dU");
    if (first && second) {
        std::string row = " M " + MarkerCells(s, one) + MarkerCells(s, two);
        if (differences_.valid)
            row +=
                (differences_.timeAxis ? FormatText("\t %u ", unsigned(differences_.distance))
                                       : FormatText("\t%8.4f", differences_.distance / 10000.0)) +
                "\t" + LevelDifference(s, differences_);
        rows.push_back(row);
    }
    if (first) rows.push_back("1 " + MarkerCells(s, one));
    if (second) rows.push_back("2 " + MarkerCells(s, two));
    // Curves on different axes have no distance, but their levels still compare.
    if (first && second && !differences_.valid)
        rows.push_back(" U \t \t" + LevelDifference(s, LevelsApart(s)));
    return rows;
}

std::vector<std::string> View::PrintedLines() {
    FDX& s = *fdx_;
    std::vector<std::string> lines;
    for (int curve = 0; curve < kStudyCurves; ++curve) {
        const ViewSource& source = s.ViewSources[std::size_t(curve)];
        if (!StudyCurvePresent(source)) continue;
        // The grid stands every twenty samples of the first curve: so many of this one.
        const int64_t samples =
            kStudyGridSamples * zoom_[0] / std::max(zoom_[std::size_t(curve)], 1);
        if (OnTimeAxis(source))
            lines.push_back(
                FormatText("                     Шаг сетки %d=%u сек    Частота %d=%8.4f",
                           curve + 1, unsigned(samples * SecondsPerMeasurement(s)), curve + 1,
                           source.Frequency / 10000.0));
        else
            lines.push_back(FormatText("                            Шаг сетки %d=%u кГц", curve + 1,
                                       unsigned(samples * source.Step / 10)));
    }
    for (int curve = 0; curve < kStudyCurves; ++curve)
        if (StudyCurvePresent(s.ViewSources[std::size_t(curve)]))
            lines.push_back(MarkerLine(s, s.ViewSources[std::size_t(curve)], curve + 1));
    if (StudyCurvePresent(s.ViewSources[0]) && StudyCurvePresent(s.ViewSources[1])) {
        const std::string du = s.OptDb ? " dB" : "";
        if (!differences_.valid)
            lines.push_back("du=" + LevelDifference(s, LevelsApart(s)) + du);
        else if (differences_.timeAxis)
            lines.push_back(FormatText("dt=%u du=", unsigned(differences_.distance)) +
                            LevelDifference(s, differences_) + du);
        else
            lines.push_back(FormatText("df=%8.4f du=", differences_.distance / 10000.0) +
                            LevelDifference(s, differences_) + du);
    }
    return lines;
}

// Printed to a file, the study goes by default to the program folder's PRINT under its
// document's name, beside the earlier printouts.
void View::Print() {
    const ui::PdfFolder folder(fdx_->ProgramDir + "PRINT", SaveFileWhole);
    const std::optional<ui::PrinterChoice> choice =
        ui::RunPrintDialog({this, folder.NextFile(kStudyDocumentName)});
    if (!choice) return;
    ui::PrinterTarget printer(*choice, SaveFileWhole);
    if (!PrintTo(printer)) fdx_->ShowError(52);
}

bool View::PrintTo(ui::PrintTarget& target) {
    FDX& s = *fdx_;
    const bool chosen = s.PrinterSet && s.PrinterResolution < std::size(kResolutions);
    const int r = chosen ? kResolutions[s.PrinterResolution] : kDefaultResolution;
    auto doc = target.Begin(kStudyDocumentName, {r, bool(s.PrinterLandscape)});
    if (!doc) return false;
    ui::Painter& p = doc->NewPage();
    p.SetFont(s.PrinterSet && !s.PrinterFont.empty() ? s.PrinterFont : kDefaultPrintFont);
    p.SetTextColor(ui::NumberedColor(7));
    p.SetPen({ui::NumberedColor(7), std::max(r / 150, 1), ui::PenStyle::Solid});
    const int c = std::max(p.TextWidth("0"), 1);
    const int h = p.TextHeight() + p.TextHeight() / 2;
    const int left = 7 * r / 10, top = r / 2;
    const int width = doc->PageWidth() - 2 * left;
    int y = top;

    const std::time_t now = CalendarClock ? CalendarClock() : std::time(nullptr);
    std::tm t{};
    localtime_r(&now, &t);
    p.Text(
        left, y,
        FormatText("           Дата:%s    Время:%s            Детальный анализ ORVEL",
                   FormatText("%02d/%02d/%04d", t.tm_mday, t.tm_mon + 1, t.tm_year + 1900).c_str(),
                   FormatText("%02d:%02d", t.tm_hour, t.tm_min).c_str()));
    y += 2 * h;

    // The bands as on screen: the same samples around the markers, on paper.
    const int tableRows = int(PrintedTable().size()), textLines = int(PrintedLines().size());
    const int room = doc->PageHeight() - top - y - (tableRows + textLines + 2) * h;
    const int band = std::clamp(room / 2 - h, 2 * h, width * 3 / 10);
    const StudyStyle style = PaperStudyStyle(r);
    for (int curve = 0; curve < kStudyCurves; ++curve) {
        const ui::Rect area{left + 4 * c, y, width - 4 * c, band};
        DrawStudyBand(p, area, s, buffer_, curve, zoom_, style);
        p.SetNoBrush();
        p.Rectangle(area);
        p.Text(left, y, FormatText("%d", curve + 1));
        y += band + h / 2;
    }
    y += h / 2;

    // The table: rules round every cell, each field centred in its cell.
    const int x0 = left + 4 * c;
    const int column = (width - 8 * c) / kTableColumns;
    const int right = x0 + kTableColumns * column;
    for (const std::string& row : PrintedTable()) {
        p.Line(x0, y, right, y);
        p.Line(x0, y + h, right, y + h);
        for (int i = 0; i <= kTableColumns; ++i) p.Line(x0 + i * column, y, x0 + i * column, y + h);
        const std::vector<std::string> cells = SplitCells(row);
        for (std::size_t i = 0; i < cells.size() && i < std::size_t(kTableColumns); ++i)
            p.TextInRect({x0 + int(i) * column, y + 2, column, h - 4}, cells[i], ui::HAlign::Center,
                         ui::VAlign::Middle);
        y += h;
    }
    y += h / 2;
    for (const std::string& line : PrintedLines()) {
        p.Text(left, y, line);
        y += h;
    }
    return doc->End();
}
