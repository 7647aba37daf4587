// The phonogram window's sound files: recording a fragment, showing a loaded phonogram, giving
// the recorded files their lasting names, deleting fragments and starting anew.

#include <algorithm>
#include <filesystem>

#include "editors/signal.h"
#include "state/format_text.h"
#include "state/message_bus.h"
#include "state/stamp_clock.h"
#include "ui/timer.h"
#include "ui/wav_file.h"

namespace fs = std::filesystem;

namespace {

// Names tried for a file before giving up.
constexpr uint32_t kNameTries = 10000;

// The first "<folder><stem><n>.wav" from n on that names no file, n then its number: a file a
// recording cut short left is never overwritten. Empty when none is free.
std::string FreeName(const std::string& folder, const std::string& stem, uint32_t& n) {
    for (const uint32_t last = n + kNameTries; n < last; ++n) {
        const std::string path = folder + stem + std::to_string(n) + ".wav";
        std::error_code error;
        if (!fs::exists(path, error) && !error) return path;
    }
    return {};
}

std::string StampSeconds(const LocalTime& t) {
    return FormatText("%02d:%02d:%02d", t.Hour, t.Minute, t.Second);
}

}  // namespace

void signal::Temporary(const std::string& file, bool add) {
    if (add)
        temporaries_.push_back(file);
    else
        std::erase(temporaries_, file);
}

// ---- recording

// The file the new fragment is recorded onto: a new one of its own, or the working copy of a
// phonogram with one sound file (made from its stored file at its first new recording).
bool signal::PrepareRecordingFile(std::string& path, bool& made) {
    made = false;
    if (!Separate() && std::ranges::find(temporaries_, soundFile_) != temporaries_.end()) {
        path = soundFile_;
        return true;
    }
    uint32_t number = Separate() ? uint32_t(Phonogram().Fragments.size() + 1) : 0;
    path = FreeName(Folder(), "temp", number);
    if (path.empty()) return false;
    std::error_code error;
    if (!Separate() && !soundFile_.empty())
        made = fs::copy_file(soundFile_, path, error) && !error;
    else
        made = ui::WriteEmptyWav(path, kRates[std::min<std::size_t>(fdx_->RecordRate, 2)]);
    return made;
}

void signal::StartRecording() {
    Stop();
    UserFono& phonogram = Phonogram();
    if (phonogram.Fragments.size() + 1 >= kMaxPhonogramFragments) return;
    if (!soundPresent_) {
        // The very first recording makes a new phonogram; one whose sound could not be opened
        // is left as stored.
        const LocalTime now = StampClock::Now();
        phonogram.Date = StampDate(now);
        phonogram.Time = StampSeconds(now);
        phonogram.Fragments.clear();
        phonogram.RecordRate = fdx_->RecordRate;
        fdx_->PhonogramLoaded = 0;
        soundFile_.clear();
        FillList();
        selected_ = -1;
    }
    std::string path;
    bool made = false;
    const bool prepared = PrepareRecordingFile(path, made);
    if (!prepared || !Player().StartRecording(path)) {
        std::error_code ignored;
        if (made) fs::remove(path, ignored);
        fdx_->ShowError(41);
        return;
    }
    if (made) Temporary(path, true);
    if (!Separate()) soundFile_ = path;
    fdx_->FragmentFile = path;
    const LocalTime now = StampClock::Now();
    recording_ = Fragment{};
    recording_.Identifier = std::to_string(phonogram.Fragments.size() + 1);
    recording_.Frequency = fdx_->Frequency;
    recording_.Date = StampDate(now);
    recording_.Time = StampSeconds(now);
    recording_.Position = uint32_t(std::max<int64_t>(Player().Position(), 0));
    recording_.File = path;
    recordStart_ = ui::Clock::NowMs();
    soundPresent_ = true;
    fdx_->Recording = 1;
    SetRecordingControls(true);
    ShowPlace(0);
}

void signal::StopRecording() {
    if (fdx_->Recording) FinishRecording(true);
}

// `keep`: the recording becomes the last fragment; otherwise it goes with the phonogram it was
// made for.
void signal::FinishRecording(bool keep) {
    // Cleared first: a code that the player's stop lets through finds no recording to stop.
    fdx_->Recording = 0;
    const int64_t end = Player().Position();
    const bool finished = Player().StopRecording();
    SetRecordingControls(false);
    if (!keep) return;
    Fragment& f = recording_;
    f.Length = end > f.Position ? uint32_t(end - f.Position) : 0;
    f.Offset = f.Position;
    const int64_t seconds = (ui::Clock::NowMs() - recordStart_) / 1000;
    f.Hour = uint32_t(seconds / 3600);
    f.Minute = uint32_t(seconds / 60 % 60);
    f.Second = uint32_t(seconds % 60);
    std::vector<Fragment>& fragments = Phonogram().Fragments;
    fragments.push_back(f);
    fdx_->PhonogramRecorded = 1;
    FillList();
    ShowFragment(int32_t(fragments.size() - 1));
    if (!finished) fdx_->ShowError(41);
}

void signal::SetRecordingControls(bool recording) {
    play->SetEnabled(!recording);
    lv_1->SetEnabled(!recording);
    position->SetEnabled(!recording);
    lb_1->SetEnabled(!recording && !soundPresent_);
}

// ---- the phonogram as a whole

// Files recorded for a phonogram the operator gave up (by loading another or clearing) go with
// it; the main window asked him first.
void signal::ForgetWork() {
    if (fdx_->Recording) FinishRecording(false);
    EndPlayback();
    Player().Close();
    for (const std::string& file : temporaries_) {
        std::error_code ignored;
        fs::remove(file, ignored);
    }
    temporaries_.clear();
    deleted_.clear();
    lv_1->Clear();
    selected_ = -1;
    soundPresent_ = false;
    soundFile_.clear();
    modified_ = false;
    fdx_->PhonogramRecorded = 0;
    position->SetRange(0, 0);
    all_time->SetText("");
    ShowPlace(0);
}

void signal::ShowPhonogram() {
    ForgetWork();
    const UserFono& phonogram = Phonogram();
    std::string sound;
    if (!Separate())
        sound = Folder() + phonogram.Name + ".wav";
    else if (!phonogram.Fragments.empty())
        sound = FragmentSound(phonogram.Fragments.front());
    if (phonogram.Name.empty() || sound.empty() || !Player().Open(sound)) {
        lb_1->SetEnabled(true);
        fdx_->ShowError(46);
        return;
    }
    soundPresent_ = true;
    if (!Separate()) soundFile_ = sound;
    FillList();
    ShowFragment(0);
    fdx_->RecordRate = phonogram.RecordRate < std::size(kRates) ? phonogram.RecordRate : 0;
    lb_1->SetSelectedIndex(int(fdx_->RecordRate));
    lb_1->SetEnabled(false);
}

void signal::ClearWindow() {
    ForgetWork();
    Phonogram().Fragments.clear();
    fdx_->PhonogramLoaded = 0;
    lb_1->SetEnabled(true);
}

bool signal::Store() {
    Stop();
    if (!(Separate() ? NameSeparateFiles() : StoreSingleFile())) {
        fdx_->ShowError(45);
        return false;
    }
    modified_ = false;
    const int32_t row = selected_;
    FillList();  // the files' new names
    ShowFragment(row);
    Post(PostPhonogramRecorded);
    return true;
}

// Every fragment gets a file named after the phonogram: recorded ones by renaming their
// temporaries, and, for a phonogram stored anew, those it took from the one it was loaded from
// by a copy, so that no two phonograms share a file. A store that fails part-way is undone, so
// that the phonogram stays as it was before it: a second store then names its files anew from
// the first free name, and no file is left named after a phonogram that was never stored.
bool signal::NameSeparateFiles() {
    UserFono& phonogram = Phonogram();
    if (phonogram.Name.empty()) return false;
    const bool sameFiles = fdx_->PhonogramLoaded != 0;
    uint32_t next = 1;
    std::vector<NamedSound> named;
    for (std::size_t i = 0; i < phonogram.Fragments.size(); ++i) {
        Fragment& f = phonogram.Fragments[i];
        if (f.Mark != 0 && sameFiles) continue;
        const std::string source = FragmentSound(f);
        // A file named after this phonogram is its own already: a store whose description
        // failed named it so.
        if (f.Mark != 0 && fs::path(source).filename().string().starts_with(phonogram.Name + "_"))
            continue;
        std::error_code error;
        if (f.Mark != 0 && !fs::exists(source, error)) continue;  // its sound is gone already
        const std::string target = FreeName(Folder(), phonogram.Name + "_", next);
        if (target.empty()) {  // no free name left
            UndoNaming(named);
            return false;
        }
        const bool moved = f.Mark == 0;
        if (moved)
            fs::rename(source, target, error);
        else if (std::error_code ignored; !fs::copy_file(source, target, error))
            fs::remove(target, ignored);  // a copy the disk cut short is nobody's sound
        if (error) {
            UndoNaming(named);
            return false;
        }
        named.push_back({i, source, f.File, f.Mark, moved});
        if (moved) Temporary(source, false);
        f.File = target;
        f.Mark = 1;
    }
    if (sameFiles)
        for (const std::string& file : deleted_) {
            std::error_code ignored;
            fs::remove(file, ignored);
        }
    deleted_.clear();
    return true;
}

// Gives the fragments of a store that failed their sounds back as they were, the latest first: a
// renamed temporary its name again, a copy removed. A sound that cannot be given back keeps its
// new name, which its fragment then names, so that no sound is lost.
void signal::UndoNaming(const std::vector<NamedSound>& named) {
    for (auto it = named.rbegin(); it != named.rend(); ++it) {
        Fragment& f = Phonogram().Fragments[it->fragment];
        std::error_code error;
        if (it->moved)
            fs::rename(f.File, it->source, error);
        else
            fs::remove(f.File, error);
        if (error) continue;
        if (it->moved) Temporary(it->source, true);
        f.File = it->file;
        f.Mark = it->mark;
    }
}

// The working copy becomes the phonogram's file; a phonogram stored anew without a new recording
// gets a copy of the file it was loaded from.
bool signal::StoreSingleFile() {
    UserFono& phonogram = Phonogram();
    if (phonogram.Name.empty()) return false;
    const std::string target = Folder() + phonogram.Name + ".wav";
    if (!soundFile_.empty() && soundFile_ != target) {
        std::error_code error;
        const bool temporary = std::ranges::find(temporaries_, soundFile_) != temporaries_.end();
        if (temporary)
            fs::rename(soundFile_, target, error);
        else
            fs::copy_file(soundFile_, target, fs::copy_options::overwrite_existing, error);
        if (error) return false;
        if (temporary) Temporary(soundFile_, false);
        soundFile_ = target;
    }
    for (Fragment& f : phonogram.Fragments) f.File = target;
    return true;
}

// A stored fragment's file goes when the phonogram is stored without it; a new fragment's
// at once.
void signal::DeleteFragment() {
    if (fdx_->Recording) return;
    std::vector<Fragment>& fragments = Phonogram().Fragments;
    if (fragments.size() <= 1 || selected_ < 0 || std::size_t(selected_) >= fragments.size() ||
        (!modified_ && !fdx_->Confirm("Удалить фрагмент?"))) {
        fdx_->ShowError(54);
        return;
    }
    EndPlayback();
    const Fragment& f = fragments[std::size_t(selected_)];
    if (Separate()) {
        Player().Close();
        const std::string file = FragmentSound(f);
        if (f.Mark == 0) {
            std::error_code ignored;
            fs::remove(file, ignored);
            Temporary(file, false);
        } else {
            deleted_.push_back(file);
        }
    }
    fragments.erase(fragments.begin() + selected_);
    modified_ = true;
    fdx_->PhonogramRecorded = 1;
    const int32_t row = std::min<int32_t>(selected_, int32_t(fragments.size()) - 1);
    FillList();
    ShowFragment(row);
}
