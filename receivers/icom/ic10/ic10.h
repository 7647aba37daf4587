#pragma once
// The IC-R10 panel (receiver type 3), which also serves the IC-R9000 (type 5: the program
// state's variant flag): a CI-V receiver at the address the operator gives (52 unless told
// otherwise), covering 500 kHz..1.3 GHz, the IC-R9000 100 kHz..2 GHz. Over the CI-V core it
// adds only the address box, the fine scale's clear and jumps and the job commands 311..316:
// the set has no memory, no squelch query and no step, attenuator or sound commands.

#include <cstdint>
#include <string>

#include "receivers/icom/civ_panel.h"
#include "ui/controls.h"

class IC10 : public CivPanel, public FineScaleCommands<IC10> {
    friend class FineScaleCommands<IC10>;  // reaches Fine

  public:
    static constexpr uint8_t kDefaultAddress = 0x52;
    static constexpr uint32_t kLowerLimit = 5000;             // 500 kHz
    static constexpr uint32_t kUpperLimit = 13'000'000;       // 1.3 GHz
    static constexpr uint32_t kR9000LowerLimit = 1000;        // 100 kHz
    static constexpr uint32_t kR9000UpperLimit = 20'000'000;  // 2 GHz

    IC10();
    ~IC10() override;

    // Commands 311..316.
    void ExecuteCommand() override;
    // Reads the address besides the head and the scale.
    bool ReadStateFile() override;

    // The address as typed: its first two characters (a single one doubled) when both are
    // upper-case hex digits; anything else puts "52" back into the box and the address.
    void TakeAddress(const std::string& text);

    // --- The IC-R10's own controls, owned by the form; empty until the create event
    ui::Edit* address = nullptr;
    ui::CommandButton* clear = nullptr;
    ui::PictureButton* pictbttn_2 = nullptr;  // right to the next peak
    ui::PictureButton* pictbttn_3 = nullptr;  // left to the next peak
    ui::PictureButton* pictbttn_4 = nullptr;  // left to the next scale item
    ui::PictureButton* pictbttn_5 = nullptr;  // right to the next scale item
    ui::Label* label_2 = nullptr;             // "Шаг"
    ui::Label* label_3 = nullptr;             // "Адрес"

  private:
    // --- The core's hooks
    void CreateControls() override;
    void SetModelDefaults() override;
    void WireControls() override;
    void ShowControls() override;
    void LockControls(bool locked) override;
    void ForgetControls() override;
    void WriteModelKeys(StateFileWriter& file) override;
    void OnModelCode(uint32_t code) override;
    bool MayTuneOnStep() const override;

    // Job commands.
    static const JobCommand<IC10> kJobCommands[];
};
