#pragma once
// The level calibration window `Calibr`, "Калибровка уровня сигнала ": the 17 points of
// FDX::Calibration drawn as a curve, raw level upwards (point i at raw level 16 i) and tenths
// of dB to the right. The operator drags the 15 inner points, moves the lower and upper limit
// with the scroll bars `signal` and `templ`, and moves a probe line that reads one raw level
// in dB. The table is changed in place; when the window goes the level axis is built again
// (FDX::BuildLevelTable). The main window opens and closes it from its calibration button;
// FDX::CalibrOpen tells that it is open.
//
// The pixel columns are the points' distances from the lower limit divided by a scale of
// tenths of dB per pixel; the scale is fractional, so a span narrower than the graph in
// tenths spreads over the whole graph too. The curve keeps one pixel row per raw level and
// lies inside the picture with room around it: the inner points' values in a column on its
// left, the texts of the limits and the probe in a band above and below, and a circle's
// radius at its ends, so that nothing is cut or covered.

#include <array>
#include <cstdint>
#include <memory>

#include "state/fdx.h"
#include "ui/canvas.h"
#include "ui/controls.h"
#include "ui/form_controls.h"

// The controls of the form (ui/form_controls.h), in the order they are made.
// clang-format off
#define CALIBR_CONTROLS(X) \
    X(101, Canvas, pictb_1, (4, 4, 200, 188), 0, nullptr, nullptr) /* the graph */ \
    X(102, ScrollBar, templ, (4, 195, 200, 9), 0, nullptr, "Верхний предел калибровки") /* the upper limit, T[16] */ \
    X(103, ScrollBar, signal, (4, 206, 200, 9), 0, nullptr, "Нижний предел калибровки") /* the lower limit, T[0] */
// clang-format on

class Calibr : public ui::Form {
  public:
    Calibr();
    ~Calibr() override;

    // Builds the window from "ID_Calibr", owned by `parent`, on the calibration of `state`.
    bool Create(ui::Form* parent, FDX* state);

    // Controls, owned by the form; empty until the create event.
    UI_FORM_CONTROLS(CALIBR_CONTROLS)

    // The scroll bars moved to `position`: refused without a word when the span would be
    // below 40.0 dB or the limit would cross the other one.
    void MoveUpperLimit(int position);
    void MoveLowerLimit(int position);
    // The mouse on the graph, in its pixels.
    void MouseDown(int x, int y);
    void MouseMove(int x, int y);
    void MouseUp();

    // The probe's raw level, 0..255.
    int32_t Probe() const { return probe_; }
    // Where point i (0..16) stands on the picture; the radius of its circle.
    int Column(int i) const { return left_ + columns_[std::size_t(i)]; }
    int Row(int i) const;
    int ProbeRow() const;
    static constexpr int kRadius = 4;
    // The item being dragged: 0 none, 1..15 a point, 16 the probe.
    int Dragging() const { return dragging_; }
    const ui::Picture& Picture() const { return *picture_; }
    // Where the texts go on the picture: the band at the top ("Udb=" on the left, "Umax="
    // centred), the band at the bottom ("Uunit=", "Umin="), and each inner point's value.
    struct Texts {
        ui::Rect top, bottom;
        std::array<ui::Rect, 17> values;  // 1..15
    };
    const Texts& TextBoxes() const { return texts_; }

  private:
    void OnCreate();
    void Layout();
    void Draw();
    void DrawTexts(ui::Painter& p);
    // Tenths of dB per pixel for the present limits.
    double Scale() const;
    int ColumnOf(int32_t value) const;
    // The inner points move so that each stays on the pixel column it had.
    void KeepColumns();
    bool InsideGraph(int x, int y) const;

    FDX* fdx_ = nullptr;
    std::unique_ptr<ui::Picture> picture_;
    int pictureWidth_ = 1;
    int pictureHeight_ = 1;
    int left_ = 0;    // the lower limit's column
    int width_ = 1;   // from there to the upper limit's column, in pixels
    int bottom_ = 0;  // point 0's row, raw level 0
    int line_ = 0;    // the height of a text
    Texts texts_;
    std::array<int, 17> columns_{};
    int32_t probe_ = 128;
    int dragging_ = 0;
};
