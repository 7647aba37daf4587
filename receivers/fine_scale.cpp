#include "receivers/fine_scale.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "receivers/panel.h"
#include "state/message_bus.h"
#include "state/user_sc.h"

namespace {

constexpr ui::Color kBlack = 0x000000;
constexpr ui::Color kGrey = 0x606060;
constexpr ui::Color kMarked = 0x000080;
constexpr int kBaseAboveBottom = 19;  // the page's base line (the bars' foot) above its bottom
// An axis: its two lines this many pixels above the bottom, a tick from the upper one down to
// kTickEnd, the text of a label from kLabelTop down.
constexpr int kAxisLower = 15;
constexpr int kAxisUpper = 18;
constexpr int kTickEnd = 13;
constexpr int kLabelTop = 14;

constexpr int kNoPeakMessage = 29;
constexpr int kNoFixedMessage = 30;
constexpr const char* kClearQuestion = "Вы действительно хотите очистить шкалу?";

}  // namespace

int64_t OneTwoFive(double span) {
    float x = static_cast<float>(span);
    int k = 0;
    while (x > 1) {
        x /= 10;
        ++k;
    }
    if (x < 0.15f) {
        x = 0.1f;
    } else if (x < 0.35f) {
        x = 0.2f;
    } else if (x < 0.85f) {
        x = 0.5f;
    } else {
        x = 0.1f;
        ++k;
    }
    return static_cast<int64_t>(std::lround(x * std::pow(10.0f, static_cast<float>(k))));
}

void FineScale::AttachScale(ui::Canvas* canvas, ui::ScrollBar* scrollBar, ui::ComboBox* stepList) {
    canvas_ = canvas;
    scrollBar_ = scrollBar;
    stepList_ = stepList;
    for (const ViewStepEntry& entry : look_.viewSteps) stepList_->AddString(entry.text);
    canvas_->SetPainter([this](ui::Painter& painter) { Draw(painter); });

    stepList_->On(ui::EventId::Select, [this](ui::EventData&) { OnViewStepChosen(); });
    scrollBar_->On(ui::EventId::Change, [this](ui::EventData& e) { OnScrolled(e.value); });
    for (ui::EventId id :
         {ui::EventId::MouseMove, ui::EventId::LeftButtonDown, ui::EventId::LeftButtonUp,
          ui::EventId::DoubleClick, ui::EventId::MouseLeave}) {
        canvas_->On(id, [this, id](ui::EventData& e) { OnMouse(id, e.x, e.y); });
    }
    canvas_->On(ui::EventId::RightButtonUp,
                [this](ui::EventData&) { panel_.PostToOwner(PostRunMacro); });
}

void FineScale::Attach(const FineScaleControls& c) {
    if (!c.canvas) return;
    AttachScale(c.canvas, c.scrollBar, c.stepList);
    if (c.peakRight) WireJumps(c.peakRight, c.peakLeft, c.fixedLeft, c.fixedRight);
}

void FineScale::WireJumps(ui::Control* peakRight, ui::Control* peakLeft, ui::Control* fixedLeft,
                          ui::Control* fixedRight) {
    peakRight->On(ui::EventId::Click, [this](ui::EventData&) { JumpToPeak(true); });
    peakLeft->On(ui::EventId::Click, [this](ui::EventData&) { JumpToPeak(false); });
    fixedLeft->On(ui::EventId::Click, [this](ui::EventData&) { JumpToFixed(false); });
    fixedRight->On(ui::EventId::Click, [this](ui::EventData&) { JumpToFixed(true); });
}

void FineScale::Detach() {
    canvas_ = nullptr;
    scrollBar_ = nullptr;
    stepList_ = nullptr;
}

void FineScale::SetViewStep(uint32_t value) {
    const uint32_t before = panel_.ViewStep;
    int index = 0;
    panel_.ViewStep = look_.viewSteps[0].step;
    for (int i = 0; i < static_cast<int>(look_.viewSteps.size()); ++i) {
        if (look_.viewSteps[i].step != value) continue;
        index = i;
        panel_.ViewStep = value;
    }
    if (stepList_) stepList_->SetSelectedIndex(index);
    if (look_.paging == FineScalePaging::ByLabel && panel_.ViewStep != before)
        panel_.ViewPosition = 0;
    FollowFrequency();
    Redraw();
}

void FineScale::OnViewStepChosen() {
    const int index = stepList_->SelectedIndex();
    if (index >= 0 && index < static_cast<int>(look_.viewSteps.size()))
        SetViewStep(look_.viewSteps[index].step);
}

FineScale::Labels FineScale::LabelsAt(int width) const {
    Labels labels;
    labels.step = std::max<uint32_t>(panel_.ViewStep, 1);
    const int divisor =
        panel_.State() && panel_.State()->OptMaxMon ? look_.labelDivisorMaxMon : look_.labelDivisor;
    const double distance = static_cast<double>(width / std::max(divisor, 1));
    labels.spacing =
        std::max<int64_t>(OneTwoFive(distance * static_cast<double>(labels.step)), labels.step);
    labels.count = (int64_t{panel_.UpperLimit} + labels.spacing - 1) / labels.spacing + 1;
    labels.paged = labels.Column(labels.count - 1) >= width;
    if (labels.paged) {
        labels.perPage = std::max<int64_t>(width / (labels.spacing / labels.step), 1);
        labels.lastPage = std::max<int64_t>(labels.count - labels.perPage - 1, 0);
        // The last page reaches the upper limit, also when the width is a whole number of
        // label distances and the last label falls just past its last column.
        const int64_t lastColumn = labels.step * (width - 1);
        while (labels.lastPage + 1 < labels.count &&
               labels.Start(labels.lastPage) + lastColumn < int64_t{panel_.UpperLimit})
            ++labels.lastPage;
    }
    return labels;
}

int64_t FineScale::Labels::PageAt(int64_t position) const {
    int64_t page = std::clamp<int64_t>(position / spacing, 0, lastPage);
    while (page < lastPage && Start(page + 1) <= position) ++page;
    return page;
}

void FineScale::FollowFrequency() {
    if (!canvas_) return;
    width_ = canvas_->Geometry().width;
    if (width_ <= 0) return;
    const Labels labels = LabelsAt(width_);
    if (look_.paging == FineScalePaging::ByLabel) {
        FollowByLabel(labels);
        ShowScrollBar(labels);
        return;
    }
    const int64_t page = int64_t{width_} * panel_.ViewStep;
    const int64_t f = panel_.State()->Frequency;
    int64_t position = panel_.ViewPosition;
    if (f < position) position -= (position - f + page - 1) / page * page;
    if (f >= position + page) position += (f - position) / page * page;
    panel_.ViewPosition =
        static_cast<uint32_t>(std::clamp<int64_t>(position, 0, panel_.UpperLimit));
    ShowScrollBar(labels);
}

void FineScale::FollowByLabel(const Labels& labels) {
    const int64_t f = panel_.State()->Frequency;
    const int64_t span = labels.step * (width_ - 1);
    int64_t page = labels.PageAt(panel_.ViewPosition);
    while (f <= labels.Start(page) && page > 0) --page;
    while (f >= labels.Start(page) + span && page < labels.lastPage) ++page;
    panel_.ViewPosition = static_cast<uint32_t>(labels.Start(page));
}

// By whole pages the scroll bar counts labels: an arrow moves the view by one, the track by
// a page. By label it chooses the page's first label, and stays still while all fit.
void FineScale::ShowScrollBar(const Labels& labels) {
    if (!scrollBar_) return;
    if (look_.paging == FineScalePaging::ByLabel) {
        scrollBar_->SetRange(0, static_cast<int>(labels.lastPage));
        scrollBar_->SetPageStep(static_cast<int>(labels.perPage));
        scrollBar_->SetPosition(static_cast<int>(labels.PageAt(panel_.ViewPosition)));
        scrollBar_->SetEnabled(labels.paged && !panel_.PanelBusy);
        return;
    }
    const int64_t grid = labels.spacing;
    const int64_t divisions = (int64_t{panel_.UpperLimit} + grid - 1) / grid;
    const int64_t pageDivisions = std::max<int64_t>(int64_t{width_} * panel_.ViewStep / grid, 1);
    scrollBar_->SetRange(0, static_cast<int>(std::max<int64_t>(divisions - pageDivisions, 0)));
    scrollBar_->SetPageStep(static_cast<int>(pageDivisions));
    scrollBar_->SetPosition(static_cast<int>(panel_.ViewPosition / grid));
}

void FineScale::EnableScrollBar(bool enabled) {
    if (!scrollBar_) return;
    const bool fits =
        look_.paging == FineScalePaging::ByLabel && width_ > 0 && !LabelsAt(width_).paged;
    scrollBar_->SetEnabled(enabled && !fits);
}

void FineScale::OnScrolled(int64_t division) {
    if (width_ <= 0) return;
    const Labels labels = LabelsAt(width_);
    const int64_t chosen = std::clamp<int64_t>(division, 0, scrollBar_->High());
    const int64_t position =
        look_.paging == FineScalePaging::ByLabel ? labels.Start(chosen) : chosen * labels.spacing;
    panel_.ViewPosition = static_cast<uint32_t>(position);
    Redraw();
}

void FineScale::Redraw() {
    if (canvas_) canvas_->Redraw();
}

bool FineScale::TuneTo(uint32_t frequency) {
    if (panel_.PendingCommand != ReceiverPanel::NoExchange) return false;
    FDX& s = *panel_.State();
    s.Frequency = frequency;
    const bool tuned = panel_.SetFrequencyWait();
    if (tuned)
        s.Level = panel_.ReadLevel();
    else if (look_.tuneFailureMessage != 0)
        s.ShowError(look_.tuneFailureMessage);
    panel_.PostToOwner(PostReceiverState);
    Redraw();  // with the level just measured
    return tuned;
}

bool FineScale::JumpToPeak(bool right) {
    const int height = canvas_ ? canvas_->Geometry().height : 0;
    const int64_t peak = look_.findPeak
                             ? look_.findPeak(panel_, right, height)
                             : panel_.Scale.FindPeak(panel_.State()->Frequency, right,
                                                     panel_.LowerLimit, panel_.UpperLimit);
    if (peak < 0) {
        panel_.State()->ShowError(kNoPeakMessage);
        return false;
    }
    TuneTo(static_cast<uint32_t>(std::clamp<int64_t>(peak, panel_.LowerLimit, panel_.UpperLimit)));
    return true;
}

bool FineScale::JumpToFixed(bool right) {
    FDX& s = *panel_.State();
    const UserSc* target = nullptr;
    for (const UserSc* item : s.Scales) {
        if (!item) continue;
        if (right) {
            if (item->StartFrequency > s.Frequency) {
                target = item;
                break;
            }
        } else {
            if (item->EndFrequency >= s.Frequency) break;
            target = item;
        }
    }
    if (!target) {
        s.ShowError(kNoFixedMessage);
        return false;
    }
    const uint64_t centre = (uint64_t{target->StartFrequency} + target->EndFrequency) / 2;
    TuneTo(static_cast<uint32_t>(centre));
    panel_.PostToOwner(PostSelectScale);
    return true;
}

void FineScale::ConfirmClear() {
    if (panel_.State()->Confirm(kClearQuestion)) Clear();
}

void FineScale::Clear() {
    panel_.Scale.Clear();
    FollowFrequency();
    panel_.PostToSelf(PostRefreshDisplay);
}

int64_t FineScale::FrequencyAt(int x, int y) const {
    const int64_t frequency = y < look_.overviewHeight
                                  ? int64_t{x} * look_.overviewUnit
                                  : int64_t{panel_.ViewStep} * x + panel_.ViewPosition;
    return std::clamp<int64_t>(frequency, panel_.LowerLimit, panel_.UpperLimit);
}

void FineScale::Point(int64_t frequency) {
    FDX& s = *panel_.State();
    s.CursorFrequency = static_cast<int32_t>(frequency);
    s.CursorLevel = frequency < 0 ? 0 : panel_.Scale.At(frequency);
}

// Pointing works whatever the panel does; pressing, releasing and double clicks do nothing
// while it is locked.
void FineScale::OnMouse(ui::EventId id, int x, int y) {
    FDX& s = *panel_.State();
    if (id == ui::EventId::MouseLeave) {
        Point(-1);
        if (marking_) {
            marking_ = false;
            s.SelectionStart = s.SelectionEnd = -1;
            Redraw();
        }
        panel_.PostToOwner(PostShowStatus);
        return;
    }
    if (id == ui::EventId::MouseMove) {
        Point(FrequencyAt(x, y));
        if (marking_) {
            const int64_t low = std::min<int64_t>(markStart_, s.CursorFrequency);
            const int64_t high = std::max<int64_t>(markStart_, s.CursorFrequency);
            const bool wide = high - low > panel_.ViewStep;
            s.SelectionStart = wide ? static_cast<int32_t>(low) : -1;
            s.SelectionEnd = wide ? static_cast<int32_t>(high) : -1;
            Redraw();
        }
        panel_.PostToOwner(PostShowStatus);
        return;
    }
    if (panel_.PanelBusy) return;
    if (id == ui::EventId::LeftButtonDown) {
        Point(FrequencyAt(x, y));
        marking_ = true;
        markStart_ = s.CursorFrequency;
        s.SelectionStart = s.SelectionEnd = -1;
        return;
    }
    if (id == ui::EventId::LeftButtonUp && marking_) {
        marking_ = false;
        Redraw();
        // A plain click tunes; a marked span stays as the selection.
        const bool plainClick =
            s.SelectionStart < 0 || int64_t{s.SelectionEnd} - s.SelectionStart <= panel_.ViewStep;
        if (plainClick && s.CursorFrequency >= 0) TuneTo(static_cast<uint32_t>(s.CursorFrequency));
        return;
    }
    // A double click tunes whatever was marked.
    if (id == ui::EventId::DoubleClick) {
        Point(FrequencyAt(x, y));
        TuneTo(static_cast<uint32_t>(s.CursorFrequency));
    }
}

// The strip of the whole range with the current frequency marked: framed, or above its axis.
void FineScale::DrawOverview(ui::Painter& p, int w) const {
    const int h = look_.overviewHeight;
    const FineScaleColours& c = look_.colours;
    const bool axis = !look_.overviewLabels.empty() && h > kAxisUpper;
    if (axis) {
        DrawOverviewAxis(p, w);
    } else {
        p.Line(0, 0, w - 1, 0, c.axis);
        p.Line(0, h - 1, w - 1, h - 1, c.axis);
    }
    const int64_t mark =
        int64_t{panel_.State()->Frequency} / std::max<int64_t>(look_.overviewUnit, 1);
    if (mark < w) {
        if (axis)
            p.Line(int(mark), 2, int(mark), h - kBaseAboveBottom, c.marker);
        else
            p.Line(int(mark), 1, int(mark), h - 2, c.marker);
    }
}

void FineScale::DrawOverviewAxis(ui::Painter& p, int w) const {
    const int h = look_.overviewHeight;
    const ui::Color colour = look_.colours.axis;
    p.Line(0, h - kAxisLower, w - 1, h - kAxisLower, colour);
    p.Line(0, h - kAxisUpper, w - 1, h - kAxisUpper, colour);
    for (const OverviewLabel& label : look_.overviewLabels) {
        p.Text(label.x, h - kLabelTop, label.text, colour);
        p.Line(label.tick, h - kAxisUpper, label.tick, h - kTickEnd, colour);
    }
}

void FineScale::DrawLabels(ui::Painter& p, int w, int h) const {
    const ui::Color colour = look_.colours.axis;
    if (look_.axis == FineScaleAxis::Ticked) {
        p.Line(0, h - kAxisLower, w - 1, h - kAxisLower, colour);
        p.Line(0, h - kAxisUpper, w - 1, h - kAxisUpper, colour);
    }
    const Labels labels = LabelsAt(w);
    const int64_t position = panel_.ViewPosition;
    // An axis ends at the last label; a grid runs on over the page.
    const int64_t end = look_.axis == FineScaleAxis::Ticked ? labels.count : INT64_MAX;
    for (int64_t label = (position + labels.spacing - 1) / labels.spacing; label < end; ++label) {
        const int64_t frequency = label * labels.spacing;
        const int64_t x = (frequency - position) / labels.step;
        if (x >= w) break;
        DrawLabel(p, int(x), frequency, w, h);
    }
}

void FineScale::DrawLabel(ui::Painter& p, int x, int64_t frequency, int w, int h) const {
    const ui::Color colour = look_.colours.axis;
    char text[32];
    std::snprintf(text, sizeof text, look_.labelFormat, static_cast<double>(frequency) / 10000.0);
    if (look_.axis == FineScaleAxis::Ticked) {
        // The last text may run off the page.
        p.Text(x, h - kLabelTop, text, colour);
        p.Line(x, h - kAxisUpper, x, h - kTickEnd, colour);
        return;
    }
    const int base = h - kBaseAboveBottom;
    for (int y = look_.overviewHeight + 2; y < base; y += 3) p.Line(x, y, x, y, kGrey);
    // 2 pixels right of its line; the last one keeps 2 pixels inside the scale.
    p.Text(std::min(x + 2, w - 2 - p.TextWidth(text)), base + 2, text, colour);
}

void FineScale::Draw(ui::Painter& p) {
    const int w = p.Width();
    const int h = p.Height();
    const int detailTop = look_.overviewHeight + 2;
    p.FillRect({0, 0, w, h}, kBlack);
    if (w <= 2 || h <= detailTop + kBaseAboveBottom || !panel_.State()) return;
    const FDX& s = *panel_.State();
    const LevelScale& scale = panel_.Scale;
    const FineScaleColours& colours = look_.colours;
    const int64_t position = panel_.ViewPosition;
    const int64_t viewStep = std::max<uint32_t>(panel_.ViewStep, 1);
    const int bar = look_.barDivisor;

    DrawOverview(p, w);

    const int base = h - kBaseAboveBottom;
    const auto columnOf = [&](int64_t frequency) { return (frequency - position) / viewStep; };
    if (s.SelectionStart >= 0 && s.SelectionEnd >= s.SelectionStart) {
        const int64_t x1 = std::max<int64_t>(columnOf(s.SelectionStart), 0);
        const int64_t x2 = std::min<int64_t>(columnOf(s.SelectionEnd), w - 1);
        if (x1 <= x2) p.FillRect({int(x1), detailTop, int(x2 - x1 + 1), base - detailTop}, kMarked);
    }

    DrawLabels(p, w, h);

    // One bar per column: the largest cell the column covers.
    for (int x = 0; x < w; ++x) {
        const int64_t first = scale.IndexOf(position + x * viewStep);
        if (first < 0) break;
        const int64_t last = std::max(first, scale.IndexOf(position + (x + 1) * viewStep - 1));
        uint8_t value = 0;
        for (int64_t c = first; c <= (last < 0 ? first : last); ++c)
            value = std::max(value, scale.Cell(c));
        if (value >= bar) p.Line(x, base, x, base - value / bar, colours.bar);
    }
    if (look_.axis == FineScaleAxis::Grid) p.Line(0, base, w - 1, base, colours.axis);

    // Stored fixed frequencies on the page: two lines 16 and 17 pixels above the bottom from
    // their first to their last column. They are held in ascending order of their start.
    if (look_.markScaleItems) {
        for (const UserSc* item : s.Scales) {
            if (item == nullptr) continue;
            if (columnOf(item->StartFrequency) >= w) break;
            if (int64_t{item->EndFrequency} < position) continue;
            const int x1 = int(std::max<int64_t>(columnOf(item->StartFrequency), 0));
            const int x2 = int(std::min<int64_t>(columnOf(item->EndFrequency), w - 1));
            p.Line(x1, h - 16, x2, h - 16, colours.scaleItem);
            p.Line(x1, h - 17, x2, h - 17, colours.scaleItem);
        }
    }

    // The cursor: its level bar in its own colour, the marker above it to the page's top.
    const int64_t cursor = columnOf(s.Frequency);
    if (s.Frequency >= position && cursor < w) {
        const int top = base - scale.At(s.Frequency) / bar;
        p.Line(int(cursor), base, int(cursor), top, colours.underMarker);
        if (top > detailTop) p.Line(int(cursor), top - 1, int(cursor), detailTop, colours.marker);
    }
}
