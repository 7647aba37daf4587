#pragma once
// The phonogram window `signal` (tab page "Сигнал"): records what the receiver hears into the
// current phonogram (FDX::Phonogram), lists its fragments, plays them back, renames and deletes
// them, and keeps their sound files under FONO.
//
// A phonogram keeps its sound in one file "FONO/<name>.wav" or, with its "File" flag
// (SeparateFiles), in a file per fragment. A recording goes into a file of its own first,
// "FONO/temp<n>.wav", which starts as the empty 8-bit mono file of the chosen rate: the
// fragment of a phonogram with a file per fragment, or a working copy of the whole sound of a
// phonogram with one file. Storing (PostRefreshCurves, PostSaveSettings) gives those files
// their lasting names and tells the main window (PostPhonogramRecorded), which writes the
// description. So the stored files change only when the operator stores, and a recording cut
// short by the program's end leaves its sound in its temporary, which the next start repairs.
//
// Positions and lengths are milliseconds of sound. The player comes from ui::NewSoundPlayer.

#include <cstdint>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "state/user_fono.h"
#include "ui/controls.h"
#include "ui/form_controls.h"
#include "ui/sound.h"
#include "windows/page_window.h"

// The controls of the form (ui/form_controls.h), in the order they are made.
// clang-format off
#define SIGNAL_CONTROLS(X) \
    X(101, ListView, lv_1, (2, 2, 279, 136), kListEditFirst, nullptr, nullptr) /* the fragments */ \
    X(102, Slider, position, (2, 140, 279, 14), 0, nullptr, nullptr) \
    X(103, CommandButton, play, (4, 158, 60, 14), 0, "Воспроизвести", nullptr) \
    X(104, CommandButton, stop, (68, 158, 40, 14), 0, "Стоп", nullptr) \
    X(105, CheckBox, sfrag, (116, 160, 160, 10), 0, "Воспроизводить фонограмму целиком", nullptr) \
    X(106, ListBox, lb_1, (4, 176, 60, 30), 0, nullptr, nullptr) /* the recording rate */ \
    X(107, Label, loc_time, (116, 180, 50, 9), kNoWrap, nullptr, nullptr) /* the place in the fragment, or the time recorded */ \
    X(108, Label, all_time, (176, 180, 50, 9), kNoWrap, nullptr, nullptr) /* the fragment's duration */
// clang-format on

class signal : public PageWindow {
  public:
    // The panel code of the window's job lines.
    static constexpr uint32_t kPanel = 6;
    // The recording rates by FDX::RecordRate.
    static constexpr uint32_t kRates[] = {8000, 11025, 22050};

    signal();
    ~signal() override;

    // Controls, owned by the form; empty until the create event.
    UI_FORM_CONTROLS(SIGNAL_CONTROLS)

    void OnUserEvent(uint32_t code);

    // 0x0c, job object 13: a new fragment (a running recording ends first). Message 41 when
    // the sound input cannot record; nothing at all once the phonogram is full.
    void StartRecording();
    // 0x0d: the running recording becomes the phonogram's last fragment.
    void StopRecording();
    // The play button and job object 11: the selected fragment from the slider's place.
    void Play();
    // The same from slider position `sliderPosition` (whole seconds into the fragment).
    void PlayFrom(int sliderPosition);
    // The stop button and job object 12: playback or recording ends.
    void Stop();
    // PostItemLoaded: shows the phonogram the main window loaded.
    void ShowPhonogram();
    // PostRefreshCurves, PostSaveSettings: gives the sound its lasting files; true when done.
    bool Store();
    // PostClearData: a new, empty phonogram.
    void ClearWindow();
    // The Delete key: the selected fragment goes, once asked (message 54 when it does not).
    void DeleteFragment();
    // An edit of a row's first cell; an empty name keeps the old one (false).
    bool RenameFragment(int32_t row, const std::string& name);
    void SelectFragment(int32_t index);
    // The rate list, while the phonogram has no sound yet.
    void ChooseRate(uint32_t choice);
    // PostJobStep: the line FDX::JobLine of panel 6, answered with PostJobStep.
    void ExecuteJobLine();
    // PostTimerTick (once a second): playback follows the fragments, the time is shown.
    void Tick();

    bool Playing() const { return playing_; }
    int32_t Selected() const { return selected_; }
    // The sound file of a fragment, found under FONO when its recorded path is gone.
    std::string FragmentSound(const Fragment& fragment) const;

  private:
    void OnCreate();
    void OnDestroy();
    void WireControls();
    UserFono& Phonogram() { return *fdx_->Phonogram; }
    std::string Folder() const;
    bool Separate() const { return fdx_->Phonogram->SeparateFiles != 0; }
    ui::SoundPlayer& Player();
    bool PrepareRecordingFile(std::string& path, bool& made);
    void FinishRecording(bool keep);
    void FillList();
    void ShowFragment(int32_t index);
    void ShowPlace(int64_t placeMs);
    void EndPlayback();
    bool PlayFragment(int64_t fromMs);
    // A fragment's sound as a store found it, before the store named it.
    struct NamedSound {
        std::size_t fragment;  // index into the phonogram's fragments
        std::string source;    // where its sound was
        std::string file;      // the fragment's File and Mark then
        decltype(Fragment::Mark) mark;
        bool moved;  // renamed from a temporary; otherwise copied
    };
    bool NameSeparateFiles();
    void UndoNaming(const std::vector<NamedSound>& named);
    bool StoreSingleFile();
    void ForgetWork();
    void SetRecordingControls(bool recording);
    void Temporary(const std::string& file, bool add);

    std::unique_ptr<ui::SoundPlayer> mediapl_1;
    bool soundPresent_ = false;
    bool playing_ = false;
    bool modified_ = false;  // a fragment was deleted since the phonogram was stored
    bool closing_ = false;   // the window is being destroyed
    int32_t selected_ = -1;
    int32_t sliderRange_ = 0;  // whole seconds of the selected fragment
    int64_t playEnd_ = 0;      // where the current playback ends
    int64_t recordStart_ = 0;  // ui::Clock time the recording began
    Fragment recording_;       // the fragment being recorded
    std::string soundFile_;
    // Files this window made that no stored phonogram names yet, and stored fragment files
    // whose fragments were deleted, removed once the phonogram is stored again.
    std::vector<std::string> temporaries_;
    std::vector<std::string> deleted_;
};
