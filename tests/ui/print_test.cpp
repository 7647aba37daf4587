#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <filesystem>
#include <string>

#include "state/text_file.h"
#include "tests/state/temp_dir.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/poppler.h"
#include "ui/application.h"
#include "ui/print.h"

namespace {

// Two pages, each with its own line of text.
bool PrintTwoPages(ui::PrintTarget& target, const std::string& name, const std::string& first,
                   const std::string& second) {
    auto doc = target.Begin(name, {300, false});
    if (!doc) return false;
    ui::Painter& p = doc->NewPage();
    p.SetFont("12.MS Sans Serif");
    p.Text(doc->Dpi(), doc->Dpi(), first);
    p.Line(doc->Dpi(), 2 * doc->Dpi(), 5 * doc->Dpi(), 2 * doc->Dpi());
    doc->NewPage().TextInRect({0, 0, doc->PageWidth(), doc->PageHeight()}, second,
                              ui::HAlign::Center, ui::VAlign::Middle);
    EXPECT_EQ(doc->Pages(), 2);
    return doc->End();
}

TEST(PrintToPdf, PagesKeepTheirTextInOrderAndTheNameIsTheTitle) {
    TempDir dir;
    ui::PdfFolder target(dir.File("PRINT"), SaveFileWhole);
    ASSERT_TRUE(PrintTwoPages(target, "Печать отчета ORVEL", "Страница один: 145.2500 МГц",
                              "Страница два"));
    EXPECT_EQ(target.LastFile(), dir.File("PRINT/Печать отчета ORVEL.pdf"));

    const std::string text = Poppler("pdftotext", target.LastFile());
    const size_t one = text.find("Страница один: 145.2500 МГц");
    const size_t pageBreak = text.find('\f');
    const size_t two = text.find("Страница два");
    ASSERT_NE(one, std::string::npos) << text;
    ASSERT_NE(two, std::string::npos) << text;
    EXPECT_LT(one, pageBreak);
    EXPECT_LT(pageBreak, two);

    const std::string info = Poppler("pdfinfo", target.LastFile());
    EXPECT_NE(info.find("Печать отчета ORVEL\n"), std::string::npos) << info;
    EXPECT_NE(info.find("\nPages:           2\n"), std::string::npos) << info;
}

TEST(PrintToPdf, ADocumentOfAnEarlierNameGoesToTheNextFreeNumber) {
    TempDir dir;
    ui::PdfFolder target(dir.path().string(), SaveFileWhole);
    ASSERT_TRUE(PrintTwoPages(target, "report", "first print", "1"));
    ASSERT_TRUE(PrintTwoPages(target, "report", "second print", "2"));
    EXPECT_EQ(target.LastFile(), dir.File("report (2).pdf"));
    ASSERT_TRUE(PrintTwoPages(target, "a/b", "third print", "3"));
    EXPECT_EQ(target.LastFile(), dir.File("a_b.pdf"));
    std::filesystem::remove(dir.File("report.pdf"));
    ASSERT_TRUE(PrintTwoPages(target, "report", "fourth print", "4"));
    EXPECT_EQ(target.LastFile(), dir.File("report.pdf"));  // a freed name is taken again
    ASSERT_TRUE(PrintTwoPages(target, "report", "fifth print", "5"));
    EXPECT_EQ(target.LastFile(), dir.File("report (3).pdf"));

    EXPECT_EQ(target.NextFile("report"), dir.File("report (4).pdf"));
    EXPECT_EQ(target.NextFile("a/b"), dir.File("a_b (2).pdf"));

    EXPECT_NE(Poppler("pdftotext", dir.File("report (2).pdf")).find("second print"),
              std::string::npos);
    EXPECT_NE(Poppler("pdftotext", dir.File("report.pdf")).find("fourth print"), std::string::npos);
}

TEST(PrintToPdf, ThePageIsTheWholeSheetInDotsOfTheResolution) {
    TempDir dir;
    ui::PdfFolder target(dir.path().string(), SaveFileWhole);
    auto portrait = target.Begin("sheet", {300, false});
    ASSERT_TRUE(portrait);
    EXPECT_EQ(portrait->PageWidth(), 2479);  // A4 is 595 x 842 points
    EXPECT_EQ(portrait->PageHeight(), 3508);
    ui::Painter& p = portrait->NewPage();
    p.SetFont("8.MS Sans Serif");
    const int height300 = p.TextHeight();
    auto landscape = target.Begin("sheet", {72, true});
    ASSERT_TRUE(landscape);
    EXPECT_EQ(landscape->PageWidth(), 842);
    EXPECT_EQ(landscape->PageHeight(), 595);
    ui::Painter& q = landscape->NewPage();
    q.SetFont("8.MS Sans Serif");
    // A font keeps its size in points on paper, so it takes more dots at a finer resolution.
    EXPECT_NEAR(height300 * 72.0 / 300.0, q.TextHeight(), 1.5);
    EXPECT_TRUE(portrait->End());
    EXPECT_TRUE(landscape->End());
}

// `pages` pages of text lines.
bool PrintPages(ui::PrintTarget& target, const std::string& name, int pages) {
    auto doc = target.Begin(name, {300, false});
    if (!doc) return false;
    for (int page = 0; page < pages; ++page) {
        ui::Painter& p = doc->NewPage();
        p.SetFont("12.MS Sans Serif");
        for (int line = 0; line < 60; ++line)
            p.Text(300, 300 + 50 * line, "строка " + std::to_string(page * 60 + line));
    }
    return doc->End();
}

// The disk takes the first 4,096 bytes of a file: the document is told as not written and its
// cut file is removed, whether the write failed while the pages were drawn or only as the file
// closed (a small document waits in the file's buffer until then).
TEST(PrintToPdf, AFileTheDiskCutsShortIsReportedAndRemoved) {
    TempDir dir;
    ui::PdfFolder folder(dir.File("PRINT"), SaveFileWhole);
    ASSERT_TRUE(PrintPages(folder, "small", 1));
    ASSERT_TRUE(PrintPages(folder, "large", 30));
    ASSERT_LT(std::filesystem::file_size(dir.File("PRINT/small.pdf")), 8192u);
    ASSERT_GT(std::filesystem::file_size(dir.File("PRINT/large.pdf")), 32768u);
    for (int pages : {1, 30}) {
        EXPECT_FALSE(WithFileSizeLimit(4096, [&] { return PrintPages(folder, "cut", pages); }));
        EXPECT_EQ(folder.LastFile(), dir.File("PRINT/cut.pdf"));
        EXPECT_FALSE(std::filesystem::exists(folder.LastFile())) << pages;
    }
    EXPECT_TRUE(std::filesystem::exists(dir.File("PRINT/small.pdf")));

    // "Print to file" from the print dialog the same.
    ui::PrinterTarget chosen({"", dir.File("chosen.pdf"), 1}, SaveFileWhole);
    EXPECT_FALSE(WithFileSizeLimit(4096, [&] { return PrintPages(chosen, "cut", 1); }));
    EXPECT_FALSE(std::filesystem::exists(dir.File("chosen.pdf")));
    ASSERT_TRUE(PrintPages(chosen, "whole", 1));
    EXPECT_NE(Poppler("pdftotext", dir.File("chosen.pdf")).find("строка 59"), std::string::npos);
}

// kill -9 while a document of 30 pages is being drawn: no file takes a printout's name. The
// print runs in a child process that is killed once its last page is drawn, before its end.
TEST(PrintToPdf, AKillWhilePrintingLeavesNoFileUnderAPrintoutsName) {
    TempDir dir;
    ui::PdfFolder folder(dir.File("PRINT"), SaveFileWhole);
    int drawn[2];
    ASSERT_EQ(::pipe(drawn), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        auto doc = folder.Begin("Печать отчета ORVEL", {300, false});
        for (int page = 0; doc && page < 30; ++page)
            doc->NewPage().Text(300, 300, "строка " + std::to_string(page));
        [[maybe_unused]] const ssize_t told = ::write(drawn[1], doc ? "d" : "-", 1);
        for (;;) ::pause();
    }
    ::close(drawn[1]);
    char byte = 0;
    const ssize_t told = ::read(drawn[0], &byte, 1);
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ::close(drawn[0]);
    ASSERT_EQ(std::string(1, byte), "d") << told;
    ASSERT_TRUE(std::filesystem::is_directory(dir.File("PRINT")));
    EXPECT_TRUE(std::filesystem::is_empty(dir.File("PRINT")));
}

TEST(PrintToPdf, AFolderThatCannotBeMadeTakesNoDocument) {
    TempDir dir;
    WriteBytes(dir.File("file"), "x");
    ui::PdfFolder target(dir.File("file/PRINT"), SaveFileWhole);
    EXPECT_EQ(target.Begin("report", {}), nullptr);
    EXPECT_TRUE(target.LastFile().empty());
    EXPECT_EQ(target.NextFile("report"), "");
    // The file offered to a print dialog lies in a folder that is there to take it.
    EXPECT_EQ(ui::PdfFolder(dir.File("PRINT"), SaveFileWhole).NextFile("report"),
              dir.File("PRINT/report.pdf"));
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("PRINT")));
}

TEST(PrintDialog, TheScriptedChoiceReachesThePrinterAndACancelPrintsNothing) {
    TempDir dir;
    ui::ScriptedPrintDialogs dialogs;
    dialogs.answers = {ui::PrinterChoice{"", dir.File("chosen.pdf"), 1}};
    const std::optional<ui::PrinterChoice> choice = ui::RunPrintDialog({});
    ASSERT_TRUE(choice);
    ui::PrinterTarget printer(*choice, SaveFileWhole);
    ASSERT_TRUE(PrintTwoPages(printer, "Печать детального анализа ORVEL", "анализ", "итог"));
    const std::string text = Poppler("pdftotext", dir.File("chosen.pdf"));
    const size_t first = text.find("анализ"), second = text.find("итог");
    EXPECT_LT(first, second) << text;
    EXPECT_NE(second, std::string::npos) << text;
    EXPECT_NE(Poppler("pdfinfo", dir.File("chosen.pdf")).find("Печать детального анализа ORVEL"),
              std::string::npos);

    EXPECT_FALSE(ui::RunPrintDialog({}));
    EXPECT_EQ(dialogs.shown.size(), 2u);
}

// The toolkit's own dialog, in Russian, offers the proposed file when printing to a file; the
// test closes it as soon as it is up.
TEST(PrintDialog, TheToolkitsDialogProposesTheFileAndSpeaksRussian) {
    ASSERT_TRUE(ui::Application::InstallToolkitTranslation());
    TempDir dir;
    const std::string proposed = dir.File("PRINT/Печать.pdf");
    std::string title, file;
    QTimer::singleShot(0, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<QPrintDialog*>(w);
            if (dialog == nullptr || !dialog->isVisible()) continue;
            title = dialog->windowTitle().toStdString();
            if (auto* edit = dialog->findChild<QLineEdit*>("filename"))
                file = edit->text().toStdString();
            dialog->reject();
        }
    });
    ui::PrintDialogService* tests = ui::SetPrintDialogService(nullptr);
    EXPECT_FALSE(ui::RunPrintDialog({nullptr, proposed}));
    ui::SetPrintDialogService(tests);
    EXPECT_EQ(title, "Печать");
    EXPECT_EQ(file, proposed);
    QDialogButtonBox buttons(QDialogButtonBox::Cancel);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text().toStdString(), "Отмена");
}

TEST(PrintDialog, AnUnscriptedDialogFailsTheTest) {
    EXPECT_NONFATAL_FAILURE(ui::RunPrintDialog({}), "unexpected print dialog");
}

}  // namespace
