#pragma once
// What the job catalog lists of a window or a receiver panel: its heading and the objects a job
// line can address there, each with its caption, flags and the preset values it is offered
// with. A receiver model gives its own beside its job commands (the registry's traits point at
// it), so that the catalog and the commands a model serves are kept in one place. The texts are
// the program's own, spellings and trailing blanks included: job files name the objects by
// them.

#include <cstdint>
#include <span>

namespace job_catalog {

// Flags of an object: V takes a value, T takes a text (STRING), F the value is a frequency,
// S the value is a step, R the line's value or text is significant (REQ).
inline constexpr uint8_t V = 1;
inline constexpr uint8_t T = 2;
inline constexpr uint8_t F = 4;
inline constexpr uint8_t S = 8;
inline constexpr uint8_t R = 16;

// A value an object is offered with, listed under it.
struct Preset {
    const char* name;
    uint32_t value;
};

struct Object {
    uint32_t object;
    // Null: a command the panel serves that the catalog does not list (a job line written by
    // hand reaches it).
    const char* name;
    uint8_t flags = 0;
    uint32_t value = 0;  // stored in the entry (an on/off object's "on", a counter's default)
    std::span<const Preset> presets = {};
};

// A heading and the objects listed under it.
struct Heading {
    const char* name;
    std::span<const Object> objects;
};

// clang-format off
// The steps most panels offer their step field with.
inline constexpr Preset kStandardSteps[] = {
    {"10 кГц", 100}, {"20 кГц", 200}, {"50 кГц", 500}, {"100 кГц", 1000}, {"200 кГц", 2000},
    {"500 кГц", 5000}, {"1 МГц", 10000}, {"2 МГц", 20000}, {"5 МГц", 50000},
};
// clang-format on

}  // namespace job_catalog
