#pragma once
// How the print form lays a report out on pages. Everything is in dots of the chosen
// resolution r on a sheet of 7r x 10r (10r x 7r across): the printed page adds a left margin
// of 7r/10 and a top margin of r/2, the preview draws page 1 without them. A line is one and a
// half font heights; every page begins with the header lines, their macros expanded for the
// page; then come the report's lines, as table rows when its layout says so, and after them,
// when the tab page is printed, the page's picture: the range slot shown in strips, one
// picture per range slot of the group, the bank's channels over time, or the receiver's band
// scope (report_pictures.cpp). Printed, every page is a document of its own.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "state/fdx.h"
#include "ui/print.h"

inline constexpr const char* kReportDocumentName = "Печать отчета ORVEL";

// What the print form's controls say.
struct ReportSettings {
    int resolution = 72;  // dots per inch
    bool landscape = false;
    std::string font = "8.MS Sans Serif.CharSet=204";
    bool journal = true;     // the selected item's report; else the tab page's, with its picture
    bool visible = false;    // of the tab page only what it shows
    bool clipboard = false;  // for the clipboard: no header, and of the tab page only its picture
    std::vector<std::string> header;  // the header's lines, their macros still in them
    std::string date;                 // "dd/mm/yyyy" and "hh:mm", for the header's macros
    std::string time;
};

struct ReportResult {
    bool made = false;
    std::string message;  // what the form's status line says
    int pages = 0;
    std::string failedFile;  // the PDF file a page could not be written to whole
};

// The header line with the first "@СТР" (else "@PAGE") replaced by the page number, then the
// first "@ДАТА" (else "@DATE") by the date and the first "@ВРЕМЯ" (else "@TIME") by the time.
std::string ExpandHeaderLine(std::string line, unsigned page, const std::string& date,
                             const std::string& time);

// The level axis of a picture `freeHeight` dots tall with lines `lineHeight` dots apart: the
// raw levels 0..256 span 256·a/b dots, a in 1..15 and b in 16..1, as close below the room left
// by a line and a half of labels as can be; none when not even 256/16 dots fit.
struct AxisFit {
    int a = 1, b = 1;
    int Dots(int64_t level) const { return int(a * level / b); }
};
std::optional<AxisFit> FitLevelAxis(int freeHeight, int lineHeight);

// The lines of a report file as they stand (code page 1251 on disk), empty lines kept: a
// report prints quotes as they are. False when the file is missing or larger than a text file
// may be.
bool LoadReportLines(const std::string& path, std::vector<std::string>& lines);

// A report line's fields: split at TAB, but not within a pair of quotes ("" or '').
std::vector<std::string> SplitReportFields(const std::string& line);

// "Подготовлена одна страница", "Подготовлено 3 страницы", "Подготовлено 7 страниц".
std::string PagesPreparedText(int pages);

class ReportLayout {
  public:
    ReportLayout(FDX& fdx, ReportSettings settings);

    // Lays the report out. `metrics` measures the print font (its font is set here). With a
    // printer every page goes to it as a document of its own, after a dry run that found no
    // fault; without one page 1 is drawn on `preview` (when given) and the pages are counted.
    ReportResult Compose(ui::Painter& metrics, ui::Painter* preview, ui::PrintTarget* printer);

    // The bank picture's time step in minutes (0: no labels) from the changes of the minute and
    // of the hour across its columns and the labels it has room for.
    static int TimeStep(int minuteChanges, int hourChanges, int slots);

  private:
    ReportResult Run(ui::Painter* preview, ui::PrintTarget* printer);
    void Measure(ui::Painter& metrics);
    std::optional<std::string> CheckSizes() const;
    bool LoadText(std::vector<std::string>& lines) const;
    bool FitPicture();

    // Page flow: a page begins with its header and returns the row after it.
    int ExpandHeaderMacros(int row);
    bool NewPage(int& row);
    void EndPage();
    void DrawTextLine(int row, const std::string& line);
    bool DrawPicture(int& row);

    // The pictures of the tab page (report_pictures.cpp).
    const Bank* ShownSlot() const;
    void StartRangeStrips();
    bool DrawRangePicture(int row);
    void DrawRangePicture2(int row, int slot);
    bool DrawStrip(const Bank& slot, int row, bool range, int& gridLine, int& column);
    void DrawDottedColumns(const Bank& slot, int x, int right, int yb);
    void DrawLevelScale(int x0, int yb, int w, int labelStep, bool dashes);
    void DrawSight(const Bank& slot, int x0, int yb, int w);
    bool DrawCurves(const Bank& slot, int x0, int yb, int64_t firstPoint, int points,
                    bool bothEdges);
    int SampleCount() const;
    bool DrawAxisPicture(int row);
    bool DrawBandPicture(int row);
    ui::Pen ThickPen() const;
    int AxisPosition(int32_t level) const;
    std::string LevelLabel(int32_t level) const;

    // Drawing on the preview's page 1 without margins and on the printed page with them.
    void SetPen(const ui::Pen& pen);
    void Line(int x1, int y1, int x2, int y2);
    void Box(const ui::Rect& rect);  // a filled rectangle
    void Text(int x, int y, const std::string& text);
    void TextIn(const ui::Rect& rect, const std::string& text, ui::HAlign h = ui::HAlign::Left,
                ui::VAlign v = ui::VAlign::Middle);

    FDX& fdx_;
    ReportSettings settings_;

    // Sizes, in dots.
    int r_ = 72, width_ = 0, height_ = 0, marginX_ = 0, marginY_ = 0;
    int c_ = 1, fontHeight_ = 1, h_ = 1, charsPerLine_ = 0, linesPerPage_ = 0;
    int dot_ = 1;               // s: one scan point or time sample
    std::vector<int> columns_;  // x of each column boundary of a table
    ReportColumns layout_;
    AxisFit axis_;

    // The pages being drawn.
    ui::Painter* preview_ = nullptr;  // null: page 1 is not drawn
    ui::PrintTarget* printer_ = nullptr;
    std::unique_ptr<ui::PrintDocument> document_;
    ui::Painter* page_ = nullptr;  // the printed page's painter
    bool draw_ = false;            // false: a dry run counts and checks only
    bool failed_ = false;          // the printer took no page
    std::string failedFile_;       // ... or the PDF file that took it could not be written
    int pageCount_ = 0;
    int headerRows_ = 0;
    std::optional<std::string> pictureFault_;

    // Where the next range strip and the next bank page begin.
    int stripGridLine_ = 0, stripColumn_ = 0, stripDivisions_ = 1;
    int bankChannel_ = 0;
};
