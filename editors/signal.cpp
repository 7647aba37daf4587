// The phonogram window: building it, its list of fragments, playback, the posted codes and the
// job lines. Recording, storing and deleting are in signal_sound.cpp.

#include "editors/signal.h"

#include <algorithm>
#include <filesystem>

#include "state/format_text.h"
#include "state/message_bus.h"
#include "ui/form.h"
#include "ui/timer.h"
#include "ui/wav_file.h"

namespace {

namespace st = ui::style;

constexpr ui::ControlResource kSignalControls[] = {UI_CONTROL_ROWS(SIGNAL_CONTROLS)};

// The window fills the main window's signal page.
constexpr ui::FormResource kSignalForm{
    "ID_signal", 283, 209, "8.MS Sans Serif", st::kChild, nullptr, kSignalControls};

constexpr const char* kRateNames[] = {"8    Кб/сек", "11  Кб/сек", "22  Кб/сек"};

struct Column {
    const char* title;
    int width;
};
constexpr Column kColumns[] = {{"Фрагмент", 80}, {"Частота", 64},      {"Дата", 66},
                               {"Время", 56},    {"Длительность", 70}, {"Файл", 90}};

// The job objects of panel 6.
enum SignalObject : uint32_t {
    kPlayButton = 11,
    kStopButton = 12,
    kRecordButton = 13,
    kRate8 = 14,
    kRate22 = 16,
    kWholePhonogram = 17,
    kFragmentNumber = 18,
};

std::string TimeText(int64_t ms) {
    const int64_t s = ms > 0 ? ms / 1000 : 0;
    return FormatText("%02u:%02u:%02u", unsigned(s / 3600), unsigned(s / 60 % 60),
                      unsigned(s % 60));
}

std::string Duration(const Fragment& f) {
    return FormatText("%02u:%02u:%02u", unsigned(f.Hour), unsigned(f.Minute), unsigned(f.Second));
}

// What the "Файл" column shows: the name in FONO.
std::string FileName(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

signal::signal() : PageWindow("ID_signal") {
    ui::RegisterFormResource(kSignalForm);
    On(ui::EventId::Create, [this](ui::EventData&) { OnCreate(); });
    On(ui::EventId::User, [this](ui::EventData& e) { OnUserEvent(e.code); });
    On(ui::EventId::Destroy, [this](ui::EventData&) { OnDestroy(); });
    On(ui::EventId::RightButtonUp, [this](ui::EventData&) { Post(PostRunMacro); });
}

signal::~signal() {
    Destroy();
}

// ---- building

void signal::OnCreate() {
    CreateFormControls();
    GrowWithMainWindow();
    std::vector<std::pair<std::string, int>> columns;
    for (const Column& c : kColumns) columns.emplace_back(c.title, c.width);
    lv_1->SetColumns(columns);
    for (const char* name : kRateNames) lb_1->AddString(name);
    if (fdx_->RecordRate >= std::size(kRates)) fdx_->RecordRate = 0;
    lb_1->SetSelectedIndex(int(fdx_->RecordRate));
    position->SetRange(0, 0);
    ShowPlace(0);
    WireControls();
    SetName("signal");
    // Recordings the program's end cut short: their sound counts as it stands in the file.
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(Folder(), error)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with("temp") && name.ends_with(".wav"))
            ui::RepairWavSizes(entry.path().string());
    }
    Show();
}

// A recording running at the end is finished in its file, which keeps its sound for the next
// start. The codes the player's stop may let through find the window gone: nothing answers
// them, and no new player is made for them.
void signal::OnDestroy() {
    closing_ = true;
    playing_ = false;
    const bool recording = fdx_ != nullptr && fdx_->Recording;
    if (fdx_ != nullptr) fdx_->Recording = 0;
    const std::unique_ptr<ui::SoundPlayer> player = std::move(mediapl_1);
    if (player && recording) player->StopRecording();
}

void signal::WireControls() {
    lv_1->On(ui::EventId::Select, [this](ui::EventData& e) { SelectFragment(int32_t(e.value)); });
    // The lists take their own mouse: their right button runs the macro as the form's does.
    for (ui::Window* list : {static_cast<ui::Window*>(lv_1), static_cast<ui::Window*>(lb_1)})
        list->On(ui::EventId::RightButtonUp, [this](ui::EventData&) { Post(PostRunMacro); });
    lv_1->On(ui::EventId::KeyDown, [this](ui::EventData& e) {
        if (e.value == ui::kDeleteKey) DeleteFragment();
    });
    lv_1->AddHandler(ui::EventId::EndLabelEdit, [this](ui::Object&, ui::EventData& e) {
        e.cancel = !RenameFragment(int32_t(e.value), e.text);
        return true;
    });
    play->On(ui::EventId::Click, [this](ui::EventData&) { Play(); });
    stop->On(ui::EventId::Click, [this](ui::EventData&) { Stop(); });
    lb_1->On(ui::EventId::Select, [this](ui::EventData& e) { ChooseRate(uint32_t(e.value)); });
    // Moving the slider during playback plays on from where it was moved to.
    position->On(ui::EventId::Change, [this](ui::EventData& e) {
        if (playing_) PlayFrom(int(e.value));
    });
}

std::string signal::Folder() const {
    return fdx_->ProgramDir + "FONO/";
}

ui::SoundPlayer& signal::Player() {
    if (!mediapl_1) mediapl_1 = ui::NewSoundPlayer();
    return *mediapl_1;
}

std::string signal::FragmentSound(const Fragment& fragment) const {
    if (fragment.File.empty()) return {};
    std::error_code error;
    if (std::filesystem::exists(fragment.File, error)) return fragment.File;
    return Folder() + FileName(fragment.File);
}

// ---- codes and job lines

void signal::OnUserEvent(uint32_t code) {
    if (fdx_ == nullptr || fdx_->Phonogram == nullptr || !HasWindow() || closing_) return;
    switch (code) {
        case PostItemLoaded:
            ShowPhonogram();
            break;
        case PostTimerTick:
            Tick();
            break;
        case PostLockControls:
            StartRecording();
            break;
        case PostUnlockControls:
            StopRecording();
            break;
        case PostRefreshCurves:
        case PostSaveSettings:
            Store();
            break;
        case PostJobStep:
            ExecuteJobLine();
            break;
        case PostClearData:
            ClearWindow();
            break;
        default:
            break;
    }
}

void signal::ExecuteJobLine() {
    if (JobStr* line = fdx_->JobLine; line != nullptr && fdx_->Phonogram != nullptr) {
        const std::size_t count = Phonogram().Fragments.size();
        switch (line->OBJ) {
            case kPlayButton:
                Play();
                break;
            case kStopButton:
                Stop();
                break;
            case kRecordButton:
                StartRecording();
                break;
            case kRate8:
            case kRate8 + 1:
            case kRate22:
                ChooseRate(line->OBJ - kRate8);
                break;
            case kWholePhonogram:
                sfrag->SetChecked(line->VAL != 0);
                break;
            case kFragmentNumber:
                if (!soundPresent_ || count == 0) {
                    line->Message = "Нет фонограммы";
                    line->ReturnCode = 1;
                } else {
                    SelectFragment(line->VAL < count ? int32_t(line->VAL) : 0);
                }
                break;
            default:
                line->Message = kNoAccess;
                line->ReturnCode = 1;
                break;
        }
    }
    Post(PostJobStep);
}

void signal::ChooseRate(uint32_t choice) {
    if (!soundPresent_ && choice < std::size(kRates)) {
        fdx_->RecordRate = choice;
        Phonogram().RecordRate = choice;
    }
    lb_1->SetSelectedIndex(int(fdx_->RecordRate));
}

// ---- the list

void signal::FillList() {
    lv_1->Clear();
    for (const Fragment& f : Phonogram().Fragments)
        lv_1->AddRow({f.Identifier, FormatText("%9.4f", f.Frequency / 10000.0), f.Date, f.Time,
                      Duration(f), FileName(f.File)});
}

// The slider moves by whole seconds of the fragment: one shorter than a second has none.
void signal::ShowFragment(int32_t index) {
    const std::vector<Fragment>& fragments = Phonogram().Fragments;
    if (index < 0 || std::size_t(index) >= fragments.size()) return;
    selected_ = index;
    lv_1->SelectRow(index);
    const Fragment& f = fragments[std::size_t(index)];
    sliderRange_ = int32_t(f.Length / 1000);
    position->SetRange(0, sliderRange_);
    position->SetPosition(0);
    all_time->SetText(Duration(f));
    ShowPlace(0);
}

void signal::SelectFragment(int32_t index) {
    EndPlayback();
    ShowFragment(index);
}

void signal::ShowPlace(int64_t placeMs) {
    loc_time->SetText(TimeText(placeMs));
}

bool signal::RenameFragment(int32_t row, const std::string& name) {
    std::vector<Fragment>& fragments = Phonogram().Fragments;
    if (name.empty() || row < 0 || std::size_t(row) >= fragments.size()) return false;
    fragments[std::size_t(row)].Identifier = name;
    fdx_->PhonogramRecorded = 1;
    return true;
}

// ---- playback

void signal::Play() {
    PlayFrom(position->Position());
}

void signal::PlayFrom(int sliderPosition) {
    if (fdx_->Recording) StopRecording();
    EndPlayback();
    const std::vector<Fragment>& fragments = Phonogram().Fragments;
    if (selected_ < 0 || std::size_t(selected_) >= fragments.size()) {
        fdx_->ShowError(42);
        return;
    }
    const Fragment& f = fragments[std::size_t(selected_)];
    const int64_t into = sliderRange_ > 0 ? int64_t(f.Length) *
                                                std::clamp(sliderPosition, 0, sliderRange_) /
                                                sliderRange_
                                          : 0;
    PlayFragment(f.Position + into);
}

// One sound file holds the whole phonogram: played whole, it runs on to the last fragment's end.
bool signal::PlayFragment(int64_t fromMs) {
    const std::vector<Fragment>& fragments = Phonogram().Fragments;
    const Fragment& f = fragments[std::size_t(selected_)];
    if (!Player().Open(Separate() ? FragmentSound(f) : soundFile_)) {
        fdx_->ShowError(42);
        return false;
    }
    const Fragment& last = sfrag->IsChecked() && !Separate() ? fragments.back() : f;
    playEnd_ = int64_t(last.Position) + last.Length;
    playing_ = Player().Play(fromMs, playEnd_);
    return playing_;
}

void signal::EndPlayback() {
    if (playing_) Player().Stop();
    playing_ = false;
}

void signal::Stop() {
    if (fdx_->Recording)
        StopRecording();
    else
        EndPlayback();
}

void signal::Tick() {
    if (fdx_->Recording) {
        ShowPlace(ui::Clock::NowMs() - recordStart_);
        return;
    }
    if (!playing_) return;
    const std::vector<Fragment>& fragments = Phonogram().Fragments;
    const int64_t at = Player().Position();
    // The playback's end is where the next fragment begins: a fragment heard to its end stays
    // selected, so that the play button plays it again.
    if (!Separate() && at < playEnd_) {
        for (std::size_t i = 0; i < fragments.size(); ++i)
            if (at >= fragments[i].Position &&
                at < int64_t(fragments[i].Position) + fragments[i].Length &&
                int32_t(i) != selected_)
                ShowFragment(int32_t(i));
    }
    const Fragment& f = fragments[std::size_t(selected_)];
    const int64_t into = at - f.Position;
    position->SetPosition(f.Length > 0 ? int(into * sliderRange_ / f.Length) : 0);
    ShowPlace(into);
    if (Player().IsPlaying() && at < playEnd_) return;
    if (sfrag->IsChecked() && Separate() && std::size_t(selected_) + 1 < fragments.size()) {
        ShowFragment(selected_ + 1);
        PlayFragment(fragments[std::size_t(selected_)].Position);
        return;
    }
    EndPlayback();
    // Heard to its end: the play button plays the fragment again, not the nothing after its end.
    position->SetPosition(0);
    ShowPlace(0);
}
