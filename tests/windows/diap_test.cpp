// The range window on a stand-in main window: what its buttons, job lines, codes and mouse do
// to the shown slot and which codes it posts back.

#include "windows/diap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "state/etl.h"
#include "state/job_str.h"
#include "state/level_array.h"
#include "state/message_bus.h"
#include "state/user_dp.h"
#include "tests/state/temp_dir.h"
#include "tests/windows/window_stand_ins.h"
#include "ui/post.h"
#include "ui/reply_event.h"

namespace {

constexpr uint32_t kFn = 1000000, kStep = 100;
uint32_t at(int64_t point) {
    return uint32_t(kFn + point * kStep);
}

class RangeWindow : public ::testing::Test {
  protected:
    RangeWindow() {
        fdx.ScanSlots.assign(kScanSlotCount, Bank{});
        fdx.Owner = &main;
        fdx.MessageBox = [this](const FDX&, const MessageRequest& r) {
            messages.push_back(r.text);
            return true;
        };
        for (int k = 0; k <= 16; ++k) fdx.Calibration[std::size_t(k)] = 80 * k;
        fdx.BuildLevelTable();
        host.picture.SetOwner(kRangeWindowOwner);
        window.Create(&main, &fdx, &host);
    }

    // A range loaded into slot `index` as the journal's loader fills it, then laid out by the
    // window: points 0..100, bandwidth three points.
    Bank& Load(std::size_t index = 0, uint32_t bandwidth = 300) {
        fdx.SlotIndex = int32_t(index);
        Bank& slot = fdx.ScanSlots[index];
        slot.Start = kFn, slot.End = at(100), slot.Step = kStep, slot.Bandwidth = bandwidth;
        slot.Range = &range;
        slot.InUse = 1;
        window.OnUserEvent(PostItemLoaded);
        Posted();
        return slot;
    }
    void Set(Bank& slot, int32_t kind, int64_t point, uint8_t level) {
        (*CurveArray(slot, kind))[std::size_t(slot.CellOf(at(point)))] = level;
    }
    // The codes posted to the main window since the last call.
    std::vector<uint32_t> Posted() { return main.Take(); }
    void Click(ui::Window* control) { control->Raise(ui::EventId::Click); }
    void RunJobLine(JobStr& line) {
        fdx.JobLine = &line;
        window.OnUserEvent(PostJobStep);
    }

    CodeSink main;
    HostStandIn host;
    FDX fdx;
    UserDp range;
    std::vector<std::string> messages;
    diap window;
};

TEST_F(RangeWindow, SearchButtonsTuneThePeaksAndFixedRunsOrSayThereAreNone) {
    Bank& slot = Load();
    for (int64_t k = 0; k <= 100; ++k) Set(slot, kCurrentCurve, k, 10);
    for (int64_t k : {40, 41, 42}) Set(slot, kCurrentCurve, k, 200);
    for (int64_t k : {70, 71, 72}) Set(slot, kCurrentCurve, k, 120);
    struct Case {
        ui::Window* button;
        int64_t from;
        uint32_t tune;
    };
    for (const Case c : {Case{window.left_max, 60, 1004100},
                         {window.right_max, 20, 1004100},
                         {window.right_max, 50, 1007100}}) {
        fdx.Frequency = at(c.from);
        Click(c.button);
        EXPECT_EQ(fdx.TuneFrequency, c.tune) << c.from;
        EXPECT_EQ(fdx.TuneStep, kStep);
        EXPECT_EQ(Posted(), std::vector<uint32_t>{PostApplyFrequency}) << c.from;
    }
    for (int64_t k = 10; k <= 12; ++k) slot.Flags[std::size_t(k + 1)] |= kFixedFrequencyPoint;
    for (int64_t k = 80; k <= 84; ++k) slot.Flags[std::size_t(k + 1)] |= kFixedFrequencyPoint;
    fdx.Frequency = at(50);
    Click(window.left_fixed);
    EXPECT_EQ(fdx.TuneFrequency, at(11));
    EXPECT_EQ(Posted(), (std::vector<uint32_t>{PostApplyFrequency, PostSelectScale}));
    Click(window.right_fixed);
    EXPECT_EQ(fdx.TuneFrequency, at(82));
    EXPECT_EQ(Posted(), (std::vector<uint32_t>{PostApplyFrequency, PostSelectScale}));
    EXPECT_TRUE(messages.empty());

    fdx.Frequency = at(90);
    Click(window.right_fixed);
    for (int64_t k = 0; k <= 100; ++k) Set(slot, kCurrentCurve, k, 10);
    Click(window.left_max);
    EXPECT_EQ(messages, (std::vector<std::string>{"Фиксированные частоты не найдены",
                                                  "Максимумы Шкалы не найдены"}));
    EXPECT_TRUE(Posted().empty());
}

TEST_F(RangeWindow, JobLinesSelectSlotsSetKindsInTheVisibleOrderAndAnswerOnce) {
    Load();
    const int32_t visible[6] = {0, 1, 2, 3, 5, 4};
    struct Case {
        uint32_t object;
        int32_t slot, second, main;  // -1: as it was
        int returnCode;
    };
    std::vector<Case> cases = {{15, 0, -1, -1, 0},
                               {26, 11, -1, -1, 0},
                               {17, 2, -1, -1, 0},
                               {45, -1, -1, -1, 1},
                               {13, -1, -1, -1, 1}};
    for (uint32_t j = 0; j < 6; ++j) {
        cases.push_back({27 + j, -1, visible[j], -1, 0});
        cases.push_back({33 + j, -1, -1, visible[j], 0});
    }
    for (const Case& c : cases) {
        JobStr line;
        line.OBJ = c.object;
        RunJobLine(line);
        const std::vector<uint32_t> posted = Posted();
        EXPECT_EQ(Count(posted, PostJobStep), 1) << c.object;
        EXPECT_EQ(line.ReturnCode, c.returnCode) << c.object;
        EXPECT_EQ(line.Message, c.returnCode ? "Нет доступа к обьекту" : "") << c.object;
        if (c.slot >= 0) {
            EXPECT_EQ(fdx.SlotIndex, c.slot);
            EXPECT_TRUE(window.optb[std::size_t(c.slot)]->IsChecked());
        }
        if (c.second >= 0) {
            EXPECT_EQ(fdx.SecondCurveKind, c.second) << c.object;
            EXPECT_TRUE(window.secondRow[c.object - 27]->IsChecked()) << c.object;
        }
        if (c.main >= 0) {
            EXPECT_EQ(fdx.MainCurveKind, c.main) << c.object;
            EXPECT_EQ(fdx.ScanSlots[std::size_t(fdx.SlotIndex)].MainKind, c.main);
            EXPECT_TRUE(window.mainRow[c.object - 33]->IsChecked()) << c.object;
        }
    }
}

TEST_F(RangeWindow, ApproximationClearingAndProcessingFromJobLinesAndCodes) {
    Bank& slot = Load(0, 500);  // gaps under five points are filled
    Set(slot, kCurrentCurve, 20, 10), Set(slot, kCurrentCurve, 24, 30);
    Set(slot, kCurrentCurve, 40, 10), Set(slot, kCurrentCurve, 45, 30);
    JobStr line;
    line.OBJ = 44;
    RunJobLine(line);
    std::vector<int32_t> filled;
    for (int64_t k = 20; k <= 24; ++k) filled.push_back(PointLevel(slot, kCurrentCurve, k));
    EXPECT_EQ(filled, (std::vector<int32_t>{10, 15, 20, 25, 30}));
    EXPECT_EQ(PointLevel(slot, kCurrentCurve, 42), 0);

    // "макс - мин" computes without an etalon; "средн - эталон" loads the average one first.
    range.Processing = 7;
    Set(slot, kMaximumCurve, 5, 90), Set(slot, kMinimumCurve, 5, 20);
    window.OnUserEvent(PostDrawMarkerLabel);
    EXPECT_EQ(PointLevel(slot, kProcessedCurve, 5), 70);
    EXPECT_EQ(fdx.EtalonKind, kEtalonCurve);
    range.Processing = 2;
    window.OnUserEvent(PostDrawMarkerLabel);
    EXPECT_EQ(fdx.EtalonKind, kAverageCurve);

    line = JobStr{};
    line.OBJ = 14;
    RunJobLine(line);
    EXPECT_EQ(PointLevel(slot, kCurrentCurve, 20), 0);
    EXPECT_EQ(Count(Posted(), PostJobStep), 2);
}

TEST_F(RangeWindow, TheEtalonBesideAnotherCurveIsLoadedFromThatCurvesFile) {
    TempDir dir;
    Etl etl;
    etl.Identifier = "Эталон 1";
    etl.Folder = dir.path().string() + "/", etl.Name = "0001", etl.PointCount = 102;
    ASSERT_TRUE(WriteLevelFile(etl.Folder + "0001.sum", std::vector<uint8_t>(102, 30)));
    ASSERT_TRUE(WriteLevelFile(etl.Folder + "0001.max", std::vector<uint8_t>(102, 90)));
    Bank& slot = fdx.ScanSlots[0];
    slot.HasEtalon = 1, slot.EtalonRecord = &etl;
    Load();
    window.mainRow[5]->SetChecked(true);  // etalon
    window.mainRow[5]->Raise(ui::EventId::Click);
    window.secondRow[2]->SetChecked(true);  // average
    window.secondRow[2]->Raise(ui::EventId::Click);
    EXPECT_EQ(PointLevel(slot, kEtalonCurve, 7), 30);
    EXPECT_EQ(slot.EtalonKind, kAverageCurve);
    window.secondRow[3]->SetChecked(true);  // maximum
    window.secondRow[3]->Raise(ui::EventId::Click);
    EXPECT_EQ(PointLevel(slot, kEtalonCurve, 7), 90);
    EXPECT_EQ(window.tetl->Text(), "Эталон 1");
}

TEST_F(RangeWindow, TheThresholdStaysWithinItsScaleAndTheSightLineFollowsIt) {
    Bank& slot = Load();
    const ui::Rect picture = window.PictureRect();
    struct Case {
        int position, threshold, sight;
    };
    for (const Case c : {Case{300, 255, 0}, {-5, 0, 255}, {100, 100, 155}}) {
        window.ScrollThreshold(c.position);
        EXPECT_EQ(slot.ThresholdPosition, c.threshold);
        EXPECT_EQ(slot.SightLevel, c.sight);
        EXPECT_EQ(window.vs->Position(), c.threshold);
        const int y = picture.y + picture.height - 19 - c.sight / 2;
        EXPECT_EQ(host.picture.Pixel(picture.x + 150, y), range_colors::kSight) << c.position;
    }
}

TEST_F(RangeWindow, AFailedLayoutLeavesTheSlotEmptyAndALongRangeIsCutWithMessage6) {
    fdx.Step = 0;
    Bank& slot = fdx.ScanSlots[4];
    fdx.SlotIndex = 4;
    slot.Start = kFn, slot.End = at(100), slot.Step = 0, slot.InUse = 1;
    window.OnUserEvent(PostItemLoaded);
    EXPECT_FALSE(slot.InUse);
    EXPECT_EQ(slot.PointCount, 0u);
    EXPECT_TRUE(window.optb[4]->IsFlat());
    window.FreeSlotArrays();
    window.FreeSlotArrays();
    EXPECT_FALSE(slot.InUse);

    // A span typed into the boxes, 7 MHz in steps of 100 Hz: more columns than a slot holds.
    window.fn->SetText("100.0000");
    window.fk->SetText("107.0000");
    window.step->SetText("0.1");
    window.wid->SetText("3.0");
    window.OnUserEvent(PostTakeSelection);
    EXPECT_EQ(messages, std::vector<std::string>{"Диапазона превышает максимум и будет усечен!"});
    EXPECT_TRUE(slot.InUse);
    EXPECT_LT(slot.End, 1070000u);
    EXPECT_EQ(slot.Name, "W-100.0 ... 107.0");
    EXPECT_FALSE(window.fn->IsEnabled());
    EXPECT_EQ(Count(Posted(), PostRangeFromSelection), 1);
}

TEST_F(RangeWindow, SlotCodesFindAFreeSlotAndAnIndexOutOfRangeShowsTheFirst) {
    for (std::size_t i = 0; i < kScanSlotCount; ++i) Load(i);
    window.OnUserEvent(PostPrepareSlots);
    window.OnUserEvent(PostLoadSelected);
    EXPECT_TRUE(Posted().empty());
    fdx.SlotIndex = 3;
    window.FreeSlotArrays();
    fdx.SlotIndex = 0;
    window.OnUserEvent(PostLoadSelected);
    EXPECT_EQ(fdx.SlotIndex, 3);
    EXPECT_EQ(Count(Posted(), PostLoadSelected), 1);

    window.SelectSlot(12);
    EXPECT_EQ(fdx.SlotIndex, 0);
    EXPECT_TRUE(window.optb[0]->IsChecked());
    EXPECT_FALSE(window.optb[3]->IsChecked());
}

TEST_F(RangeWindow, AClickTunesADragMarksASpanAndTheLockStopsBoth) {
    Load();
    fdx.Modulation = 'A';
    range.Attenuator = 1;
    window.MouseDown(30, 20);
    window.MouseUp(30, 20);
    EXPECT_EQ(fdx.TuneFrequency, at(30));
    EXPECT_EQ(fdx.TuneModulation, 'A');
    EXPECT_EQ(fdx.TuneAttenuator, 1);
    EXPECT_EQ(Posted(), std::vector<uint32_t>{PostApplyFrequency});

    window.MouseDown(40, 20);
    window.MouseMove(25, 20);
    EXPECT_EQ(fdx.CursorFrequency, int32_t(at(25)));
    window.MouseUp(25, 20);
    EXPECT_EQ(fdx.SelectionStart, int32_t(at(25)));
    EXPECT_EQ(fdx.SelectionEnd, int32_t(at(40)));
    // Leaving the picture keeps the span for the main window's buttons.
    window.MouseLeave();
    EXPECT_EQ(fdx.SelectionStart, int32_t(at(25)));
    EXPECT_EQ(fdx.CursorFrequency, -1);
    EXPECT_EQ(Posted(), (std::vector<uint32_t>{PostShowStatus, PostShowStatus}));
    window.DoubleClick();
    EXPECT_EQ(fdx.SelectionStart, -1);
    EXPECT_EQ(Posted(), std::vector<uint32_t>{PostShowGroupTab});

    window.OnUserEvent(PostLockControls);
    window.MouseDown(50, 20);
    window.MouseUp(50, 20);
    EXPECT_TRUE(Posted().empty());
    EXPECT_FALSE(window.left_max->IsEnabled());
    window.OnUserEvent(PostUnlockControls);
    EXPECT_TRUE(window.left_max->IsEnabled());
}

// Wherever the button comes up, the sight is let go: the next plain move leaves it.
TEST_F(RangeWindow, ASightDragEndsWhereverTheButtonIsReleased) {
    Bank& slot = Load();
    window.ScrollThreshold(100);  // sight 155
    const int base = window.View().Baseline();
    window.MouseDown(30, base - 155 / 2);
    window.MouseMove(30, base - 50);
    EXPECT_EQ(slot.SightLevel, 100);
    window.MouseUp(-40, base + 300);  // off the picture
    window.MouseMove(30, base - 20);
    EXPECT_EQ(slot.SightLevel, 100);
    EXPECT_EQ(Count(Posted(), PostApplyFrequency), 0);
}

// A second lock while locked does not take the hidden grid as the operator's setting.
TEST_F(RangeWindow, NestedLocksGiveBackTheGridSettingOfBeforeTheFirst) {
    Load();
    for (const bool grid : {true, false}) {
        window.is_grid->SetChecked(grid);
        for (uint32_t code :
             {PostLockControls, PostLockControls, PostUnlockControls, PostUnlockControls})
            window.OnUserEvent(code);
        EXPECT_EQ(window.is_grid->IsChecked(), grid);
    }
}

TEST_F(RangeWindow, TheStudysMarkerFollowsTheTuningHeldToTheRange) {
    fdx.StudyOpen = 1;
    fdx.ViewFeed = 1;
    fdx.ViewSourceKinds.fill(kStudyRangeSource);
    fdx.Frequency = at(500);  // above Fк
    Load();
    // Bound with the slot, the marker stands on the range's end, not past it.
    EXPECT_EQ(fdx.ViewSources[0].Levels, &fdx.ScanSlots[0].Current);
    EXPECT_EQ(fdx.ViewSources[0].AxisMode, kStudyRangeAxis);
    EXPECT_EQ(fdx.ViewSources[0].Marker, at(100));
    fdx.Frequency = at(30);
    window.DrawCursor();
    EXPECT_EQ(fdx.ViewSources[0].Marker, at(30));
    EXPECT_EQ(Count(Posted(), PostViewRedraw), 1);
    window.FreeSlotArrays();
    EXPECT_EQ(fdx.ViewSources[0].Levels, nullptr);
}

TEST_F(RangeWindow, OnlyTheCurvesTheOperatorLetsTheWindowsFeedFollowTheShownSlot) {
    struct Case {
        int32_t feed;
        int32_t kind;
        bool first, second;
    };
    for (const Case c : {Case{0, kStudyRangeSource, false, false},
                         {1, kStudyRangeSource, true, false},
                         {2, kStudyRangeSource, false, true},
                         {3, kStudyRangeSource, true, true},
                         {3, kStudyBankSource, false, false}}) {
        fdx.ViewSources = {};
        fdx.ViewFeed = c.feed;
        fdx.ViewSourceKinds.fill(c.kind);
        fdx.SecondCurveKind = kMaximumCurve;
        Bank& slot = Load();
        window.OnUserEvent(PostViewRecompute);
        EXPECT_EQ(fdx.ViewSources[0].Levels, c.first ? &slot.Current : nullptr) << c.feed;
        EXPECT_EQ(fdx.ViewSources[1].Levels, c.second ? &slot.Maximum : nullptr) << c.feed;
        EXPECT_EQ(Count(Posted(), PostViewRecompute), c.first || c.second ? 1 : 0) << c.feed;
    }
}

}  // namespace
