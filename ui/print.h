#pragma once
// Printing. A window composes a document page by page with the drawing layer's Painter, in
// dots of the resolution it chose, exactly as it draws on screen; a target turns the pages
// into a PDF file or sends them to a printer.
//
//     ui::PdfFolder target(programDir + "PRINT", save);  // or ui::PrinterTarget(choice, save)
//     auto doc = target.Begin("Печать отчета ORVEL", {300, false});
//     if (!doc) return false;
//     ui::Painter& p = doc->NewPage();
//     p.SetFont(printFont);
//     p.Text(left, top, header);
//     ...
//     doc->NewPage();                                      // page 2, same painter
//     return doc->End();
//
// Coordinates run from the top left corner of the sheet, not of its printable area: a
// window adds its own margins.

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/canvas.h"

namespace ui {

class Window;

// How a PDF file reaches the disk: `bytes` whole under `path`, or nothing at all; with `replace`
// false a file already at `path` stays and the save fails. The program gives the writer of its
// stored files (state/text_file.h, SaveFileWhole): whole into a temporary, then renamed, so that
// a printout cut short (a kill, a full disk) leaves no file under a printout's name, and the
// temporary a kill left is swept away at the next start.
using FileSaver =
    std::function<bool(const std::string& path, std::string_view bytes, bool replace)>;

struct PageSetup {
    int dpi = 300;  // dots per inch of the painter's coordinates
    bool landscape = false;
};

class PrintDocument {
  public:
    struct Impl;  // the toolkit's side, inside ui/
    explicit PrintDocument(std::unique_ptr<Impl> impl);
    // Ends the document when End was not called.
    ~PrintDocument();
    PrintDocument(const PrintDocument&) = delete;
    PrintDocument& operator=(const PrintDocument&) = delete;

    const std::string& Name() const;
    int Dpi() const;
    // The sheet in dots.
    int PageWidth() const;
    int PageHeight() const;
    // Pages begun so far.
    int Pages() const;
    // The PDF file the document is written to, once End wrote it; before, or when End failed,
    // the file it was to go to. Empty for a printer or a recording.
    const std::string& File() const;
    // Begins the next page (the first call: page 1). The same painter serves every page and
    // keeps its pen, font and colours from page to page.
    Painter& NewPage();
    // Ends the last page and the document; false when it could not be written or sent. A PDF
    // file is written here, whole or not at all. A document ended without a page holds one
    // blank page.
    bool End();

  private:
    std::unique_ptr<Impl> impl_;
};

class PrintTarget {
  public:
    virtual ~PrintTarget() = default;
    // A new document named `name`, or null when the target cannot take one.
    virtual std::unique_ptr<PrintDocument> Begin(const std::string& name,
                                                 const PageSetup& setup) = 0;
};

// PDF files in a folder (made when missing), one file per document, A4 sheets; the document's
// name is the file's title. Each file is written through `save` as its document ends, and never
// replaces an earlier one: a document goes to "<folder>/<name>.pdf", or when that exists to
// "<name> (2).pdf", "<name> (3).pdf", ... the first name that is free then. A "/" in the name
// becomes "_". Given a file name (without ".pdf"), the files are named after it instead of after
// their documents. A file the disk cannot take whole is not written (End is false).
class PdfFolder : public PrintTarget {
  public:
    PdfFolder(std::string folder, FileSaver save, std::string fileName = {})
        : folder_(std::move(folder)), fileName_(std::move(fileName)), save_(std::move(save)) {}
    std::unique_ptr<PrintDocument> Begin(const std::string& name, const PageSetup& setup) override;
    // The file a document named `name` would go to now, the first free name, for a print dialog
    // to offer: the folder is made when missing, as the dialog takes only a file it can write.
    // Empty when the folder cannot be made.
    std::string NextFile(const std::string& name) const;
    // The file of the last document begun (PrintDocument::File); empty before the first.
    const std::string& LastFile() const { return *lastFile_; }
    // The files written whole, in the order their documents ended.
    const std::vector<std::string>& Files() const { return *files_; }

  private:
    std::string folder_;
    std::string fileName_;
    FileSaver save_;
    // Shared with the documents, which name their files as they end.
    std::shared_ptr<std::string> lastFile_ = std::make_shared<std::string>();
    std::shared_ptr<std::vector<std::string>> files_ = std::make_shared<std::vector<std::string>>();
};

// A target that prints nothing: each document's pages are kept as the drawing calls made on
// them (RecordingPainter), so that a test checks a layout exactly. Its sheets are A4 at the
// resolution asked for, its font `charWidth` x `fontHeight` dots whatever it is.
class RecordingTarget : public PrintTarget {
  public:
    struct Document {
        std::string name;
        PageSetup setup;
        std::vector<std::vector<DrawCall>> pages;
        bool ended = false;
    };
    explicit RecordingTarget(int charWidth = 6, int fontHeight = 12)
        : charWidth_(charWidth), fontHeight_(fontHeight) {}
    std::unique_ptr<PrintDocument> Begin(const std::string& name, const PageSetup& setup) override;

    std::deque<Document> documents;
    bool refuse = false;  // take no document, as a printer that is gone

  private:
    int charWidth_, fontHeight_;
};

// The picture of a printed page for its preview, the clipboard and the screen: drawn in dots of
// the sheet at the page's resolution. A page too large for `pixelBudget` pixels (a sheet at
// 1440 dpi) is kept at a smaller scale, Shrink() times fewer pixels each way; null when not
// even the smallest can be had.
class PagePicture : public Picture {
  public:
    static std::unique_ptr<PagePicture> Make(int width, int height, int dpi,
                                             int64_t pixelBudget = kPixelBudget);
    int Shrink() const { return shrink_; }
    static constexpr int64_t kPixelBudget = 16'000'000;

  private:
    PagePicture(int width, int height, int dpi, int shrink)
        : Picture(width, height, dpi, shrink), shrink_(shrink) {}
    int shrink_;
};

// The system's default printer, as far as the print service knows it.
struct SystemPrinter {
    std::string name;
    int resolution = 0;      // dots per inch
    int longerSideDots = 0;  // the longer side of its paper in dots
};
std::optional<SystemPrinter> DefaultPrinter();
// Replaces how the default printer is found (empty: the print service); returns the previous.
// Tests make the system one without a printer.
using PrinterLookup = std::function<std::optional<SystemPrinter>()>;
PrinterLookup SetPrinterLookup(PrinterLookup lookup);

// What the operator chose in the print dialog.
struct PrinterChoice {
    std::string printer;  // empty: the system's default printer
    std::string file;     // not empty: "print to file" was chosen, a PDF file of this path
    int copies = 1;
    bool operator==(const PrinterChoice&) const = default;
};

// A printer through the system's print service, on its own paper size; or, when the print dialog
// chose "print to file", that PDF file, replaced, written through `save` as a PDF folder writes
// its files.
class PrinterTarget : public PrintTarget {
  public:
    PrinterTarget(PrinterChoice choice, FileSaver save)
        : choice_(std::move(choice)), save_(std::move(save)) {}
    std::unique_ptr<PrintDocument> Begin(const std::string& name, const PageSetup& setup) override;

  private:
    PrinterChoice choice_;
    FileSaver save_;
};

struct PrintDialogRequest {
    const Window* owner = nullptr;
    std::string pdfFile;  // the file "print to file" proposes; empty: the toolkit's own choice
};

// The print dialog goes through one replaceable service, as the message boxes do.
class PrintDialogService {
  public:
    virtual ~PrintDialogService() = default;
    // None when the operator cancelled.
    virtual std::optional<PrinterChoice> Run(const PrintDialogRequest& request) = 0;
};

std::optional<PrinterChoice> RunPrintDialog(const PrintDialogRequest& request);
// Replaces the service (null restores the on-screen one); returns the previous one.
PrintDialogService* SetPrintDialogService(PrintDialogService* service);

// Records every request and answers from a script; an empty script cancels.
class ScriptedPrintDialogs : public PrintDialogService {
  public:
    ScriptedPrintDialogs() { previous_ = SetPrintDialogService(this); }
    ~ScriptedPrintDialogs() override { SetPrintDialogService(previous_); }
    std::optional<PrinterChoice> Run(const PrintDialogRequest& request) override;

    std::deque<std::optional<PrinterChoice>> answers;
    std::vector<PrintDialogRequest> shown;

  private:
    PrintDialogService* previous_;
};

}  // namespace ui
