#pragma once
// The start and end of a measurement set or a run as their files hold them: the lines
// "Дата_начала", "Время_начала", "Дата_конца", "Время_конца".

#include <array>
#include <cstdint>
#include <string>

#include "state/key_value.h"

class TextFileWriter;

// Day, month (1..12), four-digit year, hour, minute, second.
using Moment = std::array<uint32_t, 6>;

// "dd-mm-yyyy hh:mm:ss": the name a new measurement set or etalon is given, and the text of the
// start and end rows of a set or a run.
std::string MomentText(const Moment& moment);

// Adds the four lines of `start` and `end`: dates "dd/mm/yyyy", times "hh:mm:ss".
void WriteMomentLines(TextFileWriter& out, const Moment& start, const Moment& end);

// Takes one of the four lines into `start` or `end`; false for any other key. The parts are cut at
// fixed places (day 0-1, month 3-4, year 6-9; hour 0-1, minute 3-4, second 6-7). A part that is
// not a number within its range (day 0..31, month 0..12, year 0..9999, hour 0..23, minute and
// second 0..59), or that a short value lacks, keeps the value the record had.
bool ReadMomentLine(const KeyValue& line, Moment& start, Moment& end);
