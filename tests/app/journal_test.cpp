// The journal model without any window.
#include "app/journal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Names(const JournalItem* parent) {
    std::vector<std::string> names;
    for (const auto& child : parent->Children()) names.push_back(child->Name);
    return names;
}

JournalItemSpec ItemShape(JournalKind kind, std::string name) {
    return {kind, std::move(name), true, kNoSection};
}

// Records what the journal tells its view.
class RecordingView : public JournalView {
  public:
    void Inserted(JournalItem& item) override {
        events.push_back("+" + item.Name + "@" + std::to_string(item.Index()));
    }
    void Removing(JournalItem& item) override { events.push_back("-" + item.Name); }
    void TextChanged(JournalItem& item) override { events.push_back("=" + item.Name); }
    void Selected(JournalItem* item) override {
        events.push_back("*" + (item != nullptr ? item->Name : std::string("none")));
    }
    void Expanded(JournalItem& item) override { events.push_back(">" + item.Name); }
    void EditLabel(JournalItem& item) override { events.push_back("?" + item.Name); }
    std::vector<std::string> events;
};

TEST(JournalNames, CompareInRussianAlphabeticalOrderIgnoringCase) {
    EXPECT_EQ(CompareJournalNames("Банк", "банк"), 0);
    EXPECT_EQ(CompareJournalNames("QWERTY", "qwerty"), 0);
    EXPECT_LT(CompareJournalNames("Ель", "Ёж"), 0);  // ё comes after е ...
    EXPECT_LT(CompareJournalNames("ёж", "Жук"), 0);  // ... and before ж
    EXPECT_LT(CompareJournalNames("Яблоко", "ящик"), 0);
    EXPECT_LT(CompareJournalNames("zebra", "Антенна"), 0);       // Latin before Cyrillic
    EXPECT_LT(CompareJournalNames("07-03-2001", "Банк"), 0);     // digits before letters
    EXPECT_LT(CompareJournalNames("Банк", "Банк частот-1"), 0);  // a prefix comes first
    EXPECT_GT(CompareJournalNames("Банк 2", "банк 10"), 0);      // texts, not numbers
}

TEST(Journal, SortedItemsGoAmongTheirOwnKindBelowTheRows) {
    Journal journal;
    JournalItem* bank =
        journal.Insert(nullptr, JournalPlace::Last(), ItemShape(JournalKind::Bank, "Банк"));
    journal.Insert(bank, JournalPlace::Last(), ItemShape(JournalKind::Row, "Дата=07/03/2001"));
    journal.Insert(bank, JournalPlace::Last(), ItemShape(JournalKind::Row, "Время=09:05"));
    for (const char* name : {"ёлка", "Ель", "жук", "Еж", "ель"})
        journal.Insert(bank, JournalPlace::Sorted(), ItemShape(JournalKind::MeasurementSet, name));
    EXPECT_EQ(Names(bank), (std::vector<std::string>{"Дата=07/03/2001", "Время=09:05", "Еж", "Ель",
                                                     "ель", "ёлка", "жук"}));
}

TEST(Journal, PositionalInsertionFollowsTheNamedSibling) {
    Journal journal;
    JournalItem* folder =
        journal.Insert(nullptr, JournalPlace::Last(), ItemShape(JournalKind::Folder, "Диапазоны"));
    JournalItem* a =
        journal.Insert(folder, JournalPlace::First(), ItemShape(JournalKind::Range, "a"));
    journal.Insert(folder, JournalPlace::After(a), ItemShape(JournalKind::Range, "b"));
    journal.Insert(folder, JournalPlace::After(nullptr), ItemShape(JournalKind::Range, "first"));
    journal.Insert(folder, JournalPlace::After(a), ItemShape(JournalKind::Range, "a2"));
    EXPECT_EQ(Names(folder), (std::vector<std::string>{"first", "a", "a2", "b"}));
    EXPECT_EQ(a->NextSibling()->Name, "a2");
    EXPECT_EQ(folder->FirstChild()->Name, "first");
}

TEST(Journal, AnItemKnowsItsPlaceAfterInsertionsAndRemovalsAroundIt) {
    Journal journal;
    JournalItem* folder =
        journal.Insert(nullptr, JournalPlace::Last(), ItemShape(JournalKind::Folder, "f"));
    std::vector<JournalItem*> made;
    for (int i = 0; i < 12; ++i) {
        const JournalPlace place = i % 3 == 0   ? JournalPlace::First()
                                   : i % 3 == 1 ? JournalPlace::Last()
                                                : JournalPlace::After(made[made.size() / 2]);
        made.push_back(journal.Insert(folder, place, ItemShape(JournalKind::Range, "r")));
        if (i == 7) journal.Remove(folder->Children()[1].get());
        if (i == 9) journal.Remove(folder->Children().front().get());
        for (std::size_t at = 0; at < folder->Children().size(); ++at) {
            const JournalItem& child = *folder->Children()[at];
            ASSERT_EQ(child.Index(), at) << "after insertion " << i;
            EXPECT_EQ(child.NextSibling(), at + 1 < folder->Children().size()
                                               ? folder->Children()[at + 1].get()
                                               : nullptr);
        }
        made.erase(std::remove_if(made.begin(), made.end(),
                                  [&](JournalItem* item) { return !journal.Contains(item); }),
                   made.end());
    }
}

TEST(Journal, AFailedInsertionLeavesTheRecordWithTheCaller) {
    Journal journal;
    JournalItem* root =
        journal.Insert(nullptr, JournalPlace::Last(), ItemShape(JournalKind::Root, "ORVEL"));
    JournalItem* other =
        journal.Insert(root, JournalPlace::Last(), ItemShape(JournalKind::Folder, "Банки"));
    auto range = std::make_unique<UserDp>();
    range->Identifier = "kept";

    // A sibling from another parent, and a parent no longer in the journal.
    EXPECT_EQ(journal.Insert(root, JournalPlace::After(root), ItemShape(JournalKind::Range, "x"),
                             std::move(range)),
              nullptr);
    ASSERT_NE(range, nullptr);
    journal.Remove(other);
    EXPECT_FALSE(journal.Contains(other));
    EXPECT_EQ(journal.Insert(other, JournalPlace::Last(), ItemShape(JournalKind::Range, "x"),
                             std::move(range)),
              nullptr);
    ASSERT_NE(range, nullptr);
    EXPECT_EQ(range->Identifier, "kept");

    JournalItem* item = journal.Insert(root, JournalPlace::Last(),
                                       ItemShape(JournalKind::Range, "x"), std::move(range));
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(range, nullptr);
    EXPECT_EQ(item->As<UserDp>()->Identifier, "kept");
    EXPECT_EQ(item->As<UserFreq>(), nullptr);
}

TEST(Journal, RemovingTheSelectionSelectsTheParentFirst) {
    Journal journal;
    RecordingView view;
    journal.SetView(&view);
    std::vector<std::string> selected;
    journal.SetSelectHandler(
        [&](JournalItem* item) { selected.push_back(item ? item->Name : ""); });
    JournalItem* root =
        journal.Insert(nullptr, JournalPlace::Last(), ItemShape(JournalKind::Root, "ORVEL"));
    JournalItem* bank =
        journal.Insert(root, JournalPlace::Last(), ItemShape(JournalKind::Bank, "Банк"));
    JournalItem* set =
        journal.Insert(bank, JournalPlace::Last(), ItemShape(JournalKind::MeasurementSet, "set"));
    journal.Select(set);
    journal.Select(set);  // no change: nobody is told
    journal.Remove(bank);
    EXPECT_EQ(journal.Selected(), root);
    EXPECT_EQ(selected, (std::vector<std::string>{"set", "ORVEL"}));
    EXPECT_FALSE(journal.Contains(set));
    EXPECT_EQ(journal.Size(), 1u);
    EXPECT_EQ(view.events, (std::vector<std::string>{"+ORVEL@0", "+Банк@0", "+set@0", "*set",
                                                     "*ORVEL", "-Банк"}));
}

TEST(Journal, WalksParentsBeforeChildren) {
    Journal journal;
    JournalItem* root =
        journal.Insert(nullptr, JournalPlace::Last(), ItemShape(JournalKind::Root, "r"));
    JournalItem* a =
        journal.Insert(root, JournalPlace::Last(), ItemShape(JournalKind::Folder, "a"));
    journal.Insert(a, JournalPlace::Last(), ItemShape(JournalKind::Row, "a1"));
    journal.Insert(root, JournalPlace::Last(), ItemShape(JournalKind::Folder, "b"));
    std::string order;
    journal.Walk([&](JournalItem& item) { order += item.Name + " "; });
    EXPECT_EQ(order, "r a a1 b ");
}

}  // namespace
