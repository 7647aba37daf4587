#pragma once
// The ICOM CI-V link, shared by every CI-V panel. Commands are built as upper-case hex text
// (the payload: command, sub-command, data), framed as FE FE <receiver> E0 <payload> FD and
// written; replies are found in the serial receive ring, copied out, turned back into hex
// text (ReplyText: command byte first, FD excluded) and handed to the model's parser.
//
// One framing rule serves the scanner of a parse pass and ReadReply alike: a frame opens
// with FE FE (more FE bytes are part of the preamble), then destination, source, command and
// data up to FD. An FE inside a frame abandons it and may open the next one; a frame without
// a command, or longer than any the receivers send, is skipped as a whole.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "receivers/memory_channel.h"
#include "receivers/ring_cursor.h"

class ReceiverPanel;

namespace civ {

inline constexpr uint8_t kPreamble = 0xFE;
inline constexpr uint8_t kEndOfMessage = 0xFD;
inline constexpr uint8_t kOk = 0xFB;  // acknowledgement in the command position
inline constexpr uint8_t kNg = 0xFA;  // rejection
inline constexpr uint8_t kControllerAddress = 0xE0;
inline constexpr uint8_t kBroadcastAddress = 0x00;
// The identity query goes to the broadcast address and its answer is taken from any source.
inline constexpr int32_t kIdentityCommand = 0x19;
// Command codes of the awaited replies (PendingCommand).
inline constexpr int32_t kFrequencyRead = 0x03;
inline constexpr int32_t kModeRead = 0x04;
inline constexpr int32_t kFrequencySet = 0x05;
inline constexpr int32_t kModeSet = 0x06;
inline constexpr int32_t kChannelSelect = 0x08;
inline constexpr int32_t kScanControl = 0x0E;
inline constexpr int32_t kStepSet = 0x10;
inline constexpr int32_t kAttenuatorSet = 0x11;
inline constexpr int32_t kAntennaSet = 0x12;
inline constexpr int32_t kLevelSet = 0x14;
inline constexpr int32_t kMeterRead = 0x15;
inline constexpr int32_t kFunctionSet = 0x16;
inline constexpr int32_t kPowerSet = 0x18;
inline constexpr int32_t kMemoryContents = 0x1A;
// Longest body (destination to the last data byte) of a frame the receivers send.
inline constexpr std::size_t kLongestBody = 64;

// BCD forms of numbers: kind 0, a frequency in 100 Hz units, as ten hex characters, five
// bytes least significant first, the first byte (10 Hz and 1 Hz) 00: 145.0000 MHz is
// "0000004501". Kind 3, a four-digit number as two bytes least significant first: 1234 is
// "3412". Other kinds give nothing. Values with more digits than the form holds are taken
// as the largest it holds, so a frame never grows.
std::string FreqToBcd(uint32_t value, int kind);

// The bytes of a payload text: "0".."9" and "A".."F" only, an even count of them; nothing
// otherwise.
std::optional<std::vector<uint8_t>> HexToBytes(std::string_view text);
// Two upper-case hex characters a byte.
std::string BytesToHex(std::span<const uint8_t> bytes);

// Kind 0 decoding of a reply text: characters 2..11 are five BCD bytes, least significant
// first; the result is in 100 Hz units. Short texts read as if padded with zeros.
uint32_t DecodeFrequency(std::string_view replyText);
// Kind 4: characters 4..7 as a decimal number, limited to the levels 0..255.
int DecodeLevel(std::string_view replyText);

// A name as it goes into a frame: `length` characters, each as "%02X", blanks ("20") after
// the end of the name. A character the set's name field does not take (`takes`, printable
// ASCII at most) goes out as one blank, so that no name can carry the frame bytes FD, FE or FF.
std::string NameToHex(std::string_view name, std::size_t length, const LabelCharacters& takes);
// A name from a reply: what is not printable becomes a blank, and the blanks that fill it up
// go.
std::string NameFromWire(std::span<const uint8_t> bytes);

// The CI-V finder of the ring cursor: where the next frame lies, from read towards write.
// Whole: begin at the frame's first FE, end just past its FD; Skip: a frame without a
// command.
RingPiece FindFrame(std::span<const uint8_t> ring, uint32_t read, uint32_t write);

// A frame handed to the model's parser, after ReadReply put it into the link's reply
// buffers.
struct CivReply {
    bool matched = false;    // it comes from the receiver (or answers the identity query)
    bool completed = false;  // it ended the outstanding exchange
    bool awaited = false;    // ... and a WaitReply was waiting for it
    uint8_t code = 0;        // command byte, or FB/FA
};

}  // namespace civ

class CivLink {
  public:
    CivLink(ReceiverPanel& panel, uint8_t receiverAddress);

    // Sends one command: refused (false, nothing written) while an exchange is outstanding;
    // otherwise starts the exchange awaiting `awaited` and writes the frame. cancelStale
    // false keeps a stale reply (the IC-R8500's mode command).
    bool Send(std::string_view payload, int32_t awaited, bool cancelStale = true);
    // Builds and writes one frame to the panel's port; nothing is written for a payload
    // that is not valid hex. The identity query (while PendingCommand is 0x19) goes to the
    // broadcast address.
    void SendFrame(std::string_view payload);
    // The bytes of the frame SendFrame would write.
    std::optional<std::vector<uint8_t>> BuildFrame(std::string_view payload) const;

    // Copies the first complete frame at the ring's read index into ReplyBytes (command
    // first, FD included) and ReplyText, keeps its addresses, moves the read index past its
    // FD and returns the number of body bytes before FD. Frames without a command on the way
    // are skipped. 0, the read index unchanged, when the ring holds no complete frame.
    uint32_t ReadReply();

    // The data-arrived pass of Poll(false): every frame in the ring is copied out and, after
    // the exchange bookkeeping (FB resets RejectCount, FA raises it; the awaited command, FB
    // or FA from the receiver ends the exchange), handed to `parse`. Returns ReplyComplete.
    bool Poll(const std::function<void(const civ::CivReply&)>& parse);

    void SetReceiverAddress(uint8_t address);

    uint8_t ReceiverAddress;
    std::string AddressText;  // the address as two upper-case hex characters
    std::string CommandText;  // payload of the last frame written
    int32_t LastReplyCode = -1;
    // Rejections in a row; an acknowledgement resets it.
    int32_t RejectCount = 0;
    std::vector<uint8_t> ReplyBytes;
    uint8_t ReplyDestination = 0;
    uint8_t ReplySource = 0;
    std::string ReplyText;

  private:
    // The next piece of the ring (the panel's walk takes pieces through it).
    RingPiece TakeNext(RingCursor& cursor);
    // Copies the frame the cursor found out of the ring into the reply buffers.
    void TakeFrame(const RingCursor& cursor, const RingPiece& frame);

    ReceiverPanel& panel_;
};
