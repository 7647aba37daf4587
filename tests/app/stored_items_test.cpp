// Renaming, saving, loading and deleting stored items through the journal.
#include <gtest/gtest.h>

#include "state/message_bus.h"
#include "tests/app/journal_window.h"
#include "ui/post.h"
#include "ui/reply_event.h"

namespace {

using Rows = std::vector<std::string>;
using ui::MessageAnswer;

// ---- renaming

class Renaming : public JournalWindow {
    void Prepare() override { WriteRange("0001", "FM", 1000000, 1080000); }

  protected:
    JournalItem* Range() const { return Child(orvel.store.RangeFolder, "FM"); }
};

TEST_F(Renaming, ARangeRewritesItsIdentifierAndKeepsItsFolder) {
    JournalItem* range = Range();
    orvel.store.RenameJournalItem(range, "Вещание");
    EXPECT_EQ(range->Name, "Вещание");
    EXPECT_EQ(orvel.op->ItemText(orvel.journalTree->TreeItemOf(range)), "Вещание");
    EXPECT_EQ(Read("DP/0001/diap.cfg"), Golden("renamed_diap.cfg"));
    EXPECT_EQ(range->As<UserDp>()->FolderName, "0001");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path() / "DP"),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(Renaming, HeadingsTheRootRowsAndCatalogEntriesCannotBeEdited) {
    for (const JournalItem* item : {orvel.store.RootItem, orvel.store.RangeFolder,
                                    Range()->FirstChild(), orvel.store.FrequencyFieldEntry})
        EXPECT_FALSE(orvel.store.MayRenameJournalItem(item)) << item->Name;
    EXPECT_TRUE(orvel.store.MayRenameJournalItem(Range()));

    // The tree refuses the edit before it starts.
    ui::EventData begin;
    begin.id = ui::EventId::BeginLabelEdit;
    begin.item = orvel.journalTree->TreeItemOf(orvel.store.RangeFolder);
    orvel.op->Raise(begin);
    EXPECT_TRUE(begin.cancel);
    begin.cancel = false;
    begin.item = orvel.journalTree->TreeItemOf(Range());
    orvel.op->Raise(begin);
    EXPECT_FALSE(begin.cancel);

    orvel.store.RenameJournalItem(orvel.store.RangeFolder, "Мои диапазоны");
    EXPECT_EQ(orvel.store.RangeFolder->Name, "Диапазоны");
}

TEST_F(Renaming, NamesTheStoredFilesCannotHoldRestoreTheLabel) {
    const std::string stored = Read("DP/0001/diap.cfg");
    for (const char* name : {"Мой \"FM\"", "Мой 'FM'", "FM=1", "FM\r\n2", ""}) {
        ui::EventData end;
        end.id = ui::EventId::EndLabelEdit;
        end.item = orvel.journalTree->TreeItemOf(Range());
        end.text = name;
        orvel.op->Raise(end);
        EXPECT_TRUE(end.cancel);  // the tree does not take the text itself
        EXPECT_EQ(Range()->Name, "FM");
        EXPECT_EQ(Range()->As<UserDp>()->Identifier, "FM");
        EXPECT_EQ(orvel.op->ItemText(orvel.journalTree->TreeItemOf(Range())), "FM");
    }
    EXPECT_EQ(Read("DP/0001/diap.cfg"), stored);
}

// ---- saving a bank and its measurements

class BankSaving : public JournalWindow {
  protected:
    void Prepare() override {}
    void SetWorkingChannels() {
        orvel.Channels[0] = Mt{};
        orvel.Channels[0].Frequency = 1455000;
        orvel.Channels[0].Step = 125;
        orvel.Channels[0].Modulation = 'F';
        orvel.Channels[0].Identifier = "Пост";
        orvel.Channels[1] = Mt{};
        orvel.Channels[1].Frequency = 4339200;
        orvel.Channels[1].Step = 250;
        orvel.Channels[1].Modulation = 'A';
        orvel.ChannelCount = 2;
        orvel.SwitchToTab(1);
    }
};

TEST_F(BankSaving, StoresTheWorkingChannelsOnceAndThenHasNothingToStore) {
    SetWorkingChannels();
    orvel.store.SaveItem();
    EXPECT_EQ(Read("FREQ/0001/freq.cfg"), Golden("new_bank_freq.cfg"));
    ASSERT_EQ(Names(orvel.store.BankFolder), Rows{"Банк частот-1"});
    JournalItem* bank = orvel.store.BankFolder->FirstChild();
    EXPECT_EQ(Names(bank),
              (Rows{"Дата=07/03/2001", "Время=09:05", " 145.5000 F - Пост", " 433.9200 A - "}));
    EXPECT_EQ(orvel.store.CurrentBankItem, bank);
    EXPECT_EQ(orvel.CurrentBank, bank->As<UserFreq>());
    EXPECT_EQ(orvel.BankName, "Банк частот-1");
    EXPECT_EQ(orvel.journal.Selected(), bank);
    EXPECT_TRUE(Messages().empty());

    orvel.store.SaveItem();
    EXPECT_EQ(Messages(), Rows{"Нет информации для записи"});
    EXPECT_EQ(orvel.store.BankFolder->Children().size(), 1u);
}

TEST_F(BankSaving, AChangedListUpdatesItsBankAndAnIdenticalOneMakesNone) {
    SetWorkingChannels();
    orvel.store.SaveItem();
    orvel.Channels[0].Step = 100;
    orvel.BankChanged = 1;
    orvel.store.SaveItem();
    EXPECT_EQ(Messages(), Rows{"Банк частот существует и обновлен!"});
    EXPECT_NE(Read("FREQ/0001/freq.cfg").find("F_STEP=100\r\n"), std::string::npos);

    // The same list again, as a receiver panel hands it over: nothing new is made.
    orvel.BankStored = 0;
    orvel.store.SaveItem();
    EXPECT_EQ(Messages().back(), "Банк частот с данными параметрами уже существует!");
    EXPECT_EQ(orvel.store.BankFolder->Children().size(), 1u);
    EXPECT_FALSE(Exists("FREQ/0002"));
}

TEST_F(BankSaving, ClearingTheBankTabEmptiesTheWorkingBankAndAJobIsNotAsked) {
    SetWorkingChannels();
    orvel.store.SaveItem();
    Answer({MessageAnswer::No});
    orvel.store.ClearPanel();
    EXPECT_EQ(Messages(), Rows{"Вы уверены что хотите очистить Панель ?"});
    EXPECT_EQ(orvel.ChannelCount, 2);

    JobStr line;
    orvel.JobLine = &line;
    orvel.JobRunning = 1;
    orvel.store.ClearPanel();
    orvel.JobRunning = 0;
    EXPECT_EQ(Messages().size(), 1u);
    EXPECT_EQ(line.Message, "");  // not even asked in the job line
    EXPECT_EQ(orvel.ChannelCount, 0);
    EXPECT_EQ(orvel.BankName, "");
    EXPECT_EQ(orvel.BankStored, 0);
    EXPECT_EQ(orvel.store.BankFolder->Children().size(), 1u);  // the stored bank stays
}

class BankSavingOverLeftovers : public BankSaving {
    // A folder that no bank shows, perhaps left by a bank deleted elsewhere.
    void Prepare() override { Write("FREQ/0001/0001.meg", {"F=1455000", "FL=10"}); }
};

TEST_F(BankSavingOverLeftovers, ANewBankNeverTakesANumberInUseOnDisk) {
    SetWorkingChannels();
    orvel.store.SaveItem();
    EXPECT_EQ(Names(orvel.store.BankFolder), Rows{"Банк частот-2"});
    EXPECT_TRUE(Exists("FREQ/0002/freq.cfg"));
    EXPECT_EQ(Read("FREQ/0001/0001.meg"), Lines({"F=1455000", "FL=10"}));
}

class MeasurementSets : public JournalWindow {
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
        orvel.journal.Select(Child(orvel.store.BankFolder, "Посты"));
        orvel.store.LoadItem();
        orvel.ChannelLevels = {{10, 10, 20}, {0, 255, 7}};
        orvel.MeasurementCapacity = 3;
        orvel.MeasurementCount = 3;
        orvel.MeasurementStart = {5, 3, 2001, 10, 0, 0};
        orvel.MeasurementEnd = {5, 3, 2001, 10, 0, 10};
        orvel.HistoriesAllocated = 1;
        orvel.MeasurementsUnsaved = 1;
        orvel.SwitchToTab(1);
        boxes.shown.clear();
    }
};

TEST_F(MeasurementSets, ASetTakesTheLowestFreeNumberAndLoadsBackWhole) {
    MeasureSeries();
    orvel.store.SaveItem();
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Read("FREQ/0001/0002.etl"), Golden("measurement_set.etl"));
    EXPECT_EQ(Read("FREQ/0001/0002.meg"), Golden("measurement_set.meg"));
    JournalItem* bank = Child(orvel.store.BankFolder, "Посты");
    JournalItem* set = Child(bank, "05-03-2001 10:00:00");
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(set->As<Meg>()->Name, "0002");
    EXPECT_EQ(orvel.journal.Selected(), set);
    EXPECT_EQ(orvel.MeasurementSetSaved, 1);
    EXPECT_EQ(orvel.MeasurementsUnsaved, 0);

    orvel.ChannelLevels = {{1}, {2}};
    orvel.MeasurementStart = {};
    orvel.SwitchToTab(0);
    orvel.store.LoadItem();
    EXPECT_EQ(orvel.ChannelLevels, (std::vector<std::vector<uint8_t>>{{10, 10, 20}, {0, 255, 7}}));
    EXPECT_EQ(orvel.MeasurementStart, (std::array<int32_t, 6>{5, 3, 2001, 10, 0, 0}));
    EXPECT_EQ(orvel.MeasurementCount, 3);
    EXPECT_EQ(orvel.MeasurementSet, set->As<Meg>());
    EXPECT_EQ(orvel.WorkMode, 1);
    EXPECT_FALSE(orvel.wait.HasWindow());
}

TEST_F(MeasurementSets, ASetThatCannotBeWrittenWholeIsReportedAndLeavesNothing) {
    MeasureSeries();
    // Levels long enough that only the header fits on the "disk".
    orvel.ChannelLevels.assign(2, std::vector<uint8_t>(4000));
    for (std::size_t i = 0; i < 4000; ++i) orvel.ChannelLevels[0][i] = uint8_t(i % 2);
    orvel.MeasurementCapacity = orvel.MeasurementCount = 4000;
    WithFileSizeLimit(2000, [&] { orvel.store.SaveItem(); });
    EXPECT_EQ(Messages(), Rows{"Ошибка записи файла - списка!"});
    EXPECT_FALSE(Exists("FREQ/0001/0002.etl"));
    EXPECT_FALSE(Exists("FREQ/0001/0002.meg"));
    EXPECT_EQ(Child(orvel.store.BankFolder, "Посты")->Children().size(), 6u);  // 4 rows, 2 sets
    EXPECT_EQ(orvel.MeasurementsUnsaved, 1);
    EXPECT_EQ(orvel.MeasurementSetSaved, 0);

    orvel.store.SaveItem();  // the disk has room again
    EXPECT_TRUE(Exists("FREQ/0001/0002.meg"));
    EXPECT_EQ(orvel.MeasurementsUnsaved, 0);
}

// ---- etalons

class Etalons : public JournalWindow {
    void Prepare() override { WriteRange("0001", "FM", 1000000, 1080000); }

  protected:
    void ScanIntoSlot() {
        orvel.journal.Select(Child(orvel.store.RangeFolder, "FM"));
        orvel.store.LoadItem();
        Bank& slot = orvel.ScanSlots[0];
        slot.PointCount = 3201;
        for (std::size_t i = 0; i < 3201; ++i) slot.Current[i] = uint8_t(i % 2 ? 40 : 90);
        slot.CycleCount = 4;
        slot.Flag4 = 1;
        orvel.SwitchToTab(2);
    }
};

TEST_F(Etalons, AnEtalonIsStoredOnlyWhenAllItsFilesAreWritten) {
    ScanIntoSlot();
    WithFileSizeLimit(3000, [&] { orvel.store.SaveItem(); });
    EXPECT_EQ(Messages(), Rows{"Ошибка записи файла - списка!"});
    for (const char* extension : {".etl", ".cur", ".min", ".sum", ".max", ".obr"})
        EXPECT_FALSE(Exists(std::string("DP/0001/0001") + extension)) << extension;
    EXPECT_EQ(orvel.ScanSlots[0].Flag4, 1);  // the results are still unsaved

    orvel.store.SaveItem();
    JournalItem* etalon = Child(Child(orvel.store.RangeFolder, "FM"), "07-03-2001 09:05:30");
    ASSERT_NE(etalon, nullptr);
    EXPECT_EQ(etalon->As<Etl>()->Name, "0001");
    EXPECT_EQ(Names(etalon), (Rows{"Дата=07/03/2001", "Время=09:05", "Кол-во циклов=4"}));
    EXPECT_TRUE(Exists("DP/0001/0001.obr"));
    EXPECT_EQ(orvel.ScanSlots[0].Flag4, 0);
}

// ---- loading

class Loading : public JournalWindow {
    void Prepare() override {
        WriteRange("0001", "FM", 1000000, 1080000);
        WriteRange("0002", "Авиация", 1180000, 1370000, 83);
        Write("DP/0001/0001.etl", {"Идентификатор=Утро", "Кол-во_точек=3201"});
        Write("GRP/0001/grp.cfg",
              {"Идентификатор=Пара", "Кол-во=2", "Диапазон=0002", "Диапазон=0001"});
        Write("SCALE/1455000.cfg",
              {"Идентификатор=Пост", "Fн=1455000", "Fк=1456000", "Шаг=125", "Модуляция=F "});
        Write("JOB/0001/job.cfg",
              {"Идентификатор=Обход", "Кол-во=2", "STR_NO=0", "DCL=Кнопка ПУСК", "TAB=10", "OBJ=17",
               "STR_NO=1", "DCL=Кнопка СТОП", "TAB=10", "OBJ=25"});
        Write("FONO/01030001.cfg", {"Идентификатор=Запись", "Дата=01/03/2001", "Кол-во=2",
                                    "F=1455000", "F_ID=первый", "F=4339200", "F_ID=второй"});
    }

  protected:
    void SetUp() override {
        JournalWindow::SetUp();
        orvel.subWindows.diap = &diap;
        orvel.subWindows.group = &group;
    }
    void Load(JournalItem* item) {
        orvel.journal.Select(item);
        orvel.store.LoadItem();
    }
    PostedCodes diap;
    PostedCodes group;
};

TEST_F(Loading, ARangeFillsTheShownFreeSlotWithItsEtalon) {
    orvel.SwitchToTab(1);
    JournalItem* fm = Child(orvel.store.RangeFolder, "FM");
    Load(fm);
    const Bank& slot = orvel.ScanSlots[0];
    EXPECT_TRUE(slot.InUse);
    EXPECT_EQ(slot.Start, 1000000u);
    EXPECT_EQ(slot.End, 1080000u);
    EXPECT_EQ(slot.Step, 250u);
    EXPECT_EQ(slot.Modulation, 'W');
    EXPECT_EQ(slot.Range, fm->As<UserDp>());
    EXPECT_EQ(orvel.store.SlotItems[0], fm);
    ASSERT_TRUE(slot.HasEtalon);
    EXPECT_EQ(slot.EtalonRecord->Identifier, "Утро");
    EXPECT_EQ(orvel.WorkMode, 2);  // the range tab is shown
    EXPECT_EQ(orvel.tabctrl_1->SelectedIndex(), 2);
    ui::ServePending();
    EXPECT_EQ(diap.codes, (std::vector<uint32_t>{PostItemLoaded, PostRefreshLevels}));
}

TEST_F(Loading, ARangeBeyondTheReceiversLimitsIsRefused) {
    orvel.FreqHigh = 1050000;
    Load(Child(orvel.store.RangeFolder, "FM"));
    EXPECT_EQ(Messages(), Rows{"Пределы диапазона недопустимы для данного приемника"});
    EXPECT_FALSE(orvel.ScanSlots[0].InUse);
}

TEST_F(Loading, OutsideTheRangeTabTheRangeWindowPicksAFreeSlot) {
    Load(Child(orvel.store.RangeFolder, "FM"));
    Load(Child(orvel.store.RangeFolder, "Авиация"));
    EXPECT_EQ(orvel.ScanSlots[0].Start, 1000000u);  // the shown slot keeps its range
    EXPECT_FALSE(orvel.ScanSlots[1].InUse);
    ui::ServePending();
    EXPECT_EQ(diap.codes, (std::vector<uint32_t>{PostItemLoaded, PostLoadSelected}));
}

TEST_F(Loading, AGroupFillsTheSlotsInItsOrder) {
    Load(Child(orvel.store.GroupFolder, "Пара"));
    EXPECT_EQ(orvel.ScanSlots[0].Range->Identifier, "Авиация");
    EXPECT_EQ(orvel.ScanSlots[1].Range->Identifier, "FM");
    EXPECT_TRUE(orvel.ScanSlots[1].HasEtalon);  // the range's own etalon
    EXPECT_FALSE(orvel.ScanSlots[2].InUse);
    EXPECT_EQ(orvel.GroupRangeCount, 2);
    EXPECT_EQ(orvel.GroupName, "Пара");
    EXPECT_EQ(orvel.WorkMode, 3);
}

TEST_F(Loading, AFixedFrequencyAsksToTuneToItsMiddle) {
    ui::ServePending();  // what the start-up posted
    std::vector<uint32_t> codes;
    orvel.AddHandler(ui::EventId::User, [&](ui::Object&, ui::EventData& e) {
        codes.push_back(e.code);
        return false;
    });
    Load(Child(orvel.store.FixedFolder, "Пост"));
    EXPECT_EQ(orvel.TuneFrequency, 1455500u);
    EXPECT_EQ(orvel.TuneModulation, orvel.Modulation);
    ui::ServePending();
    EXPECT_EQ(codes, (std::vector<uint32_t>{PostApplyFrequency, PostSelectScale}));
}

TEST_F(Loading, ClearingTheRangeTabOnlyDropsTheMarkedSpan) {
    orvel.SwitchToTab(2);
    Load(Child(orvel.store.RangeFolder, "FM"));
    orvel.store.ClearPanel();
    EXPECT_TRUE(orvel.ScanSlots[0].InUse);
    ui::ServePending();
    EXPECT_EQ(diap.codes.back(), PostResetSelection);
}

TEST_F(Loading, AJobGoesIntoTheEditor) {
    JournalItem* job = Child(orvel.store.JobFolder, "Обход");
    Load(job);
    EXPECT_EQ(orvel.EditLineCount, 2);
    EXPECT_EQ(orvel.EditLines[1].DCL, "Кнопка СТОП");
    EXPECT_EQ(orvel.EditLines[1].OBJ, 25u);
    EXPECT_EQ(orvel.EditJobName, "Обход");
    EXPECT_EQ(orvel.EditJob, job->As<UserJob>());
    EXPECT_EQ(orvel.EditJobStored, 1);
    EXPECT_EQ(orvel.WorkMode, 4);
}

TEST_F(Loading, APhonogramBecomesTheCurrentOne) {
    JournalItem* phonogram = Child(orvel.store.PhonogramFolder, "Запись");
    Load(phonogram);
    ASSERT_EQ(orvel.Phonogram->Fragments.size(), 2u);
    EXPECT_EQ(orvel.Phonogram->Fragments[1].Identifier, "второй");
    EXPECT_EQ(orvel.Phonogram->Identifier, "Запись");
    EXPECT_EQ(orvel.PhonogramLoaded, 1);
    EXPECT_EQ(orvel.store.PhonogramItem, phonogram);
    EXPECT_EQ(orvel.WorkMode, 6);
}

TEST_F(Loading, InTheJobTabAStoredItemBecomesAJournalLine) {
    orvel.SwitchToTab(4);
    JournalItem* fm = Child(orvel.store.RangeFolder, "FM");
    Load(Child(fm, "Утро"));
    ASSERT_EQ(orvel.SelectedCatalogEntry, &orvel.SpareCatalogEntry);
    EXPECT_EQ(orvel.SpareCatalogEntry.Name, "FM>>Утро");
    EXPECT_EQ(orvel.SpareCatalogEntry.Panel, 9u);
    EXPECT_EQ(orvel.SpareCatalogEntry.Object, 8u);
    EXPECT_FALSE(orvel.ScanSlots[0].InUse);
    Load(fm->FirstChild());  // a text row
    EXPECT_EQ(Messages(), Rows{"Этот элемент журнала не может быть включен в задание!"});
}

// ---- deleting

class Deleting : public JournalWindow {
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
    orvel.SwitchToTab(2);
    JournalItem* fm = Child(orvel.store.RangeFolder, "FM");
    orvel.journal.Select(fm);
    orvel.store.LoadItem();
    orvel.store.DeleteItem();
    EXPECT_EQ(Messages(), Rows{"Элемент нельзя удалить, поскольку он используется в работе "});
    EXPECT_TRUE(Exists("DP/0001/diap.cfg"));
    EXPECT_EQ(Child(orvel.store.RangeFolder, "FM"), fm);
}

TEST_F(Deleting, AnUnusedRangeGoesWithItsEtalonsNotesAndFolder) {
    orvel.journal.Select(Child(orvel.store.RangeFolder, "FM"));
    Answer({MessageAnswer::No});
    orvel.store.DeleteItem();
    EXPECT_TRUE(Exists("DP/0001/diap.cfg"));  // not confirmed
    Answer({MessageAnswer::Yes});
    orvel.store.DeleteItem();
    EXPECT_EQ(Messages(), (Rows{"Диапазон и все его эталоны будут удалены.Вы уверены?",
                                "Диапазон и все его эталоны будут удалены.Вы уверены?"}));
    EXPECT_FALSE(Exists("DP/0001"));
    EXPECT_EQ(Names(orvel.store.RangeFolder), Rows{"Авиация"});
    EXPECT_EQ(orvel.journal.Selected(), orvel.store.RangeFolder);
    EXPECT_EQ(orvel.SelectedRange, orvel.store.DefaultRange);
}

TEST_F(Deleting, TheWorkingBankIsInUse) {
    orvel.journal.Select(Child(orvel.store.BankFolder, "Посты"));
    orvel.store.LoadItem();
    orvel.store.DeleteItem();
    EXPECT_EQ(Messages(), Rows{"Элемент нельзя удалить, поскольку он используется в работе "});
    EXPECT_TRUE(Exists("FREQ/0001/freq.cfg"));
}

TEST_F(Deleting, APhonogramTakesTheSoundFilesItsFileFlagNames) {
    orvel.journal.Select(Child(orvel.store.PhonogramFolder, "Одна"));
    orvel.store.DeleteItem();
    EXPECT_FALSE(Exists("FONO/01030001.wav"));
    EXPECT_FALSE(Exists("FONO/01030001.cfg"));

    // Each fragment has its own file; only files of FONO are ever removed.
    orvel.journal.Select(Child(orvel.store.PhonogramFolder, "Кусками"));
    orvel.store.DeleteItem();
    EXPECT_FALSE(Exists("FONO/frag1.wav"));
    EXPECT_FALSE(Exists("FONO/outside.wav"));
    EXPECT_TRUE(Exists("outside.wav"));
    EXPECT_TRUE(Exists("FONO/01030002.wav"));
    EXPECT_FALSE(Exists("FONO/01030002.cfg"));
    EXPECT_EQ(Messages(), (Rows{"Фонограмма  будет удалена.Вы уверены?",
                                "Фонограмма  будет удалена.Вы уверены?"}));
}

TEST_F(Deleting, AStoredFrequencyGoesWithoutAQuestionAndTheHistoryIsRewritten) {
    orvel.journal.Select(orvel.store.FrequencyFieldEntry->FirstChild());
    orvel.store.DeleteItem();
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Names(orvel.store.FrequencyFieldEntry), Rows{"433.9200"});
    EXPECT_EQ(Read("010011.dat"), "4339200\r\n");

    for (JournalItem* item : {orvel.store.RangeFolder, orvel.store.FrequencyFieldEntry}) {
        orvel.journal.Select(item);
        orvel.store.DeleteItem();
    }
    EXPECT_EQ(Messages(), (Rows{"Данный элемент удалить нельзя", "Данный элемент удалить нельзя"}));
}

// ---- clearing and the notes file

class NotesFile : public JournalWindow {
    void Prepare() override { WriteBytes("INFO/info.txt", std::string(600000, 'x')); }
};

TEST_F(NotesFile, ANotesFileTooLargeToShowIsNeverSavedOver) {
    PostedCodes info;
    orvel.subWindows.info = &info;
    orvel.SwitchToTab(5);
    orvel.journal.Select(orvel.store.RootItem);
    orvel.store.SaveItem();
    EXPECT_EQ(Messages(), Rows{"Текст запрещено модифицировать"});
    ui::ServePending();
    EXPECT_TRUE(info.codes.empty());
    EXPECT_EQ(Read("INFO/info.txt").size(), 600000u);
}

class JobSaving : public JournalWindow {
    // The runs of a job deleted earlier are still in its folder.
    void Prepare() override { Write("JOB/0001/0001.run", {"Идентификатор=Старый запуск"}); }
};

TEST_F(JobSaving, ANewJobNeverMeetsTheLeftoversOfADeletedOne) {
    orvel.SwitchToTab(4);
    orvel.EditLines[0].DCL = "Кнопка ПУСК";
    orvel.EditLines[0].TAB = 10;
    orvel.EditLines[0].OBJ = 17;
    orvel.EditLineCount = 1;
    orvel.store.SaveItem();
    EXPECT_EQ(Names(orvel.store.JobFolder), Rows{"Задание N 2"});
    EXPECT_TRUE(Exists("JOB/0002/job.cfg"));
    EXPECT_EQ(orvel.EditJobStored, 1);
    ASSERT_EQ(orvel.Jobs.size(), 1u);

    orvel.store.SaveItem();  // stored and unchanged
    EXPECT_EQ(Messages(), Rows{"Нет информации для записи"});
}

}  // namespace
