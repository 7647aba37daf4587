// The manual control: the keypad's frequency, the knob's marker and steps, and the stepping of a
// knob held down against a main window that acknowledges every step.

#include "editors/limb.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "state/message_bus.h"
#include "tests/editors/editor_fixture.h"

namespace {

using Codes = std::vector<uint32_t>;

class ManualControl : public ::testing::Test {
  protected:
    ManualControl() {
        PrepareState(fdx, main);
        window.Create(&main, &fdx);
    }
    void Click(ui::Window* control) { control->Raise(ui::EventId::Click); }
    // The knob's centre and a point outside its circle, in the knob's pixels.
    int CentreX() const { return window.knob->Geometry().width / 2; }
    int CentreY() const { return window.knob->Geometry().height / 2; }
    void Press(ui::EventId button, int x, int y) {
        ui::EventData press;
        press.id = button;
        press.x = x;
        press.y = y;
        window.knob->Raise(press);
    }

    CodeSink main;
    FDX fdx;
    Limb window;
};

TEST_F(ManualControl, TheKeypadSendsTheTypedFrequencyAndStartsANewOneAfterwards) {
    fdx.Modulation = 'A';
    fdx.Attenuator = 1;
    fdx.Step = 125;
    for (int key : {0, 3, 4, 9, 4}) Click(window.keys[std::size_t(key)]);  // 1 4 5 . 5
    EXPECT_EQ(window.screen->Text(), "145.5");
    Click(window.cb_12);
    EXPECT_EQ(main.Take(), Codes{PostApplyFrequency});
    EXPECT_EQ(fdx.TuneFrequency, 1455000u);
    EXPECT_EQ(fdx.TuneModulation, 'A');
    EXPECT_EQ(fdx.TuneAttenuator, 1);
    EXPECT_EQ(fdx.TuneStep, 125u);

    Click(window.keys[10]);  // 0: a new number
    Click(window.keys[6]);
    EXPECT_EQ(window.screen->Text(), "07");
    Click(window.cb_13);
    EXPECT_EQ(window.screen->Text(), "");
    Click(window.keys[1]);
    EXPECT_EQ(window.screen->Text(), "2");
}

TEST_F(ManualControl, TwelveStepsRightBringTheMarkerBack) {
    for (int i = 0; i < 12; ++i) Click(window.cb_15);
    EXPECT_EQ(window.Marker(), 0);
    EXPECT_EQ(main.Take(), Codes(12, PostStepUp));
    Click(window.cb_14);
    EXPECT_EQ(window.Marker(), 11);
    EXPECT_EQ(main.Take(), Codes{PostStepDown});
}

TEST_F(ManualControl, AHeldKnobStepsOnceThenOncePerTickAfterEachAcknowledgement) {
    // The main window makes every step and says so, as it does for the receiver.
    main.onCode = [this](uint32_t code) {
        if (code == PostStepUp || code == PostStepDown)
            PostPrivateMessage(&window, PostFrequencyStepped);
    };
    Press(ui::EventId::RightButtonDown, 0, 0);  // outside the circle: nothing
    EXPECT_EQ(main.Take(), Codes{});
    EXPECT_EQ(fdx.KnobRightHeld, 0);

    Press(ui::EventId::RightButtonDown, CentreX(), CentreY());
    EXPECT_EQ(main.Take(), Codes{PostStepUp});  // and its acknowledgement is back
    std::vector<int> stepsPerTick;
    const auto tick = [&] {
        window.OnUserEvent(PostTimerTick);
        stepsPerTick.push_back(int(main.Take().size()));
    };
    for (int i = 0; i < 6; ++i) tick();
    EXPECT_EQ(stepsPerTick, (std::vector<int>{0, 0, 0, 1, 1, 1}));
    EXPECT_EQ(window.Marker(), 4);

    window.knob->Raise(ui::EventId::RightButtonUp);
    stepsPerTick.clear();
    for (int i = 0; i < 5; ++i) tick();
    EXPECT_EQ(stepsPerTick, (std::vector<int>(5, 0)));
    EXPECT_EQ(fdx.KnobRightHeld, 0);

    // Without acknowledgements a held knob makes its one step and waits.
    main.onCode = nullptr;
    Press(ui::EventId::LeftButtonDown, CentreX(), CentreY());
    EXPECT_EQ(main.Take(), Codes{PostStepDown});
    stepsPerTick.clear();
    for (int i = 0; i < 6; ++i) tick();
    EXPECT_EQ(stepsPerTick, (std::vector<int>(6, 0)));
}

}  // namespace
