#pragma once
// The detailed study's arithmetic over its two curves (FDX::ViewSources) and its graph, which
// the window draws on screen and the printout on paper.
//
// Each curve has a marker; the study lays both out around the graph's middle column, the
// marker's sample there. Its display buffer has one byte per pixel of the graph's width W:
// from W/2 rightwards the even pixels hold the first curve's samples from its marker on and
// the odd pixels the second curve's; from W/2 − 1 leftwards the even pixels hold the first
// curve's samples before its marker and the odd pixels the second's; a pixel without a sample
// holds 0. A curve is drawn from its pixels of the buffer, its samples z pixels apart (its
// zoom factor), in a band of its own with the marker's column in the middle.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "state/fdx.h"
#include "ui/canvas.h"

inline constexpr int kStudyCurves = 2;
// Pixels between two vertical grid lines at zoom factor 1: twenty samples of the first curve.
inline constexpr int kStudyGridSamples = 20;

// A curve is present when a window bound a level array to it.
bool StudyCurvePresent(const ViewSource& source);
bool OnTimeAxis(const ViewSource& source);
// Samples of a present curve, as many as its array holds.
int64_t StudySamples(const ViewSource& source);
// Raw level of sample k; 0 for a sample the curve does not hold.
uint32_t StudyLevel(const ViewSource& source, int64_t k);
// The sample the marker stands on: (marker − start) / step, held to the curve's samples so
// that a marker beyond either end reads the end.
int64_t MarkerSample(const ViewSource& source);
// Where sample k lies: a frequency (100 Hz units), or on the time axis its measurement.
int64_t SamplePosition(const ViewSource& source, int64_t k);

// The buffer pixel of the sample `offset` samples from curve `curve`'s marker (negative:
// before it) in a graph `width` pixels wide; -1 beyond the graph.
int StudyBufferPixel(int width, int curve, int64_t offset);
std::vector<uint8_t> StudyDisplayBuffer(int width, const std::array<ViewSource, 2>& sources);

// The distance of the two markers and the difference of their levels: valid only when both
// curves are present and lie on the same kind of axis (frequency or time).
struct StudyDifferences {
    bool valid = false;
    bool timeAxis = false;
    int64_t distance = 0;  // 100 Hz units, or seconds on the time axis
    uint32_t level = 0;    // raw, |level 1 − level 2|
    int32_t levelDb = 0;   // tenths of dB, |dB 1 − dB 2|
};
StudyDifferences StudyDifferencesOf(const FDX& fdx, const std::array<ViewSource, 2>& sources);
// Seconds from one measurement of the bank series to the next.
int64_t SecondsPerMeasurement(const FDX& fdx);

// A level as the study writes it: "%3.1f" of its dB with FDX::OptDb, else "%u" of the raw value.
std::string StudyLevelText(const FDX& fdx, uint32_t raw);
// "hh:mm:ss" of measurement `sample` of the bank series (FDX::MeasurementTime).
std::string StudyTimeText(FDX& fdx, int64_t sample);
// The readout of curve `curve` at its marker; empty for an absent curve.
std::string StudyReadout(FDX& fdx, int curve);
// The readout of the differences; empty when they are not valid.
std::string StudyDifferenceReadout(const FDX& fdx, const StudyDifferences& differences);

// Colours and pens of the graph: silver on black on screen, black on white on paper.
struct StudyStyle {
    ui::Color background;
    ui::Color text;
    ui::Color grid;
    std::array<ui::Color, kStudyCurves> curve;
    std::array<ui::Color, kStudyCurves> marker;
    int curveWidth;
};
StudyStyle ScreenStudyStyle();
StudyStyle PaperStudyStyle(int dpi);

// Draws curve `curve` of the display buffer into `band`: the background, the level grid with
// its labels at the left edge, vertical grid lines every 20 × zoom[0] buffer pixels to both
// sides of the middle, the marker's column in the middle and the curve. `scale` is the band's
// width in buffer pixels (1 on screen).
void DrawStudyBand(ui::Painter& p, const ui::Rect& band, const FDX& fdx,
                   const std::vector<uint8_t>& buffer, int curve,
                   const std::array<int, kStudyCurves>& zoom, const StudyStyle& style);
