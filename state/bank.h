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

    uint32_t Cursor = 0;  // cursor frequency
    uint32_t Start = 0;
    uint32_t End = 0;
    uint32_t Step = 0;
    uint32_t Bandwidth = 0;
    char Modulation = 'W';  // mode letter of the range loaded
    uint32_t GridStep = 0;  // frequency between two grid lines of the range window's scale

    uint8_t Flag1 = 0;
    uint8_t InUse = 0;  // a range is loaded in the slot
    uint8_t Flag3 = 1;
    uint8_t Flag4 = 0;

    uint8_t SightLevel = 255;
    UserDp* Range = nullptr;      // the range loaded; not owned
    Etl* EtalonRecord = nullptr;  // the slot's etalon; not owned
    uint8_t HasEtalon = 0;
    // The curves the range window shows of this slot (curve kinds 0 current, 1 minimum,
    // 2 average, 3 maximum, 4 etalon, 5 processed) and the kind its etalon array was loaded from.
    int32_t MainKind = 0;
    int32_t SecondKind = 0;
    int32_t EtalonKind = 4;

    // The slot holds levels to print or export: a scan passed over it, or an etalon came with it.
    bool HasData() const { return InUse && (Flag4 || CycleCount > 0 || HasEtalon); }

    // Points of the range, never more than the arrays hold.
    std::size_t Points() const { return std::min<std::size_t>(PointCount, kBankPoints); }

    // --- Range scan (the scan engine keeps these)
    // The cell of frequency f in every per-point array: the first point Fн is cell 1, as the
    // stored level arrays and etalons have it. -1 for a frequency below Fн, a slot without a
    // step, or a cell beyond the point count.
    int64_t CellOf(int64_t f) const {
        if (Step == 0 || f < int64_t{Start}) return -1;
        const int64_t cell = (f - int64_t{Start}) / Step + 1;
        return cell < int64_t(Points()) ? cell : -1;
    }
    // The cells the range Fн..Fк takes, cell 0 included; at most kBankPoints.
    std::size_t RangeCells() const {
        if (Step == 0 || End < Start) return 0;
        return std::min<std::size_t>((End - Start) / Step + 2, kBankPoints);
    }
    uint32_t ScanPoint = 0;   // the point the scan of this slot is at
    uint8_t Finished = 1;     // the slot has run its cycles; a slot without a range counts so
    uint8_t PassDone = 0;     // a pass over the range was completed (the range window reads it)
    uint32_t CyclesDone = 0;  // passes completed since the scan started
    // The signal being followed: open, the frequency where it began, its highest level.
    uint8_t SignalOpen = 0;
    uint32_t SignalStart = 0;
    int32_t SignalPeak = 0;
    uint32_t LastSignal = 0;  // frequency of the last signal event, 0 = none
    // The part of the range the range window shows and its scroll state: the window sets
    // them, the scan scrolls to follow itself (SPY).
    uint32_t VisibleLow = 0;
    uint32_t VisibleHigh = 0;
    int32_t ScrollPosition = 0;
    int32_t ScrollMaximum = 0;

    // --- Range window layout (the window lays a slot out when a range is loaded)
    // The scale's column 0: a whole number of steps below Fн, at or below the first grid line.
    uint32_t FirstScaleFrequency = 0;
    uint32_t StepsBelowStart = 0;  // the steps from it up to Fн
    uint32_t ScaleColumns = 0;     // columns from it up to GridEnd
    uint32_t GridStart = 0;        // frequencies of the first and the last grid line
    uint32_t GridEnd = 0;
    std::vector<int32_t> GridColumns;  // the scale column of each grid line
    // The scale scrolls by grid lines when it has more columns than the picture is wide.
    uint8_t Scrolls = 0;
    int32_t PageSize = 0;  // grid divisions the picture shows
    int32_t LineSize = 1;
    // The threshold scroll bar's position 0..255; the sight level is 255 minus it.
    int32_t ThresholdPosition = 0;
};
