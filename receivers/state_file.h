#pragma once
// The state file of a receiver panel: the panel's settings and its level scale from one run
// to the next, "<program folder><stem>.<port, three digits>" (IC8500.001 for an IC-R8500 on
// COM1), cp1251 key=value lines ending CR LF. Every panel writes the common head first, then
// its own keys, then the level scale as runs:
//
//   Дата=dd/mm/yyyy  Время=hh:mm  Ft=  Шаг=  Модуляция=<letter><blank>  Шаг_просмотра=
//   Позиция_просмотра=   ...model keys...   Измерения=<cells>  FL=<value> [FC=<run - 1>]...

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "receivers/level_scale.h"
#include "state/text_file.h"

// A panel's own files hold 200,001 scale cells and the channels of its banks: far more than
// the program's other stored files, so they are read with a limit of their own.
inline constexpr std::size_t kStateFileLimit = 16 * 1024 * 1024;

// "<programDir><stem>.<port as %03u>".
std::string StateFileName(const std::string& programDir, std::string_view stem, uint32_t port);

// The common head of every state file.
struct StateFileHead {
    std::string Date;  // "dd/mm/yyyy" of the last write
    std::string Time;  // "hh:mm"
    uint32_t Frequency = 0;
    uint32_t Step = 0;
    char Modulation = 'W';
    uint32_t ViewStep = 0;      // step of the fine scale
    uint32_t ViewPosition = 0;  // first frequency the fine scale shows
    // Reading only: the cells the file describes ("Измерения"), whatever the scale could take,
    // and the cells its runs filled.
    uint32_t ScaleCells = 0;
    uint32_t ScaleCellsRead = 0;
};

class StateFileWriter {
  public:
    // Stamps head.Date and head.Time with the clock and writes the head lines; a model with
    // a line of its own between the modulation and the view step (the IC-PCR1000's
    // bandwidth) writes it in afterModulation.
    void Head(StateFileHead& head,
              const std::function<void(StateFileWriter&)>& afterModulation = nullptr);
    void Number(std::string_view key, uint32_t value);
    void Text(std::string_view key, std::string_view value);
    // Written only when set, as "key=ДА".
    void Flag(std::string_view key, bool set);
    // Lines as they were read (KeptStateLines).
    void Lines(const std::vector<std::string>& lines);
    // "Измерения" and the runs of equal cells covering every cell in order.
    void Scale(const LevelScale& scale);
    // The same in two parts, for a model whose own keys stand between them (AR5000).
    void ScaleCount(const LevelScale& scale);
    void ScaleRuns(const LevelScale& scale);
    // False when the file cannot be written; the old one is then untouched.
    bool Save(const std::string& path) const { return writer_.Save(path); }

  private:
    TextFileWriter writer_;
};

// A setting of a panel's record kept under its own key: a flag, "key=ДА" while set and no line
// otherwise, or a level 0..255. A model lists its keys in the order it writes them.
template <class Record>
struct FlagKeyOf {
    const char* key;
    bool Record::*flag;
};
template <class Record>
struct LevelKeyOf {
    const char* key;
    uint32_t Record::*level;
};
template <class Record>
using FlagKeysOf = std::type_identity_t<std::span<const FlagKeyOf<Record>>>;
template <class Record>
using LevelKeysOf = std::type_identity_t<std::span<const LevelKeyOf<Record>>>;

template <class Record>
void WriteFlags(StateFileWriter& file, const Record& record, FlagKeysOf<Record> keys) {
    for (const FlagKeyOf<Record>& k : keys) file.Flag(k.key, record.*k.flag);
}
template <class Record>
void WriteLevels(StateFileWriter& file, const Record& record, LevelKeysOf<Record> keys) {
    for (const LevelKeyOf<Record>& k : keys) file.Number(k.key, record.*k.level);
}
// Before a file is read: a flag its file does not name is off.
template <class Record>
void ClearFlags(Record& record, FlagKeysOf<Record> keys) {
    for (const FlagKeyOf<Record>& k : keys) record.*k.flag = false;
}
// One key of the file: true when it was one of `keys` (its flag set, its level taken, held
// to 255).
template <class Record>
bool TakeFlag(std::string_view key, Record& record, FlagKeysOf<Record> keys) {
    for (const FlagKeyOf<Record>& k : keys)
        if (key == k.key) return record.*k.flag = true;
    return false;
}
// A level as a file gives it, held to 0..255 (a negative one, or one beyond 32 bits, is no
// number and reads 0).
uint32_t ReadLevelValue(std::string_view value);
template <class Record>
bool TakeLevel(std::string_view key, std::string_view value, Record& record,
               LevelKeysOf<Record> keys) {
    for (const LevelKeyOf<Record>& k : keys) {
        if (key != k.key) continue;
        record.*k.level = ReadLevelValue(value);
        return true;
    }
    return false;
}

// One of several values kept as flags, a key each ("Атт20=ДА" for 20 dB): only the chosen
// value's key is written.
struct ChoiceKey {
    uint32_t value;
    const char* key;
};
void WriteChoice(StateFileWriter& file, std::span<const ChoiceKey> keys, uint32_t chosen);
// The value a key of the file stands for, when it is one of `keys`.
std::optional<uint32_t> TakeChoice(std::string_view key, std::span<const ChoiceKey> keys);

// Lines of a state file that a panel does not interpret but must not lose: every line whose
// key `Owns` accepts, in file order, exactly as it stands (quotes and empty values included).
// Written back with StateFileWriter::Lines they give the bytes they were read from.
struct KeptStateLines {
    std::function<bool(std::string_view key)> Owns;
    std::vector<std::string> Lines;
};

// Reads a state file, as StateFileWriter writes it or edited by hand.
// The head goes into `head` (keys absent from the file leave its fields as they were), the
// level scale into `scale` (the runs the file holds, whatever its "Измерения" says; runs
// beyond its cells are cut; cells the file does not reach stay as they were), the lines
// `kept` owns into kept->Lines, every other key with a non-empty value to `modelKey`, in file
// order (a "Модуляция" after the head's is the model's: the AR8200 keeps a second one). Every
// number is read as its field holds it (ReadNumberOrZero), as the models read theirs: a value
// beyond a field must never reach the receiver as the part of it that fits. False, with
// nothing changed, when the file is missing, unreadable, empty or holds a NUL byte.
bool ReadStateFile(
    const std::string& path, StateFileHead& head, LevelScale& scale,
    const std::function<void(std::string_view key, std::string_view value)>& modelKey,
    KeptStateLines* kept = nullptr);
