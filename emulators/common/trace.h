#pragma once
// What every emulated set tells of its line when asked to (the emulator programs' --trace).

#include <functional>
#include <string_view>

namespace emulators {

// Told of what the set hears ('>') and what it sends ('<'), a line or a frame at a time, as
// text; empty: nothing is told.
using Trace = std::function<void(char direction, std::string_view text)>;

}  // namespace emulators
