// The detailed study's window on a stand-in main window: its scroll bars, feed and readout
// boxes, its bands and split bars, and its printout to a PDF folder and through the print
// dialog.

#include "windows/view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <vector>

#include "state/message_bus.h"
#include "state/text_file.h"
#include "state/user_freq.h"
#include "tests/state/temp_dir.h"
#include "tests/support/poppler.h"
#include "tests/windows/window_stand_ins.h"
#include "ui/message_box.h"
#include "ui/post.h"
#include "ui/print.h"
#include "ui/reply_event.h"

namespace {

// 7 March 2001, 09:05:30 local time.
std::time_t TestMoment() {
    std::tm t{};
    t.tm_mday = 7, t.tm_mon = 2, t.tm_year = 101, t.tm_hour = 9, t.tm_min = 5, t.tm_sec = 30;
    t.tm_isdst = -1;
    return std::mktime(&t);
}

class StudyWindow : public ::testing::Test {
  protected:
    StudyWindow() {
        fdx.Owner = &main;
        for (int k = 0; k <= 16; ++k) fdx.Calibration[std::size_t(k)] = 80 * k;
        fdx.BuildLevelTable();
        // Two ranges from 145.0000 MHz in 25 kHz steps; the first with a carrier at point 10, where
        // its marker stands.
        for (std::size_t i = 0; i < first.size(); ++i) first[i] = uint8_t(20 + (i == 10 ? 160 : 0));
        std::fill(second.begin(), second.end(), uint8_t(60));
        Bind(0, first, 1452500);
    }
    void Bind(std::size_t curve, const std::vector<uint8_t>& levels, int64_t marker) {
        ViewSource& s = fdx.ViewSources[curve];
        s.Levels = &levels;
        s.Count = uint32_t(levels.size());
        s.Start = 1450000;
        s.Step = 250;
        s.Marker = marker;
        s.AxisMode = kStudyRangeAxis;
    }
    void Open() {
        ASSERT_TRUE(window.Create(&main, &fdx));
        window.CalendarClock = TestMoment;
    }
    std::vector<uint32_t> Posted() { return main.Take(); }
    // Rows of band `curve` that hold its curve's colour in columns [from, to).
    int CurvePixelsAboveBottom(int curve, int from, int to) {
        const ui::Rect band = window.Band(curve);
        const ui::Color colour = ScreenStudyStyle().curve[std::size_t(curve)];
        int pixels = 0;
        for (int x = from; x < to; ++x)
            for (int y = band.y; y < band.y + band.height - 1; ++y)
                if (window.Picture().Pixel(x, y) == colour) ++pixels;
        return pixels;
    }

    CodeSink main;
    FDX fdx;
    std::vector<uint8_t> first = std::vector<uint8_t>(100), second = std::vector<uint8_t>(100);
    View window;
};

TEST_F(StudyWindow, WithOnlyTheFirstCurveItsBarSpansItAndTheSecondsIsDisabled) {
    Open();
    EXPECT_EQ(fdx.StudyOpen, 1);
    EXPECT_TRUE(window.signal->IsEnabled());
    EXPECT_EQ(window.signal->High(), 99);
    EXPECT_EQ(window.signal->Position(), 10);
    EXPECT_FALSE(window.templ->IsEnabled());
    EXPECT_FALSE(window.Differences().valid);
    // The scroll bar moves the marker and the graph follows it.
    const std::size_t middle = std::size_t(StudyBufferPixel(window.Picture().Width(), 0, 0));
    EXPECT_EQ(window.Buffer()[middle], 180);
    window.MoveMarker(0, 40);
    EXPECT_EQ(fdx.ViewSources[0].Marker, 1450000 + 40 * 250);
    EXPECT_EQ(window.Buffer()[middle], 20);
    // The second curve comes with the next analysis update.
    Bind(1, second, 1450000);
    window.OnUserEvent(PostAnalysisUpdate);
    EXPECT_TRUE(window.templ->IsEnabled());
    ASSERT_TRUE(window.Differences().valid);
    EXPECT_EQ(window.Differences().distance, 40 * 250);
    EXPECT_EQ(window.Differences().level, 40u);
    window.Close();
    ui::ServePending();
    EXPECT_EQ(fdx.StudyOpen, 0);
}

TEST_F(StudyWindow, AMarkerAtTheFirstSampleLeavesTheLeftHalfOfItsBandFlat) {
    fdx.ViewSources[0].Marker = 1450000;
    Bind(1, second, 1450000 + 50 * 250);
    Open();
    const int middle = window.Picture().Width() / 2;
    // Left of the step up to the marker's sample the curve lies on the band's bottom.
    EXPECT_EQ(CurvePixelsAboveBottom(0, 0, middle - window.Zoom()[0]), 0);
    EXPECT_GT(CurvePixelsAboveBottom(0, middle + 1, window.Picture().Width()), 0);
    EXPECT_GT(CurvePixelsAboveBottom(1, 0, middle), 0);
}

TEST_F(StudyWindow, FeedBoxesReadoutBoxesZoomAndSplitBars) {
    Open();
    struct Feed {
        bool signal, templ;
        int32_t feed;
    };
    for (const Feed f :
         {Feed{true, false, 1}, {false, true, 2}, {true, true, 3}, {false, false, 0}}) {
        window.insignal->SetChecked(f.signal);
        window.intempl->SetChecked(f.templ);
        window.intempl->Raise(ui::EventId::Click);
        EXPECT_EQ(fdx.ViewFeed, f.feed);
        EXPECT_EQ(Posted(), std::vector<uint32_t>{PostAnalysisUpdate});
    }
    // A hidden readout is not drawn, and with it go the differences.
    Bind(1, second, 1450000);
    window.OnUserEvent(PostRefreshDisplay);
    const auto readoutPixels = [&](ui::Color colour) {
        int n = 0;
        for (int y = 0; y < window.ReadoutHeight(); ++y)
            for (int x = 0; x < window.Picture().Width(); ++x)
                if (window.Picture().Pixel(x, y) == colour) ++n;
        return n;
    };
    const StudyStyle style = ScreenStudyStyle();
    EXPECT_GT(readoutPixels(style.marker[0]), 0);
    EXPECT_GT(readoutPixels(style.text), 0);
    window.vsignal->SetChecked(true);
    window.vsignal->Raise(ui::EventId::Click);
    EXPECT_EQ(readoutPixels(style.marker[0]), 0);
    EXPECT_EQ(readoutPixels(style.text), 0);
    EXPECT_GT(readoutPixels(style.marker[1]), 0);

    window.ChooseZoom(1, 4);
    EXPECT_EQ(window.Zoom()[1], 5);
    window.ChooseZoom(0, 99);
    EXPECT_EQ(window.Zoom()[0], 8);

    // A bar follows the pointer, held between its neighbours.
    const int bar = window.Bars()[1];
    window.MouseDown(10, bar + 2);
    window.MouseMove(10, bar - 20);
    EXPECT_EQ(window.Bars()[1], bar - 23);
    window.MouseMove(10, 0);
    EXPECT_EQ(window.Bars()[1], window.Bars()[0] + 6 + 16);
    window.MouseUp();
    window.MouseMove(10, bar);
    EXPECT_EQ(window.Bars()[1], window.Bars()[0] + 6 + 16);
}

TEST_F(StudyWindow, ThePrintoutIsOneNamedDocumentAndASecondDoesNotReplaceTheFirst) {
    Bind(1, second, 1450000);
    Open();
    TempDir dir;
    ui::PdfFolder folder(dir.File("PRINT"), SaveFileWhole);
    ASSERT_TRUE(window.PrintTo(folder));
    const std::string pdf = dir.File("PRINT/Печать детального анализа ORVEL.pdf");
    EXPECT_EQ(folder.LastFile(), pdf);
    EXPECT_NE(Poppler("pdfinfo", pdf).find("Печать детального анализа ORVEL\n"), std::string::npos);
    EXPECT_NE(Poppler("pdfinfo", pdf).find("\nPages:           1\n"), std::string::npos);
    const std::string text = Poppler("pdftotext", pdf);
    for (const char* expected : {"Дата:07/03/2001",
                                 "Время:09:05",
                                 "Детальный анализ ORVEL",
                                 "График",
                                 "F1",
                                 "U1",
                                 "F2",
                                 "dF",
                                 "dU",
                                 "M",
                                 "145.2500",
                                 "180",
                                 "145.0000",
                                 "60",
                                 "0.2500",
                                 "120",
                                 "Шаг сетки 1=500 кГц",
                                 "Шаг сетки 2=500 кГц",
                                 "f1=145.2500 u1=180",
                                 "f2=145.0000 u2=60",
                                 "df= 0.2500 du=120"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;

    fdx.ViewSources[0].Marker = 1450000;
    window.OnUserEvent(PostRefreshDisplay);
    ASSERT_TRUE(window.PrintTo(folder));
    EXPECT_EQ(folder.LastFile(), dir.File("PRINT/Печать детального анализа ORVEL (2).pdf"));
    EXPECT_NE(Poppler("pdftotext", pdf).find("f1=145.2500"), std::string::npos);
    EXPECT_NE(Poppler("pdftotext", folder.LastFile()).find("f1=145.0000"), std::string::npos);
}

TEST_F(StudyWindow, TheTableRowsFollowTheCurvesAndTheirAxes) {
    UserFreq bank;
    bank.Poll = 60;
    fdx.CurrentBank = &bank;
    fdx.MeasurementStart = {7, 3, 2001, 9, 5, 30};
    std::vector<uint8_t> history{5, 6, 7};
    Open();
    struct Case {
        bool second, time;
        std::vector<std::string> rows;
    };
    const Case cases[] = {
        {false, false, {"График\t F1 \t U1 \t F2 \t U2 \t dF \t dU", "1 \t145.2500\t180"}},
        {true,
         false,
         {"График\t F1 \t U1 \t F2 \t U2 \t dF \t dU",
          " M \t145.2500\t180\t145.0000\t60\t  0.2500\t120", "1 \t145.2500\t180",
          "2 \t145.0000\t60"}},
        {true,
         true,
         {"График\t F1 \t U1 \t F2 \t U2 \t dF \t dU", " M \t145.2500\t180\t 09:07:30 \t7",
          "1 \t145.2500\t180", "2 \t 09:07:30 \t7", " U \t \t173"}},
    };
    for (const Case& c : cases) {
        fdx.ViewSources[1] = ViewSource{};
        if (c.second) Bind(1, c.time ? history : second, 1450000);
        if (c.time) {
            fdx.ViewSources[1].Start = 0;
            fdx.ViewSources[1].Step = 1;
            fdx.ViewSources[1].Marker = 2;
            fdx.ViewSources[1].AxisMode = kStudyTimeAxis;
            fdx.ViewSources[1].Frequency = 1455000;
        }
        window.OnUserEvent(PostAnalysisUpdate);
        EXPECT_EQ(window.PrintedTable(), c.rows);
    }
    EXPECT_EQ(
        window.PrintedLines(),
        (std::vector<std::string>{"                            Шаг сетки 1=500 кГц",
                                  "                     Шаг сетки 2=1200 сек    Частота 2=145.5000",
                                  "f1=145.2500 u1=180", "t2=09:07:30 u2=7", "du=173"}));
}

// The dialog proposes a file in the program folder's PRINT under the document's name, the next
// free one; the printout goes where the dialog says.
TEST_F(StudyWindow, ThePrintButtonPrintsWhereTheDialogSaysAndProposesTheNextFreeFileInPrint) {
    TempDir dir;
    fdx.ProgramDir = dir.path().string() + "/";
    Open();
    const std::string first = dir.File("PRINT/Печать детального анализа ORVEL.pdf");
    ui::ScriptedPrintDialogs dialogs;
    dialogs.answers = {ui::PrinterChoice{"", first, 1}, std::nullopt};
    window.pictbttn_1->Raise(ui::EventId::Click);
    EXPECT_NE(Poppler("pdftotext", first).find("Детальный анализ ORVEL"), std::string::npos);
    window.pictbttn_1->Raise(ui::EventId::Click);
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[0].pdfFile, first);
    EXPECT_EQ(dialogs.shown[1].pdfFile, dir.File("PRINT/Печать детального анализа ORVEL (2).pdf"));
    EXPECT_EQ(dir.Entries().size(), 1u);
}

}  // namespace
