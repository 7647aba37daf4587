#include "ui/print.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>

#include "ui/painter_qt.h"
#include "ui/text.h"
#include "ui/window.h"

namespace ui {

// Writes a PDF file's bytes whole into its file: the file's name, or none when it was not written.
using KeepFile = std::function<std::optional<std::string>(std::string_view bytes)>;

// The members are destroyed bottom up: the painters before the device they paint on, the
// device before the bytes it writes.
struct PrintDocument::Impl {
    std::string name;
    int dpi = 0;
    int pages = 0;
    bool ended = false;
    bool written = true;   // what End found
    std::string fileName;  // the PDF file's; empty for a printer
    // A PDF file's bytes, all of them before its file is written; a printer writes its own.
    std::unique_ptr<QBuffer> bytes;
    KeepFile keep;
    std::unique_ptr<QPagedPaintDevice> device;  // none: a recording document
    QPainter qpainter;
    std::unique_ptr<Painter> painter;
    std::function<void()> pageBegun, documentEnded;  // a recording document's bookkeeping
};

namespace {

// Starts painting on the device, every page the whole sheet at `dpi`; null when the device
// will not be painted on.
std::unique_ptr<PrintDocument> Open(std::unique_ptr<PrintDocument::Impl> impl,
                                    const std::string& name, const PageSetup& setup) {
    QPagedPaintDevice& device = *impl->device;
    device.setPageOrientation(setup.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    device.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
    if (!impl->qpainter.begin(&device)) return nullptr;
    impl->name = name;
    impl->dpi = setup.dpi;
    impl->painter = PainterOver(impl->qpainter, device.width(), device.height());
    return std::make_unique<PrintDocument>(std::move(impl));
}

}  // namespace

PrintDocument::PrintDocument(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

PrintDocument::~PrintDocument() {
    End();
}

const std::string& PrintDocument::Name() const {
    return impl_->name;
}

int PrintDocument::Dpi() const {
    return impl_->dpi;
}

int PrintDocument::PageWidth() const {
    return impl_->painter->Width();
}

int PrintDocument::PageHeight() const {
    return impl_->painter->Height();
}

int PrintDocument::Pages() const {
    return impl_->pages;
}

Painter& PrintDocument::NewPage() {
    // Painting began on page 1; later pages are asked for.
    if (impl_->pages > 0 && !impl_->ended && impl_->device) impl_->device->newPage();
    ++impl_->pages;
    if (impl_->pageBegun) impl_->pageBegun();
    return *impl_->painter;
}

const std::string& PrintDocument::File() const {
    return impl_->fileName;
}

bool PrintDocument::End() {
    if (impl_->ended) return impl_->written;
    impl_->ended = true;
    if (!impl_->device) {
        if (impl_->documentEnded) impl_->documentEnded();
        return true;
    }
    impl_->written = impl_->qpainter.end();
    if (impl_->keep && impl_->written) {
        // A cut PDF opens nowhere: only a whole one takes a printout's name.
        const QByteArray& pdf = impl_->bytes->data();
        const std::optional<std::string> file =
            impl_->keep(std::string_view(pdf.constData(), std::size_t(pdf.size())));
        impl_->written = file.has_value();
        if (file) impl_->fileName = *file;
    }
    return impl_->written;
}

namespace {

// The n-th file name of documents named `name` in `folder`, counted from 1.
QString NumberedPdf(const QString& folder, const std::string& name, int n) {
    QString base = ToQt(name);
    base.replace('/', '_');
    return QDir(folder).filePath(n == 1 ? base + ".pdf" : QString("%1 (%2).pdf").arg(base).arg(n));
}

// A document written as PDF, to go to the file `fileName` through `keep` as it ends; null when
// it cannot be painted on.
std::unique_ptr<PrintDocument> PdfDocument(const std::string& fileName, const std::string& name,
                                           const PageSetup& setup, KeepFile keep) {
    auto impl = std::make_unique<PrintDocument::Impl>();
    impl->fileName = fileName;
    impl->keep = std::move(keep);
    impl->bytes = std::make_unique<QBuffer>();
    if (!impl->bytes->open(QIODevice::WriteOnly)) return nullptr;
    auto writer = std::make_unique<QPdfWriter>(impl->bytes.get());
    writer->setTitle(ToQt(name));
    writer->setCreator("ORVEL");
    writer->setResolution(setup.dpi);
    writer->setPageSize(QPageSize(QPageSize::A4));
    impl->device = std::move(writer);
    return Open(std::move(impl), name, setup);
}

}  // namespace

std::string PdfFolder::NextFile(const std::string& name) const {
    const QString folder = ToQt(folder_);
    if (!QDir().mkpath(folder)) return {};
    int n = 1;
    while (QFileInfo::exists(NumberedPdf(folder, name, n))) ++n;
    return FromQt(NumberedPdf(folder, name, n));
}

std::unique_ptr<PrintDocument> PdfFolder::Begin(const std::string& name, const PageSetup& setup) {
    // A file name the operator chose names the documents in place of their own name.
    const std::string base = fileName_.empty() ? name : fileName_;
    const std::string first = NextFile(base);  // makes the folder
    if (first.empty()) return nullptr;
    const QString folder = ToQt(folder_);
    // The name is taken only as the file is written whole: a save that fails on a name another
    // file took meanwhile tries the next, so that two prints racing for a name keep both.
    auto keep = [save = save_, folder, base, last = lastFile_,
                 files = files_](std::string_view bytes) -> std::optional<std::string> {
        for (int n = 1;; ++n) {
            const QString path = NumberedPdf(folder, base, n);
            if (QFileInfo::exists(path)) continue;
            *last = FromQt(path);
            if (save(*last, bytes, false)) break;
            if (!QFileInfo::exists(path)) return std::nullopt;
        }
        files->push_back(*last);
        return *last;
    };
    auto document = PdfDocument(first, name, setup, std::move(keep));
    if (document) *lastFile_ = document->File();
    return document;
}

std::unique_ptr<PrintDocument> PrinterTarget::Begin(const std::string& name,
                                                    const PageSetup& setup) {
    // "Print to file" is written as the PDF folder writes, so that a file the disk cut short
    // is told and leaves the old file as it was.
    if (!choice_.file.empty()) {
        if (!save_) return nullptr;
        auto keep = [save = save_,
                     file = choice_.file](std::string_view bytes) -> std::optional<std::string> {
            if (!save(file, bytes, true)) return std::nullopt;
            return file;
        };
        return PdfDocument(choice_.file, name, setup, std::move(keep));
    }
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (!choice_.printer.empty()) printer->setPrinterName(ToQt(choice_.printer));
    if (!printer->isValid()) return nullptr;
    printer->setCopyCount(std::max(choice_.copies, 1));
    printer->setDocName(ToQt(name));
    printer->setFullPage(true);
    // The print service takes PDF, so the resolution asked for is the one painted in.
    printer->setResolution(setup.dpi);
    auto impl = std::make_unique<PrintDocument::Impl>();
    impl->device = std::move(printer);
    return Open(std::move(impl), name, setup);
}

std::unique_ptr<PrintDocument> RecordingTarget::Begin(const std::string& name,
                                                      const PageSetup& setup) {
    if (refuse) return nullptr;
    documents.push_back({name, setup, {}, false});
    Document& document = documents.back();
    // A4 as the PDF files have it: 595 x 842 points.
    int width = 595 * setup.dpi / 72, height = 842 * setup.dpi / 72;
    if (setup.landscape) std::swap(width, height);
    auto impl = std::make_unique<PrintDocument::Impl>();
    impl->name = name;
    impl->dpi = setup.dpi;
    impl->painter =
        RecordingPainter(width, height, charWidth_, fontHeight_, [&document](const DrawCall& call) {
            if (document.pages.empty()) document.pages.emplace_back();
            document.pages.back().push_back(call);
        });
    impl->pageBegun = [&document] { document.pages.emplace_back(); };
    impl->documentEnded = [&document] { document.ended = true; };
    return std::make_unique<PrintDocument>(std::move(impl));
}

std::unique_ptr<PagePicture> PagePicture::Make(int width, int height, int dpi,
                                               int64_t pixelBudget) {
    if (width <= 0 || height <= 0) return nullptr;
    int shrink = 1;
    while (int64_t{width / shrink} * (height / shrink) > pixelBudget && shrink < width) shrink *= 2;
    // An allocation refused by the memory left is tried again smaller, down to a thumbnail.
    for (; width / shrink >= 16 && height / shrink >= 16; shrink *= 2) {
        std::unique_ptr<PagePicture> page(new PagePicture(width, height, dpi, shrink));
        if (page->Allocated()) return page;
    }
    return nullptr;
}

// ---- printers ----

namespace {

std::optional<SystemPrinter> ServicePrinter() {
    QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        const QList<QPrinterInfo> all = QPrinterInfo::availablePrinters();
        if (all.isEmpty()) return std::nullopt;
        info = all.front();
    }
    QPrinter printer(info, QPrinter::HighResolution);
    const QRect paper = printer.paperRect(QPrinter::DevicePixel).toRect();
    return SystemPrinter{FromQt(info.printerName()), printer.resolution(),
                         std::max(paper.width(), paper.height())};
}

PrinterLookup printerLookup;

}  // namespace

std::optional<SystemPrinter> DefaultPrinter() {
    return printerLookup ? printerLookup() : ServicePrinter();
}

PrinterLookup SetPrinterLookup(PrinterLookup lookup) {
    PrinterLookup previous = std::move(printerLookup);
    printerLookup = std::move(lookup);
    return previous;
}

// ---- the print dialog ----

namespace {

class ScreenPrintDialogs : public PrintDialogService {
  public:
    std::optional<PrinterChoice> Run(const PrintDialogRequest& request) override {
        QPrinter printer(QPrinter::HighResolution);
        if (!request.pdfFile.empty()) {
            printer.setOutputFileName(ToQt(request.pdfFile));
            // The proposal waits under "print to file"; a machine with printers still opens
            // on its printer.
            if (!QPrinterInfo::availablePrinterNames().isEmpty())
                printer.setOutputFormat(QPrinter::NativeFormat);
        }
        QPrintDialog dialog(&printer, request.owner ? request.owner->widget() : nullptr);
        if (dialog.exec() != QDialog::Accepted) return std::nullopt;
        return PrinterChoice{FromQt(printer.printerName()), FromQt(printer.outputFileName()),
                             printer.copyCount()};
    }
};

ScreenPrintDialogs screen;
PrintDialogService* current = &screen;

}  // namespace

std::optional<PrinterChoice> RunPrintDialog(const PrintDialogRequest& request) {
    return current->Run(request);
}

PrintDialogService* SetPrintDialogService(PrintDialogService* service) {
    PrintDialogService* previous = current;
    current = service ? service : &screen;
    return previous;
}

std::optional<PrinterChoice> ScriptedPrintDialogs::Run(const PrintDialogRequest& request) {
    shown.push_back(request);
    if (answers.empty()) return std::nullopt;
    std::optional<PrinterChoice> answer = answers.front();
    answers.pop_front();
    return answer;
}

}  // namespace ui
