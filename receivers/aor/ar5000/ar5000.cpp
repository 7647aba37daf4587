#include "receivers/panel_pictures.h"
#include "receivers/aor/ar5000/ar5000.h"

#include <algorithm>
#include <new>
#include <utility>

#include "receivers/aor/ar5000/ar5000_dialogs.h"
#include "receivers/aor/ar5000/ar5000_form.h"
#include "receivers/aor/ar5000/ar5000_modes.h"
#include "state/cp1251.h"
#include "state/message_bus.h"
#include "state/user_job.h"

namespace {

using aor::Format;

// The AR5000's calibration: tenths of dB at raw levels 0, 16, .. 256.
constexpr std::array<int32_t, 17> kCalibration = {0,   20,  40,  70,  99,  125, 153, 181, 210,
                                                  243, 276, 314, 351, 396, 441, 620, 800};

// Steps of the fine scale, one pixel column each (100 Hz units), listed in kHz.
// clang-format off
constexpr ViewStepEntry kViewSteps[] = {
    {100, "10"}, {200, "20"}, {500, "50"}, {1000, "100"}, {2000, "200"}, {5000, "500"},
    {10000, "1000"}, {20000, "2000"}, {50000, "5000"},
};
// clang-format on
constexpr FineScaleLook kFineScale{
    .overviewHeight = 12, .barDivisor = 8, .viewSteps = kViewSteps, .markScaleItems = true};

// One step of the squelch, volume and threshold sliders is 16 level units.
constexpr int kSliderUnit = 16;
constexpr int kSliderTop = 15;

// "Ошибка запуска внутреннего сканирования приемника"
constexpr int kScanStartFailed = 28;

// The texts of the status pane while the receiver scans by itself.
constexpr const char* kSearchScanText = "Поиск по диапазону";
constexpr const char* kSelectScanText = "Выборочное сканирование по банкам";
constexpr const char* kBankScanText = "Сканирование банков";

}  // namespace

AR5000::AR5000() : Fine(*this, kFineScale) {
    ui::RegisterFormResource(ar5000::kForm);
    On(ui::EventId::Create, [this](ui::EventData&) { OnCreate(); });
    On(ui::EventId::Destroy, [this](ui::EventData&) { OnDestroy(); });
    On(ui::EventId::User, [this](ui::EventData& e) { OnUserEvent(e.code); });
}

// The form goes while the panel is whole: its state file is written then.
AR5000::~AR5000() {
    scanDialog_.reset();
    extraDialog_.reset();
    Destroy();
}

bool AR5000::Create(ui::Form* parent, FDX* fdx) {
    return CreatePanel(ar5000::kForm.name, parent, fdx);
}

std::size_t AR5000::Index(int bank, int channel) {
    return static_cast<std::size_t>(std::clamp(bank, 0, kBanks - 1) * kChannels +
                                    std::clamp(channel, 0, kChannels - 1));
}

// ---------------------------------------------------------------------------------------
// Creation and destruction

void AR5000::OnCreate() {
    FDX& s = *fdx_;
    s.BuildingControls = 1;
    CreateControls();
    Fine.Attach(scale, hs, step);
    if (s.OptMaxMon) {
        // The receiver page grows with the main window; the controls grow along.
        for (const ui::ControlResource& row : ar5000::kForm.controls) {
            ui::Control* control = FindControl(row.name);
            if (!control) continue;
            ui::Rect r = control->Geometry();
            r.x = static_cast<int>(static_cast<float>(r.x) * s.LayoutScale);
            r.width = static_cast<int>(static_cast<float>(r.width) * s.LayoutScale);
            control->Move(r);
        }
    }
    SetDefaults();
    try {
        Scale.Allocate(UpperLimit);
    } catch (const std::bad_alloc&) {
        s.BuildingControls = 0;
        MarkCreateFailed();
        return;
    }
    Scale.LimitTo254 = true;
    Scale.FillWindow = 2 * Bandwidth;
    PendingCommand = NoExchange;
    ReplyComplete = false;
    s.Calibration = kCalibration;
    s.BuildLevelTable();
    if (s.OptRecvSave) ReadStateFile();
    WireControls();
    WireBankControls();
    Fine.SetViewStep(ViewStep);
    ShowAll();
    Show();
}

void AR5000::SetDefaults() {
    LowerLimit = kLowerLimit;
    UpperLimit = kUpperLimit;
    ViewStep = 10000;
    ViewPosition = 0;
    Bandwidth = 150;
    for (int bank = 0; bank < kBanks; ++bank)
        for (int channel = 0; channel < kChannels; ++channel)
            ChannelAt(bank, channel) = kChannelLayout.Empty(channel);
    SearchBanks.fill({});
    BankPositions.fill(0);
    CurrentBank = CurrentSearchBank = Vfo = 0;
    AttenuatorDepth = 10;
}

void AR5000::OnDestroy() {
    SaveStateFileAtEnd();
    Scale.Free();
    Fine.Detach();
    ForgetControls();
}

void AR5000::CreateControls() {
    using namespace ar5000;
    label_1 = CreateControl<ui::Label>(kLabel1);
    width = CreateControl<ui::Edit>(kWidth);
    cb_5 = CreateControl<ui::CommandButton>(kBandwidthButton);
    CreateControl<ui::Label>(kStepLabel);
    step = CreateControl<ui::ComboBox>(kStep);
    scale = CreateControl<ui::Canvas>(kScale);
    hs = CreateControl<ui::ScrollBar>(kScroll);
    pictbttn_3 = CreateControl<ui::PictureButton>(kPeakLeft);
    pictbttn_4 = CreateControl<ui::PictureButton>(kFixedLeft);
    pictbttn_5 = CreateControl<ui::PictureButton>(kFixedRight);
    pictbttn_2 = CreateControl<ui::PictureButton>(kPeakRight);
    clear = CreateControl<ui::PictureButton>(kClear);
    pictbttn_6 = CreateControl<ui::PictureButton>(kScanSettings);
    pictbttn_1 = CreateControl<ui::PictureButton>(kStartScan);
    CreateControl<ui::GroupBox>(kAttenuatorFrame);
    catt0 = CreateControl<ui::OptionButton>(kAtt0);
    catt10 = CreateControl<ui::OptionButton>(kAtt10);
    catt20 = CreateControl<ui::OptionButton>(kAtt20);
    cattAU = CreateControl<ui::OptionButton>(kAttAuto);
    cauto = CreateControl<ui::CheckBox>(kAuto);
    vfo = CreateControl<ui::Canvas>(kVfoCells);
    cb_4 = CreateControl<ui::CommandButton>(kExtra);
    off = CreateControl<ui::CommandButton>(kOff);
    CreateControl<ui::GroupBox>(kSquelchFrame);
    sqns = CreateControl<ui::OptionButton>(kNoise);
    sqlv = CreateControl<ui::OptionButton>(kLevel);
    sqvc = CreateControl<ui::OptionButton>(kVoice);
    sql = CreateControl<ui::Slider>(kSquelch);
    CreateControl<ui::Label>(kSoundLabel);
    snd = CreateControl<ui::Slider>(kSound);
    lv_1 = CreateControl<ui::ListView>(kList);
    CreateControl<ui::Label>(kBankLabel);
    bn = CreateControl<ui::ComboBox>(kBank);
    Nk = CreateControl<ui::Label>(kChannelNumber);
    cbank = CreateControl<ui::CheckBox>(kDirect);
    textb_1 = CreateControl<ui::Edit>(kChannelFrequency);
    smod = CreateControl<ui::ComboBox>(kChannelMode);
    sstep = CreateControl<ui::Edit>(kChannelStep);
    comment = CreateControl<ui::Edit>(kComment);
    combo_att = CreateControl<ui::ComboBox>(kChannelAttenuator);
    sel = CreateControl<ui::CheckBox>(kSelect);
    skip = CreateControl<ui::CheckBox>(kSkip);
    mem = CreateControl<ui::CheckBox>(kWholeMemory);
    cb_3 = CreateControl<ui::CommandButton>(kStore);
    cb_2 = CreateControl<ui::CommandButton>(kRead);
    cb_1 = CreateControl<ui::CommandButton>(kWrite);
    CreateControl<ui::Label>(kSearchLabel);
    sbn = CreateControl<ui::ComboBox>(kSearchBank);
    textb_Fn = CreateControl<ui::Edit>(kSearchLower);
    textb_Fk = CreateControl<ui::Edit>(kSearchUpper);
    textb_step = CreateControl<ui::Edit>(kSearchStep);
    combo_mod = CreateControl<ui::ComboBox>(kSearchMode);
    scombo_att = CreateControl<ui::ComboBox>(kSearchAttenuator);
    textb_com = CreateControl<ui::Edit>(kSearchLabelText);

    label_1->SetFont("12.MS Sans Serif", true);
    for (ui::PictureButton* button :
         {pictbttn_1, pictbttn_2, pictbttn_3, pictbttn_4, pictbttn_5, pictbttn_6, clear}) {
        const ui::ArtPicture p = PanelPicture(button->Name());
        button->SetPicture(p.width, p.height, p.pixels);
    }
    for (const ModeEntry& entry : kModeEntries) {
        smod->AddString(entry.text);
        combo_mod->AddString(entry.text);
    }
    for (const char* text : {"0", "10", "20", "AU"}) {
        combo_att->AddString(text);
        scombo_att->AddString(text);
    }
    for (int bank = 0; bank < kBanks; ++bank) bn->AddString(std::to_string(bank));
    for (int bank = 0; bank < kSearchBanks; ++bank) sbn->AddString(Format("%02d", bank));
    for (ui::ComboBox* list : {step, bn, sbn, smod, combo_mod, combo_att, scombo_att})
        list->SetListHeight(125);
    sql->SetRange(0, kSliderTop);
    snd->SetRange(0, kSliderTop);
    lv_1->SetColumns({{"Частота", 60},
                      {"Шаг", 36},
                      {"Мод", 30},
                      {"Уровень", 46},
                      {"Атт", 28},
                      {"Комментарий", 70},
                      {"№", 24},
                      {"Выбор", 36},
                      {"Пропуск", 46}});
    vfo->SetPainter([this](ui::Painter& painter) { DrawVfoCells(painter); });
}

void AR5000::ForgetControls() {
    label_1 = nullptr;
    width = textb_1 = sstep = comment = textb_com = textb_step = textb_Fn = textb_Fk = nullptr;
    scale = vfo = nullptr;
    hs = nullptr;
    step = smod = sbn = combo_mod = bn = scombo_att = combo_att = nullptr;
    lv_1 = nullptr;
    cb_1 = cb_2 = cb_3 = cb_4 = cb_5 = off = nullptr;
    cbank = sel = skip = cauto = mem = nullptr;
    clear = pictbttn_1 = pictbttn_2 = pictbttn_3 = pictbttn_4 = pictbttn_5 = pictbttn_6 = nullptr;
    snd = sql = nullptr;
    catt0 = catt10 = catt20 = cattAU = sqns = sqlv = sqvc = nullptr;
    Nk = nullptr;
}

void AR5000::WireControls() {
    using ui::EventId;
    ar5000::WhenRaised(pictbttn_2, EventId::Click,
                       [this](ui::EventData&) { Fine.JumpToPeak(true); });
    ar5000::WhenRaised(pictbttn_3, EventId::Click,
                       [this](ui::EventData&) { Fine.JumpToPeak(false); });
    ar5000::WhenRaised(pictbttn_4, EventId::Click,
                       [this](ui::EventData&) { Fine.JumpToFixed(false); });
    ar5000::WhenRaised(pictbttn_5, EventId::Click,
                       [this](ui::EventData&) { Fine.JumpToFixed(true); });
    ar5000::WhenRaised(pictbttn_6, EventId::Click,
                       [this](ui::EventData&) { PostToOwner(PostOpenScanSettings); });
    ar5000::WhenRaised(pictbttn_1, EventId::Click, [this](ui::EventData&) { StartOwnScan(); });
    ar5000::WhenRaised(clear, EventId::Click, [this](ui::EventData&) {
        if (Scanning)
            StopOwnScan();
        else
            Fine.ConfirmClear();
    });
    ar5000::WhenRaised(off, EventId::Click, [this](ui::EventData&) {
        if (Port()) Port()->WriteString("QP\r\n");
    });
    ar5000::WhenRaised(cb_4, EventId::Click,
                       [this](ui::EventData&) { PostToOwner(PostOpenExtraFunctions); });
    ar5000::WhenRaised(cb_5, EventId::Click, [this](ui::EventData&) { NextBandwidth(); });
    ar5000::WhenRaised(cauto, EventId::Click, [this](ui::EventData&) {
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
        ar5000::WhenRaised(option, EventId::Click,
                           [this, option = option, db = db](ui::EventData&) {
                               if (option->IsChecked()) ChooseAttenuator(db);
                           });
    }
    const std::pair<ui::OptionButton*, Squelch> squelches[] = {
        {sqns, Squelch::Noise}, {sqlv, Squelch::Level}, {sqvc, Squelch::Voice}};
    for (const auto& [option, kind] : squelches) {
        ar5000::WhenRaised(option, EventId::Click,
                           [this, option = option, kind = kind](ui::EventData&) {
                               if (option->IsChecked()) ChooseSquelch(kind);
                           });
    }
    ar5000::WhenRaised(sql, EventId::Change, [this](ui::EventData& e) {
        SetSquelchLevel(static_cast<uint32_t>(e.value) * kSliderUnit);
    });
    ar5000::WhenRaised(snd, EventId::Change, [this](ui::EventData& e) {
        Volume = static_cast<uint32_t>(e.value) * kSliderUnit;
        SendSetting(Format("VL%03u", Volume));
    });
    ar5000::WhenRaised(vfo, EventId::LeftButtonUp, [this](ui::EventData& e) { OnVfoClick(e.x); });
    ar5000::WhenRaised(vfo, EventId::RightButtonUp,
                       [this](ui::EventData&) { PostToOwner(PostRunMacro); });
}

// While a scan or a transfer runs the operator may still look at the scale and stop the
// receiver's own scan.
void AR5000::LockControls(bool locked) {
    PanelBusy = locked;
    for (const ui::ControlResource& row : ar5000::kForm.controls) {
        ui::Control* control = FindControl(row.name);
        if (control && control != clear && control != scale) control->SetEnabled(!locked);
    }
    if (locked) return;
    ShowChannelBoxes();
    ShowSearchBank();
}

// ---------------------------------------------------------------------------------------
// Operations of the main window

bool AR5000::SendSetting(std::string_view line) {
    return SendText(line);
}

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
    if (AutoOn) {
        AutoOn = false;
        if (cauto) cauto->SetChecked(false);
        SetAuto(false);
    }
    fdx_->Filter = mode->filter;
    Bandwidth = mode->bandwidth;
    ShowBandwidth();
    return SendSetting(Format("MD%c", mode->modeDigit)) && SendBandwidth();
}

bool AR5000::SetStep() {
    // The step asked for is the one sent: leaving AUTO does not bring back the step saved
    // when AUTO went on.
    if (AutoOn) {
        AutoOn = false;
        if (cauto) cauto->SetChecked(false);
        SetAuto(false);
    }
    return SendSetting(Format("ST%u", fdx_->Step * 100));
}

bool AR5000::SetAttenuator() {
    if (fdx_->Attenuator) fdx_->AttenuatorDb = AttenuatorDepth;
    return SendAttenuator();
}

bool AR5000::SendAttenuator() {
    return SendSetting(
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
    return SendSetting(Format("BW%c", ar5000::BandwidthDigit(Bandwidth)));
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

bool AR5000::SetAuto(bool on) {
    return SendSetting(on ? "AU1" : "AU0");
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
            SendSetting(Format("DA%03u", value));
            break;
        case Squelch::Level:
            LevelSquelch = value;
            SendSetting(Format("DB%03u", value));
            break;
        case Squelch::Noise:
            NoiseSquelch = value;
            SendSetting(Format("RQ%03u", value));
            break;
    }
}

void AR5000::ChooseSquelch(Squelch kind) {
    SquelchKind = kind;
    ShowSquelch();
}

void AR5000::StepBy(int direction) {
    const int64_t target = int64_t{fdx_->Frequency} + direction * int64_t{ViewStep};
    if (target >= LowerLimit && target <= UpperLimit && !PanelBusy &&
        PendingCommand == NoExchange) {
        Fine.TuneTo(static_cast<uint32_t>(target));
        PostToSelf(PostRefreshDisplay);
    }
    PostToOwner(PostFrequencyStepped);
}

// ---------------------------------------------------------------------------------------
// The receiver's state

// The state line that "RX" and the VFO selections answer; false when none came.
bool AR5000::ReadFrequency() {
    Reply.State = Ar5000State::Unknown;
    Reply.SelectScan = false;
    if (!Link.Exchange("RX\r\n", "RF")) return false;
    fdx_->Frequency = std::clamp(Reply.Frequency, LowerLimit, UpperLimit);
    return true;
}

bool AR5000::SelectVfo(int index) {
    if (index < 0 || index >= kVfos) return false;
    Reply.State = Ar5000State::Unknown;
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
            case Ar5000State::MemoryRead:
            case Ar5000State::MemoryScan:
                if (Reply.Bank >= 0 && Reply.Bank < kBanks && Reply.Channel >= 0) {
                    CurrentBank = Reply.Bank;
                    BankPositions[static_cast<std::size_t>(CurrentBank)] = Reply.Channel;
                }
                break;
            case Ar5000State::Vfo:
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
        if (Reply.State == Ar5000State::Vfo) SelectVfo(Vfo);
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
    if (SelectVfo(Vfo) && Reply.State == Ar5000State::Vfo && Reply.Vfo == Vfo)
        TakeReceiverSettings();
    FollowTuning();
    PostToOwner(PostReceiverState);
    PostToSelf(PostRefreshDisplay);
}

// ---------------------------------------------------------------------------------------
// The receiver's own scan

bool AR5000::StartOwnScan() {
    SendSetting("LC1");
    if (!SendSetting("DS1")) {
        fdx_->ShowError(kScanStartFailed);
        return false;
    }
    std::string line = "VS";
    std::string status;
    switch (ScanSettings.kind) {
        case Ar5000ScanSettings::Kind::Search:
            SendSetting(Format("GS%d", CurrentSearchBank));
            line = Format("SS%02d", CurrentSearchBank);
            status = kSearchScanText;
            break;
        case Ar5000ScanSettings::Kind::MemoryBanks:
            SendSetting(Format("GM%d", CurrentBank));
            line = ScanSettings.SelectScan ? "SM" : "MS";
            status = ScanSettings.SelectScan ? kSelectScanText : kBankScanText;
            break;
        case Ar5000ScanSettings::Kind::Vfo:
            break;
    }
    // "---": the search bank is empty and the receiver scans nothing.
    if (!SendSetting(line) || AnsweredEmpty) {
        fdx_->ShowError(kScanStartFailed);
        return false;
    }
    Scanning = true;
    PanelWorkStarted(status);
    PostToSelf(PostRefreshCurves);
    return true;
}

void AR5000::StopOwnScan() {
    Scanning = false;
    PanelWorkEnded();
    // Reading a channel or choosing a VFO ends the receiver's scan.
    const bool answered = ReadFrequency();
    const bool memory = answered && (Reply.State == Ar5000State::MemoryScan ||
                                     Reply.State == Ar5000State::MemoryRead || Reply.SelectScan);
    if (memory && Reply.Bank >= 0 && Reply.Bank < kBanks && Reply.Channel >= 0) {
        CurrentBank = Reply.Bank;
        BankPositions[static_cast<std::size_t>(CurrentBank)] = Reply.Channel;
        ReadChannel(CurrentBank, Reply.Channel);
        ShowBankList();
    } else {
        SelectVfo(Vfo);
    }
    PostToOwner(PostReceiverState);
    PostToSelf(PostRefreshDisplay);
}

// ---------------------------------------------------------------------------------------
// Dialogs

void AR5000::ServeDialogCode(uint32_t code) {
    switch (code) {
        case PostOpenScanSettings:
            OpenScanSettings();
            break;
        case PostRefreshPanelDialogs:
            RefreshDialogs();
            break;
        case PostOpenExtraFunctions:
            OpenExtraFunctions();
            break;
        default:
            break;
    }
}

void AR5000::OpenScanSettings() {
    // The on-signal job is found by its name among the stored jobs (1-based, 0 for none).
    ScanSettings.JobIndex = 0;
    for (std::size_t i = 0; i < fdx_->Jobs.size(); ++i)
        if (fdx_->Jobs[i] && fdx_->Jobs[i]->Identifier == ScanSettings.JobName &&
            !ScanSettings.JobName.empty())
            ScanSettings.JobIndex = static_cast<int32_t>(i + 1);
    if (!scanDialog_) scanDialog_ = std::make_unique<RAR5000>(*this);
    scanDialog_->Open(fdx_->Owner);
}

void AR5000::OpenExtraFunctions() {
    if (!extraDialog_) extraDialog_ = std::make_unique<PAR5000>(*this);
    extraDialog_->Open(fdx_->Owner);
}

void AR5000::RefreshDialogs() {
    if (scanDialog_) scanDialog_->Refresh();
    if (extraDialog_) extraDialog_->Refresh();
}

void AR5000::SendBankLinks() {
    if (ScanSettings.kind != Ar5000ScanSettings::Kind::MemoryBanks) {
        SendSetting("BS%%");
        SendSetting("BS" + ScanSettings.SearchLinks);
    } else {
        SendSetting("BM%%");
        SendSetting("BM" + ScanSettings.MemoryLinks);
    }
}

// ---------------------------------------------------------------------------------------
// Posted codes

void AR5000::OnUserEvent(uint32_t code) {
    if (!fdx_ || !HasWindow()) return;
    switch (code) {
        case PostSyncReceiver:
            Synchronise();
            break;
        case PostItemLoaded:
            LoadBankItem();
            break;
        case PostRefreshData:
        case PostRefreshLevels:
        case PostRefreshCurves:
            Fine.Redraw();
            PostToSelf(PostRefreshDisplay);
            break;
        case PostRefreshDisplay:
            ShowFrequency();
            ShowBandwidth();
            Fine.Redraw();
            break;
        case PostSaveBank:
            SaveBankItem();
            break;
        case PostMeasureLevel:
            SetFrequencyWait();
            fdx_->Level = ReadLevel();
            Fine.Redraw();
            break;
        case PostLockControls:
            LockControls(true);
            break;
        case PostUnlockControls:
            LockControls(false);
            break;
        case PostJobStep:
            ExecuteCommand();
            break;
        case PostClearData:
            ClearBanks();
            break;
        case PostLoadReceiverSetup: {
            const FDX& s = *fdx_;
            if (s.SlotIndex < 0 || static_cast<std::size_t>(s.SlotIndex) >= s.ScanSlots.size())
                break;
            const Bank& slot = s.ScanSlots[static_cast<std::size_t>(s.SlotIndex)];
            if (!slot.InUse) break;
            Ar5000SearchBank& bank = SearchBanks[static_cast<std::size_t>(CurrentSearchBank)];
            bank.Lower = std::clamp(slot.Start, LowerLimit, UpperLimit);
            bank.Upper = std::clamp(slot.End, LowerLimit, UpperLimit);
            bank.Step = slot.Step;
            bank.Mode = slot.Modulation;
            bank.Filter = 0;
            ShowSearchBank();
            break;
        }
        case PostStepUp:
            StepBy(+1);
            break;
        case PostStepDown:
            StepBy(-1);
            break;
        default:
            break;
    }
}

// ---------------------------------------------------------------------------------------
// Display

void AR5000::ShowAll() {
    FollowTuning();
    ShowBandwidth();
    ShowAttenuator();
    ShowSquelch();
    if (cauto) cauto->SetChecked(AutoOn);
    if (cbank) cbank->SetChecked(DirectWrite);
    if (mem) mem->SetChecked(WholeMemory);
    if (bn) bn->SetSelectedIndex(CurrentBank);
    if (sbn) sbn->SetSelectedIndex(CurrentSearchBank);
    ShowBankList();
    ShowSearchBank();
    if (vfo) vfo->Redraw();
}

void AR5000::ShowFrequency() {
    if (label_1) label_1->SetText(Format("%9.4f", fdx_->Frequency / 10000.0));
}

void AR5000::ShowBandwidth() {
    if (width) width->SetText(Format("%4.1f", Bandwidth / 10.0));
    Scale.FillWindow = 2 * Bandwidth;
}

// The option of the attenuator as the program state has it.
void AR5000::ShowAttenuator() {
    if (!catt0) return;
    const uint32_t option = ar5000::AttenuatorOption(fdx_->Attenuator != 0, fdx_->AttenuatorDb);
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
    ShowFrequency();
    ShowAttenuator();
    Fine.FollowFrequency();
    Fine.Redraw();
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
