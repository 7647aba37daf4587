// Jobs against the emulated CI-V receivers over a pseudo-terminal: the station running
// unattended from its start with an IC-R8500, an IC-R10 or an IC-R9000 (ORVEL.INI names a
// start-up job, which loads a stored range and starts the scan; the scan finds the emulator's
// signal and journals it, nobody touching the program), and the lines a job hands to the
// IC-R8500's panel.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <ostream>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "receivers/icom/civ_panel.h"
#include "receivers/icom/ic8500/ric8500.h"
#include "tests/app/window_fixture.h"
#include "tests/support/case_name.h"

namespace {

using window_test::MakeLines;
using window_test::ScanOnAir;

using OnAir = ScanOnAir;

struct Station {
    int receiverType;
    const emulators::CivProfile* set;
    // Every answer in two writes this far apart (PtyServer::SetSplitReplies); zero: whole.
    std::chrono::milliseconds split{};
};

// A case is named by its set ("ICR9000"), and "Split" when its answers come in two reads.
std::string StationName(const ::testing::TestParamInfo<Station>& info) {
    return CaseName(info.param.set->model) + (info.param.split.count() > 0 ? "Split" : "");
}
void PrintTo(const Station& station, std::ostream* out) {
    *out << station.set->model << " (type " << station.receiverType << ")";
}

class UnattendedStart : public ScanOnAir, public ::testing::WithParamInterface<Station> {
  protected:
    UnattendedStart() : ScanOnAir(GetParam().receiverType, *GetParam().set) {}
    std::string Ini() const override { return ScanOnAir::Ini() + "AUTOEXEC=0002\r\n"; }
    void Prepare() override {
        // A carrier at 100.5 MHz, in the range the job scans.
        emulator.SetSignalPlan(window_test::WithCarrier(20, 100'500'000, 200));
        emulator.SetSplitReplies(GetParam().split);
        WriteUnattendedScan();
    }
};

TEST_P(UnattendedStart, TheAutoexecJobScansItsRangeAndJournalsTheSignal) {
    ASSERT_TRUE(
        RunUntil([&] { return ScanNotes().find("Появление сигнала") != std::string::npos; }));
    EXPECT_EQ(ScanNotes().substr(0, 20), "07/03/2001 09:05:30 ");
    EXPECT_NE(ScanNotes().find("Появление сигнала 100.5100"), std::string::npos);

    // The start-up job loaded the stored job into the editor and ran it to its end.
    EXPECT_EQ(orvel.EditLineCount, 4);
    EXPECT_EQ(orvel.EditJobName, "Утренний обход");
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(orvel.EditLines[std::size_t(i)].ReturnCode, 0) << i;
        EXPECT_EQ(orvel.EditLines[std::size_t(i)].Time, "09:05:30") << i;
    }
    EXPECT_FALSE(orvel.JobRunning);
    // The range went into the first slot and is the one scanned.
    EXPECT_EQ(orvel.ScanSlots[0].Identifier, "Эфир");
    EXPECT_EQ(orvel.ScanSlot, 0);
    EXPECT_EQ(orvel.RunningMode, 2);
    EXPECT_TRUE(boxes.shown.empty());
    // Every command went to the set's address and was one the set knows.
    const auto* panel = dynamic_cast<CivPanel*>(orvel.receiver.Panel());
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->Link.RejectCount, 0);
    EXPECT_EQ(panel->Link.ReceiverAddress, GetParam().set->defaultAddress);
}

// The IC-R9000 is served by the IC-R10's panel. A set whose every answer (and echo) the program
// reads in two pieces is served as well: the panel keeps the first piece until the rest comes.
INSTANTIATE_TEST_SUITE_P(
    CivSets, UnattendedStart,
    ::testing::Values(Station{4, &emulators::kIcR8500}, Station{3, &emulators::kIcR10},
                      Station{5, &emulators::kIcR9000},
                      Station{4, &emulators::kIcR8500, std::chrono::milliseconds(2)}),
    StationName);

// Little room left on the disk at the start: the warning stays on screen, waiting for nobody, and
// the unattended station goes on with its start-up job.
class UnattendedStartOnANearlyFullDisk : public ScanOnAir {
  protected:
    std::string Ini() const override { return ScanOnAir::Ini() + "AUTOEXEC=0002\r\n"; }
    void Prepare() override {
        emulator.SetSignalPlan(window_test::WithCarrier(20, 100'500'000, 200));
        WriteUnattendedScan();
        orvel.FreeSpace = [](const std::string&) {
            return std::optional<std::uintmax_t>(1'999'999);
        };
    }
};

TEST_F(UnattendedStartOnANearlyFullDisk, TheWarningHoldsNothingAndTheJobScans) {
    ASSERT_TRUE(
        RunUntil([&] { return ScanNotes().find("Появление сигнала") != std::string::npos; }));
    ASSERT_EQ(boxes.notices.size(), 1u);
    EXPECT_EQ(boxes.notices[0].text, "Мало дискового пространства < 2 Мб");
    EXPECT_EQ(boxes.notices[0].caption, "ВНИМАНИЕ !");
    EXPECT_TRUE(boxes.shown.empty());
}

// Jobs and scans begin once the panel's start-up sync has ended, which a slow set stretches
// over the reading of its bank names: a job's tune and a scan's tunes reach the set after the
// sync, the scan's every point in order, each with its level read before the next tune.
class SyncFirst : public ScanOnAir {
  protected:
    void Prepare() override {
        emulator.SetLatency(std::chrono::milliseconds(5));
        emulator.SetSignalPlan(window_test::Flat(20));  // no signal to step back to
        WriteUnattendedScan();
        std::filesystem::remove(folder.File("ORVEL.CFG"));  // no start-up job
        WriteJob("0003", "Настройка",
                 MakeLines({{"Поле Частота", 10, 11, 1'000'500},
                            {"Панель ДИАПАЗОНЫ", 10, 2},
                            {"Эфир", 9, 3, 0, "Эфир"},
                            {"Кнопка ЗАГРУЗИТЬ", 10, 13},
                            {"Кнопка ПУСК", 10, 17}}));
    }
    // Not ScanOnAir's: the sync's frames are kept, and the test begins before the sync.
    void SetUp() override { window_test::OnAir<emulators::CivEmulator>::SetUp(); }

    struct Tune {
        std::size_t frame;
        uint32_t frequency;
    };
    // The tunes the set heard, once it heard 12 of them; syncEnd is the frame of the sync's
    // last reading (a bank name, the frequency, the mode).
    std::vector<Tune> Tunes(std::size_t& syncEnd) {
        EXPECT_TRUE(RunUntil([&] { return Tuned().size() >= 12; }, 20'000));
        frames_ = emulator.ReceivedFrames();
        std::vector<Tune> tunes;
        for (std::size_t i = 0; i < frames_.size(); ++i) {
            if (Is(i, 0x1a, 0x03) || Is(i, 0x03) || Is(i, 0x04)) syncEnd = i;
            if (frames_[i].size() != 11 || !Is(i, 0x05)) continue;
            const auto hz = emulators::DecodeBcdLeastFirst(std::span(frames_[i]).subspan(5, 5));
            tunes.push_back({i, uint32_t(hz.value_or(0) / 100)});
        }
        return tunes;
    }
    // From the last tune of `first` on: ten points 10 kHz apart, each read before the next.
    void ExpectPointsInOrder(const std::vector<Tune>& tunes, uint32_t first) {
        std::size_t k = 0;
        while (k + 1 < tunes.size() && tunes[k + 1].frequency != first + 100) ++k;
        ASSERT_LT(k + 10, tunes.size());
        for (uint32_t point = first; point < first + 1000; point += 100, ++k) {
            EXPECT_EQ(tunes[k].frequency, point);
            bool read = false;
            for (std::size_t i = tunes[k].frame; i < tunes[k + 1].frame; ++i)
                read |= Is(i, 0x15, 0x02);
            EXPECT_TRUE(read) << point;
        }
    }
    bool Is(std::size_t i, uint8_t command, int sub = -1) const {
        const auto& frame = frames_[i];
        return frame.size() > 5 && frame[4] == command &&
               (sub < 0 || (frame.size() > 6 && frame[5] == sub));
    }
    std::vector<emulators::Bytes> frames_;
};

TEST_F(SyncFirst, AStartPressedDuringTheSyncScansAfterIt) {
    Load(0, MakeRange(1'000'000, 1'009'900, 100));
    orvel.SlotIndex = 0;
    orvel.SwitchToTab(2);
    orvel.StartButton();
    EXPECT_FALSE(orvel.Running);
    std::size_t syncEnd = 0;
    const std::vector<Tune> tunes = Tunes(syncEnd);
    ASSERT_FALSE(tunes.empty());
    EXPECT_GT(tunes.front().frame, syncEnd);
    ExpectPointsInOrder(tunes, 1'000'000);
}

TEST_F(SyncFirst, AJobStartedDuringTheSyncRunsItsLinesAfterIt) {
    orvel.MacroJobName = "0003";
    PostPrivateMessage(&orvel, PostRunMacro);
    std::size_t syncEnd = 0;
    const std::vector<Tune> tunes = Tunes(syncEnd);
    ASSERT_FALSE(tunes.empty());
    EXPECT_GT(tunes.front().frame, syncEnd);
    EXPECT_EQ(tunes.front().frequency, 1'000'500u);
    ExpectPointsInOrder(tunes, 1'000'000);
}

// The panel's settings button (or its command) asks the main window, which opens the
// panel's scan-settings dialog.
TEST_F(OnAir, TheScanSettingsCommandOpensThePanelsDialog) {
    RunJob(MakeLines({{"Установка Параметров", 0, 435}}));
    ASSERT_FALSE(orvel.JobRunning);
    ui::ServeFor(100);
    const IC8500* panel = Ic8500Panel(orvel);
    ASSERT_NE(panel, nullptr);
    ASSERT_NE(panel->ScanSettingsDialog(), nullptr);
    EXPECT_TRUE(panel->ScanSettingsDialog()->IsVisible());
}

// The receiver panel executes its lines and answers each; an object it does not have fails
// there, and the job goes on.
TEST_F(OnAir, ThePanelAnswersItsLinesAndTheJobGoesOn) {
    const int answers = arrivals[PostJobStep];
    RunJob(MakeLines({{"Уровень Сквэлша", 0, 419, 64}, {"?", 0, 999}, {"Панель ГРУППА", 10, 3}}));
    ASSERT_FALSE(orvel.JobRunning);
    EXPECT_EQ(orvel.RunLines[0].ReturnCode, 0);
    EXPECT_EQ(emulator.State().squelchLevel, 64);
    EXPECT_EQ(orvel.RunLines[1].ReturnCode, 1);
    EXPECT_EQ(orvel.RunLines[1].Message, "Нет доступа к объекту");
    EXPECT_EQ(orvel.WorkMode, 3);
    EXPECT_EQ(arrivals[PostJobStep] - answers, 3);
    EXPECT_TRUE(boxes.shown.empty());
}

// What a line of the receiver panel answers decides a COND line after it: a setting the
// receiver takes is done, one it refuses is not, nor is a bank the panel does not have.
TEST_F(OnAir, ACondLineFollowsTheAnswerOfThePanel) {
    RunJob(MakeLines({{"Аттенюатор 20", 0, 416},
                      {"Панель ГРУППА", 10, 3, 0, "", true},
                      {"Банк", 0, 427, 25},
                      {"Панель ДИАПАЗОНЫ", 10, 2, 0, "", true}}));
    ASSERT_FALSE(orvel.JobRunning);
    EXPECT_EQ(orvel.RunLines[0].ReturnCode, 0);
    EXPECT_EQ(orvel.RunLines[0].Message, "");
    EXPECT_EQ(orvel.RunLines[2].ReturnCode, 2);
    EXPECT_EQ(orvel.RunLines[2].Message, "Не существует указанного банка");
    EXPECT_EQ(orvel.WorkMode, 3);  // the first COND line ran, the second did not
    EXPECT_EQ(orvel.RunLines[3].Time, "");

    emulator.SetRefuseAll(true);
    RunJob(MakeLines({{"Аттенюатор 20", 0, 416}, {"Панель ДИАПАЗОНЫ", 10, 2, 0, "", true}}));
    ASSERT_FALSE(orvel.JobRunning);
    EXPECT_EQ(orvel.RunLines[0].ReturnCode, 1);
    EXPECT_EQ(orvel.RunLines[0].Message, "Ошибка обращения к приемнику(выключен)");
    EXPECT_EQ(orvel.RunLines[1].Time, "");  // skipped
    EXPECT_EQ(orvel.WorkMode, 3);
    EXPECT_TRUE(boxes.shown.empty());
}

// A set that hears the panel's lines and never answers them (its bus still echoes): each line
// fails as the main window's lines do (message 39), so the COND lines after them do not tune;
// the job goes on to its end.
TEST_F(OnAir, APanelLineTheSetNeverAnswersFailsAndItsCondLineIsSkipped) {
    emulator.SetSilent(true);
    RunJob(MakeLines({{"Кнопка Атт 10 дБ", 0, 415},
                      {"Поле Частота", 10, 11, 1'234'500, "", true},
                      {"Кнопка Атт 20 дБ", 0, 416},
                      {"Поле Частота", 10, 11, 1'456'700, "", true},
                      {"Панель ГРУППА", 10, 3}}));
    ASSERT_FALSE(orvel.JobRunning);
    for (const std::size_t i : {0u, 2u}) {
        EXPECT_EQ(orvel.RunLines[i].ReturnCode, 1) << i;
        EXPECT_EQ(orvel.RunLines[i].Message, "Ошибка обращения к приемнику(выключен)") << i;
        EXPECT_EQ(orvel.RunLines[i + 1].Time, "") << i;  // skipped
    }
    EXPECT_EQ(orvel.WorkMode, 3);
    const std::vector<uint32_t> tuned = Tuned();
    EXPECT_EQ(std::count(tuned.begin(), tuned.end(), 1'234'500u), 0);
    EXPECT_EQ(std::count(tuned.begin(), tuned.end(), 1'456'700u), 0);
    EXPECT_TRUE(boxes.shown.empty());
}

}  // namespace
