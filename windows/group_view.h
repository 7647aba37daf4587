#pragma once
// The group window's picture: the twelve range slots as strips one above the other, 56 pixels
// apart, on an off-screen picture 682 pixels tall of which the window shows a part.
//
// Strip i takes the rows 10 + 56 i .. 42 + 56 i: its bottom line lies on row 42 + 56 i and a
// level L (raw 0..255, or its place on the calibrated level axis with FDX::OptLg) stands on it
// as a bar of L >> 3 pixels (0..31) ending one row above the line. Below the line its number
// and the frequencies of its first and last column are written. Column x shows the frequency
// low + x × step of the part of the range the range window shows (VisibleSpanOf), so a strip
// and the range window show the same frequencies in the same columns.

#include <cstdint>
#include <string>

#include "state/bank.h"
#include "ui/canvas.h"

class FDX;

namespace group_colors {
inline constexpr ui::Color kBackground = ui::NumberedColor(7);  // black
inline constexpr ui::Color kFrame = ui::NumberedColor(10);      // silver: bottom line, labels
inline constexpr ui::Color kBar = ui::NumberedColor(5);         // dark green
inline constexpr ui::Color kCursor = ui::NumberedColor(1);      // red
inline constexpr ui::Color kRangeEdge = ui::NumberedColor(14);  // olive, dotted
inline constexpr ui::Color kReadout = ui::NumberedColor(2);     // green
inline constexpr ui::Color kTitle = ui::NumberedColor(9);       // grey
}  // namespace group_colors

inline constexpr int kGroupStrips = int(kScanSlotCount);
inline constexpr int kStripPitch = 56;
inline constexpr int kGroupPictureHeight = kGroupStrips * kStripPitch + 10;

constexpr int StripTop(int strip) {
    return 10 + kStripPitch * strip;
}
constexpr int StripBottom(int strip) {
    return 42 + kStripPitch * strip;
}
// The strip under row y of the picture: rows above the first strip belong to strip 0 and
// rows below the last to strip 11.
int StripAt(int y);

// The raw level the strip of `slot` shows at frequency f: its main curve's point there, 0
// outside Fн..Fк.
int32_t StripLevel(const Bank& slot, int64_t f);
// The readout of a strip: the word of its main curve and the level at frequency f.
std::string StripReadout(const FDX& fdx, const Bank& slot, int64_t f);

class GroupView {
  public:
    explicit GroupView(int width);

    int Width() const { return width_; }
    ui::Picture& Picture() { return picture_; }
    const ui::Picture& Picture() const { return picture_; }

    // Strip `strip` of `slot`: bars, range edges, the cursor at frequency `cursor` (none when
    // it is not in view) and, when the cursor lies in Fн..Fк, its readout; the slot's title.
    // An empty slot leaves the strip with its bottom line only.
    void DrawStrip(const FDX& fdx, int strip, const Bank& slot, int64_t cursor);
    // The number of the strip and the frequencies of its first and last column.
    void DrawLabels(int strip, const Bank& slot);

    // The frequency of column x of a loaded slot's strip, held to the columns in view.
    int64_t FrequencyAt(const Bank& slot, int x) const;
    // The column of frequency f, -1 when it is not in view.
    int ColumnOf(const Bank& slot, int64_t f) const;

  private:
    int width_;
    ui::Picture picture_;
};
