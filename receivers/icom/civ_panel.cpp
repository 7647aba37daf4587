#include "receivers/icom/civ_panel.h"

#include <algorithm>
#include <cstdio>
#include <new>

#include "state/message_bus.h"

namespace {

// Rejections in a row beyond which the receiver is taken to be in standby.
constexpr int32_t kStandbyRejections = 5;

std::string MHzText(uint32_t frequency) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4f", frequency / 10000.0);
    return text;
}

}  // namespace

CivPanel::CivPanel(const CivModel& model, const ChannelLayout* channels)
    : ReceiverPanel(ModelShape(model, channels)), Link(*this, model.address), model_(model) {}

FineScaleControls CivPanel::FineScaleOnForm() {
    return {scale, scrollb_1, step, pictbttn_2, pictbttn_3, pictbttn_4, pictbttn_5};
}

void CivPanel::SetDefaults() {
    Standby = false;
    SquelchOpen = false;
    StoredLevel = 0;
    Link.RejectCount = 0;
    Link.SetReceiverAddress(model_.address);
    Scale.FillWindow = 100;
    SetModelDefaults();
}

// ---------------------------------------------------------------------------------------
// Operations of the main window

bool CivPanel::Exchange(const std::string& payload, int32_t awaited) {
    // A refused send must not wait: the wait would end the outstanding exchange it was
    // refused for.
    return Link.Send(payload, awaited) && WaitReply();
}

int32_t CivPanel::ReadLevel() {
    if (model_.squelchQuery && !Exchange("1501", civ::kMeterRead)) return -1;
    if (!Exchange("1502", civ::kMeterRead)) return -1;
    return StoredLevel;
}

void CivPanel::AskLevel() {
    Link.Send(model_.squelchQuery ? "1501" : "1502", civ::kMeterRead);
}

uint32_t CivPanel::ReadReply() {
    return Link.ReadReply();
}

bool CivPanel::SetFrequency() {
    FollowTuning();
    return Link.Send("05" + civ::FreqToBcd(fdx_->Frequency, 0), civ::kFrequencySet);
}

bool CivPanel::Poll(bool timerTick) {
    if (timerTick) return TimerTick();
    return Link.Poll([this](const civ::CivReply& reply) { ParseReply(reply); });
}

bool CivPanel::SetMode() {
    const CivMode* mode = FindMode(fdx_->Modulation, FilterFor(fdx_->Modulation));
    // A mode the receiver does not have (RTTY): nothing to send.
    if (!mode) return false;
    fdx_->Filter = mode->filter;
    ShowWidth();
    return Link.Send(mode->payload, civ::kModeSet, /*cancelStale=*/false) && WaitReply();
}

int32_t CivPanel::ModeParameter(char letter) const {
    const CivMode* mode = FindMode(letter, FilterFor(letter));
    return mode ? static_cast<int32_t>(FDX::ParseKHz(mode->width)) : kNoModeValue;
}

const CivMode* CivPanel::FindMode(char letter, int32_t filter) const {
    const CivMode* first = nullptr;
    for (const CivMode& mode : model_.modes) {
        if (mode.letter != letter) continue;
        if (mode.filter == filter) return &mode;
        if (!first) first = &mode;
    }
    return first;
}

// ---------------------------------------------------------------------------------------
// Replies

void CivPanel::ParseReply(const civ::CivReply& reply) {
    // Frames of others (our own echo among them) and acknowledgements say nothing more.
    if (!reply.matched || reply.code == civ::kOk || reply.code == civ::kNg) return;
    const std::string& text = Link.ReplyText;
    if (text.starts_with("19")) {
        if (Link.ReplyBytes.size() > 3) {
            const uint8_t address = Link.ReplyBytes[2];
            Link.SetReceiverAddress(address == model_.address ? Link.ReplySource : address);
        }
        return;
    }
    if (ParseModelReply(reply)) return;
    if (text.starts_with("00") || text.starts_with("03")) {
        ParseFrequency(reply.awaited);
    } else if (text.starts_with("1501")) {
        SquelchOpen = text.substr(4, 2) == "01";
        if (!reply.awaited) Link.Send("1502", civ::kMeterRead);
    } else if (text.starts_with("1502")) {
        ParseLevel(reply.awaited);
    } else if (text.starts_with("01") || text.starts_with("04")) {
        ParseMode();
    }
}

void CivPanel::ParseFrequency(bool awaited) {
    fdx_->Frequency = std::clamp(civ::DecodeFrequency(Link.ReplyText), LowerLimit, UpperLimit);
    FollowTuning();
    if (!FrequencyPosted) {
        FrequencyPosted = true;
        PostToOwner(PostFrequencyChanged);
    }
    if (Link.ReplyText.starts_with("00")) OnFrequencyReport();
    // Every frequency the receiver reports by itself gets its level; one that somebody waits
    // for is followed by the waiter's own queries.
    if (!awaited) AskLevel();
}

void CivPanel::ParseLevel(bool awaited) {
    const int reading = civ::DecodeLevel(Link.ReplyText);
    const bool counts = SquelchOpen || !model_.squelchQuery;
    if (!counts) FollowSquelchKnob(reading);
    StoredLevel = counts ? reading : 0;
    // A scale read from the state file already holds the level the set gives at start-up;
    // the synchronisation's reading is still the first one the main window gets.
    const bool syncReading = SyncLevelAsked;
    SyncLevelAsked = false;
    if (!awaited && (syncReading || Scale.At(fdx_->Frequency) != StoredLevel)) {
        fdx_->Level = StoredLevel;
        Scale.Measure(fdx_->Frequency, StoredLevel);
        Fine.Redraw();
        if (!LevelPosted) {
            LevelPosted = true;
            PostToOwner(PostPanelLevelDisplay);
        }
        return;
    }
    Scale.Measure(fdx_->Frequency, StoredLevel);
}

void CivPanel::ParseMode() {
    // A mode without its filter byte has the normal filter.
    const std::string text = Link.ReplyText + "01";
    const std::string code = text.substr(2, 4);
    for (const CivMode& mode : model_.modes) {
        if (code != mode.code) continue;
        fdx_->Modulation = mode.letter;
        fdx_->Filter = mode.filter;
        ShowWidth();
        PostToOwner(PostModulationChanged);
        return;
    }
}

// ---------------------------------------------------------------------------------------
// Synchronisation and standby

bool CivPanel::Identify() {
    // A set that cannot tell who it is counts as there: its frequency query says the rest.
    if (!model_.identity) return true;
    // A refusal is an answer too: the set is there but switched off.
    return Exchange("1900", civ::kIdentityCommand) || Link.RejectCount > 0;
}

// Start-up synchronisation: who answers, where it is tuned, in which mode.
void CivPanel::Synchronise() {
    BeginSync();
    Cancel(true);
    Link.RejectCount = 0;
    OnSyncStart();
    Standby = false;
    OnStandbyChanged();
    fdx_->Level = -1;
    SyncLevelAsked = false;
    bool answered = Identify();
    OnIdentified(answered);
    if (answered) answered = Exchange("03", civ::kFrequencyRead) || model_.identity;
    if (answered) {
        Exchange("04", civ::kModeRead);
        if (Link.RejectCount == 0 || !model_.identity) {
            fdx_->Level = 0;
            SquelchOpen = false;
            // A level query follows the squelch reply by itself.
            SyncLevelAsked = true;
            AskLevel();
        } else {
            EnterStandby();
        }
    }
    ShowWidth();
    PostToSelf(PostRefreshDisplay);
    // The squelch query is left to the parser: the main window's level poll may go on.
    PendingCommand = NoExchange;
    EndSync(answered);
}

void CivPanel::EnterStandby() {
    Standby = true;
    OnStandbyChanged();
    PostToOwner(PostPanelProgress);
}

void CivPanel::LeaveStandby() {
    Standby = false;
    OnStandbyChanged();
}

// ---------------------------------------------------------------------------------------
// Display

void CivPanel::ShowFrequency() {
    if (label_1)
        label_1->SetText(Title.empty() ? MHzText(PanelFrequency)
                                       : Title + "  " + MHzText(PanelFrequency));
}

void CivPanel::ShowWidth() {
    const CivMode* mode = FindMode(fdx_->Modulation, fdx_->Filter);
    // A mode the receiver does not have keeps the width shown before.
    if (!mode) return;
    if (width) width->SetText(mode->width);
    Scale.FillWindow = 2 * static_cast<int32_t>(FDX::ParseKHz(mode->width));
}

void CivPanel::FollowTuning() {
    PanelFrequency = std::clamp(fdx_->Frequency, LowerLimit, UpperLimit);
    ShowFrequency();
    Fine.FollowFrequency();
    Fine.Redraw();
}

// ---------------------------------------------------------------------------------------
// Posted codes

void CivPanel::OnPanelCode(uint32_t code) {
    switch (code) {
        case PostTimerTick:
            if (model_.identity && Link.RejectCount > kStandbyRejections && !Standby)
                EnterStandby();
            break;
        case PostMeasureLevel:
            if (SetFrequencyWait()) {
                fdx_->Level = ReadLevel();
                Fine.Redraw();
            }
            break;
        default:
            OnModelCode(code);
            break;
    }
}

// ---------------------------------------------------------------------------------------
// State file

bool CivPanel::WriteStateFile() {
    StateFileWriter file;
    WriteHead(file);
    WriteModelKeys(file);
    file.Scale(Scale);
    return file.Save(StateFilePath());
}

bool CivPanel::ReadStateFile() {
    return ReadStateFileKeys([](std::string_view, std::string_view) {}).has_value();
}
