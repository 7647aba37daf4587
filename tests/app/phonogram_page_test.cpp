// The text and signal pages in the running program: the start button records on the signal
// page, the save button stores the recording as a journal phonogram, a close while recording
// ends the recording and asks about it, and job lines reach both windows.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "app/orvel_editors.h"
#include "tests/app/window_fixture.h"
#include "tests/support/pty.h"
#include "ui/sound.h"

namespace {

using window_test::MakeLines;

class SignalPage : public window_test::WindowTest {
  protected:
    // An IC-R8500 that is not connected (its COM1 a line nobody answers on, never the
    // machine's own serial port): the start button needs a receiver type.
    std::string Ini() const override { return "COM=1\r\nRECV=4\r\n"; }
    void Prepare() override {
        WriteBytes("INFO/info.txt", Utf8ToCp1251("Общие заметки"));
        line_.LinkAs(folder.path() / "COM1");
    }
    class signal& Phonograms() {
        return orvel.editors->phonogramWindow;
    }
    void Record(int64_t ms) {
        orvel.SwitchToTab(6);
        orvel.StartButton();
        ui::ServePending();
        ASSERT_EQ(orvel.Recording, 1);
        sound.Advance(ms);
        ui::Clock::Advance(ms);
        Phonograms().stop->Raise(ui::EventId::Click);
    }
    // The save button: the signal page stores the sound, then the main window the phonogram.
    void Save() {
        orvel.store.SaveItem();
        for (int pass = 0; pass < 2; ++pass) ui::ServePending();
    }

    ui::ScriptedSound sound;
    PtyPair line_;
};

TEST_F(SignalPage, TheStartButtonRecordsAndTheSaveButtonMakesAJournalPhonogram) {
    ui::ServePending();
    EXPECT_EQ(orvel.editors->notesWindow.rtb_1->Text(), "Общие заметки");
    Record(3000);
    // The receiver that is not there is told once; a recording is no scan that failed to start.
    const std::string noReceiver = "Ошибка обращения к приемнику(выключен)";
    EXPECT_EQ(Messages(), std::vector<std::string>{noReceiver});
    EXPECT_EQ(orvel.start->Text(), "ПУСК");
    EXPECT_EQ(orvel.PhonogramRecorded, 1);

    Save();
    JournalItem* item = Child(orvel.store.PhonogramFolder, "07/03/2001 Фонограмма 1");
    ASSERT_NE(item, nullptr);
    const UserFono& stored = *item->As<UserFono>();
    ASSERT_EQ(stored.Fragments.size(), 1u);
    EXPECT_EQ(stored.Fragments[0].Length, 3000u);
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "FONO" / (stored.Name + ".cfg")));
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "FONO" / (stored.Name + ".wav")));
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "FONO/temp0.wav"));
    EXPECT_EQ(orvel.PhonogramRecorded, 0);
    EXPECT_EQ(orvel.PhonogramLoaded, 1);

    Record(1000);  // a second fragment, appended to the stored phonogram on its save
    Answer({ui::MessageAnswer::Yes});
    Save();
    EXPECT_EQ(Messages(),
              (std::vector<std::string>{noReceiver, "Дописать в существующую фонограмму?"}));
    EXPECT_EQ(stored.Fragments.size(), 2u);
    EXPECT_EQ(stored.Fragments[1].Position, 3000u);
}

// A new phonogram whose description the disk does not take: told, not in the journal, and still
// unsaved, so that the close asks about it.
TEST_F(SignalPage, APhonogramWhoseDescriptionCannotBeWrittenIsToldAndStaysUnsaved) {
    ui::ServePending();
    Record(3000);
    WithFileSizeLimit(10, [&] { Save(); });
    EXPECT_EQ(Messages().back(), "Нельзя сохранить фонограмму");
    EXPECT_EQ(Child(orvel.store.PhonogramFolder, "07/03/2001 Фонограмма 1"), nullptr);
    EXPECT_TRUE(orvel.store.PhonogramFolder->Children().empty());
    EXPECT_EQ(orvel.PhonogramRecorded, 1);
    EXPECT_EQ(orvel.PhonogramLoaded, 0);

    // Stored again once the disk takes it: under the name its sound already has, no copy left.
    Save();
    JournalItem* item = Child(orvel.store.PhonogramFolder, "07/03/2001 Фонограмма 1");
    ASSERT_NE(item, nullptr);
    const std::string name = item->As<UserFono>()->Name;
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path() / "FONO"))
        files.push_back(entry.path().filename().string());
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{name + ".cfg", name + ".wav"}));
    EXPECT_EQ(orvel.PhonogramRecorded, 0);
}

TEST_F(SignalPage, AClosingWhileRecordingEndsTheRecordingAndAsksAboutIt) {
    PostPrivateMessage(&Phonograms(), PostLockControls);
    ui::ServePending();
    ASSERT_EQ(orvel.Recording, 1);
    Answer({ui::MessageAnswer::No});
    orvel.Show();
    EXPECT_FALSE(orvel.Close());
    EXPECT_EQ(Messages(), std::vector<std::string>{"Не сохранены изменения! Выйти из программы?"});
    ui::ServePending();
    EXPECT_EQ(orvel.Recording, 0);
    EXPECT_EQ(orvel.Phonogram->Fragments.size(), 1u);
    EXPECT_EQ(orvel.PhonogramRecorded, 1);
}

TEST_F(SignalPage, JobLinesReachTheTextAndSignalWindows) {
    RunJob(MakeLines({{"Скорость записи 22Кб в сек", 6, 16},
                      {"Кнопка Запись", 6, 13},
                      {"Кнопка Стоп", 6, 12},
                      {"Номер фрагмента в фонограмме", 6, 18, 7},
                      {"Поле Информации", 5, 11, 0, " и запись"},
                      {"Кнопка Запись", 5, 12}}));
    for (int i = 0; i < 6; ++i) EXPECT_EQ(orvel.RunLines[std::size_t(i)].ReturnCode, 0) << i;
    EXPECT_EQ(orvel.RecordRate, 2u);
    EXPECT_EQ(orvel.Phonogram->Fragments.size(), 1u);
    EXPECT_EQ(Cp1251ToUtf8(Read("INFO/info.txt")), "Общие заметки и запись");
}

}  // namespace
