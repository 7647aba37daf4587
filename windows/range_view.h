#pragma once
// The range window's picture of a slot. Everything is drawn on an off-screen picture of the
// picture area's size; while the main window's shared picture belongs to the range window the
// off-screen picture is copied onto it, and the sight line, the grid and the cursor are drawn
// there only, so the off-screen picture never holds them.
//
// Rows are counted from the picture's bottom, H being its height: the baseline of the curves
// is row H − 19. A level L (raw 0..255, or its place on the calibrated level axis with
// FDX::OptLg) stands as a column of L / 2 pixels whose lowest pixel lies on the baseline, so a
// level whose half is 0 shows nothing. Every curve column lies within rows H − 149 .. H − 19.
//
// Column x of the picture shows the frequency VisibleLow + x × step: point
// (VisibleLow − Fн) / step + x of the slot. Columns before Fн and past Fк show no level, and
// nothing is drawn past Fк.

#include <cstdint>
#include <string>

#include "state/bank.h"
#include "ui/canvas.h"

class FDX;

// The range window's colours (the numbered colours of ui/canvas.h).
namespace range_colors {
inline constexpr ui::Color kBackground = ui::NumberedColor(7);     // black; also the erase pen
inline constexpr ui::Color kFrame = ui::NumberedColor(10);         // silver: frame lines, texts
inline constexpr ui::Color kMainCurve = ui::NumberedColor(2);      // green
inline constexpr ui::Color kSecondCurve = ui::NumberedColor(5);    // dark green
inline constexpr ui::Color kPoint = ui::NumberedColor(8);          // white: markers, fixed points
inline constexpr ui::Color kMarkerTop = ui::NumberedColor(9);      // grey
inline constexpr ui::Color kRangeEdge = ui::NumberedColor(14);     // olive, dotted
inline constexpr ui::Color kSight = ui::NumberedColor(4);          // dark red
inline constexpr ui::Color kGrid = ui::NumberedColor(9);           // grey, dotted
inline constexpr ui::Color kCursorLevel = ui::NumberedColor(13);   // yellow
inline constexpr ui::Color kCursorTop = ui::NumberedColor(1);      // red
inline constexpr ui::Color kCursorMarker = ui::NumberedColor(11);  // magenta
inline constexpr ui::Color kSightText = ui::NumberedColor(1);      // red
inline constexpr ui::Color kThresholdText = ui::NumberedColor(2);  // green
}  // namespace range_colors

// The readouts along the top of the picture: the selection (FDX::SelectionStart .. End), the
// threshold of the slot's range and the sight.
std::string SelectionReadout(const FDX& fdx, const Bank& slot);
std::string ThresholdReadout(const FDX& fdx, const Bank& slot);
std::string SightReadout(const FDX& fdx, const Bank& slot);

class RangeView {
  public:
    RangeView(int width, int height);

    int Width() const { return width_; }
    int Height() const { return height_; }
    int Baseline() const { return height_ - 19; }
    ui::Picture& Picture() { return picture_; }
    const ui::Picture& Picture() const { return picture_; }

    // The whole off-screen picture of a loaded slot: frame, grid labels, columns, fixed
    // points, selection and readouts; an empty one for a slot that is not loaded. Sets the
    // slot's visible frequencies from its scroll position.
    void DrawScale(const FDX& fdx, Bank& slot);
    // The sight and threshold readouts alone (after a sight move).
    void DrawReadouts(const FDX& fdx, const Bank& slot);

    // Copies the off-screen picture onto `shared` with its top left at `at`, then the sight
    // line, the grid (`grid`) and the cursor at `cursor`.
    void Show(ui::Picture& shared, ui::Point at, const FDX& fdx, const Bank& slot, bool grid,
              int64_t cursor);
    // Moves the cursor to frequency `cursor`: the column it leaves is drawn again from the
    // slot's levels, on the off-screen picture and on `shared` (null: the shared picture
    // belongs to another window and only the off-screen column is renewed); a frequency
    // outside the visible ones shows no cursor.
    void DrawCursor(ui::Picture* shared, ui::Point at, const FDX& fdx, const Bank& slot, bool grid,
                    int64_t cursor);
    // The column the cursor stands in on the shared picture; -1 when none.
    int CursorColumn() const { return cursorColumn_; }

    // The frequency of column x, and the column of frequency f (-1 when f lies outside the
    // visible frequencies), after DrawScale.
    int64_t FrequencyAt(const Bank& slot, int x) const;
    int ColumnOf(const Bank& slot, int64_t f) const;
    // Columns that show a frequency of the scale up to Fк (at most the width).
    int DrawnColumns(const Bank& slot) const;

  private:
    struct Column;
    Column ColumnAt(const FDX& fdx, const Bank& slot, int x) const;
    void DrawColumn(ui::Painter& p, ui::Point at, int x, const Column& c);
    void DrawGrid(ui::Painter& p, ui::Point at, const Bank& slot, int from, int to);
    void DrawSightAcross(ui::Painter& p, ui::Point at, const FDX& fdx, const Bank& slot, int from,
                         int to);
    void RenewColumn(ui::Picture* shared, ui::Point at, const FDX& fdx, const Bank& slot, bool grid,
                     int x);
    int AxisLevel(const FDX& fdx, int32_t raw) const;

    int width_, height_;
    ui::Picture picture_;
    int cursorColumn_ = -1;
    // The selection's columns as last drawn; from > to when none.
    int selectionFrom_ = 0, selectionTo_ = -1;
};
