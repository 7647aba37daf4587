#include "editors/limb.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "state/message_bus.h"
#include "ui/form.h"
#include "ui/post.h"

namespace {

namespace st = ui::style;

constexpr ui::ControlResource kLimbControls[] = {UI_CONTROL_ROWS(LIMB_CONTROLS)};

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
    CreateFormControls();
    keys = {cb_1, cb_2, cb_3, cb_4, cb_5, cb_6, cb_7, cb_8, cb_9, cb_10, cb_11};
    for (std::size_t i = 0; i < keys.size(); ++i)
        keys[i]->On(ui::EventId::Click,
                    [this, key = kKeyCharacters[i]](ui::EventData&) { PressKey(key); });
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
