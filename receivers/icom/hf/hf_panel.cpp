// The HF sets' panel over the CI-V core: controls, the receiver's settings, modes and filters,
// replies, standby and the job commands. The memory channels and the receiver's own scan are
// in hf_channels.cpp, the state file in hf_state_file.cpp.

#include "receivers/icom/hf/hf_panel.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "state/message_bus.h"
#include "state/user_job.h"

namespace {

constexpr uint32_t kStartViewStep = 50;
// The fine scale's steps a job line may ask for; any other is 10 kHz.
constexpr uint32_t kLeastJobFineStep = 100;

}  // namespace

// Numbered from the model's jobBase.
// clang-format off
const JobCommand<HfPanel> HfPanel::kSharedJobs[] = {
    {22, &HfPanel::StandbyCommand},
    {26, &HfPanel::FineStepCommand},
};
// clang-format on

HfPanel::HfPanel(const HfModel& model, std::span<const JobCommand<HfPanel>> ownJobs)
    : CivMemoryPanel(model.civ, model.channels, model.attenuators), hf_(model) {
    AddJobs(jobs_, SharedJobs(), model.jobBase);
    AddJobs(jobs_, kSharedJobs, model.jobBase);
    AddJobs(jobs_, ownJobs);
}

// ---------------------------------------------------------------------------------------
// Controls

void HfPanel::CreateControls() {
    CreateFormControls();
    CreateModelControls();

    label_1->SetFont("12.MS Sans Serif", true);
    for (const HfModeChoice& choice : hf_.modeChoices) smod->AddString(choice.text);
    for (const HfChoice& choice : hf_.sattChoices) satt->AddString(choice.text);
    for (ui::ComboBox* list : {step, smod, satt}) list->SetListHeight(125);
    sq->SetRange(0, kSliderTop);
    sd->SetRange(0, kSliderTop);
    std::vector<std::pair<std::string, int>> columns;
    for (const HfListColumn& column : hf_.columns) columns.emplace_back(column.title, column.width);
    lv_1->SetColumns(columns);
}

// The HF forms name the fine scale's picture and scroll bar their own way.
FineScaleControls HfPanel::FineScaleOnForm() {
    return {pictb_1, hs, step, pictbttn_2, pictbttn_3, pictbttn_4, pictbttn_5};
}

void HfPanel::ForgetControls() {
    ForgetFormControls();
    ForgetModelControls();
}

void HfPanel::SetModelDefaults() {
    // The fine scale starts at 5 kHz a pixel, or the nearest step the model lists.
    ViewStep = kStartViewStep;
    // The program's frequency as it starts (68.8 MHz) is none of the short waves'.
    fdx_->Frequency = std::clamp(fdx_->Frequency, LowerLimit, UpperLimit);
    Settings = HfSettings{};
    Settings.DefaultAttenuatorDb = Depth(0);
    ReceiverScanRunning = false;
    for (uint32_t entry = 0; entry < kChannelCount; ++entry)
        Channels[entry] = hf_.channels.Empty(static_cast<int32_t>(entry));
    CurrentChannel = 0;
}

void HfPanel::WireControls() {
    CivMemoryPanel::WireControls();
    off->On(ui::EventId::Click, [this](ui::EventData&) { SwitchStandby(!Standby); });
    cb_4->On(ui::EventId::Click, [this](ui::EventData&) {
        Settings.FilterChoice =
            Settings.FilterChoice >= kWidestFilter ? 0 : Settings.FilterChoice + 1;
        SendModeWithFilter();
    });
    for (ui::OptionButton* antenna : {ant_1, ant_2}) {
        antenna->On(ui::EventId::Click, [this, antenna](ui::EventData&) {
            if (!antenna->IsChecked()) return;
            Settings.SecondAntenna = antenna == ant_2;
            Exchange(Settings.SecondAntenna ? "1201" : "1200", civ::kAntennaSet);
        });
    }
    WireLevelSlider(sq, Settings.SquelchLevel, "1403");
    WireLevelSlider(sd, Settings.AfLevel, "1401");
    cbank->On(ui::EventId::Click,
              [this](ui::EventData&) { SwitchDirectWrite(cbank->IsChecked(), /*apply=*/true); });
    WireChannelControls();
}

std::array<CivMemoryPanel::CivSwitch, 3> HfPanel::Switches() {
    return {{{&Settings.Agc, faru, hf_.agcOn, hf_.agcOff},
             {&Settings.Preamp, PreampBox(), "160201", "160200"},
             {&Settings.NoiseBlanker, fns, "162201", "162200"}}};
}

void HfPanel::ShowSwitches() {
    CivMemoryPanel::ShowSwitches();
    if (ant_1) (Settings.SecondAntenna ? ant_2 : ant_1)->SetChecked(true);
}

// ---------------------------------------------------------------------------------------
// The receiver's settings

bool HfPanel::SetStep() {
    for (const HfStepCode& code : hf_.steps)
        if (hf_.stepsUpTo ? fdx_->Step <= code.step : fdx_->Step == code.step)
            return Exchange(code.payload, civ::kStepSet);
    // A step the receiver has no code for: nothing goes out, and the wait finds no answer.
    ReplyComplete = false;
    WaitReply();
    return false;
}

bool HfPanel::SetAttenuator() {
    if (fdx_->Attenuator) fdx_->AttenuatorDb = Settings.DefaultAttenuatorDb;
    const bool sent = SendAttenuator();
    ShowAttenuator();
    return sent;
}

int32_t HfPanel::FilterFor(char letter) const {
    for (const HfNarrowMode& narrow : hf_.narrowModes)
        if (narrow.letter == letter && Settings.*narrow.chosen) return 1;
    if (!hf_.storedFilterForModes) return 0;
    return letter == 'W' ? kWidestFilter : Settings.FilterChoice;
}

bool HfPanel::SetMode() {
    const char letter = fdx_->Modulation;
    const int32_t filter = FilterFor(letter);
    const CivMode* mode = FindMode(letter, filter);
    // A mode the receiver does not have: nothing to send.
    if (!mode) return false;
    const char* payload = mode->payload;
    for (const HfNarrowMode& narrow : hf_.narrowModes)
        if (narrow.letter == letter && Settings.*narrow.chosen) payload = narrow.payload;
    fdx_->Filter = filter;
    ShowWidth();
    return Link.Send(payload, civ::kModeSet, /*cancelStale=*/false) && WaitReply();
}

bool HfPanel::SendModeWithFilter() {
    const char letter = fdx_->Modulation;
    const int32_t filter = letter == 'W' ? kWidestFilter : Settings.FilterChoice;
    const CivMode* mode = FindMode(letter, filter);
    if (!mode) return false;
    fdx_->Filter = filter;
    ShowWidth();
    return Link.Send(mode->payload, civ::kModeSet, /*cancelStale=*/false) && WaitReply();
}

void HfPanel::SwitchStandby(bool enter) {
    if (!Exchange(enter ? hf_.standbyEnter : hf_.standbyLeave, hf_.standbyCommand)) return;
    if (enter) {
        if (!Standby) EnterStandby();
        return;
    }
    LeaveStandby();
}

// ---------------------------------------------------------------------------------------
// Replies

void HfPanel::DecodeMode(const std::string& mode, const std::string& filter, char& letter,
                         int32_t& filterCode) const {
    filterCode = filter == "01" ? kWidestFilter : filter == "03" ? 1 : 0;
    letter = hf_.otherMode;
    for (const HfModeByte& byte : hf_.replyModes)
        if (mode == byte.code) letter = byte.letter;
    if (hf_.wideFmIsWfm && letter == 'F' && filterCode == kWidestFilter) {
        letter = 'W';
        filterCode = 0;
    }
}

bool HfPanel::ParseModelReply(const civ::CivReply& reply) {
    const std::string& text = Link.ReplyText;
    if (text.starts_with("1A00")) {
        // Only the reply that ends the read is its answer.
        if (readNumber_ != 0 && reply.completed) TakeMemoryReply();
        return true;
    }
    if (!text.starts_with("01") && !text.starts_with("04")) return false;
    // A mode without its filter byte has the wide one.
    const std::string padded = text + "01";
    char letter = 'F';
    int32_t filter = 0;
    DecodeMode(padded.substr(2, 2), padded.substr(4, 2), letter, filter);
    fdx_->Modulation = letter;
    fdx_->Filter = filter;
    ShowWidth();
    PostToOwner(PostModulationChanged);
    return true;
}

void HfPanel::OnFrequencyReport() {
    // The receiver's scan stopped on a signal.
    if (!ReceiverScanRunning) return;
    if (hf_.pauseActions)
        ActOnScanStop(Settings);
    else
        ActOnScanStop(static_cast<uint32_t>(ScanStopAction::IntoBank), Settings.JobName);
}

void HfPanel::BankItemTaken() {
    CurrentChannel = 0;
    ShowChannels();
}

void HfPanel::OnModelCode(uint32_t code) {
    switch (code) {
        case PostClearData:
            ClearChannels();
            break;
        case PostLoadReceiverSetup: {
            // The range of the slot shown, when it is marked for the receiver, becomes the
            // edges of the receiver's programmed scan.
            const Bank* slot = ShownRangeSlot();
            if (!slot) break;
            for (const uint32_t entry : {kLowerEdge, kUpperEdge}) {
                MemoryChannel& edge = Channels[entry];
                edge = hf_.channels.Empty(static_cast<int32_t>(entry));
                edge.Frequency = std::clamp(entry == kLowerEdge ? slot->Start : slot->End,
                                            LowerLimit, UpperLimit);
                edge.Step = slot->Step;
                edge.Modulation = hf_.channels.KnownModulation(slot->Modulation);
            }
            ShowChannels();
            break;
        }
        default:
            break;
    }
}

// ---------------------------------------------------------------------------------------
// Job commands

bool HfPanel::ReadMemory(bool byJob) {
    return ReadChannels(byJob ? hf_.jobReadStatus : hf_.readStatus);
}

void HfPanel::ExecuteCommand() {
    ServeJobLine(*this, std::span<const JobCommand<HfPanel>>(jobs_),
                 kIcomFineScaleJobs.From(hf_.jobBase));
}

// A setting the receiver refuses (FA) leaves the line done: a receiver that keeps refusing is
// found by the rejections the timer counts (standby); one it leaves unanswered fails the line
// (ServeJobLine). A channel the panel does not have fails the line, and so do a transfer the
// receiver did not answer and a scan it did not start (their messages).

void HfPanel::StandbyCommand(JobStr& line) {
    if (line.VAL == 0)
        SwitchStandby(true);
    else if (Standby)
        SwitchStandby(false);
}

// The fine scale's steps from 10 kHz on; anything else is 10 kHz.
void HfPanel::FineStepCommand(JobStr& line) {
    bool listed = false;
    for (const ViewStepEntry& entry : hf_.civ.fineScale.viewSteps)
        listed = listed || (entry.step == line.VAL && entry.step >= kLeastJobFineStep);
    Fine.SetViewStep(listed ? line.VAL : kLeastJobFineStep);
}

void HfPanel::ChannelEntryCommand(JobStr& line) {
    if (Refuse(line, kChannelCount, kNoChannel)) return;
    ChooseChannel(line.VAL);
}

void HfPanel::ChannelNumberCommand(JobStr& line) {
    if (Refuse(line, kChannelCount, kNoChannel, 1)) return;
    ChooseChannel(line.VAL - 1);
}
