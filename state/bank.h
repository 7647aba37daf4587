#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct UserDp;
struct Etl;

// Length of every level array of a range slot. A range has fewer points than this: the range
// scan cuts a range that would reach it.
inline constexpr std::size_t kBankPoints = 64000;

// The program holds this many range slots (FDX::ScanSlots).
inline constexpr std::size_t kScanSlotCount = 12;

// Marks in the flag byte of a point.
inline constexpr uint8_t kFixedFrequencyPoint = 0x80;  // a fixed frequency was found here
inline constexpr uint8_t kStopPoint = 0x40;

// A range slot: one loaded range with the levels its scans gathered, one byte per point.
struct Bank {
    // Gives every level array and the point flags their full length, all zero.
    Bank();

    std::string Name;
    std::string Identifier;  // identifier of the range loaded; goes into a group made of slots

    std::vector<uint8_t> Current;
    std::vector<uint8_t> Minimum;
    std::vector<uint8_t> Average;
    std::vector<uint8_t> Maximum;
    std::vector<uint8_t> Etalon;  // the etalon array the range is compared with (FDX::LoadScale)
    std::vector<uint8_t> Processed;
    std::vector<uint8_t> Flags;  // kFixedFrequencyPoint, kStopPoint

    uint32_t PointCount = 0;  // below kBankPoints
    uint32_t CycleCount = 0;  // scan cycles the levels were gathered over

    // Kept for the spectrum window, which gives them their meaning.
    std::vector<int32_t> SpectrumLongs;
    struct {
        int32_t Low = 0;
        int32_t High = 0;
    } SpectrumRange;
    std::vector<int32_t> SpectrumLongs2;
    uint32_t Cursor = 0;  // cursor frequency
    uint32_t Start = 0;
    uint32_t End = 0;
    uint32_t Step = 0;
    uint32_t Bandwidth = 0;
    char Modulation = 'W';  // mode letter of the range loaded
    uint32_t GridStep = 0;

    uint8_t Flag1 = 0;
    uint8_t InUse = 0;  // a range is loaded in the slot
    uint8_t Flag3 = 1;
    uint8_t Flag4 = 0;

    uint8_t SightLevel = 255;
    UserDp* Range = nullptr;      // the range loaded; not owned
    Etl* EtalonRecord = nullptr;  // the slot's etalon; not owned
    uint8_t HasEtalon = 0;
    uint32_t Word1 = 0;
    uint32_t Word2 = 0;
    uint32_t Word3 = 4;

    // Points of the range, never more than the arrays hold.
    std::size_t Points() const { return std::min<std::size_t>(PointCount, kBankPoints); }
};
