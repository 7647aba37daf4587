// Reports from the main window against the emulated IC-R8500 on a system without a printer:
// the station printing unattended from its start-up job, and a scanned range printed with its
// picture; both end as PDF files in the program folder's PRINT.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "app/orvel_windows.h"
#include "tests/app/window_fixture.h"
#include "tests/support/poppler.h"
#include "ui/font_dialog.h"
#include "ui/print.h"
#include "ui/text_box.h"

namespace {

using window_test::MakeLines;
using window_test::ScanOnAir;

class Printing : public ScanOnAir {
  protected:
    void SetUp() override {
        previousLookup_ = ui::SetPrinterLookup([] { return std::nullopt; });
        ScanOnAir::SetUp();
    }
    void TearDown() override {
        ScanOnAir::TearDown();
        ui::SetPrinterLookup(previousLookup_);
    }
    std::vector<std::string> PdfFiles() const {
        std::vector<std::string> files;
        if (std::filesystem::is_directory(folder.path() / "PRINT"))
            for (const auto& entry : std::filesystem::directory_iterator(folder.path() / "PRINT"))
                files.push_back(entry.path().string());
        std::sort(files.begin(), files.end());
        return files;
    }

  private:
    ui::PrinterLookup previousLookup_;
};

// The printing station: ORVEL.INI names job 0002, which loads the range "Эфир", prints it
// twice and starts its scan, which finds the carrier at 100.5 MHz. The print form's saved settings
// print the selected item.
class UnattendedPrinting : public Printing {
  protected:
    std::string Ini() const override { return ScanOnAir::Ini() + "AUTOEXEC=0002\r\n"; }
    void Prepare() override {
        emulator.SetSignalPlan(window_test::WithCarrier(20, 100'500'000, 200));
        WriteUnattendedScan();
        Write("ORVEL.CFG", {"Принтер=ДА", "Принтер_журнал=ДА", "Разрешение_X=0"});
        WriteJob("0002", "Печать и обход",
                 MakeLines({{"Панель ДИАПАЗОНЫ", 10, 2},
                            {"Эфир", 9, 3, 0, "Эфир"},
                            {"Кнопка ЗАГРУЗИТЬ", 10, 13, 0, "", true},
                            {"Кнопка ПЕЧАТЬ", 10, 28},
                            {"Кнопка ПЕЧАТЬ", 10, 28},
                            {"Кнопка ПУСК", 10, 17}}));
    }
};

TEST_F(UnattendedPrinting, TheStartUpJobPrintsTwoPdfFilesAndGoesOnToScan) {
    ASSERT_TRUE(
        RunUntil([&] { return ScanNotes().find("Появление сигнала") != std::string::npos; }));
    EXPECT_TRUE(Exists("PRINT.TXT"));
    EXPECT_TRUE(Exists("PRINTF.TXT"));
    const std::vector<std::string> files = PdfFiles();
    ASSERT_EQ(files.size(), 2u);
    for (const std::string& file : files) {
        const std::string text = Poppler("pdftotext", file);
        EXPECT_NE(text.find("Отчет программы ORVEL"), std::string::npos) << text;
        EXPECT_NE(text.find("дата: 07/03/2001 09:05"), std::string::npos) << text;
        EXPECT_NE(text.find("страница: 1"), std::string::npos) << text;
        EXPECT_NE(text.find("Эфир"), std::string::npos) << text;
    }
    // Each print line answered with the file it made, and the job went on.
    EXPECT_EQ(orvel.EditLines[3].ReturnCode, 0);
    EXPECT_EQ(orvel.EditLines[3].Message, "Отчет выдан в файл PRINT/Печать отчета ORVEL.pdf");
    EXPECT_EQ(orvel.EditLines[4].Message, "Отчет выдан в файл PRINT/Печать отчета ORVEL (2).pdf");
    EXPECT_EQ(orvel.EditLines[5].ReturnCode, 0);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_FALSE(orvel.windows->report.HasWindow());
}

// The range "Эфир", 100.00 .. 102.99 MHz in 10 kHz steps, with a carrier at 100.5 MHz.
class PrintingARange : public Printing {
  protected:
    void Prepare() override {
        emulator.SetSignalPlan(window_test::WithCarrier(20, 100'500'000, 200));
        UserDp& range = MakeRange(1'000'000, 1'029'900, 100);
        range.Identifier = "Эфир";
        range.FilePath = range.FolderPath + "diap.cfg";
        ASSERT_TRUE(range.WriteFile());
    }
};

// The longest run of dark pixels along a row of a grey page as pdftoppm renders it.
int LongestDarkRun(const std::string& pgm) {
    // "P5\n<width> <height>\n255\n" and the pixels.
    int width = 0, height = 0;
    std::sscanf(pgm.c_str(), "P5 %d %d", &width, &height);
    const std::size_t start = pgm.size() - std::size_t(width) * std::size_t(height);
    int longest = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0, run = 0; x < width; ++x) {
            run = uint8_t(pgm[start + std::size_t(y) * std::size_t(width) + std::size_t(x)]) < 160
                      ? run + 1
                      : 0;
            longest = std::max(longest, run);
        }
    return longest;
}

// A range scanned for one cycle, printed from its page: its lines, then its picture in strips.
TEST_F(PrintingARange, AScannedRangePrintsWithItsPicture) {
    RunJob(MakeLines({{"Панель ДИАПАЗОНЫ", 10, 2},
                      {"Эфир", 9, 3, 0, "Эфир"},
                      {"Кнопка ЗАГРУЗИТЬ", 10, 13, 0, "", true},
                      {"Кнопка ПУСК", 10, 17}}));
    ASSERT_TRUE(RunUntil([&] { return orvel.RunningMode == 2 && !orvel.Running; }));
    ASSERT_EQ(orvel.ScanSlots[0].CycleCount, 1u);

    orvel.pictbttn_11->Raise(ui::EventId::Click);
    ASSERT_TRUE(orvel.windows->report.HasWindow());
    Report& form = orvel.windows->report;
    form.field->SetChecked(true);
    form.field->Raise(ui::EventId::Click);
    form.Xdpi->SetSelectedIndex(4);  // 300 dpi
    form.start->Raise(ui::EventId::Click);
    const std::vector<std::string> files = PdfFiles();
    ASSERT_EQ(files.size(), 1u) << form.msg->Text();
    const std::string text = Poppler("pdftotext", files[0]);
    EXPECT_NE(text.find("Пройдено циклов"), std::string::npos) << text;
    for (const char* label : {"100.00", "101.00", "102.00", "103.00"})
        EXPECT_NE(text.find(label), std::string::npos) << label << "\n" << text;

    // The page as the printer would put it on paper: the strips' frame lines run across it
    // (at 50 dpi a printable width of 6.5 inches), as no text does.
    EXPECT_GT(LongestDarkRun(Poppler("pdftoppm -gray -r 50", files[0])), 250);
}

// A job prints while the operator has the print form open, its font dialog too: the job prints
// through a form of its own, and the operator's form, with what was typed and chosen in it,
// stays.
TEST_F(PrintingARange, AJobPrintsWhileTheOperatorsFormHasItsFontDialogOpen) {
    RunJob(MakeLines({{"Панель ДИАПАЗОНЫ", 10, 2}, {"Эфир", 9, 3, 0, "Эфир"}}));
    orvel.PrinterSet = 1;
    orvel.PrinterJournal = 1;  // the range selected in the journal
    orvel.pictbttn_11->Raise(ui::EventId::Click);
    Report& form = orvel.windows->report;
    ASSERT_TRUE(form.HasWindow());
    form.rtb_1->SetLines("Смена 2");
    const std::vector<JobStr> print = MakeLines({{"Кнопка ПЕЧАТЬ", 10, 28}});
    {
        ui::ScriptedFontDialogs dialogs;
        dialogs.whileOpen = [&] { RunJob(print); };
        dialogs.answers.push_back("10.MS Sans Serif.CharSet=204");
        form.pictbttn_8->Raise(ui::EventId::Click);
    }
    ASSERT_TRUE(form.HasWindow());
    EXPECT_EQ(form.font_name->Text(), "10.MS Sans Serif.CharSet=204");
    EXPECT_EQ(form.rtb_1->Lines(), "Смена 2");
    EXPECT_EQ(orvel.RunLines[0].ReturnCode, 0);
    EXPECT_EQ(orvel.RunLines[0].Message, "Отчет выдан в файл PRINT/Печать отчета ORVEL.pdf");
    const std::vector<std::string> files = PdfFiles();
    ASSERT_EQ(files.size(), 1u);
    EXPECT_NE(Poppler("pdftotext", files[0]).find("Эфир"), std::string::npos);

    // With no dialog open the form stays all the same.
    RunJob(print);
    EXPECT_TRUE(form.HasWindow());
    EXPECT_EQ(form.rtb_1->Lines(), "Смена 2");
    EXPECT_EQ(PdfFiles().size(), 2u);
    EXPECT_TRUE(boxes.shown.empty());
}

}  // namespace
