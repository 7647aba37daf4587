// The journal as the start-up builds it from the data folders.
#include <gtest/gtest.h>

#include <unistd.h>

#include <random>

#include "app/format_text.h"
#include "app/journal_tree.h"
#include "tests/app/window_fixture.h"
#include "tests/support/ended_process.h"
#include "tests/support/operator_hand.h"

namespace {

using window_test::WindowTest;

using Rows = std::vector<std::string>;

class StartupJournal : public WindowTest {
    void Prepare() override {
        Write("ORVEL.INI", {"AUTOEXEC=0001"});
        Write("010011.dat", {"1455000", "4339200"});
        Write("SCALE/1455000.cfg", {"Идентификатор=Пост", "Fн=1455000", "Fк=1456000", "Шаг=125",
                                    "Модуляция=F ", "Дата=01/02/2001", "Время=10:00"});
        // Copied in from a file system that ignores case: the extension in capitals.
        Write("SCALE/1000000.CFG", {"Идентификатор=Маяк", "Fн=1000000", "Fк=1000500", "Шаг=250",
                                    "Модуляция=W ", "Дата=01/02/2001", "Время=10:00"});
        Write("FONO/01030001.cfg",
              {"Идентификатор=Запись", "Дата=01/03/2001", "Время=12:00", "Скорость=0", "Кол-во=0"});
        WriteRange("0001", "Радиовещание FM", 1000000, 1080000);
        WriteRange("0002", "Авиация", 500000, 600000, 250, "DIAP.CFG");
        WriteEtalon("DP/0001/0001.etl", {"Идентификатор=Утро", "Кол-во_точек=3201",
                                         "Кол-во_циклов=4", "Дата=02/02/2001", "Время=08:00"});
        WriteEtalon("DP/0001/0002.ETL", {"Идентификатор=Вечер", "Кол-во_точек=3201",
                                         "Кол-во_циклов=2", "Дата=02/02/2001", "Время=20:00"});
        WriteBytes("DP/0001/0003.etl", "");                              // a header without lines
        std::filesystem::create_directories(folder.path() / "DP/0009");  // no diap.cfg
        Write("FREQ/0001/freq.cfg", {"Идентификатор=Посты", "Дата=01/02/2001", "Время=10:00",
                                     "Кол-во=2", "F=1455000", "F_ATT=+", "F_STEP=125", "F_ID=Пост",
                                     "F_MOD=F", "F=4339200", "F_STEP=250", "F_MOD=Ф"});
        Write("FREQ/0001/0001.etl",
              {"Идентификатор=05-03-2001 10:00:00", "Кол-во_частот=2", "Кол-во_измерений=61",
               "Дата=05/03/2001", "Время=11:00", "Дата_начала=05/03/2001", "Время_начала=10:00:00",
               "Дата_конца=05/03/2001", "Время_конца=11:00:00"});
        Write("FREQ/0001/0001.meg", {"F=1455000", "FL=7", "FC=60"});
        Write("GRP/0001/grp.cfg", {"Идентификатор=Вся авиация", "Дата=01/02/2001", "Время=10:00",
                                   "Кол-во=2", "Диапазон=0002", "Диапазон=0001"});
        Write("JOB/0001/job.cfg",
              {"Идентификатор=Утренний обход", "Кол-во=1", "Дата=01/02/2001", "Время=10:00",
               "STR_NO=0", "DCL=Кнопка ПУСК", "TAB=10", "OBJ=17"});
        Write("JOB/0001/0001.run",
              {"Идентификатор=Запуск 1", "Дата=03/02/2001", "Время=07:00", "Дата_начала=03/02/2001",
               "Время_начала=06:00:00", "Дата_конца=03/02/2001", "Время_конца=07:00:00"});
    }
};

TEST_F(StartupJournal, ShowsEveryStoredItemUnderItsHeadingWithItsRows) {
    JournalItem* root = orvel.journal.Root();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->Name, "ORVEL");
    EXPECT_EQ(Names(root), (Rows{"Панель", "Фиксированные частоты", "Банки", "Диапазоны", "Группы",
                                 "Задания", "Фонограммы"}));
    EXPECT_EQ(orvel.journal.Selected(), root);
    EXPECT_TRUE(orvel.journal.IsExpanded(root));

    // The two value fields come first under "Панель", the rest of the catalog after them.
    const Rows panel = Names(orvel.store.PanelFolder);
    ASSERT_GE(panel.size(), 2u);
    EXPECT_EQ(Rows(panel.begin(), panel.begin() + 2),
              (Rows{"Поле Частота-выбор", "Поле Шаг-выбор"}));
    EXPECT_EQ(Names(orvel.store.FrequencyFieldEntry), (Rows{"145.5000", "433.9200"}));
    EXPECT_EQ(orvel.store.FrequencyFieldEntry->Children()[1]->As<JobDcl>()->Value, 4339200u);

    EXPECT_EQ(Names(orvel.store.FixedFolder), (Rows{"Маяк", "Пост"}));  // by start frequency
    EXPECT_EQ(Names(Child(orvel.store.FixedFolder, "Пост")),
              (Rows{"Fн= 145.5000 МГц", "Fк= 145.6000 МГц", "Шаг= 12.5 КГц", "Модуляция=F",
                    "Дата=01/02/2001", "Время=10:00"}));
    ASSERT_EQ(orvel.Scales.size(), 2u);
    EXPECT_EQ(orvel.Scales[1]->Name, "1455000");

    EXPECT_EQ(Names(orvel.store.RangeFolder), (Rows{"Авиация", "Радиовещание FM"}));
    JournalItem* fm = Child(orvel.store.RangeFolder, "Радиовещание FM");
    EXPECT_EQ(Names(fm), (Rows{"Fн= 100.0000 МГц", "Fк= 108.0000 МГц", "Шаг= 25.0 КГц",
                               "Модуляция=W", "Дата=01/02/2001", "Время=10:00", "Вечер", "Утро"}));
    EXPECT_EQ(Names(Child(fm, "Утро")),
              (Rows{"Дата=02/02/2001", "Время=08:00", "Кол-во циклов=4"}));
    EXPECT_EQ(Child(fm, "Вечер")->As<Etl>()->Name, "0002");
    EXPECT_EQ(Child(orvel.store.RangeFolder, "Авиация")->As<UserDp>()->FolderName, "0002");

    JournalItem* bank = Child(orvel.store.BankFolder, "Посты");
    EXPECT_EQ(Names(bank), (Rows{"Дата=01/02/2001", "Время=10:00", " 145.5000 F + Пост",
                                 " 433.9200 Ф - ", "05-03-2001 10:00:00"}));
    EXPECT_EQ(Names(Child(bank, "05-03-2001 10:00:00")),
              (Rows{"c 05-03-2001 10:00:00", "по 05-03-2001 11:00:00"}));

    EXPECT_EQ(Names(Child(orvel.store.GroupFolder, "Вся авиация")),
              (Rows{"Дата=01/02/2001", "Время=10:00", "W- 50.0 ...  60.0", "W-100.0 ... 108.0"}));
    JournalItem* job = Child(orvel.store.JobFolder, "Утренний обход");
    EXPECT_EQ(Names(job), (Rows{"Дата=01/02/2001", "Время=10:00", "Кнопка ПУСК", "Запуск 1"}));
    EXPECT_EQ(Names(Child(job, "Запуск 1")),
              (Rows{"c 03-02-2001 06:00:00", "по 03-02-2001 07:00:00"}));
    EXPECT_EQ(orvel.AutoexecJobName, "Утренний обход");
    ASSERT_EQ(orvel.Jobs.size(), 1u);
    EXPECT_EQ(Names(Child(orvel.store.PhonogramFolder, "Запись")),
              (Rows{"Дата=01/03/2001", "Время=12:00"}));
}

TEST_F(StartupJournal, TheTreeControlMirrorsTheJournal) {
    ui::TreeView& tree = *orvel.op;
    ui::TreeItem* root = tree.Root();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(tree.ItemText(root), "ORVEL");
    EXPECT_EQ(tree.ChildCount(root), 7);
    EXPECT_EQ(tree.Selected(), root);
    ui::TreeItem* fm =
        orvel.journalTree->TreeItemOf(Child(orvel.store.RangeFolder, "Радиовещание FM"));
    ASSERT_NE(fm, nullptr);
    EXPECT_EQ(tree.ItemText(tree.FirstChild(fm)), "Fн= 100.0000 МГц");
    EXPECT_EQ(orvel.journalTree->ItemOf(fm), Child(orvel.store.RangeFolder, "Радиовещание FM"));

    // Choosing an item on the screen selects it in the journal.
    tree.SelectItem(fm);
    EXPECT_EQ(orvel.journal.Selected()->Name, "Радиовещание FM");
    EXPECT_EQ(orvel.SelectedRange, orvel.journal.Selected()->As<UserDp>());
    EXPECT_EQ(orvel.InfoFileShown, folder.Dir() + "DP/0001/info.txt");
}

// The keys choose an item as a click does: the journal's selection is the item the tree shows.
TEST_F(StartupJournal, TheKeysChooseTheJournalsItemAsAClickDoes) {
    namespace hand = operator_hand;
    orvel.Show();
    ui::TreeView& tree = *orvel.op;
    JournalItem* fm = Child(orvel.store.RangeFolder, "Радиовещание FM");
    tree.SelectItem(orvel.journalTree->TreeItemOf(fm));
    ui::ServePending();
    hand::PressKeys(&tree, {Qt::Key_Down});
    ui::TreeItem* shown = tree.Selected();
    ASSERT_NE(shown, nullptr);
    EXPECT_NE(orvel.journalTree->ItemOf(shown), fm);
    EXPECT_EQ(orvel.journal.Selected(), orvel.journalTree->ItemOf(shown));
    hand::PressKeys(&tree, {Qt::Key_Up});
    EXPECT_EQ(orvel.journal.Selected(), fm);
    EXPECT_EQ(orvel.SelectedRange, fm->As<UserDp>());
}

class RangesOfEqualStart : public WindowTest {
    void Prepare() override {
        WriteRange("0001", "Первый", 1000000, 1080000);
        WriteRange("0002", "Второй", 1000000, 1100000);
        WriteRange("0003", "Третий", 500000, 600000);
    }
};

TEST_F(RangesOfEqualStart, ARangeGoesBeforeThoseStartingWhereItStarts) {
    EXPECT_EQ(Names(orvel.store.RangeFolder), (Rows{"Третий", "Второй", "Первый"}));
}

// A stored item as the start-up reads it: folders and files come in the order of their names.
struct Stored {
    std::string name;
    uint32_t start = 0;
};

// The journal's order as placing each item in turn by the old linear search gives it: a span
// after the last one that starts below it, a named item after those that compare equal.
Rows PlacedOneByOne(const std::vector<Stored>& read, bool byStart) {
    std::vector<Stored> placed;
    for (const Stored& item : read) {
        std::size_t at = byStart ? 0 : placed.size();
        for (std::size_t i = 0; i < placed.size(); ++i) {
            if (byStart && placed[i].start < item.start) at = i + 1;
            if (!byStart && CompareJournalNames(placed[i].name, item.name) > 0) {
                at = i;
                break;
            }
        }
        placed.insert(placed.begin() + std::ptrdiff_t(at), item);
    }
    Rows names;
    for (const Stored& item : placed) names.push_back(item.name);
    return names;
}

// Ranges, fixed frequencies, banks with measurement sets and jobs, read in an order unlike
// their own, with many starts and names that tie.
class StoredItemsInAnyOrder : public WindowTest {
  protected:
    void Prepare() override {
        std::mt19937 random(7);
        const std::vector<std::string> names = {"Пост", "пост", "ПОСТ", "Маяк",  "маяк",
                                                "Ёж",   "еж",   "Ель",  "zebra", "Zebra"};
        for (int i = 0; i < 60; ++i) {
            // Starts on a coarse grid, so that about every other one ties with another.
            const uint32_t start = 1'000'000 + random() % 30 * 1000;
            const std::string folder = FormatText("%04d", i);
            ranges.push_back({"Диапазон " + folder, start});
            WriteRange(folder, ranges.back().name, start, start + 500);
            scales.push_back({"Шкала " + folder, start});
            Write("SCALE/" + folder + ".cfg",
                  {"Идентификатор=" + scales.back().name, "Fн=" + std::to_string(start),
                   "Fк=" + std::to_string(start + 500), "Шаг=125", "Модуляция=F "});
            banks.push_back({names[random() % names.size()], 0});
            Write("FREQ/" + folder + "/freq.cfg", {"Идентификатор=" + banks.back().name});
            jobs.push_back({names[random() % names.size()], 0});
            Write("JOB/" + folder + "/job.cfg", {"Идентификатор=" + jobs.back().name});
        }
        for (int i = 0; i < 20; ++i) {
            sets.push_back({names[random() % names.size()], 0});
            Write(FormatText("FREQ/0000/%04d.etl", i), {"Идентификатор=" + sets.back().name});
            Write(FormatText("FREQ/0000/%04d.meg", i), {});
        }
    }
    std::vector<Stored> ranges, scales, banks, sets, jobs;
};

TEST_F(StoredItemsInAnyOrder, StandAsPlacingThemOneByOneLeftThem) {
    EXPECT_EQ(Names(orvel.store.RangeFolder), PlacedOneByOne(ranges, true));
    EXPECT_EQ(Names(orvel.store.FixedFolder), PlacedOneByOne(scales, true));
    EXPECT_EQ(Names(orvel.store.BankFolder), PlacedOneByOne(banks, false));
    EXPECT_EQ(Names(orvel.store.JobFolder), PlacedOneByOne(jobs, false));
    const JournalItem* bank = nullptr;
    for (const auto& item : orvel.store.BankFolder->Children())
        if (item->As<UserFreq>()->FolderName == "0000") bank = item.get();
    ASSERT_NE(bank, nullptr);
    Rows underBank = Names(bank);
    underBank.erase(underBank.begin(), underBank.begin() + 2);  // its date and time
    EXPECT_EQ(underBank, PlacedOneByOne(sets, false));
    // The list of fixed frequencies the status line looks through ascends as the journal does.
    ASSERT_EQ(orvel.Scales.size(), scales.size());
    EXPECT_EQ(orvel.Scales.front()->Identifier, Names(orvel.store.FixedFolder).front());
}

TEST_F(StoredItemsInAnyOrder, ANewSpanGoesAheadOfThoseStartingWhereItStarts) {
    for (const uint32_t start : {1'000'000u, 1'015'000u, 1'029'000u, 1'029'001u, 999'999u}) {
        auto range = std::make_unique<UserDp>();
        range->Identifier = "Новый " + std::to_string(start);
        range->StartFrequency = start;
        ranges.push_back({range->Identifier, start});
        ASSERT_NE(orvel.store.AddRangeItem(std::move(range)), nullptr);
        auto scale = std::make_unique<UserSc>();
        scale->Identifier = "Новая " + std::to_string(start);
        scale->StartFrequency = start;
        scales.push_back({scale->Identifier, start});
        ASSERT_NE(orvel.store.AddFixedFrequencyItem(std::move(scale)), nullptr);
    }
    EXPECT_EQ(Names(orvel.store.RangeFolder), PlacedOneByOne(ranges, true));
    EXPECT_EQ(Names(orvel.store.FixedFolder), PlacedOneByOne(scales, true));
}

// The tree control holds what the journal holds, item for item, however it was built.
void ExpectTreeMirrors(ui::TreeView& tree, const JournalTree& shown, const JournalItem& item,
                       ui::TreeItem* control) {
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(shown.TreeItemOf(&item), control);
    EXPECT_EQ(tree.ItemText(control), item.Name);
    EXPECT_EQ(tree.ItemData(control), &item);
    ASSERT_EQ(tree.ChildCount(control), int(item.Children().size())) << item.Name;
    ui::TreeItem* child = tree.FirstChild(control);
    for (const auto& journalChild : item.Children()) {
        ExpectTreeMirrors(tree, shown, *journalChild, child);
        child = tree.NextSibling(child);
    }
}

TEST_F(StoredItemsInAnyOrder, TheTreeControlShowsTheWholeJournalAndFollowsItsChanges) {
    ExpectTreeMirrors(*orvel.op, *orvel.journalTree, *orvel.journal.Root(), orvel.op->Root());
    auto range = std::make_unique<UserDp>();
    range->Identifier = "Новый";
    range->StartFrequency = 1'015'000;
    orvel.store.AddRangeItem(std::move(range));
    orvel.journal.Remove(orvel.store.RangeFolder->FirstChild());
    ExpectTreeMirrors(*orvel.op, *orvel.journalTree, *orvel.journal.Root(), orvel.op->Root());
}

class GroupOfMissingRanges : public WindowTest {
    void Prepare() override {
        WriteRange("A", "Диапазон A", 1000000, 1080000);
        WriteRange("B", "Диапазон B", 500000, 600000);
        WriteRange("C", "Диапазон B", 300000, 400000);  // the same name, earlier in the journal
        Write("GRP/0001/grp.cfg",
              {"Идентификатор=Смешанная", "Дата=01/02/2001", "Время=10:00", "Кол-во=4",
               "Диапазон=A", "Диапазон=X", "Диапазон=Y", "Диапазон=B"});
        // A count that a damaged file holds sizes nothing beyond the names it has.
        Write("GRP/0002/grp.cfg",
              {"Идентификатор=Повреждённая", "Кол-во=4000000000", "Диапазон=B"});
        Write("GRP/0003/grp.cfg", {"Идентификатор=Двойники", "Диапазон=Диапазон B"});
    }
};

TEST_F(GroupOfMissingRanges, ShowsOnlyTheRangesThatExist) {
    JournalItem* group = Child(orvel.store.GroupFolder, "Смешанная");
    EXPECT_EQ(Names(group),
              (Rows{"Дата=01/02/2001", "Время=10:00", "W-100.0 ... 108.0", "W- 50.0 ...  60.0"}));
    // Loading the group reports the missing ones.
    EXPECT_EQ(group->As<UserGrp>()->Ranges, (Rows{"A", "X", "Y", "B"}));
    JournalItem* damaged = Child(orvel.store.GroupFolder, "Повреждённая");
    ASSERT_NE(damaged, nullptr);
    EXPECT_EQ(damaged->As<UserGrp>()->Ranges, (Rows{"B"}));
    // Of two ranges of one name, the first in the journal, as loading the group finds it.
    EXPECT_EQ(Names(Child(orvel.store.GroupFolder, "Двойники")),
              (Rows{"Дата=00/00/00", "Время=00:00", "W- 30.0 ...  40.0"}));
    EXPECT_EQ(orvel.store.FindRangeItem("Диапазон B")->As<UserDp>()->FolderName, "C");
}

class EmptyProgramFolder : public WindowTest {};

TEST_F(EmptyProgramFolder, HeadingsCarryTheDefaultParameters) {
    EXPECT_EQ(orvel.store.DefaultBank->Identifier, "Значения параметров банков по умолчанию ");
    EXPECT_EQ(orvel.store.DefaultBank->Poll, 5u);
    EXPECT_EQ(orvel.store.DefaultBank->Interval, 60u);
    EXPECT_EQ(orvel.store.DefaultRange->Identifier, "Значения параметров диапазонов по умолчанию ");
    EXPECT_EQ(orvel.store.DefaultRange->Cycles, 1u);
    EXPECT_EQ(orvel.store.FixedFolder->As<UserSc>()->Identifier,
              "СПИСОК ПАРАМЕТРОВ ФИКСИРОВАННЫХ ЧАСТОТ");
    EXPECT_TRUE(orvel.store.FrequencyFieldEntry->Children().empty());
    EXPECT_EQ(orvel.InfoFileShown, folder.Dir() + "INFO/info.txt");
}

// A long recording: its description is larger than other stored files may be.
class LongPhonogram : public WindowTest {
    void Prepare() override {
        std::filesystem::create_directory(folder.path() / "FONO");
        UserFono phonogram;
        phonogram.Identifier = "Долгая запись";
        phonogram.FilePath = folder.File("FONO/01030002.cfg");
        Fragment fragment;
        fragment.Identifier = "Фрагмент";
        fragment.Frequency = 1455000;
        fragment.Date = "01/03/2001";
        fragment.Time = "12:00:00";
        phonogram.Fragments.assign(5000, fragment);
        ASSERT_TRUE(phonogram.WriteFile());
        ASSERT_GT(std::filesystem::file_size(phonogram.FilePath), kTextFileLimit);
    }
};

TEST_F(LongPhonogram, IsInTheJournalWithEveryFragment) {
    JournalItem* item = Child(orvel.store.PhonogramFolder, "Долгая запись");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->As<UserFono>()->Fragments.size(), 5000u);
}

// Saves cut short by the end of the program left their temporaries behind.
class InterruptedSaves : public WindowTest {
  protected:
    void Prepare() override {
        WriteBytes("ORVEL.CFG" + ended + "_0", "x");
        WriteBytes("FREQ/0001/freq.cfg" + ended + "_1", "x");
        WriteBytes("DP/x.cfg" + ended + "_3", "x");
        WriteBytes("SCALE/x.cfg" + ended + "_4", "x");
        // A printout whose file the kill cut short, beside a whole one.
        WriteBytes("PRINT/Печать отчета ORVEL (2).pdf" + ended + "_5", "%PDF-1.4\n");
        WriteBytes("PRINT/Печать отчета ORVEL.pdf", "%PDF-1.4 whole");
        WriteBytes(ours, "x");
        // Result sets: one whole, one with some of its arrays or none of its levels (copied from
        // elsewhere, or a deletion cut short; with the operator's notes on it), one whose header
        // the save never reached (the operator's notes beside it); copied in from a file system
        // that ignores case, a set may spell its extensions in capitals.
        WriteRange("0001", "FM", 1000000, 1080000);
        WriteEtalon("DP/0001/0001.ETL", {"Идентификатор=Целый"});
        Write("DP/0001/0002.etl", {"Идентификатор=Без массивов"});
        Write("DP/0001/0002.cur", {"FL=1"});
        Write("DP/0001/0002.txt", {"Заметка"});
        Write("DP/0001/0003.cur", {"FL=1"});
        Write("DP/0001/0003.obr", {"FL=1"});
        Write("DP/0001/0003.txt", {"Заметка без эталона"});
        Write("FREQ/0001/freq.cfg", {"Идентификатор=Посты", "Кол-во=1", "F=1455000"});
        Write("FREQ/0001/0001.etl", {"Идентификатор=Без уровней"});
        Write("FREQ/0001/0001.txt", {"Заметка"});
        Write("FREQ/0001/0002.meg", {"F=1455000", "FL=1"});
        Write("FREQ/0001/0003.etl", {"Идентификатор=Целые"});
        Write("FREQ/0001/0003.MEG", {"F=1455000", "FL=1"});
    }
    std::vector<std::string> Files(const std::string& sub) const {
        std::vector<std::string> names = folder.Entries(sub);
        std::sort(names.begin(), names.end());
        return names;
    }
    const std::string ended = ".tmp" + std::to_string(EndedProcessId());
    const std::string ours = "ORVEL.INI.tmp" + std::to_string(::getpid()) + "_2";
};

TEST_F(InterruptedSaves, AreGoneAfterTheStartUnlessTheirProgramRuns) {
    EXPECT_FALSE(Exists("ORVEL.CFG" + ended + "_0"));
    EXPECT_FALSE(Exists("FREQ/0001/freq.cfg" + ended + "_1"));
    EXPECT_FALSE(Exists("DP/x.cfg" + ended + "_3"));
    EXPECT_FALSE(Exists("SCALE/x.cfg" + ended + "_4"));
    EXPECT_FALSE(Exists("PRINT/Печать отчета ORVEL (2).pdf" + ended + "_5"));
    EXPECT_TRUE(Exists("PRINT/Печать отчета ORVEL.pdf"));
    EXPECT_TRUE(Exists(ours));
}

// The start sweeps only what a save cut short leaves: the arrays or levels whose header never
// came. A set with its header stays and is listed, whatever arrays it lacks (they load
// cleared), and the operator's notes stay wherever they are.
TEST_F(InterruptedSaves, LeaveNoArraysWithoutTheirHeaderAndTakeNoHeaderOrNotes) {
    JournalItem* range = Child(orvel.store.RangeFolder, "FM");
    EXPECT_EQ(Names(range).back(), "Целый");
    EXPECT_NE(Child(range, "Без массивов"), nullptr);
    EXPECT_EQ(Files("DP/0001"),
              (Rows{"0001.ETL", "0001.cur", "0001.max", "0001.min", "0001.obr", "0001.sum",
                    "0002.cur", "0002.etl", "0002.txt", "0003.txt", "diap.cfg"}));
    JournalItem* bank = Child(orvel.store.BankFolder, "Посты");
    EXPECT_EQ(Names(bank).back(), "Целые");
    EXPECT_NE(Child(bank, "Без уровней"), nullptr);
    EXPECT_EQ(Files("FREQ/0001"),
              (Rows{"0001.etl", "0001.txt", "0003.MEG", "0003.etl", "freq.cfg"}));
}

}  // namespace
