#pragma once
// The manual control window `Limb` ("Ручное управление"): a keypad to type a frequency in MHz
// and send it to the receiver, and a tuning knob that steps the receiver one step left or
// right per click and keeps stepping while a mouse button holds it. It talks to the receiver
// only through the main window: PostApplyFrequency with FDX::TuneFrequency ..., PostStepDown
// and PostStepUp, whose step the main window acknowledges with PostFrequencyStepped.
//
// The main window makes it from its manual-control button, posts it the 100 ms timer tick while
// it is open (FDX::LimbOpen) and forwards every PostFrequencyStepped to it.

#include <array>
#include <cstdint>
#include <string>

#include "state/fdx.h"
#include "ui/controls.h"

class Limb : public ui::Form {
  public:
    Limb();
    ~Limb() override;

    // Builds the window from "ID_Limb", a top-level window of `parent`, on the main state.
    bool Create(ui::Form* parent, FDX* state);

    // Controls, owned by the form; empty until the create event.
    std::array<ui::CommandButton*, 11> keys{};  // cb_1 .. cb_11: "1" .. "9", ".", "0"
    ui::CommandButton* cb_12 = nullptr;         // "Ввести набранную частоту"
    ui::CommandButton* cb_13 = nullptr;         // "Сброс частоты"
    ui::CommandButton* cb_14 = nullptr;         // "Влево на шаг шкалы"
    ui::CommandButton* cb_15 = nullptr;         // "Вправо на шаг шкалы"
    ui::Edit* screen = nullptr;                 // the typed frequency, MHz
    ui::Canvas* knob = nullptr;                 // the tuning knob

    // The posted codes the window serves: PostTimerTick and PostFrequencyStepped.
    void OnUserEvent(uint32_t code);

    // What the controls do.
    void PressKey(char key);  // a digit or "."
    void EnterFrequency();    // cb_12
    void ResetFrequency();    // cb_13
    void StepLeft();
    void StepRight();
    // A button pressed on the knob (inside its circle only) and released anywhere.
    void KnobDown(int x, int y, bool rightButton);
    void KnobUp();

    // The marker's position on the knob, 0..11.
    int Marker() const { return marker_; }

  private:
    void OnCreate();
    void DrawKnob(ui::Painter& p) const;
    void Step(int direction);
    void PostToMain(uint32_t code);

    FDX* fdx_ = nullptr;
    bool entered_ = false;  // the typed frequency was sent: a key starts a new one
    int marker_ = 0;
    bool stepping_ = false;      // a step is being made
    int32_t delay_ = 0;          // ticks before the held knob steps again
    bool acknowledged_ = false;  // the main window made the last step
    bool pending_ = false;       // a step is due at the next tick
};
