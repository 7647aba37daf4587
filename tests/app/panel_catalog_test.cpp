// The catalog of panel objects: its entries for every receiver type, and its place in the
// journal under "Панель".
#include "app/panel_catalog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/app/window_fixture.h"

namespace {

using window_test::WindowTest;

using Catalog = std::vector<CatalogListEntry>;
using Texts = std::vector<std::string>;

// The main window's entries, listed first; the entries beside the receiver's branch add the
// windows' headings with their objects.
constexpr std::size_t kMainEntries = 22;
constexpr std::size_t kEntriesBesideReceiver = 81;

std::vector<int32_t> ChildrenOf(const Catalog& catalog, int32_t parent) {
    std::vector<int32_t> children;
    for (std::size_t i = 0; i < catalog.size(); ++i)
        if (catalog[i].parent == parent) children.push_back(int32_t(i));
    return children;
}

std::size_t DescendantCount(const Catalog& catalog, int32_t index) {
    std::size_t count = 0;
    for (int32_t child : ChildrenOf(catalog, index)) count += 1 + DescendantCount(catalog, child);
    return count;
}

// The index of the entry of `panel` and `object` that is not a preset; -1 when none.
int32_t IndexOf(const Catalog& catalog, uint32_t panel, uint32_t object) {
    for (std::size_t i = 0; i < catalog.size(); ++i) {
        const JobDcl& entry = catalog[i].dcl;
        if (!entry.Preset && entry.Panel == panel && entry.Object == object) return int32_t(i);
    }
    return -1;
}

const JobDcl* Entry(const Catalog& catalog, uint32_t panel, uint32_t object) {
    const int32_t i = IndexOf(catalog, panel, object);
    return i < 0 ? nullptr : &catalog[std::size_t(i)].dcl;
}

// The index of the preset `name` under `owner`.
int32_t PresetOf(const Catalog& catalog, int32_t owner, const std::string& name) {
    for (int32_t i : ChildrenOf(catalog, owner))
        if (catalog[std::size_t(i)].dcl.Name == name) return i;
    return -1;
}

// After the main window's entries: the receiver's heading, which selects the receiver's tab
// page, over the panel's own objects (numbered in the type's hundred, as its panel serves them),
// then the windows' headings, each selecting its page, over that window's objects.
TEST(PanelCatalog, EachHeadingSelectsItsTabPageAndListsTheObjectsOfThatPage) {
    for (int32_t type : {1, 2, 3, 4, 6, 7, 8, 9, 10, 12}) {
        SCOPED_TRACE(type);
        const Catalog catalog = PanelCatalog(type);
        const std::vector<int32_t> top = ChildrenOf(catalog, -1);
        ASSERT_EQ(top.size(), kMainEntries + 8);
        for (uint32_t page = 0; page < 8; ++page) {
            const JobDcl& heading = catalog[std::size_t(top[kMainEntries + page])].dcl;
            EXPECT_EQ(heading.Panel, 10u);
            EXPECT_EQ(heading.Object, page);
            for (int32_t child : ChildrenOf(catalog, top[kMainEntries + page])) {
                const JobDcl& object = catalog[std::size_t(child)].dcl;
                EXPECT_EQ(object.Panel, page) << object.Name;
                EXPECT_FALSE(object.Preset) << object.Name;
                if (page == 0) {
                    EXPECT_EQ(object.Object / 100, uint32_t(type)) << object.Name;
                }
            }
        }
        EXPECT_EQ(catalog.size(),
                  kEntriesBesideReceiver + 1 + DescendantCount(catalog, top[kMainEntries]));
    }
}

TEST(PanelCatalog, TypesWithoutAPanelOfTheirOwnHaveNoReceiverBranch) {
    // 5 and 11 reach the catalog as 3 and 9; 0 is left when no panel could be made.
    for (int32_t type : {0, 5, 11, 13}) {
        const Catalog catalog = PanelCatalog(type);
        EXPECT_EQ(catalog.size(), kEntriesBesideReceiver) << type;
        EXPECT_EQ(Entry(catalog, 10, 0), nullptr) << type;
    }
}

TEST(PanelCatalog, PresetsFollowTheirEntryWithItsPanelAndObject) {
    for (int32_t type : {1, 2, 3, 4, 6, 7, 8, 9, 10, 12}) {
        const Catalog catalog = PanelCatalog(type);
        for (std::size_t i = 0; i < catalog.size(); ++i) {
            const JobDcl& entry = catalog[i].dcl;
            // Whatever the line carries is significant.
            if (entry.TakesValue || entry.STRING || entry.Value != 0) {
                EXPECT_TRUE(entry.REQ) << entry.Name;
            }
            if (!entry.Preset) continue;
            const int32_t owner = catalog[i].parent;
            ASSERT_GE(owner, 0);
            const JobDcl& parent = catalog[std::size_t(owner)].dcl;
            EXPECT_EQ(entry.Panel, parent.Panel) << entry.Name;
            EXPECT_EQ(entry.Object, parent.Object) << entry.Name;
            EXPECT_TRUE(parent.TakesValue) << parent.Name;
            EXPECT_TRUE(entry.TakesValue && entry.REQ);
            EXPECT_FALSE(entry.STEP || entry.FREQ || entry.STRING);
            // Listed right after the entry or after a preset of the same entry.
            EXPECT_TRUE(int32_t(i) - 1 == owner || catalog[i - 1].parent == owner) << entry.Name;
        }
    }
}

TEST(CatalogLine, APresetBecomesALineOfItsEntryWithThePresetsValue) {
    const Catalog catalog = PanelCatalog(4);
    const int32_t banks = IndexOf(catalog, 0, 427);
    const int32_t free = PresetOf(catalog, banks, "Банк FREE-свободных каналов");
    ASSERT_GE(free, 0);
    const JobStr line = CatalogLine(
        ChosenCatalogEntry(catalog[std::size_t(free)].dcl, &catalog[std::size_t(banks)].dcl),
        false);
    EXPECT_EQ(line.DCL, "Выбор БАНКА");
    EXPECT_EQ(line.TAB, 0u);
    EXPECT_EQ(line.OBJ, 427u);
    EXPECT_EQ(line.VAL, 20u);
    EXPECT_EQ(line.REQ, 1);
    EXPECT_EQ(line.STRING, 0);
    EXPECT_TRUE(line.STR.empty());
    EXPECT_EQ(line.COND, 0);

    // A step preset keeps the step flag of its field.
    const Catalog icr10 = PanelCatalog(3);
    const int32_t field = IndexOf(icr10, 0, 312);
    const JobStr step =
        CatalogLine(ChosenCatalogEntry(icr10[std::size_t(PresetOf(icr10, field, "1 МГц"))].dcl,
                                       &icr10[std::size_t(field)].dcl),
                    false);
    EXPECT_EQ(step.OBJ, 312u);
    EXPECT_EQ(step.VAL, 10000u);
    EXPECT_EQ(step.STEP, 1);

    // An entry that is no preset stands for itself.
    const JobDcl& start = *Entry(catalog, 10, 17);
    EXPECT_EQ(CatalogLine(ChosenCatalogEntry(start, nullptr), true), CatalogLine(start, true));
}

TEST(CatalogLine, AJournalLineNamesItsItemAndACondLineKeepsItsCondition) {
    JobDcl etalon;
    etalon.Name = "Радиовещание FM>>Утро";
    etalon.Panel = 9;
    etalon.Object = 8;
    const JobStr journal = CatalogLine(etalon, false);
    EXPECT_EQ(journal.DCL, "Радиовещание FM>>Утро");
    EXPECT_EQ(journal.STR, "Радиовещание FM>>Утро");
    EXPECT_EQ(journal.STRING, 1);
    EXPECT_EQ(journal.TAB, 9u);
    EXPECT_EQ(journal.OBJ, 8u);

    const JobStr load = CatalogLine(*FindCatalogEntry(4, 10, 13), true);
    EXPECT_EQ(load.DCL, "Кнопка ЗАГРУЗИТЬ");
    EXPECT_EQ(load.COND, 1);
    EXPECT_EQ(load.STRING, 0);
    EXPECT_EQ(FindCatalogEntry(4, 10, 0)->Name, "Панель ПРИЕМНИК IC-R8500");
    EXPECT_FALSE(FindCatalogEntry(4, 10, 35).has_value());
}

// ---- in the journal

class CatalogJournal : public WindowTest {
    void Prepare() override {
        Write("ORVEL.INI", {"RECV=4"});
        Write("010011.dat", {"1455000"});
        Write("010012.dat", {"125", "2500"});
    }

  protected:
    // What the item and everything under it hold, as the catalog lists it.
    static std::size_t Descendants(const JournalItem* item) {
        std::size_t count = 0;
        for (const auto& child : item->Children()) {
            EXPECT_TRUE(child->Is(JournalKind::CatalogEntry)) << child->Name;
            EXPECT_NE(child->As<JobDcl>(), nullptr) << child->Name;
            count += 1 + Descendants(child.get());
        }
        return count;
    }
};

TEST_F(CatalogJournal, ListsTheCatalogUnderPanelWithTheFieldsRememberedValues) {
    JournalItem* panel = orvel.store.PanelFolder;
    ASSERT_NE(panel, nullptr);
    const Catalog catalog = PanelCatalog(4);
    Texts listed;
    for (int32_t i : ChildrenOf(catalog, -1)) listed.push_back(catalog[std::size_t(i)].dcl.Name);
    EXPECT_EQ(Names(panel), listed);

    // The fields are listed once, with the values kept in their files.
    EXPECT_EQ(panel->Children()[0].get(), orvel.store.FrequencyFieldEntry);
    EXPECT_EQ(panel->Children()[1].get(), orvel.store.StepFieldEntry);
    EXPECT_EQ(Names(orvel.store.FrequencyFieldEntry), (Texts{"145.5000"}));
    EXPECT_EQ(Names(orvel.store.StepFieldEntry), (Texts{"12.5", "250.0"}));

    // Every entry of the catalog, and the three remembered values.
    EXPECT_EQ(Descendants(panel), catalog.size() + 3);
}

TEST_F(CatalogJournal, LoadingAPresetChoosesItsEntryWithThePresetsValue) {
    JournalItem* banks =
        Child(Child(orvel.store.PanelFolder, "Панель ПРИЕМНИК IC-R8500"), "Выбор БАНКА");
    ASSERT_NE(banks, nullptr);
    orvel.journal.Select(Child(banks, "Банк PRIO-приоритетной частоты для постоянного опроса"));
    orvel.WorkMode = 4;  // the job tab, where entries become lines of the job being edited
    orvel.store.LoadItem();
    ASSERT_EQ(orvel.SelectedCatalogEntry, banks->As<JobDcl>());
    const JobStr line = CatalogLine(*orvel.SelectedCatalogEntry, false);
    EXPECT_EQ(line.OBJ, 427u);
    EXPECT_EQ(line.VAL, 24u);
}

}  // namespace
