#include "receivers/icom/pcr1000/pcr1000.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <new>

#include "receivers/icom/pcr1000/pcr1000_pictures.h"
#include "state/message_bus.h"
#include "ui/reply_event.h"

namespace {

constexpr ui::ControlResource kIc1000Controls[] = {UI_CONTROL_ROWS(IC1000_CONTROLS)};

constexpr ui::FormResource kIc1000Form = PanelForm("ID_IC1000", kIc1000Controls);

// The peak jumps of the fine scale: a swing of the averaged levels counts when it is more than a
// twentieth of the scale's height.
int64_t NextPeak(const ReceiverPanel& panel, bool right, int pictureHeight) {
    const FDX& s = *panel.State();
    const int64_t span = s.PcrScope ? IC1000::kScopeSearchSpan : IC1000::kSearchSpan;
    return IC1000::FindPeak(panel.Scale, s.Frequency, right, panel.LowerLimit, panel.UpperLimit,
                            span / 200, pictureHeight / 20);
}

constexpr FineScaleLook kFineScale{.overviewHeight = 12,
                                   .barDivisor = 8,
                                   .viewSteps = kUnitViewSteps,
                                   .findPeak = NextPeak,
                                   .markScaleItems = true};

// The band-scope step list, as PcrBandScope::kSteps, in kHz: a step typed into it is read in
// kHz too.
constexpr const char* kScopeStepTexts[] = {"0.1", "0.2", "0.5", "1", "2", "5", "10", "20", "50"};

// Tenths of dB at raw levels 0, 16, .. 256, as the ICOM sets have them.
constexpr std::array<int32_t, 17> kCalibration = {0,   9,   18,  28,  39,  48,  57,  71, 84,
                                                  108, 132, 190, 246, 315, 384, 492, 600};

// Mode codes of the tuning line; a letter not listed (RTTY) goes out as WFM.
struct ModeCode {
    char letter;
    const char* code;
    int32_t bandwidth;  // what SetMode chooses, 100 Hz units
};
constexpr ModeCode kModes[] = {{'F', "05", 150}, {'W', "06", 2300}, {'A', "02", 150},
                               {'U', "01", 60},  {'L', "00", 60},   {'C', "03", 28}};
constexpr ModeCode kOtherMode{'R', "06", 60};

// The filters, narrowest first: a bandwidth takes the first filter at least as wide.
struct Filter {
    int32_t bandwidth;
    const char* code;
};
constexpr Filter kFilters[] = {
    {28, "0000"}, {60, "0100"}, {150, "0200"}, {500, "0300"}, {2300, "0400"}};

// The sliders move in steps of 8 level units.
constexpr int kSliderUnit = 8;
constexpr int kSliderTop = 31;

const ModeCode& ModeOf(char letter) {
    for (const ModeCode& mode : kModes)
        if (mode.letter == letter) return mode;
    return kOtherMode;
}

const char* FilterCode(int32_t bandwidth) {
    for (const Filter& filter : kFilters)
        if (bandwidth <= filter.bandwidth) return filter.code;
    return kFilters[std::size(kFilters) - 1].code;
}

}  // namespace

IC1000::IC1000()
    : ReceiverPanel({.form = &kIc1000Form,
                     .lowerLimit = kLowerLimit,
                     .upperLimit = kUpperLimit,
                     .viewStep = 100,
                     .fineScale = kFineScale,
                     .calibration = kCalibration,
                     .stateFileStem = "IC1000",
                     .pictures = Ic1000Picture}) {}

// The form goes while the panel is whole: its state file is written then.
IC1000::~IC1000() {
    Destroy();
}

// ---------------------------------------------------------------------------------------
// Creation

void IC1000::CreateControls() {
    CreateFormControls();
    for (const char* text : kScopeStepTexts) estep->AddString(text);
    for (ui::ComboBox* list : {estep, step}) list->SetListHeight(125);
    for (ui::Slider* slider : {porog, zvuk, sdvig}) slider->SetRange(0, kSliderTop);
    spectr->SetPainter([this](ui::Painter& painter) { Scope.Draw(painter); });
}

FineScaleControls IC1000::FineScaleOnForm() {
    return {scale, scrollb_1, step, pictbttn_2, pictbttn_3, pictbttn_4, pictbttn_5};
}

void IC1000::SetDefaults() {
    FDX& s = *fdx_;
    Settings = Pcr1000Settings{};
    Scope = PcrBandScope{};
    Busy = true;
    s.Modulation = 'W';
    s.Frequency = 729'000;
    s.Sound = 1;
    s.PcrScope = 0;
    TunedFrequency = s.Frequency;
    Scale.LimitTo254 = true;
}

void IC1000::WireControls() {
    const auto click = [&](ui::Control* control, auto action) {
        control->On(ui::EventId::Click, [action](ui::EventData&) { action(); });
    };
    click(pictbttn_7, [this] { Fine.ConfirmClear(); });
    click(pictbttn_1, [this] { PostToSelf(Busy ? PostSyncReceiver : PostShowLevelOff); });
    click(width, [this] { CycleBandwidth(); });
    click(stopEL, [this] { Scope.Paused ? StartScope() : StopScope(); });
    click(vid, [this] {
        Scope.NextCellWidth();
        StartScope();
        RedrawScope();
    });
    click(faru, [this] {
        Settings.Agc = faru->IsChecked();
        SendSwitch("J45", Settings.Agc);
    });
    click(noise, [this] {
        Settings.NoiseBlanker = noise->IsChecked();
        SendSwitch("J46", Settings.NoiseBlanker);
    });
    WireSwitchBoxes(attenuator, nullptr);
    click(fast, [this] { SetScopeScan(fast->IsChecked()); });
    // The band scope's picture takes the mouse itself: its right button runs the macro, as the
    // rest of the panel's does.
    spectr->On(ui::EventId::RightButtonUp, [this](ui::EventData&) { PostToOwner(PostRunMacro); });
    estep->On(ui::EventId::Select, [this](ui::EventData& e) {
        if (Scope.SetStepItem(static_cast<int>(e.value))) RestartScope();
    });
    estep->On(ui::EventId::Change, [this](ui::EventData& e) {
        const uint32_t before = Scope.Step();
        Scope.SetStep(FDX::ParseKHz(e.text));
        if (Scope.Step() != before) RestartScope();
    });
    porog->On(ui::EventId::Change, [this](ui::EventData& e) {
        Settings.Squelch = static_cast<uint32_t>(e.value) * kSliderUnit;
        SendLevel("J41", Settings.Squelch);
    });
    sdvig->On(ui::EventId::Change, [this](ui::EventData& e) {
        Settings.IfShift = static_cast<uint32_t>(e.value) * kSliderUnit;
        SendLevel("J43", Settings.IfShift);
    });
    zvuk->On(ui::EventId::Change, [this](ui::EventData& e) {
        Settings.Volume = static_cast<uint32_t>(e.value) * kSliderUnit;
        Settings.DefaultVolume = Settings.Volume;
        if (fdx_->Sound) SendLevel("J40", Settings.Volume);
    });
}

void IC1000::ShowControls() {
    estep->SetSelectedIndex(Scope.StepItem());
    ShowBandwidth();
    ShowScopeButton();
    ShowSwitches();
    SetSliders();
}

void IC1000::ShowBandwidth() {
    char text[16];
    std::snprintf(text, sizeof text, "%.1f", Settings.Bandwidth / 10.0);
    if (width) width->SetText(text);
    Scale.FillWindow = 2 * Settings.Bandwidth;
}

void IC1000::ShowScopeButton() {
    if (stopEL) stopEL->SetText(Scope.Paused ? "старт" : "пауза");
}

void IC1000::ShowSwitches() {
    if (!faru) return;
    faru->SetChecked(Settings.Agc);
    noise->SetChecked(Settings.NoiseBlanker);
    attenuator->SetChecked(Settings.Attenuator);
    fast->SetChecked(fdx_->PcrScope != 0);
}

void IC1000::SetSliders() {
    if (!porog) return;
    porog->SetPosition(static_cast<int>(Settings.Squelch) / kSliderUnit);
    zvuk->SetPosition(static_cast<int>(Settings.Volume) / kSliderUnit);
    sdvig->SetPosition(static_cast<int>(Settings.IfShift) / kSliderUnit);
}

void IC1000::SetScopeScan(bool on) {
    fdx_->PcrScope = on ? 1 : 0;
    if (fast) fast->SetChecked(on);
}

int IC1000::ScopeWidth() const {
    return spectr ? spectr->Geometry().width : 0;
}

void IC1000::RedrawScope() {
    if (spectr) spectr->Redraw();
}

void IC1000::RestartScope() {
    StartScope();
    Scope.Clear();
    RedrawScope();
}

// ---------------------------------------------------------------------------------------
// Operations of the main window

std::string IC1000::TuneLine() const {
    char line[40];
    // The line carries eight digits of 100 Hz and "00": the frequency in Hz.
    std::snprintf(line, sizeof line, "K0%08u00%s%s",
                  std::clamp(fdx_->Frequency, LowerLimit, UpperLimit),
                  ModeOf(fdx_->Modulation).code, FilterCode(Settings.Bandwidth));
    return line;
}

bool IC1000::SetFrequency() {
    if (scanScope_ == ScanScope::SettingUp || !Request("K0", "G0", TuneLine())) return false;
    TunedFrequency = fdx_->Frequency;
    Fine.FollowFrequency();
    return true;
}

bool IC1000::Request(std::string_view id, std::string_view awaited, std::string_view line) {
    if (MayTalk()) return Link.Send(id, awaited, line);
    // The set is off or was not found: nothing goes out, and a job line asking for this
    // fails as one the set left unanswered.
    if (!connecting_) NoteUnreachable();
    return false;
}

bool IC1000::Exchange(std::string_view id, std::string_view awaited, std::string_view line) {
    // A refused send must not wait: the wait would end the exchange it was refused for.
    return Request(id, awaited, line) && WaitReply();
}

bool IC1000::SetMode() {
    Settings.Bandwidth = ModeParameter(fdx_->Modulation);
    ShowBandwidth();
    return SetFrequencyWait();
}

int32_t IC1000::ModeParameter(char letter) const {
    return ModeOf(letter).bandwidth;
}

bool IC1000::SetAttenuator() {
    Settings.Attenuator = fdx_->Attenuator != 0;
    if (attenuator) attenuator->SetChecked(Settings.Attenuator);
    return SendSwitch("J47", Settings.Attenuator);
}

bool IC1000::SetSound() {
    Settings.Volume = fdx_->Sound ? Settings.DefaultVolume : 0;
    if (zvuk) zvuk->SetPosition(static_cast<int>(Settings.Volume) / kSliderUnit);
    return SendLevel("J40", Settings.Volume);
}

bool IC1000::SendLevel(const char* id, uint32_t value) {
    char line[16];
    std::snprintf(line, sizeof line, "%s%02X", id, std::min<uint32_t>(value, 255));
    return Exchange(id, "G0", line);
}

bool IC1000::SendSwitch(const char* id, bool on) {
    return Exchange(id, "G0", std::string(id) + (on ? "01" : "00"));
}

void IC1000::CycleBandwidth() {
    int32_t& b = Settings.Bandwidth;
    b = b >= 2300 ? 28 : b > 150 ? 2300 : b > 60 ? 500 : b > 28 ? 150 : 60;
    ShowBandwidth();
    SetFrequencyWait();
}

int32_t IC1000::ReadLevel() {
    if (!Exchange("I0", "I0", "I0?")) return -1;
    int32_t level = 0;
    if (Link.SquelchOpen) {
        if (!Exchange("I1", "I1", "I1?")) return -1;
        level = std::min(Link.LastLevel, 254);
    }
    Scale.Measure(TunedFrequency, level);
    return level;
}

uint32_t IC1000::ReadReply() {
    return Link.ReadReply();
}

bool IC1000::Poll(bool timerTick) {
    if (timerTick) return TimerTick();
    return Link.Poll([this](const PcrLink& link) {
        if (link.ReplyId == "NE" && Scope.Take(link.ReplyLine) && !fdx_->Running) RedrawScope();
    });
}

void IC1000::Cancel(bool) {
    ReceiverPanel::Cancel(/*keepPort=*/true);
}

int32_t IC1000::ScanLevel() {
    if (!MayTalk()) {
        // A scan started while the set is being connected (a start-up job) runs inside the
        // connect's waits: its step is held a while, so that the connect's answers are
        // served, and the point is measured again later.
        ui::ServeFor(kBusyHoldMs);
        return -1;
    }
    const bool scopeScan = fdx_->PcrScope && fdx_->RunningMode == kScaleMode;
    if (scopeScan && !ScanScopeReady()) {
        ui::ServeFor(kBusyHoldMs);
        return -1;
    }
    int32_t level = -1;
    if (ReplyReady()) {
        if (scopeScan) {
            // Cells the band scope did not give are measured again, not stored as they were.
            level = PollScope() ? 0 : -1;
        } else {
            ReadLevel();
            level = ReadLevel();
        }
    }
    return level;
}

// A step served inside the lock's exchanges would find the picture's sweep, or none: it waits
// until the scan's sweep runs. A start the set did not answer is tried again here.
bool IC1000::ScanScopeReady() {
    if (scanScope_ == ScanScope::NotSetUp && MayTalk() && PendingCommand == NoExchange &&
        Exchange("ME", "G0", PcrBandScope::kScanStartLine))
        scanScope_ = ScanScope::Ready;
    return scanScope_ == ScanScope::Ready;
}

uint32_t IC1000::ScaleScanStep() const {
    return fdx_->PcrScope ? kScopeScanStep : fdx_->Step;
}

// ---------------------------------------------------------------------------------------
// Band scope

bool IC1000::StartScope() {
    Scope.Wanted.fill(true);
    Scope.Paused = false;
    ShowScopeButton();
    return Exchange("ME", "G0", Scope.StartLine(ScopeWidth()));
}

bool IC1000::StopScope() {
    Scope.Paused = true;
    ShowScopeButton();
    return Exchange("ME", "G0", PcrBandScope::kStopLine);
}

bool IC1000::PollScope() {
    const bool answered = Exchange("NE", "NE", PcrBandScope::BlockQuery(7)) &&
                          Exchange("NE", "NE", PcrBandScope::BlockQuery(8));
    if (answered) Scope.CopyToScale(Scale, fdx_->Frequency);
    return answered;
}

// The report prints the blocks the scope shows, as they last came.
void IC1000::CopyBandScope() const {
    fdx_->ScopeStep = Scope.Step();
    for (std::size_t b = 0; b < fdx_->ScopeBlocks.size(); ++b)
        fdx_->ScopeBlocks[b] = Scope.Wanted[b];
    for (std::size_t c = 0; c < fdx_->ScopeLevels.size(); ++c)
        fdx_->ScopeLevels[c] = uint8_t(std::min<uint32_t>(Scope.Cells[c], 255));
}

// Once a second while the set is idle: the cells are drawn and the blocks shown asked for;
// their answers are taken as they come, nothing waits for them.
void IC1000::TimerPoll() {
    if (fdx_->Running || Scope.Paused || Busy || PendingCommand != NoExchange) return;
    Scope.MarkWanted(ScopeWidth());
    RedrawScope();
    const std::string queries = Scope.PollLine();
    if (!queries.empty()) Link.SendText(queries);
}

// ---------------------------------------------------------------------------------------
// The next level peak

int64_t IC1000::FindPeak(const LevelScale& scale, int64_t frequency, bool right, int64_t lower,
                         int64_t upper, int64_t halfSpan, int64_t threshold) {
    constexpr int64_t kCell = LevelScale::kCellWidth;
    const int64_t start = right ? frequency + kSearchSpan : frequency - kSearchSpan;
    if (right ? start >= upper : start <= lower) return -1;
    // The cells of 1 .. the upper limit take part in the averages.
    const int64_t last = std::min(upper / kCell, static_cast<int64_t>(scale.CellCount()) - 1);
    return scale.HighestHill({.from = start / kCell,
                              .to = right ? last : 1,
                              .right = right,
                              .halfSpan = halfSpan,
                              .lastInMean = last,
                              .threshold = threshold,
                              .reach = kSearchSpan,
                              .footWhereRiseBegan = true});
}

// ---------------------------------------------------------------------------------------
// Posted codes

void IC1000::OnPanelCode(uint32_t code) {
    switch (code) {
        case PostTimerTick:
            TimerPoll();
            break;
        case PostMeasureLevel:
            MeasureLevel();
            break;
        case PostDrawPanelScale:
            if (fdx_->WorkMode == kScaleMode) RedrawScope();
            break;
        case PostShowLevelOff:
            PowerOff();
            break;
        default:
            break;
    }
}

void IC1000::MeasureLevel() {
    if (Busy || !SetFrequencyWait()) return;
    fdx_->Level = ReadLevel();
    PostToOwner(PostReceiverState);
    Fine.Redraw();
}

void IC1000::LockControls(bool locked) {
    locked ? Lock() : Unlock();
}

void IC1000::Lock() {
    // The first step of a scale scan is posted behind this lock and served inside its waits:
    // it waits for the band scope, and the line is the lock's until then.
    scanScope_ = fdx_->RunningMode == kScaleMode && fdx_->PcrScope ? ScanScope::SettingUp
                                                                   : ScanScope::NotSetUp;
    for (ui::Control* control : std::initializer_list<ui::Control*>{
             pictbttn_2, pictbttn_3, pictbttn_4, pictbttn_5, pictbttn_7, stopEL, vid})
        if (control) control->SetEnabled(false);
    // The scale scan starts from the frequency the lock gives it, whatever waits below serve:
    // the first step, served there, steps on from it.
    if (fdx_->RunningMode == kScaleMode) TakeScaleScanStart();
    // A scan tunes before it locks the panel: that tune's answer comes first.
    if (MayTalk() && PendingCommand != NoExchange) WaitReply();
    StopScope();
    savedStepItem_ = Scope.StepItem();
    savedStep_ = Scope.Step();
    savedCellWidth_ = Scope.CellWidth;
    if (fdx_->RunningMode != kScaleMode) return;
    if (sdvig) {
        Settings.IfShift = static_cast<uint32_t>(sdvig->Position()) * kSliderUnit;
        sdvig->SetEnabled(false);
    }
    Scope.Clear();
    RedrawScope();
    if (!fdx_->PcrScope) return;
    const bool started = Exchange("ME", "G0", PcrBandScope::kScanStartLine);
    scanScope_ = started ? ScanScope::Ready : ScanScope::NotSetUp;
}

// The band scope's modes, and the frequency on its 10 kHz cells.
void IC1000::TakeScaleScanStart() {
    char& mode = fdx_->Modulation;
    if (mode != 'W' && mode != 'F' && mode != 'A') mode = 'F';
    fdx_->Frequency = fdx_->Frequency / 100 * 100;
    TunedFrequency = fdx_->Frequency;
    PostToOwner(PostReceiverState);
    PostToOwner(PostModulationChanged);
}

void IC1000::Unlock() {
    scanScope_ = ScanScope::NotSetUp;
    Scope.SetStepItem(savedStepItem_);
    Scope.SetStep(savedStep_);
    Scope.CellWidth = savedCellWidth_;
    for (ui::Control* control : std::initializer_list<ui::Control*>{
             pictbttn_2, pictbttn_3, pictbttn_4, pictbttn_5, pictbttn_7, stopEL, vid})
        if (control) control->SetEnabled(true);
    StartScope();
    if (sdvig) {
        sdvig->SetEnabled(true);
        sdvig->SetPosition(static_cast<int>(Settings.IfShift) / kSliderUnit);
    }
}
