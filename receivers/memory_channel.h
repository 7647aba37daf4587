#pragma once
// One channel of a receiver's memory as every panel with memory banks keeps it, what a model's
// memory holds of it, how it goes to and from the program's working bank (`Mt`), and its keys
// in the panels' state files. A model gives data (its ChannelLayout); the rules are the same
// for every model:
//
// - A channel with frequency 0 is empty; in a state file it is its frequency line alone.
// - What the model's memory does not hold stays at its empty value, whatever a bank item or
//   a state file says; an attenuator that is on has one of the model's depths; a mode letter
//   the model's memory does not hold is not taken; a step goes within the model's steps, a
//   frequency within the receiver's limits; a label is cut to the model's width. A number
//   a state file gives beyond its field reads as 0, as a text that is no number does, and
//   then goes within the model's range like any other.
// - The working bank takes the channels of a panel's bank in their places, empty ones
//   included, up to the last with a frequency; select and skip go along.
// - The program's current settings go into a channel by the same rules (its level too), and
//   the channel starts afresh or keeps its label, select and skip as the layout's store rule
//   says; a channel's settings become the program's current ones as they stand.
//
// State-file keys, after "Частот_Банков" (the number of records that follow), per record:
//   F=<frequency>   and, when it is not 0:   [F_ATT=+  F_QATT=<depth>]  F_STEP=  [F_SEL=+]
//   [F_SKIP=+]  [F_ID=<label>]  F_MOD=<letter>  [F_QMOD=<filter>]
// each optional key only when set and only for a field the model's memory holds; a model
// may put F_QMOD before F_MOD (ChannelLayout::filterKeyFirst).

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "state/channel_order.h"
#include "state/fdx.h"

class StateFileWriter;

// The fields of a channel besides its frequency that a model's memory holds.
struct ChannelFields {
    bool step = true;
    bool mode = true;
    bool filter = true;      // narrow or wide variant of the mode ("F_QMOD")
    bool attenuator = true;  // on or off ("F_ATT")
    bool depth = true;       // the attenuator's depth ("F_QATT")
    bool select = true;
    bool skip = true;
    bool label = true;
};

// One memory channel. Frequencies and steps are in units of 100 Hz.
struct MemoryChannel {
    uint32_t Frequency = 0;  // 0: empty
    uint32_t Step = 0;
    char Modulation = 'F';  // mode letter F, W, A, L, U, C or R
    int32_t Filter = 0;     // 0 normal, 1 narrow, 2 wide
    std::string Label;      // UTF-8; the receiver keeps its layout's labelWidth characters
    int32_t Level = 0;      // raw level measured when the channel was last read
    int32_t Number = 0;     // its place in its bank, from 0
    bool Attenuator = false;
    uint32_t AttenuatorDb = 0;  // one of the model's depths while on
    bool Select = false;        // scanned by the selected-channel scan
    bool Skip = false;          // passed over by the receiver's scans

    bool Empty() const { return Frequency == 0; }
    friend bool operator==(const MemoryChannel&, const MemoryChannel&) = default;
};

// The widest filter code.
inline constexpr int32_t kWidestFilter = 2;

// The characters a set's label field takes: the code page 1251 bytes `first` to `last`.
struct LabelCharacters {
    uint8_t first = 0x20;
    uint8_t last = 0x7E;
};
// Printable ASCII: what the sets' label fields take where nothing else is known of them.
inline constexpr LabelCharacters kPrintableAscii{};

// A label (UTF-8) as it goes into a set's field: code page 1251 bytes, at most `width`
// characters, each character the field does not take (a control byte, a letter beyond it, one
// code page 1251 lacks, a stray byte) a blank in its place. The label the panel keeps stays as
// it is; the caller fills the field up as the set's line has it.
std::string LabelForSet(std::string_view label, std::size_t width, const LabelCharacters& takes);

// The label a channel (or a bank) keeps when the set's field reads back `fromSet` (UTF-8): the
// panel's own `held` when the field holds just what `held` went to the set as (LabelForSet,
// the blanks around either aside), so that a label the field cannot spell (Cyrillic letters,
// blanks on the set) is not replaced by its blanks; otherwise the set's.
std::string LabelReadBack(const std::string& held, const std::string& fromSet, std::size_t width,
                          const LabelCharacters& takes);
// The label of the panel's channel `held` that a read-back of its place may keep
// (LabelReadBack): its own only where the set still holds that channel, read back at its
// frequency; none for an empty place, or one where the set holds another channel now.
std::string HeldLabel(const MemoryChannel& held, uint32_t frequencyRead);

// What storing the program's current settings into a channel does besides its settings: it
// starts the channel afresh (label, select and skip emptied) and, with direct writing, writes
// it into the receiver at once; or it keeps the channel's label, select and skip and sends
// nothing (the AR5000's).
enum class ChannelStore { AfreshAndWritten, KeepLabelAndFlags };

// What a model's memory holds of a channel, and how its banks are laid out.
struct ChannelLayout {
    ChannelFields holds;
    std::size_t labelWidth = 8;  // code page 1251 characters
    // What the set's label field takes: a label goes to the set in these alone (LabelForSet).
    LabelCharacters labelCharacters = kPrintableAscii;
    // The attenuator depths the model has (dB, ascending, at least one); a depth between two
    // is the next one up, one beyond the last the last.
    std::span<const uint32_t> depths;
    char emptyModulation = 'F';  // the letter of an empty channel
    uint32_t bankSize = 100;     // channels a bank has room for: record r is number r % bankSize
    // In the state file "F_QMOD" stands before "F_MOD" (the AR8200's order), else after it.
    bool filterKeyFirst = false;
    // The mode letters the memory holds; the steps it holds (100 Hz units): the program's
    // step field's unless the model says otherwise. A model whose channels may be without a
    // step (0: the program's step stays when one is taken) starts them at 0.
    std::string_view modeLetters = kModeLetters;
    uint32_t stepLow = 1, stepHigh = 9999;
    ChannelStore store = ChannelStore::AfreshAndWritten;

    // An empty channel at `number`.
    MemoryChannel Empty(int32_t number) const;
    // The model's depth for a depth read from a file or a bank item.
    uint32_t Depth(uint32_t db) const;
    // At most labelWidth characters of `label`.
    std::string CutLabel(std::string_view label) const;
    // A mode letter the model's memory holds, else the letter of an empty channel.
    char KnownModulation(char letter) const;
    // A step the model's memory holds: within its steps (0 is below them).
    uint32_t HeldStep(uint32_t step) const;
};

// What a panel's channel list sorts a channel by.
ChannelSortFields SortFieldsOf(const MemoryChannel& channel);

// Fills `bank` from the working bank (FDX::Channels, FDX::ChannelCount), place by place: a
// place beyond the working bank's count is empty. Every channel takes its place as its number.
void TakeWorkingBank(const FDX& fdx, std::span<MemoryChannel> bank, const ChannelLayout& layout,
                     uint32_t lowerLimit, uint32_t upperLimit);

// Makes `bank` the working bank: its channels up to the last with a frequency (at most
// kMaxBankChannels), empty ones in their places. Returns the count; 0, with the working bank
// untouched, when no channel has a frequency.
uint32_t GiveWorkingBank(FDX& fdx, std::span<const MemoryChannel> bank);

// The program's current settings (FDX) into `channel`, as the model's memory holds them and
// its store rule says: the frequency held to the receiver's limits, the level last measured.
// True when the rule writes the stored channel into the receiver (with direct writing).
bool SettingsIntoChannel(const FDX& fdx, MemoryChannel& channel, const ChannelLayout& layout,
                         uint32_t lowerLimit, uint32_t upperLimit);
// The program's current settings take a channel's: frequency, mode and filter, step (a
// channel without one keeps the program's), attenuator and its depth (a model without depths
// keeps the program's), the level last measured.
void ChannelIntoSettings(const MemoryChannel& channel, FDX& fdx);

// Writes "Частот_Банков" (unless countLine is false: a model whose file has its records
// alone) and the records in order.
void WriteChannelKeys(StateFileWriter& file, std::span<const MemoryChannel> records,
                      const ChannelLayout& layout, bool countLine = true);

// Reads the channel keys of a state file into `records`, key by key in file order.
// "Частот_Банков" starts the records again but bounds nothing: the records are those the file
// holds, whatever it counts, up to the size of `records`; each "F" line empties the next record
// and sets its frequency (a channel with one gets the model's lowest step until its "F_STEP"
// line); the "F_" keys that follow fill it. A record beyond `records` is skipped with all its
// keys.
class ChannelKeyReader {
  public:
    ChannelKeyReader(std::span<MemoryChannel> records, const ChannelLayout& layout,
                     uint32_t lowerLimit, uint32_t upperLimit)
        : records_(records), layout_(layout), lower_(lowerLimit), upper_(upperLimit) {}

    // True when the key was a channel key (taken or skipped).
    bool Take(std::string_view key, std::string_view value);

  private:
    MemoryChannel* current();

    std::span<MemoryChannel> records_;
    const ChannelLayout& layout_;
    uint32_t lower_;
    uint32_t upper_;
    int64_t record_ = -1;  // the record the last "F" line opened
};
