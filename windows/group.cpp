#include "windows/group.h"

#include <algorithm>

#include "state/format_text.h"
#include "state/message_bus.h"
#include "state/user_dp.h"
#include "ui/post.h"
#include "windows/group_form.h"

namespace {

constexpr int kStripLine = kStripPitch / 4;  // the vertical scroll bar's arrows
constexpr int64_t kRedraw = -2;              // a shown cursor no slot has: the strip is drawn

}  // namespace

group::group() : PageWindow("ID_group") {
    RegisterGroupForm();
    shownCursor_.fill(-1);
    On(ui::EventId::Create, [this](ui::EventData&) { OnCreate(); });
    On(ui::EventId::User, [this](ui::EventData& e) { OnUserEvent(e.code); });
}

group::~group() {
    Destroy();
}

// ---- building

void group::OnCreate() {
    CreateFormControls();
    GrowWithMainWindow();
    picture_ = pictb_1->Geometry();
    view_ = std::make_unique<GroupView>(picture_.width);
    ftup->SetRange(-1, 1);
    ftup->SetPosition(0);
    vs->SetRange(0, std::max(kGroupPictureHeight - picture_.height, 0));
    vs->SetPageStep(kStripPitch);
    vs->SetSingleStep(kStripLine);
    hs->SetEnabled(false);
    WireControls();
    SetName("group");
    Show();
}

void group::WireControls() {
    vs->On(ui::EventId::Change, [this](ui::EventData& e) { ScrollStrips(int(e.value)); });
    hs->On(ui::EventId::Change, [this](ui::EventData& e) { ScrollScale(int(e.value)); });
    ftup->AddHandler(ui::EventId::DeltaPosition, [this](ui::Object&, ui::EventData& e) {
        MoveGroup(int(e.value));
        e.cancel = true;  // the up-down stays at 0
        return true;
    });
    pictb_1->On(ui::EventId::LeftButtonDown, [this](ui::EventData& e) { MouseDown(e.x, e.y); });
    pictb_1->On(ui::EventId::LeftButtonUp, [this](ui::EventData& e) { MouseUp(e.x, e.y); });
    pictb_1->On(ui::EventId::MouseMove, [this](ui::EventData& e) { MouseMove(e.x, e.y); });
    pictb_1->On(ui::EventId::MouseLeave, [this](ui::EventData&) { MouseLeave(); });
    pictb_1->On(ui::EventId::DoubleClick, [this](ui::EventData&) { DoubleClick(); });
    pictb_1->On(ui::EventId::RightButtonUp, [this](ui::EventData&) { Post(PostRunMacro); });
}

// ---- the message bus

Bank* group::SlotOf(int strip) {
    if (strip < 0 || strip >= kGroupStrips || fdx_->ScanSlots.size() != kScanSlotCount)
        return nullptr;
    return &fdx_->ScanSlots[std::size_t(strip)];
}

void group::OnUserEvent(uint32_t code) {
    if (fdx_ == nullptr || !HasWindow() || fdx_->ScanSlots.size() != kScanSlotCount) return;
    FDX& s = *fdx_;
    switch (code) {
        case PostSyncReceiver:
            DrawRowLabels();
            DrawStrips(true);
            break;
        case PostItemLoaded:
            Id->SetText(s.GroupName);
            break;
        case PostClearData:
            Id->SetText("");
            [[fallthrough]];
        case PostRefreshData:
            DrawRowLabels();
            UpdateScroll();
            ShowOnMainPicture();
            break;
        case PostRefreshDisplay: {
            // The strip of the range being measured follows the tuning, as the range window's
            // cursor does, so that a group scan shows each point as it is measured; the strip
            // the scan has just left is drawn once more with the last point it measured there.
            const int strip = s.Running ? s.ScanSlot : s.SlotIndex;
            Bank* measured = SlotOf(strip);
            if (measured != nullptr && measured->InUse && s.Frequency >= measured->Start &&
                s.Frequency <= measured->End)
                measured->Cursor = s.Frequency;
            if (SlotOf(measuredStrip_) != nullptr && measuredStrip_ != strip)
                shownCursor_[std::size_t(measuredStrip_)] = kRedraw;
            measuredStrip_ = strip;
            DrawStrips(false);
            break;
        }
        case PostLockControls:
            if (s.OptSpy) UpdateScroll();
            break;
        case PostUnlockControls:
            if (s.OptSpy) UpdateScroll();
            // A scan that ended measured its last point after the strips were last drawn.
            ShowOnMainPicture();
            break;
        case PostRefreshCurves:
            DrawRowLabels();
            break;
        case PostGroupRedraw:
            DrawRowLabels();
            ShowOnMainPicture();
            break;
        case PostRefreshLevels:
            ShowSharedPicture(*pictb_1, picture_);
            DrawRowLabels();
            UpdateScroll();
            ShowOnMainPicture();
            break;
        case PostJobStep:
            ExecuteCommand();
            break;
        default:
            break;
    }
}

void group::ExecuteCommand() {
    if (JobStr* line = fdx_->JobLine) {
        line->Message = kNoAccess;
        line->ReturnCode = 1;
    }
    Post(PostJobStep);
}

// ---- drawing

bool group::OwnsSharedPicture() const {
    return host_ != nullptr && host_->SharedPicture().Owner() == kGroupWindowOwner;
}

void group::DrawRowLabels() {
    nd->SetText(FormatText("%02u", unsigned(std::clamp(fdx_->SlotIndex, 0, kGroupStrips - 1) + 1)));
    for (int i = 0; i < kGroupStrips; ++i) view_->DrawLabels(i, *SlotOf(i));
}

void group::DrawStrips(bool reset) {
    for (int i = 0; i < kGroupStrips; ++i) {
        const Bank& slot = *SlotOf(i);
        const int64_t cursor = slot.InUse ? int64_t{slot.Cursor} : -1;
        if (!reset && cursor == shownCursor_[std::size_t(i)]) continue;
        shownCursor_[std::size_t(i)] = cursor;
        view_->DrawStrip(*fdx_, i, slot, cursor);
    }
    CopyToShared();
}

void group::ShowOnMainPicture() {
    DrawStrips(true);
}

void group::CopyToShared() {
    if (!OwnsSharedPicture() || !view_) return;
    host_->SharedPicture().Draw().Copy(
        view_->Picture(), {0, offset_, picture_.width, picture_.height}, picture_.x, picture_.y);
}

// The cursor of a pressed button: two columns inverted on the shared picture alone.
void group::DrawPressCursor(int x) {
    if (!OwnsSharedPicture()) return;
    ui::Painter& p = host_->SharedPicture().Draw();
    const ui::DrawState saved = p.Save();
    p.SetDrawMode(ui::DrawMode::Invert);
    p.SetClip(picture_);
    p.FillRect({picture_.x + x, picture_.y, 2, picture_.height}, 0);
    p.Restore(saved);
}

void group::UpdateScroll() {
    const Bank* slot = SlotOf(fdx_->SlotIndex);
    const bool spyScan = fdx_->OptSpy && fdx_->Running &&
                         (fdx_->RunningMode == kRangeMode || fdx_->RunningMode == kGroupMode);
    if (slot == nullptr || !slot->InUse || !slot->Scrolls || spyScan) {
        hs->SetEnabled(false);
        return;
    }
    hs->SetRange(0, slot->ScrollMaximum);
    hs->SetPageStep(slot->PageSize);
    hs->SetSingleStep(slot->LineSize);
    hs->SetPosition(slot->ScrollPosition);
    hs->SetEnabled(true);
}

// ---- the operator's hand

void group::MouseMove(int x, int y) {
    hovered_ = StripAt(offset_ + y);
    const Bank& slot = *SlotOf(hovered_);
    if (slot.InUse && slot.Step != 0 && x >= 0) {
        const int64_t f = view_->FrequencyAt(slot, x);
        fdx_->CursorFrequency = int32_t(f);
        fdx_->CursorLevel = StripLevel(slot, f);
    } else {
        fdx_->CursorFrequency = -1;
        fdx_->CursorLevel = 0;
    }
    Post(PostShowStatus);
    if (pressed_) {
        CopyToShared();
        DrawPressCursor(x);
    }
}

void group::MouseLeave() {
    if (fdx_->CursorFrequency >= 0) {
        fdx_->CursorFrequency = -1;
        fdx_->CursorLevel = 0;
        Post(PostShowStatus);
    }
    hovered_ = -1;
    if (pressed_) {
        pressed_ = false;
        CopyToShared();
    }
}

void group::MouseDown(int x, int y) {
    hovered_ = StripAt(offset_ + y);
    pressed_ = true;
    fdx_->SelectionStart = fdx_->SelectionEnd = -1;
    CopyToShared();
    DrawPressCursor(x);
}

void group::MouseUp(int x, int y) {
    hovered_ = StripAt(offset_ + y);
    if (hovered_ != fdx_->SlotIndex) {
        // The range window is to show the range of this strip.
        fdx_->SpySlot = hovered_;
        Post(PostApplyGroupFrequency);
    }
    if (!pressed_) return;
    pressed_ = false;
    DrawRowLabels();
    CopyToShared();
    Bank& slot = *SlotOf(hovered_);
    if (slot.InUse && slot.Step != 0 && !fdx_->Running) {
        const int64_t f = view_->FrequencyAt(slot, x);
        fdx_->TuneFrequency = uint32_t(f);
        fdx_->TuneModulation = slot.Modulation;
        fdx_->TuneAttenuator = slot.Range != nullptr ? slot.Range->Attenuator : 0;
        fdx_->TuneStep = slot.Step;
        slot.Cursor = uint32_t(f);
        Post(PostApplyFrequency);
    }
    DrawStrips(true);
}

void group::DoubleClick() {
    pressed_ = false;
    if (hovered_ >= 0 && hovered_ != fdx_->SlotIndex) {
        fdx_->SpySlot = hovered_;
        Post(PostApplyGroupFrequency);
    }
    Post(PostShowRangeTab);
}

void group::ScrollStrips(int position) {
    offset_ = std::clamp(position, 0, std::max(kGroupPictureHeight - picture_.height, 0));
    fdx_->GroupFirstVisible = offset_ / kStripPitch;
    vs->SetPosition(offset_);
    CopyToShared();
}

void group::ScrollScale(int position) {
    Bank* slot = SlotOf(fdx_->SlotIndex);
    if (slot == nullptr || !slot->InUse) return;
    slot->ScrollPosition = std::clamp(position, 0, slot->ScrollMaximum);
    Post(PostGroupRangeChosen);
}

void group::MoveGroup(int delta) {
    Post(delta < 1 ? PostGroupRepaintRange : PostRepaintRange);
    ftup->SetPosition(0);
}
