#pragma once
// What the AR3000A is told and what it answers, apart from the link: its modes, the command
// texts, and the reading of its level and channel replies. Frequencies go out as MHz text,
// steps as kHz text; the replies give them in tens of Hz.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

struct MemoryChannel;

namespace ar3000a {

struct Mode {
    char letter;            // the program's letter
    char key;               // the command that sets it
    char replyLetter;       // how the set's replies name it
    const char* bandwidth;  // the bandwidth caption, kHz
    const char* text;       // as the channel editor lists it
};
// The modes the set has, in the order the channel editor lists them.
std::span<const Mode> Modes();
// Null for a letter the set has no mode for (RTTY).
const Mode* FindMode(char letter);

// The settings of a memory channel or of the set itself, as its replies give them.
struct ChannelReading {
    uint32_t Frequency = 0;  // 100 Hz units
    uint32_t Step = 0;       // 100 Hz units
    char Modulation = 'W';
    bool Attenuator = false;
    int32_t Level = 0;  // read after the channel

    // The channel takes the settings and the level.
    void CopyTo(MemoryChannel& channel) const;
};

// Steps read from the set are held to 1..9999 (100 Hz units).
inline constexpr uint32_t kStepLow = 1;
inline constexpr uint32_t kStepHigh = 9999;

std::string TuneCommand(uint32_t frequency);  // "145.5000" CR
std::string StepCommand(uint32_t step);       // " 12.5S" CR
std::string LevelQuery();                     // "Y" CR
std::string SettingsQuery();                  // "D" CR: the set's own settings
std::string BankCommand(int bank);            // "1X" CR for the first of the four banks
std::string ChannelQuery(int channel);        // "5Z" CR
// "05M12.500ST145.5000F" CR: the channel's step, attenuator (R on, T off), frequency and mode.
std::string ChannelCommand(int channel, const MemoryChannel& record);

// The level of a "Y" reply: its letter stands four places before the reply's end (before CR,
// LF and the prompt); "%" (the squelch closed) is 0, "A".."P" are 0..240 in sixteenths. -1
// for any other letter or a reply too short to hold one.
int32_t LevelOfReply(std::string_view reply);

// The settings in the reply to a channel query (`channel` 0..99) or to the settings query
// (`channel` -1): "#05J" and the channel's number first unless the set's own, then the
// attenuator (W on, X off), Z and the step, Y and the frequency, then the mode letter
// (Q NFM, R WFM, S AM, T LSB, U USB, V CW). Nothing when the reply is of another channel or
// lacks a letter it needs (an empty channel). The frequency is held to lower..upper.
std::optional<ChannelReading> ParseChannel(std::string_view reply, int32_t channel,
                                           uint32_t lower, uint32_t upper);
// The set's answer for an empty channel `channel`: "#05J---", its number and "---" right after
// the J. Nothing else says a channel is empty: a reply that is garbled is not.
bool IsEmptyChannel(std::string_view reply, int32_t channel);

}  // namespace ar3000a
