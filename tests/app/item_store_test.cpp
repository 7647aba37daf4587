// Saving, loading, deleting and making stored items: the item store on its own, over a program
// folder and a stand-in for the main window.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/app/store_fixture.h"

namespace {

using Rows = std::vector<std::string>;

// ---- the item store on its own

class StoreOnItsOwn : public StandaloneStore {
    void Prepare() override { WriteRange("0002", "Авиация", 1180000, 1370000); }
};

TEST_F(StoreOnItsOwn, ARangeMadeFromASlotIsStoredAndGoesWithItsFolderOnceNoSlotHoldsIt) {
    window.SwitchToTab(2);
    Bank& slot = fdx.ScanSlots[0];  // as the range window fills it from a marked span
    slot.Start = 1000000;
    slot.End = 1080000;
    slot.Step = 250;
    slot.Modulation = 'W';
    slot.Name = "FM";
    slot.InUse = 1;
    store.MakeRangeFromSlot();
    JournalItem* fm = Child(store.RangeFolder, "FM");
    ASSERT_NE(fm, nullptr);
    EXPECT_EQ(fm->As<UserDp>()->FolderName, "01000001");
    EXPECT_EQ(journal.Selected(), fm);
    EXPECT_EQ(slot.Range, fm->As<UserDp>());
    EXPECT_EQ(window.CodesTo(StoreWindow::Diap), std::vector<uint32_t>{PostRangeRedrawAll});

    // The next start finds it in its folder.
    FDX nextFdx;
    nextFdx.ProgramDir = fdx.ProgramDir;
    Journal nextJournal;
    FakeMainWindow nextWindow{nextFdx};
    ItemStore next{nextFdx, nextJournal, nextWindow};
    next.BuildJournal();
    EXPECT_EQ(Names(Child(next.RangeFolder, "FM")),
              (Rows{"Fн= 100.0000 МГц", "Fк= 108.0000 МГц", "Шаг= 25.0 КГц", "Модуляция=W",
                    "Дата=07/03/2001", "Время=09:05"}));

    store.DeleteItem();
    EXPECT_EQ(Messages(), Rows{"Элемент нельзя удалить, поскольку он используется в работе "});
    journal.Select(Child(store.RangeFolder, "Авиация"));
    store.LoadItem();  // into the same slot
    journal.Select(fm);
    store.DeleteItem();
    EXPECT_EQ(Messages().back(), "Диапазон и все его эталоны будут удалены.Вы уверены?");
    EXPECT_FALSE(Exists("DP/01000001"));
    EXPECT_EQ(Names(store.RangeFolder), Rows{"Авиация"});
    EXPECT_EQ(slot.Range->Identifier, "Авиация");
}

// ---- saving a bank and its measurements

class BankSaving : public StandaloneStore {
  protected:
    void Prepare() override {}
    void SetWorkingChannels() {
        fdx.Channels[0] =
            Mt{.Frequency = 1455000, .Step = 125, .Modulation = 'F', .Identifier = "Пост"};
        fdx.Channels[1] =
            Mt{.Frequency = 4339200, .Step = 250, .Modulation = 'A', .Identifier = ""};
        fdx.ChannelCount = 2;
        window.SwitchToTab(1);
    }
};

TEST_F(BankSaving, StoresTheWorkingChannelsOnceAndThenHasNothingToStore) {
    SetWorkingChannels();
    store.SaveItem();
    EXPECT_EQ(Read("FREQ/0001/freq.cfg"), Golden("new_bank_freq.cfg"));
    ASSERT_EQ(Names(store.BankFolder), Rows{"Банк частот-1"});
    JournalItem* bank = store.BankFolder->FirstChild();
    EXPECT_EQ(Names(bank),
              (Rows{"Дата=07/03/2001", "Время=09:05", " 145.5000 F - Пост", " 433.9200 A - "}));
    EXPECT_EQ(store.CurrentBankItem, bank);
    EXPECT_EQ(fdx.CurrentBank, bank->As<UserFreq>());
    EXPECT_EQ(fdx.BankName, "Банк частот-1");
    EXPECT_EQ(journal.Selected(), bank);
    EXPECT_TRUE(Messages().empty());

    store.SaveItem();
    EXPECT_EQ(Messages(), Rows{"Нет информации для записи"});
    EXPECT_EQ(store.BankFolder->Children().size(), 1u);
}

TEST_F(BankSaving, AChangedListUpdatesItsBankAndAnIdenticalOneMakesNone) {
    SetWorkingChannels();
    store.SaveItem();
    fdx.Channels[0].Step = 100;
    fdx.BankChanged = 1;
    store.SaveItem();
    EXPECT_EQ(Messages(), Rows{"Банк частот существует и обновлен!"});
    EXPECT_NE(Read("FREQ/0001/freq.cfg").find("F_STEP=100\r\n"), std::string::npos);

    // The same list again, as a receiver panel hands it over: nothing new is made.
    fdx.BankStored = 0;
    store.SaveItem();
    EXPECT_EQ(Messages().back(), "Банк частот с данными параметрами уже существует!");
    EXPECT_EQ(store.BankFolder->Children().size(), 1u);
    EXPECT_FALSE(Exists("FREQ/0002"));
}

TEST_F(BankSaving, ClearingTheBankTabEmptiesTheWorkingBankAndAJobIsNotAsked) {
    SetWorkingChannels();
    store.SaveItem();
    Answer({false});
    store.ClearPanel();
    EXPECT_EQ(Messages(), Rows{"Вы уверены что хотите очистить Панель ?"});
    EXPECT_EQ(fdx.ChannelCount, 2);

    JobStr line;
    fdx.JobLine = &line;
    fdx.JobRunning = 1;
    store.ClearPanel();
    fdx.JobRunning = 0;
    EXPECT_EQ(Messages().size(), 1u);
    EXPECT_EQ(line.Message, "");  // not even asked in the job line
    EXPECT_EQ(fdx.ChannelCount, 0);
    EXPECT_EQ(fdx.BankName, "");
    EXPECT_EQ(fdx.BankStored, 0);
    EXPECT_EQ(store.BankFolder->Children().size(), 1u);  // the stored bank stays
}

class BankSavingOverLeftovers : public BankSaving {
    // A folder that no bank shows, perhaps left by a bank deleted elsewhere.
    void Prepare() override { Write("FREQ/0001/0001.meg", {"F=1455000", "FL=10"}); }
};

TEST_F(BankSavingOverLeftovers, ANewBankNeverTakesANumberInUseOnDisk) {
    SetWorkingChannels();
    store.SaveItem();
    EXPECT_EQ(Names(store.BankFolder), Rows{"Банк частот-2"});
    EXPECT_TRUE(Exists("FREQ/0002/freq.cfg"));
    EXPECT_EQ(Read("FREQ/0001/0001.meg"), Lines({"F=1455000", "FL=10"}));
}

class MeasurementSets : public StandaloneStore {
    void Prepare() override {
        Write("FREQ/0001/freq.cfg",
              {"Идентификатор=Посты", "Кол-во=2", "F=1455000", "F_MOD=F", "F=4339200", "F_MOD=A"});
        for (const char* number : {"0001", "0003"}) {
            Write(std::string("FREQ/0001/") + number + ".etl",
                  {std::string("Идентификатор=Серия ") + number, "Кол-во_частот=2",
                   "Кол-во_измерений=1"});
            Write(std::string("FREQ/0001/") + number + ".meg", {"F=1455000", "FL=1"});
        }
    }

  protected:
    // Loads the bank and gives it a series of three measurements, unsaved, in the bank tab.
    void MeasureSeries() {
        journal.Select(Child(store.BankFolder, "Посты"));
        store.LoadItem();
        fdx.ChannelLevels = {{10, 10, 20}, {0, 255, 7}};
        fdx.MeasurementCapacity = 3;
        fdx.MeasurementCount = 3;
        fdx.MeasurementStart = {5, 3, 2001, 10, 0, 0};
        fdx.MeasurementEnd = {5, 3, 2001, 10, 0, 10};
        fdx.HistoriesAllocated = 1;
        fdx.MeasurementsUnsaved = 1;
        window.SwitchToTab(1);
        shown.clear();
    }
};

TEST_F(MeasurementSets, ASetTakesTheLowestFreeNumberAndLoadsBackWhole) {
    MeasureSeries();
    store.SaveItem();
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Read("FREQ/0001/0002.etl"), Golden("measurement_set.etl"));
    EXPECT_EQ(Read("FREQ/0001/0002.meg"), Golden("measurement_set.meg"));
    JournalItem* bank = Child(store.BankFolder, "Посты");
    JournalItem* set = Child(bank, "05-03-2001 10:00:00");
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(set->As<Meg>()->Name, "0002");
    EXPECT_EQ(journal.Selected(), set);
    EXPECT_EQ(fdx.MeasurementSetSaved, 1);
    EXPECT_EQ(fdx.MeasurementsUnsaved, 0);

    fdx.ChannelLevels = {{1}, {2}};
    fdx.MeasurementStart = {};
    window.SwitchToTab(0);
    store.LoadItem();
    EXPECT_EQ(fdx.ChannelLevels, (std::vector<std::vector<uint8_t>>{{10, 10, 20}, {0, 255, 7}}));
    EXPECT_EQ(fdx.MeasurementStart, (std::array<int32_t, 6>{5, 3, 2001, 10, 0, 0}));
    EXPECT_EQ(fdx.MeasurementCount, 3);
    EXPECT_EQ(fdx.MeasurementSet, set->As<Meg>());
    EXPECT_EQ(fdx.WorkMode, 1);
    EXPECT_FALSE(window.waitShown);
}

TEST_F(MeasurementSets, ASetThatCannotBeWrittenWholeIsReportedAndLeavesNothing) {
    MeasureSeries();
    // Levels long enough that only the header fits on the "disk".
    fdx.ChannelLevels.assign(2, std::vector<uint8_t>(4000));
    for (std::size_t i = 0; i < 4000; ++i) fdx.ChannelLevels[0][i] = uint8_t(i % 2);
    fdx.MeasurementCapacity = fdx.MeasurementCount = 4000;
    WithFileSizeLimit(2000, [&] { store.SaveItem(); });
    EXPECT_EQ(Messages(), Rows{"Ошибка записи файла - списка!"});
    EXPECT_FALSE(Exists("FREQ/0001/0002.etl"));
    EXPECT_FALSE(Exists("FREQ/0001/0002.meg"));
    EXPECT_EQ(Child(store.BankFolder, "Посты")->Children().size(), 6u);  // 4 rows, 2 sets
    EXPECT_EQ(fdx.MeasurementsUnsaved, 1);
    EXPECT_EQ(fdx.MeasurementSetSaved, 0);

    store.SaveItem();  // the disk has room again
    EXPECT_TRUE(Exists("FREQ/0001/0002.meg"));
    EXPECT_EQ(fdx.MeasurementsUnsaved, 0);
}

// ---- etalons

class Etalons : public StandaloneStore {
    void Prepare() override { WriteRange("0001", "FM", 1000000, 1080000); }

  protected:
    void ScanIntoSlot() {
        journal.Select(Child(store.RangeFolder, "FM"));
        store.LoadItem();
        Bank& slot = fdx.ScanSlots[0];
        slot.PointCount = 3201;
        for (std::size_t i = 0; i < 3201; ++i) slot.Current[i] = uint8_t(i % 2 ? 40 : 90);
        slot.CycleCount = 4;
        slot.Flag4 = 1;
        window.SwitchToTab(2);
    }
};

TEST_F(Etalons, AnEtalonIsStoredOnlyWhenAllItsFilesAreWritten) {
    ScanIntoSlot();
    WithFileSizeLimit(3000, [&] { store.SaveItem(); });
    EXPECT_EQ(Messages(), Rows{"Ошибка записи файла - списка!"});
    for (const char* extension : {".etl", ".cur", ".min", ".sum", ".max", ".obr"})
        EXPECT_FALSE(Exists(std::string("DP/0001/0001") + extension)) << extension;
    EXPECT_EQ(fdx.ScanSlots[0].Flag4, 1);  // the results are still unsaved

    store.SaveItem();
    JournalItem* etalon = Child(Child(store.RangeFolder, "FM"), "07-03-2001 09:05:30");
    ASSERT_NE(etalon, nullptr);
    EXPECT_EQ(etalon->As<Etl>()->Name, "0001");
    EXPECT_EQ(Names(etalon), (Rows{"Дата=07/03/2001", "Время=09:05", "Кол-во циклов=4"}));
    EXPECT_TRUE(Exists("DP/0001/0001.obr"));
    EXPECT_EQ(fdx.ScanSlots[0].Flag4, 0);
}

// The program killed part way through a save, as a full disk kills a program that does not
// expect it: the file that outgrows the limit ends the process on the spot.
void SaveKilledBeyond(ItemStore& store, rlim_t bytes) {
    const pid_t child = ::fork();
    if (child == 0) {
        const rlimit limit{bytes, bytes};
        ::signal(SIGXFSZ, SIG_DFL);
        ::setrlimit(RLIMIT_FSIZE, &limit);
        store.SaveItem();
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << "the save was not cut";
}

TEST_F(Etalons, ASaveCutShortLeavesNoEtalonForTheNextStart) {
    ScanIntoSlot();
    // Killed writing the current levels, the largest file; then, with every array small, writing
    // the last file of all.
    SaveKilledBeyond(store, 1000);
    std::fill(fdx.ScanSlots[0].Current.begin(), fdx.ScanSlots[0].Current.end(), 0);
    SaveKilledBeyond(store, 60);

    store.CloseJournal();
    store.BuildJournal();
    EXPECT_EQ(Names(Child(store.RangeFolder, "FM")).size(), 6u);  // the rows, no etalon
    EXPECT_EQ(folder.Entries("DP/0001"), Rows{"diap.cfg"});
}

// Arrays first, the header last: a save killed while it writes any of the arrays leaves no
// header, so there is never a set that looks whole before the next start sweeps it.
TEST_F(Etalons, ASaveKilledWritingAnyArrayLeavesNoHeader) {
    ScanIntoSlot();
    Bank& slot = fdx.ScanSlots[0];
    // In the order they are written.
    std::vector<uint8_t> Bank::*const arrays[] = {&Bank::Current, &Bank::Minimum, &Bank::Average,
                                                  &Bank::Maximum, &Bank::Processed};
    for (std::size_t n = 0; n < std::size(arrays); ++n) {
        // Only this array is long (its levels alternate): the save is killed writing it.
        for (const auto other : arrays) std::fill((slot.*other).begin(), (slot.*other).end(), 0);
        for (std::size_t i = 0; i < 3201; ++i) (slot.*arrays[n])[i] = uint8_t(i % 2 ? 40 : 90);
        SaveKilledBeyond(store, 1000);
        for (const std::string& entry : folder.Entries("DP/0001"))
            EXPECT_FALSE(entry.ends_with(".etl")) << entry << ", killed writing array " << n;
    }
}

TEST_F(MeasurementSets, ASaveKilledWritingTheLevelsLeavesNoHeader) {
    MeasureSeries();
    fdx.ChannelLevels.assign(2, std::vector<uint8_t>(4000));
    for (std::size_t i = 0; i < 4000; ++i) fdx.ChannelLevels[0][i] = uint8_t(i % 2);
    fdx.MeasurementCapacity = fdx.MeasurementCount = 4000;
    SaveKilledBeyond(store, 2000);
    EXPECT_FALSE(Exists("FREQ/0001/0002.etl"));
}

// An etalon copied from elsewhere with only its current levels and the operator's notes, and
// notes whose etalon is gone: the start keeps them all, the etalon loads with the arrays it
// lacks cleared, and a new etalon takes no number whose notes are there.
class EtalonsWithoutAllTheirArrays : public Etalons {
    void Prepare() override {
        WriteRange("0001", "FM", 1000000, 1080000);
        Write("DP/0001/0005.etl", {"Идентификатор=Привезенный", "Кол-во_точек=3201"});
        Write("DP/0001/0005.cur", {"FL=7", "FC=3200"});
        Write("DP/0001/0005.txt", {"Заметка"});
        Write("DP/0001/0001.txt", {"Заметка без эталона"});
    }
};

TEST_F(EtalonsWithoutAllTheirArrays, AreKeptAndLoadWithTheMissingArraysCleared) {
    JournalItem* fm = Child(store.RangeFolder, "FM");
    JournalItem* copied = Child(fm, "Привезенный");
    ASSERT_NE(copied, nullptr);
    EXPECT_EQ(Read("DP/0001/0005.txt"), Lines({"Заметка"}));
    journal.Select(copied);
    store.LoadItem();
    Bank& slot = fdx.ScanSlots[0];
    ASSERT_TRUE(slot.HasEtalon);
    fdx.EtalonKind = 0;
    ASSERT_TRUE(fdx.LoadScale(0));
    EXPECT_EQ(slot.Etalon[3200], 7);
    fdx.EtalonKind = 1;  // no .min
    ASSERT_TRUE(fdx.LoadScale(0));
    EXPECT_EQ(slot.Etalon[0], 0);
    EXPECT_EQ(slot.Etalon[3200], 0);

    ScanIntoSlot();
    store.SaveItem();
    EXPECT_TRUE(Exists("DP/0001/0002.etl"));
    EXPECT_FALSE(Exists("DP/0001/0001.etl"));
    EXPECT_EQ(Read("DP/0001/0001.txt"), Lines({"Заметка без эталона"}));
}

// ---- loading

class Loading : public StandaloneStore {
    void Prepare() override {
        WriteRange("0001", "FM", 1000000, 1080000);
        WriteRange("0002", "Авиация", 1180000, 1370000, 83);
        WriteEtalon("DP/0001/0001.etl", {"Идентификатор=Утро", "Кол-во_точек=3201"});
        Write("GRP/0001/grp.cfg",
              {"Идентификатор=Пара", "Кол-во=2", "Диапазон=0002", "Диапазон=0001"});
        Write("SCALE/1455000.cfg",
              {"Идентификатор=Пост", "Fн=1455000", "Fк=1456000", "Шаг=125", "Модуляция=F "});
        Write("JOB/0001/job.cfg",
              {"Идентификатор=Обход", "Кол-во=2", "STR_NO=0", "DCL=Кнопка ПУСК", "TAB=10", "OBJ=17",
               "STR_NO=1", "DCL=Кнопка СТОП", "TAB=10", "OBJ=25"});
        Write("FONO/01030001.cfg", {"Идентификатор=Запись", "Дата=01/03/2001", "Кол-во=2",
                                    "F=1455000", "F_ID=первый", "F=4339200", "F_ID=второй"});
        // Banks with a switched-off channel (its frequency line alone) beside channels the
        // receiver's limits (1000 .. 20000000) hold or not.
        Write("FREQ/0001/freq.cfg",
              {"Идентификатор=Посты", "Кол-во=2", "F=0", "F=1455000", "F_MOD=F"});
        Write("FREQ/0002/freq.cfg",
              {"Идентификатор=Выше", "Кол-во=3", "F=0", "F=1455000", "F=20000001"});
        Write("FREQ/0003/freq.cfg", {"Идентификатор=Ниже", "Кол-во=2", "F=999", "F=0"});
    }

  protected:
    void Load(JournalItem* item) {
        journal.Select(item);
        store.LoadItem();
    }
};

TEST_F(Loading, ARangeFillsTheShownFreeSlotWithItsEtalon) {
    window.SwitchToTab(1);
    JournalItem* fm = Child(store.RangeFolder, "FM");
    Load(fm);
    const Bank& slot = fdx.ScanSlots[0];
    EXPECT_TRUE(slot.InUse);
    EXPECT_EQ(slot.Start, 1000000u);
    EXPECT_EQ(slot.End, 1080000u);
    EXPECT_EQ(slot.Step, 250u);
    EXPECT_EQ(slot.Modulation, 'W');
    EXPECT_EQ(slot.Range, fm->As<UserDp>());
    EXPECT_EQ(store.SlotItems[0], fm);
    ASSERT_TRUE(slot.HasEtalon);
    EXPECT_EQ(slot.EtalonRecord->Identifier, "Утро");
    EXPECT_EQ(fdx.WorkMode, 2);  // the range tab is shown
    EXPECT_EQ(window.CodesTo(StoreWindow::Diap), std::vector<uint32_t>{PostItemLoaded});
}

TEST_F(Loading, ARangeBeyondTheReceiversLimitsIsRefused) {
    fdx.FreqHigh = 1050000;
    Load(Child(store.RangeFolder, "FM"));
    EXPECT_EQ(Messages(), Rows{"Пределы диапазона недопустимы для данного приемника"});
    EXPECT_FALSE(fdx.ScanSlots[0].InUse);
}

TEST_F(Loading, OutsideTheRangeTabTheRangeWindowPicksAFreeSlot) {
    Load(Child(store.RangeFolder, "FM"));
    Load(Child(store.RangeFolder, "Авиация"));
    EXPECT_EQ(fdx.ScanSlots[0].Start, 1000000u);  // the shown slot keeps its range
    EXPECT_FALSE(fdx.ScanSlots[1].InUse);
    EXPECT_EQ(window.CodesTo(StoreWindow::Diap),
              (std::vector<uint32_t>{PostItemLoaded, PostLoadSelected}));
}

TEST_F(Loading, AGroupFillsTheSlotsInItsOrder) {
    Load(Child(store.GroupFolder, "Пара"));
    EXPECT_EQ(fdx.ScanSlots[0].Range->Identifier, "Авиация");
    EXPECT_EQ(fdx.ScanSlots[1].Range->Identifier, "FM");
    EXPECT_TRUE(fdx.ScanSlots[1].HasEtalon);  // the range's own etalon
    EXPECT_FALSE(fdx.ScanSlots[2].InUse);
    EXPECT_EQ(fdx.GroupRangeCount, 2);
    EXPECT_EQ(fdx.GroupName, "Пара");
    EXPECT_EQ(fdx.WorkMode, 3);
}

// ---- groups

// A group file names its ranges by identifier, as the journal shows them; groups this program
// wrote before name them by folder.
class Groups : public StandaloneStore {
    void Prepare() override {
        WriteRange("0001", "FM", 1000000, 1080000);
        WriteRange("0002", "Авиация", 1180000, 1370000);
        WriteRange("0003", "0002", 1400000, 1460000);  // named like another range's folder
        Write("GRP/0001/grp.cfg", {"Идентификатор=По именам", "Кол-во=3", "Диапазон=Авиация",
                                   "Диапазон=FM", "Диапазон=0002"});
        Write("GRP/0002/grp.cfg",
              {"Идентификатор=По папкам", "Кол-во=2", "Диапазон=0001", "Диапазон=0003"});
        Write("GRP/0003/grp.cfg",
              {"Идентификатор=С удалённым", "Кол-во=2", "Диапазон=Удалённый", "Диапазон=FM"});
    }

  protected:
    const UserDp* Range(const char* identifier) const {
        return Child(store.RangeFolder, identifier)->As<UserDp>();
    }
    std::vector<const UserDp*> LoadGroup(const char* identifier) {
        shown.clear();
        journal.Select(Child(store.GroupFolder, identifier));
        store.LoadItem();
        std::vector<const UserDp*> loaded;
        for (int i = 0; i < fdx.GroupRangeCount; ++i)
            loaded.push_back(fdx.ScanSlots[std::size_t(i)].InUse ? fdx.ScanSlots[i].Range
                                                                 : nullptr);
        return loaded;
    }
};

TEST_F(Groups, FindTheirRangesByIdentifierThenByFolderAndReportOneNotFound) {
    EXPECT_EQ(LoadGroup("По именам"), (std::vector{Range("Авиация"), Range("FM"), Range("0002")}));
    EXPECT_EQ(LoadGroup("По папкам"), (std::vector{Range("FM"), Range("0002")}));
    EXPECT_EQ(Messages(), Rows{});
    EXPECT_EQ(Names(Child(store.GroupFolder, "По папкам")),
              (Rows{"Дата=00/00/00", "Время=00:00", "W-100.0 ... 108.0", "W-140.0 ... 146.0"}));
    EXPECT_EQ(Names(Child(store.GroupFolder, "По именам")),
              (Rows{"Дата=00/00/00", "Время=00:00", "W-118.0 ... 137.0", "W-100.0 ... 108.0",
                    "W-140.0 ... 146.0"}));

    for (Bank& slot : fdx.ScanSlots) slot.InUse = 0;
    EXPECT_EQ(LoadGroup("С удалённым"), (std::vector<const UserDp*>{nullptr, Range("FM")}));
    EXPECT_EQ(Messages(), Rows{"Не найден указанный диапазон"});
}

TEST_F(Groups, AreWrittenWithIdentifiersOnceAndFollowARenamedRange) {
    window.SwitchToTab(3);
    LoadGroup("По папкам");
    store.SaveItem();  // the same ranges, however the stored group names them
    EXPECT_EQ(Messages(), Rows{"Группа с данными параметрами уже существует!"});

    LoadGroup("По именам");
    fdx.ScanSlots[2].InUse = 0;
    shown.clear();
    store.SaveItem();
    EXPECT_EQ(Messages(), Rows{});
    EXPECT_EQ(Read("GRP/0004/grp.cfg"),
              Lines({"Идентификатор=Группа N 0004 ", "Дата=07/03/2001", "Время=09:05", "Кол-во=2",
                     "Диапазон=Авиация", "Диапазон=FM"}));

    // Renamed, the range keeps its place in the groups that found it, and only there.
    store.RenameJournalItem(Child(store.RangeFolder, "FM"), "Радио");
    EXPECT_EQ(Read("GRP/0004/grp.cfg").find(Utf8ToCp1251("Диапазон=FM")), std::string::npos);
    EXPECT_NE(Read("GRP/0004/grp.cfg").find(Utf8ToCp1251("Диапазон=Радио")), std::string::npos);
    EXPECT_NE(Read("GRP/0002/grp.cfg").find("=0001"), std::string::npos);  // by its folder
    EXPECT_EQ(LoadGroup("По именам")[1], Range("Радио"));
}

TEST_F(Loading, ABankTellsOfFrequenciesBeyondTheReceiverOnceAndASwitchedOffChannelIsNone) {
    const struct {
        const char* bank;
        Rows messages;
    } cases[] = {
        {"Посты", {}},
        {"Выше", {"Частоты выходят за пределы для данного приемника"}},
        {"Ниже", {"Частоты выходят за пределы для данного приемника"}},
    };
    for (const auto& c : cases) {
        shown.clear();
        Load(Child(store.BankFolder, c.bank));
        EXPECT_EQ(Messages(), c.messages) << c.bank;
        EXPECT_EQ(fdx.BankName, c.bank);
    }
    // The switched-off channel is loaded as it is stored, in its place.
    EXPECT_EQ(fdx.ChannelCount, 2);
    EXPECT_EQ(fdx.Channels[0].Frequency, 999u);
    EXPECT_EQ(fdx.Channels[1].Frequency, 0u);
}

TEST_F(Loading, AFixedFrequencyAsksToTuneToItsMiddle) {
    Load(Child(store.FixedFolder, "Пост"));
    EXPECT_EQ(fdx.TuneFrequency, 1455500u);
    EXPECT_EQ(fdx.TuneModulation, fdx.Modulation);
    EXPECT_EQ(window.CodesTo(StoreWindow::Main),
              (std::vector<uint32_t>{PostApplyFrequency, PostSelectScale}));
}

TEST_F(Loading, ClearingTheRangeTabOnlyDropsTheMarkedSpan) {
    window.SwitchToTab(2);
    Load(Child(store.RangeFolder, "FM"));
    store.ClearPanel();
    EXPECT_TRUE(fdx.ScanSlots[0].InUse);
    EXPECT_EQ(window.selectionResets, 1);
}

TEST_F(Loading, AJobGoesIntoTheEditor) {
    JournalItem* job = Child(store.JobFolder, "Обход");
    Load(job);
    EXPECT_EQ(fdx.EditLineCount, 2);
    EXPECT_EQ(fdx.EditLines[1].DCL, "Кнопка СТОП");
    EXPECT_EQ(fdx.EditLines[1].OBJ, 25u);
    EXPECT_EQ(fdx.EditJobName, "Обход");
    EXPECT_EQ(fdx.EditJob, job->As<UserJob>());
    EXPECT_EQ(fdx.EditJobStored, 1);
    EXPECT_EQ(fdx.WorkMode, 4);
}

TEST_F(Loading, APhonogramBecomesTheCurrentOne) {
    JournalItem* phonogram = Child(store.PhonogramFolder, "Запись");
    Load(phonogram);
    ASSERT_EQ(fdx.Phonogram->Fragments.size(), 2u);
    EXPECT_EQ(fdx.Phonogram->Fragments[1].Identifier, "второй");
    EXPECT_EQ(fdx.Phonogram->Identifier, "Запись");
    EXPECT_EQ(fdx.PhonogramLoaded, 1);
    EXPECT_EQ(store.PhonogramItem, phonogram);
    EXPECT_EQ(fdx.WorkMode, 6);
}

TEST_F(Loading, InTheJobTabAStoredItemBecomesAJournalLine) {
    window.SwitchToTab(4);
    JournalItem* fm = Child(store.RangeFolder, "FM");
    Load(Child(fm, "Утро"));
    ASSERT_EQ(fdx.SelectedCatalogEntry, &fdx.SpareCatalogEntry);
    EXPECT_EQ(fdx.SpareCatalogEntry.Name, "FM>>Утро");
    EXPECT_EQ(fdx.SpareCatalogEntry.Panel, 9u);
    EXPECT_EQ(fdx.SpareCatalogEntry.Object, 8u);
    EXPECT_FALSE(fdx.ScanSlots[0].InUse);
    Load(fm->FirstChild());  // a text row
    EXPECT_EQ(Messages(), Rows{"Этот элемент журнала не может быть включен в задание!"});
}

// ---- deleting

class Deleting : public StandaloneStore {
    void Prepare() override {
        WriteRange("0001", "FM", 1000000, 1080000);
        for (const char* extension : {".etl", ".cur", ".min", ".sum", ".max", ".obr", ".txt"})
            Write(std::string("DP/0001/0001") + extension, {"Идентификатор=Утро"});
        Write("DP/0001/info.txt", {"Заметки"});
        WriteRange("0002", "Авиация", 1180000, 1370000);
        Write("FREQ/0001/freq.cfg", {"Идентификатор=Посты", "Кол-во=1", "F=1455000"});
        Write("FONO/01030001.cfg", {"Идентификатор=Одна", "Кол-во=1", "F=1455000"});
        Write("FONO/01030001.wav", {"RIFF"});
        Write("FONO/01030002.cfg",
              {"Идентификатор=Кусками", "Кол-во=2", "File=Y", "F=1455000",
               "F_FILE=C:\\ORVEL\\FONO\\frag1.wav", "F=4339200", "F_FILE=../outside.wav"});
        for (const char* file :
             {"FONO/01030002.wav", "FONO/frag1.wav", "FONO/outside.wav", "outside.wav"})
            Write(file, {"RIFF"});
        Write("010011.dat", {"1455000", "4339200"});
    }
};

TEST_F(Deleting, ARangeInASlotIsInUse) {
    window.SwitchToTab(2);
    JournalItem* fm = Child(store.RangeFolder, "FM");
    journal.Select(fm);
    store.LoadItem();
    store.DeleteItem();
    EXPECT_EQ(Messages(), Rows{"Элемент нельзя удалить, поскольку он используется в работе "});
    EXPECT_TRUE(Exists("DP/0001/diap.cfg"));
    EXPECT_EQ(Child(store.RangeFolder, "FM"), fm);
}

TEST_F(Deleting, AnUnusedRangeGoesWithItsEtalonsNotesAndFolder) {
    journal.Select(Child(store.RangeFolder, "FM"));
    Answer({false});
    store.DeleteItem();
    EXPECT_TRUE(Exists("DP/0001/diap.cfg"));  // not confirmed
    Answer({true});
    store.DeleteItem();
    EXPECT_EQ(Messages(), (Rows{"Диапазон и все его эталоны будут удалены.Вы уверены?",
                                "Диапазон и все его эталоны будут удалены.Вы уверены?"}));
    EXPECT_FALSE(Exists("DP/0001"));
    EXPECT_EQ(Names(store.RangeFolder), Rows{"Авиация"});
    EXPECT_EQ(journal.Selected(), store.RangeFolder);
    EXPECT_EQ(fdx.SelectedRange, store.DefaultRange);
}

TEST_F(Deleting, TheWorkingBankIsInUse) {
    journal.Select(Child(store.BankFolder, "Посты"));
    store.LoadItem();
    store.DeleteItem();
    EXPECT_EQ(Messages(), Rows{"Элемент нельзя удалить, поскольку он используется в работе "});
    EXPECT_TRUE(Exists("FREQ/0001/freq.cfg"));
}

TEST_F(Deleting, APhonogramTakesTheSoundFilesItsFileFlagNames) {
    journal.Select(Child(store.PhonogramFolder, "Одна"));
    store.DeleteItem();
    EXPECT_FALSE(Exists("FONO/01030001.wav"));
    EXPECT_FALSE(Exists("FONO/01030001.cfg"));

    // Each fragment has its own file; only files of FONO are ever removed.
    journal.Select(Child(store.PhonogramFolder, "Кусками"));
    store.DeleteItem();
    EXPECT_FALSE(Exists("FONO/frag1.wav"));
    EXPECT_FALSE(Exists("FONO/outside.wav"));
    EXPECT_TRUE(Exists("outside.wav"));
    EXPECT_TRUE(Exists("FONO/01030002.wav"));
    EXPECT_FALSE(Exists("FONO/01030002.cfg"));
    EXPECT_EQ(Messages(), (Rows{"Фонограмма  будет удалена.Вы уверены?",
                                "Фонограмма  будет удалена.Вы уверены?"}));
}

TEST_F(Deleting, AStoredFrequencyGoesWithoutAQuestionAndTheHistoryIsRewritten) {
    journal.Select(store.FrequencyFieldEntry->FirstChild());
    store.DeleteItem();
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Names(store.FrequencyFieldEntry), Rows{"433.9200"});
    EXPECT_EQ(Read("010011.dat"), "4339200\r\n");

    for (JournalItem* item : {store.RangeFolder, store.FrequencyFieldEntry}) {
        journal.Select(item);
        store.DeleteItem();
    }
    EXPECT_EQ(Messages(), (Rows{"Данный элемент удалить нельзя", "Данный элемент удалить нельзя"}));
}

// ---- stored files read only up to a NUL byte

// A bank, a job and the frequency history whose files a NUL byte cut: each loads with what came
// before it, and what the program writes of it later never goes over the whole file: that is
// kept beside, as one the program did not read, and the operator told where.
class FilesCutByANul : public StandaloneStore {
    void Prepare() override {
        WriteBytes("FREQ/0001/freq.cfg", bank);
        WriteBytes("JOB/0001/job.cfg", job);
        WriteBytes("010011.dat", history);
    }

  protected:
    const std::string bank =
        Lines({"Идентификатор=Посты", "Кол-во=2", "F=1455000"}) + '\0' + Lines({"F=4339200"});
    const std::string job =
        Lines({"Идентификатор=Обход", "Кол-во=2", "STR_NO=0", "DCL=Кнопка ПУСК"}) + '\0' +
        Lines({"STR_NO=1", "DCL=Кнопка СТОП"});
    const std::string history = Lines({"1455000"}) + '\0' + Lines({"4339200"});
};

TEST_F(FilesCutByANul, AreKeptBesideWhenTheProgramWritesThemAgain) {
    JournalItem* posts = Child(store.BankFolder, "Посты");
    ASSERT_NE(posts, nullptr);
    EXPECT_EQ(posts->As<UserFreq>()->Channels.size(), 1u);
    store.RenameJournalItem(posts, "Посты 2");
    EXPECT_NE(Read("FREQ/0001/freq.cfg").find(Lines({"Идентификатор=Посты 2"})), std::string::npos);
    EXPECT_EQ(Read("FREQ/0001/freq.cfg.не_прочитан"), bank);

    JournalItem* round = Child(store.JobFolder, "Обход");
    ASSERT_NE(round, nullptr);
    store.RenameJournalItem(round, "Обход 2");
    EXPECT_EQ(Read("JOB/0001/job.cfg.не_прочитан"), job);

    EXPECT_EQ(Names(store.FrequencyFieldEntry), Rows{"145.5000"});
    fdx.Frequency = 1010000;
    store.DropOnJournal("MAIN_FREQ");
    EXPECT_EQ(Read("010011.dat"), Lines({"1455000", "1010000"}));
    EXPECT_EQ(Read("010011.dat.не_прочитан"), history);
    // The operator is told of each, where it went.
    const auto kept = [](const std::string& file) {
        return "Файл " + file + " содержит нулевой байт и прочитан только до него. Прежний файл "
               "сохранен как " + file + ".не_прочитан";
    };
    EXPECT_EQ(Messages(), (Rows{kept("FREQ/0001/freq.cfg"), kept("JOB/0001/job.cfg"),
                                kept("010011.dat")}));
}

// ---- clearing and the notes file

class JobSaving : public StandaloneStore {
    // The runs of a job deleted earlier are still in its folder.
    void Prepare() override { Write("JOB/0001/0001.run", {"Идентификатор=Старый запуск"}); }
};

TEST_F(JobSaving, ANewJobNeverMeetsTheLeftoversOfADeletedOne) {
    window.SwitchToTab(4);
    fdx.EditLines[0].DCL = "Кнопка ПУСК";
    fdx.EditLines[0].TAB = 10;
    fdx.EditLines[0].OBJ = 17;
    fdx.EditLineCount = 1;
    store.SaveItem();
    EXPECT_EQ(Names(store.JobFolder), Rows{"Задание N 2"});
    EXPECT_TRUE(Exists("JOB/0002/job.cfg"));
    EXPECT_EQ(fdx.EditJobStored, 1);
    ASSERT_EQ(fdx.Jobs.size(), 1u);

    store.SaveItem();  // stored and unchanged
    EXPECT_EQ(Messages(), Rows{"Нет информации для записи"});
}

}  // namespace
