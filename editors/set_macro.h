#pragma once
// The dialog `SetMacro` that binds two stored jobs: the macro job, which the main window runs
// when the right mouse button is released over a window, and the trigger job, which takes
// turns with it. It edits only the bindings in the program state (FDX::MacroJob,
// FDX::MacroJobName, FDX::TriggerJob, FDX::TriggerJobName); the main window keeps them in
// ORVEL.CFG ("Макро", "Тригер") and runs the jobs.
//
// A job is bound by its folder name, which stays when the operator renames the job.

#include <cstdint>

#include "state/fdx.h"
#include "ui/controls.h"
#include "ui/form_controls.h"

// The controls of the form (ui/form_controls.h), in the order they are made.
// clang-format off
#define SET_MACRO_CONTROLS(X) \
    X(101, Label, label_1, (6, 8, 34, 8), kNoWrap, "Макро:", nullptr) \
    X(102, ComboBox, macro, (42, 6, 150, 80), kDropList, nullptr, "Задание по правой кнопке мыши") \
    X(103, Label, label_2, (6, 26, 34, 8), kNoWrap, "Тригер:", nullptr) \
    X(104, ComboBox, triger, (42, 24, 150, 80), kDropList, nullptr, "Задание попеременно с макро") \
    X(105, CommandButton, cb_OK, (52, 44, 44, 14), 0, "OK", nullptr) \
    X(106, CommandButton, cb_Cancel, (104, 44, 44, 14), 0, "Отмена", nullptr)
// clang-format on

class SetMacro : public ui::Form {
  public:
    SetMacro();
    ~SetMacro() override;

    // Opens the dialog over `parent` on the main state, its lists showing the stored jobs of
    // FDX::Jobs with FDX::MacroJob and FDX::TriggerJob chosen. The dialog keeps the operator
    // from the other windows until it is closed.
    bool Create(ui::Form* parent, FDX* state);

    // Controls, owned by the form; empty until the create event.
    UI_FORM_CONTROLS(SET_MACRO_CONTROLS)

    void Ok();      // takes the two choices and closes with result 1
    void Cancel();  // closes with result 0, nothing changed

    // 1 when closed with OK, 0 otherwise.
    int Result() const { return result_; }

  private:
    void OnCreate();
    void Fill(ui::ComboBox* list, int32_t chosen);
    // The chosen entry of `list` into the index and the name of a binding.
    void Take(const ui::ComboBox* list, int32_t& index, std::string& name) const;

    FDX* fdx_ = nullptr;
    int result_ = 0;
};
