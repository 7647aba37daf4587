#pragma once

#include <cstdint>
#include <string>

// One job line: what to address (panel, object), with which argument, and what came of it. The
// job executor, the windows and the receiver panels all read it and answer in it. Lines are
// copied whole, member by member.
struct JobStr {
    std::string DCL;   // description shown for the line: the catalog entry name
    uint32_t TAB = 0;  // panel code
    uint32_t OBJ = 0;  // object or command number
    uint32_t VAL = 0;  // numeric argument: frequency or step in 100 Hz, count, line number
    std::string STR;   // text argument: item name, two names joined by ">>", file name, message
    uint8_t COND = 0;  // skip the line when the line before it failed
    uint8_t GET = 0;
    uint8_t PUT = 0;
    uint8_t REQ = 0;     // VAL is significant
    uint8_t STEP = 0;    // VAL is a step
    uint8_t FREQ = 0;    // VAL is a frequency
    uint8_t STRING = 0;  // STR is significant
    uint8_t FILE = 0;
    int32_t ReturnCode = 0;  // 0 success, anything else failure; set by whoever runs the line
    std::string Message;     // result text written by whoever runs the line
    std::string Time;        // when the line last ran, "hh:mm:ss"

    friend bool operator==(const JobStr&, const JobStr&) = default;
};
