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

class SetMacro : public ui::Form {
  public:
    SetMacro();
    ~SetMacro() override;

    // Opens the dialog over `parent` on the main state, its lists showing the stored jobs of
    // FDX::Jobs with FDX::MacroJob and FDX::TriggerJob chosen. The dialog keeps the operator
    // from the other windows until it is closed.
    bool Create(ui::Form* parent, FDX* state);

    ui::ComboBox* macro = nullptr;
    ui::ComboBox* triger = nullptr;
    ui::Label* label_1 = nullptr;
    ui::Label* label_2 = nullptr;
    ui::CommandButton* cb_OK = nullptr;
    ui::CommandButton* cb_Cancel = nullptr;

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
