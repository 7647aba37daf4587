#pragma once
// The range window's analysis of a range slot: the maxima and fixed-point searches, the marker,
// clearing, approximation of gaps, processing against the etalon and the fixed points of the
// stored scales. Nothing here posts or shows anything: each operation says what the window is
// to do (the tune to request, the numbered message, the codes to post), so the window stays the
// only place that talks to the main window.
//
// Point k of a slot is the frequency Fн + k × step, k = 0 .. N. The scan stores the level of
// frequency f in cell Bank::CellOf(f) = (f − Fн) / step + 1, and etalon files keep the cells as
// they are, so point k lives in cell k + 1 of every per-point array; cell 0 holds no point.
// Reading point k from cell k would report every peak, run and marker one step above the
// frequency it was scanned at.

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "state/bank.h"

class FDX;
struct UserSc;

// Curve kinds: which level array of a slot a curve shows.
inline constexpr int32_t kCurrentCurve = 0;
inline constexpr int32_t kMinimumCurve = 1;
inline constexpr int32_t kAverageCurve = 2;
inline constexpr int32_t kMaximumCurve = 3;
inline constexpr int32_t kEtalonCurve = 4;
inline constexpr int32_t kProcessedCurve = 5;

// Numbered messages (FDX::ShowError) the analysis reports.
inline constexpr int32_t kMaximaNotFound = 29;  // "Максимумы Шкалы не найдены"
inline constexpr int32_t kFixedNotFound = 30;  // "Фиксированные частоты не найдены"
inline constexpr int32_t kMarkerOutOfRange = 34;  // "Для создания маркера необходимо ..."

// The level array of curve kind `kind`; none for a kind outside 0..5.
const std::vector<uint8_t>* CurveArray(const Bank& slot, int32_t kind);
std::vector<uint8_t>* CurveArray(Bank& slot, int32_t kind);

// N, the index of the slot's last point: (Fк − Fн) / step, but never a point whose cell the
// arrays do not hold. -1 when the slot has no point (no step, Fк below Fн, no cells).
int64_t LastPoint(const Bank& slot);

// Level of point k on curve `kind`; 0 for a point the slot does not hold or a kind outside 0..5.
int32_t PointLevel(const Bank& slot, int32_t kind, int64_t k);

// Mean level of the main curve over points i − h .. i + h, h = bandwidth / (2 × step); points
// ≤ 0 and ≥ N stay out of the mean. 0 when nothing is left.
int32_t SmoothedLevel(const Bank& slot, int32_t kind, int64_t i);

// What a search asks the window to do.
struct SearchResult {
    int32_t message = 0;                    // numbered message to show; 0 when a target was found
    std::optional<uint32_t> tuneFrequency;  // request this tune (PostApplyFrequency, 0x7b)
    bool selectScale = false;               // then post PostSelectScale (0xa6)
    bool moveCursor = false;                // and move the window cursor to the target
};

// Maxima searches from `frequency` (FDX::Frequency), down and up, over curve `kind`: the top of
// the smoothed levels, tuned at the strongest point its mean took in.
SearchResult SearchMaxLeft(const Bank& slot, int32_t kind, uint32_t frequency);
SearchResult SearchMaxRight(const Bank& slot, int32_t kind, uint32_t frequency);

// The next fixed run or marker point below or above `frequency`, the run under the start point
// walked over; a run is tuned at its middle. The walk reaches the range's edge points: a run that
// ends one point short of an edge, or a marker on Fн or Fк, is found too.
SearchResult SearchFixedLeft(const Bank& slot, uint32_t frequency);
SearchResult SearchFixedRight(const Bank& slot, uint32_t frequency);

enum class MarkerMode { Set, Toggle };
// Sets or inverts the marker of the point at `frequency`; the message to show, 0 when done.
int32_t ToggleMarker(Bank& slot, uint32_t frequency, MarkerMode mode);

// Clears every level array but the etalon, the markers and the cycle count. True when the slot
// was cleared and the window is to post PostRefreshData (0x05) to itself.
bool ClearScale(Bank& slot);

// Fills the zero gaps of curve `kind` shorter than bandwidth / step points by straight lines.
void Approximate(Bank& slot, int32_t kind);

// Loads the slot's etalon array from the etalon file of the given curve kind.
using EtalonLoader = std::function<void(int32_t etalonKind)>;
// Fills the processed array of a loaded slot by its range's processing mode 0..8; modes 1..6
// have `loadEtalon` fill the etalon array first.
void ProcessAgainstEtalon(Bank& slot, const EtalonLoader& loadEtalon);
// The same for every loaded slot of the program state, the etalon loaded by FDX::LoadScale with
// FDX::EtalonKind set to the kind the mode compares with.
void ProcessAgainstEtalon(FDX& fdx);

// Marks as fixed the points of a loaded slot that lie inside one of the stored scales.
void MarkScalePoints(Bank& slot, const std::vector<UserSc*>& scales);

// Fills the tune request of the program state for `frequency` with the slot's mode letter and
// step and the option byte of its range; the window then posts PostApplyFrequency.
void FillTuneRequest(FDX& fdx, const Bank& slot, uint32_t frequency);
