#pragma once
// The IC-R75 panel (receiver type 10, and the type a configuration without a receiver
// starts with): a receiver at address 5A over 100 kHz..60 MHz, built as the IC-756PRO's
// panel. It differs in its tables: one stored filter choice for every mode, an attenuator of
// 20 dB, steps up to 1 MHz, power off and on as its standby, eight characters of channel name
// after the attenuator, preamplifier and antenna bytes of its memory record, memory mode
// before each transfer, and its own scan started in the range or the bank regime chosen on
// the panel itself, every stop of which puts its frequency into the bank.

#include <cstdint>

#include "receivers/icom/hf/hf_panel.h"

// The controls the IC-R75 has beyond the shared ones (ui/form_controls.h).
// clang-format off
#define IC75_CONTROLS(X) \
    X(140, CheckBox, catt, (126, 98, 34, 10), 0, "Атт 20", "Аттеньюатор 20 дБ") \
    X(141, OptionButton, scandiap, (162, 98, 44, 10), 0, "Диапазон", "Сканировать диапазон каналов 100-101") \
    X(142, OptionButton, scanbank, (208, 98, 30, 10), 0, "Банк", "Сканировать по банку частот") \
    X(143, OptionButton, scansel, (240, 98, 39, 10), 0, "Выбор", "Сканировать по выбранным в банке каналам") \
    X(144, CheckBox, famp, (36, 115, 36, 10), 0, "ПРЕД", "Вкл /выкл предусилителя")
// clang-format on

class IC75 : public HfModelPanel<IC75> {
  public:
    // The job catalog's heading and captions of the commands this panel serves.
    static const job_catalog::Heading kJobCatalog;
    static constexpr uint8_t kAddress = 0x5A;
    static constexpr uint32_t kLowerLimit = 1000;     // 100 kHz
    static constexpr uint32_t kUpperLimit = 600'000;  // 60 MHz
    // The channel record: eight characters of name, the attenuator 20 dB, no skip mark.
    static const ChannelLayout kChannelLayout;

    IC75();
    ~IC75() override;

    UI_FORM_CONTROLS(IC75_CONTROLS)

  private:
    void WireControls() override;
    void ShowAttenuator() override;
    // The scan regime on its options.
    void ShowModelControls() override;
    ui::CheckBox* PreampBox() const override { return famp; }

    // Its own job commands; the others both HF sets number alike from 1011.
    static const JobCommand<HfPanel> kOwnJobs[];
};
