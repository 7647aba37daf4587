// The windows of the main window's tab pages, the compact channel list and the detailed study:
// the page windows made at start-up (stage 16 the group window, 17 the bank window, 18 the
// range window), told of the end of the start-up, lent the shared picture while their page is
// up, sent the codes of the main window's share that concern them, and put away before the
// main window goes; the channel list and the study made and put away on request.

#include "app/orvel_windows.h"

#include <algorithm>

#include "app/orvel.h"
#include "app/report_text.h"
#include "state/message_bus.h"
#include "state/stamp_clock.h"
#include "windows/range_layout.h"

namespace {

constexpr int kBankPage = 1;
constexpr int kRangePage = 2;
constexpr int kGroupPage = 3;
// The channel list stands at the main window's left edge, this many dialog units below its
// top.
constexpr int kChannelListDrop = 3;

}  // namespace

void ORVEL::CreateWindows() {
    const ui::Rect page = tabctrl_1->PageArea();
    windows = std::make_unique<OrvelWindows>(std::max(page.width, 1), std::max(page.height, 1));
    EnterStage(16);
    group& strips = windows->strips;
    if (strips.Create(this, this, windows.get())) {
        tabctrl_1->SetPage(kGroupPage, &strips);
        subWindows.group = &strips;
    }
    EnterStage(17);
    freq& bank = windows->bank;
    if (bank.Create(this, this, windows.get())) {
        tabctrl_1->SetPage(kBankPage, &bank);
        subWindows.freq = &bank;
        // A bank scan sets up the chart's scroll bar for its measurements as it starts.
        UpdateBankScrollBar = [this] { windows->bank.UpdateScrollBar(); };
    }
    EnterStage(18);
    diap& range = windows->range;
    if (range.Create(this, this, windows.get())) {
        tabctrl_1->SetPage(kRangePage, &range);
        subWindows.diap = &range;
        // A range scan that follows itself (SPY) redraws the range window as it scrolls it.
        DrawRangeScale = [this] { windows->range.DrawScale(); };
    }
    LendSharedPicture(WorkMode);
    for (ui::Form* window : {subWindows.diap, subWindows.group, subWindows.freq})
        PostPrivateMessage(window, PostSyncReceiver);
}

void ORVEL::DeleteWindows() {
    if (!windows) return;
    DrawRangeScale = nullptr;
    UpdateBankScrollBar = nullptr;
    windows->channelList.reset();
    auxWindows.hfreq = nullptr;
    HfreqOpen = 0;
    windows->study.reset();
    auxWindows.View = nullptr;
    windows->calibration.reset();
    if (subWindows.diap == &windows->range) subWindows.diap = nullptr;
    if (subWindows.freq == &windows->bank) subWindows.freq = nullptr;
    if (subWindows.group == &windows->strips) subWindows.group = nullptr;
    // The pages get their one-label forms back before the windows that took them go.
    for (const int index : {kBankPage, kRangePage, kGroupPage})
        if (tabctrl_1 != nullptr && pages[std::size_t(index)])
            tabctrl_1->SetPage(index, pages[std::size_t(index)].get());
    windows.reset();
}

// The bank, range and group pages own the shared picture while they are up; no other page
// draws on it.
void ORVEL::LendSharedPicture(int32_t page) {
    if (windows) windows->picture.SetOwner(page >= kBankMode && page <= kGroupMode ? page : 0);
}

// ---- the compact channel list

// PostOpenHfreq opens the compact channel list, or closes it when it is open; the list then
// says PostHfreqClosed, upon which it is deleted.
void ORVEL::ServeChannelList(uint32_t code) {
    if (!windows) return;
    if (code == PostHfreqClosed) {
        auxWindows.hfreq = nullptr;
        windows->channelList.reset();
        return;
    }
    if (code != PostOpenHfreq) return;
    if (HfreqOpen && windows->channelList) {
        windows->channelList->Destroy();
        return;
    }
    auto list = std::make_unique<hfreq>();
    if (!list->Create(this, this)) return;
    const ui::Rect main = Geometry();
    ui::Rect place = list->Geometry();
    place.x = main.x;
    place.y = main.y + Units().ToPixels({0, kChannelListDrop, 0, 0}).y;
    list->Move(place);
    list->Show();
    auxWindows.hfreq = list.get();
    windows->channelList = std::move(list);
}

// ---- the detailed study

// The study's button and job object 31: the study opens, or with `toggle` closes when open;
// not while the calibration window is open.
void ORVEL::OpenStudy(bool toggle) {
    if (CalibrOpen) {
        ShowError(48);
        return;
    }
    if (!windows) return;
    if (StudyOpen && windows->study) {
        if (toggle) {
            windows->study.reset();
            auxWindows.View = nullptr;
        }
        return;
    }
    SetStudySourceKinds(WorkMode);
    windows->study = std::make_unique<View>();
    if (!windows->study->Create(this, this)) {
        windows->study.reset();
        return;
    }
    auxWindows.View = windows->study.get();
    PostPrivateMessage(this, PostAnalysisUpdate);
}

void ORVEL::BuildReportText() {
    ScopeSpan = receiver.ActiveReceiverParam();
    if (ReceiverPanel* panel = receiver.Panel())
        panel->CopyBandScope();
    else
        ScopeBlocks.fill(0);
    const LocalTime now = StampClock::Now();
    WriteReportTexts(*this, store, journal.Selected(), {StampDate(now), StampTime(now)});
    if (!windows) {
        ShowError(52);
    } else if (JobRunning) {
        // A job prints through a form of its own that is never shown, so the operator's form
        // stays as it is, even with its font or file dialog open.
        Report unattended;
        if (!unattended.Create(this, this)) ShowError(52);
    } else if (!windows->report.Create(this, this)) {
        ShowError(52);
    }
}

// The tab shown decides where both curves of the study come from: the receiver's scale, the
// bank's channels, or the range window (also on the group tab).
void ORVEL::SetStudySourceKinds(int32_t page) {
    constexpr int32_t kKinds[] = {kStudyReceiverSource, kStudyBankSource, kStudyRangeSource,
                                  kStudyRangeSource};
    if (page >= 0 && page < int32_t(std::size(kKinds))) ViewSourceKinds.fill(kKinds[page]);
}

// The study's curves that take the receiver's scale have their marker on the tuned frequency.
void ORVEL::FollowStudyMarkers() {
    if (Running || !StudyOpen) return;
    bool moved = false;
    for (std::size_t i = 0; i < ViewSources.size(); ++i) {
        const bool fed = ViewFeed == 3 || ViewFeed == int32_t(i) + 1;
        if (ViewSources[i].Levels == nullptr || !fed || ViewSourceKinds[i] != kStudyReceiverSource)
            continue;
        ViewSources[i].Marker = Frequency;
        moved = true;
    }
    if (moved) PostPrivateMessage(auxWindows.View, PostRefreshDisplay);
}

// PostAnalysisUpdate: each curve the windows feed is bound again by its source, then the
// study recomputes, once per curve. The receiver's curve is bound here; a range's and a bank
// channel's by their window, which then asks the study to recompute as well.
void ORVEL::UpdateStudySources() {
    for (std::size_t i = 0; i < ViewSources.size(); ++i) {
        if (ViewFeed != 3 && ViewFeed != int32_t(i) + 1) continue;
        switch (ViewSourceKinds[i]) {
            case kStudyReceiverSource:
                if (const ReceiverPanel* panel = receiver.Panel()) {
                    ViewSource& source = ViewSources[i];
                    source = ViewSource{};
                    source.Levels = &panel->Scale.Cells();
                    source.Count = uint32_t(panel->Scale.CellCount());
                    source.Step = uint32_t(LevelScale::kCellWidth);
                    source.Marker = Frequency;
                    source.AxisMode = kStudyFrequencyAxis;
                }
                break;
            case kStudyRangeSource:
                PostPrivateMessage(subWindows.diap, PostViewRecompute);
                break;
            case kStudyBankSource:
                PostPrivateMessage(subWindows.freq, PostViewRecompute);
                break;
            default:
                break;
        }
        if (StudyOpen) PostPrivateMessage(auxWindows.View, PostAnalysisUpdate);
    }
}

// ---- the group's ranges

// PostRepaintRange and PostGroupRepaintRange: every range of the group moves by a grid line
// and shows from there; the range window draws the range it shows.
void ORVEL::ScrollGroupRanges(uint32_t code) {
    if (!windows) return;
    for (Bank& slot : ScanSlots) {
        if (!slot.InUse) continue;
        if (code == PostRepaintRange && slot.ScrollPosition < slot.ScrollMaximum)
            ++slot.ScrollPosition;
        if (code == PostGroupRepaintRange && slot.ScrollPosition > 0) --slot.ScrollPosition;
        const VisibleSpan span = VisibleSpanOf(slot, windows->range.View().Width());
        slot.VisibleLow = span.low;
        slot.VisibleHigh = span.high;
    }
    PostPrivateMessage(subWindows.diap, PostRefreshCurves);
    if (WorkMode == kGroupMode) PostPrivateMessage(subWindows.group, PostRefreshData);
}
