#pragma once
// The detailed study `View`, "Детальное исследование сигналов": two level curves side by side
// around their markers (study.h), each in a band of its own, with the readouts at the markers,
// the differences between them, zoom, and a printout (view_print.cpp).
//
// The curves live in FDX::ViewSources; the range window (and the bank window, and the main
// window for the receiver's scale) binds them. The study keeps no copy: every
// PostRefreshDisplay or PostAnalysisUpdate draws again from the sources. The main window
// opens and closes it and forwards the codes that make it recompute; the study keeps
// FDX::StudyOpen while its window is there.

#include <array>
#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <vector>

#include "state/fdx.h"
#include "ui/controls.h"
#include "windows/study.h"
#include "windows/view_form.h"

namespace ui {
class PrintTarget;
}

inline constexpr const char* kStudyDocumentName = "Печать детального анализа ORVEL";

class View : public ui::Form {
  public:
    View();
    ~View() override;

    // Builds the window from "ID_View", owned by `parent`, working on `state`.
    bool Create(ui::Form* parent, FDX* state);

    // Controls, owned by the form; empty until the create event.
    UI_FORM_CONTROLS(VIEW_CONTROLS)

    // PostRefreshDisplay and PostAnalysisUpdate; others are ignored.
    void OnUserEvent(uint32_t code);
    // Each present curve's scroll bar spans its samples and stands on its marker.
    void SetupScrollBars();
    // The display buffer again, then the graph in full with its markers and readouts.
    void Recompute();
    void MoveMarker(int curve, int position);  // a scroll bar moved
    void ChooseZoom(int curve, int index);     // a zoom list's choice
    void TakeFeed();                           // insignal or intempl clicked

    // The operator's hand on the split bars, in the graph's pixels.
    void MouseDown(int x, int y);
    void MouseMove(int x, int y);
    void MouseUp();

    // The print button: the print dialog, then the chosen printer (or PDF file).
    void Print();
    // The analysis as one document "Печать детального анализа ORVEL" on `target`; false
    // when the target took no document or it could not be written.
    bool PrintTo(ui::PrintTarget& target);
    // The texts the printout writes under its graph: the table rows (cells split by TAB)
    // and the lines after it.
    std::vector<std::string> PrintedTable();
    std::vector<std::string> PrintedLines();

    const std::vector<uint8_t>& Buffer() const { return buffer_; }
    const StudyDifferences& Differences() const { return differences_; }
    const std::array<int, kStudyCurves>& Zoom() const { return zoom_; }
    ui::Picture& Picture() { return *picture_; }
    // The bands of the two curves and the four split bars' tops, in the graph's pixels.
    ui::Rect Band(int curve) const;
    const std::array<int, 4>& Bars() const { return bars_; }
    int ReadoutHeight() const { return readoutHeight_; }

    // The calendar clock of the printout's header; empty: the system's. Tests set it.
    std::function<std::time_t()> CalendarClock;

  private:
    void OnCreate();
    void WireControls();
    void Draw();
    void Post(uint32_t code);
    ui::ScrollBar* Bar(int curve) const { return curve == 0 ? signal : templ; }

    FDX* fdx_ = nullptr;
    std::unique_ptr<ui::Picture> picture_;
    std::vector<uint8_t> buffer_;
    std::array<int, kStudyCurves> zoom_{2, 2};
    StudyDifferences differences_;
    int readoutHeight_ = 0;
    std::array<int, 4> bars_{};  // band 1 top and bottom, band 2 top and bottom
    int dragging_ = -1;          // the split bar being dragged
};
