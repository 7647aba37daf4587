#include "state/moment.h"

#include <cstdio>
#include <string_view>

#include "state/text_file.h"

namespace {

enum MomentPart { kDay, kMonth, kYear, kHour, kMinute, kSecond };

// The largest value each part can hold. Zero is in range for every part: an unset moment is
// written as zeros and must read back as it was written.
constexpr Moment kLargestPart = {31, 12, 9999, 23, 59, 59};

// Takes a part of a fixed-place text into `moment` when it is a number within its range: digits
// from its start (after blanks, as atol reads them) up to the first other character. A part that
// is missing, signed, without digits or out of range leaves the record's value as it was, so that
// it is never written back as a different, longer text.
void readPart(std::string_view text, std::size_t first, std::size_t length, Moment& moment,
              MomentPart part) {
    if (first >= text.size()) return;
    const std::string_view piece = text.substr(first, length);
    const auto start = piece.find_first_not_of(' ');
    if (start == std::string_view::npos || piece[start] < '0' || piece[start] > '9') return;
    const int64_t value = ReadInteger(piece);
    if (value <= kLargestPart[part]) moment[part] = static_cast<uint32_t>(value);
}

std::string dateText(const Moment& moment) {
    char text[48];
    std::snprintf(text, sizeof text, "%02u/%02u/%04u", moment[kDay], moment[kMonth], moment[kYear]);
    return text;
}

std::string timeText(const Moment& moment) {
    char text[48];
    std::snprintf(text, sizeof text, "%02u:%02u:%02u", moment[kHour], moment[kMinute],
                  moment[kSecond]);
    return text;
}

void readDate(std::string_view text, Moment& moment) {
    readPart(text, 0, 2, moment, kDay);
    readPart(text, 3, 2, moment, kMonth);
    readPart(text, 6, 4, moment, kYear);
}

void readTime(std::string_view text, Moment& moment) {
    readPart(text, 0, 2, moment, kHour);
    readPart(text, 3, 2, moment, kMinute);
    readPart(text, 6, 2, moment, kSecond);
}

}  // namespace

std::string MomentText(const Moment& moment) {
    char text[96];
    std::snprintf(text, sizeof text, "%02u-%02u-%04u %02u:%02u:%02u", moment[kDay], moment[kMonth],
                  moment[kYear], moment[kHour], moment[kMinute], moment[kSecond]);
    return text;
}

void WriteMomentLines(TextFileWriter& out, const Moment& start, const Moment& end) {
    out.KeyValue("Дата_начала", dateText(start));
    out.KeyValue("Время_начала", timeText(start));
    out.KeyValue("Дата_конца", dateText(end));
    out.KeyValue("Время_конца", timeText(end));
}

bool ReadMomentLine(const KeyValue& line, Moment& start, Moment& end) {
    if (line.key == "Дата_начала") {
        readDate(line.value, start);
    } else if (line.key == "Время_начала") {
        readTime(line.value, start);
    } else if (line.key == "Дата_конца") {
        readDate(line.value, end);
    } else if (line.key == "Время_конца") {
        readTime(line.value, end);
    } else {
        return false;
    }
    return true;
}
