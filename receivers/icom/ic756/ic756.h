#pragma once
// The IC-756PRO panel (receiver type 12): a transceiver at address 5C, heard as a receiver
// over 30 kHz..60 MHz, never keyed from here. Over the HF panel it adds the attenuator of
// 6, 12 and 18 dB, the narrow variants of CW and RTTY, the pause actions of its own scan, and
// the scan-regime dialog RIC756 with the defaults, noise-reduction and PBT-shift levels it
// sets; standby is the receiver's read of its tuner ("1C01") and leaving it its read of the
// transmit state ("1C00"), neither with data: 1C 00 with data would key the transmitter.

#include <cstdint>
#include <memory>

#include "receivers/icom/hf/hf_panel.h"

class RIC756;

// The controls the IC-756PRO has beyond the shared ones (ui/form_controls.h).
// clang-format off
#define IC756_CONTROLS(X) \
    X(140, PictureButton, pictbttn_6, (124, 95, 18, 16), 0, nullptr, "Установка Параметров") \
    X(141, Label, label_5, (146, 99, 14, 9), kNoWrap, "Атт", nullptr) \
    X(142, OptionButton, catt0, (160, 98, 24, 10), 0, "0", "Выключить Аттеньюатор", inherited) \
    X(143, OptionButton, catt10, (186, 98, 24, 10), 0, "6", "Установить значение Аттеньюатора 10 дБ", inherited) \
    X(144, OptionButton, catt20, (212, 98, 30, 10), 0, "12", "Установить значение Аттеньюатора 20 дБ", inherited) \
    X(145, OptionButton, catt30, (244, 98, 30, 10), 0, "18", "Установить значение Аттеньюатора 30 дБ", inherited) \
    X(146, CheckBox, fpik, (36, 115, 36, 10), 0, "ПРЕД", "Вкл /выкл предусилитель") \
    X(147, CheckBox, skip, (216, 160, 44, 10), 0, "Пропуск", nullptr)
// clang-format on

class IC756 : public HfModelPanel<IC756> {
  public:
    // The job catalog's heading and captions of the commands this panel serves.
    static const job_catalog::Heading kJobCatalog;
    static constexpr uint8_t kAddress = 0x5C;
    static constexpr uint32_t kLowerLimit = 300;      // 30 kHz
    static constexpr uint32_t kUpperLimit = 600'000;  // 60 MHz
    // The channel record: ten characters of name, the attenuator 6, 12 or 18 dB as the panel
    // keeps it (the receiver keeps none with a channel).
    static const ChannelLayout kChannelLayout;

    IC756();
    ~IC756() override;

    // PostOpenScanSettings opens RIC756, made at the first call, the job its stop starts
    // looked up first.
    void ServeDialogCode(uint32_t code) override;
    RIC756* ScanSettingsDialog() const { return dialog_.get(); }

    UI_FORM_CONTROLS(IC756_CONTROLS)

  private:
    void WireControls() override;
    ui::CheckBox* PreampBox() const override { return fpik; }
    ui::CheckBox* SkipBox() const override { return skip; }

    // Its own job commands; the others both HF sets number alike from 1211.
    static const JobCommand<HfPanel> kOwnJobs[];

    std::unique_ptr<RIC756> dialog_;
};
