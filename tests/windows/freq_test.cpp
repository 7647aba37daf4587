// The bank window on a stand-in main window: what its buttons, fields, job lines and codes do
// to the working bank and which codes it posts back.

#include "windows/freq.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "state/job_str.h"
#include "state/message_bus.h"
#include "tests/support/operator_hand.h"
#include "tests/windows/window_stand_ins.h"
#include "ui/post.h"
#include "ui/reply_event.h"

namespace {

constexpr uint32_t kMHz = 10000;

class BankWindow : public ::testing::Test {
  protected:
    BankWindow() {
        fdx.Channels.assign(kMaxBankChannels, Mt{});
        fdx.Owner = &main;
        fdx.MessageBox = [this](const FDX&, const MessageRequest& r) {
            messages.push_back(r.text);
            return true;
        };
        host.picture.SetOwner(kBankWindowOwner);
        main.Show();
        window.Create(&main, &fdx, &host);
    }

    // A loaded bank of channels at these frequencies (0: switched off), 25 kHz steps, FM.
    void Load(const std::vector<uint32_t>& frequencies) {
        for (std::size_t i = 0; i < frequencies.size(); ++i) {
            Mt& channel = fdx.Channels[i];
            channel = Mt{};
            channel.Frequency = frequencies[i];
            channel.Step = 250;
            channel.Modulation = 'F';
            channel.Number = int32_t(i);
        }
        fdx.ChannelCount = int32_t(frequencies.size());
        window.OnUserEvent(PostItemLoaded);
        Posted();
    }
    // Measurements of every channel: `samples` of them, channel i at level 16 i.
    void Measure(int samples) {
        bank.Poll = 60;
        fdx.CurrentBank = &bank;
        fdx.MeasurementStart = {7, 3, 2001, 9, 5, 30};
        fdx.MeasurementCapacity = samples;
        fdx.HistoriesAllocated = 1;
        fdx.ChannelLevels.clear();
        for (int32_t i = 0; i < fdx.ChannelCount; ++i)
            fdx.ChannelLevels.emplace_back(std::size_t(samples), uint8_t(16 * i));
    }
    std::vector<uint32_t> Frequencies() const {
        std::vector<uint32_t> f;
        for (int32_t i = 0; i < fdx.ChannelCount; ++i)
            f.push_back(fdx.Channels[std::size_t(i)].Frequency);
        return f;
    }
    std::vector<std::string> Row(int row) {
        std::vector<std::string> cells;
        for (int c = 0; c < 7; ++c) cells.push_back(window.lv_1->Cell(row, c));
        return cells;
    }
    // The codes posted to the main window since the last call.
    std::vector<uint32_t> Posted() { return main.Take(); }
    void Click(ui::Window* control) { control->Raise(ui::EventId::Click); }
    JobStr RunJobLine(uint32_t object, uint32_t value = 0) {
        JobStr line;
        line.TAB = 1;
        line.OBJ = object;
        line.VAL = value;
        fdx.JobLine = &line;
        window.OnUserEvent(PostJobStep);
        fdx.JobLine = nullptr;
        return line;
    }

    CodeSink main;
    HostStandIn host;
    FDX fdx;
    UserFreq bank;
    std::vector<std::string> messages;
    freq window;
};

TEST(BankRows, ShowTheChannelsFieldsAndASwitchedOffChannelAsOff) {
    FDX fdx;
    for (int k = 0; k <= 16; ++k) fdx.Calibration[std::size_t(k)] = 50 * k;
    Mt channel;
    channel.Frequency = 1455000;
    channel.Step = 125;
    channel.Modulation = 'F';
    channel.Work = 37;
    channel.Attenuator = 1;
    channel.Identifier = "маяк";
    channel.Number = 3;
    EXPECT_EQ(BankRowTexts(fdx, channel),
              (std::vector<std::string>{" 145.5000", " 12.5", "F", "37", "+", "маяк", "03"}));
    channel.Step = 250;
    channel.Attenuator = 0;
    fdx.OptDb = 1;  // 37 lies 5/16 of the way from 32 (100 tenths of dB) to 48 (150)
    EXPECT_EQ(BankRowTexts(fdx, channel),
              (std::vector<std::string>{" 145.5000", "25", "F", "11.5", "-", "маяк", "03"}));
    channel.Frequency = 0;
    EXPECT_EQ(BankRowTexts(fdx, channel),
              (std::vector<std::string>{"выкл", "", "", "", "", "", ""}));
}

TEST_F(BankWindow, AddingNearASwitchedOnChannelSelectsItAndAFullBankTakesNothing) {
    Load({100 * kMHz, 0, 101 * kMHz});
    fdx.Frequency = 101 * kMHz - 119;  // within the channel width (120)
    Click(window.cb_1);
    EXPECT_EQ(fdx.ChannelCount, 3);
    EXPECT_EQ(window.SelectedRow(), 2);
    EXPECT_EQ(fdx.SelectedChannel, 2);
    EXPECT_EQ(Posted(), std::vector<uint32_t>{PostBankRefreshDisplay});
    EXPECT_FALSE(fdx.BankChanged);

    fdx.Frequency = 101 * kMHz + 120;
    fdx.Modulation = 'A', fdx.Step = 50, fdx.Attenuator = 1, fdx.Filter = 2;
    fdx.AttenuatorDb = 20, fdx.Level = 77;
    Measure(10);
    window.OnUserEvent(PostItemLoaded);
    Posted();
    Click(window.cb_1);
    ASSERT_EQ(fdx.ChannelCount, 4);
    const Mt& added = fdx.Channels[3];
    EXPECT_EQ(added.Frequency, 101 * kMHz + 120);
    EXPECT_EQ(added.Modulation, 'A');
    EXPECT_EQ(added.Step, 50u);
    EXPECT_EQ(added.QMOD, 2u);
    EXPECT_EQ(added.QATT, 20u);
    EXPECT_EQ(added.Work, 77);
    EXPECT_EQ(added.Number, 3);
    EXPECT_EQ(Row(3), (std::vector<std::string>{" 101.0120", "5", "A", "77", "+", "", "03"}));
    EXPECT_EQ(window.SelectedRow(), 3);
    EXPECT_TRUE(fdx.BankChanged);
    EXPECT_FALSE(fdx.HistoriesAllocated);  // the measurements were of the bank before
    EXPECT_EQ(Count(Posted(), PostBankRefreshData), 1);

    fdx.ChannelCount = int32_t(kMaxBankChannels);
    fdx.Frequency = 150 * kMHz;
    Click(window.cb_1);
    EXPECT_EQ(fdx.ChannelCount, int32_t(kMaxBankChannels));
    EXPECT_EQ(Count(Posted(), PostBankRefreshData), 0);
}

TEST_F(BankWindow, ReplicationFillsTheBankTo1000AndStopsRaisingAtTheHighestFrequency) {
    std::vector<uint32_t> tenChannels;
    for (uint32_t i = 0; i < 10; ++i) tenChannels.push_back(100 * kMHz + i * 250);
    fdx.FreqHigh = 100 * kMHz + 9 * 250 + 3 * 250;  // three copies' room
    Load(tenChannels);
    fdx.Channels[9].Modulation = 'U';
    fdx.Channels[9].Attenuator = 1;
    window.SelectRow(9);
    Posted();
    window.count->SetText("995");
    window.mstep->SetText("25");
    Click(window.cb_2);
    ASSERT_EQ(fdx.ChannelCount, 1000);
    EXPECT_EQ(window.lv_1->RowCount(), 1000);
    EXPECT_EQ(fdx.Channels[10].Frequency, 100 * kMHz + 10 * 250);
    EXPECT_EQ(fdx.Channels[12].Frequency, fdx.FreqHigh);
    EXPECT_EQ(fdx.Channels[13].Frequency, fdx.FreqHigh);
    EXPECT_EQ(fdx.Channels[999].Frequency, fdx.FreqHigh);
    const Mt& copy = fdx.Channels[500];
    EXPECT_EQ(copy.Identifier, " ");
    EXPECT_EQ(copy.Modulation, 'U');
    EXPECT_EQ(copy.Attenuator, 1);
    EXPECT_EQ(copy.Step, 250u);
    EXPECT_EQ(copy.Number, 500);
    EXPECT_EQ(window.count->Text(), "0");
    EXPECT_EQ(Count(Posted(), PostBankRefreshData), 1);
    // A full bank replicates nothing.
    window.count->SetText("5");
    Click(window.cb_2);
    EXPECT_EQ(fdx.ChannelCount, 1000);
}

// Every line is answered with one PostJobStep, done or refused.
TEST_F(BankWindow, JobLinesAnswerWithTheirMessagesAndReturnCodes) {
    Load({100 * kMHz, 102 * kMHz, 101 * kMHz});
    fdx.StepLow = 5, fdx.StepHigh = 1000;
    struct Case {
        uint32_t object, value;
        const char* message;
    };
    const Case cases[] = {
        {14, 4, "Указанный шаг недопустим"},
        {14, 1001, "Указанный шаг недопустим"},
        {14, 125, ""},
        {15, 1000, "Счетчик размножения должен быть < 1000"},
        {15, 999, ""},
        {17, 3, "Не существует выбранного канала"},
        {17, 1, ""},
        {18, 0, "Номер колонки должен быть от 1 до 7 "},
        {18, 8, "Номер колонки должен быть от 1 до 7 "},
        {18, 1, ""},
        {19, 0, "Нет доступа к обьекту"},
        {10, 0, "Нет доступа к обьекту"},
    };
    for (const Case& c : cases) {
        const JobStr line = RunJobLine(c.object, c.value);
        EXPECT_EQ(line.Message, c.message) << c.object << " " << c.value;
        EXPECT_EQ(line.ReturnCode, *c.message ? 1 : 0) << c.object << " " << c.value;
        EXPECT_EQ(Count(Posted(), PostJobStep), 1) << c.object << " " << c.value;
    }
    EXPECT_EQ(window.mstep->Text(), "12.5");
    EXPECT_EQ(window.count->Text(), "999");
    // 18 with 1 sorted by frequency.
    EXPECT_EQ(window.RowChannels(), (std::vector<int32_t>{0, 2, 1}));
}

TEST_F(BankWindow, JobLinesSelectAddExcludeReplicateAndRenumber) {
    Load({100 * kMHz, 102 * kMHz, 101 * kMHz});
    // 17 with 0 selects the first channel and tunes it; past the bank the last one.
    RunJobLine(17, 0);
    EXPECT_EQ(fdx.SelectedChannel, 0);
    EXPECT_EQ(fdx.TuneFrequency, 100 * kMHz);
    EXPECT_EQ(Posted(),
              (std::vector<uint32_t>{PostApplyFrequency, PostBankRefreshDisplay, PostJobStep}));
    EXPECT_EQ(RunJobLine(17, 7).ReturnCode, 1);
    EXPECT_EQ(fdx.SelectedChannel, 2);
    Posted();

    fdx.Frequency = 103 * kMHz;
    RunJobLine(11);
    window.count->SetText("2");
    window.mstep->SetText("100");
    RunJobLine(13);  // copies of the added channel, selected
    EXPECT_EQ(Frequencies(), (std::vector<uint32_t>{100 * kMHz, 102 * kMHz, 101 * kMHz, 103 * kMHz,
                                                    103 * kMHz + 1000, 103 * kMHz + 2000}));
    RunJobLine(18, 1);
    RunJobLine(16);  // the bank takes the list's order
    EXPECT_EQ(Frequencies(), (std::vector<uint32_t>{100 * kMHz, 101 * kMHz, 102 * kMHz, 103 * kMHz,
                                                    103 * kMHz + 1000, 103 * kMHz + 2000}));
    EXPECT_EQ(fdx.Channels[5].Number, 5);
    RunJobLine(17, 1);
    RunJobLine(12);
    EXPECT_EQ(Frequencies(), (std::vector<uint32_t>{100 * kMHz, 102 * kMHz, 103 * kMHz,
                                                    103 * kMHz + 1000, 103 * kMHz + 2000}));
    EXPECT_EQ(Count(Posted(), PostJobStep), 6);
}

TEST_F(BankWindow, JobSelectOnAnEmptyBankSelectsNothing) {
    Load({});
    const JobStr line = RunJobLine(17, 0);
    EXPECT_EQ(line.Message, "Не существует выбранного канала");
    EXPECT_EQ(line.ReturnCode, 1);
    EXPECT_EQ(fdx.SelectedChannel, -1);
    EXPECT_EQ(Posted(), std::vector<uint32_t>{PostJobStep});
}

TEST_F(BankWindow, ExcludingMovesTheLaterChannelsAndTheirHistoriesDown) {
    Load({100 * kMHz, 101 * kMHz, 102 * kMHz, 103 * kMHz});
    Measure(5);
    // Without a selection, and on an empty bank, nothing goes.
    Click(window.cb_3);
    EXPECT_EQ(fdx.ChannelCount, 4);
    EXPECT_TRUE(fdx.HistoriesAllocated);

    window.SelectRow(1);
    Posted();
    Click(window.cb_3);
    EXPECT_EQ(Frequencies(), (std::vector<uint32_t>{100 * kMHz, 102 * kMHz, 103 * kMHz}));
    EXPECT_EQ(fdx.Channels[1].Number, 1);
    EXPECT_EQ(fdx.Channels[3].Frequency, 0u);
    ASSERT_EQ(fdx.ChannelLevels.size(), 3u);
    EXPECT_EQ(fdx.ChannelLevels[1][0], 32);  // channel 2's
    EXPECT_FALSE(fdx.HistoriesAllocated);
    EXPECT_TRUE(fdx.BankChanged);
    EXPECT_EQ(window.SelectedRow(), 0);  // the row before
    EXPECT_EQ(Row(1)[0], " 102.0000");
    EXPECT_EQ(Count(Posted(), PostBankRefreshData), 1);

    for (int i = 0; i < 3; ++i) Click(window.cb_3);
    EXPECT_EQ(fdx.ChannelCount, 0);
    EXPECT_EQ(window.SelectedRow(), -1);
    Click(window.cb_3);
    EXPECT_EQ(fdx.ChannelCount, 0);
}

TEST_F(BankWindow, RenumberingCarriesTheHistoriesAndTheSelectionAlong) {
    Load({102 * kMHz, 100 * kMHz, 101 * kMHz});
    Measure(4);
    // A copy made after the measurements has no history of its own.
    window.SelectRow(1);
    window.count->SetText("1");
    window.mstep->SetText("1");
    Click(window.cb_2);
    window.SortBy(0);
    Click(window.cb_4);
    EXPECT_EQ(Frequencies(),
              (std::vector<uint32_t>{100 * kMHz, 100 * kMHz + 10, 101 * kMHz, 102 * kMHz}));
    ASSERT_EQ(fdx.ChannelLevels.size(), 4u);
    EXPECT_EQ(fdx.ChannelLevels[0][0], 16);  // was channel 1's
    EXPECT_TRUE(fdx.ChannelLevels[1].empty());
    EXPECT_EQ(fdx.ChannelLevels[2][0], 32);
    EXPECT_EQ(fdx.ChannelLevels[3].size(), 4u);
    EXPECT_EQ(fdx.SelectedChannel, 0);
    EXPECT_EQ(Row(3)[6], "03");
    EXPECT_TRUE(fdx.HistoriesAllocated);
}

TEST_F(BankWindow, SelectingTunesOnlyASwitchedOnChannelWhileTheWindowIsFree) {
    Load({100 * kMHz, 0});
    fdx.Channels[0].Step = 0;  // stored without a step: the receiver's stays
    fdx.Step = 50;
    window.SelectRow(0);
    EXPECT_EQ(fdx.Frequency, 100 * kMHz);
    EXPECT_EQ(fdx.TuneStep, 50u);
    EXPECT_EQ(Count(Posted(), PostApplyFrequency), 1);
    window.SelectRow(1);
    EXPECT_EQ(Count(Posted(), PostApplyFrequency), 0);
    // A switched-off channel's fields are closed but its frequency, which switches it on.
    EXPECT_FALSE(window.sstep->IsEnabled());
    EXPECT_FALSE(window.comment->IsEnabled());
    EXPECT_TRUE(window.textb_1->IsEnabled());
    fdx.Modulation = 'W';
    ui::EventData typed;
    typed.id = ui::EventId::Change;
    typed.text = "99.5";
    window.textb_1->Raise(typed);
    EXPECT_EQ(fdx.Channels[1].Frequency, 995000u);
    EXPECT_EQ(fdx.Channels[1].Modulation, 'W');
    EXPECT_TRUE(window.sstep->IsEnabled());
    EXPECT_EQ(Row(1)[0], "  99.5000");

    window.OnUserEvent(PostLockControls);
    window.SelectRow(0);
    EXPECT_EQ(Count(Posted(), PostApplyFrequency), 0);
    EXPECT_FALSE(window.textb_1->IsEnabled());
    EXPECT_FALSE(window.cb_1->IsEnabled());
}

// The keys choose a channel as a click does: the receiver is tuned to it, the fields show it,
// and the exclude button takes the channel the list shows selected.
TEST_F(BankWindow, AChannelChosenWithTheKeysIsTunedShownAndExcluded) {
    namespace hand = operator_hand;
    Load({100 * kMHz, 101 * kMHz, 102 * kMHz, 103 * kMHz});
    hand::ClickRow(window.lv_1, 0);
    ui::ServePending();
    EXPECT_EQ(fdx.Frequency, 100 * kMHz);
    Posted();
    hand::PressKeys(window.lv_1, {Qt::Key_End, Qt::Key_Up});
    EXPECT_EQ(window.lv_1->SelectedRow(), 2);
    EXPECT_EQ(fdx.SelectedChannel, 2);
    EXPECT_EQ(fdx.Frequency, 102 * kMHz);
    EXPECT_EQ(fdx.TuneFrequency, 102 * kMHz);
    EXPECT_EQ(Count(Posted(), PostApplyFrequency), 2);  // End, then Up
    EXPECT_EQ(window.textb_1->Text(), "102.0000");
    hand::ClickServed(window.cb_3);  // "Исключить выделенную частоту"
    EXPECT_EQ(Frequencies(), (std::vector<uint32_t>{100 * kMHz, 101 * kMHz, 103 * kMHz}));
}

// A typed value is the channel's when the typing ends, whole: a box emptied on the way to the
// new value never switches the channel off, nor does a first key move it.
TEST_F(BankWindow, AChannelTakesATypedValueWhenTheTypingEnds) {
    namespace hand = operator_hand;
    Load({100 * kMHz, 101 * kMHz});
    window.SelectRow(0);
    hand::Focus(window.textb_1)->selectAll();  // the operator empties the box, then types
    QTest::keyClick(hand::FieldOf(window.textb_1), Qt::Key_Backspace);
    hand::Type(window.textb_1, "99.5");
    ui::ServePending();
    EXPECT_EQ(fdx.Channels[0].Frequency, 100 * kMHz);
    EXPECT_EQ(fdx.Channels[0].Step, 250u);
    EXPECT_EQ(fdx.BankChanged, 0);
    hand::PressEnter(window.textb_1);
    ui::ServePending();
    EXPECT_EQ(fdx.Channels[0].Frequency, 995'000u);
    EXPECT_EQ(fdx.Channels[0].Step, 250u);
    EXPECT_EQ(Row(0)[0], "  99.5000");

    hand::TypeOver(window.sstep, "12.5");
    ui::ServePending();
    EXPECT_EQ(fdx.Channels[0].Step, 250u);
    hand::MoveFocus(window.lv_1);
    ui::ServePending();
    EXPECT_EQ(fdx.Channels[0].Step, 125u);
}

// However the series, the scroll bar or a scan move them, the first measurement shown stays
// within the chart's room and the shown one among the measurements.
TEST_F(BankWindow, TheShownMeasurementsStayAmongTheMeasurements) {
    Load({100 * kMHz, 101 * kMHz});
    const int width = window.Chart().Width();
    Measure(width + 50);
    fdx.BankChartFirst = 5000;
    fdx.BankSampleIndex = 9999;
    window.UpdateScrollBar();
    EXPECT_EQ(fdx.BankChartFirst, 50);
    EXPECT_EQ(fdx.BankSampleIndex, width + 49);
    EXPECT_TRUE(window.hs->IsVisible());
    EXPECT_EQ(window.hs->High(), 50);
    window.ScrollChart(80);
    EXPECT_EQ(fdx.BankChartFirst, 50);
    window.ScrollChart(-3);
    EXPECT_EQ(fdx.BankChartFirst, 0);

    // The strip scrolls the chart to the shown measurement.
    fdx.BankSampleIndex = width + 20;
    window.OnUserEvent(PostStepUp);
    EXPECT_EQ(fdx.BankSampleIndex, width + 21);
    EXPECT_EQ(fdx.BankChartFirst, 22);
    EXPECT_EQ(Posted(), (std::vector<uint32_t>{PostBankRefreshData, PostFrequencyStepped}));
    fdx.BankSampleIndex = width + 49;
    window.OnUserEvent(PostStepUp);
    EXPECT_EQ(fdx.BankSampleIndex, width + 49);

    Measure(10);
    window.OnUserEvent(PostRefreshData);
    EXPECT_EQ(fdx.BankChartFirst, 0);
    EXPECT_EQ(fdx.BankSampleIndex, 9);
    window.UpdateScrollBar();
    EXPECT_FALSE(window.hs->IsVisible());
}

TEST_F(BankWindow, TheChartsPointerTellsTheMeasurementAndAClickShowsIt) {
    Load({100 * kMHz, 101 * kMHz, 102 * kMHz});
    Measure(20);
    window.OnUserEvent(PostRefreshData);
    Posted();
    window.MouseMove(3, 44 - 5);  // row 1's band, measurement 3
    EXPECT_EQ(window.time_set->Text(), "09:08:30  07-03-2001");
    EXPECT_EQ(fdx.CursorFrequency, int32_t(101 * kMHz));
    EXPECT_EQ(fdx.CursorLevel, 16);
    EXPECT_EQ(Posted(), std::vector<uint32_t>{PostShowStatus});
    window.MouseDown(3, 58);  // row 2's baseline
    EXPECT_EQ(fdx.BankSampleIndex, 3);
    EXPECT_EQ(fdx.SelectedChannel, 2);
    EXPECT_EQ(window.Chart().CursorColumn(), 3);
    window.MouseLeave();
    EXPECT_EQ(window.time_set->Text(), "");
    EXPECT_EQ(fdx.CursorFrequency, -1);
}

TEST_F(BankWindow, TheStudyGetsTheSelectedChannelsHistoryOnATimeAxis) {
    Load({100 * kMHz, 101 * kMHz});
    Measure(30);
    fdx.ViewFeed = 3;
    fdx.ViewSourceKinds = {kStudyBankSource, kStudyRangeSource};
    fdx.BankSampleIndex = 12;
    window.SelectRow(1);
    const ViewSource& first = fdx.ViewSources[0];
    EXPECT_EQ(first.Levels, &fdx.ChannelLevels[1]);
    EXPECT_EQ(first.Frequency, 101 * kMHz);
    EXPECT_EQ(first.Count, 30u);
    EXPECT_EQ(first.Step, 1u);
    EXPECT_EQ(first.Marker, 12);
    EXPECT_EQ(first.AxisMode, 1);
    EXPECT_EQ(fdx.ViewSources[1].Levels, nullptr);
    EXPECT_EQ(Count(Posted(), PostViewRecompute), 1);
    // Excluding moves the histories: the study lets go of the one it had.
    Click(window.cb_3);
    EXPECT_EQ(fdx.ViewSources[0].Levels, nullptr);
    EXPECT_EQ(Count(Posted(), PostViewRecompute), 1);
}

// A study curve the bank no longer feeds still holds a channel's history; renumbering moves
// the histories (and grows their list for a copy made since), so it lets go of the curve first.
TEST_F(BankWindow, RenumberingLetsGoOfAStudyCurveThatHoldsAHistory) {
    Load({102 * kMHz, 100 * kMHz});
    Measure(8);
    fdx.ChannelLevels.shrink_to_fit();
    fdx.ViewFeed = 1;
    fdx.ViewSourceKinds = {kStudyBankSource, kStudyBankSource};
    window.SelectRow(1);
    ASSERT_EQ(fdx.ViewSources[0].Levels, &fdx.ChannelLevels[1]);
    fdx.ViewFeed = 2;  // the operator feeds only the second curve now
    window.count->SetText("1");
    window.mstep->SetText("1");
    Click(window.cb_2);
    window.SortBy(0);
    Posted();
    Click(window.cb_4);
    EXPECT_EQ(fdx.ViewSources[0].Levels, nullptr);
    EXPECT_EQ(fdx.ViewSources[1].Levels, &fdx.ChannelLevels[0]);  // the selected channel's
    EXPECT_EQ((*fdx.ViewSources[1].Levels)[0], 16);
    EXPECT_EQ(Count(Posted(), PostViewRecompute), 2);
}

// The warning advises and stops nothing: its box waits for nobody (one that waited would keep a
// scan's exchange standing), and while a job runs the running line takes it, not failed for it.
TEST_F(BankWindow, WarnsThatThePollStepIsTooShortInABoxThatWaitsForNobody) {
    const std::string warning =
        "Для корректности результатов необходимо увеличить шаг опроса частот";
    std::vector<MessageRequest> requests;
    fdx.MessageBox = [&](const FDX&, const MessageRequest& r) {
        requests.push_back(r);
        return true;
    };
    window.OnUserEvent(PostPollStepWarning);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].text, warning);
    EXPECT_EQ(requests[0].caption, "ВНИМАНИЕ !");
    EXPECT_EQ(requests[0].icon, MessageIcon::Exclamation);
    EXPECT_FALSE(requests[0].yesNo);
    EXPECT_FALSE(requests[0].waits);

    JobStr line;
    fdx.JobRunning = 1;
    fdx.JobLine = &line;
    window.OnUserEvent(PostPollStepWarning);
    EXPECT_EQ(requests.size(), 1u);
    EXPECT_EQ(line.Message, warning);
    EXPECT_EQ(line.ReturnCode, 0);
    fdx.JobRunning = 0;
    fdx.JobLine = nullptr;
}

}  // namespace
