#include "editors/limb.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "state/message_bus.h"
#include "ui/form.h"
#include "ui/post.h"

namespace {

using ui::ControlKind;
namespace st = ui::style;

// Rectangles in dialog units: left, top, width, height.
// clang-format off
constexpr ui::ControlResource kLimbControls[] = {
    {101, ControlKind::CommandButton, "cb_1", {4, 20, 28, 14}, 0, "1", nullptr},
    {102, ControlKind::CommandButton, "cb_2", {36, 20, 28, 14}, 0, "2", nullptr},
    {103, ControlKind::CommandButton, "cb_3", {68, 20, 28, 14}, 0, "3", nullptr},
    {104, ControlKind::CommandButton, "cb_4", {4, 36, 28, 14}, 0, "4", nullptr},
    {105, ControlKind::CommandButton, "cb_5", {36, 36, 28, 14}, 0, "5", nullptr},
    {106, ControlKind::CommandButton, "cb_6", {68, 36, 28, 14}, 0, "6", nullptr},
    {107, ControlKind::CommandButton, "cb_7", {4, 52, 28, 14}, 0, "7", nullptr},
    {108, ControlKind::CommandButton, "cb_8", {36, 52, 28, 14}, 0, "8", nullptr},
    {109, ControlKind::CommandButton, "cb_9", {68, 52, 28, 14}, 0, "9", nullptr},
    {110, ControlKind::CommandButton, "cb_10", {4, 68, 28, 14}, 0, ".", nullptr},
    {111, ControlKind::CommandButton, "cb_11", {36, 68, 28, 14}, 0, "0", nullptr},
    {112, ControlKind::CommandButton, "cb_12", {4, 84, 92, 14}, 0, "Ввод", "Ввести набранную частоту"},
    {113, ControlKind::CommandButton, "cb_13", {68, 68, 28, 14}, 0, "С", "Сброс частоты"},
    {114, ControlKind::CommandButton, "cb_14", {4, 124, 16, 14}, 0, "<", "Влево на шаг шкалы"},
    {115, ControlKind::CommandButton, "cb_15", {80, 124, 16, 14}, 0, ">", "Вправо на шаг шкалы"},
    {116, ControlKind::Edit, "screen", {4, 3, 92, 14}, 0, nullptr, nullptr},
    {117, ControlKind::Canvas, "knob", {22, 102, 56, 56}, 0, nullptr, nullptr},
};
// clang-format on

constexpr ui::FormResource kLimbForm{
    "ID_Limb", 100, 162, "8.MS Sans Serif", st::kCaption, "Ручное управление", kLimbControls};

constexpr char kKeyCharacters[] = "123456789.0";
constexpr int kMarkerPositions = 12;
// After a step the held knob waits for its acknowledgement and this many ticks.
constexpr int32_t kRepeatDelay = 3;

constexpr ui::Color kFace = 0xd4d0c8;
constexpr ui::Color kKnob = 0xa0a0a0;
constexpr ui::Color kMarkerColor = 0xff0000;

// The knob's circle within a canvas of that size.
struct Circle {
    int cx, cy, r;
};
Circle KnobCircle(int width, int height) {
    return {width / 2, height / 2, std::min(width, height) / 2 - 2};
}

}  // namespace

Limb::Limb() {
    ui::RegisterFormResource(kLimbForm);
    On(ui::EventId::Create, [this](ui::EventData&) { OnCreate(); });
    On(ui::EventId::User, [this](ui::EventData& e) { OnUserEvent(e.code); });
}

Limb::~Limb() {
    Destroy();
}

bool Limb::Create(ui::Form* parent, FDX* state) {
    if (state == nullptr) return false;
    fdx_ = state;
    return ui::Form::Create("ID_Limb", parent);
}

void Limb::OnCreate() {
    for (std::size_t i = 0; i < keys.size(); ++i) {
        keys[i] = CreateControl<ui::CommandButton>(101 + int(i));
        keys[i]->On(ui::EventId::Click,
                    [this, key = kKeyCharacters[i]](ui::EventData&) { PressKey(key); });
    }
    cb_12 = CreateControl<ui::CommandButton>(112);
    cb_13 = CreateControl<ui::CommandButton>(113);
    cb_14 = CreateControl<ui::CommandButton>(114);
    cb_15 = CreateControl<ui::CommandButton>(115);
    screen = CreateControl<ui::Edit>(116);
    knob = CreateControl<ui::Canvas>(117);
    screen->SetFont("10.MS Sans Serif", true);

    cb_12->On(ui::EventId::Click, [this](ui::EventData&) { EnterFrequency(); });
    cb_13->On(ui::EventId::Click, [this](ui::EventData&) { ResetFrequency(); });
    cb_14->On(ui::EventId::Click, [this](ui::EventData&) { StepLeft(); });
    cb_15->On(ui::EventId::Click, [this](ui::EventData&) { StepRight(); });
    screen->On(ui::EventId::Change, [this](ui::EventData&) { entered_ = false; });
    knob->SetPainter([this](ui::Painter& p) { DrawKnob(p); });
    knob->On(ui::EventId::LeftButtonDown, [this](ui::EventData& e) { KnobDown(e.x, e.y, false); });
    knob->On(ui::EventId::RightButtonDown, [this](ui::EventData& e) { KnobDown(e.x, e.y, true); });
    knob->On(ui::EventId::LeftButtonUp, [this](ui::EventData&) { KnobUp(); });
    knob->On(ui::EventId::RightButtonUp, [this](ui::EventData&) { KnobUp(); });
    SetName("Limb");
}

void Limb::PostToMain(uint32_t code) {
    PostPrivateMessage(fdx_->Owner, code);
}

// ---- the keypad

void Limb::PressKey(char key) {
    if (entered_) {
        entered_ = false;
        screen->SetText("");
    }
    screen->SetText(screen->Text() + key);
}

void Limb::EnterFrequency() {
    FDX& s = *fdx_;
    s.TuneModulation = s.Modulation;
    s.TuneAttenuator = s.Attenuator;
    s.TuneStep = s.Step;
    s.TuneFrequency = FDX::ParseMHz(screen->Text());
    PostToMain(PostApplyFrequency);
    entered_ = true;
}

void Limb::ResetFrequency() {
    screen->SetText("");
    entered_ = false;
}

// ---- the knob

void Limb::DrawKnob(ui::Painter& p) const {
    p.FillRect({0, 0, p.Width(), p.Height()}, kFace);
    const Circle c = KnobCircle(p.Width(), p.Height());
    p.SetPen({0x000000, 1});
    p.SetBrush(kKnob);
    p.Ellipse({c.cx - c.r, c.cy - c.r, 2 * c.r + 1, 2 * c.r + 1});
    // The marker: a dot near the rim, position 0 at the top, going round clockwise.
    const double angle = 2 * std::numbers::pi * marker_ / kMarkerPositions;
    const int mx = c.cx + int(std::lround(0.7 * c.r * std::sin(angle)));
    const int my = c.cy - int(std::lround(0.7 * c.r * std::cos(angle)));
    const int dot = std::max(c.r / 6, 2);
    p.SetPen({kMarkerColor, 1});
    p.SetBrush(kMarkerColor);
    p.Ellipse({mx - dot, my - dot, 2 * dot + 1, 2 * dot + 1});
}

void Limb::StepLeft() {
    Step(-1);
}

void Limb::StepRight() {
    Step(+1);
}

void Limb::Step(int direction) {
    if (stepping_) return;
    stepping_ = true;
    marker_ = (marker_ + direction + kMarkerPositions) % kMarkerPositions;
    if (knob != nullptr) knob->Redraw();
    PostToMain(direction < 0 ? PostStepDown : PostStepUp);
    stepping_ = false;
}

void Limb::KnobDown(int x, int y, bool rightButton) {
    const ui::Rect area = knob->Geometry();
    const Circle c = KnobCircle(area.width, area.height);
    const int64_t dx = x - c.cx, dy = y - c.cy;
    if (dx * dx + dy * dy > int64_t{c.r} * c.r) return;
    (rightButton ? fdx_->KnobRightHeld : fdx_->KnobLeftHeld) = 1;
    delay_ = kRepeatDelay;
    acknowledged_ = false;
    Step(rightButton ? +1 : -1);
}

void Limb::KnobUp() {
    fdx_->KnobLeftHeld = fdx_->KnobRightHeld = 0;
    delay_ = kRepeatDelay;
    acknowledged_ = false;
}

// ---- the codes

// A held knob steps once at once, waits for the main window's acknowledgement and three
// ticks, and from then on steps once a tick, each time the last step was acknowledged.
void Limb::OnUserEvent(uint32_t code) {
    if (fdx_ == nullptr || !HasWindow()) return;
    switch (code) {
        case PostTimerTick: {
            const bool held = fdx_->KnobLeftHeld || fdx_->KnobRightHeld;
            if (held && acknowledged_) {
                if (delay_ < 1) {
                    acknowledged_ = false;
                    pending_ = true;
                    PostPrivateMessage(this, PostFrequencyStepped);
                } else {
                    --delay_;
                }
            }
            if (!acknowledged_ && pending_) {
                pending_ = false;
                if (fdx_->KnobLeftHeld) StepLeft();
                if (fdx_->KnobRightHeld) StepRight();
            }
            break;
        }
        case PostFrequencyStepped:
            if (delay_ == 0)
                pending_ = true;
            else
                acknowledged_ = true;
            break;
        default:
            break;
    }
}
