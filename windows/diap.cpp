#include "windows/diap.h"

#include <algorithm>
#include <initializer_list>

#include "state/etl.h"
#include "state/format_text.h"
#include "state/message_bus.h"
#include "state/user_dp.h"
#include "ui/post.h"
#include "windows/diap_form.h"
#include "windows/range_layout.h"

namespace {

constexpr const char* kNoEtalon = "эталон не задан";

// The threshold scroll bar: positions 0..255, a page of 16.
constexpr int kLastThreshold = 255;
constexpr int kThresholdPage = 16;
// The up-downs of Fн and Fк move their box by 1 MHz.
constexpr int64_t kBoxStep = 10000;

// Job objects of the range window (the job line's OBJ).
enum JobObject : uint32_t {
    kClearObject = 14,
    kFirstSlotObject = 15,    // 15..26: slots 1..12
    kFirstSecondObject = 27,  // 27..32: the second curve's kinds in the visible order
    kFirstMainObject = 33,    // 33..38: the main curve's
    kMaxLeftObject = 39,
    kFixedLeftObject = 40,
    kMaxRightObject = 41,
    kFixedRightObject = 42,
    kMarkerObject = 43,
    kApproximateObject = 44,
};

void ClearSlotArrays(Bank& slot) {
    for (auto* array : {&slot.Current, &slot.Minimum, &slot.Average, &slot.Maximum, &slot.Etalon,
                        &slot.Processed, &slot.Flags})
        std::fill(array->begin(), array->end(), uint8_t{0});
}

bool PointsInto(const ViewSource& source, const Bank& slot) {
    for (const auto* array : {&slot.Current, &slot.Minimum, &slot.Average, &slot.Maximum,
                              &slot.Etalon, &slot.Processed})
        if (source.Levels == array) return true;
    return false;
}

}  // namespace

diap::diap() : PageWindow("ID_diap") {
    RegisterDiapForm();
    On(ui::EventId::Create, [this](ui::EventData&) { OnCreate(); });
    On(ui::EventId::User, [this](ui::EventData& e) { OnUserEvent(e.code); });
    On(ui::EventId::Destroy, [this](ui::EventData&) { wait_.Destroy(); });
}

diap::~diap() {
    Destroy();
}

// ---- building

void diap::OnCreate() {
    CreateControls();
    GrowWithMainWindow();
    picture_ = pictb_1->Geometry();
    view_ = std::make_unique<RangeView>(picture_.width, picture_.height);
    // Each level label stands on its row of the level grid (32 raw levels, 16 pixels apart).
    for (int j = 0; j < 9; ++j) {
        ui::Rect r = levelLabels[std::size_t(j)]->Geometry();
        r.y = picture_.y + view_->Baseline() - 16 * j - r.height / 2;
        levelLabels[std::size_t(j)]->Move(r);
    }
    vs->SetRange(0, kLastThreshold);
    vs->SetPageStep(kThresholdPage);
    vs->SetSingleStep(1);
    hs->SetEnabled(false);
    for (ui::PictureButton* button :
         {left_max, left_fixed, right_fixed, right_max, marker, clear, aproximate}) {
        const ui::ArtPicture art = DiapPicture(button->Name());
        button->SetPicture(art.width, art.height, art.pixels);
    }
    WireControls();
    SetName("diap");
    if (fdx_->ScanSlots.size() == kScanSlotCount) {
        SyncSlotButtons();
        SyncRadioRows();
        UpdateLabels();
    }
    Show();
}

void diap::CreateControls() {
    CreateFormControls();
    optb = {optb_1, optb_2, optb_3, optb_4,  optb_5,  optb_6,
            optb_7, optb_8, optb_9, optb_10, optb_11, optb_12};
    secondRow = {ftek, fminm, fsum, fmaxm, fobr, fetal};
    mainRow = {tek, minm, sum, maxm, obr, etal};
    levelLabels = {l0, l1, l2, l3, l4, l5, l6, l7, l8};
}

void diap::WireControls() {
    vs->On(ui::EventId::Change, [this](ui::EventData& e) { ScrollThreshold(int(e.value)); });
    hs->On(ui::EventId::Change, [this](ui::EventData& e) { ScrollScale(int(e.value)); });
    fn->On(ui::EventId::DropDown, [this](ui::EventData&) { FillFrequencyList(fn); });
    fk->On(ui::EventId::DropDown, [this](ui::EventData&) { FillFrequencyList(fk); });
    step->On(ui::EventId::DropDown, [this](ui::EventData&) { FillStepList(); });
    fnup->On(ui::EventId::DeltaPosition,
             [this](ui::EventData& e) { StepBox(fn, int(e.value), true); });
    fkup->On(ui::EventId::DeltaPosition,
             [this](ui::EventData& e) { StepBox(fk, int(e.value), false); });
    left_max->On(ui::EventId::Click, [this](ui::EventData&) { SearchMaxLeft(); });
    left_fixed->On(ui::EventId::Click, [this](ui::EventData&) { SearchFixedLeft(); });
    right_fixed->On(ui::EventId::Click, [this](ui::EventData&) { SearchFixedRight(); });
    right_max->On(ui::EventId::Click, [this](ui::EventData&) { SearchMaxRight(); });
    for (std::size_t i = 0; i < optb.size(); ++i)
        optb[i]->On(ui::EventId::Click, [this, i](ui::EventData&) { SelectSlot(int32_t(i)); });
    for (std::size_t i = 0; i < 6; ++i) {
        secondRow[i]->On(ui::EventId::Click, [this](ui::EventData&) { ApplyCurveKind(1, false); });
        mainRow[i]->On(ui::EventId::Click, [this](ui::EventData&) { ApplyCurveKind(0, false); });
    }
    marker->On(ui::EventId::Click, [this](ui::EventData&) {
        ToggleMarker(MarkerMode::Toggle);
        DrawCursor();
    });
    clear->On(ui::EventId::Click, [this](ui::EventData&) { ClearScale(); });
    is_grid->On(ui::EventId::Click, [this](ui::EventData&) {
        fdx_->ShowGrid = is_grid->IsChecked();
        UpdateLabels();
        Redraw();
    });
    aproximate->On(ui::EventId::Click, [this](ui::EventData&) {
        Approximate();
        Redraw();
    });
    pictb_1->On(ui::EventId::LeftButtonDown, [this](ui::EventData& e) { MouseDown(e.x, e.y); });
    pictb_1->On(ui::EventId::LeftButtonUp, [this](ui::EventData& e) { MouseUp(e.x, e.y); });
    pictb_1->On(ui::EventId::MouseMove, [this](ui::EventData& e) { MouseMove(e.x, e.y); });
    pictb_1->On(ui::EventId::MouseLeave, [this](ui::EventData&) { MouseLeave(); });
    pictb_1->On(ui::EventId::DoubleClick, [this](ui::EventData&) { DoubleClick(); });
    pictb_1->On(ui::EventId::RightButtonUp, [this](ui::EventData&) { Post(PostRunMacro); });
}

// ---- the message bus

Bank* diap::ShownSlot() {
    if (fdx_ == nullptr || fdx_->ScanSlots.size() != kScanSlotCount) return nullptr;
    if (fdx_->SlotIndex < 0 || fdx_->SlotIndex >= int32_t(kScanSlotCount)) return nullptr;
    return &fdx_->ScanSlots[std::size_t(fdx_->SlotIndex)];
}

void diap::OnUserEvent(uint32_t code) {
    if (fdx_ == nullptr || !HasWindow() || fdx_->ScanSlots.size() != kScanSlotCount) return;
    switch (code) {
        case PostSyncReceiver:
            SharePictureGeometry();
            break;
        case PostReloadView:
            WriteBoxes();
            break;
        case PostTakeSelection:
            TakeSelection();
            break;
        case PostResetSelection:
            TakeBoxes();
            FreeSlotArrays();
            UpdateLabels();
            Redraw();
            break;
        case PostItemLoaded:
            ShowLoadedSlot();
            break;
        case PostRefreshData:
            RefreshData();
            break;
        case PostFollowScan:
            FollowScan();
            if (fdx_->WorkMode == kRangeMode) RefreshData();
            break;
        case PostRefreshDisplay:
            FollowTunedFrequency();
            break;
        case PostRedrawCurves:
            RedrawGroupSlots();
            break;
        case PostLockControls:
            LockControls();
            break;
        case PostUnlockControls:
            UnlockControls();
            break;
        case PostSpectrumStep:
            SelectSlot(fdx_->SpySlot);
            Post(PostSpectrumDrawn);
            break;
        case PostRefreshLevels:
            ShowSharedPicture(*pictb_1, picture_);
            RedrawScale();
            break;
        case PostRefreshCurves:
            RedrawScale();
            break;
        case PostFollowFrequency:
            ToggleMarker(MarkerMode::Set);
            DrawCursor();
            break;
        case PostJobStep:
            ExecuteCommand();
            break;
        case PostDrawMarkerLabel:  // the processing against the etalons is due again
            ProcessAgainstEtalon();
            ApplyCurveKind(1, false);
            ApplyCurveKind(0, false);
            break;
        case PostRangeRedrawAll:
            UpdateLabels();
            Redraw();
            SyncSlotButtons();
            break;
        case PostClearData:
            ClearSlots();
            break;
        case PostViewRecompute:
            BindViewSources();
            break;
        case PostScaleChanged:
            for (Bank& slot : fdx_->ScanSlots) MarkScalePoints(slot);
            RedrawScale();
            break;
        case PostPrepareSlots:
        case PostLoadSelected:
            PostToFreeSlot(code);
            break;
        default:
            break;
    }
}

// The main window's start-up is over: the program state learns where the picture lies.
void diap::SharePictureGeometry() {
    FDX& s = *fdx_;
    s.PictureWidth = picture_.width;
    s.PictureHeight = picture_.height;
    s.PictureLeft = picture_.x;
    is_grid->SetChecked(s.ShowGrid);
    UpdateLabels();
}

void diap::TakeSelection() {
    TakeBoxes();
    if (!LayoutSlot()) FreeSlotArrays();
    SyncSlotButtons();
    Redraw();
    Post(PostRangeFromSelection);
}

void diap::ShowLoadedSlot() {
    if (LayoutSlot())
        ApplyKinds(true);
    else
        FreeSlotArrays();
    UpdateLabels();
    Redraw();
    SyncSlotButtons();
}

void diap::FollowTunedFrequency() {
    const Bank* slot = ShownSlot();
    if (slot == nullptr || !slot->InUse) return;
    if (fdx_->Frequency >= slot->Start && fdx_->Frequency <= slot->End)
        SetCursorFrequency(fdx_->Frequency);
    else
        DrawCursor();
}

// Each slot of the loaded group laid out and drawn, the others emptied.
void diap::RedrawGroupSlots() {
    for (int32_t i = 0; i < int32_t(kScanSlotCount); ++i) {
        SelectSlot(i);
        const Bank& slot = fdx_->ScanSlots[std::size_t(i)];
        if (i < fdx_->GroupRangeCount && slot.InUse && LayoutSlot()) {
            ApplyKinds(true);
        } else {
            FreeSlotArrays();
            Redraw();
        }
    }
    SelectSlot(0);
}

// The buttons that would change what a scan or a job works on.
std::array<ui::Window*, 8> diap::LockedButtons() const {
    return {left_max, left_fixed, right_fixed, right_max, marker, clear, is_grid, aproximate};
}

void diap::LockControls() {
    FDX& s = *fdx_;
    if (!busy_) gridBeforeLock_ = is_grid->IsChecked();
    busy_ = true;
    is_grid->SetChecked(false);
    if (s.OptSpy && s.Running && s.RunningMode == kRangeMode)
        for (ui::OptionButton* button : optb) button->SetEnabled(false);
    for (ui::Window* button : LockedButtons()) button->SetEnabled(false);
    ShowOnMainPicture();
    UpdateScrollRange();
}

void diap::UnlockControls() {
    if (!busy_) return;
    busy_ = false;
    if (fdx_->OptSpy)
        for (ui::OptionButton* button : optb) button->SetEnabled(true);
    for (ui::Window* button : LockedButtons()) button->SetEnabled(true);
    is_grid->SetChecked(gridBeforeLock_);
    ShowOnMainPicture();
    UpdateScrollRange();
}

void diap::RedrawScale() {
    DrawScale();
    SyncScrollPosition();
    ShowOnMainPicture();
}

void diap::ClearSlots() {
    for (int32_t i = 0; i < int32_t(kScanSlotCount); ++i) {
        SelectSlot(i);
        FreeSlotArrays();
        Redraw();
    }
    SelectSlot(0);
}

// A code for a free slot goes on with the first free slot selected; with none free, nothing.
void diap::PostToFreeSlot(uint32_t code) {
    for (int32_t i = 0; i < int32_t(kScanSlotCount); ++i) {
        if (fdx_->ScanSlots[std::size_t(i)].InUse) continue;
        SelectSlot(i);
        Post(code);
        return;
    }
}

void diap::ExecuteCommand() {
    JobStr* line = fdx_->JobLine;
    const uint32_t object = line != nullptr ? line->OBJ : 0;
    if (object == kClearObject) {
        ClearScale();
    } else if (object >= kFirstSlotObject && object < kFirstSlotObject + kScanSlotCount) {
        SelectSlot(int32_t(object - kFirstSlotObject));
    } else if (object >= kFirstSecondObject && object < kFirstSecondObject + 6) {
        fdx_->SecondCurveKind = kVisibleKinds[object - kFirstSecondObject];
        SyncRadioRows();
        ApplyCurveKind(1, false);
    } else if (object >= kFirstMainObject && object < kFirstMainObject + 6) {
        fdx_->MainCurveKind = kVisibleKinds[object - kFirstMainObject];
        SyncRadioRows();
        ApplyCurveKind(0, false);
    } else if (object == kMaxLeftObject) {
        SearchMaxLeft();
    } else if (object == kFixedLeftObject) {
        SearchFixedLeft();
    } else if (object == kMaxRightObject) {
        SearchMaxRight();
    } else if (object == kFixedRightObject) {
        SearchFixedRight();
    } else if (object == kMarkerObject) {
        ToggleMarker(MarkerMode::Toggle);
        DrawCursor();
    } else if (object == kApproximateObject) {
        Approximate();
        Redraw();
    } else if (line != nullptr) {
        line->Message = kNoAccess;
        line->ReturnCode = 1;
    }
    Post(PostJobStep);
}

// ---- slots and curves

void diap::SelectSlot(int32_t index) {
    if (fdx_->ScanSlots.size() != kScanSlotCount) return;
    if (index < 0 || index >= int32_t(kScanSlotCount)) index = 0;
    fdx_->SlotIndex = index;
    Bank& slot = fdx_->ScanSlots[std::size_t(index)];
    fdx_->MainCurveKind = slot.MainKind;
    fdx_->SecondCurveKind = slot.SecondKind;
    fdx_->EtalonKind = slot.EtalonKind;
    SyncRadioRows();
    SyncSlotButtons();
    if (!busy_) UpdateScrollRange();
    UpdateLabels();
    DrawScale();
    ShowOnMainPicture();
    vs->SetPosition(slot.ThresholdPosition);
    if (OwnsSharedPicture() || slot.InUse) Post(PostReselectJournalItem);
    BindViewSources();
}

void diap::ApplyCurveKind(int row, bool reload) {
    const auto& buttons = row == 0 ? mainRow : secondRow;
    for (std::size_t j = 0; j < buttons.size(); ++j) {
        if (!buttons[j]->IsChecked()) continue;
        (row == 0 ? fdx_->MainCurveKind : fdx_->SecondCurveKind) = kVisibleKinds[j];
    }
    ApplyKinds(reload);
}

void diap::ApplyKinds(bool reload) {
    Bank* slot = ShownSlot();
    if (slot == nullptr) return;
    FDX& s = *fdx_;
    const int32_t main = s.MainCurveKind, second = s.SecondCurveKind;
    // Shown beside the etalon, a curve says which of the etalon's arrays it is compared with.
    if ((main == kEtalonCurve) != (second == kEtalonCurve)) {
        const int32_t other = main == kEtalonCurve ? second : main;
        if (other != s.EtalonKind || reload) {
            s.EtalonKind = other;
            if (slot->InUse) s.LoadScale(s.SlotIndex);
        }
    }
    slot->MainKind = main;
    slot->SecondKind = second;
    slot->EtalonKind = s.EtalonKind;
    if (main == kProcessedCurve || second == kProcessedCurve) ProcessAgainstEtalon();
    Redraw();
    BindViewSources();
}

void diap::SyncSlotButtons() {
    if (fdx_->SlotIndex < 0 || fdx_->SlotIndex >= int32_t(kScanSlotCount)) fdx_->SlotIndex = 0;
    for (std::size_t i = 0; i < optb.size(); ++i) {
        // A slot with a range stands out; an empty one lies flat.
        optb[i]->SetFlat(!fdx_->ScanSlots[i].InUse);
        optb[i]->SetChecked(int32_t(i) == fdx_->SlotIndex);
    }
}

void diap::SyncRadioRows() {
    for (std::size_t j = 0; j < kVisibleKinds.size(); ++j) {
        mainRow[j]->SetChecked(kVisibleKinds[j] == fdx_->MainCurveKind);
        secondRow[j]->SetChecked(kVisibleKinds[j] == fdx_->SecondCurveKind);
    }
}

bool diap::LayoutSlot() {
    Bank* slot = ShownSlot();
    if (slot == nullptr) return false;
    wait_.Create(this);
    if (slot->InUse) ReleaseViewSources();
    ClearSlotArrays(*slot);
    const LayoutLimits limits{fdx_->FreqLow, fdx_->FreqHigh, fdx_->Step,
                              uint32_t(std::max(fdx_->ModeValue, 0))};
    const LayoutResult result = LayoutScale(*slot, limits, view_->Width());
    if (result.laidOut) {
        slot->InUse = 1;
        optb[std::size_t(fdx_->SlotIndex)]->SetFlat(false);
        MarkScalePoints(*slot);
        BindViewSources();
        UpdateLabels();
    }
    wait_.Destroy();
    if (result.cut) fdx_->ShowError(6);
    return result.laidOut;
}

void diap::FreeSlotArrays() {
    Bank* slot = ShownSlot();
    if (slot == nullptr) return;
    ReleaseViewSources();
    ClearSlotArrays(*slot);
    slot->InUse = 0;
    slot->PointCount = 0;
    slot->GridColumns.clear();
    slot->Scrolls = 0;
    slot->ScrollPosition = 0;
    slot->ScrollMaximum = 0;
    optb[std::size_t(fdx_->SlotIndex)]->SetFlat(true);
}

// ---- the boxes of a new range

void diap::WriteBoxes() {
    Bank* slot = ShownSlot();
    if (slot == nullptr) return;
    fn->SetText(FormatText("%8.4f", slot->Start / 10000.0));
    fk->SetText(FormatText("%8.4f", slot->End / 10000.0));
    step->SetText(FormatText("%5.1f", slot->Step / 10.0));
    wid->SetText(FormatText("%5.1f", slot->Bandwidth / 10.0));
    // The operator may now change the new range; the slot stays the one it goes into.
    for (ui::Window* box : std::initializer_list<ui::Window*>{fn, fk, step, wid, fnup, fkup})
        box->SetEnabled(true);
    for (ui::OptionButton* button : optb) button->SetEnabled(false);
}

void diap::TakeBoxes() {
    for (ui::Window* box : std::initializer_list<ui::Window*>{fn, fk, step, wid, fnup, fkup})
        box->SetEnabled(false);
    for (ui::OptionButton* button : optb) button->SetEnabled(true);
    Bank* slot = ShownSlot();
    if (slot == nullptr) return;
    slot->Start = FDX::ParseMHz(fn->Text());
    slot->End = FDX::ParseMHz(fk->Text());
    slot->Step = FDX::ParseKHz(step->Text());
    slot->Bandwidth = FDX::ParseKHz(wid->Text());
    slot->Name = FormatText("%c-%5.1f ... %5.1f", slot->Modulation, slot->Start / 10000.0,
                            slot->End / 10000.0);
    // No stored range stands behind the slot until one is made from it.
    slot->Identifier.clear();
}

void diap::FillFrequencyList(ui::ComboBox* box) {
    const std::string text = box->Text();
    box->Clear();
    for (uint32_t f : fdx_->SlotFrequencies) box->AddString(FormatText("%8.4f", f / 10000.0));
    box->SetText(text);
}

void diap::FillStepList() {
    const std::string text = step->Text();
    step->Clear();
    for (uint32_t s : fdx_->SlotSteps) step->AddString(FormatText("%4.1f", s / 10.0));
    step->SetText(text);
}

// An up-down moves its box by 1 MHz, never below 100 Hz and never past the receiver's highest
// frequency (Fн may reach it, Fк stays below it).
void diap::StepBox(ui::ComboBox* box, int delta, bool upperInclusive) {
    int64_t f = FDX::ParseMHz(box->Text());
    if (delta < 0 && f - kBoxStep >= 1) f -= kBoxStep;
    const int64_t highest = fdx_->FreqHigh;
    if (delta > 0 && (upperInclusive ? f + kBoxStep <= highest : f + kBoxStep < highest))
        f += kBoxStep;
    box->SetText(FormatText("%8.4f", f / 10000.0));
    (box == fn ? fnup : fkup)->SetPosition(0);
}

// ---- drawing

bool diap::OwnsSharedPicture() const {
    return host_ != nullptr && host_->SharedPicture().Owner() == kRangeWindowOwner;
}

ui::SharedPicture* diap::SharedTarget() const {
    return OwnsSharedPicture() ? &host_->SharedPicture() : nullptr;
}

void diap::DrawScale() {
    Bank* slot = ShownSlot();
    if (slot == nullptr || !view_) return;
    view_->DrawScale(*fdx_, *slot);
    shownCurrent_ = false;
}

void diap::Redraw() {
    DrawScale();
    ShowOnMainPicture();
}

// While a scan runs the refresh it asks for after every step finds the scale as last shown
// unless the scan scrolled it; then only the cursor moves, renewing the column it leaves,
// which is the point the scan has just measured.
void diap::RefreshData() {
    Bank* slot = ShownSlot();
    if (busy_ && shownCurrent_ && slot != nullptr && shownSlot_ == fdx_->SlotIndex &&
        shownScroll_ == slot->ScrollPosition) {
        DrawCursor();
        return;
    }
    RedrawScale();
}

// SPY: while the scan runs through the shown slot, the slot scrolls so that the point it
// measures next lies in view, the scale drawn anew at every position passed.
void diap::FollowScan() {
    Bank* slot = ShownSlot();
    if (slot == nullptr || fdx_->SlotIndex != fdx_->ScanSlot) return;
    const int64_t point = slot->ScanPoint;
    if (point < int64_t{slot->VisibleLow}) {
        while (point < int64_t{slot->VisibleLow} && slot->ScrollPosition > 0) {
            --slot->ScrollPosition;
            DrawScale();
        }
    } else {
        while (point > int64_t{slot->VisibleHigh} && slot->ScrollPosition < slot->ScrollMaximum) {
            ++slot->ScrollPosition;
            DrawScale();
        }
    }
}

int64_t diap::CursorTarget() {
    Bank* slot = ShownSlot();
    if (slot == nullptr) return -1;
    if (busy_) return slot->Cursor;
    fdx_->SignalFrequency = fdx_->Frequency;
    UpdateViewMarkers();
    const int64_t f = fdx_->SignalFrequency;
    if (f >= int64_t{slot->VisibleLow} && f <= int64_t{slot->VisibleHigh})
        slot->Cursor = uint32_t(f);
    return f;
}

void diap::ShowOnMainPicture() {
    Bank* slot = ShownSlot();
    ui::SharedPicture* shared = SharedTarget();
    if (slot == nullptr || shared == nullptr || !view_) return;
    view_->Show(*shared, {picture_.x, picture_.y}, *fdx_, *slot, is_grid->IsChecked(),
                slot->InUse ? CursorTarget() : -1);
    shownCurrent_ = true;
    shownSlot_ = fdx_->SlotIndex;
    shownScroll_ = slot->ScrollPosition;
}

void diap::DrawCursor() {
    Bank* slot = ShownSlot();
    if (slot == nullptr || !slot->InUse || !view_) return;
    view_->DrawCursor(SharedTarget(), {picture_.x, picture_.y}, *fdx_, *slot, is_grid->IsChecked(),
                      CursorTarget());
}

void diap::SetCursorFrequency(uint32_t frequency) {
    Bank* slot = ShownSlot();
    if (slot == nullptr || !slot->InUse || frequency < slot->Start || frequency > slot->End) return;
    slot->Cursor = frequency;
    // Towards the cursor one grid line at a time, as far as the scale scrolls.
    const auto low = [slot](int32_t position) {
        const std::size_t line = std::size_t(std::clamp<int64_t>(
            position, 0, std::max<int64_t>(int64_t(slot->GridColumns.size()) - 1, 0)));
        const int64_t column = slot->GridColumns.empty() ? 0 : slot->GridColumns[line];
        return int64_t{slot->FirstScaleFrequency} + column * slot->Step;
    };
    const int64_t span = int64_t{view_->Width() - 1} * slot->Step;
    const int32_t before = slot->ScrollPosition;
    while (frequency < low(slot->ScrollPosition) && slot->ScrollPosition > 0)
        --slot->ScrollPosition;
    while (frequency > low(slot->ScrollPosition) + span &&
           slot->ScrollPosition < slot->ScrollMaximum)
        ++slot->ScrollPosition;
    if (slot->ScrollPosition != before) DrawScale();
    SyncScrollPosition();
    if (shownCurrent_ && shownSlot_ == fdx_->SlotIndex && shownScroll_ == slot->ScrollPosition)
        DrawCursor();
    else
        ShowOnMainPicture();
}

void diap::UpdateLabels() {
    Bank* slot = ShownSlot();
    if (slot == nullptr) return;
    if (slot->InUse) {
        fn->SetText(FormatText("%8.4f", slot->Start / 10000.0));
        fk->SetText(FormatText("%8.4f", slot->End / 10000.0));
        step->SetText(FormatText("%5.1f", slot->Step / 10.0));
        wid->SetText(FormatText("%5.1f", slot->Bandwidth / 10.0));
        const Etl* etalon = slot->HasEtalon ? slot->EtalonRecord : nullptr;
        tetl->SetText(etalon != nullptr ? etalon->Identifier : kNoEtalon);
        label_1->SetText(slot->Identifier.empty() ? slot->Name : slot->Identifier);
        vs->SetEnabled(true);
        if (!busy_) UpdateScrollRange();
    } else {
        vs->SetEnabled(false);
        hs->SetEnabled(false);
        for (ui::Window* text :
             std::initializer_list<ui::Window*>{fn, fk, step, wid, tetl, label_1})
            text->SetText("");
    }
    for (std::size_t j = 0; j < levelLabels.size(); ++j) {
        const int32_t tenths = fdx_->OptLg ? fdx_->LevelGrid[j] : fdx_->Calibration[2 * j];
        levelLabels[j]->SetText(is_grid->IsChecked() ? FormatText("%3.1f", tenths / 10.0) : "");
    }
}

void diap::UpdateCursorLabel() {
    Bank* slot = ShownSlot();
    if (slot == nullptr || !view_) return;
    view_->DrawReadouts(*fdx_, *slot);
    ShowOnMainPicture();
}

void diap::UpdateScrollRange() {
    Bank* slot = ShownSlot();
    if (slot == nullptr) return;
    const bool spyScan = fdx_->OptSpy && fdx_->Running && fdx_->RunningMode == kRangeMode;
    if (!slot->InUse || !slot->Scrolls || spyScan) {
        hs->SetEnabled(false);
        return;
    }
    hs->SetRange(0, slot->ScrollMaximum);
    hs->SetPageStep(slot->PageSize);
    hs->SetSingleStep(slot->LineSize);
    hs->SetPosition(slot->ScrollPosition);
    hs->SetEnabled(true);
}

void diap::SyncScrollPosition() {
    Bank* slot = ShownSlot();
    if (slot == nullptr || (fdx_->OptSpy && fdx_->Running && fdx_->RunningMode == kRangeMode))
        return;
    hs->SetPosition(slot->ScrollPosition);
}

void diap::ScrollThreshold(int position) {
    Bank* slot = ShownSlot();
    if (slot == nullptr || !slot->InUse) return;
    slot->ThresholdPosition = std::clamp(position, 0, kLastThreshold);
    slot->SightLevel = uint8_t(kLastThreshold - slot->ThresholdPosition);
    vs->SetPosition(slot->ThresholdPosition);
    UpdateCursorLabel();
}

void diap::ScrollScale(int position) {
    Bank* slot = ShownSlot();
    if (slot == nullptr || !slot->InUse) return;
    slot->ScrollPosition = std::clamp(position, 0, slot->ScrollMaximum);
    Redraw();
}

// ---- the detailed study

// The study's curve `index` takes the shown slot's array of curve `kind` when the operator lets
// the windows feed it and the range window is its source; its marker stands on the tuned
// frequency, held to the range. True when it was bound.
bool diap::BindViewSource(std::size_t index, int32_t kind) {
    Bank* slot = ShownSlot();
    const int32_t feed = fdx_->ViewFeed;
    const bool fed = feed == 3 || feed == int32_t(index) + 1;
    if (slot == nullptr || !slot->InUse || !fed ||
        fdx_->ViewSourceKinds[index] != kStudyRangeSource)
        return false;
    ViewSource& source = fdx_->ViewSources[index];
    source = ViewSource{};
    source.Levels = CurveArray(*slot, kind);
    source.FirstCell = 1;
    source.Count = uint32_t(std::max<int64_t>(LastPoint(*slot) + 1, 0));
    source.Start = slot->Start;
    source.Step = slot->Step;
    source.AxisMode = kStudyRangeAxis;
    source.Marker = std::clamp<int64_t>(fdx_->Frequency, int64_t{slot->Start}, int64_t{slot->End});
    return true;
}

void diap::BindViewSource1() {
    if (BindViewSource(0, fdx_->MainCurveKind)) Post(PostViewRecompute);
}

void diap::BindViewSource2() {
    if (BindViewSource(1, fdx_->SecondCurveKind)) Post(PostViewRecompute);
}

// The curves the operator lets the windows feed follow the shown slot: the first its main
// curve, the second its second curve.
void diap::BindViewSources() {
    const bool first = BindViewSource(0, fdx_->MainCurveKind);
    const bool second = BindViewSource(1, fdx_->SecondCurveKind);
    if (first || second) Post(PostViewRecompute);
}

void diap::ReleaseViewSources() {
    Bank* slot = ShownSlot();
    if (slot == nullptr) return;
    for (ViewSource& source : fdx_->ViewSources)
        if (PointsInto(source, *slot)) source = ViewSource{};
}

// The study's marker follows the tuned frequency, held to the range it shows.
void diap::UpdateViewMarkers() {
    Bank* slot = ShownSlot();
    if (busy_ || !fdx_->StudyOpen || slot == nullptr || !slot->InUse) return;
    const int32_t feed = fdx_->ViewFeed;
    bool changed = false;
    for (std::size_t i = 0; i < fdx_->ViewSources.size(); ++i) {
        ViewSource& source = fdx_->ViewSources[i];
        const bool fed = feed == 3 || feed == int32_t(i) + 1;
        if (source.Levels == nullptr || source.AxisMode != kStudyRangeAxis || !fed) continue;
        const int64_t marker =
            std::clamp<int64_t>(fdx_->Frequency, int64_t{slot->Start}, int64_t{slot->End});
        if (marker == source.Marker) continue;
        source.Marker = marker;
        changed = true;
    }
    if (changed) Post(PostViewRedraw);
}

// ---- analysis

void diap::ReportSearch(const SearchResult& result) {
    Bank* slot = ShownSlot();
    if (slot == nullptr) return;
    if (result.message != 0) {
        fdx_->ShowError(result.message);
        return;
    }
    if (!result.tuneFrequency) return;
    FillTuneRequest(*fdx_, *slot, *result.tuneFrequency);
    Post(PostApplyFrequency);
    if (result.selectScale) Post(PostSelectScale);
    if (result.moveCursor) SetCursorFrequency(*result.tuneFrequency);
}

void diap::SearchMaxLeft() {
    if (Bank* slot = ShownSlot())
        ReportSearch(::SearchMaxLeft(*slot, fdx_->MainCurveKind, fdx_->Frequency));
}

void diap::SearchMaxRight() {
    if (Bank* slot = ShownSlot())
        ReportSearch(::SearchMaxRight(*slot, fdx_->MainCurveKind, fdx_->Frequency));
}

void diap::SearchFixedLeft() {
    if (Bank* slot = ShownSlot()) ReportSearch(::SearchFixedLeft(*slot, fdx_->Frequency));
}

void diap::SearchFixedRight() {
    if (Bank* slot = ShownSlot()) ReportSearch(::SearchFixedRight(*slot, fdx_->Frequency));
}

void diap::ToggleMarker(MarkerMode mode) {
    Bank* slot = ShownSlot();
    if (slot == nullptr) return;
    if (const int32_t message = ::ToggleMarker(*slot, fdx_->Frequency, mode))
        fdx_->ShowError(message);
}

void diap::ClearScale() {
    Bank* slot = ShownSlot();
    if (slot != nullptr && ::ClearScale(*slot)) PostPrivateMessage(this, PostRefreshData);
}

void diap::Approximate() {
    if (Bank* slot = ShownSlot()) ::Approximate(*slot, fdx_->MainCurveKind);
}

void diap::ProcessAgainstEtalon() {
    ::ProcessAgainstEtalon(*fdx_);
}

void diap::MarkScalePoints(Bank& slot) {
    ::MarkScalePoints(slot, fdx_->Scales);
}

// ---- the operator's hand

void diap::MouseDown(int x, int y) {
    buttonDown_ = true;
    Bank* slot = ShownSlot();
    if (slot == nullptr || !slot->InUse) return;
    // The sight's handle: the line and a row either side.
    const int sightRow =
        view_->Baseline() -
        (fdx_->OptLg ? fdx_->LevelAxisAt(slot->SightLevel) : int(slot->SightLevel)) / 2;
    if (y >= sightRow - 1 && y <= sightRow + 1) {
        draggingSight_ = pressOnSight_ = true;
        return;
    }
    if (busy_ || x < 0 || x >= view_->DrawnColumns(*slot)) return;
    selecting_ = true;
    anchor_ = view_->FrequencyAt(*slot, x);
    fdx_->SelectionStart = fdx_->SelectionEnd = -1;
}

void diap::MouseMove(int x, int y) {
    Bank* slot = ShownSlot();
    if (slot == nullptr || !slot->InUse) return;
    const int64_t f = std::clamp(view_->FrequencyAt(*slot, x), int64_t{slot->VisibleLow},
                                 int64_t{slot->VisibleHigh});
    fdx_->CursorFrequency = int32_t(f);
    fdx_->CursorLevel =
        f >= slot->Start && f <= slot->End
            ? PointLevel(*slot, fdx_->MainCurveKind, (f - int64_t{slot->Start}) / slot->Step)
            : 0;
    if (draggingSight_) {
        const int sight = std::clamp((view_->Baseline() - y) * 2, 0, kLastThreshold);
        ScrollThreshold(kLastThreshold - sight);
    } else if (selecting_ && buttonDown_) {
        fdx_->SelectionStart = int32_t(std::min(anchor_, f));
        fdx_->SelectionEnd = int32_t(std::max(anchor_, f));
        Redraw();
    }
    Post(PostShowStatus);
}

// Leaving the picture forgets the frequency under the mouse; a marked span stays, for the
// main window's buttons that make a range or a fixed frequency of it.
void diap::MouseLeave() {
    fdx_->CursorFrequency = -1;
    fdx_->CursorLevel = 0;
    ShowOnMainPicture();
    Post(PostShowStatus);
}

void diap::MouseUp(int x, int) {
    buttonDown_ = false;
    if (draggingSight_ || pressOnSight_) {
        draggingSight_ = pressOnSight_ = false;
        return;
    }
    const bool wasSelecting = selecting_;
    selecting_ = false;
    Bank* slot = ShownSlot();
    if (!wasSelecting || busy_ || slot == nullptr || !slot->InUse) return;
    const bool click = fdx_->SelectionStart < 0 || fdx_->SelectionEnd < 0 ||
                       int64_t{fdx_->SelectionEnd} - fdx_->SelectionStart <= int64_t{slot->Step};
    if (click) {
        // No wider than a step: a click, which tunes.
        fdx_->SelectionStart = fdx_->SelectionEnd = -1;
        const int64_t f = std::clamp(view_->FrequencyAt(*slot, x), int64_t{slot->VisibleLow},
                                     std::min(int64_t{slot->VisibleHigh}, int64_t{slot->End}));
        fdx_->TuneFrequency = uint32_t(f);
        fdx_->TuneModulation = fdx_->Modulation;
        fdx_->TuneAttenuator = slot->Range != nullptr ? slot->Range->Attenuator : 0;
        fdx_->TuneStep = slot->Step;
        Post(PostApplyFrequency);
    }
    Redraw();
}

void diap::DoubleClick() {
    if (fdx_->SelectionStart >= 0 || fdx_->SelectionEnd >= 0) {
        fdx_->SelectionStart = fdx_->SelectionEnd = -1;
        Redraw();
    }
    Post(PostShowGroupTab);
}
