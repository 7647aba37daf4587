#pragma once
// The main window's receiver panel as the IC-R8500's, for the tests that look into it; null
// when the configured receiver is another.

#include "app/orvel.h"
#include "receivers/icom/ic8500/ic8500.h"

inline IC8500* Ic8500Panel(const ORVEL& orvel) {
    return dynamic_cast<IC8500*>(orvel.receiver.Panel());
}
