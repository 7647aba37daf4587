#include "receivers/icom/civ_memory/civ_memory_panel.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <span>
#include <utility>

#include "state/format_text.h"
#include "state/message_bus.h"

namespace {

constexpr int kScanNotStarted = 28;  // "Ошибка запуска внутреннего сканирования приемника"
constexpr const char* kScanStatus = "Аппаратное сканирование";
constexpr const char* kStandbyText = "вкл";  // the receiver waits to be switched on
constexpr const char* kRunningText = "выкл";

}  // namespace

CivMemoryPanel::CivMemoryPanel(const CivModel& model, const ChannelLayout& layout,
                               std::span<const CivAttenuator> attenuators)
    : CivPanel(model, &layout), attenuators_(attenuators) {}

void CivMemoryPanel::WireControls() {
    pictbttn_1->On(ui::EventId::Click, [this](ui::EventData&) { StartReceiverScan(); });
    pictbttn_7->On(ui::EventId::Click, [this](ui::EventData&) { StopOrClear(); });
    cb_2->On(ui::EventId::Click, [this](ui::EventData&) { ReadMemory(/*byJob=*/false); });
    cb_1->On(ui::EventId::Click, [this](ui::EventData&) { WriteMemory(/*byJob=*/false); });
    cb_3->On(ui::EventId::Click, [this](ui::EventData&) { StoreCurrentSettings(); });
    for (const CivSwitch& s : Switches()) {
        s.box->On(ui::EventId::Click, [this, s](ui::EventData&) {
            *s.setting = s.box->IsChecked();
            SendSwitch(s);
        });
    }
    if (!catt0) return;
    for (const auto& [option, db] : DepthOptions()) {
        option->On(ui::EventId::Click, [this, option = option, db = db](ui::EventData&) {
            if (option->IsChecked()) ChooseAttenuator(db != 0, db);
        });
    }
}

void CivMemoryPanel::ShowControls() {
    ShowSwitches();
    SetSliders();
    ShowAttenuator();
    ShowModelControls();
    ShowMemory();
}

void CivMemoryPanel::RefreshControls() {
    ShowSwitches();
    SetSliders();
}

void CivMemoryPanel::RefreshDisplay() {
    CivPanel::RefreshDisplay();
    ShowAttenuator();
}

void CivMemoryPanel::ShowSwitches() {
    if (!cbank) return;
    for (const CivSwitch& s : Switches()) s.box->SetChecked(*s.setting);
    cbank->SetChecked(DirectWrite());
    StandbyButton()->SetText(Standby ? kStandbyText : kRunningText);
}

// ---------------------------------------------------------------------------------------
// Switches, direct write and standby

bool CivMemoryPanel::SendLevel(const char* command, uint32_t level) {
    char payload[16];
    std::snprintf(payload, sizeof payload, "%s%04u", command, ClampLevel(level));
    return Exchange(payload, civ::kLevelSet);
}

void CivMemoryPanel::WireLevelSlider(ui::Slider* slider, uint32_t& level, const char* command) {
    slider->On(ui::EventId::Change, [this, &level, command](ui::EventData& e) {
        level = static_cast<uint32_t>(e.value) * kSliderUnit;
        if (command) SendLevel(command, level);
    });
}

void CivMemoryPanel::SetSliders() {
    const CivLevels levels = Levels();
    if (!levels.squelchSlider) return;
    ShowLevel(levels.squelchSlider, levels.squelch);
    ShowLevel(levels.soundSlider, levels.sound);
}

bool CivMemoryPanel::SetSound() {
    const CivLevels levels = Levels();
    levels.sound = fdx_->Sound ? ClampLevel(levels.defaultSound) : 0;
    SetSliders();
    return SendLevel("1401", levels.sound);
}

void CivMemoryPanel::FollowSquelchKnob(int reading) {
    const CivLevels levels = Levels();
    if (static_cast<uint32_t>(reading) == levels.squelch) return;
    levels.squelch = static_cast<uint32_t>(reading);
    if (levels.squelchSlider) levels.squelchSlider->SetPosition(reading / kSliderUnit);
}

std::string CivMemoryPanel::LevelText(int32_t level) const {
    const auto raw = static_cast<uint32_t>(level);
    return fdx_->OptDb ? FormatText("%3.1f", fdx_->LevelToDb(raw) / 10.0) : FormatText("%u", raw);
}

void CivMemoryPanel::ShowLevel(ui::Slider* slider, uint32_t level) {
    slider->SetPosition(static_cast<int>(ClampLevel(level)) / kSliderUnit);
}

bool CivMemoryPanel::SendSwitch(const CivSwitch& setting) {
    return Exchange(*setting.setting ? setting.on : setting.off, civ::kFunctionSet);
}

void CivMemoryPanel::SwitchDirectWrite(bool on, bool apply) {
    DirectWrite() = on && !Standby;
    ShowSwitches();
    if (DirectWrite() && apply) ApplyCurrentChannel();
}

void CivMemoryPanel::OnStandbyChanged() {
    if (Standby) DirectWrite() = false;
    ShowSwitches();
}

void CivMemoryPanel::LockControls(bool locked) {
    ReceiverPanel::LockControls(locked);
    // The receiver's own scan is stopped from the panel.
    if (pictbttn_7 && ReceiverScanRunning) pictbttn_7->SetEnabled(true);
    if (!locked) ShowChannel();
}

// ---------------------------------------------------------------------------------------
// The attenuator

std::array<std::pair<ui::OptionButton*, uint32_t>, 4> CivMemoryPanel::DepthOptions() const {
    return {{{catt0, 0}, {catt10, Depth(0)}, {catt20, Depth(1)}, {catt30, Depth(2)}}};
}

uint32_t CivMemoryPanel::Depth(std::size_t index) const {
    const std::span<const uint32_t> depths = MemoryLayout()->depths;
    return depths.empty() ? 0 : depths[std::min(index, depths.size() - 1)];
}

uint32_t CivMemoryPanel::AttenuatorOption() const {
    if (!fdx_->Attenuator) return 0;
    for (const uint32_t db : MemoryLayout()->depths)
        if (db == fdx_->AttenuatorDb) return db;
    return 0;
}

bool CivMemoryPanel::SendAttenuator() {
    const CivAttenuator* chosen = &attenuators_.front();
    if (fdx_->Attenuator) {
        chosen = &attenuators_[std::min<std::size_t>(1, attenuators_.size() - 1)];
        for (const CivAttenuator& attenuator : attenuators_)
            if (attenuator.db != 0 && attenuator.db == fdx_->AttenuatorDb) chosen = &attenuator;
    }
    return Exchange(chosen->payload, civ::kAttenuatorSet);
}

void CivMemoryPanel::ChooseAttenuator(bool on, uint32_t db) {
    fdx_->Attenuator = on ? 1 : 0;
    if (on) fdx_->AttenuatorDb = db;
    if (SendAttenuator()) fdx_->Level = ReadLevel();
    ShowAttenuator();
    PostToOwner(PostReceiverState);
}

void CivMemoryPanel::ShowAttenuator() {
    if (!catt0) return;
    ui::OptionButton* chosen = catt0;
    for (const auto& [option, db] : DepthOptions())
        if (db == AttenuatorOption()) chosen = option;
    if (!chosen->IsChecked()) chosen->SetChecked(true);
}

// ---------------------------------------------------------------------------------------
// One channel on the wire

bool CivMemoryPanel::SendScanCommand(const char* payload) {
    return Exchange(payload, civ::kScanControl);
}

bool CivMemoryPanel::SelectChannel(uint32_t number) {
    char payload[16];
    std::snprintf(payload, sizeof payload, "08%04u", std::min<uint32_t>(number, 9999));
    return Exchange(payload, civ::kChannelSelect);
}

void CivMemoryPanel::Settle() {
    if (PendingCommand != NoExchange) WaitReply();
}

CivMemoryPanel::ChannelResult CivMemoryPanel::Outcome(bool answered) const {
    if (answered) return ChannelResult::Done;
    return Link.LastReplyCode == civ::kNg ? ChannelResult::Refused : ChannelResult::Unanswered;
}

CivMemoryPanel::ChannelResult CivMemoryPanel::ChannelExchange(const std::string& payload,
                                                              int32_t awaited) {
    Link.LastReplyCode = -1;
    return Outcome(Exchange(payload, awaited));
}

CivMemoryPanel::ChannelResult CivMemoryPanel::WriteChannelRecord(const std::string& payload) {
    const int32_t rejections = Link.RejectCount;
    const ChannelResult result = ChannelExchange(payload, civ::kMemoryContents);
    if (result == ChannelResult::Refused) Link.RejectCount = rejections;
    return result;
}

// ---------------------------------------------------------------------------------------
// Transfers

bool CivMemoryPanel::ListTransfer(const std::string& status, const std::function<bool()>& work) {
    Settle();
    return Transfer(status, [&] {
        if (lv_1) lv_1->Clear();
        const bool answered = work();
        ShowMemory();
        return answered;
    });
}

void CivMemoryPanel::Untaken::Add(uint32_t channel, int32_t bank) {
    if (count++ > 0) return;
    firstBank = bank;
    firstChannel = channel;
}

void CivMemoryPanel::TellUntaken(const char* what, const Untaken& untaken) {
    if (untaken.count == 0) return;
    char text[160];
    if (untaken.firstBank >= 0)
        std::snprintf(text, sizeof text, "%s: %u (первый: банк %d, канал %u)", what, untaken.count,
                      untaken.firstBank, untaken.firstChannel);
    else
        std::snprintf(text, sizeof text, "%s: %u (первый: канал %u)", what, untaken.count,
                      untaken.firstChannel);
    fdx_->ShowErrorText(text);
}

void CivMemoryPanel::StoreChannel(MemoryChannel& entry, uint32_t channel, int32_t bank,
                                  const std::function<ChannelResult()>& write) {
    const MemoryChannel before = entry;
    if (!StoreSettingsInto(entry) || !DirectWrite()) return;
    if (!Written(write(), channel, bank)) entry = before;
}

bool CivMemoryPanel::Written(ChannelResult written, uint32_t channel, int32_t bank) {
    if (written == ChannelResult::Done) return true;
    if (written != ChannelResult::Refused) return false;  // a silence is the link's to tell
    Untaken refused;
    refused.Add(channel, bank);
    TellUntaken(kNotWritten, refused);
    return false;
}

void CivMemoryPanel::TuneToChannel(const MemoryChannel& channel) {
    if (channel.Empty()) return;
    ChannelIntoSettings(channel, *fdx_);
    OnTunedToChannel(channel);
    ShowWidth();
    FollowTuning();
    PostToOwner(PostReceiverState);
}

// ---------------------------------------------------------------------------------------
// The receiver's own scan

bool CivMemoryPanel::StartReceiverScan() {
    if (ReceiverScanRunning) return true;
    Settle();
    if (!SendScanStart()) {
        fdx_->ShowError(kScanNotStarted);
        return false;
    }
    ReceiverScanRunning = true;
    PanelWorkStarted(kScanStatus);
    return true;
}

void CivMemoryPanel::StopReceiverScan() {
    if (!ReceiverScanRunning) return;
    ReceiverScanRunning = false;
    PanelWorkEnded();
    // What the scan found is read back under the Wait window, the panel already free.
    PostToOwner(PostShowWait);
    Settle();
    SendScanCommand("0E00");
    ReadBackAfterScan();
    PostToOwner(PostHideWait);
}

void CivMemoryPanel::Synchronise() {
    if (ReceiverScanRunning) {
        // Nothing was found that the set could be asked to give back: a set switched off and
        // on keeps no scan, and one that lost only its line stops here.
        ReceiverScanRunning = false;
        PanelWorkEnded();
        Settle();
        SendScanCommand("0E00");
    }
    CivPanel::Synchronise();
}

void CivMemoryPanel::StopOrClear() {
    if (ReceiverScanRunning)
        StopReceiverScan();
    else
        Fine.ConfirmClear();
}

// Numbered from the model's job base.
std::span<const JobCommand<CivMemoryPanel>> CivMemoryPanel::SharedJobs() {
    // clang-format off
    static constexpr JobCommand<CivMemoryPanel> kRows[] = {
        {11, &CivMemoryPanel::ReadChannelsCommand},
        {12, &CivMemoryPanel::WriteChannelsCommand},
        {13, &CivMemoryPanel::StoreCommand},
        {14, &CivMemoryPanel::AttenuatorOffCommand},
        {18, &CivMemoryPanel::AfLevelCommand},
        {19, &CivMemoryPanel::SquelchCommand},
        {20, &CivMemoryPanel::DirectWriteCommand},
        {21, &CivMemoryPanel::StopOrClearCommand},
        {23, &CivMemoryPanel::SwitchCommand<kAgcSwitch>},
        {24, &CivMemoryPanel::SwitchCommand<kPeakSwitch>},
        {25, &CivMemoryPanel::SwitchCommand<kNoiseBlankerSwitch>},
        {34, &CivMemoryPanel::ReceiverScanCommand},
    };
    // clang-format on
    return kRows;
}

void CivMemoryPanel::ReceiverScanCommand(JobStr&) {
    StartReceiverScan();
}

void CivMemoryPanel::StopOrClearCommand(JobStr&) {
    StopOrClear();
}

void CivMemoryPanel::LevelCommand(JobStr& line, uint32_t& setting, const char* command) {
    setting = ClampLevel(line.VAL);
    SetSliders();
    SendLevel(command, setting);
}

void CivMemoryPanel::SetSwitch(std::size_t index, bool on) {
    const CivSwitch setting = Switches()[index];
    *setting.setting = on;
    ShowSwitches();
    SendSwitch(setting);
}

void CivMemoryPanel::DirectWriteCommand(JobStr& line) {
    SwitchDirectWrite(line.VAL != 0, /*apply=*/true);
}
