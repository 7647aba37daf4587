#pragma once
// The fine scale of a receiver panel: the levels of the panel's level scale drawn one pixel
// column per view step under a strip of the whole range, the cursor on the current
// frequency, a page that follows every tune, a scroll bar over the pages and a list of view
// steps; the mouse points (the status line shows the frequency and the level under it, also
// while the panel is locked), marks a span or tunes; and the jumps to the next level peak or
// fixed frequency on either side. Every family that draws one draws it the same way; a
// model gives only its look.
//
// The scale works on its panel's fields: ViewStep, ViewPosition, the limits, the level scale
// and the program state's frequency, cursor and selection.

#include <cstdint>
#include <span>

#include "ui/controls.h"

class ReceiverPanel;

// One entry of the view-step list: the step (100 Hz units, one pixel column) and its text.
struct ViewStepEntry {
    uint32_t step;
    const char* text;
};

// The view steps most panels offer: 10 kHz to 5 MHz a column, listed in kHz.
// clang-format off
inline constexpr ViewStepEntry kKilohertzViewSteps[] = {
    {100, "10"}, {200, "20"}, {500, "50"}, {1000, "100"}, {2000, "200"}, {5000, "500"},
    {10000, "1000"}, {20000, "2000"}, {50000, "5000"},
};
// clang-format on

// The same with their units, as the ICOM and WiNRADiO panels list them.
// clang-format off
inline constexpr ViewStepEntry kUnitViewSteps[] = {
    {100, "10 кГц"}, {200, "20 кГц"}, {500, "50 кГц"}, {1000, "100 кГц"}, {2000, "200 кГц"},
    {5000, "500 кГц"}, {10000, "1 МГц"}, {20000, "2 МГц"}, {50000, "5 МГц"},
};
// clang-format on

// The colours of a fine scale's pens.
struct FineScaleColours {
    ui::Color bar = 0x00c000;          // the level bars
    ui::Color underMarker = 0xffff00;  // the level bar of the cursor's column
    ui::Color marker = 0xff0000;       // the cursor above its bar, the mark on the strip
    ui::Color axis = 0xc0c0c0;         // the axis, its ticks and labels
    ui::Color scaleItem = 0x00ffff;    // the stored fixed frequencies on the page
};

// How the page's frequencies are marked.
enum class FineScaleAxis {
    // A dotted line over the page at every label, the label beside it above a base line 19
    // pixels above the bottom.
    Grid,
    // Two axis lines 15 and 18 pixels above the bottom, a tick down from the upper one at
    // every label and the label's text from the tick's column just under the lower one; the
    // bars stand on the row above the axis.
    Ticked,
};

// How the page moves when the tuning leaves it and what the scroll bar counts.
enum class FineScalePaging {
    // The page moves by whole pages; the scroll bar counts labels from the lowest frequency.
    WholePages,
    // The page starts at a label and moves by one label at a time, back while the frequency
    // stands on its first column or before, on while it stands on its last or beyond; the
    // scroll bar chooses the first label. A scale whose labels all fit is not paged, and a
    // new view step starts from the first label.
    ByLabel,
};

// One label of the strip of the whole range: its text, where the text starts and the column
// of its tick.
struct OverviewLabel {
    const char* text;
    int x;
    int tick;
};

// What differs between the models' fine scales.
struct FineScaleLook {
    int overviewHeight;  // pixels of the strip of the whole range at the top
    int barDivisor;      // a level of this many units is one pixel of a bar
    // The view steps the list offers; a step not listed is taken as the first.
    std::span<const ViewStepEntry> viewSteps;
    // The numbered message a tune from the scale shows when the receiver does not take it;
    // 0: none.
    int tuneFailureMessage = 0;
    // The model's own rule for the next level peak beside FDX::Frequency (right: higher),
    // given the panel and the height of the scale's picture: the peak's frequency, -1 when
    // there is none. None: the level scale's rule (LevelScale::FindPeak).
    int64_t (*findPeak)(const ReceiverPanel& panel, bool right, int pictureHeight) = nullptr;
    // The stored fixed frequencies (FDX::Scales) that lie on the page are marked under the
    // bars, so the operator sees where the next fixed-frequency jump goes.
    bool markScaleItems = false;
    // Frequency (100 Hz units) of one pixel of the strip of the whole range: 5 MHz suits a
    // range of up to 2 GHz, a set of the short waves wants a finer one.
    int64_t overviewUnit = 50000;
    // A strip tall enough carries a frequency axis (two lines 15 and 18 pixels above its
    // bottom) with these labels, each with a tick down from the upper line; none: no axis.
    std::span<const OverviewLabel> overviewLabels = {};
    // The labels' text, of their frequency in MHz.
    const char* labelFormat = "%5.1f";
    // The labels stand about the page's width over this many pixels apart (by the 1-2-5
    // rule), over labelDivisorMaxMon when the main window is stretched (MAXMON).
    int labelDivisor = 3;
    int labelDivisorMaxMon = 3;
    FineScaleAxis axis = FineScaleAxis::Grid;
    FineScalePaging paging = FineScalePaging::WholePages;
    FineScaleColours colours = {};
};

// The controls of a panel's form the fine scale works on: the canvas it draws on and reads the
// mouse from, the scroll bar over its pages, the view-step list, and the four jump buttons (to
// the peak on the right and on the left, to the fixed frequency on the left and on the right).
struct FineScaleControls {
    ui::Canvas* canvas = nullptr;
    ui::ScrollBar* scrollBar = nullptr;
    ui::ComboBox* stepList = nullptr;
    ui::Control* peakRight = nullptr;
    ui::Control* peakLeft = nullptr;
    ui::Control* fixedLeft = nullptr;
    ui::Control* fixedRight = nullptr;
};

// A label step by the 1-2-5 rule: `span` brought to 0.1, 0.2 or 0.5 times a power of ten at
// the thresholds 0.15, 0.35 and 0.85 (0.85 and above give the next power's 0.1).
int64_t OneTwoFive(double span);

class FineScale {
  public:
    FineScale(ReceiverPanel& panel, const FineScaleLook& look) : panel_(panel), look_(look) {}

    // Takes over the panel's controls once its form is built (none without a canvas); the
    // jump buttons are wired where the form has them.
    void Attach(const FineScaleControls& controls);
    // The controls are gone with the form.
    void Detach();
    // The canvas it draws on; null while detached.
    ui::Canvas* Canvas() const { return canvas_; }
    // Its scroll bar, which the panel's lock leaves to EnableScrollBar; null while detached.
    ui::ScrollBar* ScrollBar() const { return scrollBar_; }
    // The panel's lock: the scroll bar is usable while the panel is not locked and, paged by
    // label, while the labels do not all fit.
    void EnableScrollBar(bool enabled);

    // ViewStep := value when the list offers it, else the list's first step; the list shows
    // it and the page follows.
    void SetViewStep(uint32_t value);
    // The page moves by whole pages so that FDX::Frequency stays on it; the scroll bar follows.
    void FollowFrequency();
    void Redraw();

    // Tuning from the panel: FDX::Frequency := frequency, SetFrequencyWait, then the level
    // into FDX::Level, PostReceiverState and a redraw. False, and nothing done, while an
    // exchange is outstanding; false when the tune was not acknowledged (and the look's
    // tuneFailureMessage shown).
    bool TuneTo(uint32_t frequency);
    // To the next level peak to the right (higher) or left by the look's rule; message 29 when
    // there is none.
    bool JumpToPeak(bool right);
    // To the middle of the next fixed frequency to the right or left, then PostSelectScale;
    // message 30 when there is none.
    bool JumpToFixed(bool right);
    // Zeroes the scale after the operator confirms it.
    void ConfirmClear();
    // Zeroes the scale and redraws.
    void Clear();

    // The frequency under a point of the canvas, held to the panel's limits.
    int64_t FrequencyAt(int x, int y) const;
    void Draw(ui::Painter& painter);

  private:
    // The canvas it draws on and reads the mouse from, the scroll bar over the pages and the
    // view-step list.
    void AttachScale(ui::Canvas* canvas, ui::ScrollBar* scrollBar, ui::ComboBox* stepList);
    // The panel's four jump buttons: to the peak on the right and on the left ("Вправо до
    // Мах", "Влево до Мах"), to the fixed frequency on the left and on the right.
    void WireJumps(ui::Control* peakRight, ui::Control* peakLeft, ui::Control* fixedLeft,
                   ui::Control* fixedRight);
    // The labels of the scale at a page of `width` columns and the current view step.
    struct Labels {
        int64_t spacing = 1;   // 100 Hz units from one label to the next
        int64_t step = 1;      // the view step
        int64_t count = 0;     // from 0 up to the upper limit rounded up to the spacing
        int64_t perPage = 1;   // labels a page of ByLabel paging shows
        int64_t lastPage = 0;  // the label the last page of ByLabel paging starts at
        bool paged = false;    // their columns do not all fit on the page
        // The column of the whole scale the label falls on.
        int64_t Column(int64_t label) const { return label * spacing / step; }
        // The first frequency of the page that starts at the label.
        int64_t Start(int64_t label) const { return Column(label) * step; }
        // The label of the page that starts at `position`.
        int64_t PageAt(int64_t position) const;
    };
    Labels LabelsAt(int width) const;
    void FollowByLabel(const Labels& labels);
    void ShowScrollBar(const Labels& labels);
    void OnScrolled(int64_t division);
    void OnMouse(ui::EventId id, int x, int y);
    // The status line's frequency under the mouse (-1: none) and the level of its cell.
    void Point(int64_t frequency);
    void OnViewStepChosen();
    void DrawOverview(ui::Painter& painter, int width) const;
    void DrawOverviewAxis(ui::Painter& painter, int width) const;
    // The axis, and the labels on the page with their ticks or grid lines.
    void DrawLabels(ui::Painter& painter, int width, int height) const;
    void DrawLabel(ui::Painter& painter, int x, int64_t frequency, int width, int height) const;

    ReceiverPanel& panel_;
    FineScaleLook look_;
    ui::Canvas* canvas_ = nullptr;
    ui::ScrollBar* scrollBar_ = nullptr;
    ui::ComboBox* stepList_ = nullptr;
    bool marking_ = false;
    int64_t markStart_ = -1;
    int width_ = 0;  // pixel columns of the page
};
