// ORVEL.CFG: the file as it is written, read back, and the start-up job it composes.
#include "app/orvel_cfg.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "state/cp1251.h"
#include "state/etl.h"
#include "state/fdx.h"
#include "state/meg.h"
#include "state/stamp_clock.h"
#include "state/user_dp.h"
#include "state/user_freq.h"
#include "state/user_job.h"
#include "tests/app/window_fixture.h"
#include "tests/state/temp_dir.h"

namespace {

using window_test::WindowTest;
using window_test::WithFileSizeLimit;

std::string Golden(const std::string& name) {
    return ReadBytes(std::string(ORVEL_APP_GOLDEN_DIR) + "/" + name);
}

// What a start-up job line does, in a form that reads as the lines are meant.
struct Line {
    std::string DCL;
    uint32_t TAB;
    uint32_t OBJ;
    std::string STR = {};
    uint8_t COND = 0;
    friend bool operator==(const Line&, const Line&) = default;
};

std::ostream& operator<<(std::ostream& out, const Line& l) {
    return out << "{" << l.DCL << ", " << l.TAB << ", " << l.OBJ << ", \"" << l.STR << "\", "
               << int(l.COND) << "}";
}

std::vector<Line> StartupJob(const FDX& fdx) {
    std::vector<Line> lines;
    for (int32_t i = 0; i < fdx.JobLineCount; ++i) {
        const JobStr& s = fdx.RunLines[std::size_t(i)];
        lines.push_back({s.DCL, s.TAB, s.OBJ, s.STRING ? s.STR : std::string(), s.COND});
    }
    return lines;
}

const Line kLoad{"Кнопка ЗАГРУЗИТЬ", 10, 13, "", 1};
const Line kRangesPage{"Панель ДИАПАЗОНЫ", 10, 2};
const Line kBankPage{"Панель БАНК", 10, 1};
const Line kJobPage{"Панель ЗАДАНИЕ", 10, 4};
const Line kReceiverPage{"Панель ПРИЕМНИК IC-R8500", 10, 0};

class OrvelCfg : public ::testing::Test {
  protected:
    void SetUp() override {
        StampClock::Set([] { return LocalTime{7, 3, 2001, 9, 5, 30}; });
        fdx.ProgramDir = dir.path().string() + "/";
        fdx.MessageBox = [this](const FDX&, const MessageRequest& r) {
            shown.push_back(r.text);
            waited.push_back(r.waits);
            return true;
        };
    }
    void TearDown() override { StampClock::Set({}); }

    // The settings golden/orvel_no_receiver.cfg holds.
    void SetFirstPart() {
        fdx.MacroJobName = "";
        fdx.TriggerJobName = "0005";
        fdx.ShowGrid = 1;
        fdx.OptLg = 1;
        fdx.PrinterSet = 1;
        fdx.PrinterJournal = 1;
        fdx.PrinterLandscape = 0;
        fdx.PrinterResolution = 600;
        fdx.PrinterFont = "Courier New Cyr,10";
    }

    // The state golden/orvel_slots.cfg holds: slot 0 a range, slot 3 a range with its etalon,
    // slot 7 a range, a bank with a measurement set, a job and a group.
    void SetStation() {
        fdx.ReceiverType = 4;
        fdx.MacroJobName = "0002";
        fdx.ShowGrid = 1;
        fdx.PrinterSet = 1;
        fdx.PrinterLandscape = 1;
        fdx.PrinterResolution = 300;
        fdx.PrinterFont = "Arial Cyr,12";
        for (std::size_t k = 0; k < fdx.Calibration.size(); ++k)
            fdx.Calibration[k] = -400 + 50 * int32_t(k);
        fdx.ForeColor = 65280;
        fdx.BackColor = 16777215;
        fdx.ScanSlots.assign(kScanSlotCount, Bank{});
        aviation.Identifier = "Авиация";
        fm.Identifier = "Радиовещание FM";
        morning.Identifier = "Утро";
        links.Identifier = "Связь";
        UseSlot(0, aviation, nullptr);
        UseSlot(3, fm, &morning);
        UseSlot(7, links, nullptr);
        posts.Identifier = "Посты";
        set.Identifier = "05-03-2001 10:00:00";
        fdx.CurrentBank = &posts;
        fdx.MeasurementSet = &set;
        fdx.BankStored = 1;
        fdx.MeasurementSetSaved = 1;
        job.Identifier = "Утренний обход";
        fdx.EditJob = &job;
        fdx.EditJobStored = 1;
        fdx.GroupName = "Вся авиация";
    }
    void UseSlot(std::size_t i, UserDp& range, Etl* etalon) {
        fdx.ScanSlots[i].InUse = 1;
        fdx.ScanSlots[i].Range = &range;
        fdx.ScanSlots[i].Identifier = range.Identifier;
        fdx.ScanSlots[i].EtalonRecord = etalon;
        fdx.ScanSlots[i].HasEtalon = etalon != nullptr;
    }

    void Give(std::initializer_list<std::string_view> lines) {
        std::string bytes;
        for (const auto line : lines) bytes += Utf8ToCp1251(line) + "\r\n";
        WriteBytes(dir.File(kOrvelCfgName), bytes);
    }
    std::string Written() const { return ReadBytes(dir.File(kOrvelCfgName)); }

    TempDir dir;
    FDX fdx;
    std::vector<std::string> shown;
    std::vector<bool> waited;
    UserDp aviation, fm, links;
    Etl morning;
    UserFreq posts;
    Meg set;
    UserJob job;
};

TEST_F(OrvelCfg, WithoutAReceiverTypeOnlyTheFirstPartIsWritten) {
    SetStation();
    SetFirstPart();
    fdx.ReceiverType = 0;
    ASSERT_TRUE(WriteOrvelCfg(fdx));
    EXPECT_EQ(Written(), Golden("orvel_no_receiver.cfg"));

    // A change that needs a restart keeps the receiver's state out the same way.
    fdx.ReceiverType = 4;
    fdx.RestartPending = 1;
    ASSERT_TRUE(WriteOrvelCfg(fdx));
    EXPECT_EQ(Written(), Golden("orvel_no_receiver.cfg"));
    EXPECT_TRUE(shown.empty());
}

TEST_F(OrvelCfg, WritesCalibrationColoursSlotsItemsAndGroupForAConfiguredReceiver) {
    SetStation();
    ASSERT_TRUE(WriteOrvelCfg(fdx));
    EXPECT_EQ(Written(), Golden("orvel_slots.cfg"));
}

TEST_F(OrvelCfg, ABankWithoutItsMeasurementSetIsKeptAsTheBank) {
    SetStation();
    fdx.MeasurementSetSaved = 0;
    ASSERT_TRUE(WriteOrvelCfg(fdx));
    EXPECT_NE(Written().find(Utf8ToCp1251("\r\nБанк=Посты\r\nЗадание=")), std::string::npos);
    // A set deleted since it was loaded leaves its bank to be restored.
    fdx.MeasurementSetSaved = 1;
    fdx.MeasurementSet = nullptr;
    ASSERT_TRUE(WriteOrvelCfg(fdx));
    EXPECT_NE(Written().find(Utf8ToCp1251("\r\nБанк=Посты\r\n")), std::string::npos);
    EXPECT_EQ(Written().find(Utf8ToCp1251("Измерения")), std::string::npos);
}

TEST_F(OrvelCfg, AFileThatCannotBeWrittenKeepsTheOldOne) {
    Give({"Макро=0001"});
    SetStation();
    WithFileSizeLimit(100, [&] { EXPECT_FALSE(WriteOrvelCfg(fdx)); });
    EXPECT_EQ(Cp1251ToUtf8(Written()), "Макро=0001\r\n");
    EXPECT_EQ(dir.Entries().size(), 1u);  // no temporary file left behind

    fdx.ProgramDir = dir.File("missing") + "/";
    EXPECT_FALSE(WriteOrvelCfg(fdx));
}

TEST_F(OrvelCfg, ReadsBackWhatItWroteAndRestoresTheItemsWithScanSave) {
    SetStation();
    ASSERT_TRUE(WriteOrvelCfg(fdx));

    FDX next;
    next.ProgramDir = fdx.ProgramDir;
    next.ReceiverType = 4;
    next.OptScanSave = 1;
    ASSERT_TRUE(ReadOrvelCfg(next));
    EXPECT_EQ(next.MacroJobName, "0002");
    EXPECT_EQ(next.TriggerJobName, "");
    EXPECT_EQ(next.ShowGrid, 1);
    EXPECT_EQ(next.OptLg, 0);  // the logarithm line is ORVEL.INI's to decide
    EXPECT_EQ(next.PrinterSet, 1);
    EXPECT_EQ(next.PrinterJournal, 0);
    EXPECT_EQ(next.PrinterLandscape, 1);
    EXPECT_EQ(next.PrinterResolution, 300u);
    EXPECT_EQ(next.PrinterFont, "Arial Cyr,12");
    EXPECT_EQ(next.Calibration, fdx.Calibration);
    EXPECT_EQ(next.ForeColor, 65280u);
    EXPECT_EQ(next.BackColor, 16777215u);
    EXPECT_EQ(next.GroupName, "Вся авиация");
    // clang-format off
    EXPECT_EQ(StartupJob(next), (std::vector<Line>{
        kRangesPage, {"Кнопка  1 Диапазон", 2, 15}, {"Авиация", 9, 3, "Авиация"}, kLoad,
        kRangesPage, {"Кнопка  4 Диапазон", 2, 18},
        {"Радиовещание FM>>Утро", 9, 8, "Радиовещание FM>>Утро"}, kLoad,
        kRangesPage, {"Кнопка  8 Диапазон", 2, 22}, {"Связь", 9, 3, "Связь"}, kLoad,
        kBankPage, {"Посты>>05-03-2001 10:00:00", 9, 7, "Посты>>05-03-2001 10:00:00"}, kLoad,
        kJobPage, {"Утренний обход", 9, 11, "Утренний обход"}, kLoad,
        kReceiverPage}));
    // clang-format on
}

// A close before the start-up job has loaded the items keeps them as they were read, each where
// the program has none of its own yet; once the job has ended, what it loaded is what is saved.
TEST_F(OrvelCfg, ItemsNotYetRestoredAreSavedAsTheyWereRead) {
    SetStation();
    ASSERT_TRUE(WriteOrvelCfg(fdx));
    const std::string saved = Written();
    FDX next;
    next.ProgramDir = fdx.ProgramDir;
    next.ReceiverType = 4;
    next.OptScanSave = 1;
    next.ScanSlots.assign(kScanSlotCount, Bank{});
    ASSERT_TRUE(ReadOrvelCfg(next));
    ASSERT_TRUE(WriteOrvelCfg(next));
    EXPECT_EQ(Written(), saved);

    // A slot loaded meanwhile is saved as loaded; the rest as read.
    UserDp other;
    other.Identifier = "Другой";
    next.ScanSlots[3].InUse = 1;
    next.ScanSlots[3].Range = &other;
    ASSERT_TRUE(WriteOrvelCfg(next));
    const std::string written = Cp1251ToUtf8(Written());
    EXPECT_NE(written.find("Диапазон0=Авиация\r\nДиапазон3=Другой\r\nДиапазон7=Связь\r\n"),
              std::string::npos);
    EXPECT_NE(written.find("Задание=Утренний обход\r\n"), std::string::npos);

    next.UnrestoredItems.clear();  // the start-up job ended
    ASSERT_TRUE(WriteOrvelCfg(next));
    EXPECT_EQ(Cp1251ToUtf8(Written()).find("Авиация"), std::string::npos);
}

TEST_F(OrvelCfg, ABankLineLoadsTheBankThroughTheBankPage) {
    Give({"Банк=Посты", "Диапазон12=Лишний", "Диапазон_эталон=Без номера"});
    fdx.ReceiverType = 4;
    fdx.OptScanSave = 1;
    ASSERT_TRUE(ReadOrvelCfg(fdx));
    // Slots beyond the twelve and keys without a slot number restore nothing.
    EXPECT_EQ(StartupJob(fdx),
              (std::vector<Line>{kBankPage, {"Посты", 9, 6, "Посты"}, kLoad, kReceiverPage}));
}

TEST_F(OrvelCfg, WithoutScanSaveColoursGroupAndItemsHaveNoEffect) {
    SetStation();
    ASSERT_TRUE(WriteOrvelCfg(fdx));
    FDX next;
    next.ProgramDir = fdx.ProgramDir;
    next.ReceiverType = 4;
    ASSERT_TRUE(ReadOrvelCfg(next));
    EXPECT_EQ(next.ForeColor, 0u);
    EXPECT_EQ(next.BackColor, 0u);
    EXPECT_EQ(next.GroupName, "");
    EXPECT_EQ(next.Calibration, fdx.Calibration);  // the calibration is always restored
    EXPECT_EQ(StartupJob(next), (std::vector<Line>{kReceiverPage}));
}

TEST_F(OrvelCfg, AnAutoexecJobIsLoadedAndStartedInsteadOfShowingTheReceiver) {
    Give({"Задание=Вечерний обход"});
    fdx.ReceiverType = 4;
    fdx.OptScanSave = 1;
    fdx.AutoexecJobName = "Утренний обход";
    ASSERT_TRUE(ReadOrvelCfg(fdx));
    // clang-format off
    EXPECT_EQ(StartupJob(fdx), (std::vector<Line>{
        kJobPage, {"Вечерний обход", 9, 11, "Вечерний обход"}, kLoad,
        kJobPage, {"Утренний обход", 9, 11, "Утренний обход"}, kLoad, {"Кнопка ПУСК", 10, 17}}));
    // clang-format on
}

TEST_F(OrvelCfg, AMissingOrEmptyFileQueuesNoStartupJob) {
    fdx.ReceiverType = 4;
    fdx.OptScanSave = 1;
    fdx.AutoexecJobName = "Утренний обход";
    fdx.JobLineCount = 5;
    const auto calibration = fdx.Calibration;
    EXPECT_FALSE(ReadOrvelCfg(fdx));
    EXPECT_EQ(fdx.JobLineCount, 0);
    EXPECT_EQ(fdx.Calibration, calibration);
    EXPECT_EQ(fdx.Calibration[1], 80);  // the start-up values

    Give({});
    EXPECT_FALSE(ReadOrvelCfg(fdx));
    EXPECT_EQ(fdx.JobLineCount, 0);
    EXPECT_EQ(fdx.Calibration, calibration);
}

TEST_F(OrvelCfg, FlagLinesSetTheirFlagWhateverTheirValue) {
    Give({"Сетка=Да", "Принтер=нет", "Принтер_журнал=ДА", "Принтер_альбом=", "Логарифм=Да",
          "Фонт=Arial=12"});
    ASSERT_TRUE(ReadOrvelCfg(fdx));
    EXPECT_EQ(fdx.ShowGrid, 1);
    EXPECT_EQ(fdx.PrinterSet, 1);
    EXPECT_EQ(fdx.PrinterJournal, 1);
    EXPECT_EQ(fdx.PrinterLandscape, 0);  // a line without a value is no line
    EXPECT_EQ(fdx.OptLg, 0);
    EXPECT_EQ(fdx.PrinterFont, "Arial=12");
}

TEST_F(OrvelCfg, CalibrationPointsLeftOutLieHalfwayBetweenTheirNeighbours) {
    // The older layout keeps the points 1..9 only; 1A is made from 1 and 2.
    Give({"Позиция_калибровки1=-300", "Позиция_калибровки2=-99", "Позиция_калибровки2A=-90",
          "Позиция_калибровки3=0", "Позиция_калибровки3A=0", "Позиция_калибровки4=101",
          "Позиция_калибровки8=1000", "Позиция_калибровки9=1280"});
    ASSERT_TRUE(ReadOrvelCfg(fdx));
    EXPECT_EQ(fdx.Calibration[1], -200);  // -300 + 201 / 2
    EXPECT_EQ(fdx.Calibration[3], -90);
    EXPECT_EQ(fdx.Calibration[5], 50);   // given as 0
    EXPECT_EQ(fdx.Calibration[7], 370);  // point 5 kept its start value 640
    EXPECT_EQ(fdx.Calibration[13], 980);
    EXPECT_EQ(fdx.Calibration[15], 1140);
    EXPECT_TRUE(shown.empty());
}

// A calibration that cannot be one (falling, beyond -128.0..128.0 dB, less than 40.0 dB wide)
// is not taken: the receiver's own stays, and the operator hears of it. A file without one
// leaves the receiver's own as it is.
TEST_F(OrvelCfg, ADamagedCalibrationLeavesTheReceiversOwnAndIsTold) {
    const std::string damaged =
        "Калибровка уровня в файле конфигуратора повреждена. Принята калибровка приемника";
    std::array<int32_t, 17> own{};
    for (int k = 0; k < 17; ++k) own[std::size_t(k)] = -200 + 30 * k + (k % 2);
    struct Row {
        std::vector<std::string> lines;
        bool taken;
    };
    const auto point = [](int n, int32_t value) {
        return "Позиция_калибровки" + std::to_string(n) + "=" + std::to_string(value);
    };
    const Row rows[] = {
        {{point(1, 0), point(9, 2147483647)}, false},
        {{point(1, -2147483647 - 1), point(9, 400)}, false},
        {{point(1, -1281), point(9, 0)}, false},
        {{point(1, 0), point(9, 1281)}, false},
        {{point(1, 0), point(4, 1000), point(9, 900)}, false},  // falling
        {{point(1, 0), point(9, 399)}, false},
        {{point(1, -1280), point(9, 1280)}, true},
        {{point(1, -300), point(9, 500)}, true},
        {{"Сетка=Да"}, false},  // none: the receiver's own, without a word
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.lines.front());
        std::string bytes;
        for (const std::string& line : row.lines) bytes += Utf8ToCp1251(line) + "\r\n";
        WriteBytes(dir.File(kOrvelCfgName), bytes);
        fdx.Calibration = own;
        shown.clear();
        waited.clear();
        ASSERT_TRUE(ReadOrvelCfg(fdx));
        if (row.taken) {
            EXPECT_NE(fdx.Calibration, own);
            EXPECT_TRUE(shown.empty());
        } else {
            EXPECT_EQ(fdx.Calibration, own);
            EXPECT_EQ(shown, std::vector<std::string>(row.lines.size() > 1 ? 1 : 0, damaged));
            EXPECT_EQ(waited, std::vector<bool>(shown.size(), false));  // no start waits for it
        }
    }
}

// ---- the main window

class ConfigAtStartup : public WindowTest {
    void Prepare() override {
        Write("ORVEL.INI", {"RECV=4", "SCAN_SAVE=ДА", "AUTOEXEC=0001"});
        Write("JOB/0001/job.cfg",
              {"Идентификатор=Утренний обход", "Кол-во=1", "Дата=01/02/2001", "Время=10:00",
               "STR_NO=0", "DCL=Кнопка ПУСК", "TAB=10", "OBJ=17"});
        std::vector<std::string> lines{"Сетка=Да", "Фон=255"};
        const char* const points[] = {"1",  "1A", "2",  "2A", "3",  "3A", "4",  "4A", "5",
                                      "5A", "6",  "6A", "7",  "7A", "8",  "8A", "9"};
        for (int k = 0; k < 17; ++k)
            lines.push_back("Позиция_калибровки" + std::string(points[k]) + "=" +
                            std::to_string(-400 + 50 * k));
        std::string bytes;
        for (const std::string& line : lines) bytes += Utf8ToCp1251(line) + "\r\n";
        WriteBytes(kOrvelCfgName, bytes);
    }
};

TEST_F(ConfigAtStartup, IsReadBeforeTheLevelAxisIsBuiltAndQueuesTheAutoexecJob) {
    EXPECT_EQ(orvel.ShowGrid, 1);
    EXPECT_EQ(orvel.BackColor, 255u);
    EXPECT_EQ(orvel.Calibration[16], 400);
    EXPECT_EQ(orvel.LevelGrid[0], -400);  // the axis follows the calibration read
    EXPECT_EQ(StartupJob(orvel), (std::vector<Line>{kJobPage,
                                                    {"Утренний обход", 9, 11, "Утренний обход"},
                                                    kLoad,
                                                    {"Кнопка ПУСК", 10, 17}}));
}

TEST_F(ConfigAtStartup, IsWrittenWhenTheCloseIsAccepted) {
    orvel.Show();
    EXPECT_TRUE(orvel.Close());
    const std::string written = Cp1251ToUtf8(Read(kOrvelCfgName));
    const std::string first = "Дата=07/03/2001\r\nВремя=09:05\r\nМакро=\r\nТригер=\r\nСетка=Да\r\n";
    EXPECT_EQ(written.substr(0, first.size()), first);
    EXPECT_NE(written.find("Позиция_калибровки9=400\r\n"), std::string::npos);
}

class FailedStart : public WindowTest {
    void Prepare() override {
        Write(kOrvelCfgName, {"Макро=0001"});
        orvel.OnStartStage = [](uint32_t stage) {
            if (stage == 5) throw std::bad_alloc();
        };
    }
};

TEST_F(FailedStart, NeverOverwritesTheOperatorsFile) {
    ASSERT_FALSE(orvel.Started);
    orvel.Close();
    EXPECT_EQ(Read(kOrvelCfgName), Lines({"Макро=0001"}));
}

}  // namespace
