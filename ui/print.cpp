#include "ui/print.h"

#include <QDir>
#include <QFile>
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

// The members are destroyed bottom up: the painters before the device they paint on, the
// device before the file it writes.
struct PrintDocument::Impl {
    std::string name;
    int dpi = 0;
    int pages = 0;
    bool ended = false;
    std::unique_ptr<QFile> file;  // the PDF folder's file; a printer writes its own
    std::unique_ptr<QPagedPaintDevice> device;
    QPainter qpainter;
    std::unique_ptr<Painter> painter;
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
    if (impl_->pages > 0 && !impl_->ended) impl_->device->newPage();
    ++impl_->pages;
    return *impl_->painter;
}

bool PrintDocument::End() {
    if (impl_->ended) return true;
    impl_->ended = true;
    bool written = impl_->qpainter.end();
    if (impl_->file) {
        written = written && impl_->file->error() == QFileDevice::NoError;
        impl_->file->close();
    }
    return written;
}

namespace {

// The n-th file name of documents named `name` in `folder`, counted from 1.
QString NumberedPdf(const QString& folder, const std::string& name, int n) {
    QString base = ToQt(name);
    base.replace('/', '_');
    return QDir(folder).filePath(n == 1 ? base + ".pdf" : QString("%1 (%2).pdf").arg(base).arg(n));
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
    const QString folder = ToQt(folder_);
    if (!QDir().mkpath(folder)) return nullptr;
    auto impl = std::make_unique<PrintDocument::Impl>();
    impl->file = std::make_unique<QFile>();
    // Opening only a file that does not exist yet keeps an earlier document even when two
    // prints race for the same name.
    for (int n = 1;; ++n) {
        const QString file = NumberedPdf(folder, name, n);
        impl->file->setFileName(file);
        if (impl->file->open(QIODevice::WriteOnly | QIODevice::NewOnly)) break;
        if (!impl->file->exists()) return nullptr;  // the folder will not take files
    }
    const QString file = impl->file->fileName();
    auto writer = std::make_unique<QPdfWriter>(impl->file.get());
    writer->setTitle(ToQt(name));
    writer->setCreator("ORVEL");
    writer->setResolution(setup.dpi);
    writer->setPageSize(QPageSize(QPageSize::A4));
    impl->device = std::move(writer);
    auto document = Open(std::move(impl), name, setup);
    if (!document) {
        QFile::remove(file);
        return nullptr;
    }
    lastFile_ = FromQt(file);
    return document;
}

std::unique_ptr<PrintDocument> PrinterTarget::Begin(const std::string& name,
                                                    const PageSetup& setup) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (!choice_.printer.empty()) printer->setPrinterName(ToQt(choice_.printer));
    if (!choice_.file.empty()) printer->setOutputFileName(ToQt(choice_.file));
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
