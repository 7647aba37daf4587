#include "receivers/aor/ar5000/ar5000.h"

#include <algorithm>
#include <utility>

#include "receivers/aor/ar5000/ar5000_dialogs.h"
#include "receivers/aor/ar5000/ar5000_modes.h"
#include "state/message_bus.h"

namespace {

using aor::Format;

// The AR5000's calibration: tenths of dB at raw levels 0, 16, .. 256.
constexpr std::array<int32_t, 17> kCalibration = {0,   20,  40,  70,  99,  125, 153, 181, 210,
                                                  243, 276, 314, 351, 396, 441, 620, 800};

constexpr FineScaleLook kFineScale{.overviewHeight = 12,
                                   .barDivisor = 8,
                                   .viewSteps = kKilohertzViewSteps,
                                   .markScaleItems = true};

// One step of the squelch, volume and threshold sliders is 16 level units.
constexpr int kSliderUnit = 16;
constexpr int kSliderTop = 15;

constexpr uint32_t kAttenuatorDepths[] = {10, 20, 255};

// clang-format off
constexpr AorListColumn kColumns[] = {
    {"Частота", 60, AorColumn::Frequency}, {"Шаг", 36, AorColumn::Step},
    {"Мод", 30, AorColumn::Mode}, {"Уровень", 46, AorColumn::Level},
    {"Атт", 28, AorColumn::Attenuator}, {"Комментарий", 70, AorColumn::Label},
    {"№", 24, AorColumn::Number}, {"Выбор", 36, AorColumn::Select},
    {"Пропуск", 46, AorColumn::Skip},
};
// clang-format on

const AorModel kModel{.form = &ar5000::kForm,
                      .lowerLimit = AR5000::kLowerLimit,
                      .upperLimit = AR5000::kUpperLimit,
                      .banks = AR5000::kBanks,
                      .searchBanks = AR5000::kSearchBanks,
                      .list = {.layout = &AR5000::kChannelLayout,
                               .modes = ar5000::kModeEntries,
                               .columns = kColumns},
                      .calibration = kCalibration,
                      .stateFileStem = "AR5000",
                      .fineScale = kFineScale};

}  // namespace

const ChannelLayout AR5000::kChannelLayout{.holds = {},
                                           .labelWidth = kLabelWidth,
                                           .depths = kAttenuatorDepths,
                                           .emptyModulation = 'F',
                                           .bankSize = kChannels,
                                           .store = ChannelStore::KeepLabelAndFlags};

AR5000::AR5000() : AorPanel(kModel, Reply) {}

// The form goes while the panel is whole: its state file is written then.
AR5000::~AR5000() {
    scanDialog_.reset();
    extraDialog_.reset();
    Destroy();
}

// ---------------------------------------------------------------------------------------
// Creation

void AR5000::CreateModelControls() {
    CreateFormControls();
    for (const char* text : {"0", "10", "20", "AU"}) {
        combo_att->AddString(text);
        scombo_att->AddString(text);
    }
    for (int bank = 0; bank < kSearchBanks; ++bank) sbn->AddString(Format("%02d", bank));
    for (ui::ComboBox* list : {combo_att, scombo_att}) list->SetListHeight(125);
    sql->SetRange(0, kSliderTop);
    snd->SetRange(0, kSliderTop);
    vfo->SetPainter([this](ui::Painter& painter) { DrawVfoCells(painter); });
}

void AR5000::SetModelDefaults() {
    Vfo = 0;
    AttenuatorDepth = 10;
}

void AR5000::WireModelControls() {
    using ui::EventId;
    off->On(EventId::Click, [this](ui::EventData&) {
        if (Port()) Port()->WriteString("QP\r\n");
    });
    cb_4->On(EventId::Click,
               [this](ui::EventData&) { PostToOwner(PostOpenExtraFunctions); });
    cb_5->On(EventId::Click, [this](ui::EventData&) { NextBandwidth(); });
    cauto->On(EventId::Click, [this](ui::EventData&) {
        const bool on = cauto->IsChecked();
        if (on && !AutoOn) SavedStep = fdx_->Step;
        AutoOn = on;
        SetAuto(on);
        if (on && ReadFrequency()) {
            TakeReceiverSettings();
            AutoOn = Reply.Auto;
            cauto->SetChecked(AutoOn);
        }
        PostToOwner(PostReceiverState);
        PostToSelf(PostRefreshDisplay);
    });
    const std::pair<ui::OptionButton*, uint32_t> attenuators[] = {
        {catt0, 0}, {catt10, 10}, {catt20, 20}, {cattAU, 255}};
    for (const auto& [option, db] : attenuators) {
        option->On(EventId::Click, [this, option = option, db = db](ui::EventData&) {
            if (option->IsChecked()) ChooseAttenuator(db);
        });
    }
    const std::pair<ui::OptionButton*, Squelch> squelches[] = {
        {sqns, Squelch::Noise}, {sqlv, Squelch::Level}, {sqvc, Squelch::Voice}};
    for (const auto& [option, kind] : squelches) {
        option->On(EventId::Click, [this, option = option, kind = kind](ui::EventData&) {
            if (option->IsChecked()) ChooseSquelch(kind);
        });
    }
    sql->On(EventId::Change, [this](ui::EventData& e) {
        SetSquelchLevel(static_cast<uint32_t>(e.value) * kSliderUnit);
    });
    snd->On(EventId::Change, [this](ui::EventData& e) {
        Volume = static_cast<uint32_t>(e.value) * kSliderUnit;
        SendText(Format("VL%03u", Volume));
    });
    vfo->On(EventId::LeftButtonUp, [this](ui::EventData& e) { OnVfoClick(e.x); });
    vfo->On(EventId::RightButtonUp, [this](ui::EventData&) { PostToOwner(PostRunMacro); });
}

// ---------------------------------------------------------------------------------------
// Operations of the main window

// The command goes out first: the display follows while the line carries it.
bool AR5000::SetFrequency() {
    const bool sent = Link.Send(Format("RF%u00\r\n", fdx_->Frequency), "");
    FollowTuning();
    return sent;
}

int32_t AR5000::FilterFor(char letter) const {
    if (letter == 'F') return Fnar ? 1 : Fwide ? 2 : 0;
    if (letter == 'W') return Wnar ? 1 : 0;
    if (letter == 'A') return Anar ? 1 : Awide ? 2 : 0;
    return 0;
}

bool AR5000::SetMode() {
    const auto mode = ar5000::FindMode(fdx_->Modulation, FilterFor(fdx_->Modulation));
    // RTTY has no mode digit: nothing goes out and the bandwidth stays.
    if (!mode) return false;
    LeaveAuto();
    fdx_->Filter = mode->filter;
    Bandwidth = mode->bandwidth;
    ShowBandwidth();
    return SendText(Format("MD%c", mode->modeDigit)) && SendBandwidth();
}

bool AR5000::SetStep() {
    // The step asked for is the one sent: leaving AUTO does not bring back the step saved
    // when AUTO went on.
    LeaveAuto();
    return SendText(Format("ST%u", fdx_->Step * 100));
}

bool AR5000::SetAttenuator() {
    if (fdx_->Attenuator) fdx_->AttenuatorDb = AttenuatorDepth;
    return SendAttenuator();
}

bool AR5000::SendAttenuator() {
    return SendText(
        Format("AT%c", ar5000::AttenuatorDigit(fdx_->Attenuator != 0, fdx_->AttenuatorDb)));
}

int32_t AR5000::ReadLevel() {
    if (!Link.Exchange("LM\r\n", "LM")) return -1;
    Scale.Measure(fdx_->Frequency, Reply.Level);
    return Reply.Level;
}

int32_t AR5000::ModeParameter(char letter) const {
    const auto mode = ar5000::FindMode(letter, FilterFor(letter));
    return mode ? 2 * mode->bandwidth : kNoModeValue;
}

bool AR5000::SendBandwidth() {
    ShowBandwidth();
    return SendText(Format("BW%c", ar5000::BandwidthDigit(Bandwidth)));
}

// cb_5: 30, 60, 150, 300, 1100, 2200 and round again; a bandwidth between 1100 and 2200
// stays.
void AR5000::NextBandwidth() {
    if (Bandwidth <= 30)
        Bandwidth = 60;
    else if (Bandwidth <= 60)
        Bandwidth = 150;
    else if (Bandwidth <= 150)
        Bandwidth = 300;
    else if (Bandwidth <= 300)
        Bandwidth = 1100;
    else if (Bandwidth <= 1100)
        Bandwidth = 2200;
    else if (Bandwidth >= 2200)
        Bandwidth = 30;
    SendBandwidth();
}

bool AR5000::ChooseAttenuator(uint32_t db) {
    fdx_->Attenuator = db != 0 ? 1 : 0;
    fdx_->AttenuatorDb = db;
    const bool taken = SendAttenuator();
    fdx_->Level = ReadLevel();
    ShowAttenuator();
    PostToOwner(PostReceiverState);
    return taken;
}

void AR5000::SetSquelchLevel(uint32_t value) {
    value = std::min<uint32_t>(value, 255);
    switch (SquelchKind) {
        case Squelch::Voice:
            VoiceSquelch = value;
            SendText(Format("DA%03u", value));
            break;
        case Squelch::Level:
            LevelSquelch = value;
            SendText(Format("DB%03u", value));
            break;
        case Squelch::Noise:
            NoiseSquelch = value;
            SendText(Format("RQ%03u", value));
            break;
    }
}

void AR5000::ChooseSquelch(Squelch kind) {
    SquelchKind = kind;
    ShowSquelch();
}

// ---------------------------------------------------------------------------------------
// The receiver's state

// The state line that "RX" and the VFO selections answer; false when none came.
bool AR5000::ReadFrequency() {
    Reply.State = AorState::Unknown;
    Reply.SelectScan = false;
    if (!Link.Exchange("RX\r\n", "RF")) return false;
    fdx_->Frequency = std::clamp(Reply.Frequency, LowerLimit, UpperLimit);
    return true;
}

bool AR5000::SelectVfo(int index) {
    if (index < 0 || index >= kVfos) return false;
    Reply.State = AorState::Unknown;
    if (!Link.Exchange(Format("V%c\r\n", 'A' + index), "RF")) return false;
    VfoFrequencies[static_cast<std::size_t>(index)] = Reply.Frequency;
    fdx_->Frequency = std::clamp(Reply.Frequency, LowerLimit, UpperLimit);
    if (vfo) vfo->Redraw();
    return true;
}

// After a state line: the receiver's bandwidth, mode, attenuator, step and AUTO into the
// program state.
void AR5000::TakeReceiverSettings() {
    FDX& s = *fdx_;
    if (Link.Exchange("BW\r\n", "BW") && Reply.Bandwidth > 0) {
        Bandwidth = Reply.Bandwidth;
        const ar5000::ReportedMode mode = ar5000::ModeOfReply(Reply.Mode, Bandwidth);
        s.Modulation = mode.letter;
        s.Filter = mode.filter;
    }
    if (Link.Exchange("AT\r\n", "AT")) {
        s.Attenuator = Reply.Attenuator ? 1 : 0;
        s.AttenuatorDb = Reply.AttenuatorDb;
    }
    if (Reply.Step > 0) s.Step = Reply.Step;
    AutoOn = Reply.Auto;
    if (cauto) cauto->SetChecked(AutoOn);
    ShowBandwidth();
    ShowAttenuator();
}

// Start-up: where the receiver stands, what it is doing, its levels.
void AR5000::Synchronise() {
    BeginSync();
    Cancel(false);
    // A receiver that does not tell where it stands is not asked the rest.
    const bool answered = ReadFrequency();
    if (answered) {
        switch (Reply.State) {
            case AorState::MemoryRead:
            case AorState::MemoryScan:
                if (Reply.Bank >= 0 && Reply.Bank < kBanks && Reply.Channel >= 0) {
                    CurrentBank = Reply.Bank;
                    BankPositions[static_cast<std::size_t>(CurrentBank)] = Reply.Channel;
                }
                break;
            case AorState::Vfo:
                Vfo = Reply.Vfo;
                break;
            default:
                break;
        }
        if (Reply.Bandwidth > 0) {
            Bandwidth = Reply.Bandwidth;
            const ar5000::ReportedMode mode = ar5000::ModeOfReply(Reply.Mode, Bandwidth);
            fdx_->Modulation = mode.letter;
            fdx_->Filter = mode.filter;
        }
        if (Reply.Step > 0) fdx_->Step = Reply.Step;
        fdx_->Attenuator = Reply.Attenuator ? 1 : 0;
        fdx_->AttenuatorDb = Reply.AttenuatorDb;
        ReadLevelSettings();
        if (Reply.State == AorState::Vfo) SelectVfo(Vfo);
        // A receiver switched off and on again stands on its VFO or a channel, scanning
        // nothing: neither is the panel then.
        const bool scanning = Reply.State == AorState::MemoryScan ||
                              Reply.State == AorState::SearchScan ||
                              Reply.State == AorState::VfoScan;
        if (!scanning) OwnScanLeftBySync();
    }
    ShowAll();
    PostToSelf(PostRefreshDisplay);
    EndSync(answered);
}

// The search bank and the levels of sound and squelch the receiver stands at.
void AR5000::ReadLevelSettings() {
    if (Link.Exchange("GS\r\n", "GS") && Reply.SearchBank >= 0)
        CurrentSearchBank = Reply.SearchBank;
    if (Link.Exchange("VL\r\n", "VL")) Volume = static_cast<uint32_t>(Reply.ValueA);
    if (Link.Exchange("RQ\r\n", "RQ")) NoiseSquelch = static_cast<uint32_t>(Reply.ValueA);
    if (Link.Exchange("DB\r\n", "DB")) {
        LevelSquelch = static_cast<uint32_t>(Reply.ValueA);
        if (LevelSquelch != 0) SquelchKind = Squelch::Level;
    }
    if (Link.Exchange("DA\r\n", "DA")) {
        VoiceSquelch = static_cast<uint32_t>(Reply.ValueB);
        if (VoiceSquelch != 0) SquelchKind = Squelch::Voice;
    }
}

void AR5000::OnVfoClick(int x) {
    if (!vfo || PanelBusy) return;
    const int cellWidth = std::max(vfo->Geometry().width / kVfos, 1);
    const int cell = x / cellWidth;
    if (x < 0 || cell >= kVfos) return;
    SelectVfo(Vfo);
    Vfo = cell;
    if (SelectVfo(Vfo) && Reply.State == AorState::Vfo && Reply.Vfo == Vfo) TakeReceiverSettings();
    FollowTuning();
    PostToOwner(PostReceiverState);
    PostToSelf(PostRefreshDisplay);
}

// ---------------------------------------------------------------------------------------
// The receiver's own scan

bool AR5000::PrepareOwnScan() {
    SendText("LC1");
    return SendText("DS1");
}

std::string AR5000::OwnScanLine(std::string& status) {
    switch (ScanSettings.kind) {
        case AorScanSettings::Kind::Search:
            SendText(Format("GS%d", CurrentSearchBank));
            status = kSearchScanText;
            return Format("SS%02d", CurrentSearchBank);
        case AorScanSettings::Kind::MemoryBanks:
            SendText(Format("GM%d", CurrentBank));
            status = ScanSettings.SelectScan ? kSelectScanText : kBankScanText;
            return ScanSettings.SelectScan ? "SM" : "MS";
        case AorScanSettings::Kind::Vfo:
            break;
    }
    return "VS";
}

// Reading a channel or choosing a VFO ends the receiver's scan.
void AR5000::AfterOwnScanStop() {
    const bool answered = ReadFrequency();
    const bool memory = answered && (Reply.State == AorState::MemoryScan ||
                                     Reply.State == AorState::MemoryRead || Reply.SelectScan);
    if (memory && Reply.Bank >= 0 && Reply.Bank < kBanks && Reply.Channel >= 0) {
        CurrentBank = Reply.Bank;
        BankPositions[static_cast<std::size_t>(CurrentBank)] = Reply.Channel;
        ReadChannel(CurrentBank, Reply.Channel);
        ShowBankList();
    } else {
        SelectVfo(Vfo);
    }
}

// ---------------------------------------------------------------------------------------
// Dialogs

void AR5000::ServeDialogCode(uint32_t code) {
    switch (code) {
        case PostOpenScanSettings:
            OpenScanDialog(scanDialog_, *this, ScanSettings);
            break;
        case PostRefreshPanelDialogs:
            if (scanDialog_) scanDialog_->Refresh();
            if (extraDialog_) extraDialog_->Refresh();
            break;
        case PostOpenExtraFunctions:
            OpenDialog(extraDialog_, *this);
            break;
        default:
            break;
    }
}

// ---------------------------------------------------------------------------------------
// Display

void AR5000::ShowAll() {
    AorPanel::ShowAll();
    ShowAttenuator();
    ShowSquelch();
    if (cauto) cauto->SetChecked(AutoOn);
    if (vfo) vfo->Redraw();
}

// The option of the attenuator as the program state has it.
void AR5000::ShowAttenuator() {
    if (!catt0) return;
    const uint32_t option = aor::AttenuatorOption(fdx_->Attenuator != 0, fdx_->AttenuatorDb);
    ui::OptionButton* chosen = option == 0    ? catt0
                               : option == 10 ? catt10
                               : option == 20 ? catt20
                                              : cattAU;
    if (!chosen->IsChecked()) chosen->SetChecked(true);
}

void AR5000::ShowSquelch() {
    if (!sql) return;
    const uint32_t value = SquelchKind == Squelch::Voice   ? VoiceSquelch
                           : SquelchKind == Squelch::Level ? LevelSquelch
                                                           : NoiseSquelch;
    ui::OptionButton* chosen = SquelchKind == Squelch::Voice   ? sqvc
                               : SquelchKind == Squelch::Level ? sqlv
                                                               : sqns;
    if (!chosen->IsChecked()) chosen->SetChecked(true);
    sql->SetPosition(static_cast<int>(std::min<uint32_t>(value, 255)) / kSliderUnit);
    snd->SetPosition(static_cast<int>(std::min<uint32_t>(Volume, 255)) / kSliderUnit);
}

void AR5000::FollowTuning() {
    ShowAttenuator();
    AorPanel::FollowTuning();
}

void AR5000::DrawVfoCells(ui::Painter& p) {
    constexpr ui::Color kFace = 0xc0c0c0;
    constexpr ui::Color kChosen = 0xffffff;
    constexpr ui::Color kText = 0x000000;
    const int cellWidth = std::max(p.Width() / kVfos, 1);
    const int half = p.Height() / 2;
    for (int cell = 0; cell < kVfos; ++cell) {
        const int x = cell * cellWidth;
        p.FillRect({x, 0, cellWidth - 1, p.Height()}, cell == Vfo ? kChosen : kFace);
        p.Text(x + 2, 0, Format("vfo-%c", 'a' + cell), kText);
        const uint32_t frequency = VfoFrequencies[static_cast<std::size_t>(cell)];
        if (frequency != 0) p.Text(x + 2, half, Format("%9.4f", frequency / 10000.0), kText);
    }
}
