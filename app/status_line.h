#pragma once
// The main window's status line and the level bar beside it: what the scans, the receiver and
// the windows' codes show there. Pane 0 holds the work mode (or the line an editor run is at,
// or a panel's own text), 1 the passes left or the width of the marked span (or "ATT"), 2 the
// level, 3 the level under the cursor or the sight level, 4 to 6 the markers and the cursor.
// Until the window made its controls nothing is shown.

#include <cstdint>
#include <string>

#include "state/fdx.h"
#include "ui/controls.h"

class StatusLine {
  public:
    explicit StatusLine(const FDX& fdx) : fdx_(fdx) {}
    void Attach(ui::StatusBar* bar, ui::ProgressBar* levelBar) {
        bar_ = bar;
        levelBar_ = levelBar;
    }

    void ShowText(const std::string& text);  // pane 0
    void ShowModeStatus();                   // pane 0: the text of FDX::WorkMode
    // A raw level in pane 2 (tenths of dB with OptDb) and on the bar; -1 shows "выкл".
    void ShowLevel(int32_t level);
    void ShowCyclesLeft();        // pane 1
    void ShowAttenuator();        // pane 1, while no scan runs
    void ShowSightLevel();        // pane 3: the shown slot's sight level
    void ShowMarkersAndCursor();  // panes 1, 3 to 6

  private:
    std::string LevelText(int64_t level) const;

    const FDX& fdx_;
    ui::StatusBar* bar_ = nullptr;
    ui::ProgressBar* levelBar_ = nullptr;
};
