#pragma once
// The AR8200's band scope as the panel shows it in its analysis view: the receiver sweeps
// around the tuned frequency at one of seven spans ("SW1" 10 MHz .. "SW7" 100 kHz) and reports
// the sweep in "DS" lines of 32 hex digits, which are taken into FDX::ScopeLevels (256
// entries, entry 128 at the tuned frequency); the view draws the entries about the centre,
// a view factor of pixels each (3, 6, 12, 24 or 48), on a frame with a grid and the offsets
// from the tuned frequency.
//
// This holds the view's settings and what it decodes and draws; the panel does the exchanges.

#include <array>
#include <cstdint>
#include <string_view>

#include "ui/canvas.h"

class Ar8200Scope {
  public:
    static constexpr int kEntries = 256;
    static constexpr int kCentre = 128;
    static constexpr int kSpans = 7;  // the analysis list's entries, "10 МГц" .. "100 кГц"
    // Thirty times the span in Hz, per entry of the list.
    static constexpr std::array<uint32_t, kSpans> kSpanUnits = {
        300'000'000, 150'000'000, 60'000'000, 30'000'000, 15'000'000, 6'000'000, 3'000'000};
    static constexpr const char* kSpanTexts[kSpans] = {"10 МГц",  "5 МГц",   "2 МГц",  "1 МГц",
                                                       "500 кГц", "200 кГц", "100 кГц"};

    // FDX::ScopeStep of the chosen span over an area `width` pixels wide.
    uint32_t Step(int width) const;
    // "SW<n>": the number of the chosen span, 1 for 10 MHz.
    int SpanNumber() const { return span_ + 1; }
    // False, nothing changed, outside the list.
    bool ChooseSpan(int index);
    int Span() const { return span_; }
    // 3 -> 6 -> 12 -> 24 -> 48 -> 3.
    void NextFactor();
    int Factor() const { return factor_; }

    // A "DS" line (the text from "DS" on) into `levels`, entries scaled by `step`
    // (FDX::ScopeStep): each of its 32 hex digits, counted down from the line's number, is a
    // height that an entry keeps when it is the larger; a digit that is not hex is 0, an entry
    // outside the 256 is entry 0. The first line seen sets the sweep's width.
    void Take(std::string_view line, uint32_t step, std::array<uint8_t, kEntries>& levels);
    // A new span or a new view: the decoding starts afresh and nothing is drawn.
    void Restart();
    // The levels to draw: short gaps (two to four entries) between non-zero entries filled.
    void TakeForDrawing(const std::array<uint8_t, kEntries>& levels);
    // The entries shown in an area `width` pixels wide: from `first`, `count` of them.
    void Shown(int width, int& first, int& count) const;
    // The frame, the grid, the offsets from the tuned frequency (`step` as FDX::ScopeStep) and
    // the drawn levels.
    void Draw(ui::Painter& painter, uint32_t step) const;

    bool On = false;
    bool Paused = false;
    // A sweep was asked for ("DS"): the next tick draws what came.
    bool SweepAsked = false;

  private:
    void DrawLabels(ui::Painter& painter, uint32_t step, int axis) const;

    int span_ = 3;  // "1 МГц"
    int factor_ = 3;
    bool seen_ = false;  // a scope line came since the last restart
    uint32_t width_ = 0;
    std::array<uint8_t, kEntries> drawn_{};
};
