#pragma once
// The main window's side of the editors: the job window, the text window and the phonogram
// window that take tab pages 4, 5 and 6, the manual control it opens and closes from its
// manual-control button, and the macro binding dialog of its macro button
// (orvel_editors.cpp).

#include <memory>

#include "editors/info.h"
#include "editors/job.h"
#include "editors/limb.h"
#include "editors/set_macro.h"
#include "editors/signal.h"

struct OrvelEditors {
    // Tab page 6, "Сигнал"; "class": the C library's signal() may share the name.
    class signal phonogramWindow;
    job jobWindow;               // tab page 4, "Задание"
    info notesWindow;            // tab page 5, "Текст"
    std::unique_ptr<Limb> limb;  // the manual control, once opened
    SetMacro macroDialog;
};
