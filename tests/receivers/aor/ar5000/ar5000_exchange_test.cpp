// The AR5000 panel against the emulated receiver: tuning and levels on the line, time-outs,
// refusals and lines that come in pieces, modes and bandwidths, the receiver's own scan and
// the stops it reports, job commands, the mouse on the fine scale and its marker.

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "tests/receivers/aor/ar5000/ar5000_fixture.h"

namespace {

using Strings = std::vector<std::string>;

TEST_F(Ar5000OnAir, TunesInHzAndReadsTheLevelInHexWith255KeptAs254) {
    state.Frequency = 1'455'000;
    ASSERT_TRUE(panel.SetFrequencyWait());
    EXPECT_EQ(panel.Link.CommandLine, "RF145500000\r\n");
    EXPECT_EQ(emulator.State().tuned.frequencyHz, 145'500'000u);
    EXPECT_EQ(panel.ReadLevel(), 127);
    EXPECT_EQ(panel.Scale.At(1'455'000), 127);

    state.Frequency = 4'339'200;
    ASSERT_TRUE(panel.SetFrequencyWait());
    EXPECT_EQ(panel.ReadLevel(), 254);
    EXPECT_EQ(Lines(), (Strings{"RF145500000", "LM", "RF433920000", "LM"}));
    EXPECT_EQ(panel.label_1->Text(), " 433.9200");
}

TEST_F(Ar5000OnAir, ASilentReceiverGivesNoLevelAfterASecondAndTheNextSendPurgesTheLine) {
    emulator.SetSilent(true);
    const int64_t start = ui::Clock::NowMs();
    EXPECT_EQ(panel.ReadLevel(), -1);
    const int64_t waited = ui::Clock::NowMs() - start;
    EXPECT_GE(waited, 900);
    EXPECT_LE(waited, 1000);
    EXPECT_EQ(panel.PendingCommand, ReceiverPanel::NoExchange);

    // What is left of a reply that never ended goes with the next send.
    const std::string stale = "LM 1";
    comm.StoreReceived(reinterpret_cast<const uint8_t*>(stale.data()), stale.size());
    emulator.SetSilent(false);
    state.Frequency = 1'455'000;
    ASSERT_TRUE(panel.SetFrequency());
    EXPECT_NE(comm.Ring[comm.ReadIndex], 'L');
    ASSERT_TRUE(panel.WaitReply());
    EXPECT_EQ(panel.ReadLevel(), 127);
}

// A "?" ends the exchange at once, also one that awaits a line of its own kind (a level, a
// state line): it does not wait for the time-out.
TEST_F(Ar5000OnAir, AQuestionMarkReleasesTheWaitAtOnceAsAFailure) {
    emulator.SetRefused({"RF", "LM", "RX"});
    state.Frequency = 1'455'000;
    for (const auto& exchange : std::initializer_list<std::function<bool()>>{
             [&] { return panel.SetFrequencyWait(); }, [&] { return panel.ReadLevel() != -1; },
             [&] { return panel.Link.Exchange("RX\r\n", "RF"); }}) {
        const int64_t start = ui::Clock::NowMs();
        EXPECT_FALSE(exchange());
        EXPECT_LT(ui::Clock::NowMs() - start, 200);
        EXPECT_FALSE(panel.ReplyComplete);
    }
    // A second send while the first is still awaited waits for its time-out and goes out
    // after it.
    emulator.SetRefused({});
    emulator.SetSilent(true);
    emulator.ClearReceivedLines();
    ASSERT_TRUE(panel.SetFrequency());
    const int64_t start = ui::Clock::NowMs();
    EXPECT_FALSE(panel.SetStep());
    EXPECT_GE(ui::Clock::NowMs() - start, 1900);
    ASSERT_TRUE(emulator.WaitForLines(2, std::chrono::seconds(5)));
    EXPECT_EQ(Lines(), (Strings{"RF145500000", "ST25000"}));
}

TEST_F(Ar5000OnAir, AReplyCompletesOnlyWhenItsLfHasCome) {
    emulator.SetSplitLines(true);  // the CR goes, the LF is held
    state.Frequency = 1'455'000;
    ASSERT_TRUE(panel.SetFrequency());
    ui::ServeFor(300);
    EXPECT_FALSE(panel.ReplyComplete);
    emulator.ReleaseSplitLines();
    EXPECT_TRUE(panel.WaitReply());
}

// A walk of the ring that steps over more than half of it without a line empties it.
TEST_F(Ar5000OnAir, GarbageOfMoreThanHalfTheRingIsThrownAway) {
    for (const uint32_t count : {8192u, 8193u}) {
        comm.Purge();
        const std::string garbage(count, 'x');
        comm.StoreReceived(reinterpret_cast<const uint8_t*>(garbage.data()), garbage.size());
        ui::ServePending();
        const uint32_t unread =
            (comm.WriteIndex - comm.ReadIndex + Comm::kRingSize) % Comm::kRingSize;
        EXPECT_EQ(unread, count == 8192 ? 8192u : 0u) << count;
    }
}

TEST_F(Ar5000OnAir, ModesSendTheirDigitAndBandwidthAndTheBandwidthButtonCycles) {
    panel.Wnar = true;
    state.Modulation = 'W';
    ASSERT_TRUE(panel.SetMode());
    EXPECT_EQ(Lines(), (Strings{"MD0", "BW5"}));
    EXPECT_EQ(state.Filter, 1);
    EXPECT_EQ(panel.width->Text(), "110.0");
    EXPECT_EQ(panel.Scale.FillWindow, 2200);
    EXPECT_EQ(emulator.State().tuned.settings.bandwidth, '5');

    // RTTY has no mode on the receiver: nothing goes out.
    emulator.ClearReceivedLines();
    state.Modulation = 'R';
    EXPECT_FALSE(panel.SetMode());
    EXPECT_TRUE(Lines().empty());

    EXPECT_EQ(RunJob(740, 30).ReturnCode, 0u);
    EXPECT_EQ(RunJob(740, 2200).ReturnCode, 0u);
    EXPECT_EQ(Lines(), (Strings{"BW1", "BW6"}));

    emulator.ClearReceivedLines();
    panel.Bandwidth = 30;
    Strings widths;
    for (int click = 0; click < 6; ++click) {
        Operate(panel.cb_5, ui::EventId::Click);
        widths.push_back(std::to_string(panel.Bandwidth));
    }
    EXPECT_EQ(widths, (Strings{"60", "150", "300", "1100", "2200", "30"}));
    EXPECT_EQ(Lines(), (Strings{"BW2", "BW3", "BW4", "BW5", "BW6", "BW1"}));
    panel.Bandwidth = 1500;
    Operate(panel.cb_5, ui::EventId::Click);
    EXPECT_EQ(panel.Bandwidth, 1500);
}

TEST_F(Ar5000OnAir, TheMainWindowReadsTwiceTheBandwidthOfEachMode) {
    panel.Fnar = true;
    EXPECT_EQ(panel.ModeParameter('F'), 120);
    EXPECT_EQ(panel.ModeParameter('W'), 4400);
    EXPECT_EQ(panel.ModeParameter('C'), 60);
    EXPECT_EQ(panel.ModeParameter('R'), kNoModeValue);
    panel.Bandwidth = 300;
    Operate(panel.cb_5, ui::EventId::Click);
    EXPECT_EQ(panel.BandwidthValue(), 2200);
}

TEST_F(Ar5000OnAir, TheOwnScanOfASearchBankReportsItsStopsToTheMainWindow) {
    emulator.SetSearchBank(5, {145'500'000, 146'000'000, emulators::AorSettings{}, "2M"});
    panel.ScanSettings.kind = AorScanSettings::Kind::Search;
    panel.ScanSettings.Action = ScanStopAction::Beep;
    panel.CurrentSearchBank = 5;
    ASSERT_TRUE(panel.StartOwnScan());
    EXPECT_EQ(Lines(), (Strings{"LC1", "DS1", "GS5", "SS05"}));
    EXPECT_TRUE(panel.Scanning);
    EXPECT_EQ(state.PanelStatusText, "Поиск по диапазону");
    // The set stops on the carrier at once: LC7F, then its state line with the frequency.
    ASSERT_TRUE(ServeUntil([&] { return main.Count(PostFrequencyChanged) == 1; }));
    EXPECT_EQ(state.Frequency, 1'455'000u);
    EXPECT_EQ(state.Level, 127);
    EXPECT_EQ(panel.Scale.At(1'455'000), 127);
    EXPECT_EQ(main.Count(PostPanelLevelDisplay), 1);
    EXPECT_EQ(main.Count(PostBeep), 1);
    EXPECT_EQ(main.Count(PostScanStartedByPanel), 1);
    EXPECT_TRUE(panel.PanelBusy);

    // The stop button ends it: the VFO is chosen again and the controls come back.
    Operate(panel.clear, ui::EventId::Click);
    EXPECT_FALSE(panel.Scanning);
    EXPECT_EQ(emulator.State().operation, emulators::Ar5000Operation::Vfo);
    ASSERT_TRUE(ServeUntil([&] { return !panel.PanelBusy; }));
    EXPECT_EQ(main.Count(PostScanStoppedByPanel), 1);
}

// A refused start and a search bank the receiver finds empty ("---") start nothing.
TEST_F(Ar5000OnAir, AScanTheReceiverRefusesIsNotStarted) {
    emulator.SetRefused({"DS"});
    EXPECT_EQ(RunJob(739).Message, "Ошибка запуска внутреннего сканирования приемника");
    EXPECT_FALSE(panel.Scanning);

    emulator.SetRefused({});
    panel.ScanSettings.kind = AorScanSettings::Kind::Search;
    panel.CurrentSearchBank = 6;
    const JobStr line = RunJob(739);
    EXPECT_EQ(line.ReturnCode, 1u);
    EXPECT_EQ(line.Message, "Ошибка запуска внутреннего сканирования приемника");
    EXPECT_EQ(Lines().back(), "SS06");
    EXPECT_FALSE(panel.Scanning);
    EXPECT_EQ(state.PanelStatusText, "");
    ui::ServePending();
    EXPECT_EQ(main.Count(PostScanStartedByPanel), 0);
    EXPECT_FALSE(panel.PanelBusy);
}

TEST_F(Ar5000OnAir, JobCommandsAnswerInTheirLine) {
    // Each setting goes out as its command line alone.
    EXPECT_EQ(RunJob(741).ReturnCode, 0u);
    EXPECT_EQ(RunJob(746).ReturnCode, 0u);
    EXPECT_EQ(panel.Link.CommandLine, "AI1\r\n");
    EXPECT_EQ(Lines(), (Strings{"AN1", "AI1"}));
    EXPECT_EQ(emulator.State().antenna, '1');

    // A setting the receiver refuses fails its line, as a main-window line fails: "no access"
    // stays the answer to a command the panel does not serve.
    emulator.SetRefused({"VL", "AN", "AT"});
    for (const uint32_t number : {715u, 742u, 730u}) {
        const JobStr refused = RunJob(number, 81);
        EXPECT_EQ(refused.ReturnCode, 1u) << number;
        EXPECT_EQ(refused.Message, "Ошибка обращения к приемнику(выключен)") << number;
    }
    emulator.SetRefused({});

    const JobStr foreign = RunJob(799);
    EXPECT_EQ(foreign.ReturnCode, 1u);
    EXPECT_EQ(foreign.Message, "Нет доступа к объекту");

    EXPECT_EQ(RunJob(736, 80).ReturnCode, 0u);
    EXPECT_EQ(emulator.State().voiceSquelch, 80);
    EXPECT_EQ(emulator.State().levelSquelch, 80);
    EXPECT_EQ(emulator.State().noiseSquelch, 80);
    EXPECT_EQ(RunJob(731).ReturnCode, 0u);
    EXPECT_EQ(emulator.State().tuned.settings.attenuator, '2');
    EXPECT_TRUE(panel.catt20->IsChecked());
}

// A step asked for while AUTO is on ends AUTO and is the step sent, not the one AUTO went on
// with.
TEST_F(Ar5000OnAir, AStepAskedForUnderAutoLeavesAutoAndIsTheOneSent) {
    state.Step = 50;
    EXPECT_EQ(RunJob(728).ReturnCode, 0u);
    EXPECT_TRUE(emulator.State().tuned.settings.autoMode);
    state.Step = 250;
    ASSERT_TRUE(panel.SetStep());
    EXPECT_EQ(Lines(), (Strings{"AU1", "AU0", "ST25000"}));
    EXPECT_EQ(emulator.State().tuned.settings.stepHz, 25'000u);
    EXPECT_FALSE(emulator.State().tuned.settings.autoMode);
    EXPECT_FALSE(panel.cauto->IsChecked());
}

// A bank, channel or VFO the receiver does not have fails the line and changes nothing.
TEST_F(Ar5000OnAir, OutOfRangeNumbersAreRefusedWithReturnCodeTwo) {
    struct Case {
        uint32_t command, value;
        const char* message;
    };
    const Case cases[] = {{714, 20, "Не существует указанного банка"},
                          {724, 10, "Не существует указанного банка"},
                          {725, 100, "Не существует канала для данного банка"},
                          {727, 5, "Не существует указанного банка"}};
    for (const Case& c : cases) {
        const JobStr line = RunJob(c.command, c.value);
        EXPECT_EQ(line.ReturnCode, 2u) << c.command;
        EXPECT_EQ(line.Message, c.message) << c.command;
    }
    EXPECT_EQ(panel.CurrentSearchBank, 0);
    EXPECT_EQ(panel.CurrentBank, 0);
    EXPECT_EQ(panel.BankPositions[0], 0);
    EXPECT_EQ(panel.Vfo, 0);
    EXPECT_TRUE(Lines().empty());
    EXPECT_EQ(RunJob(714, 19).ReturnCode, 0u);
    EXPECT_EQ(panel.CurrentSearchBank, 19);
}

TEST_F(Ar5000OnAir, StepsWithinTheLimitsTuneAndAtTheLimitOnlyAnswer) {
    panel.ViewStep = 10000;
    state.Frequency = AR5000::kUpperLimit;
    ASSERT_TRUE(PostPrivateMessage(&panel, PostStepUp));
    ASSERT_TRUE(ServeUntil([&] { return main.Count(PostFrequencyStepped) == 1; }));
    EXPECT_TRUE(Lines().empty());
    ASSERT_TRUE(PostPrivateMessage(&panel, PostStepDown));
    ASSERT_TRUE(ServeUntil([&] { return main.Count(PostFrequencyStepped) == 2; }));
    EXPECT_EQ(Lines(), (Strings{"RF2599000000", "LM"}));
    EXPECT_EQ(state.Frequency, AR5000::kUpperLimit - 10000);
}

TEST_F(Ar5000OnAir, StartUpSyncTakesTheReceiversStateAndLevels) {
    ASSERT_TRUE(PostPrivateMessage(&panel, PostSyncReceiver));
    ASSERT_TRUE(ServeUntil([&] { return main.Count(PostReceiverState) == 1; }));
    EXPECT_EQ(state.Frequency, 1'017'000u);
    EXPECT_EQ(state.Modulation, 'W');
    EXPECT_EQ(state.Step, 1000u);
    EXPECT_EQ(panel.Bandwidth, 2200);
    EXPECT_EQ(panel.NoiseSquelch, 32u);
    EXPECT_EQ(panel.Volume, 128u);
    EXPECT_EQ(panel.SquelchKind, AR5000::Squelch::Noise);
    EXPECT_EQ(panel.VfoFrequencies[0], 1'017'000u);
    EXPECT_EQ(panel.PendingCommand, ReceiverPanel::NoExchange);
}

TEST_F(Ar5000OnAir, TheMousePointsAtAFrequencyAndItsLevelAlsoWhileTheControlsAreLocked) {
    panel.ViewStep = 100;
    panel.ViewPosition = 1'450'000;
    panel.Scale.SetCell(14'530, 90);  // 145.3 MHz, column 30
    ASSERT_TRUE(PostPrivateMessage(&panel, PostLockControls));
    ui::ServePending();
    ASSERT_TRUE(panel.PanelBusy);
    const auto mouse = [&](ui::EventId id, int x, int y) {
        ui::EventData e;
        e.id = id;
        e.x = x;
        e.y = y;
        panel.scale->Raise(e);
    };
    const struct {
        const char* name;
        int x, y;
        int32_t frequency, level;
    } cases[] = {
        {"a column of the fine scale", 30, 40, 1'453'000, 90},
        {"a column with nothing measured", 31, 40, 1'453'100, 0},
        {"the overview strip, 5 MHz a pixel", 2, 5, 100'000, 0},
        {"the strip's left end, held to the lower limit", 0, 5, AR5000::kLowerLimit, 0},
        {"the strip beyond the upper limit", 600, 5, AR5000::kUpperLimit, 0},
    };
    int posted = 0;
    for (const auto& c : cases) {
        mouse(ui::EventId::MouseMove, c.x, c.y);
        ui::ServePending();
        EXPECT_EQ(state.CursorFrequency, c.frequency) << c.name;
        EXPECT_EQ(state.CursorLevel, c.level) << c.name;
        EXPECT_EQ(main.Count(PostShowStatus), ++posted) << c.name;
    }

    // Locked, a click tunes nothing.
    mouse(ui::EventId::LeftButtonDown, 30, 40);
    mouse(ui::EventId::LeftButtonUp, 30, 40);
    mouse(ui::EventId::DoubleClick, 30, 40);
    EXPECT_TRUE(Lines().empty());

    panel.scale->Raise(ui::EventId::MouseLeave);
    ui::ServePending();
    EXPECT_EQ(state.CursorFrequency, -1);
    EXPECT_EQ(state.CursorLevel, 0);
    EXPECT_EQ(main.Count(PostShowStatus), posted + 1);
}

TEST_F(Ar5000OnAir, ADoubleClickTunesThereAndTheMarkerStandsOnTheNewColumn) {
    panel.Show();
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
    mouse(ui::EventId::LeftButtonUp, 30);
    ASSERT_TRUE(Lines().empty());

    // Whatever is marked, the double click tunes and reads the level there.
    mouse(ui::EventId::DoubleClick, 50);
    EXPECT_EQ(Lines(), (Strings{"RF145500000", "LM"}));
    EXPECT_EQ(state.Frequency, 1'455'000u);
    EXPECT_EQ(state.Level, 127);
    EXPECT_EQ(state.SelectionStart, 1'451'000);
    EXPECT_EQ(state.SelectionEnd, 1'453'000);
    ASSERT_TRUE(ServeUntil([&] { return main.Count(PostReceiverState) == 1; }));

    // The marker: a bar of the cell / 8 from 19 pixels above the bottom, the line above it
    // up to the page's top, and the strip's mark at 5 MHz a pixel.
    const ui::Rect area = panel.scale->Geometry();
    const std::vector<ui::Color> pixels = panel.scale->Snapshot();
    ASSERT_EQ(pixels.size(), static_cast<size_t>(area.width) * area.height);
    const auto at = [&](int x, int y) { return pixels[static_cast<size_t>(y * area.width + x)]; };
    int bar = 0;
    for (int y = 0; y < area.height; ++y) bar += at(50, y) == 0xffff00u;
    EXPECT_EQ(bar, 127 / 8 + 1);
    EXPECT_EQ(at(50, area.height - 19), 0xffff00u);
    EXPECT_EQ(at(50, area.height - 19 - 127 / 8 - 1), 0xff0000u);
    EXPECT_EQ(at(1'455'000 / 50'000, 5), 0xff0000u);
}

}  // namespace
