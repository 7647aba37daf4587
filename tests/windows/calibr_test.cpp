// The level calibration window: its two limits, the dragged points and probe, and the level
// axis built again when it closes.
#include "windows/calibr.h"

#include <gtest/gtest.h>

#include <array>

#include "tests/windows/window_stand_ins.h"

namespace {

class Calibration : public ::testing::Test {
  protected:
    Calibration() {
        fdx.Owner = &main;
        for (int k = 0; k <= 16; ++k) fdx.Calibration[std::size_t(k)] = 80 * k;
        fdx.BuildLevelTable();
    }
    void Open() { ASSERT_TRUE(window.Create(&main, &fdx)); }
    std::array<int, 17> Columns() const {
        std::array<int, 17> columns{};
        for (int i = 0; i < 17; ++i) columns[std::size_t(i)] = window.Column(i);
        return columns;
    }
    int LastColumn() const { return window.pictb_1->Geometry().width - 1; }
    const std::array<int32_t, 17>& T() const { return fdx.Calibration; }

    CodeSink main;
    FDX fdx;
    Calibr window;
};

TEST_F(Calibration, TheLimitsKeepFortyDecibelsBetweenThemAndThePointsKeepTheirColumns) {
    Open();
    EXPECT_EQ(fdx.CalibrOpen, 1);
    EXPECT_EQ(window.templ->Position(), 1280);
    const std::array<int, 17> before = Columns();

    window.MoveUpperLimit(399);  // 39.9 dB above the lower limit
    EXPECT_EQ(T()[16], 1280);
    EXPECT_EQ(window.templ->Position(), 1280);  // set back
    window.MoveUpperLimit(400);
    EXPECT_EQ(T()[16], 400);
    window.MoveLowerLimit(1);
    EXPECT_EQ(T()[0], 0);
    window.MoveLowerLimit(-100);
    EXPECT_EQ(T()[0], -100);
    EXPECT_EQ(window.signal->Position(), -100);
    EXPECT_EQ(Columns(), before);  // a span narrower than the graph in tenths fills it too
    EXPECT_EQ(window.Column(16) + Calibr::kRadius, LastColumn());  // its circle whole
    for (int i = 1; i <= 16; ++i) EXPECT_LE(T()[std::size_t(i - 1)], T()[std::size_t(i)]);
    EXPECT_TRUE(main.Take().empty());  // refused without a word
}

// A move is taken only while the point stays between its neighbours' values; one beyond either
// leaves the point where the last move put it, and the drag goes on.
TEST_F(Calibration, APointDraggedPastItsNeighbourStaysAtItsLastAcceptedValue) {
    Open();
    const int y = window.Row(5);
    window.MouseDown(window.Column(5) + 1, y + 1);
    ASSERT_EQ(window.Dragging(), 5);
    window.MouseMove(window.Column(5) + 3, y);
    const int32_t accepted = T()[5];
    EXPECT_GT(accepted, 400);
    EXPECT_LT(accepted, 480);
    window.MouseMove(window.Column(6) + 20, y);  // beyond point 6
    EXPECT_EQ(T()[5], accepted);
    window.MouseMove(0, y);  // below point 4, and the lower limit
    EXPECT_EQ(T()[5], accepted);
    window.MouseMove(window.Column(4) - 1, y);  // just below point 4
    EXPECT_EQ(T()[5], accepted);
    EXPECT_EQ(window.Dragging(), 5);
    window.MouseMove(window.Column(4) + 2, y);  // back between them: taken again
    EXPECT_GT(T()[5], T()[4]);
    EXPECT_LT(T()[5], 400);
    const int32_t again = T()[5];
    window.MouseMove(window.Column(5), y - 9);  // out of the point's row: the drag ends
    EXPECT_EQ(window.Dragging(), 0);
    window.MouseMove(window.Column(5) + 3, y);
    EXPECT_EQ(T()[5], again);
    for (int i = 1; i <= 16; ++i) EXPECT_LE(T()[std::size_t(i - 1)], T()[std::size_t(i)]);
}

TEST_F(Calibration, TheProbeStartsAt128WithoutALevelAndStaysWithinTheRawLevels) {
    fdx.Level = -1;
    Open();
    EXPECT_EQ(window.Probe(), 128);
    window.MouseDown(10, window.ProbeRow());
    ASSERT_EQ(window.Dragging(), 16);
    window.MouseMove(10, 0);
    EXPECT_EQ(window.Probe(), 255);
    window.MouseMove(10, window.ProbeRow() + 300);  // off the graph: the drag ends
    EXPECT_EQ(window.Dragging(), 0);
    EXPECT_EQ(window.Probe(), 255);
    window.MouseUp();

    Calibr again;
    fdx.Level = 0;
    again.Create(&main, &fdx);
    EXPECT_EQ(again.Probe(), 128);
}

TEST_F(Calibration, ClosingTheWindowBuildsTheLevelAxisAgain) {
    Open();
    window.MoveUpperLimit(640);
    EXPECT_EQ(fdx.LevelGrid[8], 1600);  // the axis of the old calibration until then
    window.Destroy();
    EXPECT_EQ(fdx.CalibrOpen, 0);
    EXPECT_EQ(fdx.LevelGrid[8], 800);
    EXPECT_EQ(fdx.LevelAxisAt(255), 255 * 640 / 800);
}

// Whatever the table, every point's circle lies wholly on the picture and off the texts: the
// limits' and the probe's in the bands at the top and the bottom, the values in the column on
// the left, none over another.
TEST_F(Calibration, NoPointIsCutOrCoversAText) {
    const std::array<int32_t, 17> ic8500 = {0,   9,   18,  28,  39,  48,  57,  71, 84,
                                            108, 132, 190, 246, 315, 384, 492, 600};
    std::array<int32_t, 17> atTheBottom{}, atTheTop{};
    for (int i = 0; i < 17; ++i) {
        atTheBottom[std::size_t(i)] = i == 16 ? 400 : -1280;
        atTheTop[std::size_t(i)] = i == 0 ? -400 : 0;
    }
    Open();
    const int width = window.Picture().Width();
    const int height = window.Picture().Height();
    const Calibr::Texts& texts = window.TextBoxes();
    const int r = Calibr::kRadius;
    for (const auto& table : {fdx.Calibration, ic8500, atTheBottom, atTheTop}) {
        fdx.Calibration = table;
        window.MoveUpperLimit(table[16]);  // drawn again
        for (int i = 0; i <= 16; ++i) {
            SCOPED_TRACE(i);
            EXPECT_GE(window.Column(i) - r, texts.values[1].x + texts.values[1].width);
            EXPECT_LT(window.Column(i) + r, width);
            EXPECT_GE(window.Row(i) - r, texts.top.y + texts.top.height);
            EXPECT_LT(window.Row(i) + r, texts.bottom.y);
        }
        // Not a pixel of a point in the texts' places.
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const bool text = y < texts.top.height || y >= texts.bottom.y ||
                                  x < texts.values[1].x + texts.values[1].width;
                if (text) {
                    ASSERT_NE(window.Picture().Pixel(x, y), 0xFF0000u) << x << "," << y;
                }
            }
    }
    for (int i = 2; i < 16; ++i) {
        const ui::Rect& above = texts.values[std::size_t(i)];
        EXPECT_LE(above.y + above.height, texts.values[std::size_t(i - 1)].y);
    }
    EXPECT_GE(texts.values[15].y, texts.top.height);
    EXPECT_LE(texts.values[1].y + texts.values[1].height, texts.bottom.y);
}

TEST_F(Calibration, ATableWithoutASpanIsDrawnWithoutFailing) {
    fdx.Calibration.fill(0);
    Open();
    EXPECT_EQ(window.Column(16), window.Column(0));
    window.MouseDown(window.Column(3), window.Row(3));
    window.MouseMove(50, window.Row(3));
    EXPECT_EQ(T()[3], 0);
}

}  // namespace
