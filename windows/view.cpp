#include "windows/view.h"

#include <algorithm>

#include "state/format_text.h"
#include "state/message_bus.h"
#include "ui/post.h"
#include "windows/view_form.h"

namespace {

constexpr int kZoomItems = 8;
constexpr int kFirstZoom = 1;  // x2: the curves fill their bands
// A split bar is this many pixels tall; a band keeps at least kLeastBand rows.
constexpr int kBarHeight = 6;
constexpr int kLeastBand = 16;
constexpr int kGrabOffset = 3;  // the pointer holds a bar at its middle

}  // namespace

View::View() {
    RegisterViewForm();
    On(ui::EventId::Create, [this](ui::EventData&) { OnCreate(); });
    On(ui::EventId::User, [this](ui::EventData& e) { OnUserEvent(e.code); });
    On(ui::EventId::Close, [this](ui::EventData&) { DestroyLater(); });
    On(ui::EventId::Destroy, [this](ui::EventData&) {
        if (fdx_ != nullptr) fdx_->StudyOpen = 0;
    });
}

View::~View() {
    Destroy();
}

bool View::Create(ui::Form* parent, FDX* state) {
    if (state == nullptr) return false;
    fdx_ = state;
    return ui::Form::Create("ID_View", parent);
}

// ---- building

void View::OnCreate() {
    CreateFormControls();
    const ui::ArtPicture art = ViewPicture(pictbttn_1->Name());
    pictbttn_1->SetPicture(art.width, art.height, art.pixels);

    for (ui::ComboBox* zoom : {zoom_1, zoom_2}) {
        for (int i = 0; i < kZoomItems; ++i) zoom->AddString(FormatText("x%d", i + 1));
        zoom->SetSelectedIndex(kFirstZoom);
    }
    zoom_ = {kFirstZoom + 1, kFirstZoom + 1};
    insignal->SetChecked(fdx_->ViewFeed == 1 || fdx_->ViewFeed == 3);
    intempl->SetChecked(fdx_->ViewFeed == 2 || fdx_->ViewFeed == 3);

    // The graph: the readouts on top, then the two bands, each between two split bars.
    const ui::Rect graph = pictb_1->Geometry();
    picture_ = std::make_unique<ui::Picture>(graph.width, graph.height);
    ui::Painter& p = picture_->Draw();
    p.SetFont(Resource()->font);
    readoutHeight_ = 2 * (p.TextHeight() + 2) + 2;
    const int band = std::max((graph.height - readoutHeight_ - 4 * kBarHeight) / 2, kLeastBand);
    bars_[0] = readoutHeight_;
    bars_[1] = bars_[0] + kBarHeight + band;
    bars_[2] = bars_[1] + kBarHeight;
    bars_[3] = bars_[2] + kBarHeight + band;
    pictb_1->SetPainter([this](ui::Painter& painter) {
        painter.Copy(*picture_, {0, 0, picture_->Width(), picture_->Height()}, 0, 0);
    });

    WireControls();
    SetName("View");
    fdx_->StudyOpen = 1;
    SetupScrollBars();
    Recompute();
    Show();
}

void View::WireControls() {
    signal->On(ui::EventId::Change, [this](ui::EventData& e) { MoveMarker(0, int(e.value)); });
    templ->On(ui::EventId::Change, [this](ui::EventData& e) { MoveMarker(1, int(e.value)); });
    zoom_1->On(ui::EventId::Select, [this](ui::EventData& e) { ChooseZoom(0, int(e.value)); });
    zoom_2->On(ui::EventId::Select, [this](ui::EventData& e) { ChooseZoom(1, int(e.value)); });
    for (ui::CheckBox* box : {insignal, intempl})
        box->On(ui::EventId::Click, [this](ui::EventData&) { TakeFeed(); });
    for (ui::CheckBox* box : {vsignal, vtempl})
        box->On(ui::EventId::Click, [this](ui::EventData&) { Draw(); });
    pictbttn_1->On(ui::EventId::Click, [this](ui::EventData&) { Print(); });
    pictb_1->On(ui::EventId::LeftButtonDown, [this](ui::EventData& e) { MouseDown(e.x, e.y); });
    pictb_1->On(ui::EventId::MouseMove, [this](ui::EventData& e) { MouseMove(e.x, e.y); });
    pictb_1->On(ui::EventId::LeftButtonUp, [this](ui::EventData&) { MouseUp(); });
    pictb_1->On(ui::EventId::MouseLeave, [this](ui::EventData&) { MouseUp(); });
    pictb_1->On(ui::EventId::RightButtonUp, [this](ui::EventData&) { Post(PostRunMacro); });
}

void View::Post(uint32_t code) {
    PostPrivateMessage(fdx_->Owner, code);
}

// ---- the codes

void View::OnUserEvent(uint32_t code) {
    if (fdx_ == nullptr || !HasWindow()) return;
    switch (code) {
        case PostAnalysisUpdate:
            SetupScrollBars();
            Recompute();
            break;
        case PostRefreshDisplay:
            Recompute();
            break;
        default:
            break;
    }
}

void View::SetupScrollBars() {
    for (int curve = 0; curve < kStudyCurves; ++curve) {
        const ViewSource& source = fdx_->ViewSources[std::size_t(curve)];
        ui::ScrollBar* bar = Bar(curve);
        if (!StudyCurvePresent(source)) {
            bar->SetEnabled(false);
            continue;
        }
        bar->SetRange(0, int(std::max<int64_t>(StudySamples(source) - 1, 0)));
        bar->SetPageStep(std::max(picture_->Width() / 4, 1));
        bar->SetSingleStep(1);
        bar->SetPosition(int(MarkerSample(source)));
        bar->SetEnabled(true);
    }
}

void View::Recompute() {
    buffer_ = StudyDisplayBuffer(picture_->Width(), fdx_->ViewSources);
    differences_ = StudyDifferencesOf(*fdx_, fdx_->ViewSources);
    Draw();
}

void View::MoveMarker(int curve, int position) {
    ViewSource& source = fdx_->ViewSources[std::size_t(curve)];
    if (!StudyCurvePresent(source)) return;
    source.Marker = int64_t{position} * source.Step + source.Start;
    Recompute();
}

void View::ChooseZoom(int curve, int index) {
    zoom_[std::size_t(curve)] = std::clamp(index, 0, kZoomItems - 1) + 1;
    Draw();
}

void View::TakeFeed() {
    fdx_->ViewFeed = (intempl->IsChecked() ? 2 : 0) + (insignal->IsChecked() ? 1 : 0);
    Post(PostAnalysisUpdate);
}

// ---- drawing

ui::Rect View::Band(int curve) const {
    const int top = bars_[std::size_t(2 * curve)] + kBarHeight;
    return {0, top, picture_->Width(), bars_[std::size_t(2 * curve + 1)] - top};
}

void View::Draw() {
    const StudyStyle style = ScreenStudyStyle();
    ui::Painter& p = picture_->Draw();
    const int width = picture_->Width();
    p.FillRect({0, 0, width, picture_->Height()}, style.background);
    p.SetFont(Resource()->font);
    for (int curve = 0; curve < kStudyCurves; ++curve) {
        DrawStudyBand(p, Band(curve), *fdx_, buffer_, curve, zoom_, style);
        const bool hidden = (curve == 0 ? vsignal : vtempl)->IsChecked();
        if (!hidden)
            p.Text(curve == 0 ? 4 : width / 2, 2, StudyReadout(*fdx_, curve),
                   style.marker[std::size_t(curve)]);
    }
    if (!vsignal->IsChecked() && !vtempl->IsChecked())
        p.Text(4, 4 + p.TextHeight(), StudyDifferenceReadout(*fdx_, differences_), style.text);
    for (const int top : bars_) {
        p.FillRect({0, top, width, kBarHeight}, style.grid);
        p.Line(0, top + kGrabOffset, width - 1, top + kGrabOffset, style.text);
    }

    const ViewSource& first = fdx_->ViewSources[0];
    if (!StudyCurvePresent(first))
        xg_1->SetText("");
    else if (OnTimeAxis(first))
        xg_1->SetText(FormatText("Шаг сетки 1=%u сек",
                                 unsigned(kStudyGridSamples * SecondsPerMeasurement(*fdx_))));
    else
        xg_1->SetText(
            FormatText("Шаг сетки 1=%u кГц", unsigned(kStudyGridSamples * first.Step / 10)));
    yg_1->SetText(fdx_->OptDb ? "U, дБ" : "U, ед");
    pictb_1->Redraw();
}

// ---- the split bars

void View::MouseDown(int, int y) {
    dragging_ = -1;
    for (int i = 0; i < 4; ++i)
        if (y >= bars_[std::size_t(i)] && y < bars_[std::size_t(i)] + kBarHeight) dragging_ = i;
}

void View::MouseMove(int, int y) {
    if (dragging_ < 0) return;
    const std::size_t i = std::size_t(dragging_);
    // A bar stays between its neighbours, and a band keeps some rows.
    const int lowest =
        i == 0 ? readoutHeight_ : bars_[i - 1] + kBarHeight + (i % 2 ? kLeastBand : 0);
    const int highest = i == 3 ? picture_->Height() - kBarHeight
                               : bars_[i + 1] - kBarHeight - (i % 2 ? 0 : kLeastBand);
    if (highest < lowest) return;
    bars_[i] = std::clamp(y - kGrabOffset, lowest, highest);
    Draw();
}

void View::MouseUp() {
    dragging_ = -1;
}
