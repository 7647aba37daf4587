#include "state/moment.h"

#include <cstdio>
#include <string_view>

#include "state/text_file.h"

namespace {

enum MomentPart { kDay, kMonth, kYear, kHour, kMinute, kSecond };

// A part of a fixed-place text; 0 when the text is too short to hold it.
uint32_t readPart(std::string_view text, std::size_t first, std::size_t length) {
    if (first >= text.size()) return 0;
    return ReadU32(text.substr(first, length));
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
    moment[kDay] = readPart(text, 0, 2);
    moment[kMonth] = readPart(text, 3, 2);
    moment[kYear] = readPart(text, 6, 4);
}

void readTime(std::string_view text, Moment& moment) {
    moment[kHour] = readPart(text, 0, 2);
    moment[kMinute] = readPart(text, 3, 2);
    moment[kSecond] = readPart(text, 6, 2);
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
