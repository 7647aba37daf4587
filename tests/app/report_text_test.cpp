// The report texts on their own: PRINT.TXT of each kind of stored item compared byte for byte
// with its golden file, PRINTF.TXT of the tab pages, and what both leave for the print form.

#include "app/report_text.h"

#include <gtest/gtest.h>

#include "receivers/panel_registry.h"
#include "tests/app/store_fixture.h"

namespace {

const ReportMoment kMoment{"07/03/2001", "09:05"};

class ReportTexts : public StandaloneStore {
  protected:
    void Prepare() override {
        Write("DP/0001/diap.cfg",
              {"Идентификатор=Авиация", "Fн=1180000", "Fк=1370000", "Шаг=83", "Модуляция=A ",
               "Дата=01/02/2001", "Время=10:00", "Уровень=40", "Ожидание=1",
               "Время_ожидания=5", "Условие=1", "Обработка=7", "Циклов=3", "Эталон=0002",
               "Задание=0001", "Атт=ДА", "Исключение=ДА", "Фиксирование=ДА"});
        WriteEtalon("DP/0001/0001.etl", {"Идентификатор=Утро", "Кол-во_точек=2290",
                                   "Кол-во_циклов=4", "Дата=02/02/2001", "Время=06:30"});
        WriteEtalon("DP/0001/0002.etl", {"Идентификатор=Вечер", "Кол-во_точек=2290",
                                   "Кол-во_циклов=12", "Дата=02/02/2001", "Время=19:45"});
        WriteRange("0002", "FM", 1000000, 1080000);
        Write("GRP/0001/grp.cfg", {"Идентификатор=Пара", "Дата=06/03/2001", "Время=18:40",
                                   "Кол-во=3", "Диапазон=0002", "Диапазон=0009",
                                   "Диапазон=0001"});
        Write("FREQ/0001/freq.cfg",
              {"Идентификатор=Посты", "Дата=05/03/2001", "Время=12:00", "Уровень=30",
               "Ожидание=1", "Время_ожидания=10", "Условие=1", "Опрос=5", "Интервал=60",
               "Задание=Обход", "Кол-во=2", "F=1455000", "F_ATT=+", "F_STEP=125", "F_MOD=F",
               "F_ID=Пост 1", "F=1560000", "F_STEP=250", "F_MOD=A", "F_ID=Пост 2"});
        Write("FREQ/0001/0001.etl",
              {"Идентификатор=28-02-2000 23:59:30", "Кол-во_частот=2", "Кол-во_измерений=120",
               "Дата=07/03/2001", "Время=09:05", "Дата_начала=28/02/2000",
               "Время_начала=23:59:30", "Дата_конца=29/02/2000", "Время_конца=00:09:25"});
        // A measurement set as a save leaves it: its levels beside its header.
        Write("FREQ/0001/0001.meg", {"F=1455000", "FL=10"});
        Write("JOB/0001/job.cfg",
              {"Идентификатор=Обход", "Дата=04/03/2001", "Время=08:00", "Кол-во=6",
               "STR_NO=0", "DCL=Поле Частота-выбор", "TAB=10", "OBJ=11", "VAL=1455000",
               "REQ=+", "FREQ=+", "STR_NO=1", "DCL=Поле Шаг-выбор", "TAB=10", "OBJ=12",
               "VAL=125", "COND=+", "REQ=+", "STEP=+", "STR_NO=2", "DCL=Пуск записи", "TAB=6",
               "OBJ=11", "STR_NO=3", "DCL=Авиация", "TAB=9", "OBJ=3", "STR=Авиация", "REQ=+",
               "STRING=+", "STR_NO=4", "DCL=Неизвестно", "TAB=8", "OBJ=12", "VAL=7", "REQ=+",
               // A panel number beyond the known panels, from a job edited by hand.
               "STR_NO=5", "DCL=Чужая", "TAB=11", "OBJ=1", "VAL=3", "REQ=+"});
        Write("FONO/01030001.cfg",
              {"Идентификатор=Запись", "Дата=01/03/2001", "Время=10:15:00", "Скорость=2",
               "Кол-во=2", "F=1455000", "F_ID=первый", "F_DATE=01/03/2001",
               "F_TIME=10:15:00", "F_HOUR=0", "F_MIN=1", "F_SEC=5", "F=4339200",
               "F_ID=второй", "F_DATE=01/03/2001", "F_TIME=10:20:30", "F_SEC=42"});
    }

    // PRINT.TXT of `item` as the print button writes it.
    std::string ItemFile(const JournalItem* item) {
        WriteReportTexts(fdx, store, item, kMoment);
        // The program folder of the test stands as the one of an installed program.
        std::string text = Read("PRINT.TXT");
        for (std::size_t at; (at = text.find(folder.Dir())) != std::string::npos;)
            text.replace(at, folder.Dir().size(), "/opt/orvel/");
        return text;
    }
};

TEST_F(ReportTexts, EveryKindOfStoredItemIsListedAsItsGoldenFile) {
    const JournalItem* range = Child(store.RangeFolder, "Авиация");
    const JournalItem* bank = Child(store.BankFolder, "Посты");
    ASSERT_NE(range, nullptr);
    ASSERT_NE(bank, nullptr);
    EXPECT_EQ(ItemFile(range), Golden("report_range.txt"));
    EXPECT_EQ(ItemFile(bank), Golden("report_bank.txt"));
    EXPECT_EQ(ItemFile(Child(store.JobFolder, "Обход")), Golden("report_job.txt"));
    EXPECT_EQ(ItemFile(Child(store.PhonogramFolder, "Запись")), Golden("report_phonogram.txt"));
    EXPECT_EQ(ItemFile(Child(bank, "28-02-2000 23:59:30")), Golden("report_measurements.txt"));
    EXPECT_EQ(ItemFile(Child(range, "Вечер")), Golden("report_etalon.txt"));
    EXPECT_EQ(ItemFile(store.RangeFolder), Golden("report_folder.txt"));
    // A range deleted since the group was loaded leaves its number unused.
    journal.Remove(Child(store.RangeFolder, "FM"));
    EXPECT_EQ(ItemFile(Child(store.GroupFolder, "Пара")), Golden("report_group.txt"));

    // What the form is left: a table of six columns for the bank.
    WriteReportTexts(fdx, store, bank, kMoment);
    EXPECT_EQ(fdx.ItemTextAbsent, 0);
    EXPECT_EQ(fdx.ItemTextReady, 1);
    EXPECT_EQ(fdx.ItemTextFile, folder.Dir() + "PRINT.TXT");
    EXPECT_EQ(fdx.ItemColumns.table, 1);
    EXPECT_EQ(fdx.ItemColumns.count, 6);
    EXPECT_EQ(fdx.ItemColumns.widths, (std::array<int32_t, 8>{5, 20, 10, 5, 5, 45}));
}

TEST_F(ReportTexts, RowsAndCatalogEntriesAreNotItemsToPrint) {
    JournalItem* range = Child(store.RangeFolder, "Авиация");
    WriteReportTexts(fdx, store, range->FirstChild(), kMoment);  // a text row
    EXPECT_EQ(fdx.ItemTextAbsent, 1);
    EXPECT_EQ(fdx.ItemTextReady, 0);
    WriteReportTexts(fdx, store, store.FrequencyFieldEntry, kMoment);
    EXPECT_EQ(fdx.ItemTextAbsent, 1);

    // The whole journal lists no catalog entry; the catalog's own heading lists them.
    const std::string all = Cp1251ToUtf8(ItemFile(store.RootItem));
    EXPECT_EQ(all.find("Поле Частота-выбор"), std::string::npos);
    EXPECT_NE(all.find("|  Диапазоны\r\n|  |  FM\r\n|  |  Авиация\r\n|  |  |  Вечер\r\n"), std::string::npos);
    EXPECT_TRUE(Cp1251ToUtf8(ItemFile(store.PanelFolder))
                    .starts_with("Панель\r\n|  Поле Частота-выбор\r\n"));
}

TEST_F(ReportTexts, AFolderListingGoesTwentyLevelsDeep) {
    JournalItem* parent = store.GroupFolder;
    for (int depth = 1; depth <= 25; ++depth)
        parent = journal.Insert(parent, JournalPlace::Last(),
                                {JournalKind::Folder, "уровень " + std::to_string(depth)});
    const std::string text = Cp1251ToUtf8(ItemFile(store.GroupFolder));
    std::string deepest;
    for (int i = 0; i < 20; ++i) deepest += "|  ";
    EXPECT_NE(text.find("\r\n" + deepest + "уровень 20\r\n"), std::string::npos);
    EXPECT_EQ(text.find("уровень 21"), std::string::npos);
}

// ---- the tab page

TEST_F(ReportTexts, TheReceiverPageHasAReportOnlyWithABandScope) {
    fdx.WorkMode = 0;
    fdx.ReceiverType = 4;  // IC-R8500
    WriteReportTexts(fdx, store, nullptr, kMoment);
    EXPECT_EQ(Read("PRINTF.TXT"), "");
    EXPECT_EQ(fdx.PanelTextEmpty, 1);
    EXPECT_EQ(fdx.PanelTextReady, 0);

    fdx.ReceiverType = 6;  // IC-PCR1000
    fdx.Frequency = 1455000;
    fdx.Modulation = 'F';
    fdx.ScopeSpan = 151;
    fdx.ScopeStep = 50;
    WriteReportTexts(fdx, store, nullptr, kMoment);
    EXPECT_EQ(Read("PRINTF.TXT"), Lines({"Частота \t   145.5000", "Модуляция \t F ",
                                        "Ширина полосы \t  7.5", "Шаг анализатора \t  5.0",
                                        "Дата \t 07/03/2001 ", "Время \t 09:05 "}));
    EXPECT_EQ(fdx.PanelTextEmpty, 0);
    EXPECT_EQ(fdx.PanelColumns.count, 2);
}

// The band scope's step is named as the model's traits name its scope; a model added at run
// time with a scope has the report too.
TEST_F(ReportTexts, TheBandScopesStepIsNamedAsTheModelsScope) {
    fdx.WorkMode = 0;
    fdx.ScopeStep = 50;
    fdx.ReceiverType = 9;  // AR8200
    WriteReportTexts(fdx, store, nullptr, kMoment);
    EXPECT_NE(Read("PRINTF.TXT").find(Lines({"Шаг эквалайзера \t  5.0"})), std::string::npos);

    const panel_registry::Registration scope{
        {13, 13, 0, {.bandScope = BandScope::Analyser}, nullptr}};
    fdx.ReceiverType = 13;
    WriteReportTexts(fdx, store, nullptr, kMoment);
    EXPECT_NE(Read("PRINTF.TXT").find(Lines({"Шаг анализатора \t  5.0"})), std::string::npos);
}

TEST_F(ReportTexts, TheRangePageReportsTheSlotShownOnceItHoldsLevels) {
    fdx.WorkMode = 2;
    fdx.SlotIndex = 1;
    Bank& slot = fdx.ScanSlots[1];
    slot.InUse = 1;
    slot.Start = 1000000;
    slot.End = 1080000;
    slot.Step = 250;
    slot.Modulation = 'W';
    slot.SightLevel = 200;
    WriteReportTexts(fdx, store, nullptr, kMoment);
    EXPECT_EQ(fdx.PanelTextEmpty, 1);  // loaded, not scanned

    slot.CycleCount = 3;
    fdx.MainCurveKind = 3;
    fdx.SecondCurveKind = 4;
    WriteReportTexts(fdx, store, nullptr, kMoment);
    EXPECT_EQ(fdx.PanelTextEmpty, 0);
    EXPECT_EQ(Read("PRINTF.TXT"),
              Lines({"Начальная частота \t   100.0000", "Конечная частота \t   108.0000",
                     "Шаг пересторойки \t 25.0", "Модуляция \t W ", "Пройдено циклов \t 3",
                     "Уровень визира \t 200", "Цвет\tмаксимальные значения",
                     "Фон\tэталонные значения"}));
}

TEST_F(ReportTexts, TheGroupPageWritesNothingButHasDataWhenASlotHas) {
    fdx.WorkMode = 3;
    WriteReportTexts(fdx, store, nullptr, kMoment);
    EXPECT_EQ(fdx.PanelTextEmpty, 1);
    fdx.ScanSlots[7].InUse = 1;
    fdx.ScanSlots[7].Flag4 = 1;
    WriteReportTexts(fdx, store, nullptr, kMoment);
    EXPECT_EQ(fdx.PanelTextEmpty, 0);
    EXPECT_EQ(fdx.PanelTextReady, 0);
    EXPECT_EQ(Read("PRINTF.TXT"), "");
}

TEST_F(ReportTexts, TheBankPageGivesTheSeriesFromItsStartToItsLastMeasurement) {
    fdx.WorkMode = 1;
    UserFreq bank;
    bank.Poll = 30;
    fdx.CurrentBank = &bank;
    fdx.HistoriesAllocated = 1;
    fdx.MeasurementStart = {28, 2, 2000, 23, 59, 30};
    fdx.MeasurementCount = 3;
    WriteReportTexts(fdx, store, nullptr, kMoment);
    EXPECT_EQ(Read("PRINTF.TXT"),
              Lines({"Дата начала измерений \t 28/02/2000", "Время начала измерений \t 23:59:30",
                     "Дата конца измерений \t 29/02/2000", "Время конца измерений \t 00:00:30",
                     "Шаг опроса \t 30 сек"}));
}

}  // namespace
