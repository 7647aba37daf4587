// The IC-R8500 panel against the emulated receiver: tuning, replies, time-outs, levels,
// the command forms of modes, steps and the attenuator, standby.

#include <gtest/gtest.h>

#include <cstdio>
#include <tuple>

#include "tests/receivers/icom/ic8500/ic8500_fixture.h"
#include "tests/support/operator_hand.h"

namespace {

using emulators::Signal;
using emulators::SignalPlan;

TEST_F(Ic8500OnAir, TunesInBcdAndFollowsTheFrequencyTheReceiverReports) {
    state.Frequency = 1'450'000;
    ASSERT_TRUE(panel.SetFrequencyWait());
    ASSERT_EQ(emulator.ReceivedFrames().size(), 1u);
    EXPECT_EQ(Hex(emulator.ReceivedFrames()[0]), "FEFE4AE0050000004501FD");
    EXPECT_EQ(emulator.State().frequencyHz, 145'000'000u);

    // Turned by hand: the panel takes the frequency, tells the main window once, and asks
    // the level there by itself.
    ASSERT_TRUE(emulator.TuneByHand(433'920'000));
    ASSERT_TRUE(ServeUntil([&] { return main.Count(PostPanelLevelDisplay) == 1; }));
    EXPECT_EQ(state.Frequency, 4'339'200u);
    EXPECT_EQ(panel.PanelFrequency, 4'339'200u);
    EXPECT_EQ(main.Count(PostFrequencyChanged), 1);
    EXPECT_EQ(panel.Scale.At(4'339'200), 100);  // the telemetry carrier's peak
    EXPECT_EQ(state.Level, 100);
    EXPECT_EQ(panel.label_1->Text(), "433.9200");
}

TEST_F(Ic8500OnAir, StartUpSyncAsksWhoIsThereThenBankNamesFrequencyModeAndLevel) {
    state.Modulation = 'F';
    panel.BankNames[4] = "OLD";
    ASSERT_TRUE(panel.Link.Send("1A0201" + civ::NameToHex("AIR", 5, kPrintableAscii),
                                civ::kMemoryContents));
    ASSERT_TRUE(panel.WaitReply());
    emulator.ClearReceivedFrames();
    Post(PostSyncReceiver);
    const auto sent = Payloads();
    ASSERT_GE(sent.size(), 23u);
    EXPECT_EQ(Hex(emulator.ReceivedFrames()[0]), "FEFE00E01900FD");
    for (int bank = 0; bank < 20; ++bank) {
        char name[8];
        std::snprintf(name, sizeof name, "1A03%02d", bank);
        EXPECT_EQ(sent[std::size_t(bank) + 1], name);
    }
    EXPECT_EQ(sent[21], "03");
    EXPECT_EQ(sent[22], "04");
    // The receiver's names replace the stored ones, without the blanks that fill them up;
    // banks 20..24 keep their own.
    EXPECT_EQ(panel.BankNames[1], "AIR");
    EXPECT_EQ(panel.BankNames[4], "");
    EXPECT_EQ(panel.bname->StringAt(1), "AIR");
    EXPECT_EQ(panel.bname->StringAt(21), "AUTO");
    EXPECT_EQ(state.Frequency, 1'017'000u);
    EXPECT_EQ(state.Modulation, 'W');
    EXPECT_EQ(panel.width->Text(), "150.0");
    EXPECT_EQ(panel.Scale.FillWindow, 3000);
    EXPECT_FALSE(panel.Standby);
    EXPECT_EQ(panel.Link.ReceiverAddress, 0x4A);
    ASSERT_TRUE(ServeUntil([&] { return main.Count(PostReceiverState) == 1; }));
    EXPECT_GE(main.Count(PostModulationChanged), 1);

    // The squelch query went out without a wait; its answer brings the level query.
    ASSERT_TRUE(ServeUntil([&] { return main.Count(PostPanelLevelDisplay) == 1; }));
    EXPECT_EQ(state.Level, 190);
    EXPECT_EQ(panel.PendingCommand, ReceiverPanel::NoExchange);
}

// With RECV_SAVE the scale comes from the state file and already holds, where the set is
// tuned, the level the set gives: the start-up still ends with that level shown.
TEST_F(Ic8500OnAir, AStoredScaleDoesNotKeepTheStartUpLevelFromTheMainWindow) {
    panel.Scale.SetCell(panel.Scale.IndexOf(1'017'000), 190);
    Post(PostSyncReceiver);
    ASSERT_TRUE(ServeUntil([&] { return main.Count(PostPanelLevelDisplay) == 1; }));
    EXPECT_EQ(state.Level, 190);
    EXPECT_FALSE(panel.SyncLevelAsked);
}

// A name reply shorter than five characters is no name: the stored one stays.
TEST_F(Ic8500OnAir, AShortBankNameReplyLeavesTheStoredName) {
    panel.BankNames[2] = "KEEP";
    emulator.SetGarbage({0xFE, 0xFE, 0xE0, 0x4A, 0x1A, 0x03, 0x02, 0x41, 0x42, 0xFD});
    Post(PostSyncReceiver);
    EXPECT_EQ(panel.BankNames[2], "KEEP");
    emulator.SetGarbage({});
    Post(PostSyncReceiver);
    EXPECT_EQ(panel.BankNames[2], "");  // the set's own, blank
}

TEST_F(Ic8500OnAir, TheEchoOfTheIdentityQueryCompletesNothing) {
    emulator.SetDead(true);  // the bus still echoes
    ASSERT_TRUE(panel.Link.Send("1900", civ::kIdentityCommand));
    EXPECT_FALSE(panel.WaitReply());
    EXPECT_EQ(comm.ReadIndex, 7u);  // the echo came and was taken out
    EXPECT_EQ(Hex(emulator.ReceivedFrames().at(0)), "FEFE00E01900FD");
}

TEST_F(Ic8500OnAir, SetsAreAcknowledgedOrRefusedAndASecondSendGoesOutAfterTheFirst) {
    state.Frequency = 1'455'000;
    EXPECT_TRUE(panel.SetFrequencyWait());
    emulator.SetRefuseAll(true);
    state.Frequency = 1'460'000;
    EXPECT_FALSE(panel.SetFrequencyWait());
    EXPECT_FALSE(panel.ReplyComplete);
    EXPECT_EQ(panel.Link.RejectCount, 1);
    EXPECT_EQ(emulator.State().frequencyHz, 145'500'000u);

    emulator.SetRefuseAll(false);
    emulator.ClearReceivedFrames();
    state.Frequency = 1'470'000;
    ASSERT_TRUE(panel.SetFrequency());
    state.Frequency = 1'480'000;
    EXPECT_TRUE(panel.SetFrequency());
    EXPECT_TRUE(panel.WaitReply());
    state.Step = 250;
    EXPECT_TRUE(panel.SetStep());
    EXPECT_EQ(Payloads(), (std::vector<std::string>{"050000004701", "050000004801", "1010"}));
    EXPECT_EQ(emulator.State().frequencyHz, 148'000'000u);
    EXPECT_EQ(panel.Link.RejectCount, 0);
}

TEST_F(Ic8500OnAir, ADeadReceiverEndsTheWaitAfterASecondWhileCodesAndTicksAreServed) {
    emulator.SetDead(true);
    ASSERT_TRUE(panel.SetFrequency());
    ASSERT_TRUE(PostPrivateMessage(&main, PostBeep));
    const int ticks = main.ticks;
    const int64_t start = ui::Clock::NowMs();
    EXPECT_FALSE(panel.WaitReply());
    const int64_t waited = ui::Clock::NowMs() - start;
    EXPECT_GE(waited, 900);
    EXPECT_LE(waited, 1000);
    EXPECT_GE(main.ticks - ticks, 9);
    EXPECT_EQ(main.Count(PostBeep), 1);
    EXPECT_EQ(panel.PendingCommand, ReceiverPanel::NoExchange);

    const int64_t levelStart = ui::Clock::NowMs();
    EXPECT_EQ(panel.ReadLevel(), -1);
    EXPECT_LE(ui::Clock::NowMs() - levelStart, 1000);
}

TEST_F(Ic8500OnAir, TenTicksAbandonAnExchangeNobodyWaitsFor) {
    emulator.SetDead(true);
    ASSERT_TRUE(panel.SetFrequency());
    ui::Clock::Advance(1000);
    EXPECT_EQ(panel.PendingCommand, ReceiverPanel::NoExchange);
    EXPECT_FALSE(panel.ReplyComplete);
    EXPECT_TRUE(panel.SetFrequency());
}

TEST_F(Ic8500OnAir, AReplyAfterTheWaitEndedIsTakenButCompletesNothing) {
    emulator.SetLatency(std::chrono::milliseconds(1200));  // real time: after the wait
    ASSERT_TRUE(panel.Link.Send("03", 0x03));
    EXPECT_FALSE(panel.WaitReply());
    EXPECT_EQ(panel.PendingCommand, ReceiverPanel::NoExchange);
    // The late reply is on its way; what the panel asks after it stays unanswered.
    emulator.SetDead(true);
    ASSERT_TRUE(ServeUntil([&] { return main.Count(PostFrequencyChanged) == 1; }));
    EXPECT_EQ(state.Frequency, 1'017'000u);
    EXPECT_FALSE(panel.ReplyComplete);
    EXPECT_EQ(panel.PendingCommand, 0x15);  // the level of the reported frequency
}

// A receiver whose thread a busy machine holds up answers late in real time only: no virtual
// time passes while the program's command waits unread, so the exchange is not timed out
// under it, as a reply the receiver itself holds back (its latency, above) is.
TEST_F(Ic8500OnAir, AReceiverHeldUpByABusyMachineIsWaitedForNotTimedOut) {
    emulator.HoldUp(std::chrono::milliseconds(600));
    const int64_t start = ui::Clock::NowMs();
    EXPECT_GE(panel.ReadLevel(), 0);
    EXPECT_LT(ui::Clock::NowMs() - start, 200);
}

// Echo on or off (CI-V bus or the direct RS-232 port), replies whole or byte by byte.
class Ic8500Level : public Ic8500OnAir,
                    public ::testing::WithParamInterface<std::tuple<bool, bool>> {};

TEST_P(Ic8500Level, OpenSquelchGivesTheReceiversLevelAndAClosedOneZero) {
    emulator.SetEcho(std::get<0>(GetParam()));
    emulator.SetByteByByte(std::get<1>(GetParam()));
    emulator.SetSignalPlan(SignalPlan{0, {Signal{145'500'000, 150, 12'000}}});
    state.Frequency = 1'455'000;
    ASSERT_TRUE(panel.SetFrequencyWait());
    EXPECT_EQ(panel.ReadLevel(), 150);
    EXPECT_TRUE(panel.SquelchOpen);
    EXPECT_EQ(panel.Scale.At(1'455'000), 150);

    // The squelch set above the signal: the level counts as 0 whatever the receiver reads,
    // and the threshold follows the reading of the closed squelch.
    EXPECT_EQ(RunJob(419, 200).ReturnCode, 0);
    EXPECT_EQ(emulator.State().squelchLevel, 200);
    EXPECT_EQ(panel.ReadLevel(), 0);
    EXPECT_FALSE(panel.SquelchOpen);
    EXPECT_EQ(panel.Scale.At(1'455'000), 0);
    EXPECT_EQ(panel.Settings.SquelchThreshold, 150u);
    EXPECT_EQ(panel.porog->Position(), 150 / 16);
}

INSTANTIATE_TEST_SUITE_P(EchoAndDelivery, Ic8500Level,
                         ::testing::Combine(::testing::Bool(), ::testing::Bool()));

struct ModeCase {
    char letter;
    bool fnar, anar, awide, cnar;
    const char* payload;
    const char* width;
};

TEST_F(Ic8500OnAir, ModesGoOutWithTheirFilterAndShowTheirBandwidth) {
    const ModeCase cases[] = {
        {'F', false, false, false, false, "060501", "12.0"},
        {'F', true, false, false, false, "060502", "5.5"},
        {'W', false, false, false, false, "060601", "150.0"},
        {'A', false, false, false, false, "060202", "5.5"},
        {'A', false, true, false, false, "060203", "2.2"},
        {'A', false, false, true, false, "060201", "12.0"},
        {'A', false, true, true, false, "060203", "2.2"},  // narrow wins over wide
        {'L', false, false, false, false, "060001", "2.2"},
        {'U', false, false, false, false, "060101", "2.2"},
        {'C', false, false, false, false, "060301", "2.2"},
        {'C', false, false, false, true, "060302", "0.5"},
    };
    for (const ModeCase& c : cases) {
        panel.Settings.Fnar = c.fnar;
        panel.Settings.Anar = c.anar;
        panel.Settings.Awide = c.awide;
        panel.Settings.Cnar = c.cnar;
        state.Modulation = c.letter;
        EXPECT_TRUE(panel.SetMode()) << c.payload;
        EXPECT_EQ(LastPayload(), c.payload);
        EXPECT_EQ(panel.width->Text(), c.width);
        EXPECT_EQ(panel.BandwidthValue(), 2 * static_cast<int32_t>(FDX::ParseKHz(c.width)));
        EXPECT_EQ(panel.ModeParameter(c.letter), static_cast<int32_t>(FDX::ParseKHz(c.width)));
    }
    EXPECT_EQ(emulator.State().mode, emulators::kModeCw);
    EXPECT_EQ(emulator.State().filter, 0x02);

    // The receiver has no RTTY: nothing goes out and the width stays.
    const size_t sent = emulator.ReceivedFrames().size();
    state.Modulation = 'R';
    EXPECT_FALSE(panel.SetMode());
    EXPECT_EQ(emulator.ReceivedFrames().size(), sent);
    EXPECT_EQ(panel.width->Text(), "0.5");
    EXPECT_EQ(panel.ModeParameter('R'), 120);
}

TEST_F(Ic8500OnAir, StepsGoOutAsTheirCodesAndOthersAsTheProgrammedStep) {
    const std::pair<uint32_t, const char*> cases[] = {
        {1, "1002"},   {10, "1003"},  {25, "1004"},  {50, "1005"},   {90, "1006"},    {100, "1007"},
        {125, "1008"}, {200, "1009"}, {250, "1010"}, {1000, "1011"}, {10000, "1012"}, {75, "1013"},
    };
    for (const auto& [step, payload] : cases) {
        state.Step = step;
        EXPECT_TRUE(panel.SetStep()) << payload;
        EXPECT_EQ(LastPayload(), payload);
    }
}

TEST_F(Ic8500OnAir, AttenuatorAndSoundGoOutAsTheSettingsSay) {
    state.Attenuator = 0;
    EXPECT_TRUE(panel.SetAttenuator());
    EXPECT_EQ(LastPayload(), "1100");
    state.Attenuator = 1;
    for (const auto& [depth, payload] :
         {std::pair<uint32_t, const char*>{10, "1110"}, {20, "1120"}, {30, "1130"}, {15, "1110"}}) {
        panel.Settings.DefaultAttenuatorDb = depth;
        EXPECT_TRUE(panel.SetAttenuator());
        EXPECT_EQ(LastPayload(), payload);
    }
    EXPECT_EQ(emulator.State().attenuatorDb, 10);

    state.Sound = 1;
    EXPECT_TRUE(panel.SetSound());
    EXPECT_EQ(LastPayload(), "14010128");
    EXPECT_EQ(panel.zvuk->Position(), 8);
    state.Sound = 0;
    EXPECT_TRUE(panel.SetSound());
    EXPECT_EQ(LastPayload(), "14010000");
    EXPECT_EQ(emulator.State().afLevel, 0);
}

TEST_F(Ic8500OnAir, SixRefusalsInARowThenATickMeanStandby) {
    emulator.SetRefuseAll(true);
    for (int i = 0; i < 5; ++i) EXPECT_FALSE(panel.SetFrequencyWait());
    Post(PostTimerTick);
    EXPECT_FALSE(panel.Standby);

    // One acknowledgement starts the count again.
    emulator.SetRefuseAll(false);
    EXPECT_TRUE(panel.SetFrequencyWait());
    emulator.SetRefuseAll(true);
    for (int i = 0; i < 5; ++i) EXPECT_FALSE(panel.SetFrequencyWait());
    Post(PostTimerTick);
    EXPECT_FALSE(panel.Standby);

    EXPECT_FALSE(panel.SetFrequencyWait());
    EXPECT_EQ(panel.Link.RejectCount, 6);
    panel.Settings.DirectMode = true;
    Post(PostTimerTick);
    EXPECT_TRUE(panel.Standby);
    EXPECT_EQ(panel.power->Text(), "вкл");
    EXPECT_FALSE(panel.Settings.DirectMode);
    EXPECT_EQ(main.Count(PostPanelProgress), 1);
    Post(PostTimerTick);
    EXPECT_EQ(main.Count(PostPanelProgress), 1);
}

TEST_F(Ic8500OnAir, AReceiverSwitchedOffIsFoundInStandbyBySync) {
    EXPECT_EQ(RunJob(422, 0).ReturnCode, 0);
    EXPECT_FALSE(emulator.State().powerOn);
    Post(PostSyncReceiver);
    EXPECT_TRUE(panel.Standby);
    EXPECT_EQ(panel.power->Text(), "вкл");
    EXPECT_GE(main.Count(PostPanelProgress), 1);

    // The power button switches it on again.
    panel.power->Raise(ui::EventId::Click);
    EXPECT_TRUE(emulator.State().powerOn);
    EXPECT_FALSE(panel.Standby);
    EXPECT_EQ(panel.power->Text(), "выкл");
}

TEST_F(Ic8500OnAir, MeasureAndStepCodesTuneAndReadTheLevel) {
    emulator.SetSignalPlan(SignalPlan{5, {Signal{145'500'000, 150, 12'000}}});
    state.Frequency = 1'455'000;
    Post(PostMeasureLevel);
    EXPECT_EQ(state.Level, 150);

    panel.ViewStep = 100;
    Post(PostStepUp);
    EXPECT_EQ(state.Frequency, 1'455'100u);
    EXPECT_EQ(emulator.State().frequencyHz, 145'510'000u);
    EXPECT_EQ(main.Count(PostFrequencyStepped), 1);
    EXPECT_EQ(main.Count(PostReceiverState), 1);
    EXPECT_EQ(state.Level, 5);

    // Beyond the upper limit nothing happens at all.
    state.Frequency = IC8500::kUpperLimit;
    Post(PostStepUp);
    EXPECT_EQ(main.Count(PostFrequencyStepped), 1);

    // While busy the step is only announced.
    state.Frequency = 1'455'000;
    Post(PostLockControls);
    EXPECT_FALSE(panel.catt10->IsEnabled());
    EXPECT_TRUE(panel.scale->IsEnabled());  // the mouse still points on it
    Post(PostStepDown);
    EXPECT_EQ(main.Count(PostFrequencyStepped), 2);
    EXPECT_EQ(emulator.State().frequencyHz, 145'510'000u);
    Post(PostUnlockControls);
    EXPECT_TRUE(panel.catt10->IsEnabled());
    EXPECT_FALSE(panel.textb_1->IsEnabled());  // no channel to edit yet
}

TEST_F(Ic8500OnAir, AClickOnTheFineScaleTunesThere) {
    panel.ViewStep = 100;
    panel.ViewPosition = 1'450'000;
    ui::EventData press;
    press.id = ui::EventId::LeftButtonDown;
    press.x = 50;
    press.y = 40;
    panel.scale->Raise(press);
    ui::EventData up;
    up.id = ui::EventId::LeftButtonUp;
    up.x = 50;
    up.y = 40;
    panel.scale->Raise(up);
    EXPECT_EQ(state.Frequency, 1'455'000u);
    EXPECT_EQ(emulator.State().frequencyHz, 145'500'000u);
    EXPECT_EQ(state.SelectionStart, -1);

    // Pressing, moving more than a column and releasing marks a span instead.
    ui::EventData down;
    down.id = ui::EventId::LeftButtonDown;
    down.x = 10;
    down.y = 40;
    panel.scale->Raise(down);
    ui::EventData move;
    move.id = ui::EventId::MouseMove;
    move.x = 30;
    move.y = 40;
    panel.scale->Raise(move);
    up.x = 30;
    panel.scale->Raise(up);
    EXPECT_EQ(state.SelectionStart, 1'451'000);
    EXPECT_EQ(state.SelectionEnd, 1'453'000);
    EXPECT_EQ(state.Frequency, 1'455'000u);

    // A double click tunes whatever was marked, and the span stays.
    ui::EventData twice;
    twice.id = ui::EventId::DoubleClick;
    twice.x = 70;
    twice.y = 40;
    panel.scale->Raise(twice);
    EXPECT_EQ(emulator.State().frequencyHz, 145'700'000u);
    EXPECT_EQ(state.SelectionStart, 1'451'000);
    EXPECT_EQ(state.SelectionEnd, 1'453'000);

    // The overview strip: 5 MHz a pixel, held to the receiver's limits.
    move.x = 0;
    move.y = 2;
    panel.scale->Raise(move);
    EXPECT_EQ(state.CursorFrequency, static_cast<int32_t>(IC8500::kLowerLimit));
}

TEST_F(Ic8500OnAir, TheReadoutAndTheFineScaleFollowEveryTune) {
    panel.Show();
    const ui::Rect area = panel.scale->Geometry();
    const int64_t page = int64_t{area.width} * panel.ViewStep;
    const std::pair<uint32_t, const char*> tunes[] = {
        {4'339'200, "433.9200"}, {1'450'000, "145.0000"}, {19'999'000, "1999.9000"}};
    for (const auto& [frequency, text] : tunes) {
        state.Frequency = frequency;
        ASSERT_TRUE(panel.SetFrequencyWait());
        EXPECT_EQ(panel.label_1->Text(), text);
        // The view moved by whole pages onto the page that holds the frequency.
        EXPECT_EQ(panel.ViewPosition % page, 0) << text;
        EXPECT_LE(panel.ViewPosition, frequency) << text;
        EXPECT_LT(frequency, panel.ViewPosition + page) << text;
        // The cursor stands in the frequency's column, on the base line.
        const std::vector<ui::Color> pixels = panel.scale->Snapshot();
        const auto x = (frequency - panel.ViewPosition) / panel.ViewStep;
        const auto y = static_cast<uint32_t>(area.height - 19);
        ASSERT_EQ(pixels.size(), static_cast<size_t>(area.width) * area.height);
        EXPECT_EQ(pixels[y * area.width + x], 0xffff00u) << text;
    }
}

TEST_F(Ic8500OnAir, TheScrollBarMovesTheViewWithinItsBounds) {
    ui::EventData scroll;
    scroll.id = ui::EventId::Change;
    scroll.value = 1;
    panel.scrollb_1->Raise(scroll);
    const uint32_t division = panel.ViewPosition;  // one grid division of the scale
    ASSERT_GT(division, 0u);
    scroll.value = 7;
    panel.scrollb_1->Raise(scroll);
    EXPECT_EQ(panel.ViewPosition, 7 * division);

    // Past its end the last page shows, the upper limit on it.
    scroll.value = 1'000'000;
    panel.scrollb_1->Raise(scroll);
    EXPECT_EQ(panel.ViewPosition, static_cast<uint32_t>(panel.scrollb_1->High()) * division);
    EXPECT_GE(panel.ViewPosition + int64_t{panel.scale->Geometry().width} * panel.ViewStep,
              IC8500::kUpperLimit);

    // A tune off the page takes the view, and the bar follows it.
    state.Frequency = 1'450'000;
    ASSERT_TRUE(panel.SetFrequencyWait());
    EXPECT_LE(panel.ViewPosition, 1'450'000u);
    EXPECT_EQ(panel.scrollb_1->Position(), static_cast<int>(panel.ViewPosition / division));
}

TEST_F(Ic8500OnAir, LeavingTheFineScaleForgetsThePointedFrequencyAndTheSpanBeingMarked) {
    panel.ViewStep = 100;
    panel.ViewPosition = 1'450'000;
    const auto mouse = [&](ui::EventId id, int x) {
        ui::EventData e;
        e.id = id;
        e.x = x;
        e.y = 40;
        panel.scale->Raise(e);
    };
    mouse(ui::EventId::LeftButtonDown, 10);
    mouse(ui::EventId::MouseMove, 30);
    EXPECT_EQ(state.CursorFrequency, 1'453'000);
    EXPECT_EQ(state.SelectionEnd, 1'453'000);
    panel.scale->Raise(ui::EventId::MouseLeave);
    EXPECT_EQ(state.CursorFrequency, -1);
    EXPECT_EQ(state.CursorLevel, 0);
    EXPECT_EQ(state.SelectionStart, -1);
    EXPECT_EQ(state.SelectionEnd, -1);
    // The status line heard of the move and of the leave.
    ASSERT_TRUE(ServeUntil([&] { return main.Count(PostShowStatus) == 2; }));
    // Back over the scale the span is not taken up again, and the release neither ends a
    // span nor tunes.
    mouse(ui::EventId::MouseMove, 40);
    EXPECT_EQ(state.SelectionEnd, -1);
    mouse(ui::EventId::LeftButtonUp, 40);
    EXPECT_TRUE(emulator.ReceivedFrames().empty());
}

TEST_F(Ic8500OnAir, TheFineScaleDrawsTheCursorOverTheMeasuredLevel) {
    emulator.SetSignalPlan(SignalPlan{0, {Signal{145'500'000, 150, 12'000}}});
    state.Frequency = 1'455'000;
    Post(PostMeasureLevel);
    panel.Show();
    const std::vector<ui::Color> pixels = panel.scale->Snapshot();
    ASSERT_FALSE(pixels.empty());
    EXPECT_NE(std::find(pixels.begin(), pixels.end(), 0xffff00u), pixels.end());
}

// One click on the threshold's track is one command, though the release comes while the panel
// waits for the receiver's answer.
TEST_F(Ic8500OnAir, AClickOnTheThresholdsTrackSendsOneCommand) {
    main.Show();
    emulator.ClearReceivedFrames();
    operator_hand::ClickTrack(panel.porog);
    ASSERT_TRUE(ServeUntil([&] { return !emulator.ReceivedFrames().empty(); }));
    ui::ServePending();
    char command[16];
    std::snprintf(command, sizeof command, "1403%04d", panel.porog->Position() * 16);
    EXPECT_GT(panel.porog->Position(), 0);
    EXPECT_EQ(Payloads(), (std::vector<std::string>{command}));
    EXPECT_FALSE(operator_hand::Repeats(panel.porog));
}

}  // namespace
