#pragma once

#include <cstdint>
#include <string>

// One entry of the catalog of panel objects that job lines address. A job line made from an
// entry takes its name as DCL, its panel as TAB, its object as OBJ, its value as VAL and its
// REQ, STEP, FREQ and STRING flags.
struct JobDcl {
    std::string Name;
    int32_t Parent = -1;  // journal item the entry is listed under; -1 before it is listed
    uint32_t Panel = 0;
    uint32_t Object = 0;     // object or command number
    uint32_t Value = 0;      // preset value
    uint8_t TakesValue = 0;  // the object takes a number
    uint8_t Preset = 0;      // a preset value of its parent entry: choosing it chooses the parent
    uint8_t REQ = 0;
    uint8_t STEP = 0;    // the value is a step
    uint8_t FREQ = 0;    // the value is a frequency
    uint8_t STRING = 0;  // the object takes a text
};
