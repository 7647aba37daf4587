#include "windows/calibr.h"

#include <algorithm>
#include <cstdlib>

#include "state/format_text.h"
#include "state/message_bus.h"
#include "ui/form.h"
#include "ui/post.h"

namespace {

namespace st = ui::style;

constexpr ui::ControlResource kCalibrControls[] = {UI_CONTROL_ROWS(CALIBR_CONTROLS)};

constexpr ui::FormResource kCalibrForm{
    "ID_Calibr",    208, 219, "8.MS Sans Serif", st::kCaption, "Калибровка уровня сигнала ",
    kCalibrControls};

constexpr int kPoints = 17;
constexpr int kRowPitch = 16;        // pixels between two points: one per raw level
constexpr int32_t kLimit = kCalibrationLimit;
constexpr int32_t kLeastSpan = kLeastCalibrationSpan;
constexpr int kLineStep = 10;
constexpr int kPageStep = 160;
constexpr int32_t kLastLevel = 255;
constexpr int32_t kNoLevelProbe = 128;  // where the probe starts before a level is read
constexpr int kGap = 2;                 // pixels between a text and what it stands beside

constexpr ui::Color kBackground = 0x000000;
constexpr ui::Color kGrid = 0x808080;
constexpr ui::Color kCurve = 0xFFFF00;
constexpr ui::Color kPoint = 0xFF0000;
constexpr ui::Color kProbe = 0x00FF00;
constexpr ui::Color kText = 0xC0C0C0;

std::string Db(int32_t tenths) {
    return FormatText("%3.1f", tenths / 10.0);
}

}  // namespace

Calibr::Calibr() {
    ui::RegisterFormResource(kCalibrForm);
    On(ui::EventId::Create, [this](ui::EventData&) { OnCreate(); });
    On(ui::EventId::Close, [this](ui::EventData&) { DestroyLater(); });
    On(ui::EventId::Destroy, [this](ui::EventData&) {
        if (fdx_ == nullptr) return;
        fdx_->CalibrOpen = 0;
        fdx_->BuildLevelTable();
    });
    On(ui::EventId::RightButtonUp,
       [this](ui::EventData&) { PostPrivateMessage(fdx_->Owner, PostRunMacro); });
}

Calibr::~Calibr() {
    Destroy();
}

bool Calibr::Create(ui::Form* parent, FDX* state) {
    if (state == nullptr) return false;
    fdx_ = state;
    return ui::Form::Create("ID_Calibr", parent);
}

void Calibr::OnCreate() {
    CreateFormControls();
    for (ui::ScrollBar* bar : {templ, signal}) {
        bar->SetRange(-kLimit, kLimit);
        bar->SetSingleStep(kLineStep);
        bar->SetPageStep(kPageStep);
    }
    const ui::Rect graph = pictb_1->Geometry();
    pictureWidth_ = std::max(graph.width, 1);
    pictureHeight_ = std::max(graph.height, 1);
    picture_ = std::make_unique<ui::Picture>(pictureWidth_, pictureHeight_);
    pictb_1->SetPainter([this](ui::Painter& p) {
        p.Copy(*picture_, {0, 0, pictureWidth_, pictureHeight_}, 0, 0);
    });
    Layout();

    templ->On(ui::EventId::Change, [this](ui::EventData& e) { MoveUpperLimit(int(e.value)); });
    signal->On(ui::EventId::Change, [this](ui::EventData& e) { MoveLowerLimit(int(e.value)); });
    pictb_1->On(ui::EventId::LeftButtonDown, [this](ui::EventData& e) { MouseDown(e.x, e.y); });
    pictb_1->On(ui::EventId::MouseMove, [this](ui::EventData& e) { MouseMove(e.x, e.y); });
    pictb_1->On(ui::EventId::LeftButtonUp, [this](ui::EventData&) { MouseUp(); });
    pictb_1->On(ui::EventId::MouseLeave, [this](ui::EventData&) { MouseUp(); });
    pictb_1->On(ui::EventId::RightButtonUp,
                [this](ui::EventData&) { PostPrivateMessage(fdx_->Owner, PostRunMacro); });

    probe_ = fdx_->Level <= 0 ? kNoLevelProbe : std::min(fdx_->Level, kLastLevel);
    fdx_->CalibrOpen = 1;
    SetName("Calibr");
    Draw();
}

// ---- geometry

// The values' column on the left, as wide as the widest value; the limits' and the probe's
// texts in a band at the top and the bottom; the circles wholly inside.
void Calibr::Layout() {
    ui::Painter& p = picture_->Draw();
    line_ = p.TextHeight();
    const int valueWidth = p.TextWidth(Db(-kLimit));
    left_ = valueWidth + kGap + kRadius;
    width_ = std::max(pictureWidth_ - 1 - kRadius - left_, 1);
    bottom_ = pictureHeight_ - 1 - line_ - kGap - kRadius;
    texts_.top = {0, 0, pictureWidth_, line_};
    texts_.bottom = {0, pictureHeight_ - line_, pictureWidth_, line_};
    for (int i = 1; i < kPoints - 1; ++i)
        texts_.values[std::size_t(i)] = {0, Row(i) - line_ / 2, valueWidth, line_};
}

double Calibr::Scale() const {
    const auto& t = fdx_->Calibration;
    return double(int64_t{t[kPoints - 1]} - t[0]) / width_;
}

int Calibr::ColumnOf(int32_t value) const {
    const double scale = Scale();
    if (scale <= 0) return 0;
    return int(double(std::abs(int64_t{value} - fdx_->Calibration[0])) / scale);
}

int Calibr::Row(int i) const {
    return bottom_ - kRowPitch * i;
}

// Raw level r lies a row below point r / 16's: the probe at a point's level runs just under it.
int Calibr::ProbeRow() const {
    return bottom_ + 1 - probe_;
}

bool Calibr::InsideGraph(int x, int y) const {
    return x >= 0 && x < pictureWidth_ && y >= 0 && y < pictureHeight_;
}

void Calibr::KeepColumns() {
    auto& t = fdx_->Calibration;
    const double scale = Scale();
    for (int i = 1; i < kPoints - 1; ++i) {
        const int column = columns_[std::size_t(i)];
        int32_t value = std::clamp(t[0] + int32_t(column * scale), t[0], t[kPoints - 1]);
        while (ColumnOf(value) < column && value < t[kPoints - 1]) ++value;
        while (ColumnOf(value) > column && value > t[0]) --value;
        t[std::size_t(i)] = std::max(value, t[std::size_t(i - 1)]);
    }
}

// ---- the limits

void Calibr::MoveUpperLimit(int position) {
    auto& t = fdx_->Calibration;
    if (position > t[0] && int64_t{position} - t[0] >= kLeastSpan && position <= kLimit) {
        t[kPoints - 1] = position;
        KeepColumns();
    }
    Draw();
}

void Calibr::MoveLowerLimit(int position) {
    auto& t = fdx_->Calibration;
    if (position < t[kPoints - 1] && int64_t{t[kPoints - 1]} - position >= kLeastSpan &&
        position >= -kLimit) {
        t[0] = position;
        KeepColumns();
    }
    Draw();
}

// ---- dragging

void Calibr::MouseDown(int x, int y) {
    if (!InsideGraph(x, y)) return;
    for (int i = 1; i < kPoints - 1; ++i) {
        const int dx = x - Column(i);
        const int dy = y - Row(i);
        if (dx * dx + dy * dy <= kRadius * kRadius) {
            dragging_ = i;
            return;
        }
    }
    if (std::abs(y - ProbeRow()) <= kRadius) dragging_ = kPoints - 1;
}

void Calibr::MouseMove(int x, int y) {
    if (dragging_ == 0) return;
    if (dragging_ == kPoints - 1) {
        if (!InsideGraph(x, y)) {
            dragging_ = 0;
            return;
        }
        probe_ = std::clamp(bottom_ + 1 - y, 0, kLastLevel);
    } else {
        // The point follows the pointer while it stays in the point's row. A move that would
        // take it beyond a neighbour's value is not taken: the point stays at the last value
        // the operator gave it, rather than at the neighbour's.
        if (!InsideGraph(x, y) || std::abs(y - Row(dragging_)) > kRowPitch / 2) {
            dragging_ = 0;
            return;
        }
        auto& t = fdx_->Calibration;
        const auto i = std::size_t(dragging_);
        const int64_t value = t[0] + int64_t((x - left_) * Scale());
        if (value < t[i - 1] || value > t[i + 1]) return;
        t[i] = int32_t(value);
    }
    Draw();
}

void Calibr::MouseUp() {
    dragging_ = 0;
}

// ---- drawing

void Calibr::Draw() {
    const auto& t = fdx_->Calibration;
    for (int i = 0; i < kPoints; ++i) columns_[std::size_t(i)] = ColumnOf(t[std::size_t(i)]);

    ui::Painter& p = picture_->Draw();
    p.FillRect({0, 0, pictureWidth_, pictureHeight_}, kBackground);
    const int gridFrom = left_ - kRadius;
    for (int i = 0; i < kPoints; ++i) {
        if (Row(i) == ProbeRow()) continue;
        p.SetPen({kGrid, 1, ui::PenStyle::Dot});
        p.Line(gridFrom, Row(i), pictureWidth_ - 1, Row(i));
    }
    std::vector<ui::Point> curve;
    for (int i = 0; i < kPoints; ++i) curve.push_back({Column(i), Row(i)});
    p.SetPen({kCurve, 1});
    p.Polyline(curve);
    p.SetPen({kPoint, 1});
    p.SetBrush(kPoint);
    for (const ui::Point& point : curve)
        p.Ellipse({point.x - kRadius, point.y - kRadius, 2 * kRadius + 1, 2 * kRadius + 1});
    p.SetNoBrush();
    p.SetPen({kProbe, 1});
    p.Line(gridFrom, ProbeRow(), pictureWidth_ - 1, ProbeRow());
    DrawTexts(p);

    signal->SetPosition(t[0]);
    templ->SetPosition(t[kPoints - 1]);
    pictb_1->Redraw();
}

void Calibr::DrawTexts(ui::Painter& p) {
    const auto& t = fdx_->Calibration;
    p.SetTextColor(kText);
    for (int i = 1; i < kPoints - 1; ++i)
        p.TextInRect(texts_.values[std::size_t(i)], Db(t[std::size_t(i)]), ui::HAlign::Right);
    p.TextInRect(texts_.top, "Umax=" + Db(t[kPoints - 1]) + " db", ui::HAlign::Center);
    p.TextInRect(texts_.bottom, "Umin=" + Db(t[0]) + " db", ui::HAlign::Center);
    p.TextInRect(texts_.top, "Udb=" + Db(fdx_->LevelToDb(uint32_t(probe_))));
    p.TextInRect(texts_.bottom, FormatText("Uunit=%u", unsigned(probe_)));
}
