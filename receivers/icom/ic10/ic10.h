#pragma once
// The IC-R10 panel (receiver type 3), which also serves the IC-R9000 (type 5: the program
// state's variant flag): a CI-V receiver at the address the operator gives (52 unless told
// otherwise), covering 500 kHz..1.3 GHz, the IC-R9000 100 kHz..2 GHz. Over the CI-V core it
// adds only the address box, the fine scale's clear and jumps and the job commands 311..316:
// the set has no memory, no squelch query and no step, attenuator or sound commands.

#include <cstdint>
#include <string>

#include "receivers/icom/civ_panel.h"
#include "ui/form_controls.h"

// The panel's controls (ui/form_controls.h), in the order they are made; those the CI-V core
// works on are its own members. The fine scale is tall enough for a full level (255 / 2
// pixels) under its 60-pixel overview strip.
// clang-format off
#define IC10_CONTROLS(X) \
    X(101, Label, label_1, (4, 2, 150, 14), kBold | kNoWrap, nullptr, nullptr, inherited) \
    X(102, Label, width, (158, 5, 26, 9), kNoWrap, nullptr, "Полоса пропускания, кГц", inherited) \
    X(103, Label, label_2, (190, 5, 16, 9), kNoWrap, "Шаг", nullptr) \
    X(104, ComboBox, step, (208, 3, 70, 77), 0, nullptr, "Шаг частоты точной шкалы", inherited) \
    X(105, Canvas, scale, (4, 18, 275, 140), 0, nullptr, nullptr, inherited) \
    X(106, ScrollBar, scrollb_1, (4, 158, 275, 9), 0, nullptr, nullptr, inherited) \
    X(107, PictureButton, pictbttn_3, (4, 170, 18, 16), 0, nullptr, "Влево до Мах", inherited) /* left to the next peak */ \
    X(108, PictureButton, pictbttn_4, (24, 170, 18, 16), 0, nullptr, "Влево до Фикс частоты", inherited) /* left to the next scale item */ \
    X(109, PictureButton, pictbttn_5, (44, 170, 18, 16), 0, nullptr, "Вправо до Фикс частоты", inherited) /* right to the next scale item */ \
    X(110, PictureButton, pictbttn_2, (64, 170, 18, 16), 0, nullptr, "Вправо до Мах", inherited) /* right to the next peak */ \
    X(111, CommandButton, clear, (88, 171, 50, 14), 0, "Очистить", "Очистить Шкалу") \
    X(112, Label, label_3, (196, 174, 26, 9), kNoWrap, "Адрес", nullptr) \
    X(113, Edit, address, (224, 172, 20, 12), 0, nullptr, "Адрес приемника")
// clang-format on

class IC10 : public CivPanel {
  public:
    // The job catalog's heading and captions of the commands this panel serves.
    static const job_catalog::Heading kJobCatalog;
    // The address unless the operator gives another.
    static constexpr uint8_t kAddress = 0x52;
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

    // --- Controls, owned by the form; empty until the create event
    UI_FORM_CONTROLS(IC10_CONTROLS)

  private:
    // --- The core's hooks: every model's, then its own
    CIV_MODEL_HOOKS()
    void ShowControls() override;
    void LockControls(bool locked) override;
    void ForgetControls() override { ForgetFormControls(); }
    bool MayTuneOnStep() const override;
};
