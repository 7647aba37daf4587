#include "receivers/fine_scale.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "receivers/panel.h"
#include "state/message_bus.h"
#include "state/user_sc.h"

namespace {

constexpr ui::Color kBlack = 0x000000;
constexpr ui::Color kSilver = 0xc0c0c0;
constexpr ui::Color kGrey = 0x606060;
constexpr ui::Color kGreen = 0x00c000;
constexpr ui::Color kYellow = 0xffff00;
constexpr ui::Color kRed = 0xff0000;
constexpr ui::Color kMarked = 0x000080;
constexpr ui::Color kScaleItem = 0x00ffff;
constexpr int kBaseAboveBottom = 19;  // the page's base line above its bottom
constexpr int kAxisAboveBottom = 18;  // the overview's axis above the overview's bottom

constexpr int kNoPeakMessage = 29;
constexpr int kNoFixedMessage = 30;
constexpr const char* kClearQuestion = "Вы действительно хотите очистить шкалу?";

// The grid step of the fine scale, 100 Hz units: about a third of the page's columns apart.
int64_t GridStep(int width, uint32_t viewStep) {
    return std::max<int64_t>(
        OneTwoFive(static_cast<double>(width / 3) * static_cast<double>(viewStep)), viewStep);
}

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
    int index = 0;
    panel_.ViewStep = look_.viewSteps[0].step;
    for (int i = 0; i < static_cast<int>(look_.viewSteps.size()); ++i) {
        if (look_.viewSteps[i].step != value) continue;
        index = i;
        panel_.ViewStep = value;
    }
    if (stepList_) stepList_->SetSelectedIndex(index);
    FollowFrequency();
    Redraw();
}

void FineScale::OnViewStepChosen() {
    const int index = stepList_->SelectedIndex();
    if (index >= 0 && index < static_cast<int>(look_.viewSteps.size()))
        SetViewStep(look_.viewSteps[index].step);
}

void FineScale::FollowFrequency() {
    if (!canvas_) return;
    width_ = canvas_->Geometry().width;
    if (width_ <= 0) return;
    const int64_t page = int64_t{width_} * panel_.ViewStep;
    const int64_t f = panel_.State()->Frequency;
    int64_t position = panel_.ViewPosition;
    if (f < position) position -= (position - f + page - 1) / page * page;
    if (f >= position + page) position += (f - position) / page * page;
    panel_.ViewPosition =
        static_cast<uint32_t>(std::clamp<int64_t>(position, 0, panel_.UpperLimit));
    ShowScrollBar();
}

// The scroll bar counts grid divisions: an arrow moves the view by one, the track by a page.
void FineScale::ShowScrollBar() {
    if (!scrollBar_ || width_ <= 0) return;
    const int64_t grid = GridStep(width_, panel_.ViewStep);
    const int64_t divisions = (int64_t{panel_.UpperLimit} + grid - 1) / grid;
    const int64_t pageDivisions = std::max<int64_t>(int64_t{width_} * panel_.ViewStep / grid, 1);
    scrollBar_->SetRange(0, static_cast<int>(std::max<int64_t>(divisions - pageDivisions, 0)));
    scrollBar_->SetPageStep(static_cast<int>(pageDivisions));
    scrollBar_->SetPosition(static_cast<int>(panel_.ViewPosition / grid));
}

void FineScale::OnScrolled(int64_t division) {
    if (width_ <= 0) return;
    const int64_t grid = GridStep(width_, panel_.ViewStep);
    panel_.ViewPosition =
        static_cast<uint32_t>(std::clamp<int64_t>(division, 0, scrollBar_->High()) * grid);
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

void FineScale::DrawOverviewAxis(ui::Painter& p, int w) const {
    const int h = look_.overviewHeight;
    const int64_t unit = std::max<int64_t>(look_.overviewUnit, 1);
    p.Line(0, h - 15, w - 1, h - 15, kSilver);
    p.Line(0, h - kAxisAboveBottom, w - 1, h - kAxisAboveBottom, kSilver);
    for (int64_t f = 0; f / unit < w; f += look_.overviewLabelEvery) {
        const int x = int(f / unit);
        p.Line(x, h - kAxisAboveBottom, x, h - 13, kSilver);
        char label[32];
        std::snprintf(label, sizeof label, "%.0f", static_cast<double>(f) / 10000.0);
        const int left =
            std::clamp(x - p.TextWidth(label) / 2, 0, std::max(w - p.TextWidth(label), 0));
        p.Text(left, h - 13, label, kSilver);
    }
}

void FineScale::Draw(ui::Painter& p) {
    const int w = p.Width();
    const int h = p.Height();
    const int detailTop = look_.overviewHeight + 2;
    p.FillRect({0, 0, w, h}, kBlack);
    if (w <= 2 || h <= detailTop + kBaseAboveBottom || !panel_.State()) return;
    const FDX& s = *panel_.State();
    const LevelScale& scale = panel_.Scale;
    const int64_t position = panel_.ViewPosition;
    const int64_t viewStep = std::max<uint32_t>(panel_.ViewStep, 1);
    const int bar = look_.barDivisor;

    // Overview of the whole range with the current frequency marked (above its axis).
    p.Line(0, 0, w - 1, 0, kSilver);
    p.Line(0, look_.overviewHeight - 1, w - 1, look_.overviewHeight - 1, kSilver);
    const bool axis = look_.overviewLabelEvery > 0 && look_.overviewHeight > kAxisAboveBottom;
    if (axis) DrawOverviewAxis(p, w);
    const int64_t mark = int64_t{s.Frequency} / std::max<int64_t>(look_.overviewUnit, 1);
    const int markEnd = look_.overviewHeight - (axis ? kAxisAboveBottom + 1 : 2);
    if (mark < w) p.Line(int(mark), 1, int(mark), markEnd, kRed);

    const int base = h - kBaseAboveBottom;
    const auto columnOf = [&](int64_t frequency) { return (frequency - position) / viewStep; };
    if (s.SelectionStart >= 0 && s.SelectionEnd >= s.SelectionStart) {
        const int64_t x1 = std::max<int64_t>(columnOf(s.SelectionStart), 0);
        const int64_t x2 = std::min<int64_t>(columnOf(s.SelectionEnd), w - 1);
        if (x1 <= x2) p.FillRect({int(x1), detailTop, int(x2 - x1 + 1), base - detailTop}, kMarked);
    }

    // Grid lines and their MHz labels.
    const int64_t grid = GridStep(w, panel_.ViewStep);
    for (int64_t line = (position + grid - 1) / grid * grid; columnOf(line) < w; line += grid) {
        const int x = int(columnOf(line));
        for (int y = detailTop; y < base; y += 3) p.Line(x, y, x, y, kGrey);
        char label[32];
        std::snprintf(label, sizeof label, "%5.1f", static_cast<double>(line) / 10000.0);
        // 2 pixels right of its line; the last one keeps 2 pixels inside the scale.
        p.Text(std::min(x + 2, w - 2 - p.TextWidth(label)), base + 2, label, kSilver);
    }

    // One bar per column: the largest cell the column covers.
    for (int x = 0; x < w; ++x) {
        const int64_t first = scale.IndexOf(position + x * viewStep);
        if (first < 0) break;
        const int64_t last = std::max(first, scale.IndexOf(position + (x + 1) * viewStep - 1));
        uint8_t value = 0;
        for (int64_t c = first; c <= (last < 0 ? first : last); ++c)
            value = std::max(value, scale.Cell(c));
        if (value >= bar) p.Line(x, base, x, base - value / bar, kGreen);
    }
    p.Line(0, base, w - 1, base, kSilver);

    // Stored fixed frequencies on the page: two lines 16 and 17 pixels above the bottom from
    // their first to their last column. They are held in ascending order of their start.
    if (look_.markScaleItems) {
        for (const UserSc* item : s.Scales) {
            if (item == nullptr) continue;
            if (columnOf(item->StartFrequency) >= w) break;
            if (int64_t{item->EndFrequency} < position) continue;
            const int x1 = int(std::max<int64_t>(columnOf(item->StartFrequency), 0));
            const int x2 = int(std::min<int64_t>(columnOf(item->EndFrequency), w - 1));
            p.Line(x1, h - 16, x2, h - 16, kScaleItem);
            p.Line(x1, h - 17, x2, h - 17, kScaleItem);
        }
    }

    // The cursor: yellow up to the level, red above it.
    const int64_t cursor = columnOf(s.Frequency);
    if (s.Frequency >= position && cursor < w) {
        const int top = base - scale.At(s.Frequency) / bar;
        p.Line(int(cursor), base, int(cursor), top, kYellow);
        if (top > detailTop) p.Line(int(cursor), top - 1, int(cursor), detailTop, kRed);
    }
}
