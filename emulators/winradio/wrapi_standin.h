#pragma once
// A stand-in for the WiNRADiO vendor library: the shared object libWrapi32.so, which the
// program loads at run time and whose entry points it finds by name, exactly as it would the
// vendor's library on a machine with a card. It simulates the cards themselves, and keeps a
// log of every call for the tests.
//
// Every entry point has C linkage. A BOOL of the vendor's interface is an int32_t here,
// 1 true and 0 false; every call but OpenRadioDevice takes the handle that OpenRadioDevice
// gave. A call with a handle that is not open fails. Failure values:
//   int32_t "BOOL" results                 0
//   OpenRadioDevice                        0 (no handle)
//   GetFrequency                           0xFFFFFFFF (-1)
//   GetMode, GetVolume, GetSignalStrength  -1 (so the low byte is 0xFF, the low 16 bits 0xFFFF)
//   GetBFOOffset, GetIFShift               0 (the centre)
//
// The cards: card n (numbered from 1) sits at I/O port 0x180 + 0x10 (n - 1). By default card
// 1 is a WR-3100 (SSB modes and IF shift) and card 2 a WR-1000 (neither). They start closed,
// switched off, at 72.9 MHz WFM, volume 0, attenuator, mute and scan mode off, BFO offset and
// IF shift 0. Tuning (SetFrequency, SetMode) and GetSignalStrength fail while the card is off;
// the other settings are kept and read back whatever the power.
//
// Mode codes: 0 CW, 1 AM, 2 FM, 3 WFM, 4 LSB, 5 USB; 4 and 5 only on a card with SSB (a card
// without takes SSB through CW and its BFO).
//
// Signal strength, 0..120: the level (0..255) of the emulators' signal plan at the tuned
// frequency, times 120 / 255 rounded down.
//
// Built without IF shift (WRAPI_STANDIN_WITHOUT_IF_SHIFT) the library lacks SetIFShift and
// GetIFShift, as the vendor's older releases do: the build puts that variant in a folder of
// its own under the same file name.

#include <cstddef>
#include <cstdint>

#define WRAPI_ENTRY extern "C" __attribute__((visibility("default")))

// Feature bits of WrapiRadioInfo::features.
inline constexpr uint32_t kWrapiHasSsb = 1u << 2;
inline constexpr uint32_t kWrapiHasIfShift = 1u << 3;

// Model codes of WrapiRadioInfo::model.
inline constexpr uint16_t kWr1000 = 0x100;
inline constexpr uint16_t kWr1000Late = 0x10A;
inline constexpr uint16_t kWr1500 = 0x132;
inline constexpr uint16_t kWr3000i = 0x200;
inline constexpr uint16_t kWr3100 = 0x20A;

// The device description of GetRadioDeviceInfo, 76 bytes. The caller sets size first.
struct WrapiRadioInfo {
    uint32_t size;              // 0: sizeof(WrapiRadioInfo), set by the caller
    uint32_t features;          // 4: kWrapiHasSsb, kWrapiHasIfShift
    uint16_t interfaceVersion;  // 8
    uint16_t model;             // 10
    uint32_t lowerLimitHz;      // 12
    uint32_t upperLimitHz;      // 16
    uint32_t resolutionHz;      // 20: the card tunes in steps of this many Hz
    uint32_t modeCount;         // 24: 6 with SSB, else 4
    uint32_t maxVolume;         // 28: SetVolume takes 0..this
    uint32_t bfoLimitHz;        // 32: SetBFOOffset takes plus/minus this
    uint32_t fmSettleRate;      // 36: tunings a second the card settles at in FM and WFM
    uint32_t otherSettleRate;   // 40: the same in the other modes
    uint32_t ioPort;            // 44
    uint32_t deviceNumber;      // 48
    uint32_t reserved1;         // 52
    uint32_t ifShiftLimitHz;    // 56: SetIFShift takes plus/minus this; 0 without IF shift
    uint32_t reserved2[4];      // 60
};
static_assert(sizeof(WrapiRadioInfo) == 76);
static_assert(offsetof(WrapiRadioInfo, model) == 10 && offsetof(WrapiRadioInfo, bfoLimitHz) == 32 &&
              offsetof(WrapiRadioInfo, ifShiftLimitHz) == 56);

// --- The vendor's 23 entry points, in the order the program resolves them.

// device 0: the first card not open; else the card with that number or I/O port. A new
// handle for each open; 0 when there is no such card or it is open already.
WRAPI_ENTRY int32_t OpenRadioDevice(uint16_t device);
WRAPI_ENTRY int32_t CloseRadioDevice(int32_t handle);
// Fills the record; fails when its size is not sizeof(WrapiRadioInfo).
WRAPI_ENTRY int32_t GetRadioDeviceInfo(int32_t handle, WrapiRadioInfo* info);
// The mode's name ("CW", "AM", "FM", "WFM", "LSB", "USB") into text with its terminator;
// its length, 0 for a mode the card does not have or a text too short.
WRAPI_ENTRY int32_t GetModeStringA(int32_t handle, int32_t mode, char* text, int32_t size);
WRAPI_ENTRY int32_t SetPower(int32_t handle, int32_t on);
// Within the card's limits, rounded down to its resolution.
WRAPI_ENTRY int32_t SetFrequency(int32_t handle, uint32_t hz);
WRAPI_ENTRY int32_t SetMode(int32_t handle, int32_t mode);
WRAPI_ENTRY int32_t SetVolume(int32_t handle, int32_t volume);
WRAPI_ENTRY int32_t SetAtten(int32_t handle, int32_t on);
WRAPI_ENTRY int32_t SetMute(int32_t handle, int32_t on);
WRAPI_ENTRY int32_t SetBFOOffset(int32_t handle, int32_t hz);
WRAPI_ENTRY int32_t SetScanMode(int32_t handle, int32_t on);
WRAPI_ENTRY int32_t GetSignalStrength(int32_t handle);
WRAPI_ENTRY uint32_t GetFrequency(int32_t handle);
WRAPI_ENTRY int32_t GetMode(int32_t handle);
WRAPI_ENTRY int32_t GetVolume(int32_t handle);
WRAPI_ENTRY int32_t GetAtten(int32_t handle);
WRAPI_ENTRY int32_t GetMute(int32_t handle);
WRAPI_ENTRY int32_t GetBFOOffset(int32_t handle);
WRAPI_ENTRY int32_t GetScanMode(int32_t handle);
WRAPI_ENTRY int32_t GetPower(int32_t handle);
#ifndef WRAPI_STANDIN_WITHOUT_IF_SHIFT
// Only on a card with IF shift, within plus/minus its limit.
WRAPI_ENTRY int32_t SetIFShift(int32_t handle, int32_t hz);
WRAPI_ENTRY int32_t GetIFShift(int32_t handle);
#endif

// --- Test hooks, not in the vendor's library. They are not logged.

// Every call since the last reset or clear, one line each: name(arguments) = result, for
// example "SetFrequency(100, 145500000) = 1"; a record is logged as its size. The text stays
// valid until the next StandinLog.
WRAPI_ENTRY const char* StandinLog();
WRAPI_ENTRY void StandinClearLog();
// Back to the default cards (closed, off, default settings), the default signal plan, no
// failures, an empty log.
WRAPI_ENTRY void StandinReset();
// From now on the named entry point fails, with its failure value, whatever it is given; the
// call is still logged. 1 when the library has that entry point, else 0. The environment's
// WRAPI_STANDIN_FAIL names entry points (comma-separated) that fail from the start, for trying
// a failing card with the program itself.
WRAPI_ENTRY int32_t StandinFail(const char* entry);
// The named entry point (null: every one) works again; 1 when it was failing.
WRAPI_ENTRY int32_t StandinRecover(const char* entry);
// Replaces the cards by these models (all closed and off); 0, with nothing changed, for a
// model the stand-in does not know.
WRAPI_ENTRY int32_t StandinSetCards(const uint16_t* models, int32_t count);
// An empty signal plan with this noise floor (0..255), and carriers added to it: centre,
// peak level 0..255, width (the level falls off to the noise floor at centre +- width / 2).
WRAPI_ENTRY void StandinSetNoiseFloor(int32_t level);
WRAPI_ENTRY void StandinAddSignal(uint32_t hz, int32_t peakLevel, uint32_t widthHz);
// Card n (numbered from 1) describes these limits and tunes within them, or these settle
// rates (0: the card names none); 0, with nothing changed, when there is no card n. Until the
// next StandinSetCards or StandinReset.
WRAPI_ENTRY int32_t StandinSetLimits(int32_t card, uint32_t lowerHz, uint32_t upperHz);
WRAPI_ENTRY int32_t StandinSetSettleRates(int32_t card, uint32_t fmRate, uint32_t otherRate);
