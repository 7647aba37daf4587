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
#include "ui/form_controls.h"
#include "windows/report_layout.h"

namespace ui {
class PagePicture;
class PdfFolder;
}  // namespace ui

// The form's controls (ui/form_controls.h), in the order they are made: the header box across
// the top, the settings on the left, the preview on the right.
// clang-format off
#define REPORT_CONTROLS(X) \
    X(101, TextBox, rtb_1, (6, 14, 298, 34), 0, nullptr, nullptr) /* the header, one line per row */ \
    X(102, Label, label_1, (6, 4, 160, 8), kNoWrap, "Заголовок каждой страницы:", nullptr) \
    X(103, PictureButton, pictbttn_8, (6, 52, 18, 14), 0, nullptr, "Выбор шрифта для печати") /* the font dialog */ \
    X(104, GroupBox, groupb_1, (6, 70, 96, 36), 0, "Печатать", nullptr) \
    X(105, OptionButton, jornal, (12, 80, 86, 10), 0, "Элемент журнала", nullptr) /* print the selected item */ \
    X(106, OptionButton, field, (12, 92, 86, 10), 0, "Текущую страницу", nullptr) /* print the tab page */ \
    X(107, GroupBox, groupb_2, (6, 108, 96, 36), 0, "Ориентация", nullptr) \
    X(108, OptionButton, port, (12, 118, 86, 10), 0, "Книжная", nullptr) \
    X(109, OptionButton, land, (12, 130, 86, 10), 0, "Альбомная", nullptr) \
    X(110, Canvas, pict, (108, 70, 196, 136), 0, nullptr, nullptr) /* the preview area */ \
    X(111, ComboBox, Xdpi, (50, 148, 34, 90), 0, nullptr, "Разрешение принтера") \
    X(112, Label, label_6, (28, 50, 26, 8), kNoWrap, "Шрифт:", nullptr) \
    X(113, Label, label_8, (28, 60, 26, 8), kNoWrap, "Размер:", nullptr) \
    X(114, Label, label_9, (6, 150, 44, 8), kNoWrap, "Разрешение:", nullptr) \
    X(115, Label, label_2, (86, 150, 18, 8), kNoWrap, "dpi", nullptr) \
    X(116, Label, label_3, (108, 60, 196, 8), kNoWrap, "Первая страница:", nullptr) \
    X(117, Label, label_4, (6, 214, 34, 8), kNoWrap, "Состояние:", nullptr) \
    X(118, Label, font_name, (56, 50, 248, 8), kNoWrap, nullptr, nullptr) \
    X(119, CommandButton, start, (6, 178, 46, 14), 0, "Печать", nullptr) \
    X(120, CheckBox, visible, (6, 162, 96, 10), 0, "Только видимое", "Печатать только то, что видно на странице") \
    X(121, Label, msg, (42, 214, 262, 8), kNoWrap, nullptr, nullptr) \
    X(122, PictureButton, pictbttn_17, (60, 195, 18, 14), 0, nullptr, "Стереть установки") /* clear the settings and the header */ \
    X(123, PictureButton, pictbttn_18, (82, 195, 18, 14), 0, nullptr, "Сохранить  установки и заголовок") /* save them */ \
    X(124, Label, end_pict, (108, 206, 196, 2), 0, nullptr, nullptr) \
    X(125, CommandButton, bufer, (56, 178, 46, 14), 0, "В буфер", "Копировать в буфер обмена") \
    X(126, CommandButton, in_file, (6, 195, 46, 14), 0, "В файл", "Записать данные страницы в текстовый файл") \
    X(127, Label, font_height, (56, 60, 30, 8), kNoWrap, nullptr, nullptr)
// clang-format on

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
    // it cannot be made. A job running prints at once and the form is gone on return. A form
    // with one of its dialogs open stays as it is (its next layout takes the new texts).
    bool Create(ui::Form* parent, FDX* state);

    // Controls, owned by the form; empty until the create event.
    UI_FORM_CONTROLS(REPORT_CONTROLS)

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

    // Counts the form's dialogs running (font, print, file, message boxes) while it lives.
    struct DialogOpen;

    FDX* fdx_ = nullptr;
    int dialogs_ = 0;
    std::string font_ = kDefaultPrintFont;
    std::string date_, time_;
    bool composed_ = false;
    bool clipboard_ = false;
    std::unique_ptr<ui::PagePicture> page_;
};
