#pragma once
// A state file edited by hand, as an AOR panel reads it before its memory goes into the set:
// numbers beyond their fields ("99999999999", "-5"), labels of 100 characters, a search bank
// upside down without a step. What reaches the set must be what its line formats take, and
// what the close writes must read back the same.

#include <gtest/gtest.h>

#include <atomic>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "emulators/aor/aor_emulator.h"
#include "state/cp1251.h"

inline const std::string kHundredCharacters(100, 'X');

// A label edited by hand with characters no set's label takes: a CR and an LF that would end
// the command line, a control byte, 0x98 (no character of code page 1251) and "я" (0xFF).
inline const std::string kUnsendableLabel = Cp1251ToUtf8(std::string_view("AB\r\n\x01\x98\xff", 7));
// What the set gets of it: the letters, and a blank in the place of every other character.
inline const std::string kSentLabel = "AB     ";

// The lines in code page 1251, each ended CR LF.
inline std::string StateLines(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines) bytes += Utf8ToCp1251(line) + "\r\n";
    return bytes;
}

// A hand-edited file in code page 1251: `head`, then the memory part every model's starts with
// (a channel with a step and a label beyond their fields, one without a step, one as it should
// be: "KEEP"), then `searchBanks` after the first search bank's number.
inline std::string HandEditedFile(const std::string& head,
                                  const std::vector<std::string>& searchBanks) {
    std::vector<std::string> lines = {head,
                                      "Частот_Банков=1000",
                                      "F=1455000",
                                      "F_STEP=99999999999",
                                      "F_ID=" + kHundredCharacters,
                                      "F_MOD=F",
                                      "F=1188000",
                                      "F_MOD=A",
                                      "F=4339200",
                                      "F_STEP=50",
                                      "F_ID=KEEP",
                                      "F_MOD=U",
                                      "Банк_поиска=0"};
    lines.insert(lines.end(), searchBanks.begin(), searchBanks.end());
    return StateLines(lines);
}

// The "?" the set answers while this lives.
class SetRefusals {
  public:
    explicit SetRefusals(emulators::AorEmulator& emulator) : emulator_(emulator) {
        emulator_.SetTrace([this](char direction, std::string_view line) {
            if (direction == '<' && line == "?") ++count_;
        });
    }
    ~SetRefusals() { emulator_.SetTrace(nullptr); }
    SetRefusals(const SetRefusals&) = delete;
    SetRefusals& operator=(const SetRefusals&) = delete;

    int Count() const { return count_; }

  private:
    emulators::AorEmulator& emulator_;
    std::atomic<int> count_{0};
};

// The step fields ("ST<digits>") of the lines: each must be a step of 1 Hz to 999.999 kHz in
// at most six digits.
inline void ExpectStepsTheSetTakes(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        const std::size_t at = line.find(" ST");
        ASSERT_NE(at, std::string::npos) << line;
        const std::string digits = line.substr(at + 3, line.find(' ', at + 1) - at - 3);
        EXPECT_LE(digits.size(), 6u) << line;
        EXPECT_NE(digits.find_first_not_of('0'), std::string::npos) << line;
    }
}

// The text of a written state file, with the line `from` and those after it up to (not
// including) the first line that starts with `to`.
inline std::string WrittenPart(const std::string& text, const std::string& from,
                               const std::string& to) {
    const std::size_t start = text.find(from);
    if (start == std::string::npos) return {};
    return text.substr(start, text.find("\r\n" + to, start) + 2 - start);
}
