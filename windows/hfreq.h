#pragma once
// The compact channel list `hfreq`: a small window beside the others that lists the working
// bank's channels with their levels while a bank scan runs; a click on a channel tunes the
// receiver to it when no scan runs. The bank window asks the main window to open it
// (PostOpenHfreq); the main window makes it, places it and deletes it once it has said that it
// closed (PostHfreqClosed). Like the bank window it keeps each row's channel index, never a
// pointer into FDX::Channels.

#include <cstdint>
#include <vector>

#include "state/fdx.h"
#include "ui/form_controls.h"

// The window's controls (ui/form_controls.h).
// clang-format off
#define HFREQ_CONTROLS(X) \
    X(101, ListView, lv_1, (1, 1, 96, 178), 0, nullptr, nullptr)
// clang-format on

class hfreq : public ui::Form {
  public:
    hfreq();
    ~hfreq() override;

    // Builds the window from "ID_hfreq", owned by `parent`, listing the bank of `state`.
    bool Create(ui::Form* parent, FDX* state);

    // Controls, owned by the form; empty until the create event.
    UI_FORM_CONTROLS(HFREQ_CONTROLS)

    // The posted codes the window serves; others are ignored.
    void OnUserEvent(uint32_t code);
    // A click on a row.
    void ClickRow(int row);
    void SortBy(int column);
    // The channel of each row, top to bottom.
    const std::vector<int32_t>& RowChannels() const { return rows_; }

  private:
    void OnCreate();
    void Rebuild();
    void RewriteRow(int row);
    Mt* RowChannel(int row);
    void AnnounceClosed();

    FDX* fdx_ = nullptr;
    std::vector<int32_t> rows_;
    int clickedRow_ = -1;
    int sortColumn_ = -1;
    bool closed_ = false;
};
