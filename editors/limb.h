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
#include "ui/form_controls.h"

// The controls of the form (ui/form_controls.h), in the order they are made.
// clang-format off
#define LIMB_CONTROLS(X) \
    X(101, CommandButton, cb_1, (4, 20, 28, 14), 0, "1", nullptr) \
    X(102, CommandButton, cb_2, (36, 20, 28, 14), 0, "2", nullptr) \
    X(103, CommandButton, cb_3, (68, 20, 28, 14), 0, "3", nullptr) \
    X(104, CommandButton, cb_4, (4, 36, 28, 14), 0, "4", nullptr) \
    X(105, CommandButton, cb_5, (36, 36, 28, 14), 0, "5", nullptr) \
    X(106, CommandButton, cb_6, (68, 36, 28, 14), 0, "6", nullptr) \
    X(107, CommandButton, cb_7, (4, 52, 28, 14), 0, "7", nullptr) \
    X(108, CommandButton, cb_8, (36, 52, 28, 14), 0, "8", nullptr) \
    X(109, CommandButton, cb_9, (68, 52, 28, 14), 0, "9", nullptr) \
    X(110, CommandButton, cb_10, (4, 68, 28, 14), 0, ".", nullptr) \
    X(111, CommandButton, cb_11, (36, 68, 28, 14), 0, "0", nullptr) \
    X(112, CommandButton, cb_12, (4, 84, 92, 14), 0, "Ввод", "Ввести набранную частоту") \
    X(113, CommandButton, cb_13, (68, 68, 28, 14), 0, "С", "Сброс частоты") \
    X(114, CommandButton, cb_14, (4, 124, 16, 14), 0, "<", "Влево на шаг шкалы") \
    X(115, CommandButton, cb_15, (80, 124, 16, 14), 0, ">", "Вправо на шаг шкалы") \
    X(116, Edit, screen, (4, 3, 92, 14), 0, nullptr, nullptr) /* the typed frequency, MHz */ \
    X(117, Canvas, knob, (22, 102, 56, 56), 0, nullptr, nullptr) /* the tuning knob */
// clang-format on

class Limb : public ui::Form {
  public:
    Limb();
    ~Limb() override;

    // Builds the window from "ID_Limb", a top-level window of `parent`, on the main state.
    bool Create(ui::Form* parent, FDX* state);

    // Controls, owned by the form; empty until the create event.
    UI_FORM_CONTROLS(LIMB_CONTROLS)
    std::array<ui::CommandButton*, 11> keys{};  // cb_1 .. cb_11: "1" .. "9", ".", "0"

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
