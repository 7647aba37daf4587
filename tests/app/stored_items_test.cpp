// Renaming stored items and loading one through the main window, where its tree control and
// tabs take part; the item store on its own is tested in item_store_test.cpp.
#include <gtest/gtest.h>

#include "tests/app/window_fixture.h"

namespace {

using window_test::CodeSink;
using window_test::WindowTest;

using Rows = std::vector<std::string>;

// ---- renaming

class Renaming : public WindowTest {
  protected:
    void Prepare() override { WriteRange("0001", "FM", 1000000, 1080000); }

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

// Groups name their ranges by identifier, then by folder: a range renamed to what names another
// range would be the other one to every group, and the other gone from them without a word.
class RenamingBesideAnother : public Renaming {
    void Prepare() override {
        Renaming::Prepare();
        WriteRange("0002", "Авиация", 1180000, 1360000);
    }
};

TEST_F(RenamingBesideAnother, TheNameOrFolderOfAnotherRangeIsRefusedWithAMessage) {
    const std::string stored = Read("DP/0001/diap.cfg");
    for (const char* name : {"Авиация", "0002"}) {
        boxes.shown.clear();
        ui::EventData end;
        end.id = ui::EventId::EndLabelEdit;
        end.item = orvel.journalTree->TreeItemOf(Range());
        end.text = name;
        orvel.op->Raise(end);
        EXPECT_EQ(Messages(), Rows{"Диапазон с данными параметрами уже существует!"}) << name;
        EXPECT_EQ(Range()->As<UserDp>()->Identifier, "FM");
        EXPECT_EQ(orvel.op->ItemText(orvel.journalTree->TreeItemOf(Range())), "FM");
    }
    EXPECT_EQ(Read("DP/0001/diap.cfg"), stored);

    // Its own folder's name is no other range's.
    boxes.shown.clear();
    orvel.store.RenameJournalItem(Range(), "0001");
    EXPECT_EQ(Messages(), Rows{});
    EXPECT_EQ(Child(orvel.store.RangeFolder, "0001")->As<UserDp>()->FolderName, "0001");
}

// The load button: what the store asks of the main window reaches the range window and the tabs.
using LoadButton = Renaming;

TEST_F(LoadButton, ARangeGoesToTheRangeWindowAndItsTabIsShown) {
    CodeSink diap;
    orvel.subWindows.diap = &diap;
    orvel.SwitchToTab(1);
    orvel.journal.Select(Range());
    ui::EventData click;
    click.id = ui::EventId::Click;
    orvel.pictbttn_2->Raise(click);
    EXPECT_EQ(orvel.ScanSlots[0].Range, Range()->As<UserDp>());
    EXPECT_EQ(orvel.tabctrl_1->SelectedIndex(), 2);
    EXPECT_EQ(orvel.WorkMode, 2);
    ui::ServePending();
    EXPECT_EQ(diap.codes, (std::vector<uint32_t>{PostItemLoaded, PostRefreshLevels}));
}

}  // namespace
