#pragma once
// The main window's side of the editors: the job window that takes tab page 4, the manual
// control it opens and closes from its manual-control button, and the macro binding dialog of
// its macro button (orvel_editors.cpp).

#include <memory>

#include "editors/job.h"
#include "editors/limb.h"
#include "editors/set_macro.h"

struct OrvelEditors {
    job jobWindow;               // tab page 4, "Задание"
    std::unique_ptr<Limb> limb;  // the manual control, once opened
    SetMacro macroDialog;
};
