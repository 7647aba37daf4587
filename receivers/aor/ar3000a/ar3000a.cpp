#include "receivers/aor/ar3000a/ar3000a.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "state/format_text.h"
#include "state/message_bus.h"

namespace {

constexpr ui::ControlResource kControls[] = {UI_CONTROL_ROWS(AR3000A_CONTROLS)};
constexpr ui::FormResource kForm = PanelForm("ID_AR3000A", kControls);

// Tenths of dB at raw levels 0, 16, .. 256.
constexpr std::array<int32_t, 17> kCalibration = {0,   13,  27,  36,  45,  57,  68,  80, 90,
                                                  100, 110, 130, 150, 175, 200, 300, 400};

// The AR3000A's rule for the next maximum: from two cells beside the frequency, the first
// cell above the one before it starts a rise, and the first cell from there above the next
// one is the peak; the target is the middle of the rise.
int64_t NextMaximum(const ReceiverPanel& panel, bool right, int) {
    const LevelScale& scale = panel.Scale;
    const int64_t last = static_cast<int64_t>(scale.CellCount()) - 1;
    if (last < 2) return -1;
    const int64_t step = right ? 1 : -1;
    int64_t cell = panel.State()->Frequency / LevelScale::kCellWidth + 2 * step;
    cell = std::clamp<int64_t>(cell, 1, last - 1);
    int64_t rise = -1;
    for (; cell > 0 && cell < last; cell += step) {
        if (rise < 0 && scale.Cell(cell) > scale.Cell(cell - step)) rise = cell;
        if (rise >= 0 && scale.Cell(cell) > scale.Cell(cell + step))
            return (rise + cell) * LevelScale::kCellWidth / 2;
    }
    return -1;
}

// Bars stand level / 3 pixels high, a full level's 80 pixels.
constexpr FineScaleLook kFineScale{.overviewHeight = 12,
                                   .barDivisor = 3,
                                   .viewSteps = kKilohertzViewSteps,
                                   .findPeak = NextMaximum,
                                   .markScaleItems = true};

}  // namespace

AR3000A::AR3000A()
    : AorBankPanel({.form = &kForm,
                    .lowerLimit = kLowerLimit,
                    .upperLimit = kUpperLimit,
                    .fineScale = kFineScale,
                    .calibration = kCalibration,
                    .stateFileStem = "AR3000A",
                    .channels = &kChannelLayout},
                   kChannelList) {}

// The form goes while the panel is whole: its state file is written then.
AR3000A::~AR3000A() {
    Destroy();
}

// ---------------------------------------------------------------------------------------
// Creation

void AR3000A::CreateControls() {
    CreateFormControls();
    label_1->SetFont("12.MS Sans Serif", true);
    for (const ar3000a::Mode& mode : ar3000a::Modes()) smod->AddString(mode.text);
    for (ui::ComboBox* list : {step, smod}) list->SetListHeight(125);
}

FineScaleControls AR3000A::FineScaleOnForm() {
    return {scale, hs, step, pictbttn_2, pictbttn_3, pictbttn_4, pictbttn_5};
}

void AR3000A::SetDefaults() {
    for (int bank = 0; bank < kBanks; ++bank)
        for (int channel = 0; channel < kChannels; ++channel)
            ChannelAt(bank, channel) = kChannelLayout.Empty(channel);
    BankPositions.fill(0);
    CurrentBank = 0;
    Scale.LimitTo254 = true;
}

void AR3000A::WireControls() {
    using ui::EventId;
    MakeListColumns();
    WireBankControls();
    clear->On(EventId::Click, [this](ui::EventData&) { Fine.ConfirmClear(); });
    WireSwitchBoxes(catt, csound);
}

// While a scan or a transfer runs the operator may still look at the scale.
void AR3000A::LockControls(bool locked) {
    EnableFormControls(!locked);
    if (!locked) ShowChannelBoxes();
}

// ---------------------------------------------------------------------------------------
// Operations of the main window

// The command goes out first: the display follows while the line carries it.
bool AR3000A::SetFrequency() {
    const bool sent = Link.Send(ar3000a::TuneCommand(fdx_->Frequency));
    if (sent) TunedFrequency = fdx_->Frequency;
    FollowTuning();
    return sent;
}

bool AR3000A::SetMode() {
    const ar3000a::Mode* mode = ar3000a::FindMode(fdx_->Modulation);
    if (!mode) return false;
    ShownModulation = mode->letter;
    ShowBandwidth(mode->letter);
    ShowStatus();
    return Link.Exchange(std::string{mode->key, '\r'});
}

bool AR3000A::SetStep() {
    return Link.Exchange(ar3000a::StepCommand(fdx_->Step));
}

bool AR3000A::SetAttenuator() {
    ShownAttenuator = fdx_->Attenuator != 0;
    if (catt) catt->SetChecked(ShownAttenuator);
    ShowStatus();
    return Link.Exchange(ShownAttenuator ? "R\r" : "T\r");
}

bool AR3000A::SetSound() {
    if (csound) csound->SetChecked(fdx_->Sound != 0);
    return Link.Exchange(fdx_->Sound != 0 ? "G\r" : "E\r");
}

int32_t AR3000A::ReadLevel() {
    if (!Link.Exchange(ar3000a::LevelQuery())) return -1;
    const int32_t level = ar3000a::LevelOfReply(Link.Reply);
    if (level >= 0) Scale.Measure(TunedFrequency, level);
    return level;
}

int32_t AR3000A::ModeParameter(char letter) const {
    const ar3000a::Mode* mode = ar3000a::FindMode(letter);
    return mode ? 2 * static_cast<int32_t>(FDX::ParseKHz(mode->bandwidth)) : kNoModeValue;
}

// Start-up: the set's own settings become the program's.
void AR3000A::Synchronise() {
    BeginSync();
    Cancel(true);
    while (ReadReply() != 0) {
    }
    const bool answered = ReadChannel(-1);
    if (answered) {
        MemoryChannel now;
        Reading.CopyTo(now);
        TakeChannel(now);
        fdx_->Level = Reading.Level;
    }
    ShowAll();
    PostToSelf(PostRefreshDisplay);
    EndSync(answered);
}

// ---------------------------------------------------------------------------------------
// Posted codes

void AR3000A::OnPanelCode(uint32_t code) {
    switch (code) {
        case PostClearData:
            ClearBank();
            break;
        default:
            break;
    }
}

// ---------------------------------------------------------------------------------------
// Display

// What the receiver was told last starts as the program state (the state file's) has it.
void AR3000A::ShowControls() {
    const FDX& s = *fdx_;
    TunedFrequency = s.Frequency;
    ShownModulation = s.Modulation;
    ShownAttenuator = s.Attenuator != 0;
    ShowBandwidth(s.Modulation);
    ShowAll();
}

void AR3000A::ShowAll() {
    FollowTuning();
    if (catt) catt->SetChecked(fdx_->Attenuator != 0);
    if (csound) csound->SetChecked(fdx_->Sound != 0);
    if (cbank) cbank->SetChecked(DirectWrite);
    if (pictb_1) pictb_1->SetChecked(WholeMemory);
    ShowBankList();
}

void AR3000A::FollowTuning() {
    ShowStatus();
    Fine.FollowFrequency();
    Fine.Redraw();
}

// What the receiver was told last: frequency, mode and attenuator.
void AR3000A::ShowStatus() {
    if (!label_1) return;
    const ar3000a::Mode* mode = ar3000a::FindMode(ShownModulation);
    label_1->SetText(FormatText("%9.4f %s%s", TunedFrequency / 10000.0, mode ? mode->text : "",
                                ShownAttenuator ? " АТТ" : ""));
}

// The caption of the mode's bandwidth; the fill width of the level scale is twice it. A
// letter the set has no mode for leaves both.
void AR3000A::ShowBandwidth(char letter) {
    const ar3000a::Mode* mode = ar3000a::FindMode(letter);
    if (!mode) return;
    if (width) width->SetText(mode->bandwidth);
    Scale.FillWindow = ModeParameter(letter);
}
