// The parameters page with its panels for the selected section (bank scan, range scan, scale
// tags), the fixed frequency made from a span typed into the tag base, and the calibration
// window of the calibration button, in the running main window.
#include <gtest/gtest.h>

#include "app/orvel_parameters.h"
#include "app/orvel_windows.h"
#include "tests/app/window_fixture.h"

namespace {

using window_test::WindowTest;

void Click(ui::Control* button) {
    button->Raise(ui::EventId::Click);
    ui::ServePending();
}

class ParameterPage : public WindowTest {
  protected:
    void Prepare() override {
        WriteRange("0001", "FM", 1000000, 1080000);
        Write("FREQ/0001/freq.cfg", {"Идентификатор=Посты", "Кол-во=1", "F=1455000"});
        WriteJob("0001", "Обход", {});
        Write("SCALE/scale.tag", {"Канал\tFIELD000"});
        Write("SCALE/1455000.cfg", {"Идентификатор=145.5000-145.6000", "Fн=1455000", "Fк=1456000",
                                    "Шаг=125", "Модуляция=F "});
        Write("SCALE/1455000.tag", {"Канал\tСвязь"});
    }
    void Select(JournalItem* item) {
        orvel.journal.Select(item);
        ui::ServePending();
    }
    OrvelParameterPanels& Panels() { return *orvel.parameterPanels; }
};

TEST_F(ParameterPage, EachSectionShowsItsPanelAndTheSaveButtonWritesIt) {
    orvel.SwitchToTab(7);
    Select(Child(orvel.store.RangeFolder, "FM"));
    pdiap& ranges = Panels().rangeScan;
    EXPECT_EQ(orvel.tabctrl_1->Page(7), &ranges);
    EXPECT_EQ(ranges.label_1->Text(), "FM");
    ASSERT_EQ(ranges.job->Count(), 2);
    EXPECT_EQ(ranges.job->StringAt(1), "Обход");
    ranges.twait->SetText("5000");
    ranges.job->SetSelectedIndex(1);
    Click(orvel.pictbttn_3);
    EXPECT_NE(Read("DP/0001/diap.cfg").find(Lines({"Время_ожидания=3600"})), std::string::npos);
    EXPECT_NE(Read("DP/0001/diap.cfg").find(Lines({"Задание=0001"})), std::string::npos);

    Select(orvel.store.RangeFolder);  // the default range parameters
    EXPECT_FALSE(ranges.etalon->IsEnabled());

    Select(Child(orvel.store.BankFolder, "Посты"));
    EXPECT_EQ(orvel.tabctrl_1->Page(7), &Panels().bankScan);
    EXPECT_EQ(Panels().bankScan.fstep->Text(), "5");

    Select(Child(orvel.store.FixedFolder, "145.5000-145.6000"));
    EXPECT_EQ(orvel.tabctrl_1->Page(7), &Panels().tags);
    EXPECT_EQ(Panels().tags.Tags().size(), 1u);
    Answer({ui::MessageAnswer::Yes});
    Click(orvel.pictbttn_1);  // clearing the page drops the item's tags
    EXPECT_FALSE(Exists("SCALE/1455000.tag"));
    EXPECT_EQ(Messages(), std::vector<std::string>{"Вы уверены что хотите очистить Панель ?"});
}

TEST_F(ParameterPage, AFixedFrequencyIsMadeFromTheSpanTypedIntoTheTagBase) {
    Select(orvel.store.FixedFolder);
    Click(orvel.pictbttn_2);  // loading the section opens the span
    base& tags = Panels().tags;
    EXPECT_EQ(orvel.WorkMode, 7);
    ASSERT_EQ(orvel.SelectionActive, 1);
    tags.fn->SetText("433.1");
    tags.fk->SetText("433");
    Click(orvel.pictbttn_9);
    ui::ServePending();
    EXPECT_EQ(orvel.SelectionActive, 0);
    EXPECT_EQ(Names(orvel.store.FixedFolder),
              (std::vector<std::string>{"145.5000-145.6000", "433.0000-433.1000"}));
    EXPECT_TRUE(Exists("SCALE/4330000.cfg"));
}

TEST_F(ParameterPage, TheCalibrationButtonOpensAndClosesTheWindowAndTheAxisFollows) {
    Click(orvel.pictbttn_12);
    ASSERT_EQ(orvel.CalibrOpen, 1);
    Calibr& window = *orvel.windows->calibration;
    EXPECT_TRUE(window.IsVisible());
    window.MoveUpperLimit(640);
    Click(orvel.pictbttn_13);  // no study beside it
    EXPECT_EQ(Messages(),
              (std::vector<std::string>{"Нельзя производить анализ.Загружена панель калибровки"}));
    Click(orvel.pictbttn_12);
    EXPECT_EQ(orvel.CalibrOpen, 0);
    EXPECT_EQ(orvel.windows->calibration, nullptr);
    EXPECT_EQ(orvel.LevelGrid[8], 800);
}

}  // namespace
