#pragma once
// How the range window lays a range slot out on its picture: the range within the receiver's
// limits, the grid step, the scale's first column, the column of every grid line, the point
// limit and the scroll sizes. Plain arithmetic on the slot; the window shows the wait window
// around it, clears the level arrays and draws afterwards.
//
// The scale has one picture column per step. Its column 0 is the first frequency a whole number
// of steps below Fн that lies at or below the first grid line, so that grid line is in view
// when the scale is scrolled to its start; its columns run up to the last grid line at or past
// Fк.

#include <cstdint>

#include "state/bank.h"

// Fewer scale columns than this: a longer range is cut.
inline constexpr uint32_t kScaleColumnLimit = kBankPoints;

// What a layout takes from the program state.
struct LayoutLimits {
    uint32_t lowest = 0;  // the receiver's lowest and highest frequency
    uint32_t highest = 0;
    uint32_t defaultStep = 0;       // for a slot without a step
    uint32_t defaultBandwidth = 0;  // for a slot without a bandwidth
};

// The frequency between two grid lines of a picture `width` pixels wide at `step`: 1, 2 or 5
// times a power of ten near a fifth of the picture's span; never below the step, so that a
// narrow picture or a tiny step still gets a grid that advances.
uint32_t GridStepFor(int width, uint32_t step);

struct LayoutResult {
    bool laidOut = false;  // false: the slot can hold no point (no step)
    bool cut = false;  // the range would reach kScaleColumnLimit columns: Fк was cut (message 6)
};

// Lays `slot` out for a picture `width` pixels wide: the fields of its "Range window layout"
// block, its Start, End, Step, Bandwidth and PointCount; the threshold, sight, scroll position
// and cycle count start afresh. The level arrays are left to the caller.
LayoutResult LayoutScale(Bank& slot, const LayoutLimits& limits, int width);

// The frequencies of the first and the last column of a picture `width` pixels wide that shows
// a laid-out slot at its scroll position (the range window and the group window's strips show
// the same part of a range). {0, 0} for a slot without a step or grid.
struct VisibleSpan {
    uint32_t low = 0;
    uint32_t high = 0;
};
VisibleSpan VisibleSpanOf(const Bank& slot, int width);
