#pragma once
// FormatText lives with the program state, where the windows reach it too.
#include "state/format_text.h"
