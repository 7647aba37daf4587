// The main window's frequency and step fields, its buttons that make items from a marked span,
// the work-mode tabs and dropping a field onto the journal; and tuning from them against the
// emulated IC-R8500: what reaches the receiver for one action, and how the receiver page follows.
#include <gtest/gtest.h>

#include "tests/app/window_fixture.h"
#include "tests/support/operator_hand.h"

namespace {

using window_test::CodeSink;
using window_test::WindowTest;

using Rows = std::vector<std::string>;

void Type(ui::ComboBox* field, const std::string& text) {
    ui::EventData change;
    change.id = ui::EventId::Change;
    change.text = text;
    field->Raise(change);
}

void Click(ui::Control* button) {
    ui::EventData click;
    click.id = ui::EventId::Click;
    button->Raise(click);
}

using MainControls = WindowTest;

TEST_F(MainControls, ATypedFrequencyIsHeldWithinTheReceiversLimits) {
    orvel.FreqLow = 250000;
    Type(orvel.ft, "1");
    EXPECT_EQ(orvel.Frequency, 250000u);
    EXPECT_EQ(orvel.ft->Text(), " 25.0000");

    orvel.FreqHigh = 18000000;
    Type(orvel.ft, "1800");
    EXPECT_EQ(orvel.Frequency, 18000000u);
    EXPECT_EQ(orvel.ft->Text(), "1800.0000");

    Type(orvel.ft, "145.5");
    EXPECT_EQ(orvel.Frequency, 1455000u);
    Type(orvel.ft, "");  // an emptied field shows the frequency again
    EXPECT_EQ(orvel.ft->Text(), "145.5000");
}

TEST_F(MainControls, PlusMinusAndTheArrowsStopAtTheLimits) {
    orvel.FreqLow = 0;
    orvel.Frequency = 50000;  // 5 MHz, and 7 MHz off
    Click(orvel.pictbttn_6);
    EXPECT_EQ(orvel.Frequency, 50000u);  // below zero is below the limit
    EXPECT_EQ(orvel.ft->Text(), "  5.0000");

    orvel.FreqHigh = 1000001;
    orvel.Frequency = 1000000;
    orvel.PlusOffset = 2;
    Click(orvel.pictbttn_8);
    EXPECT_EQ(orvel.Frequency, 1000000u);
    orvel.PlusOffset = 1;
    Click(orvel.pictbttn_8);
    EXPECT_EQ(orvel.Frequency, 1000001u);

    orvel.Step = 250;
    orvel.ftup->Press(-1);
    EXPECT_EQ(orvel.Frequency, 1000001u - 250u);
    orvel.Frequency = 100;
    orvel.ftup->Press(-1);
    EXPECT_EQ(orvel.Frequency, 100u);
}

TEST_F(MainControls, StepsAreClampedWhenTypedAndAStoredZeroIsIgnored) {
    orvel.StepLow = 10;
    Type(orvel.step, "0.1");
    EXPECT_EQ(orvel.Step, 10u);
    EXPECT_EQ(orvel.step->Text(), " 1.0");
    Type(orvel.step, "12.5");
    EXPECT_EQ(orvel.Step, 125u);

    Write("010012.dat", {"0", "5", "2500"});
    ui::EventData drop;
    drop.id = ui::EventId::DropDown;
    orvel.step->Raise(drop);
    ASSERT_EQ(orvel.step->Count(), 3);
    EXPECT_EQ(orvel.step->StringAt(2), "250.0");
    const auto choose = [&](int index) {
        ui::EventData select;
        select.id = ui::EventId::Select;
        select.value = index;
        orvel.step->Raise(select);
    };
    choose(0);
    EXPECT_EQ(orvel.Step, 125u);
    EXPECT_EQ(orvel.step->Text(), "12.5");
    choose(1);  // a stored step is taken as stored, below the typed limit too
    EXPECT_EQ(orvel.Step, 5u);
}

// The field's list and the journal's presets read the history file alike, a damaged line as no
// number in both (a line read as a decimal number from its start: "12ab" is 12): the list never
// shows what the journal does not hold.
class DamagedHistory : public WindowTest {
    void Prepare() override {
        Write("010011.dat", {"99999999999", "-5", "abc", "12ab", "1455000"});
        Write("010012.dat", {"4294967296", "125"});
    }
};

TEST_F(DamagedHistory, ReadsTheSameInTheFieldsListAndTheJournal) {
    for (ui::ComboBox* field : {orvel.ft, orvel.step}) {
        ui::EventData drop;
        drop.id = ui::EventId::DropDown;
        field->Raise(drop);
    }
    const Rows frequencies = Names(orvel.store.FrequencyFieldEntry);
    EXPECT_EQ(frequencies, (Rows{"  0.0000", "  0.0000", "  0.0000", "  0.0012", "145.5000"}));
    ASSERT_EQ(orvel.ft->Count(), 5);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(orvel.ft->StringAt(i), frequencies[std::size_t(i)]);
    const Rows steps = Names(orvel.store.StepFieldEntry);
    EXPECT_EQ(steps, (Rows{" 0.0", "12.5"}));
    ASSERT_EQ(orvel.step->Count(), 2);
    for (int i = 0; i < 2; ++i) EXPECT_EQ(orvel.step->StringAt(i), steps[std::size_t(i)]);
}

TEST_F(MainControls, TheTabsSetTheWorkModeAndItsStatusText) {
    orvel.SwitchToTab(3);
    EXPECT_EQ(orvel.WorkMode, 3);
    EXPECT_EQ(orvel.statusBar->PartText(0), "Сканирование Группы ");
    // The parameters page shows the settings for the root.
    orvel.SwitchToTab(7);
    EXPECT_EQ(orvel.tabctrl_1->Page(7), orvel.settings.get());
    orvel.journal.Select(orvel.store.BankFolder);
    EXPECT_EQ(orvel.tabctrl_1->Page(7), orvel.subWindows.pfreq);
    EXPECT_EQ(orvel.ShownParameterPanel, 2);
}

TEST_F(MainControls, ItemsFromASelectionNeedASpan) {
    Click(orvel.pictbttn_10);
    Click(orvel.pictbttn_9);
    EXPECT_EQ(Messages(),
              (Rows{"Для создания диапазона необходимо выделить участок частот",
                    "Для создания фиксированных частот необходимо выделить участок частот"}));
}

TEST_F(MainControls, AFixedFrequencyIsMadeFromTheMarkedSpan) {
    orvel.SelectionStart = 1455000;
    orvel.SelectionEnd = 1456000;
    orvel.Step = 125;
    orvel.Modulation = 'F';
    Click(orvel.pictbttn_9);
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Read("SCALE/1455000.cfg"),
              Lines({"Идентификатор=145.5000-145.6000", "Fн=1455000", "Fк=1456000", "Шаг=125",
                     "Модуляция=F ", "Дата=07/03/2001", "Время=09:05"}));
    EXPECT_EQ(Names(orvel.store.FixedFolder), Rows{"145.5000-145.6000"});
    ASSERT_EQ(orvel.Scales.size(), 1u);

    // The same start again is refused; a span starting inside it cuts it after a yes.
    Click(orvel.pictbttn_9);
    EXPECT_EQ(Messages().back(),
              "Не заданы или конфликтны параметры фиксированных частот (начальная - конечная) !");
    orvel.SelectionStart = 1455500;
    orvel.SelectionEnd = 1457000;
    Answer({ui::MessageAnswer::Yes});
    Click(orvel.pictbttn_9);
    EXPECT_EQ(boxes.shown.back().text,
              "Произойдет усечение фиксированной частоты c 145.5000-145.6000 до 145.5000-145.5375");
    EXPECT_EQ(orvel.Scales[0]->EndFrequency, 1455375u);
    EXPECT_EQ(Names(orvel.store.FixedFolder), (Rows{"145.5000-145.6000", "145.5500-145.7000"}));
}

TEST_F(MainControls, ARangeIsMadeFromTheSpanTheRangeWindowTook) {
    CodeSink diap;
    orvel.subWindows.diap = &diap;
    orvel.SelectionStart = 1455000;
    orvel.SelectionEnd = 1460000;
    for (Bank& slot : orvel.ScanSlots) slot.InUse = 1;
    Click(orvel.pictbttn_10);
    EXPECT_EQ(Messages(), Rows{"Нет свободного диапазона для загрузки"});
    for (Bank& slot : orvel.ScanSlots) slot.InUse = 0;
    Click(orvel.pictbttn_10);
    ui::ServePending();
    EXPECT_EQ(diap.codes, std::vector<uint32_t>{PostPrepareSlots});

    // The range window prepares its slot from the span, shows it and asks for the range.
    PostPrivateMessage(&orvel, PostPrepareSlots);
    ui::ServePending();
    Bank& slot = orvel.ScanSlots[0];
    EXPECT_EQ(slot.Start, 1455000u);
    EXPECT_EQ(slot.End, 1460000u);
    slot.InUse = 1;
    slot.Name = "Связь";
    PostPrivateMessage(&orvel, PostRangeFromSelection);
    ui::ServePending();
    JournalItem* range = Child(orvel.store.RangeFolder, "Связь");
    ASSERT_NE(range, nullptr);
    EXPECT_EQ(range->As<UserDp>()->FolderName, "01450001");
    EXPECT_TRUE(Exists("DP/01450001/diap.cfg"));
    EXPECT_EQ(slot.Range, range->As<UserDp>());
    EXPECT_EQ(orvel.journal.Selected(), range);

    PostPrivateMessage(&orvel, PostRangeFromSelection);  // the same span once more
    ui::ServePending();
    ui::ServePending();
    EXPECT_EQ(Messages().back(), "Диапазон с данными параметрами уже существует!");
    EXPECT_EQ(orvel.store.RangeFolder->Children().size(), 1u);
    EXPECT_EQ(diap.codes,
              (std::vector<uint32_t>{PostPrepareSlots, PostReloadView, PostTakeSelection,
                                     PostRangeRedrawAll, PostRangeRedrawAll}));
}

TEST_F(MainControls, DroppingTheFrequencyFieldStoresItsValueOnce) {
    orvel.Frequency = 1455000;
    EXPECT_TRUE(orvel.op->Drop(nullptr, "MAIN_FREQ"));
    EXPECT_TRUE(orvel.op->Drop(nullptr, "MAIN_FREQ"));
    EXPECT_EQ(Names(orvel.store.FrequencyFieldEntry), Rows{"145.5000"});
    const JobDcl& entry = *orvel.store.FrequencyFieldEntry->FirstChild()->As<JobDcl>();
    EXPECT_EQ(entry.Value, 1455000u);
    EXPECT_TRUE(entry.Preset);
    EXPECT_EQ(orvel.journal.Selected(), orvel.store.FrequencyFieldEntry->FirstChild());
    const std::string history = Read("010011.dat");
    ASSERT_GE(history.size(), 9u);
    EXPECT_EQ(history.substr(history.size() - 9), "1455000\r\n");

    orvel.Step = 125;
    EXPECT_TRUE(orvel.op->Drop(nullptr, "MAIN_STEP"));
    EXPECT_EQ(Names(orvel.store.StepFieldEntry), Rows{"12.5"});
    EXPECT_EQ(Read("010012.dat"), "125\r\n");
    EXPECT_FALSE(orvel.op->Drop(nullptr, "OTHER"));
    EXPECT_EQ(orvel.ft->DragText(), "MAIN_FREQ");
    EXPECT_EQ(orvel.step->DragText(), "MAIN_STEP");
}

// ---- on the air

using Tuning = window_test::ScanOnAir;

TEST_F(Tuning, PlusAndMinusLinesTuneAndMeasureOnce) {
    const uint32_t start = orvel.Frequency;
    orvel.PlusOffset = 5 * window_test::kMHz;
    orvel.MinusOffset = 2 * window_test::kMHz;
    RunJob({window_test::MakeLine({"Кнопка +", 10, 29})});
    EXPECT_EQ(Tuned(), (std::vector<uint32_t>{start + 5 * window_test::kMHz}));
    EXPECT_EQ(LevelQueries(), 1);

    emulator.ClearReceivedFrames();
    RunJob({window_test::MakeLine({"Кнопка -", 10, 30})});
    EXPECT_EQ(Tuned(), (std::vector<uint32_t>{start + 3 * window_test::kMHz}));
    EXPECT_EQ(LevelQueries(), 1);
}

TEST_F(Tuning, TheReceiverPageFollowsAFrequencyTypedInTheMainWindow) {
    const IC8500& panel = *Ic8500Panel(orvel);
    Type(orvel.ft, "433.92");
    EXPECT_EQ(Tuned(), (std::vector<uint32_t>{4'339'200}));
    EXPECT_EQ(panel.label_1->Text(), "433.9200");
    const int64_t page = int64_t{panel.scale->Geometry().width} * panel.ViewStep;
    EXPECT_LE(panel.ViewPosition, 4'339'200u);
    EXPECT_LT(4'339'200, panel.ViewPosition + page);
}

// What the operator types into the step and frequency fields reaches the receiver when the
// typing ends, once: "12.5" is one step command, never the step of its "1" first.
TEST_F(Tuning, TypedStepsAndFrequenciesGoOutWhenTheTypingEnds) {
    namespace hand = operator_hand;
    const auto stepCommands = [&] {
        std::vector<int> codes;
        for (const auto& frame : emulator.ReceivedFrames())
            if (frame.size() == 7 && frame[4] == 0x10) codes.push_back(frame[5]);
        return codes;
    };
    orvel.Show();
    hand::TypeOver(orvel.step, "12.5");
    ui::ServeFor(200);
    EXPECT_TRUE(emulator.ReceivedFrames().empty());
    hand::PressEnter(orvel.step);
    ASSERT_TRUE(RunUntil([&] { return !stepCommands().empty(); }, 2000));
    ui::ServeFor(200);
    EXPECT_EQ(stepCommands(), std::vector<int>{0x08});  // 12.5 kHz
    EXPECT_EQ(orvel.Step, 125u);

    emulator.ClearReceivedFrames();
    hand::TypeOver(orvel.ft, "433.92");
    ui::ServeFor(200);
    EXPECT_TRUE(Tuned().empty());
    hand::MoveFocus(orvel.step);  // the operator clicks elsewhere
    ASSERT_TRUE(RunUntil([&] { return !Tuned().empty(); }, 2000));
    ui::ServeFor(200);
    EXPECT_EQ(Tuned(), (std::vector<uint32_t>{4'339'200}));
}

TEST_F(Tuning, SelectingTheReceiverTabRefreshesThePanel) {
    int refreshes = 0;
    Ic8500Panel(orvel)->AddHandler(ui::EventId::User, [&](ui::Object&, ui::EventData& e) {
        if (e.code == PostRefreshLevels) ++refreshes;
        return false;
    });
    for (const int page : {2, 0}) {
        ui::EventData select;
        select.id = ui::EventId::Select;
        select.value = page;
        orvel.tabctrl_1->Raise(select);
        ui::ServeFor(100);
        EXPECT_EQ(refreshes, page == 0 ? 1 : 0) << page;
    }
}

}  // namespace
