// The phonogram window on a stand-in main window with the scripted player: recording into
// temporaries, storing them under lasting names, playback over the fragments, deleting, and its
// job lines (panel 6).

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QTest>
#include <algorithm>
#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "editors/signal.h"
#include "state/message_bus.h"
#include "state/stamp_clock.h"
#include "tests/editors/editor_fixture.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/operator_hand.h"
#include "tests/support/program_folder.h"
#include "ui/reply_event.h"
#include "ui/sound.h"
#include "ui/timer.h"
#include "ui/wav_file.h"

namespace {

using Codes = std::vector<uint32_t>;
using Texts = std::vector<std::string>;
namespace fs = std::filesystem;

class Phonograms : public ::testing::Test {
  protected:
    Phonograms() {
        ui::Clock::SetVirtual(true);
        StampClock::Set([] { return LocalTime{7, 3, 2001, 9, 5, 30}; });
        PrepareState(fdx, main);
        fdx.ProgramDir = folder.Dir();
        fdx.Phonogram = &phonogram;
        fdx.Frequency = 1'455'000;
        messages.Attach(fdx);
        fs::create_directories(folder.path() / "FONO");
    }
    ~Phonograms() override {
        StampClock::Set({});
        ui::Clock::SetVirtual(false);
    }
    void SetUp() override { window.Create(&main, &fdx); }

    std::string Fono(const std::string& name) const { return folder.Dir() + "FONO/" + name; }
    // A recording of `ms` on the player and on the clock.
    void Record(int64_t ms) {
        Send(PostLockControls);
        sound.Advance(ms);
        ui::Clock::Advance(ms);
        Send(PostUnlockControls);
    }
    Codes Send(uint32_t code) {
        PostPrivateMessage(&window, code);
        return main.Take();
    }
    JobStr& Run(uint32_t object, uint32_t value = 0) {
        line = JobStr{};
        line.TAB = signal::kPanel;
        line.OBJ = object;
        line.VAL = value;
        fdx.JobLine = &line;
        EXPECT_EQ(Send(PostJobStep), Codes{PostJobStep});
        return line;
    }
    // A stored phonogram whose fragments have files of their own, loaded into the window.
    void LoadSeparate(std::initializer_list<int64_t> lengths) {
        phonogram = UserFono{};
        phonogram.Name = "0703-0001";
        phonogram.SeparateFiles = 1;
        phonogram.RecordRate = 2;
        int n = 1;
        for (const int64_t length : lengths) {
            Fragment f;
            f.Identifier = std::to_string(n);
            f.Length = uint32_t(length);
            f.Minute = uint32_t(length / 60000);
            f.Second = uint32_t(length / 1000 % 60);
            f.File = Fono("0703-0001_" + std::to_string(n++) + ".wav");
            f.Mark = 1;
            ui::WriteEmptyWav(f.File, 22050);
            sound.files[f.File] = length;
            phonogram.Fragments.push_back(f);
        }
        fdx.PhonogramLoaded = 1;
        Send(PostItemLoaded);
    }

    // A stored phonogram with one sound file, its fragments one after the other, loaded.
    void LoadSingle(std::initializer_list<uint32_t> lengths) {
        phonogram.Name = "0703-0001";
        uint32_t position = 0;
        for (const uint32_t length : lengths) {
            Fragment& f = phonogram.Fragments.emplace_back();
            f.Position = position;
            f.Length = length;
            position += length;
        }
        WriteBytes(Fono("0703-0001.wav"), "");
        sound.files[Fono("0703-0001.wav")] = position;
        Send(PostItemLoaded);
    }

    ProgramFolder folder;
    ui::ScriptedSound sound;
    CodeSink main;
    FDX fdx;
    UserFono phonogram;
    JobStr line;
    ShownMessages messages;
    Texts& shown = messages.texts;
    std::deque<bool>& answers = messages.answers;
    class signal window;
};

// The lists of fragments and rates take their own mouse; their right button runs the macro
// as the form's does.
TEST_F(Phonograms, ARightClickOverTheFragmentsRunsTheMacro) {
    window.lv_1->Raise(ui::EventId::RightButtonUp);
    EXPECT_EQ(main.Take(), Codes{PostRunMacro});
    window.lb_1->Raise(ui::EventId::RightButtonUp);  // the recording rates
    EXPECT_EQ(main.Take(), Codes{PostRunMacro});
}

TEST_F(Phonograms, ARecordingGoesIntoATemporaryThatStoringGivesThePhonogramsName) {
    fdx.RecordRate = 1;
    Record(2000);
    EXPECT_EQ(ReadBytes(Fono("temp0.wav")).substr(24, 4), std::string("\x11\x2b\0\0", 4));
    Record(1500);
    ASSERT_EQ(phonogram.Fragments.size(), 2u);
    const Fragment& second = phonogram.Fragments[1];
    EXPECT_EQ(second.Position, 2000u);  // the one file grows fragment by fragment
    EXPECT_EQ(second.Length, 1500u);
    EXPECT_EQ(second.Second, 1u);
    EXPECT_EQ(second.Frequency, 1'455'000u);
    EXPECT_EQ(phonogram.Date, "07/03/2001");
    EXPECT_EQ(phonogram.Time, "09:05:30");
    EXPECT_EQ(phonogram.RecordRate, 1u);
    EXPECT_EQ(fdx.PhonogramRecorded, 1);
    EXPECT_EQ(window.lv_1->Cell(1, 1), " 145.5000");
    EXPECT_FALSE(window.lb_1->IsEnabled());  // the rate is the sound's now

    phonogram.Name = "0703-0001";  // as the main window names a phonogram it stores anew
    EXPECT_EQ(Send(PostSaveSettings), Codes{PostPhonogramRecorded});
    EXPECT_FALSE(fs::exists(Fono("temp0.wav")));
    EXPECT_EQ(ReadBytes(Fono("0703-0001.wav")).size(), 58u);
    EXPECT_EQ(phonogram.Fragments[0].File, Fono("0703-0001.wav"));
    EXPECT_EQ(window.lv_1->Cell(0, 5), "0703-0001.wav");
    EXPECT_TRUE(shown.empty());
}

TEST_F(Phonograms, FragmentsOfTheirOwnGetTheFirstFreeNamesAndStoredOnesAreCopiedForANewPhonogram) {
    LoadSeparate({1000});
    WriteBytes(Fono("0703-0001_2.wav"), "a stranger's file");
    Record(500);
    EXPECT_EQ(phonogram.Fragments[1].File, Fono("temp2.wav"));
    Send(PostRefreshCurves);  // appended to the loaded phonogram
    EXPECT_EQ(phonogram.Fragments[0].File, Fono("0703-0001_1.wav"));
    EXPECT_EQ(phonogram.Fragments[1].File, Fono("0703-0001_3.wav"));
    EXPECT_EQ(ReadBytes(Fono("0703-0001_2.wav")), "a stranger's file");

    fdx.PhonogramLoaded = 0;  // stored as a phonogram of its own
    phonogram.Name = "0703-0002";
    Send(PostSaveSettings);
    EXPECT_EQ(phonogram.Fragments[0].File, Fono("0703-0002_1.wav"));
    EXPECT_EQ(phonogram.Fragments[1].File, Fono("0703-0002_2.wav"));
    EXPECT_TRUE(fs::exists(Fono("0703-0001_1.wav")));
    EXPECT_TRUE(fs::exists(Fono("0703-0001_3.wav")));
}

// The second of three renames fails (its temporary went): the store is told and undone, and a
// store once the sound is back names the files from the first free name, none left over.
TEST_F(Phonograms, AStoreWhoseRenameFailsPartWayIsToldAndUndone) {
    phonogram.SeparateFiles = 1;
    for (const int64_t ms : {1000, 2000, 3000}) Record(ms);
    ASSERT_EQ(phonogram.Fragments.size(), 3u);
    ASSERT_EQ(phonogram.Fragments[1].File, Fono("temp2.wav"));
    const std::string second = ReadBytes(Fono("temp2.wav"));
    fs::remove(Fono("temp2.wav"));

    phonogram.Name = "0703-0001";
    EXPECT_EQ(Send(PostSaveSettings), Codes{});
    EXPECT_EQ(shown, Texts{"Нельзя сохранить фонограмму"});
    EXPECT_EQ(phonogram.Fragments[0].File, Fono("temp1.wav"));
    EXPECT_EQ(phonogram.Fragments[0].Mark, 0);
    EXPECT_TRUE(fs::exists(Fono("temp1.wav")));
    EXPECT_FALSE(fs::exists(Fono("0703-0001_1.wav")));
    EXPECT_EQ(fdx.PhonogramRecorded, 1);

    WriteBytes(Fono("temp2.wav"), second);
    EXPECT_EQ(Send(PostSaveSettings), Codes{PostPhonogramRecorded});
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(folder.path() / "FONO"))
        files.push_back(entry.path().filename().string());
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (Texts{"0703-0001_1.wav", "0703-0001_2.wav", "0703-0001_3.wav"}));
    EXPECT_EQ(ReadBytes(Fono("0703-0001_2.wav")), second);
    EXPECT_EQ(phonogram.Fragments[2].File, Fono("0703-0001_3.wav"));

    // The main window could not write the description: the next store under the same name
    // finds the files its own and copies none.
    EXPECT_EQ(Send(PostSaveSettings), Codes{PostPhonogramRecorded});
    EXPECT_FALSE(fs::exists(Fono("0703-0001_4.wav")));
    EXPECT_EQ(phonogram.Fragments[0].File, Fono("0703-0001_1.wav"));
}

// A stored phonogram stored anew as one of its own, its second file cut short by a full disk:
// told, and no copy is left under the new name.
TEST_F(Phonograms, AStoreThatTheDiskCutsShortLeavesNoCopyBehind) {
    LoadSeparate({1000, 2000});
    WriteBytes(Fono("0703-0001_2.wav"), std::string(64 * 1024, '\x80'));
    fdx.PhonogramLoaded = 0;
    phonogram.Name = "0703-0002";
    EXPECT_EQ(WithFileSizeLimit(8192, [&] { return Send(PostSaveSettings); }), Codes{});
    EXPECT_EQ(shown, Texts{"Нельзя сохранить фонограмму"});
    EXPECT_EQ(phonogram.Fragments[0].File, Fono("0703-0001_1.wav"));
    EXPECT_EQ(phonogram.Fragments[1].File, Fono("0703-0001_2.wav"));
    EXPECT_FALSE(fs::exists(Fono("0703-0002_1.wav")));
    EXPECT_FALSE(fs::exists(Fono("0703-0002_2.wav")));
    EXPECT_EQ(ReadBytes(Fono("0703-0001_2.wav")).size(), 64u * 1024);
}

// A phonogram whose sound the player cannot open: told, and nothing is left to play.
TEST_F(Phonograms, AnUnreadablePhonogramIsToldAndLeavesNothingToPlay) {
    phonogram.Name = "0703-0001";
    phonogram.Fragments.resize(2);  // "0703-0001.wav" is gone
    fdx.PhonogramLoaded = 1;
    Send(PostItemLoaded);
    EXPECT_EQ(shown, Texts{"Ошибка в файле фонограммы"});
    EXPECT_EQ(window.lv_1->RowCount(), 0);
    EXPECT_TRUE(window.lb_1->IsEnabled());  // a recording may still choose its rate

    window.Play();
    EXPECT_EQ(shown, (Texts{"Ошибка в файле фонограммы", "Нет информации для воспроизведения"}));
    EXPECT_FALSE(window.Playing());
}

TEST_F(Phonograms, AFragmentWhoseFileThePlayerRefusesIsToldAndNotPlayed) {
    LoadSeparate({1000, 2000});
    sound.files.erase(Fono("0703-0001_2.wav"));
    window.SelectFragment(1);
    window.Play();
    EXPECT_EQ(shown, Texts{"Нет информации для воспроизведения"});
    EXPECT_FALSE(window.Playing());
}

TEST_F(Phonograms, RecordingOntoALoadedPhonogramLeavesItsFileAsStoredUntilStored) {
    phonogram.Name = "0703-0001";
    phonogram.Fragments.resize(1);
    phonogram.Fragments[0].Length = 3000;
    WriteBytes(Fono("0703-0001.wav"), "stored sound");
    sound.files[Fono("0703-0001.wav")] = 3000;
    sound.files[Fono("temp0.wav")] = 3000;  // the working copy
    fdx.PhonogramLoaded = 1;
    Send(PostItemLoaded);
    Record(1000);
    EXPECT_EQ(ReadBytes(Fono("temp0.wav")), "stored sound");
    EXPECT_EQ(phonogram.Fragments[1].Position, 3000u);
    EXPECT_EQ(ReadBytes(Fono("0703-0001.wav")), "stored sound");
    WriteBytes(Fono("temp0.wav"), "stored sound and more");
    Send(PostRefreshCurves);
    EXPECT_EQ(ReadBytes(Fono("0703-0001.wav")), "stored sound and more");

    // Loading again gives up what was not stored.
    Record(1000);
    Send(PostItemLoaded);
    EXPECT_FALSE(fs::exists(Fono("temp0.wav")));
    EXPECT_EQ(fdx.PhonogramRecorded, 0);
}

TEST_F(Phonograms, WithoutASoundInputNothingIsRecordedAndNothingLost) {
    LoadSeparate({1000, 2000});
    sound.canRecord = false;
    Send(PostLockControls);
    EXPECT_EQ(shown, Texts{"Ошибка при регистрации сигнала (Sound Blaster)"});
    EXPECT_EQ(fdx.Recording, 0);
    EXPECT_EQ(phonogram.Fragments.size(), 2u);
    EXPECT_FALSE(fs::exists(Fono("temp3.wav")));
}

TEST_F(Phonograms, TheTenThousandthFragmentIsNotRecorded) {
    LoadSeparate({1000});
    phonogram.Fragments.resize(kMaxPhonogramFragments - 2);
    Record(100);
    EXPECT_EQ(phonogram.Fragments.size(), kMaxPhonogramFragments - 1);
    Record(100);
    EXPECT_EQ(phonogram.Fragments.size(), kMaxPhonogramFragments - 1);
    EXPECT_EQ(fdx.Recording, 0);
    EXPECT_TRUE(shown.empty());
}

TEST_F(Phonograms, PlaybackFollowsTheFragmentsAndGoesOnWithTheWholePhonogram) {
    LoadSeparate({2500, 500, 1000});
    sound.log.clear();
    window.Play();
    for (int tick = 0; tick < 3; ++tick) {
        sound.Advance(1000);
        Send(PostTimerTick);
    }
    EXPECT_FALSE(window.Playing());  // the fragment alone
    EXPECT_EQ(window.Selected(), 0);

    Run(17, 1);
    EXPECT_TRUE(window.sfrag->IsChecked());
    window.SelectFragment(1);  // under a second: no slider range, played from its start
    window.position->SetPosition(0);
    window.Play();
    for (int tick = 0; tick < 3; ++tick) {
        sound.Advance(1000);
        Send(PostTimerTick);
    }
    EXPECT_EQ(window.Selected(), 2);
    EXPECT_FALSE(window.Playing());
    EXPECT_EQ(sound.log, (Texts{"close", "open " + Fono("0703-0001_1.wav"), "play 0 2500", "close",
                                "open " + Fono("0703-0001_2.wav"), "play 0 500", "close",
                                "open " + Fono("0703-0001_3.wav"), "play 0 1000"}));
}

TEST_F(Phonograms, AFragmentHeardToItsEndPlaysAgainFromItsStartAndAStopResumesWhereItStood) {
    LoadSeparate({3000});
    sound.log.clear();
    window.Play();
    for (int tick = 0; tick < 4; ++tick) {
        sound.Advance(1000);
        Send(PostTimerTick);
    }
    ASSERT_FALSE(window.Playing());
    EXPECT_EQ(window.position->Position(), 0);
    EXPECT_EQ(window.loc_time->Text(), "00:00:00");
    window.Play();
    sound.Advance(1000);
    Send(PostTimerTick);
    window.Stop();
    EXPECT_EQ(window.position->Position(), 1);
    window.Play();
    const std::string open = "open " + Fono("0703-0001_1.wav");
    EXPECT_EQ(sound.log, (Texts{"close", open, "play 0 3000", "close", open, "play 0 3000", "stop",
                                "close", open, "play 1000 3000"}));
}

TEST_F(Phonograms, OneSoundFilePlaysOnAcrossItsFragmentsFromTheSlidersPlace) {
    LoadSingle({4000, 2000});
    window.sfrag->SetChecked(true);
    window.position->SetPosition(2);  // of 4 seconds
    sound.log.clear();
    window.Play();
    sound.Advance(2500);
    Send(PostTimerTick);
    EXPECT_EQ(window.Selected(), 1);
    EXPECT_EQ(window.loc_time->Text(), "00:00:00");
    EXPECT_EQ(sound.log, (Texts{"close", "open " + Fono("0703-0001.wav"), "play 2000 6000"}));
}

TEST_F(Phonograms, DeletingAsksOnceAndNeverTakesTheLastFragment) {
    LoadSeparate({1000, 2000, 3000});
    answers = {false};
    window.DeleteFragment();
    EXPECT_EQ(shown, (Texts{"Удалить фрагмент?", "Фонограмма содержит единственный фрагмент."}));
    EXPECT_EQ(phonogram.Fragments.size(), 3u);

    shown.clear();
    window.SelectFragment(1);
    window.DeleteFragment();  // yes
    window.DeleteFragment();  // no question once a fragment went
    EXPECT_EQ(shown, Texts{"Удалить фрагмент?"});
    ASSERT_EQ(phonogram.Fragments.size(), 1u);
    EXPECT_EQ(phonogram.Fragments[0].Identifier, "1");
    // The stored files go once the phonogram is stored without them.
    EXPECT_TRUE(fs::exists(Fono("0703-0001_2.wav")));
    Send(PostRefreshCurves);
    EXPECT_FALSE(fs::exists(Fono("0703-0001_2.wav")));
    EXPECT_FALSE(fs::exists(Fono("0703-0001_3.wav")));

    shown.clear();
    window.DeleteFragment();
    EXPECT_EQ(shown, Texts{"Фонограмма содержит единственный фрагмент."});
}

// The keys choose a fragment as a click does, and the Delete key then takes the fragment the list
// shows selected; before any sound the keys choose the recording rate as a click does.
TEST_F(Phonograms, TheKeysChooseTheFragmentThatDeleteTakesAndTheRate) {
    namespace hand = operator_hand;
    window.Show();
    hand::ClickLine(window.lb_1, 0);
    ui::ServePending();
    EXPECT_EQ(fdx.RecordRate, 0u);
    hand::PressKeys(window.lb_1, {Qt::Key_Down});
    EXPECT_EQ(fdx.RecordRate, 1u);
    hand::PressKeys(window.lb_1, {Qt::Key_End});
    EXPECT_EQ(fdx.RecordRate, 2u);

    LoadSeparate({1000, 2000, 3000});
    hand::ClickRow(window.lv_1, 0);
    ui::ServePending();
    EXPECT_EQ(window.Selected(), 0);
    hand::PressKeys(window.lv_1, {Qt::Key_Down, Qt::Key_Down});
    EXPECT_EQ(window.Selected(), 2);
    EXPECT_EQ(window.all_time->Text(), "00:00:03");
    hand::PressKeys(window.lv_1, {Qt::Key_Up, Qt::Key_Delete});  // asked, and answered yes
    EXPECT_EQ(shown, Texts{"Удалить фрагмент?"});
    ASSERT_EQ(phonogram.Fragments.size(), 2u);
    EXPECT_EQ(phonogram.Fragments[0].Identifier, "1");
    EXPECT_EQ(phonogram.Fragments[1].Identifier, "3");
}

TEST_F(Phonograms, JobLinesSetTheRateOnlyBeforeTheSoundAndSelectAFragment) {
    EXPECT_EQ(Run(18, 0).Message, "Нет фонограммы");
    EXPECT_EQ(line.ReturnCode, 1);
    Run(16);
    EXPECT_EQ(fdx.RecordRate, 2u);
    Record(100);
    EXPECT_EQ(ReadBytes(folder.Dir() + "FONO/temp0.wav").substr(24, 4),
              std::string("\x22\x56\0\0", 4));

    LoadSeparate({1000, 62000});
    Run(14);
    EXPECT_EQ(fdx.RecordRate, 2u);
    EXPECT_EQ(Run(18, 1).ReturnCode, 0);
    EXPECT_EQ(window.Selected(), 1);
    EXPECT_EQ(window.all_time->Text(), "00:01:02");
    Run(18, 2);  // beyond the last
    EXPECT_EQ(window.Selected(), 0);
    EXPECT_EQ(Run(19).Message, "Нет доступа к обьекту");

    EXPECT_TRUE(window.RenameFragment(1, "Переговоры"));
    EXPECT_FALSE(window.RenameFragment(1, ""));
    EXPECT_EQ(phonogram.Fragments[1].Identifier, "Переговоры");
}

TEST_F(Phonograms, MovingTheSliderDuringPlaybackPlaysOnFromWhereItWasMovedTo) {
    LoadSeparate({10000});
    window.Play();
    QWidget* slider = window.position->widget();
    slider->setFocus();
    // Each key acted on once it has been delivered.
    const auto press = [slider](Qt::Key key) {
        QTest::keyClick(slider, key);
        ui::ServePending();
    };
    press(Qt::Key_Right);
    EXPECT_EQ(window.position->Position(), 1);
    EXPECT_EQ(sound.log.back(), "play 1000 10000");
    for (int key = 0; key < 3; ++key) press(Qt::Key_Right);
    EXPECT_EQ(sound.log.back(), "play 4000 10000");
    press(Qt::Key_Left);
    EXPECT_EQ(sound.log.back(), "play 3000 10000");
    EXPECT_TRUE(window.Playing());
}

// A fragment of no length (a recording stopped as it began) plays nothing and ends at the next
// tick, the slider at its start.
TEST_F(Phonograms, AFragmentWithoutLengthEndsAtOnce) {
    LoadSeparate({0});
    window.Play();
    sound.Advance(1000);
    Send(PostTimerTick);
    EXPECT_FALSE(window.Playing());
    EXPECT_EQ(window.position->Position(), 0);
    EXPECT_EQ(window.loc_time->Text(), "00:00:00");
}

// One sound file: where a fragment ends the next begins, and the play button still plays the
// fragment heard to its end.
TEST_F(Phonograms, OneSoundFilesFragmentHeardToItsEndStaysSelectedAndPlaysAgain) {
    LoadSingle({3000, 2000});
    window.Play();
    for (int tick = 0; tick < 4; ++tick) {
        sound.Advance(1000);
        Send(PostTimerTick);
    }
    ASSERT_FALSE(window.Playing());
    EXPECT_EQ(window.Selected(), 0);
    EXPECT_EQ(window.lv_1->SelectedRow(), 0);
    window.Play();
    EXPECT_EQ(sound.log.back(), "play 0 3000");
}

// The program's end while recording: the window goes with the recording running, and the
// system's input serves the event loop while it stops, which hands the window the stop the
// main window's close posted. The file is finished, and nothing is said.
TEST_F(Phonograms, TheWindowGoingWhileRecordingFinishesTheFileWithoutAWord) {
    sound.writesSound = true;
    sound.whileStopping = [] { QCoreApplication::sendPostedEvents(); };
    Send(PostLockControls);
    ASSERT_EQ(fdx.Recording, 1);
    for (int block = 0; block < 10; ++block) sound.Advance(100);
    PostPrivateMessage(&window, PostUnlockControls);
    window.Destroy();
    EXPECT_EQ(fdx.Recording, 0);
    EXPECT_TRUE(shown.empty());
    const std::optional<ui::WavLayout> layout = ui::ReadWavLayout(Fono("temp0.wav"));
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->dataBytes, 8000u);  // a second at 8000 Hz
    EXPECT_EQ(layout->declaredBytes, 8000u);
    EXPECT_EQ(std::count(sound.log.begin(), sound.log.end(), "stop recording"), 1);
}

// Two stops posted (the close's and the scan's end), the first serving the event loop while the
// input stops: the second finds the recording over.
TEST_F(Phonograms, AStopArrivingWhileTheInputStopsFindsTheRecordingOver) {
    sound.writesSound = true;
    sound.whileStopping = [] { QCoreApplication::sendPostedEvents(); };
    Send(PostLockControls);
    sound.Advance(500);
    PostPrivateMessage(&window, PostUnlockControls);
    Send(PostUnlockControls);
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(phonogram.Fragments.size(), 1u);
    EXPECT_EQ(ui::ReadWavLayout(Fono("temp0.wav"))->declaredBytes, 4000u);
}

// kill -9 two and a half seconds into a recording: what the input handed over is in the file,
// and the next start counts it. The recording runs in a child process, the scripted input
// writing as the system's does, a tenth of a second at a time.
TEST_F(Phonograms, ARecordingKilledKeepsItsSoundForTheNextStart) {
    sound.writesSound = true;
    int recorded[2];
    ASSERT_EQ(::pipe(recorded), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        window.StartRecording();
        if (fdx.Recording == 0) ::_exit(1);
        for (int block = 0; block < 25; ++block) sound.Advance(100);
        [[maybe_unused]] const ssize_t told = ::write(recorded[1], "r", 1);
        for (;;) ::pause();
    }
    ::close(recorded[1]);
    char byte = 0;
    const ssize_t told = ::read(recorded[0], &byte, 1);
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ::close(recorded[0]);
    ASSERT_EQ(told, 1) << "the child did not record";
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);

    class signal next;  // the next start
    next.Create(&main, &fdx);
    const std::optional<ui::WavLayout> layout = ui::ReadWavLayout(Fono("temp0.wav"));
    ASSERT_TRUE(layout);
    EXPECT_GE(layout->declaredBytes, 18000u);  // 2.25 s at 8000 Hz: a quarter second behind
    EXPECT_EQ(layout->declaredBytes, layout->dataBytes);
}

// The program ended while recording: the sound is in the temporary, its header as made empty.
class AfterACutShortRecording : public Phonograms {
    void SetUp() override {
        ASSERT_TRUE(ui::WriteEmptyWav(Fono("temp4.wav"), 8000));
        WriteBytes(Fono("temp4.wav"), ReadBytes(Fono("temp4.wav")) + std::string(800, '\x80'));
        Phonograms::SetUp();
    }
};

TEST_F(AfterACutShortRecording, TheNextStartCountsItsSound) {
    const std::optional<ui::WavLayout> layout = ui::ReadWavLayout(Fono("temp4.wav"));
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->declaredBytes, 800u);
}

}  // namespace
