// The print form's page composition on a recording printer: at 72 dpi with a font of
// characters 6 dots wide and 12 tall a line is 18 dots, a page 504 x 720 dots holds 40 lines
// and 84 characters a line, and every drawing call is checked where it lands.

#include "windows/report_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "state/cp1251.h"
#include "state/format_text.h"
#include "state/user_freq.h"
#include "tests/state/temp_dir.h"
#include "windows/range_analysis.h"
#include "windows/range_layout.h"

namespace {

using Op = ui::DrawCall::Op;
using Page = std::vector<ui::DrawCall>;

constexpr int kMargin = 50, kTop = 36;  // 7r/10 and r/2 at 72 dpi

class Composition : public ::testing::Test {
  protected:
    Composition() {
        fdx.ScanSlots.assign(kScanSlotCount, Bank{});
        for (int k = 0; k <= 16; ++k) fdx.Calibration[std::size_t(k)] = 50 * k;
        fdx.BuildLevelTable();
        settings.header = {"Отчет  страница: @СТР"};
        settings.date = "07/03/2001";
        settings.time = "09:05";
    }

    // The selected item's report of `lines` lines.
    void ItemText(const std::vector<std::string>& lines, ReportColumns columns = {}) {
        std::string bytes;
        for (const std::string& line : lines) bytes += Utf8ToCp1251(line) + "\r\n";
        WriteBytes(dir.File("PRINT.TXT"), bytes);
        fdx.ItemTextFile = dir.File("PRINT.TXT");
        fdx.ItemTextAbsent = 0;
        fdx.ItemTextReady = 1;
        fdx.ItemColumns = columns;
    }
    static std::vector<std::string> Numbered(int count) {
        std::vector<std::string> lines;
        for (int i = 1; i <= count; ++i) lines.push_back(FormatText("line %d", i));
        return lines;
    }
    // The tab page `mode` with its picture and no text.
    void TabPage(int32_t mode) {
        fdx.WorkMode = mode;
        fdx.PanelTextEmpty = 0;
        fdx.PanelTextReady = 0;
        settings.journal = false;
        settings.header.clear();
    }

    ReportResult Print(int charWidth = 6, int fontHeight = 12) {
        target = ui::RecordingTarget(charWidth, fontHeight);
        auto metrics = ui::RecordingPainter(504, 720, charWidth, fontHeight, [](auto&) {});
        return ReportLayout(fdx, settings).Compose(*metrics, nullptr, &target);
    }
    ReportResult Preview() {
        preview.clear();
        auto painter = ui::RecordingPainter(504, 720, 6, 12,
                                            [this](const ui::DrawCall& c) { preview.push_back(c); });
        return ReportLayout(fdx, settings).Compose(*painter, painter.get(), nullptr);
    }

    static std::vector<ui::DrawCall> Calls(const Page& page, Op op) {
        std::vector<ui::DrawCall> calls;
        std::copy_if(page.begin(), page.end(), std::back_inserter(calls),
                     [op](const ui::DrawCall& c) { return c.op == op; });
        return calls;
    }
    static std::vector<std::string> Texts(const Page& page) {
        std::vector<std::string> texts;
        for (const ui::DrawCall& c : page)
            if (c.op == Op::Text || c.op == Op::TextInRect) texts.push_back(c.text);
        return texts;
    }
    const Page& OnlyPage() {
        EXPECT_EQ(target.documents.size(), 1u);
        return target.documents.front().pages.front();
    }

    // A range slot of `points` points of 100 Hz from 100 MHz, laid out as the range window lays
    // it out on its picture of 1000 columns; every point at level `level`.
    Bank& Range(uint32_t points, uint8_t level = 100, std::size_t index = 0,
                uint32_t start = 1000000) {
        Bank& slot = fdx.ScanSlots[index];
        slot.Start = start;
        slot.End = slot.Start + (points - 1) * 100;
        slot.Step = 100;
        EXPECT_TRUE(LayoutScale(slot, {1000, 20000000, 250, 120}, 1000).laidOut);
        slot.InUse = 1;
        slot.Flag4 = 1;
        for (int32_t kind = 0; kind < 6; ++kind)
            std::fill(CurveArray(slot, kind)->begin(), CurveArray(slot, kind)->end(), level);
        return slot;
    }

    // The bank's 30 channels, every one measured `samples` times, from 09:05:00 every `poll`
    // seconds.
    void Bank30(int samples, uint32_t poll = 7) {
        TabPage(1);
        fdx.Channels.assign(30, Mt{});
        fdx.ChannelCount = 30;
        for (int i = 0; i < 30; ++i) fdx.Channels[std::size_t(i)].Frequency = 1000000 + 250 * i;
        fdx.HistoriesAllocated = 1;
        fdx.MeasurementCapacity = samples;
        fdx.ChannelLevels.assign(30, std::vector<uint8_t>(std::size_t(samples), 50));
        bank.Poll = poll;
        fdx.CurrentBank = &bank;
        fdx.MeasurementStart = {7, 3, 2001, 9, 5, 0};
    }
    // The channel rows of each printed document: their frequency labels.
    std::vector<int> RowsPerDocument() const {
        std::vector<int> rows;
        for (const auto& document : target.documents) {
            int n = 0;
            for (const std::string& text : Texts(document.pages[0]))
                n += text.size() == 9 && text[4] == '.';
            rows.push_back(n);
        }
        return rows;
    }

    TempDir dir;
    FDX fdx;
    UserFreq bank;
    ReportSettings settings;
    ui::RecordingTarget target;
    Page preview;
};

TEST(ReportHeader, MacrosAreReplacedOncePerLineCyrillicBeforeLatin) {
    EXPECT_EQ(ExpandHeaderLine("страница @PAGE из", 3, "07/03/2001", "09:05"), "страница 3 из");
    EXPECT_EQ(ExpandHeaderLine("@СТР @PAGE @СТР", 2, "d", "t"), "2 @PAGE @СТР");
    EXPECT_EQ(ExpandHeaderLine("@DATE @ВРЕМЯ @TIME", 1, "07/03/2001", "09:05"),
              "07/03/2001 09:05 @TIME");
}

TEST(ReportAxis, TheLevelsTakeAsMuchOfThePictureAsFitsBelowItsLabels) {
    // h = 20: a range strip is 200 dots, a group's picture 100, a bank row 60.
    const auto fit = [](int height, int h) {
        const std::optional<AxisFit> f = FitLevelAxis(height, h);
        return f ? FormatText("%d/%d", f->a, f->b) : std::string("none");
    };
    EXPECT_EQ(fit(200, 20), "9/14");
    EXPECT_EQ(fit(100, 20), "3/11");
    EXPECT_EQ(fit(60, 20), "1/9");
    EXPECT_EQ(fit(30, 10), "none");  // not even 256/16 dots
}

TEST(ReportStatus, PagesArePreparedInTheirGrammaticalNumber) {
    EXPECT_EQ(PagesPreparedText(1), "Подготовлена одна страница");
    EXPECT_EQ(PagesPreparedText(3), "Подготовлено 3 страницы");
    EXPECT_EQ(PagesPreparedText(7), "Подготовлено 7 страниц");
}

TEST_F(Composition, AFullPageFitsAndOneMoreLineStartsADocumentOfItsOwn) {
    ItemText(Numbered(39));
    ReportResult result = Print();
    ASSERT_TRUE(result.made) << result.message;
    EXPECT_EQ(result.message, "Отчет выдан на принтер");
    EXPECT_EQ(target.documents.size(), 1u);

    ItemText(Numbered(40));
    result = Print();
    ASSERT_TRUE(result.made);
    ASSERT_EQ(target.documents.size(), 2u);
    for (const auto& document : target.documents) {
        EXPECT_EQ(document.name, "Печать отчета ORVEL");
        EXPECT_EQ(document.pages.size(), 1u);
        EXPECT_TRUE(document.ended);
    }
    const std::vector<std::string> second = Texts(target.documents[1].pages[0]);
    EXPECT_EQ(second, (std::vector<std::string>{"Отчет  страница: 2", "line 40"}));
    // The last line of page 1 stands on its row 39, inside the margins.
    const ui::DrawCall last = Calls(target.documents[0].pages[0], Op::TextInRect).back();
    EXPECT_EQ(last.text, "line 39");
    EXPECT_EQ(last.at, (std::vector<int>{kMargin, kTop + 39 * 18 + 2, 504, 14}));

    // The preview counts the pages and draws only the first, without margins.
    ItemText(Numbered(100));
    result = Preview();
    EXPECT_EQ(result.message, "Подготовлено 3 страницы");
    EXPECT_EQ(Texts(preview).back(), "line 39");
    EXPECT_EQ(Calls(preview, Op::TextInRect).front().at, (std::vector<int>{0, 2, 504, 14}));
}

TEST_F(Composition, FontsAndHeadersThatLeaveNoRoomPrintNothing) {
    ItemText(Numbered(3));
    ReportResult result = Print(46, 12);  // 504 / 46 = 10 characters a line
    EXPECT_FALSE(result.made);
    EXPECT_EQ(result.message, "Фонт слишком большой");
    EXPECT_TRUE(target.documents.empty());

    settings.header.assign(31, "@СТР");  // 31 + 10 > 40 lines
    result = Print();
    EXPECT_EQ(result.message, "Заголовок слишком большой");
    EXPECT_TRUE(target.documents.empty());
    settings.header.assign(30, "@СТР");
    EXPECT_TRUE(Print().made);

    fdx.ItemTextAbsent = 1;
    result = Print();
    EXPECT_EQ(result.message, "Нет информации для печати");
    EXPECT_TRUE(target.documents.empty());
}

TEST_F(Composition, TableCellsAreCentredInColumnsOfTheirShareOfTheWidth) {
    ReportColumns columns;
    columns.table = 1;
    columns.count = 3;
    columns.widths = {10, 40, 50};
    ItemText({"N\t Частота\t Комментарий", "без таблицы", "1\t \"a\tb\"\t c\t лишнее"}, columns);
    settings.header.clear();
    ASSERT_TRUE(Preview().made);

    // Cells from x0 = 24, (504 - 48) * percent / 100 wide: 45, 182, 228.
    const std::vector<ui::DrawCall> cells = Calls(preview, Op::TextInRect);
    ASSERT_EQ(cells.size(), 7u);
    EXPECT_EQ(cells[0].at, (std::vector<int>{24, 2, 45, 14}));
    EXPECT_EQ(cells[1].at, (std::vector<int>{69, 2, 182, 14}));
    EXPECT_EQ(cells[2].at, (std::vector<int>{251, 2, 228, 14}));
    EXPECT_EQ(cells[0].h, ui::HAlign::Center);
    EXPECT_EQ(cells[0].v, ui::VAlign::Middle);
    // A line of one field is plain text across the page.
    EXPECT_EQ(cells[3].text, "без таблицы");
    EXPECT_EQ(cells[3].at, (std::vector<int>{0, 20, 504, 14}));
    // A TAB within quotes stays in its field; fields past the columns are left out.
    EXPECT_EQ(cells[5].text, " \"a\tb\"");
    EXPECT_EQ(cells[6].text, " c");
    // Rules above and below the row across the table, and at every boundary.
    const std::vector<ui::DrawCall> rules = Calls(preview, Op::Line);
    ASSERT_EQ(rules.size(), 12u);
    EXPECT_EQ(rules[0].at, (std::vector<int>{24, 0, 479, 0}));
    EXPECT_EQ(rules[1].at, (std::vector<int>{24, 18, 479, 18}));
    EXPECT_EQ(rules[5].at, (std::vector<int>{479, 0, 479, 18}));
}

TEST_F(Composition, APrinterThatTakesNoPageIsReported) {
    ItemText(Numbered(50));
    target.refuse = true;
    auto metrics = ui::RecordingPainter(504, 720, 6, 12, [](auto&) {});
    const ReportResult result = ReportLayout(fdx, settings).Compose(*metrics, nullptr, &target);
    EXPECT_FALSE(result.made);
    EXPECT_EQ(result.message, "Ошибка печати: принтер не принял страницу");
    EXPECT_TRUE(target.documents.empty());
}

// ---- pictures

TEST_F(Composition, ARangePrintsInStripsThatShareTheirBoundaryGridLine) {
    Range(3000);
    TabPage(2);
    ASSERT_TRUE(Print().made);
    // Strip labels by the strip they stand under: consecutive strips are 11 lines apart.
    std::map<int, std::vector<std::string>> labels;
    for (const auto& document : target.documents)
        for (const ui::DrawCall& c : Calls(document.pages[0], Op::Text))
            labels[int(&document - &target.documents[0]) * 1000 + c.at[1]].push_back(c.text);
    ASSERT_GE(labels.size(), 3u);
    std::vector<std::vector<std::string>> strips;
    for (const auto& [y, texts] : labels) strips.push_back(texts);
    for (std::size_t i = 0; i + 1 < strips.size(); ++i)
        EXPECT_EQ(strips[i].back(), strips[i + 1].front()) << i;
    // The first strip begins at Fн's grid line, the last ends at the last one.
    EXPECT_EQ(strips.front().front(), "100.00");
    EXPECT_EQ(strips.back().back(), "130.00");
}

TEST_F(Composition, EqualCurveKindsDrawOnlyTheThickPolyline) {
    const auto curveCalls = [&] {
        std::map<std::string, int> found;
        for (const ui::DrawCall& c : OnlyPage()) {
            if (c.op != Op::Line) continue;
            if (c.pen.width == 2) ++found["thick"];
            // The main curve's dotted columns: one dot each.
            if (c.pen.width == 0 && c.at[0] == c.at[2] && std::abs(c.at[1] - c.at[3]) == 1)
                ++found["dots"];
        }
        return found;
    };
    Range(200);
    TabPage(2);
    fdx.MainCurveKind = fdx.SecondCurveKind = 3;
    ASSERT_TRUE(Print().made);
    std::map<std::string, int> found = curveCalls();
    EXPECT_EQ(found["thick"], 199);  // from the second point on
    EXPECT_EQ(found["dots"], 0);

    fdx.SecondCurveKind = 1;
    ASSERT_TRUE(Print().made);
    found = curveCalls();
    EXPECT_EQ(found["thick"], 199);
    EXPECT_GT(found["dots"], 199);
}

TEST_F(Composition, OnlyASightLevelBetweenTheEndsDrawsTheSightLine) {
    const auto dashedAcross = [&] {
        int lines = 0;
        for (const ui::DrawCall& c : Calls(OnlyPage(), Op::Line))
            if (c.pen.style == ui::PenStyle::Dash && c.at[1] == c.at[3]) ++lines;
        return lines;
    };
    Bank& slot = Range(200);
    TabPage(2);
    for (uint8_t level : {0, 255}) {
        slot.SightLevel = level;
        ASSERT_TRUE(Print().made);
        EXPECT_EQ(dashedAcross(), 0) << int(level);
    }
    slot.SightLevel = 128;
    ASSERT_TRUE(Print().made);
    EXPECT_EQ(dashedAcross(), 1);
    const std::vector<std::string> texts = Texts(OnlyPage());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "128"), texts.end());
}

TEST_F(Composition, ABankPageHoldsAThirdOfTheLinesLeftAsChannelRows) {
    Bank30(100);
    ASSERT_TRUE(Print().made);
    EXPECT_EQ(RowsPerDocument(), (std::vector<int>{13, 13, 4}));  // (40 - 0 - 1) / 3

    fdx.ChannelCount = 13;
    ASSERT_TRUE(Print().made);
    EXPECT_EQ(RowsPerDocument(), (std::vector<int>{13}));  // no page after the last row

    fdx.ChannelCount = 30;
    // h = 10: a row of 30 dots cannot hold 256/16 dots and its labels.
    EXPECT_EQ(Print(6, 7).message, "Нельзя изобразить шкалу");
    EXPECT_TRUE(target.documents.empty());
}

// Below a header of four lines a page holds (40 - 4 - 1) / 3 rows, the time labels on line 4 and
// the first row's frequency a line below the row's top.
TEST_F(Composition, ABankPageUnderAHeaderHoldsTheRowsLeftBelowIt) {
    Bank30(100);
    settings.header.assign(4, "@СТР");
    ASSERT_TRUE(Print().made);
    EXPECT_EQ(RowsPerDocument(), (std::vector<int>{11, 11, 8}));
    for (const auto& document : target.documents) {
        const Page& page = document.pages[0];
        const auto first = std::find_if(page.begin(), page.end(), [](const ui::DrawCall& c) {
            return c.op == Op::TextInRect && c.text.size() == 9 && c.text[4] == '.';
        });
        ASSERT_NE(first, page.end());
        EXPECT_EQ(first->at[1], kTop + (4 + 1 + 1) * 18);
        // No row reaches below the page's 40 lines.
        for (const ui::DrawCall& c : Calls(page, Op::Line)) EXPECT_LE(c.at[3], kTop + 40 * 18);
    }
}

// 300 samples 5 s apart, from 09:05:00 to 09:29:55: 24 changes of the minute over 300 / 60 = 5
// label slots round to a step of 5 minutes.
TEST_F(Composition, TheBankTimeAxisIsLabelledEveryStepOfMinutes) {
    Bank30(300, 5);
    fdx.ChannelCount = 2;
    ASSERT_TRUE(Print().made);
    std::vector<std::string> times;
    for (const std::string& text : Texts(OnlyPage()))
        if (text.size() == 5 && text[2] == ':') times.push_back(text);
    EXPECT_EQ(times, (std::vector<std::string>{"09:10", "09:15", "09:20", "09:25"}));
    // A labelled minute's ticks are thick, the others thin: 24 minutes on 3 row lines each.
    int thick = 0, thin = 0;
    for (const ui::DrawCall& c : Calls(OnlyPage(), Op::Line))
        if (c.at[0] == c.at[2] && std::abs(c.at[1] - c.at[3]) <= 2 * (18 / 8))
            ++(c.pen.width == 2 ? thick : thin);
    EXPECT_EQ(thick, 4 * 3);
    EXPECT_EQ(thin, 20 * 3);
}

TEST(ReportBankAxis, TheTimeStepRoundsMinutesPerLabelSlotToOneTwoOrFive) {
    // Below 10 minutes a slot: brought below 1 by tens, then to 0.1, 0.2 or 0.5 of that power.
    EXPECT_EQ(ReportLayout::TimeStep(50, 0, 10), 5);  // x = 5: 0.5 with k = 1
    EXPECT_EQ(ReportLayout::TimeStep(20, 0, 10), 2);
    EXPECT_EQ(ReportLayout::TimeStep(10, 0, 10), 1);   // x = 1: 0.1 one power up
    EXPECT_EQ(ReportLayout::TimeStep(90, 0, 10), 10);  // x = 9: 0.9 becomes 0.1 with k = 2
    EXPECT_EQ(ReportLayout::TimeStep(2, 0, 10), 0);    // a fifth of a minute: no labels
    // From 10 on: 0.1, 0.15 and 0.2 of the power; 0.25 and above 0.3 one power up.
    EXPECT_EQ(ReportLayout::TimeStep(110, 0, 10), 10);
    EXPECT_EQ(ReportLayout::TimeStep(150, 0, 10), 15);
    EXPECT_EQ(ReportLayout::TimeStep(200, 0, 10), 20);
    EXPECT_EQ(ReportLayout::TimeStep(300, 0, 10), 300);
    // Hours changing in more than half the slots, or no slot at all: the full hours.
    EXPECT_EQ(ReportLayout::TimeStep(100, 6, 10), 60);
    EXPECT_EQ(ReportLayout::TimeStep(90, 5, 10), 10);
    EXPECT_EQ(ReportLayout::TimeStep(5, 0, 0), 60);
}

// A marker point rises from the baseline to the curve printed over it: the main curve where the
// kinds are equal, the second's where they differ.
TEST_F(Composition, AMarkerPointsLineRisesToTheShownCurve) {
    Bank& slot = Range(200, 100);
    TabPage(2);
    std::fill(CurveArray(slot, 1)->begin(), CurveArray(slot, 1)->end(), 40);
    slot.Flags[50 + 1] = kStopPoint;
    // A strip of 10 lines from row 1: its baseline 18 + 180 - 18 - 9 dots down.
    const AxisFit axis = *FitLevelAxis(180, 18);
    const int yb = kTop + 18 + 153, x = kMargin + 24 + 50;
    const auto markers = [&] {
        std::vector<std::vector<int>> found;
        for (const ui::DrawCall& c : Calls(OnlyPage(), Op::Line))
            if (c.pen.width == 2 && c.at[0] == c.at[2]) found.push_back(c.at);
        return found;
    };
    fdx.MainCurveKind = fdx.SecondCurveKind = 3;
    ASSERT_TRUE(Print().made);
    EXPECT_EQ(markers(), (std::vector<std::vector<int>>{{x, yb, x, yb - axis.Dots(100)}}));
    fdx.SecondCurveKind = 1;
    ASSERT_TRUE(Print().made);
    EXPECT_EQ(markers(), (std::vector<std::vector<int>>{{x, yb, x, yb - axis.Dots(40)}}));
}

// The group page prints a picture for every range with data; with `visible` only the first
// with data from the first range the group window shows.
TEST_F(Composition, TheGroupPagePrintsItsRangesOrOnlyTheFirstVisible) {
    Range(200, 100, 0, 1000000);
    Range(200, 100, 1, 2000000);
    Range(200, 100, 2, 3000000);
    Range(200, 100, 3, 4000000);
    TabPage(3);
    const auto pictures = [&] {
        std::set<std::string> found;
        for (const std::string& text : Texts(OnlyPage()))
            if (text.size() == 6 && text[3] == '.') found.insert(text.substr(0, 1));
        return found;
    };
    ASSERT_TRUE(Print().made);
    EXPECT_EQ(pictures(), (std::set<std::string>{"1", "2", "3", "4"}));
    settings.visible = true;
    fdx.GroupFirstVisible = 1;
    ASSERT_TRUE(Print().made);
    EXPECT_EQ(pictures(), std::set<std::string>{"2"});
    fdx.ScanSlots[1].InUse = 0;  // nothing to print there: the next range with data
    ASSERT_TRUE(Print().made);
    EXPECT_EQ(pictures(), std::set<std::string>{"3"});
}

// Two blocks of the band scope around the tuned frequency: 32 points 5 kHz apart, a grid every
// 20 kHz, the band's edges at ±20 kHz, the curve through every point.
TEST_F(Composition, TheReceiverPagePrintsTheBandScopeOverTheRestOfThePage) {
    TabPage(0);
    fdx.ScopeBlocks[7] = fdx.ScopeBlocks[8] = 1;
    fdx.ScopeStep = 50;
    fdx.ScopeSpan = 400;
    for (int c = 112; c < 144; ++c) fdx.ScopeLevels[std::size_t(c)] = uint8_t(c);
    ASSERT_TRUE(Print().made);
    int thick = 0, edges = 0;
    for (const ui::DrawCall& c : Calls(OnlyPage(), Op::Line)) {
        thick += c.pen.width == 2;
        edges += c.pen.style == ui::PenStyle::Dash;
    }
    EXPECT_EQ(thick, 31);
    EXPECT_EQ(edges, 2);
    const std::vector<std::string> texts = Texts(OnlyPage());
    for (const char* label : {"-60.00", "-20.00", " 0.00", "20.00", "60.00"})
        EXPECT_NE(std::find(texts.begin(), texts.end(), label), texts.end()) << label;
}

// Values a window leaves before it has drawn, or that a layout never makes, still print.
TEST_F(Composition, OddLayoutValuesPrintWithoutFault) {
    Bank& slot = Range(500);
    TabPage(2);
    slot.GridStep = 10;  // below the step
    ASSERT_TRUE(Print().made);
    slot.GridColumns.resize(1);
    ASSERT_TRUE(Print().made);

    TabPage(1);
    fdx.Channels.assign(3, Mt{});
    fdx.ChannelCount = 3;
    fdx.HistoriesAllocated = 1;
    fdx.MeasurementCapacity = 5;
    fdx.BankTopRow = -1;
    fdx.BankChartFirst = 50;  // past the samples
    settings.visible = true;
    ASSERT_TRUE(Print().made);
    fdx.MeasurementCapacity = 0;  // no room for a time label
    ASSERT_TRUE(Print().made);
}

TEST(ReportPage, APageTooLargeForThePreviewIsKeptSmaller) {
    auto page = ui::PagePicture::Make(7 * 1440, 10 * 1440, 1440);
    ASSERT_NE(page, nullptr);
    EXPECT_GT(page->Shrink(), 1);
    EXPECT_LE(int64_t{page->Width()} * page->Height(), ui::PagePicture::kPixelBudget);
    EXPECT_EQ(page->Draw().Width(), 7 * 1440);  // drawn in the page's own dots
    EXPECT_EQ(ui::PagePicture::Make(7 * 72, 10 * 72, 72)->Shrink(), 1);
    EXPECT_EQ(ui::PagePicture::Make(7 * 72, 10 * 72, 72, 0), nullptr);
}

}  // namespace
