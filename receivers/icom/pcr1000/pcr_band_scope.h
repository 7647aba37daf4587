#pragma once
// The IC-PCR1000's band scope: the set sweeps up to 255 cells around the tuned frequency
// (cell 128 is the tuned one, cell c lies (c - 128) steps from it) and reports them in
// blocks of 16 cells, block b (0..15) as the reply "NE" + (0x10 + b) + "0" + 16 hex pairs.
// The panel draws the cells as a live spectrum while the set is idle, and during a scale
// scan with the band scope copies 32 cells, 10 kHz apart, into its level scale in one step.
//
// This holds the cells and what the panel sends and draws of them; the panel does the
// exchanges.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "receivers/level_scale.h"
#include "ui/canvas.h"

class PcrBandScope {
  public:
    static constexpr int kCellCount = 256;
    static constexpr int kCentreCell = 128;
    static constexpr int kBlockCells = 16;
    static constexpr int kBlockCount = kCellCount / kBlockCells;
    // The start line carries the cell count in two hex digits.
    static constexpr int kMostCells = 255;
    // The step list (100 Hz units), items 0..8; item 5 (5 kHz) at first.
    static constexpr std::array<uint32_t, 9> kSteps = {1, 2, 5, 10, 20, 50, 100, 200, 500};
    static constexpr int kDefaultStepItem = 5;
    // A typed step: its start line carries it in Hz, six digits.
    static constexpr uint32_t kLeastStep = 1;
    static constexpr uint32_t kMostStep = 9999;
    static constexpr int kDefaultCellWidth = 6;
    // The sweep stopped.
    static constexpr const char* kStopLine = "ME0000100000000000000";
    // A scale scan with the band scope: 32 cells 10 kHz apart, of which cells 112..143 are
    // copied into the level scale at every step (the two blocks 0x17 and 0x18).
    static constexpr const char* kScanStartLine = "ME0000120050100010000";
    static constexpr int kScanFirstCell = 112;
    static constexpr int kScanCellCount = 32;
    static constexpr uint32_t kScanCellStep = 100;  // 10 kHz

    // Cells a picture of this width shows: width / cell width, at most 255.
    int VisibleCells(int pictureWidth) const;
    // The sweep of the visible cells at the step: "ME00001" + count + "050100" + step in Hz.
    std::string StartLine(int pictureWidth) const;
    // Only the blocks holding visible cells are asked for.
    void MarkWanted(int pictureWidth);
    // The query of one block (0..15), "NE170?\r\n" for block 7.
    static std::string BlockQuery(int block);
    // The queries of the wanted blocks, joined; empty when none is wanted.
    std::string PollLine() const;
    // A "NE" reply: its block's 16 cells, a pair that is not two upper-case hex digits as 0.
    // False, nothing changed, for a block outside 0x10..0x1F.
    bool Take(std::string_view reply);
    // Cells 112..143 into the level scale: cell 112 + k at frequency - 1600 + 100 k (from
    // 160 kHz below to 150 kHz above), 255 kept as 254; frequencies outside the scale are
    // skipped.
    void CopyToScale(LevelScale& scale, uint32_t frequency) const;
    void Clear();

    // 6 -> 12 -> 24 -> 48 -> 3 -> 6 pixels a cell.
    void NextCellWidth();
    // A cell width read from the state file; false (width unchanged) for one the view button
    // does not give.
    bool SetCellWidth(int width);
    // False (step unchanged) outside the list.
    bool SetStepItem(int item);
    // A step typed into the list (100 Hz units), held to 1..9999; the item follows when the
    // list has the step.
    void SetStep(uint32_t step);
    // The list's item of the step, or of the step chosen from the list last when a typed one
    // is not listed: the state file keeps the item.
    int StepItem() const { return stepItem_; }
    uint32_t Step() const { return step_; }

    // The frame (grid, centre, offsets in kHz) and the bars of the visible cells.
    void Draw(ui::Painter& painter) const;

    std::array<uint32_t, kCellCount> Cells{};
    std::array<bool, kBlockCount> Wanted{};
    int CellWidth = kDefaultCellWidth;
    // Polled only while running; the connect sequence starts it.
    bool Paused = true;

  private:
    int stepItem_ = kDefaultStepItem;
    uint32_t step_ = kSteps[kDefaultStepItem];
};
