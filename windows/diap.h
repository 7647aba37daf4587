#pragma once
// The range window `diap` (tab page "Диап"): the level spectrum of one of the twelve range slots,
// its two curves, markers and fixed points, selection, sight and threshold, and the searches
// of range_analysis.h. It keeps no spectrum of its own: it shows and changes the slots of the
// program state, and every tune it asks for goes to the main window as PostApplyFrequency.
//
// The main window creates it at start-up (window_host.h), sends it the codes of the message
// bus (PostFollowScan at every step of a scan it follows), and lends it the shared picture
// that shows the spectrum while tab page 2 is up.

#include <array>
#include <cstdint>
#include <memory>

#include "state/fdx.h"
#include "ui/controls.h"
#include "windows/diap_form.h"
#include "windows/page_window.h"
#include "windows/range_analysis.h"
#include "windows/range_view.h"
#include "windows/wait.h"
#include "windows/window_host.h"

class diap : public PageWindow {
  public:
    diap();
    ~diap() override;

    // Controls, owned by the form; empty until the create event.
    UI_FORM_CONTROLS(DIAP_CONTROLS)
    // The same controls by their place.
    std::array<ui::OptionButton*, kScanSlotCount> optb{};  // optb_1 .. optb_12: the shown slot
    // The two rows of curve kinds, left to right as they stand: current, minimum, average,
    // maximum, processed, etalon (kVisibleKinds).
    std::array<ui::OptionButton*, 6> secondRow{};  // ftek fminm fsum fmaxm fobr fetal
    std::array<ui::OptionButton*, 6> mainRow{};    // tek minm sum maxm obr etal
    std::array<ui::Label*, 9> levelLabels{};       // l0 (bottom) .. l8 (top)

    // The curve kinds of the radio rows and of job objects 27..32 and 33..38, in that order.
    static constexpr std::array<int32_t, 6> kVisibleKinds = {
        kCurrentCurve, kMinimumCurve, kAverageCurve, kMaximumCurve, kProcessedCurve, kEtalonCurve};

    // The posted codes the window serves; others are ignored.
    void OnUserEvent(uint32_t code);
    // Runs FDX::JobLine (objects 14..44) and answers it with one PostJobStep.
    void ExecuteCommand();

    void SelectSlot(int32_t index);
    // Takes one radio row (0 main, 1 second) into the program state, loads the etalon array
    // the two kinds call for (always with `reload`), stores the kinds in the slot and redraws.
    void ApplyCurveKind(int row, bool reload);
    void DrawScale();
    void DrawCursor();
    void ShowOnMainPicture();
    void UpdateLabels();
    void UpdateCursorLabel();
    void UpdateScrollRange();
    void SyncScrollPosition();
    void SetCursorFrequency(uint32_t frequency);
    void BindViewSource1();
    void BindViewSource2();
    void BindViewSources();
    void UpdateViewMarkers();
    void ReleaseViewSources();
    void FreeSlotArrays();
    bool LayoutSlot();

    // The analysis of range_analysis.h on the shown slot, with what it asks posted or shown.
    void SearchMaxLeft();
    void SearchMaxRight();
    void SearchFixedLeft();
    void SearchFixedRight();
    void ToggleMarker(MarkerMode mode);
    void ClearScale();
    void Approximate();
    void ProcessAgainstEtalon();
    void MarkScalePoints(Bank& slot);

    // The operator's hand, in the picture's pixels (what the picture's events call).
    void MouseDown(int x, int y);
    void MouseMove(int x, int y);
    void MouseUp(int x, int y);
    void MouseLeave();
    void DoubleClick();
    void ScrollThreshold(int position);  // vs
    void ScrollScale(int position);      // hs

    bool Busy() const { return busy_; }
    FDX& State() { return *fdx_; }
    Bank* ShownSlot();
    RangeView& View() { return *view_; }
    // The picture's place on the form, which is also its place on the shared picture.
    ui::Rect PictureRect() const { return picture_; }

  private:
    void OnCreate();
    void CreateControls();
    void WireControls();
    void ApplyKinds(bool reload);
    void SyncSlotButtons();
    void SyncRadioRows();
    void TakeBoxes();
    void WriteBoxes();
    void FillFrequencyList(ui::ComboBox* box);
    void FillStepList();
    void StepBox(ui::ComboBox* box, int delta, bool upperInclusive);
    void ReportSearch(const SearchResult& result);
    void Redraw();  // DrawScale, then ShowOnMainPicture
    // What the posted codes do.
    void SharePictureGeometry();
    void TakeSelection();
    void ShowLoadedSlot();
    void FollowTunedFrequency();
    void RedrawGroupSlots();
    std::array<ui::Window*, 8> LockedButtons() const;
    void LockControls();
    void UnlockControls();
    void RedrawScale();  // DrawScale, the scroll bar, ShowOnMainPicture
    void ClearSlots();
    void PostToFreeSlot(uint32_t code);
    void RefreshData();
    void FollowScan();
    bool OwnsSharedPicture() const;
    ui::SharedPicture* SharedTarget() const;
    int64_t CursorTarget();
    bool BindViewSource(std::size_t index, int32_t kind);

    std::unique_ptr<RangeView> view_;
    Wait wait_;
    ui::Rect picture_;
    bool busy_ = false;
    bool gridBeforeLock_ = false;
    // The operator's hand on the picture.
    bool buttonDown_ = false;
    bool draggingSight_ = false;
    bool pressOnSight_ = false;
    bool selecting_ = false;
    int64_t anchor_ = -1;  // selection anchor frequency
    // What the shared picture shows of the scale, so that a scan's refresh that finds nothing
    // else changed only moves the cursor.
    bool shownCurrent_ = false;
    int32_t shownSlot_ = -1;
    int32_t shownScroll_ = -1;
};
