// The print form on a stand-in main window: its header file, its saved settings, printing to
// PDF files (unattended and from its button), the clipboard and the export of the tab page.

#include "windows/report.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "state/cp1251.h"
#include "state/stamp_clock.h"
#include "tests/state/temp_dir.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/poppler.h"
#include "tests/windows/window_stand_ins.h"
#include "ui/clipboard.h"
#include "ui/file_dialog.h"
#include "ui/font_dialog.h"
#include "ui/message_box.h"
#include "ui/print.h"
#include "ui/text_box.h"

namespace {

class PrintForm : public ::testing::Test {
  protected:
    PrintForm() {
        StampClock::Set([] { return LocalTime{7, 3, 2001, 9, 5, 30}; });
        previousPrinter_ = ui::SetPrinterLookup([this] { return printer; });
        fdx.Owner = &main;
        fdx.ProgramDir = dir.path().string() + "/";
        fdx.ScanSlots.assign(kScanSlotCount, Bank{});
        fdx.MessageBox = [](const FDX&, const MessageRequest&) { return true; };
        Item({"Диапазон \tАвиация", "Начальная частота \t   118.0000"});
    }
    ~PrintForm() override {
        form.Destroy();
        ui::SetPrinterLookup(previousPrinter_);
        StampClock::Set({});
    }
    // The selected item's report, as the main window leaves it.
    void Item(const std::vector<std::string>& lines) {
        std::string bytes;
        for (const std::string& line : lines) bytes += Utf8ToCp1251(line) + "\r\n";
        WriteBytes(dir.File("PRINT.TXT"), bytes);
        fdx.ItemTextFile = dir.File("PRINT.TXT");
        fdx.ItemTextAbsent = 0;
        fdx.ItemTextReady = 1;
        fdx.PrinterSet = 1;
        fdx.PrinterJournal = 1;
    }
    std::vector<std::string> PdfFiles() const {
        std::vector<std::string> files;
        if (std::filesystem::exists(dir.path() / "PRINT"))
            for (const auto& entry : std::filesystem::directory_iterator(dir.path() / "PRINT"))
                files.push_back(entry.path().filename().string());
        std::sort(files.begin(), files.end());
        return files;
    }

    TempDir dir;
    CodeSink main;
    FDX fdx;
    Report form;
    std::optional<ui::SystemPrinter> printer;  // none: the system has no printer

  private:
    ui::PrinterLookup previousPrinter_;
};

TEST(PrinterResolution, ThePrintersPaperGivesTheResolutionOfTheList) {
    EXPECT_EQ(ResolutionIndexOfEstimate(100), 0);   // 72
    EXPECT_EQ(ResolutionIndexOfEstimate(101), 1);   // 120
    EXPECT_EQ(ResolutionIndexOfEstimate(1300), 8);  // 1200
    EXPECT_EQ(ResolutionIndexOfEstimate(1301), 9);  // 1440
    // A4 (297 mm) at 600 dpi: 7016 dots.
    EXPECT_EQ(kReportResolutions[ResolutionIndexFor(7016)], 600);
}

TEST_F(PrintForm, TheHeaderFileIsTakenUpTo4096Bytes) {
    WriteBytes(dir.File("print.hdr"), Utf8ToCp1251("Станция 3\rлист @СТР"));
    ASSERT_TRUE(form.Create(&main, &fdx));
    EXPECT_EQ(form.rtb_1->Lines(), "Станция 3\nлист @СТР");
    form.Destroy();

    WriteBytes(dir.File("print.hdr"), std::string(4097, 'x'));
    ASSERT_TRUE(form.Create(&main, &fdx));
    EXPECT_EQ(form.rtb_1->Lines(), kDefaultReportHeader);
}

TEST_F(PrintForm, SettingsAndHeaderAreSavedAndComeBack) {
    ASSERT_TRUE(form.Create(&main, &fdx));
    EXPECT_FALSE(form.visible->IsEnabled());  // the item is chosen
    form.field->SetChecked(true);
    form.field->Raise(ui::EventId::Click);
    EXPECT_TRUE(form.visible->IsEnabled());
    form.land->SetChecked(true);
    form.Xdpi->SetSelectedIndex(4);
    form.rtb_1->SetLines("Отчет\nлист @СТР");
    form.SaveSettingsAndHeader();
    // Lines apart by CR, no line end after the last.
    EXPECT_EQ(ReadBytes(dir.File("print.hdr")), Utf8ToCp1251("Отчет\rлист @СТР"));
    EXPECT_EQ(fdx.PrinterSet, 1);
    EXPECT_EQ(fdx.PrinterJournal, 0);
    EXPECT_EQ(fdx.PrinterLandscape, 1);
    EXPECT_EQ(fdx.PrinterResolution, 4u);

    form.Destroy();
    ASSERT_TRUE(form.Create(&main, &fdx));
    EXPECT_TRUE(form.field->IsChecked());
    EXPECT_TRUE(form.land->IsChecked());
    EXPECT_EQ(form.Settings().resolution, 300);
    EXPECT_EQ(form.Settings().header, (std::vector<std::string>{"Отчет", "лист @СТР"}));

    form.ClearSettings();  // answered yes
    EXPECT_FALSE(std::filesystem::exists(dir.File("print.hdr")));
    EXPECT_TRUE(form.Settings().header.empty());
    EXPECT_EQ(fdx.PrinterSet, 0);
}

// The header keeps the lines the box gives, empty ones at its end too, save after save.
TEST_F(PrintForm, TheHeadersTrailingEmptyLinesSurviveEverySave) {
    ASSERT_TRUE(form.Create(&main, &fdx));
    form.rtb_1->SetLines("Отчет\n\nлист @СТР\n\n");
    for (int save = 0; save < 3; ++save) {
        form.SaveSettingsAndHeader();
        EXPECT_EQ(ReadBytes(dir.File("print.hdr")), Utf8ToCp1251("Отчет\r\rлист @СТР\r\r"));
        form.Destroy();
        ASSERT_TRUE(form.Create(&main, &fdx));
        EXPECT_EQ(form.rtb_1->Lines(), "Отчет\n\nлист @СТР\n\n");
    }
    EXPECT_EQ(form.Settings().header, (std::vector<std::string>{"Отчет", "", "лист @СТР", "", ""}));
}

// A header that cannot be saved is told in a box; the settings are kept all the same.
TEST_F(PrintForm, AHeaderThatCannotBeSavedIsToldAndTheSettingsStillKept) {
    ui::ScriptedMessageBoxes boxes;
    std::filesystem::create_directory(dir.File("print.hdr"));  // no file can take its place
    fdx.PrinterSet = 0;
    ASSERT_TRUE(form.Create(&main, &fdx));
    form.land->SetChecked(true);
    form.rtb_1->SetLines("Отчет");
    form.SaveSettingsAndHeader();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Ошибка сохранения файла\"" + dir.File("print.hdr") + "\"");
    EXPECT_EQ(boxes.shown[0].caption, "ВНИМАНИЕ");
    EXPECT_EQ(boxes.shown[0].icon, ui::MessageIcon::Stop);
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("print.hdr")));
    EXPECT_EQ(fdx.PrinterSet, 1);
    EXPECT_EQ(fdx.PrinterLandscape, 1);
    EXPECT_EQ(form.rtb_1->Lines(), "Отчет");  // the operator's text stays to be saved again
}

TEST_F(PrintForm, TheFirstLayoutPreviewsThePageAndCountsThePages) {
    ASSERT_TRUE(form.Create(&main, &fdx));
    ui::ServePending();
    ASSERT_TRUE(form.Composed());
    EXPECT_EQ(form.msg->Text(), "Подготовлена одна страница");
    ASSERT_NE(form.Page(), nullptr);
    // Something black on the page's first lines: the header.
    const std::vector<ui::Color> pixels = form.Page()->Pixels();
    EXPECT_NE(std::find(pixels.begin(), pixels.begin() + form.Page()->Width() * 40, 0x000000u),
              pixels.begin() + form.Page()->Width() * 40);
}

// While a job runs nobody is there to press a button: the form prints, reports and goes.
TEST_F(PrintForm, AJobPrintsAtOnceIntoNumberedPdfFilesAndReportsThem) {
    JobStr line;
    fdx.JobLine = &line;
    fdx.JobRunning = 1;
    ASSERT_TRUE(form.Create(&main, &fdx));
    EXPECT_FALSE(form.HasWindow());
    ASSERT_TRUE(form.Create(&main, &fdx));
    EXPECT_EQ(PdfFiles(), (std::vector<std::string>{"Печать отчета ORVEL (2).pdf",
                                                    "Печать отчета ORVEL.pdf"}));
    EXPECT_EQ(line.ReturnCode, 0);
    EXPECT_EQ(line.Message, "Отчет выдан в файл PRINT/Печать отчета ORVEL (2).pdf");
    const std::string text = Poppler("pdftotext", dir.File("PRINT/Печать отчета ORVEL.pdf"));
    EXPECT_NE(text.find("дата: 07/03/2001 09:05"), std::string::npos) << text;
    EXPECT_NE(text.find("страница: 1"), std::string::npos) << text;
    EXPECT_NE(text.find("Авиация"), std::string::npos) << text;

    fdx.ItemTextAbsent = 1;
    ASSERT_TRUE(form.Create(&main, &fdx));
    EXPECT_EQ(line.ReturnCode, 1);
    EXPECT_EQ(line.Message, "Нет информации для печати");
}

// On a full disk the job's print fails with the file it could not write, and leaves no cut file.
TEST_F(PrintForm, AJobsPrintThatTheDiskCutsShortFailsAndLeavesNoFile) {
    JobStr line;
    fdx.JobLine = &line;
    fdx.JobRunning = 1;
    std::filesystem::create_directory(dir.path() / "PRINT");
    WithFileSizeLimit(4096, [&] { ASSERT_TRUE(form.Create(&main, &fdx)); });
    EXPECT_EQ(line.ReturnCode, 1);
    EXPECT_EQ(line.Message,
              "Отчет не выдан: ошибка записи файла PRINT/Печать отчета ORVEL.pdf, файл не создан");
    EXPECT_TRUE(PdfFiles().empty());
}

// A print asked for while the form's own dialog runs leaves the form standing under it.
TEST_F(PrintForm, AFormWithItsDialogOpenIsNotMadeAnewUnderIt) {
    ASSERT_TRUE(form.Create(&main, &fdx));
    form.rtb_1->SetLines("Смена 2");
    {
        ui::ScriptedFontDialogs dialogs;
        dialogs.whileOpen = [&] { EXPECT_TRUE(form.Create(&main, &fdx)); };
        dialogs.answers.push_back("10.Arial.CharSet=204");
        form.pictbttn_8->Raise(ui::EventId::Click);
    }
    ASSERT_TRUE(form.HasWindow());
    EXPECT_EQ(form.font_name->Text(), "10.Arial.CharSet=204");
    EXPECT_EQ(form.rtb_1->Lines(), "Смена 2");
    // Once the dialog is closed a print makes the form anew.
    ASSERT_TRUE(form.Create(&main, &fdx));
    EXPECT_EQ(form.rtb_1->Lines(), kDefaultReportHeader);
}

TEST_F(PrintForm, ThePrintButtonGoesThroughTheDialogOnlyWithAPrinter) {
    ui::ScriptedPrintDialogs dialogs;
    ASSERT_TRUE(form.Create(&main, &fdx));
    form.start->Raise(ui::EventId::Click);
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(PdfFiles(), std::vector<std::string>{"Печать отчета ORVEL.pdf"});

    // Printed to a file of the operator's choice: a page a file, none replaced.
    printer = ui::SystemPrinter{"office", 600, 7016};
    Item(std::vector<std::string>(60, "строка"));
    dialogs.answers.push_back(ui::PrinterChoice{"", dir.File("отчет.pdf"), 1});
    form.start->Raise(ui::EventId::Click);
    EXPECT_EQ(dialogs.shown.size(), 1u);
    EXPECT_TRUE(std::filesystem::exists(dir.File("отчет.pdf")));
    EXPECT_TRUE(std::filesystem::exists(dir.File("отчет (2).pdf")));
    EXPECT_EQ(form.msg->Text(), "Отчет выдан в файлы отчет.pdf ... отчет (2).pdf");
}

TEST_F(PrintForm, TheClipboardTakesTheItemsFieldsOrThePagesPicture) {
    Item({"Диапазон \tАвиация", "просто строка"});
    ASSERT_TRUE(form.Create(&main, &fdx));
    form.bufer->Raise(ui::EventId::Click);
    EXPECT_EQ(form.msg->Text(), "Информация в Буфере Windows");
    EXPECT_EQ(ui::ClipboardText(), "Диапазон  - Авиация\r\nпросто строка\r\n");

    fdx.WorkMode = 2;
    fdx.PanelTextEmpty = 0;
    Bank& slot = fdx.ScanSlots[0];
    slot.InUse = slot.Flag4 = 1;
    slot.Start = 1000000, slot.End = 1010000, slot.Step = 100;
    slot.GridColumns = {0, 50, 100};
    slot.ScaleColumns = 101;
    slot.GridStart = 1000000, slot.GridStep = 5000;
    form.field->SetChecked(true);
    form.field->Raise(ui::EventId::Click);
    form.bufer->Raise(ui::EventId::Click);
    EXPECT_EQ(form.msg->Text(), "Информация в Буфере Windows");
    EXPECT_EQ(ui::ClipboardPictureSize().width, form.Page()->Width());
}

TEST_F(PrintForm, TheExportOfTheBankPageProposesTheMarkersMoment) {
    UserFreq bank;
    bank.Poll = 7;
    fdx.CurrentBank = &bank;
    fdx.WorkMode = 1;
    fdx.PanelTextEmpty = 0;
    fdx.PanelTextReady = 1;
    fdx.HistoriesAllocated = 1;
    fdx.MeasurementCapacity = fdx.MeasurementCount = 3;
    fdx.MeasurementStart = {7, 3, 2001, 9, 5, 0};
    fdx.BankSampleIndex = 1;  // 09:05:07
    fdx.Channels.assign(2, Mt{});
    fdx.ChannelCount = 2;
    fdx.Channels[0] = {1455000, 0, 'F', "Пост 1"};
    fdx.Channels[1] = {1560000, 0, 'A', "Пост 2"};
    fdx.ReplaceChannelLevels({{10, 20, 30}, {40, 50, 60}});
    fdx.PrinterJournal = 0;
    fdx.PrintPictures = 1;
    ui::ScriptedFileDialogs dialogs;
    dialogs.answers.push_back(dir.File("выгрузка.txt"));
    ASSERT_TRUE(form.Create(&main, &fdx));
    form.in_file->Raise(ui::EventId::Click);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].kind, ui::FileDialogKind::Save);
    EXPECT_EQ(dialogs.shown[0].folder, fdx.ProgramDir);
    EXPECT_EQ(dialogs.shown[0].fileName, "09_05_07.txt");
    EXPECT_EQ(ReadBytes(dir.File("выгрузка.txt")),
              Utf8ToCp1251("Date of marker \t 07/03/2001\r\nВремя маркера \t 09:05:07\r\n"
                           " 145.5000 \t Пост 1 \t 20\r\n 156.0000 \t Пост 2 \t 50\r\n"));
}

// A range slot with levels exports them, also with no bank measured.
TEST_F(PrintForm, TheRangePageExportsItsLevelsWithoutABankMeasured) {
    fdx.WorkMode = 2;
    fdx.PanelTextEmpty = 0;
    fdx.PanelTextReady = 1;
    Bank& slot = fdx.ScanSlots[0];
    slot.Start = 1000000, slot.End = 1000200, slot.Step = 100, slot.PointCount = 4;
    slot.Current[1] = 7, slot.Current[2] = 8, slot.Current[3] = 9;
    EXPECT_TRUE(ExportLines(fdx, false, false).empty());  // nothing scanned yet
    slot.InUse = 1;
    slot.CycleCount = 1;
    EXPECT_EQ(ExportLines(fdx, false, false),
              (std::vector<std::string>{"Начальная частота \t   100.0000",
                                        "Конечная частота \t   100.0200",
                                        "Шаг пересторойки \t 10.0", "7", "8", "9"}));
}

// The visible part of a range exports from its first visible point, at most 500 points; the
// whole range exports every point.
TEST(ReportExport, TheVisiblePartOfARangeExportsAtMost500Points) {
    FDX fdx;
    fdx.ScanSlots.assign(kScanSlotCount, Bank{});
    fdx.WorkMode = 2;
    fdx.PanelTextEmpty = 0;
    fdx.PanelTextReady = 1;
    Bank& slot = fdx.ScanSlots[0];
    slot.Start = 1000000, slot.End = 1079900, slot.Step = 100, slot.PointCount = 802;
    slot.InUse = 1, slot.CycleCount = 1;
    for (std::size_t k = 0; k < 800; ++k) slot.Current[k + 1] = uint8_t(k % 256);
    slot.VisibleLow = 1010000;  // point 100
    slot.VisibleHigh = slot.End;
    const std::vector<std::string> visible = ExportLines(fdx, false, true);
    ASSERT_EQ(visible.size(), 2u + 500u);
    EXPECT_EQ(visible[0], "Начальная частота \t   101.0000");
    EXPECT_EQ(visible[1], "Шаг пересторойки \t 10.0");
    EXPECT_EQ(visible[2], "100");
    EXPECT_EQ(visible.back(), std::to_string(599 % 256));
    slot.VisibleHigh = 1019900;  // to point 199
    EXPECT_EQ(ExportLines(fdx, false, true).size(), 2u + 100u);
    EXPECT_EQ(ExportLines(fdx, false, false).size(), 3u + 800u);
}

}  // namespace
