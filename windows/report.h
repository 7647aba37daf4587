#pragma once
// The print form `Report`, "Печать отчета": the operator chooses what to print (the item
// selected in the journal, `jornal`, or the tab page with its picture, `field`), the
// orientation, the resolution and the font, edits the header printed at the top of every page
// (kept in "print.hdr"), sees page 1 in a preview, prints, copies to the clipboard or exports
// the tab page's data to a text file. The main window writes the report texts first
// (PRINT.TXT, PRINTF.TXT) and then opens the form. While a job runs the form asks nothing: it
// prints at once, writes its status into the job line and closes.
//
// Printing goes to the system's printer through the print dialog. Without a printer, and for
// a job on a system without one, every page goes to a PDF file of its own in the folder PRINT
// of the program folder, numbered so that nothing is replaced; the status line names the files.

#include <memory>
#include <string>
#include <vector>

#include "state/fdx.h"
#include "ui/controls.h"
#include "windows/report_layout.h"

namespace ui {
class TextBox;
class PagePicture;
class PdfFolder;
}  // namespace ui

// The resolutions of the form's list, in dots per inch (FDX::PrinterResolution is the index).
inline constexpr int kReportResolutions[] = {72, 120, 144, 240, 300, 360, 600, 720, 1200, 1440};
inline constexpr const char* kDefaultPrintFont = "8.MS Sans Serif.CharSet=204";
inline constexpr const char* kDefaultReportHeader =
    "         Отчет программы ORVEL            дата:  @ДАТА  @ВРЕМЯ                    "
    "страница: @СТР";
// A header file longer than this is not taken.
inline constexpr std::size_t kHeaderFileLimit = 4096;

// The list entry of a printer's resolution, estimated from the longer side of its paper in
// dots: that times 10 / 117 dots per inch (A4 at 600 dpi gives 599: "600").
int ResolutionIndexFor(int longerSideDots);
int ResolutionIndexOfEstimate(int estimate);

// The name an export of the tab page proposes: the marker's moment of the bank's
// measurements ("09_05_07.txt"), else the time of day ("hh_mm_ss.txt").
std::string ExportFileName(FDX& fdx, bool journal, bool visible, const std::string& timeOfDay);
// What an export writes, line by line; none when the chosen source has no text.
std::vector<std::string> ExportLines(FDX& fdx, bool journal, bool visible);
// The loaded report lines as the clipboard takes them: fields joined by " - ", CR LF ended.
std::string ClipboardText(const std::vector<std::string>& lines);

class Report : public ui::Form {
  public:
    Report();
    ~Report() override;

    // Builds the form from "ID_Report" over `parent` on the program state `state`; false when
    // it cannot be made. A job running prints at once and the form is gone on return.
    bool Create(ui::Form* parent, FDX* state);

    // Controls, owned by the form; empty until the create event.
    ui::TextBox* rtb_1 = nullptr;  // the header, one line per row
    ui::Label* label_1 = nullptr;
    ui::PictureButton* pictbttn_8 = nullptr;  // the font dialog
    ui::GroupBox* groupb_1 = nullptr;
    ui::OptionButton* jornal = nullptr;  // print the selected item
    ui::OptionButton* field = nullptr;   // print the tab page
    ui::GroupBox* groupb_2 = nullptr;
    ui::OptionButton* port = nullptr;
    ui::OptionButton* land = nullptr;
    ui::Canvas* pict = nullptr;  // the preview area
    ui::ComboBox* Xdpi = nullptr;
    ui::Label* label_6 = nullptr;
    ui::Label* label_8 = nullptr;
    ui::Label* label_9 = nullptr;
    ui::Label* label_2 = nullptr;
    ui::Label* label_3 = nullptr;
    ui::Label* label_4 = nullptr;
    ui::Label* font_name = nullptr;
    ui::CommandButton* start = nullptr;
    ui::CheckBox* visible = nullptr;
    ui::Label* msg = nullptr;
    ui::PictureButton* pictbttn_17 = nullptr;  // clear the settings and the header
    ui::PictureButton* pictbttn_18 = nullptr;  // save them
    ui::Label* end_pict = nullptr;
    ui::CommandButton* bufer = nullptr;
    ui::CommandButton* in_file = nullptr;
    ui::Label* font_height = nullptr;

    // Lays the report out: for the preview (page 1 shown, pages counted) or for the printer.
    // True when the layout was made; its status goes to `msg`.
    bool ComposeAndPrint(bool prepareOnly);
    void Print();  // `start`: the print dialog (with a printer), then the layout for it
    void ChooseFont();
    void SaveSettingsAndHeader();
    void ClearSettings();
    void CopyToClipboard();
    void ExportText();

    // What the controls say, as the layout takes it.
    ReportSettings Settings() const;
    bool Composed() const { return composed_; }
    // The page shown in the preview; null before a preview or when none could be had.
    const ui::PagePicture* Page() const { return page_.get(); }

  private:
    void OnCreate();
    void CreateControls();
    void ReadHeader();
    void TakePrinter();
    void ShowFont();
    void LayOutAgain();
    void SourceChosen();
    void DrawPreview(ui::Painter& p);
    // Every page to `target`; PDF files are named in the status line.
    ReportResult Lay(ui::PrintTarget& target);
    bool PrintTo(ui::PrintTarget& target);
    bool PrintToFiles(ui::PdfFolder& folder);

    FDX* fdx_ = nullptr;
    std::string font_ = kDefaultPrintFont;
    std::string date_, time_;
    bool composed_ = false;
    bool clipboard_ = false;
    std::unique_ptr<ui::PagePicture> page_;
};
