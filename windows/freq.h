#pragma once
// The bank window `freq` (tab page "Банк"): the working bank's channels (FDX::Channels) as a
// list the operator edits, and, once the bank has been measured, a chart of every channel's
// level over the measurements (bank_chart.h) beside it. It keeps no channels of its own: each
// row of its list holds the index of its channel, never a pointer, since excluding and
// renumbering move the records. A tune it asks for goes to the main window as
// PostApplyFrequency; it also feeds the detailed study a channel's history and asks the main
// window for the compact channel list (hfreq.h).
//
// The main window creates it at start-up (window_host.h), sends it the codes of the message
// bus, calls UpdateScrollBar when a bank scan starts, and lends it the shared picture while
// tab page 1 is up.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "state/fdx.h"
#include "ui/controls.h"
#include "windows/bank_chart.h"
#include "windows/freq_form.h"
#include "windows/page_window.h"
#include "windows/window_host.h"

// The seven cells of a channel's row: frequency, step, mode, level, attenuator, comment and
// number; a switched-off channel (frequency 0) reads "выкл" with the other cells empty.
std::vector<std::string> BankRowTexts(const FDX& fdx, const Mt& channel);

class freq : public PageWindow {
  public:
    freq();
    ~freq() override;

    // Controls, owned by the form; empty until the create event.
    UI_FORM_CONTROLS(FREQ_CONTROLS)

    // The posted codes the window serves; others are ignored.
    void OnUserEvent(uint32_t code);
    // Runs FDX::JobLine (objects 11..18) and answers it with one PostJobStep.
    void ExecuteCommand();
    // Shows the chart's scroll bar when there are more measurements than the chart is wide.
    void UpdateScrollBar();

    // What the buttons, job lines and fields do.
    void AddCurrentFrequency();
    void ExcludeSelected();
    void Replicate();
    void Renumber();
    void SortBy(int column);
    // Selects the row as a click does: the channel becomes the current setting and is tuned
    // unless the window is busy or the channel is switched off.
    void SelectRow(int row);
    void EditFrequency(const std::string& text);
    void EditStep(const std::string& text);
    void ChooseModulation(int index);
    void ToggleAttenuator();
    void EditComment(const std::string& text);
    void FeedStudy();

    // The operator's hand on the chart, in the chart's pixels.
    void MouseMove(int x, int y);
    void MouseLeave();
    void MouseDown(int x, int y);
    void ScrollChart(int position);

    bool Busy() const { return busy_; }
    // The channel of each row, top to bottom; the selected row, -1 none.
    const std::vector<int32_t>& RowChannels() const { return rows_; }
    int SelectedRow() const { return selectedRow_; }
    const BankChart& Chart() const { return *chart_; }
    // The chart's place on the form, which is also its place on the shared picture.
    ui::Rect ChartRect() const { return chartRect_; }

  private:
    void OnCreate();
    void WireControls();
    FDX& S() { return *fdx_; }
    Mt* RowChannel(int row);
    int RowOf(int32_t channel) const;
    int32_t StudyChannel();
    void RebuildList();
    void RewriteRow(int row);
    void MarkSelected(int row);
    void FillFields();
    void EnableFields();
    int32_t SampleCount() const;
    int32_t LargestFirst() const;
    void ClampSamples();
    void RefreshLevelColumn();
    bool OwnsSharedPicture() const;
    ui::SharedPicture* SharedTarget() const;
    ChartRows VisibleRows() const;
    void Redraw();
    void CopyToShared();
    void ShowOnMainPicture(bool bringIntoView = true);
    void DrawMeasuredColumn();
    void ShowStartTime();
    void FollowMeasurement();
    void StepShownSample(int direction);
    void ReleaseStudyCurves();
    void RenewAfterChange();
    int BandAt(int y) const;

    std::unique_ptr<BankChart> chart_;
    ui::Rect chartRect_;
    std::vector<int32_t> rows_;  // the channel of each row
    int selectedRow_ = -1;
    int sortColumn_ = -1;
    bool busy_ = false;
    ChartRows drawnRows_;  // the rows the chart was last drawn for
};
