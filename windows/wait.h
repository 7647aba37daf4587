#pragma once
// A small captioned window that asks the operator to wait while something long runs on
// the user-interface thread. It does nothing itself: its owner shows it with Create and
// takes it away with Destroy, and keeps the object for the next time.

#include "ui/form.h"

class Wait : public ui::Form {
  public:
    Wait();
    ~Wait() override;
    // Shows the window, centred; showing it again while it is up keeps the one window.
    bool Create(ui::Form* parent);
};
