#include "receivers/winradio/winradio.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <limits>
#include <new>
#include <span>
#include <utility>

#include "receivers/state_file.h"
#include "state/message_bus.h"

namespace {

constexpr ui::ControlResource kWinradioControls[] = {UI_CONTROL_ROWS(WINRADIO_CONTROLS)};

constexpr ui::FormResource kWinradioForm = PanelForm("ID_WINRADIO", kWinradioControls);

// The card's modes by their code, with the bandwidth the panel shows for each (kHz).
struct CardMode {
    char letter;
    const char* width;
};
constexpr CardMode kModes[] = {{'C', "2.5"},   {'A', "6.0"}, {'F', "17.0"},
                               {'W', "280.0"}, {'L', "4.0"}, {'U', "4.0"}};
constexpr int32_t kCw = 0;
constexpr int32_t kFm = 2;
constexpr int32_t kWfm = 3;
constexpr int32_t kLsb = 4;
constexpr int32_t kUsb = 5;
// The letters whose bandwidth the main window may ask for.
constexpr const char* kAnsweredLetters = "FWAC";

struct CardName {
    uint16_t model;
    const char* name;
};
constexpr CardName kCardNames[] = {
    {0x100, "WiNRADiO WR-1000"},  {0x10A, "WiNRADiO WR-1000"}, {0x132, "WiNRADiO WR-1500"},
    {0x200, "WiNRADiO WR-3000i"}, {0x20A, "WiNRADiO WR-3100"},
};

constexpr int kReceiverOffMessage = 39;
constexpr int kNoReceiverMessage = 2;

constexpr FineScaleLook kFineScale{.overviewHeight = 12,
                                   .barDivisor = 8,
                                   .viewSteps = kUnitViewSteps,
                                   .tuneFailureMessage = kReceiverOffMessage};

// The first nine points of the calibration (raw levels 0, 16, .. 128); the card's levels end
// at 252, and the points above keep what they were.
constexpr int32_t kCalibration[] = {0, 18, 39, 57, 84, 132, 246, 384, 600};

// Where the panel starts before the card says where it is (72.9 MHz).
constexpr uint32_t kStartFrequency = 729'000;
// The strongest signal the card reports, and the level it gives.
constexpr int32_t kStrongest = 120;
// One press of the BFO arrows (Hz).
constexpr int32_t kOffsetStep = 10;
// The highest frequency a Hz field of the library can carry (100 Hz units): the level scale
// keeps a stored scale up to it until the card's own limit is known.
constexpr uint32_t kLargestUpperLimit = std::numeric_limits<uint32_t>::max() / 100;

constexpr const char* kPowerOnText = "вкл";    // the card is off; the button switches it on
constexpr const char* kPowerOffText = "выкл";  // the card runs
constexpr const char* kIfShiftCaption = "IF-Shift";
constexpr const char* kIfShiftTip = "Изменение уровня IF-Shift";

}  // namespace

const JobCommand<WINRADIO> WINRADIO::kJobCommands[] = {
    {817, &WINRADIO::AttenuatorCommand}, {818, &WINRADIO::SoundCommand},
    {819, &WINRADIO::PowerCommand},      {820, &WINRADIO::VolumeCommand},
    {821, &WINRADIO::OffsetCommand},
};

WINRADIO::WINRADIO()
    : ReceiverPanel({.form = &kWinradioForm,
                     .lowerLimit = kDefaultLowerLimit,
                     .upperLimit = kDefaultUpperLimit,
                     .fineScale = kFineScale,
                     .calibration = kCalibration,
                     .stateFileStem = "WINRADIO"}) {}

// The form goes while the panel is whole: its state file is written then.
WINRADIO::~WINRADIO() {
    Destroy();
}

// ---------------------------------------------------------------------------------------
// Creation and destruction

void WINRADIO::SetDefaults() {
    Handle = kNotOpened;
    opened_ = false;
    Device = {};
    ThirdLimit = 0;
    HasSsb = HasIfShift = false;
    ModeCode = kWfm;
    TunedFrequency = 0;
    Volume = 0;
    BfoOffset = 0;
    PowerOn = false;
    noCardTold_ = false;
}

// Without the library there is no card: nothing of a card's is set up.
bool WINRADIO::Prepare() {
    if (!Library.Load(fdx_->ProgramDir + WrapiLibrary::kFileName)) return false;
    fdx_->Frequency = kStartFrequency;
    return true;
}

void WINRADIO::CreateControls() {
    CreateFormControls();
    model->SetFont("12.MS Sans Serif", true);
    step->SetListHeight(125);
    volume->SetRange(0, kVolumeTop);
}

FineScaleControls WINRADIO::FineScaleOnForm() {
    return {scale, scrollb_1, step, pictbttn_2, pictbttn_3, pictbttn_4, pictbttn_5};
}

void WINRADIO::WireControls() {
    using ui::EventId;
    clear->On(EventId::Click, [this](ui::EventData&) { Fine.ConfirmClear(); });
    WireSwitchBoxes(attenuator, Mute);
    RadioPower->On(EventId::Click, [this](ui::EventData&) { SwitchPower(); });
    volume->On(EventId::Change,
               [this](ui::EventData& e) { SetVolumeTo(static_cast<int32_t>(e.value)); });
    // The arrows move the offset itself; the panel shows it.
    BFOupdown->AddHandler(ui::EventId::DeltaPosition, [this](ui::Object&, ui::EventData& e) {
        SetOffset(BfoOffset + static_cast<int32_t>(e.value) * kOffsetStep);
        e.cancel = true;
        return true;
    });
}

void WINRADIO::ShowControls() {
    ShowWidth();
    ShowOffset();
    ShowSwitches();
}

// The card is let go with the form, for the next program; it keeps playing as it was set.
void WINRADIO::ForgetControls() {
    if (DeviceOpen()) Call().CloseRadioDevice(Handle);
    opened_ = false;
    ForgetFormControls();
}

void WINRADIO::LockControls(bool locked) {
    ReceiverPanel::LockControls(locked);
    if (!locked && BFOupdown) BFOupdown->SetEnabled(OffsetServes());
}

// ---------------------------------------------------------------------------------------
// Connect

void WINRADIO::Connect() {
    FDX& s = *fdx_;
    BeginSync();
    // An open card is not opened again: the library would hand out the next card, or none,
    // and the handle of this one would be lost. A failed open is tried again by the next
    // connect (the main window's every few seconds), told once until a card opens (by the main
    // window, which the sync's end hands message 2).
    if (!DeviceOpen()) {
        if (!OpenCard()) {
            s.Level = -1;
            EndSync(false, std::exchange(noCardTold_, true) ? kWhyToldBefore : kNoReceiverMessage);
            return;
        }
        noCardTold_ = false;
    }
    ReadDescription();

    if (!Call().GetPower(Handle)) Call().SetPower(Handle, 1);
    PowerOn = true;
    s.Sound = Call().GetMute(Handle) ? 0 : 1;
    s.Attenuator = Call().GetAtten(Handle) ? 1 : 0;

    Cancel(true);
    const uint32_t hz = Call().GetFrequency(Handle);
    // A failed read keeps the frequency the panel had.
    if (hz != std::numeric_limits<uint32_t>::max()) s.Frequency = hz / 100;
    TunedFrequency = s.Frequency;
    ReadMode();
    s.Level = ReadLevel();
    // A card that gives no level does not answer: a scan waits for it as for a silent set.
    const bool answered = s.Level != -1;

    Volume = Call().GetVolume(Handle);
    if (Volume <= 0) {
        Volume = kStartVolume;
        Call().SetVolume(Handle, Volume);
    }
    BfoOffset = 0;
    if (Call().GetScanMode(Handle)) Call().SetScanMode(Handle, 0);
    cardScanMode_ = false;

    ShowOffset();
    ShowSwitches();
    ShowWidth();
    FollowTuning();
    PostToSelf(PostRefreshDisplay);
    EndSync(answered);
}

bool WINRADIO::OpenCard() {
    Handle = Library.Loaded() ? Call().OpenRadioDevice(0) : 0;
    opened_ = Handle != 0;
    return opened_;
}

// The card's limits, features and name. A description the card does not give, or one whose
// limits span nothing, leaves what the panel had.
void WINRADIO::ReadDescription() {
    std::array<uint8_t, WrapiDeviceInfo::kSize> record{};
    const auto size = static_cast<uint32_t>(record.size());
    std::memcpy(record.data(), &size, sizeof size);
    if (!Call().GetRadioDeviceInfo(Handle, record.data())) return;
    const WrapiDeviceInfo info = WrapiDeviceInfo::FromRecord(record);
    if (info.upperLimitHz / 100 <= info.lowerLimitHz / 100) return;
    Device = info;
    LowerLimit = info.lowerLimitHz / 100;
    UpperLimit = info.upperLimitHz / 100;
    ThirdLimit = info.thirdLimitHz / 100;
    HasSsb = (info.features & WrapiDeviceInfo::kHasSsb) != 0;
    HasIfShift = (info.features & WrapiDeviceInfo::kHasIfShift) != 0;
    // The scale covers what this card tunes; the main window tunes within it too.
    Scale.Resize(UpperLimit);
    fdx_->FreqLow = LowerLimit;
    fdx_->FreqHigh = UpperLimit;
    fdx_->Frequency = std::clamp(fdx_->Frequency, LowerLimit, UpperLimit);
    for (const CardName& card : kCardNames)
        if (card.model == info.model && model) model->SetText(card.name);
    if (bfoCaption) bfoCaption->SetText(HasIfShift ? kIfShiftCaption : "BFO");
    if (BFOupdown) BFOupdown->SetToolTip(HasIfShift ? kIfShiftTip : "Установить уровень BFO");
}

// ---------------------------------------------------------------------------------------
// Operations of the main window

bool WINRADIO::SetFrequency() {
    if (!DeviceOpen()) return false;
    FollowScan();
    const uint32_t frequency = fdx_->Frequency;
    const uint64_t hz = uint64_t{frequency} * 100;
    if (hz > std::numeric_limits<uint32_t>::max()) return false;
    if (!Call().SetFrequency(Handle, static_cast<uint32_t>(hz))) {
        CountRequest(false);
        return false;
    }
    // Taken before the wait: a level read while the card settles belongs to the new frequency.
    TunedFrequency = frequency;
    if (fdx_->Running) WaitSettle();
    FollowTuning();
    return true;
}

// The card needs 1 / rate seconds to settle after a tune; a card that names no rate is taken
// to need no wait.
void WINRADIO::WaitSettle() {
    const uint32_t rate =
        ModeCode == kWfm || ModeCode == kFm ? Device.fmSettleRate : Device.otherSettleRate;
    if (rate == 0) return;
    const int ms = static_cast<int>(1000 / rate);
    if (ms == 0) return;
    ReplyEvent.Reset();
    ReplyEvent.Wait(ms);
}

bool WINRADIO::SetMode() {
    int32_t code = ModeCode;
    for (int32_t c = 0; c < static_cast<int32_t>(std::size(kModes)); ++c)
        if (kModes[c].letter == fdx_->Modulation) code = c;
    // A card without SSB takes it through CW and its BFO.
    if (!HasSsb && (code == kLsb || code == kUsb)) code = kCw;
    if (!DeviceOpen() || !Call().SetMode(Handle, code)) return false;
    ModeCode = code;
    ShowWidth();
    if (BFOupdown && !PanelBusy) BFOupdown->SetEnabled(OffsetServes());
    return true;
}

void WINRADIO::ReadMode() {
    if (!DeviceOpen()) return;
    const int32_t code = Call().GetMode(Handle) & 0xFF;
    if (code < static_cast<int32_t>(std::size(kModes))) {
        ModeCode = code;
        fdx_->Modulation = kModes[code].letter;
    }
    ShowWidth();
    if (BFOupdown && !PanelBusy) BFOupdown->SetEnabled(OffsetServes());
}

bool WINRADIO::SetAttenuator() {
    if (attenuator) attenuator->SetChecked(fdx_->Attenuator != 0);
    if (!DeviceOpen()) return false;
    const bool taken = Call().SetAtten(Handle, fdx_->Attenuator ? 1 : 0) != 0;
    fdx_->Level = ReadLevel();
    Fine.Redraw();
    return taken;
}

bool WINRADIO::SetSound() {
    if (Mute) Mute->SetChecked(fdx_->Sound != 0);
    return DeviceOpen() && Call().SetMute(Handle, fdx_->Sound ? 0 : 1) != 0;
}

// A strength the card does not give counts as a request it left unanswered: the main window
// tells a card that fails them in a row during a scan as a silent serial set.
int32_t WINRADIO::ReadLevel() {
    if (!DeviceOpen()) return -1;
    const int32_t strength = Call().GetSignalStrength(Handle) & 0xFFFF;
    CountRequest(strength <= kStrongest);
    if (strength > kStrongest) return -1;
    const int32_t level = strength * 21 / 10;
    if (TunedFrequency >= LowerLimit && TunedFrequency <= UpperLimit)
        Scale.Measure(TunedFrequency, level);
    return level;
}

void WINRADIO::Cancel(bool keepPort) {
    (void)keepPort;
    ReceiverPanel::Cancel(true);
}

void WINRADIO::ReleaseForStop() {
    Cancel(false);
    ReadLevel();
    FollowScan();
}

// The card's own scan mode is on while a scan runs: the scan's tunes switch it on, its stop
// off. (The panel's lock does not say: a job locks it without a scan, and unlocks it at its
// end while the scan it started runs on.)
void WINRADIO::FollowScan() {
    const bool scanning = fdx_->Running != 0;
    if (!DeviceOpen() || scanning == cardScanMode_) return;
    Call().SetScanMode(Handle, scanning ? 1 : 0);
    cardScanMode_ = scanning;
}

int32_t WINRADIO::ModeParameter(char letter) const {
    if (letter == '\0' || std::strchr(kAnsweredLetters, letter) == nullptr) return kNoModeValue;
    for (const CardMode& mode : kModes)
        if (mode.letter == letter) return static_cast<int32_t>(FDX::ParseKHz(mode.width));
    return kNoModeValue;
}

void WINRADIO::ExecuteCommand() {
    ServeJobLine(*this, std::span<const JobCommand<WINRADIO>>(kJobCommands),
                 kScaleFirstFineScaleJobs.From(800), kNoAccessSpeltWithSoftSign);
}

// ---------------------------------------------------------------------------------------
// Settings of the card

bool WINRADIO::SwitchPower() {
    if (!PowerOn) {
        // The operator asks for the card himself: a card still not there is told again. It is
        // opened here, so that a job line switching it on fails when there is none; the
        // connect finds it open.
        noCardTold_ = false;
        const bool there = DeviceOpen() || OpenCard();
        PostToSelf(PostSyncReceiver);
        return there;
    }
    bool taken = false;
    if (DeviceOpen()) {
        taken = Call().SetPower(Handle, 0) != 0;
        taken = Call().CloseRadioDevice(Handle) != 0 && taken;
    }
    opened_ = false;
    Handle = kNotOpened;
    PowerOn = false;
    if (RadioPower) RadioPower->SetText(kPowerOnText);
    return taken;
}

bool WINRADIO::SetVolumeTo(int32_t value) {
    Volume = std::clamp(value, 0, kVolumeTop);
    if (volume) volume->SetPosition(Volume);
    return DeviceOpen() && Call().SetVolume(Handle, Volume) != 0;
}

bool WINRADIO::OffsetServes() const {
    return ModeCode == kCw || (HasIfShift && (ModeCode == kLsb || ModeCode == kUsb));
}

bool WINRADIO::SetOffset(int32_t hz) {
    if (!OffsetServes()) return true;  // the mode takes no offset: nothing to set
    const auto limit = static_cast<int32_t>(
        std::min<uint32_t>(HasIfShift ? Device.ifShiftLimitHz : Device.bfoLimitHz,
                           std::numeric_limits<int32_t>::max()));
    BfoOffset = std::clamp(hz, -limit, limit);
    ShowOffset();
    if (!DeviceOpen()) return false;
    return (HasIfShift ? Call().SetIFShift(Handle, BfoOffset)
                       : Call().SetBFOOffset(Handle, BfoOffset)) != 0;
}

// ---------------------------------------------------------------------------------------
// Display

void WINRADIO::ShowWidth() {
    const CardMode& mode = kModes[std::clamp<int32_t>(ModeCode, 0, kUsb)];
    if (width) width->SetText(mode.width);
    Scale.FillWindow = 2 * static_cast<int32_t>(FDX::ParseKHz(mode.width));
}

void WINRADIO::ShowOffset() {
    if (!bfo) return;
    char text[16];
    std::snprintf(text, sizeof text, "%+d", BfoOffset);
    bfo->SetText(text);
}

void WINRADIO::ShowSwitches() {
    if (!attenuator) return;
    attenuator->SetChecked(fdx_->Attenuator != 0);
    Mute->SetChecked(fdx_->Sound != 0);
    RadioPower->SetText(PowerOn ? kPowerOffText : kPowerOnText);
    volume->SetPosition(std::clamp(Volume, 0, kVolumeTop));
}

// ---------------------------------------------------------------------------------------
// Posted codes

void WINRADIO::OnPanelCode(uint32_t code) {
    switch (code) {
        case PostMeasureLevel:
            if (!SetFrequency()) fdx_->ShowError(kReceiverOffMessage);
            fdx_->Level = ReadLevel();
            Fine.Redraw();
            break;
        case PostClearData:
            Fine.Clear();
            break;
        default:
            break;
    }
}
// ---------------------------------------------------------------------------------------
// Job commands

// A setting the card does not take (or a card not there) fails its line as a serial set's
// silence does, so that a COND line after it does not run as after a setting taken.
void WINRADIO::AttenuatorCommand(JobStr& line) {
    fdx_->Attenuator = line.VAL != 0 ? 1 : 0;
    const bool taken = SetAttenuator();
    PostToOwner(PostReceiverState);
    if (!taken) AnswerReceiverSilent(line);
}

void WINRADIO::SoundCommand(JobStr& line) {
    fdx_->Sound = line.VAL != 0 ? 1 : 0;
    if (!SetSound()) AnswerReceiverSilent(line);
}

void WINRADIO::PowerCommand(JobStr& line) {
    if (!SwitchPower()) AnswerReceiverSilent(line);
}

void WINRADIO::VolumeCommand(JobStr& line) {
    if (!SetVolumeTo(static_cast<int32_t>(std::min<uint32_t>(line.VAL, kVolumeTop))))
        AnswerReceiverSilent(line);
}

// The job line's value is a signed offset (Hz).
void WINRADIO::OffsetCommand(JobStr& line) {
    if (!SetOffset(static_cast<int32_t>(line.VAL))) AnswerReceiverSilent(line);
}

// ---------------------------------------------------------------------------------------
// State file

bool WINRADIO::WriteStateFile() {
    StateFileWriter file;
    WriteHead(file);
    file.Scale(Scale);
    return file.Save(StateFilePath());
}

bool WINRADIO::ReadStateFile() {
    // Until the card's limits are known the scale takes every cell the file has: a card
    // reaching beyond the default limit keeps its scale from one run to the next.
    const uint32_t ownUpperLimit = UpperLimit;
    Scale.Resize(kLargestUpperLimit);
    const std::optional<StateFileHead> head =
        ReadStateFileKeys([](std::string_view, std::string_view) {});
    // The cells the file counts, or those its runs filled where they are more.
    const uint64_t fileCells = head ? std::max(head->ScaleCells, head->ScaleCellsRead) : 0;
    const uint64_t fileUpperLimit = fileCells > 0 ? (fileCells - 1) * LevelScale::kCellWidth : 0;
    Scale.Resize(static_cast<uint32_t>(
        std::clamp<uint64_t>(fileUpperLimit, ownUpperLimit, kLargestUpperLimit)));
    if (!head) return false;
    // Held to the card's limits once the connect has read them: held to the default ones
    // now, a card tuning beyond them would lose its frequency.
    fdx_->Frequency = std::min(head->Frequency, kLargestUpperLimit);
    return true;
}

// What the job catalog lists under the panel's heading, in its order.
namespace {

using namespace job_catalog;

// clang-format off
constexpr Object kJobCaptions[] = {
    {816, "Поиск Фикс.Частоты слева от маркера"},
    {815, "Поиск Максимума слева от маркера"},
    {811, "Кнопка Очистить"},
    {813, "Поиск Максимума справа от маркера"},
    {814, "Поиск Фикс.Частоты справа от маркера"},
    {819, "Кнопка включения/выключения приемника"},
    {818, "Включение/выключение звука", R},
    {820, "Уровень звука", R},
    {817, "Кнопка Атт", R},
    {821, "Значение осциллятора SSB", R},
    {812, "Поле Шаг-выбор", V | S | R, 0, kStandardSteps},
};
// clang-format on

}  // namespace

const job_catalog::Heading WINRADIO::kJobCatalog{"Панель ПРИЕМНИК WINRADIO", kJobCaptions};
