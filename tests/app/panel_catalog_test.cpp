// The catalog of panel objects: its entries for every receiver type, and its place in the
// journal under "Панель".
#include "app/panel_catalog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/app/journal_window.h"

namespace {

using Catalog = std::vector<CatalogListEntry>;
using Texts = std::vector<std::string>;
using Objects = std::vector<uint32_t>;

// The receiver branch of each type: its heading, the objects in the order listed and how many
// presets they carry between them.
struct ReceiverBranch {
    int32_t type;
    const char* heading;
    std::size_t presets;
    Objects objects;
};

// clang-format off
const ReceiverBranch kBranches[] = {
    {1, "Панель ПРИЕМНИК AR-3000A", 9, {123, 125, 121, 126, 124, 111, 112, 113, 114, 127, 115, 116, 117, 118, 119, 120, 128, 122}},
    {2, "Панель ПРИЕМНИК AR-8000", 29, {219, 221, 217, 222, 220, 225, 211, 212, 213, 214, 215, 216, 227, 218, 228, 223, 224}},
    {3, "Панель ПРИЕМНИК IC-R10", 9, {316, 315, 311, 313, 314, 312}},
    {4, "Панель ПРИЕМНИК IC-R8500", 34, {429, 431, 435, 434, 421, 432, 430, 411, 412, 413, 414, 415, 416, 417, 418, 419, 420, 422, 423, 424, 425, 433, 426, 427, 428}},
    {6, "Панель ПРИЕМНИК IC-PCR1000", 13, {614, 617, 618, 619, 613, 621, 622, 623, 625, 635, 636, 626}},
    {7, "Панель ПРИЕМНИК AR-5000", 50, {719, 721, 717, 722, 720, 725, 711, 712, 713, 716, 718, 728, 727, 738, 737, 739, 729, 730, 731, 732, 715, 733, 734, 735, 736, 741, 742, 743, 744, 745, 746, 747, 740, 723, 714, 724}},
    {8, "Панель ПРИЕМНИК WINRADIO", 9, {816, 815, 811, 813, 814, 819, 818, 820, 817, 821, 812}},
    {9, "Панель ПРИЕМНИК AR-8200", 72, {919, 921, 917, 922, 920, 926, 911, 912, 913, 914, 915, 916, 918, 929, 928, 931, 930, 934, 933, 932, 923, 924, 925}},
    {10, "Панель ПРИЕМНИК IC-R7", 9, {1029, 1031, 1034, 1021, 1032, 1030, 1011, 1012, 1013, 1014, 1016, 1018, 1019, 1020, 1022, 1023, 1024, 1025, 1026, 1028}},
    {12, "Панель ТРАНСИВЕР IC-756PRO", 11, {1229, 1231, 1235, 1234, 1221, 1232, 1230, 1211, 1212, 1213, 1214, 1215, 1216, 1217, 1218, 1219, 1220, 1222, 1223, 1224, 1225, 1226, 1228}},
};
// clang-format on

// The main window's entries and the other panels' headings with their objects.
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

int32_t TopLevel(const Catalog& catalog, const std::string& name) {
    for (int32_t i : ChildrenOf(catalog, -1))
        if (catalog[std::size_t(i)].dcl.Name == name) return i;
    return -1;
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

TEST(PanelCatalog, ReceiverBranchOfEachTypeListsItsObjectsInOrderWithTheirPresets) {
    for (const ReceiverBranch& branch : kBranches) {
        SCOPED_TRACE(branch.heading);
        const Catalog catalog = PanelCatalog(branch.type);
        const int32_t heading = TopLevel(catalog, branch.heading);
        ASSERT_GE(heading, 0);
        const JobDcl& entry = catalog[std::size_t(heading)].dcl;
        EXPECT_EQ(entry.Panel, 10u);
        EXPECT_EQ(entry.Object, 0u);  // selects the receiver's tab page

        Objects objects;
        std::size_t presets = 0;
        for (int32_t i : ChildrenOf(catalog, heading)) {
            const JobDcl& object = catalog[std::size_t(i)].dcl;
            EXPECT_EQ(object.Panel, 0u);
            EXPECT_FALSE(object.Preset);
            objects.push_back(object.Object);
            presets += ChildrenOf(catalog, i).size();
        }
        EXPECT_EQ(objects, branch.objects);
        EXPECT_EQ(presets, branch.presets);
        EXPECT_EQ(DescendantCount(catalog, heading), branch.objects.size() + branch.presets);
        EXPECT_EQ(catalog.size(), kEntriesBesideReceiver + 1 + branch.objects.size() + presets);
    }
    const Catalog ar8200 = PanelCatalog(9);
    EXPECT_EQ(DescendantCount(ar8200, TopLevel(ar8200, "Панель ПРИЕМНИК AR-8200")), 95u);
}

TEST(PanelCatalog, TypesWithoutAPanelOfTheirOwnHaveNoReceiverBranch) {
    // 5 and 11 reach the catalog as 3 and 9; 0 is left when no panel could be made.
    for (int32_t type : {0, 5, 11, 13}) {
        const Catalog catalog = PanelCatalog(type);
        EXPECT_EQ(catalog.size(), kEntriesBesideReceiver) << type;
        EXPECT_EQ(Entry(catalog, 10, 0), nullptr) << type;
    }
}

TEST(PanelCatalog, MainWindowEntriesComeFirstInTheirOwnOrder) {
    const Catalog catalog = PanelCatalog(4);
    const std::vector<int32_t> top = ChildrenOf(catalog, -1);
    ASSERT_GE(top.size(), 22u);
    Objects objects;
    for (std::size_t i = 0; i < 22; ++i) objects.push_back(catalog[std::size_t(top[i])].dcl.Object);
    EXPECT_EQ(objects, (Objects{11, 12, 27, 13, 14, 28, 29, 30, 31, 15, 16,  //
                                17, 25, 18, 26, 19, 20, 21, 22, 23, 24, 40}));
    EXPECT_EQ(catalog[std::size_t(top[0])].dcl.Name, "Поле Частота-выбор");
    EXPECT_EQ(Entry(catalog, 10, 28)->Name, "Кнопка ПЕЧАТЬ");
    EXPECT_EQ(Entry(catalog, 10, 40)->Name, "Кнопка RTTY-модуляция");
    EXPECT_EQ(Entry(catalog, 10, 17)->Name, "Кнопка ПУСК");

    const JobDcl& frequency = *Entry(catalog, 10, 11);
    EXPECT_TRUE(frequency.TakesValue && frequency.FREQ && frequency.REQ);
    EXPECT_FALSE(frequency.STEP);
    const JobDcl& step = *Entry(catalog, 10, 12);
    EXPECT_TRUE(step.TakesValue && step.STEP && step.REQ);
    const JobDcl& time = *Entry(catalog, 10, 27);
    EXPECT_TRUE(time.STRING && time.REQ);
    EXPECT_FALSE(time.TakesValue);
    // The fields' remembered values come from their files, not from the catalog.
    EXPECT_TRUE(ChildrenOf(catalog, top[0]).empty());
}

TEST(PanelCatalog, WindowHeadingsFollowTheReceiverWithTheirObjects) {
    const Catalog catalog = PanelCatalog(3);
    const std::vector<int32_t> top = ChildrenOf(catalog, -1);
    ASSERT_EQ(top.size(), 22u + 1 + 7);
    Texts names;
    std::vector<std::size_t> counts;
    for (std::size_t i = 22; i < top.size(); ++i) {
        const JobDcl& heading = catalog[std::size_t(top[i])].dcl;
        names.push_back(heading.Name);
        counts.push_back(DescendantCount(catalog, top[i]));
        EXPECT_EQ(heading.Panel, 10u);
        EXPECT_EQ(heading.Object, i - 22);  // the tab page it selects
        for (int32_t child : ChildrenOf(catalog, top[i]))
            EXPECT_EQ(catalog[std::size_t(child)].dcl.Panel, i - 22) << heading.Name;
    }
    EXPECT_EQ(names,
              (Texts{"Панель ПРИЕМНИК IC-R10", "Панель БАНК", "Панель ДИАПАЗОНЫ", "Панель ГРУППА",
                     "Панель ЗАДАНИЕ", "Панель ТЕКСТ", "Панель СИГНАЛ", "Панель ПАРАМЕТРЫ"}));
    EXPECT_EQ(counts, (std::vector<std::size_t>{15, 8, 34, 0, 0, 2, 8, 0}));

    Objects bank;
    for (int32_t i : ChildrenOf(catalog, top[23]))
        bank.push_back(catalog[std::size_t(i)].dcl.Object);
    EXPECT_EQ(bank, (Objects{11, 13, 12, 16, 14, 15, 17, 18}));
    const JobDcl& counter = *Entry(catalog, 1, 15);
    EXPECT_EQ(counter.Name, "Поле Счетчик размножения");
    EXPECT_EQ(counter.Value, 5u);
    EXPECT_TRUE(counter.REQ);
    EXPECT_FALSE(counter.TakesValue);
    EXPECT_TRUE(Entry(catalog, 1, 14)->STEP);
    EXPECT_TRUE(Entry(catalog, 5, 11)->STRING);
    EXPECT_EQ(Entry(catalog, 6, 17)->Name, "Установить полное воспроизведение");
}

TEST(PanelCatalog, KeepsTheProgramsOwnSpellings) {
    const Catalog ranges = PanelCatalog(4);
    EXPECT_EQ(Entry(ranges, 2, 15)->Name, "Кнопка  1 Диапазон");
    EXPECT_EQ(Entry(ranges, 2, 23)->Name, "Кнопка  9 Диапазон");
    EXPECT_EQ(Entry(ranges, 2, 24)->Name, "Кнопка 10 Диапазон");
    EXPECT_EQ(Entry(ranges, 2, 26)->Name, "Кнопка 12 Диапазон");
    EXPECT_EQ(Entry(PanelCatalog(7), 0, 717)->Name, "Кнопка Очистить/Остановить сканирование ");
    EXPECT_EQ(Entry(PanelCatalog(7), 0, 732)->Name, "Кнопка Атт AUto");
    EXPECT_EQ(Entry(PanelCatalog(1), 0, 118)->Name, "Установить Аттеньюатор");
    EXPECT_EQ(Entry(PanelCatalog(9), 0, 914)->Name, "Установить Аттенюатор");
    EXPECT_EQ(Entry(PanelCatalog(6), 0, 613)->Name, "Сдвиг Fц");

    // The AR8000 lists its lower-case banks backwards, the AR8200 forwards.
    const Catalog ar8000 = PanelCatalog(2);
    const int32_t banks8000 = IndexOf(ar8000, 0, 224);
    EXPECT_EQ(ar8000[std::size_t(PresetOf(ar8000, banks8000, "Банк j"))].dcl.Value, 10u);
    EXPECT_EQ(ar8000[std::size_t(PresetOf(ar8000, banks8000, "Банк a"))].dcl.Value, 19u);
    const Catalog ar8200 = PanelCatalog(9);
    const int32_t banks8200 = IndexOf(ar8200, 0, 924);
    EXPECT_EQ(ar8200[std::size_t(PresetOf(ar8200, banks8200, "Банк a"))].dcl.Value, 10u);
    const int32_t search = IndexOf(ar8200, 0, 925);
    EXPECT_EQ(ar8200[std::size_t(PresetOf(ar8200, search, "Банк t"))].dcl.Value, 39u);

    // The IC-756PRO offers two finer steps before the standard ones.
    const Catalog ic756 = PanelCatalog(12);
    const int32_t steps = IndexOf(ic756, 0, 1226);
    Texts names;
    for (int32_t i : ChildrenOf(ic756, steps)) names.push_back(ic756[std::size_t(i)].dcl.Name);
    EXPECT_EQ(names, (Texts{"1 кГц", "5 кГц", "10 кГц", "20 кГц", "50 кГц", "100 кГц", "200 кГц",
                            "500 кГц", "1 МГц", "2 МГц", "5 МГц"}));
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

class CatalogJournal : public JournalWindow {
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
    ASSERT_EQ(panel->Children().size(), 22u + 1 + 7);
    const Texts names = Names(panel);
    EXPECT_EQ(Texts(names.begin(), names.begin() + 4),
              (Texts{"Поле Частота-выбор", "Поле Шаг-выбор", "Поле СИСТЕМНОЕ ВРЕМЯ",
                     "Кнопка ЗАГРУЗИТЬ"}));
    EXPECT_EQ(names[22], "Панель ПРИЕМНИК IC-R8500");
    EXPECT_EQ(names.back(), "Панель ПАРАМЕТРЫ");

    // The fields are listed once, with the values kept in their files.
    EXPECT_EQ(panel->Children()[0].get(), orvel.store.FrequencyFieldEntry);
    EXPECT_EQ(panel->Children()[1].get(), orvel.store.StepFieldEntry);
    EXPECT_EQ(Names(orvel.store.FrequencyFieldEntry), (Texts{"145.5000"}));
    EXPECT_EQ(Names(orvel.store.StepFieldEntry), (Texts{"12.5", "250.0"}));

    JournalItem* receiver = Child(panel, "Панель ПРИЕМНИК IC-R8500");
    EXPECT_EQ(receiver->Children().size(), 25u);
    EXPECT_EQ(Descendants(receiver), 25u + 34);
    EXPECT_EQ(Descendants(panel), 1 + 2 + kEntriesBesideReceiver + 1 + 25 + 34);
    EXPECT_EQ(Child(panel, "Панель ДИАПАЗОНЫ")->Children()[4]->Name, "Кнопка  1 Диапазон");
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
