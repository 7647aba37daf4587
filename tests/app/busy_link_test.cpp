// Requests made while the receiver's link still awaits another reply, through the main window
// and the emulated receivers: a start-up job whose scan and settings begin while the panel's
// start-up synchronisation still talks to the receiver. Every request waits its turn and goes
// out; none is dropped while its caller goes on as if it had been done.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "emulators/aor/ar5000_emulator.h"
#include "tests/app/window_fixture.h"

namespace {

using window_test::kMHz;
using window_test::MakeLines;
using OnAir = window_test::ScanOnAir;

// The points of the range "Эфир": 100.00 .. 100.99 MHz in 10 kHz steps.
std::vector<uint32_t> RangePoints() {
    std::vector<uint32_t> points;
    for (uint32_t f = 100 * kMHz; f <= 100 * kMHz + 9'900; f += 100) points.push_back(f);
    return points;
}

// The frequencies (100 Hz) whose level the IC-R8500 was asked for after it was tuned to them,
// each once, in the order the tunes went out.
std::vector<uint32_t> MeasuredInTurn(const std::vector<emulators::Bytes>& frames) {
    std::vector<uint32_t> measured;
    uint32_t tuned = 0;
    for (const auto& frame : frames) {
        if (frame.size() == 11 && frame[4] == 0x05) {
            tuned = uint32_t(*emulators::DecodeBcdLeastFirst(std::span(frame).subspan(5, 5)) / 100);
        } else if (frame.size() == 7 && frame[4] == 0x15 && frame[5] == 0x02 && tuned != 0 &&
                   (measured.empty() || measured.back() != tuned)) {
            measured.push_back(tuned);
        }
    }
    return measured;
}

// The IC-R8500 starts unattended: its start-up job scans the range "Эфир" (100.00 .. 100.99
// MHz in 10 kHz steps) once the synchronisation, which reads the names of the banks, has ended.
class StartUpScanDuringSync : public window_test::ScanOnAir {
  protected:
    std::string Ini() const override { return ScanOnAir::Ini() + "AUTOEXEC=0002\r\n"; }
    void SetUp() override {
        // The start-up is watched from its first frame on.
        emulator.SetSignalPlan(window_test::Flat(20));
        OnAir::SetUp();
    }
    void Prepare() override {
        WriteUnattendedScan();
        // The synchronisation's answers take longer than a wait's idle slice, so that the
        // job's lines and the scan's steps are served while one of them is awaited.
        emulator.SetLatency(std::chrono::milliseconds(45));
        hooks[PostReceiverState] = [this] { emulator.SetLatency({}); };
    }
};

TEST_F(StartUpScanDuringSync, EveryPointIsTunedInOrderAndMeasuredAfterItsTune) {
    ASSERT_TRUE(RunUntil([&] { return orvel.ScanSlots[0].CyclesDone > 0; }, 60'000));
    // The synchronisation read the bank names (the scan waited for its end).
    int nameReads = 0;
    for (const auto& frame : emulator.ReceivedFrames())
        if (frame.size() == 8 && frame[4] == 0x1A && frame[5] == 0x03) ++nameReads;
    EXPECT_GT(nameReads, 0);

    // Each point of the range was tuned, in order (a point whose level could not be read is
    // tuned again), and its level read after its last tune, before the next point's.
    const std::vector<uint32_t> points = RangePoints();
    std::vector<uint32_t> measured = MeasuredInTurn(emulator.ReceivedFrames());
    measured.resize(std::min(measured.size(), points.size()));
    EXPECT_EQ(measured, points);
    EXPECT_TRUE(boxes.shown.empty());
}

// The IC-R8500's start-up job sets the attenuator, loads the range "Эфир" and starts its scan;
// each answer of the synchronisation takes longer than a wait's idle slice, so that the job
// reaches its start while the synchronisation still reads the names of the banks. Once the
// scan runs, the job goes on setting the attenuator, each setting asked for while a step of
// the scan awaits the receiver.
class StartUpScanAskedWhileBankNamesAreRead : public window_test::ScanOnAir {
  protected:
    std::string Ini() const override { return ScanOnAir::Ini() + "AUTOEXEC=0002\r\n"; }
    void SetUp() override {
        emulator.SetSignalPlan(Staircase());
        OnAir::SetUp();
    }
    void Prepare() override {
        WriteUnattendedScan();
        WriteJob("0002", "Утренний обход",
                 MakeLines({{"Кнопка Атт 10 дБ", 0, 415},
                            {"Панель ДИАПАЗОНЫ", 10, 2},
                            {"Эфир", 9, 3, 0, "Эфир"},
                            {"Кнопка ЗАГРУЗИТЬ", 10, 13, 0, "", true},
                            {"Кнопка ПУСК", 10, 17},
                            {"Кнопка Атт выкл", 0, 414},
                            {"Кнопка Атт 10 дБ", 0, 415},
                            {"Кнопка Атт 20 дБ", 0, 416}}));
        emulator.SetLatency(std::chrono::milliseconds(45));
        hooks[PostReceiverState] = [this] { emulator.SetLatency({}); };
    }
    // A carrier on each point of the range, weaker than the journal's threshold and unlike
    // its neighbours: a level stored for a point the receiver was not tuned to shows.
    static emulators::SignalPlan Staircase() {
        emulators::SignalPlan plan{20, {}};
        for (uint64_t i = 0; i < 100; ++i)
            plan.signals.push_back({100'000'000 + i * 10'000, int(21 + i * 7 % 25), 10'000});
        return plan;
    }
};

TEST_F(StartUpScanAskedWhileBankNamesAreRead, NothingCutsIntoTheSyncAndEachPointKeepsItsLevel) {
    ASSERT_TRUE(RunUntil([&] { return orvel.ScanSlots[0].CyclesDone > 0; }, 60'000));
    ASSERT_TRUE(RunUntil([&] { return orvel.EditLineCount == 8 && !orvel.JobRunning; }, 10'000));
    const auto frames = emulator.ReceivedFrames();
    // The synchronisation asks who is there, reads the twenty names and the frequency, and
    // nothing of the job or the scan goes out before its mode query.
    std::vector<uint8_t> beforeModeQuery;
    for (const auto& frame : frames) {
        if (frame.size() < 6 || frame[4] == 0x04) break;
        beforeModeQuery.push_back(frame[4]);
    }
    std::vector<uint8_t> sync{0x19};
    sync.insert(sync.end(), 20, 0x1A);
    sync.push_back(0x03);
    EXPECT_EQ(beforeModeQuery, sync);

    // Each point of the range was tuned, in order (a point whose level could not be read is
    // tuned again), and a level read after its last tune, before the next point's; each point
    // keeps the level of its own frequency.
    const std::vector<uint32_t> points = RangePoints();
    std::vector<uint32_t> measured = MeasuredInTurn(frames);
    measured.resize(std::min(measured.size(), points.size()));
    EXPECT_EQ(measured, points);
    const Bank& slot = orvel.ScanSlots[0];
    for (uint32_t f : points)
        EXPECT_EQ(slot.Current[std::size_t(slot.CellOf(f))], Staircase().LevelAt(f * 100ull)) << f;

    // The job's settings went out, each in its turn, and answered their lines.
    for (int i = 0; i < 8; ++i) EXPECT_EQ(orvel.EditLines[std::size_t(i)].ReturnCode, 0) << i;
    EXPECT_EQ(emulator.State().attenuatorDb, 20);
    EXPECT_TRUE(boxes.shown.empty());
}

// The AR5000's start-up job sets the volume, the attenuator and the antenna while the
// synchronisation still reads the receiver's state; a COND line follows them.
class Ar5000JobDuringSync : public window_test::OnAir<emulators::Ar5000Emulator> {
  protected:
    std::string Ini() const override { return "COM=1\r\nSPEED=5\r\nRECV=7\r\nAUTOEXEC=0002\r\n"; }
    void Prepare() override {
        Write("ORVEL.CFG", {"Сетка=Да"});
        WriteJob("0002", "Настройка",
                 MakeLines({{"Уровень Звука", 0, 715, 51},
                            {"Кнопка Атт 20 дБ", 0, 731},
                            {"Выбор антенны №2", 0, 742},
                            {"Панель ГРУППА", 10, 3, 0, "", true}}));
        // Each answer of the synchronisation is complete only after a wait's idle slice.
        emulator.SetSplitLines(true, std::chrono::milliseconds(45));
        hooks[PostReceiverState] = [this] { emulator.SetSplitLines(false); };
    }
};

TEST_F(Ar5000JobDuringSync, EverySettingReachesTheReceiverInOrderAndAnswersItsLine) {
    ASSERT_TRUE(RunUntil([&] { return orvel.EditLineCount == 4 && !orvel.JobRunning; }, 60'000));
    ASSERT_TRUE(RunUntil([&] { return arrivals[PostReceiverState] > 0; }, 10'000));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(orvel.EditLines[std::size_t(i)].ReturnCode, 0) << i;
    EXPECT_EQ(orvel.WorkMode, 3);  // the COND line ran
    std::vector<std::string> settings;
    for (const std::string& line : emulator.ReceivedLines())
        if (line.empty() || line == "VL051" || line == "AT2" || line == "AN2")
            settings.push_back(line);
    EXPECT_EQ(settings, (std::vector<std::string>{"VL051", "AT2", "AN2"}));
    EXPECT_EQ(emulator.State().volume, 51);
    EXPECT_EQ(emulator.State().antenna, '2');
    EXPECT_TRUE(boxes.shown.empty());
}

// The IC-R9000's start-up job tunes three times while the synchronisation runs.
class Ic9000TunesDuringSync : public window_test::ScanOnAir {
  protected:
    Ic9000TunesDuringSync() : ScanOnAir(5, emulators::kIcR9000) {}
    std::string Ini() const override { return ScanOnAir::Ini() + "AUTOEXEC=0002\r\n"; }
    void SetUp() override {
        emulator.SetSignalPlan(window_test::Flat(20));
        OnAir::SetUp();
    }
    void Prepare() override {
        Write("ORVEL.CFG", {"Сетка=Да"});
        WriteJob("0002", "Настройка",
                 MakeLines({{"Частота", 10, 11, 1'005'000},
                            {"Частота", 10, 11, 2'000},
                            {"Частота", 10, 11, 19'990'000}}));
        emulator.SetLatency(std::chrono::milliseconds(45));
        hooks[PostReceiverState] = [this] { emulator.SetLatency({}); };
    }
};

TEST_F(Ic9000TunesDuringSync, EveryTuneOfTheJobReachesTheReceiverInOrder) {
    ASSERT_TRUE(RunUntil([&] { return orvel.EditLineCount == 3 && !orvel.JobRunning; }, 60'000));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(orvel.EditLines[std::size_t(i)].ReturnCode, 0) << i;
    EXPECT_EQ(Tuned(), (std::vector<uint32_t>{1'005'000, 2'000, 19'990'000}));
    EXPECT_EQ(emulator.State().frequencyHz, 1'999'000'000u);
    EXPECT_TRUE(boxes.shown.empty());
}

// A job's tune that never reaches the receiver fails its line, and a COND line after it does
// not run.
TEST_F(OnAir, AJobTuneTheReceiverDoesNotAnswerFailsItsLine) {
    emulator.SetDead(true);
    RunJob(MakeLines({{"Частота", 10, 11, 1'005'000}, {"Панель ГРУППА", 10, 3, 0, "", true}}));
    ASSERT_FALSE(orvel.JobRunning);
    EXPECT_EQ(orvel.RunLines[0].ReturnCode, 1);
    EXPECT_EQ(orvel.RunLines[0].Message, "Ошибка обращения к приемнику(выключен)");
    EXPECT_NE(orvel.WorkMode, 3);
    EXPECT_TRUE(boxes.shown.empty());
}

// A modulation or a step the receiver never answers, its port open, was not taken: each line
// fails as the tune does, and its COND line does not run. Answered, they pass.
TEST_F(OnAir, AJobSettingTheReceiverDoesNotAnswerFailsItsLine) {
    const auto lines = MakeLines({{"Мод AM", 10, 21},
                                  {"Панель ГРУППА", 10, 3, 0, "", true},
                                  {"Шаг", 10, 12, 125},
                                  {"Панель ГРУППА", 10, 3, 0, "", true}});
    emulator.SetDead(true);
    RunJob(lines);
    ASSERT_FALSE(orvel.JobRunning);
    for (const std::size_t i : {0u, 2u}) {
        EXPECT_EQ(orvel.RunLines[i].ReturnCode, 1) << i;
        EXPECT_EQ(orvel.RunLines[i].Message, "Ошибка обращения к приемнику(выключен)") << i;
    }
    EXPECT_NE(orvel.WorkMode, 3);
    EXPECT_TRUE(boxes.shown.empty());

    emulator.SetDead(false);
    RunJob(lines);
    ASSERT_FALSE(orvel.JobRunning);
    for (const std::size_t i : {0u, 2u}) EXPECT_EQ(orvel.RunLines[i].ReturnCode, 0) << i;
    EXPECT_EQ(orvel.WorkMode, 3);
    EXPECT_EQ(emulator.State().stepCode, 8);
}

}  // namespace
