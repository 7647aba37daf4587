#pragma once
// The level scale of a receiver panel: one byte per 10 kHz from 0 up to the panel's upper
// limit, the last level measured in each cell. The fine scale draws it, the peak jumps
// search it and the state file keeps it. Every panel has one; every index is checked, since
// frequencies come from files, the wire and the mouse.

#include <cstddef>
#include <cstdint>
#include <vector>

class LevelScale {
  public:
    // One cell covers this many 100 Hz units.
    static constexpr int64_t kCellWidth = 100;

    // Cells for the frequencies 0..upperLimit (100 Hz units), all 0; the fill state starts
    // afresh. Throws std::bad_alloc when the memory is not there.
    void Allocate(uint32_t upperLimit);
    void Free();
    // Cells for the frequencies 0..upperLimit, keeping the cells both sizes have (new ones are
    // 0): for a receiver that learns its limits from the device. Throws std::bad_alloc.
    void Resize(uint32_t upperLimit);

    std::size_t CellCount() const { return cells_.size(); }
    bool IsAllocated() const { return !cells_.empty(); }
    // Cell index of a frequency, or -1 outside the scale.
    int64_t IndexOf(int64_t frequency) const;
    // 0 outside the scale.
    uint8_t Cell(int64_t index) const;
    uint8_t At(int64_t frequency) const { return Cell(IndexOf(frequency)); }
    // Ignored outside the scale.
    void SetCell(int64_t index, uint8_t value);
    const std::vector<uint8_t>& Cells() const { return cells_; }

    // Enters level L measured at frequency f (100 Hz units). When the previous measurement
    // lies within FillWindow / 4 of f, the cells strictly between the two take the larger of
    // the previous cell and L, so a scan in steps finer than a cell, or up to half a filter
    // bandwidth apart, leaves no holes; wider jumps leave the cells between untouched. A
    // frequency outside the scale changes nothing.
    void Measure(int64_t frequency, int level);
    // Zeroes every cell and forgets the previous measurement and the peak.
    void Clear();

    // The next signal peak beside `frequency`, to the right (higher) or the left: the
    // frequency in the middle of the highest rise and fall of the smoothed levels (the mean
    // over FillWindow / 200 cells each side) whose swing exceeds PeakLevel / 20. The search
    // starts FillWindow away from `frequency`, skips unmeasured cells and ends FillWindow
    // beyond the best peak; the peak is then the strongest cell (the middle of a run of them)
    // within the mean's reach. -1 when there is none or the start lies outside lower..upper.
    int64_t FindPeak(int64_t frequency, bool right, int64_t lower, int64_t upper) const;

    // The walk of a peak search over the cells (FindPeak, and the IC-PCR1000's own search).
    struct HillWalk {
        int64_t from, to;  // the cells walked, upwards (right) or downwards
        bool right;
        // Each cell counts as the mean of the cells halfSpan each side, from cell 1 up to
        // lastInMean (unmeasured ones as 0).
        int64_t halfSpan, lastInMean;
        int64_t threshold;  // the swing of the means over the walk so far a hill needs
        int64_t reach;      // the walk ends this far beyond the best hill (100 Hz units)
        // The hill's foot is the cell where its rise began; else the rise's last step.
        bool footWhereRiseBegan;
    };
    // Skipping unmeasured cells: the middle between the foot and the top of the highest hill
    // of the means (100 Hz units); -1 when none swings beyond the threshold.
    int64_t HighestHill(const HillWalk& walk) const;

    // Frequency of the previous measurement; 0 = none.
    int64_t ScaleFrequency = 0;
    // Twice the bandwidth of the current filter, 100 Hz units.
    int32_t FillWindow = 100;
    // The largest level entered since the scale was made or cleared.
    int32_t PeakLevel = 0;
    // Models whose level can reach 255 keep 255 out of the scale (the AOR panels): 255 and
    // more are entered as 254. The CI-V panels enter the level as decoded.
    bool LimitTo254 = false;

  private:
    std::vector<uint8_t> cells_;
};
