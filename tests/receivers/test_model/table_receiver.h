#pragma once
// A receiver model of the tests alone: every tune is answered at once and every level read
// from a small table, without a serial port. Registered at run time for a type no model
// uses, it shows that a model needs nothing of the main window's besides its registry line.

#include <cstdint>
#include <span>
#include <vector>

#include "receivers/panel_registry.h"
#include "ui/form_controls.h"

// The model's controls (ui/form_controls.h): its name, as a panel names the set it drives.
// clang-format off
#define TABLE_RECEIVER_CONTROLS(X) \
    X(101, Label, label_1, (4, 2, 150, 14), kBold | kNoWrap, "Таблица уровней", nullptr)
// clang-format on

class TableReceiver : public ReceiverPanel {
  public:
    static constexpr int32_t kType = 13;
    static constexpr PanelTraits kTraits{.serialPort = false};
    // The levels the receiver hears; every other frequency hears the noise.
    struct Point {
        uint32_t frequency;  // 100 Hz units
        int32_t level;
    };
    static constexpr Point kLevels[] = {
        {1'000'000, 12}, {1'000'100, 40}, {1'000'200, 180}, {1'000'300, 90}, {1'000'400, 15},
    };
    static constexpr int32_t kNoise = 7;

    TableReceiver();
    ~TableReceiver() override;

    bool Create(ui::Form* parent, FDX* fdx) override;
    bool SetFrequency() override;
    int32_t ReadLevel() override;
    bool Poll(bool timerTick) override;

    // Controls, owned by the form; empty until the create event.
    UI_FORM_CONTROLS(TABLE_RECEIVER_CONTROLS)

    // The frequencies tuned, in order.
    std::vector<uint32_t> Tuned;
    // The 100 ms ticks and the one-second PostTimerTick codes that reached the panel.
    int ReplyTicks = 0;
    int SecondTicks = 0;
};
