// The IC-R10 panel, and the IC-R9000 it also serves, against the emulated sets.

#include "receivers/icom/ic10/ic10.h"

#include <gtest/gtest.h>

#include "receivers/panel_registry.h"
#include "tests/receivers/icom/civ_fixture.h"
#include "tests/receivers/receiver_files.h"

namespace {

class Ic10OnAir : public CivOnAir<IC10> {
  protected:
    Ic10OnAir() : CivOnAir(emulators::kIcR10) {}

    void TypeAddress(const std::string& text) {
        ui::EventData typed;
        typed.id = ui::EventId::Change;
        typed.text = text;
        panel.address->SetText(text);
        panel.address->Raise(typed);
    }
};

class Ic9000OnAir : public CivOnAir<IC10> {
  protected:
    Ic9000OnAir() : CivOnAir(emulators::kIcR9000, 1) {}
};

TEST_F(Ic10OnAir, SyncAsksFrequencyAndModeThenTheLevelWithoutAskingWhoIsThere) {
    // Each query is awaited: one sent before the last one's answer would be refused.
    emulator.SetLatency(std::chrono::milliseconds(20));
    state.Modulation = 'A';
    Post(PostSyncReceiver);
    ASSERT_TRUE(ServeUntil([&] { return main.Count(PostPanelLevelDisplay) == 1; }));
    EXPECT_EQ(Payloads(), (std::vector<std::string>{"03", "04", "1502"}));
    EXPECT_EQ(state.Frequency, 1'017'000u);
    EXPECT_EQ(state.Modulation, 'W');
    EXPECT_EQ(panel.width->Text(), "150.0");
    EXPECT_EQ(main.Count(PostReceiverState), 1);
    // No squelch: the reading is the level.
    EXPECT_EQ(state.Level, emulators::DefaultSignalPlan().LevelAt(101'700'000));
    EXPECT_EQ(panel.label_1->Text(), "IC-R10  101.7000");
}

// With RECV_SAVE the scale comes from the state file and already holds the set's level.
TEST_F(Ic10OnAir, AStoredScaleDoesNotKeepTheStartUpLevelFromTheMainWindow) {
    const int level = emulators::DefaultSignalPlan().LevelAt(101'700'000);
    panel.Scale.SetCell(panel.Scale.IndexOf(1'017'000), static_cast<uint8_t>(level));
    Post(PostSyncReceiver);
    ASSERT_TRUE(ServeUntil([&] { return main.Count(PostPanelLevelDisplay) == 1; }));
    EXPECT_EQ(state.Level, level);
}

TEST_F(Ic10OnAir, TheAddressBoxTakesTwoUpperCaseHexDigits) {
    TypeAddress("5");  // doubled
    EXPECT_EQ(panel.Link.ReceiverAddress, 0x55);
    emulator.SetAddress(0x55);
    state.Frequency = 1'450'000;
    ASSERT_TRUE(panel.SetFrequencyWait());
    EXPECT_EQ(emulator.ReceivedFrames().back()[2], 0x55);
    EXPECT_EQ(panel.ReadLevel(), emulators::DefaultSignalPlan().LevelAt(145'000'000));

    for (const char* refused : {"5G", "4a", " 5"}) {
        TypeAddress(refused);
        EXPECT_EQ(panel.address->Text(), "52") << refused;
        EXPECT_EQ(panel.Link.ReceiverAddress, 0x52) << refused;
    }
    TypeAddress("5CX");
    EXPECT_EQ(panel.Link.ReceiverAddress, 0x5C);
    EXPECT_EQ(panel.Link.AddressText, "5C");
}

TEST_F(Ic10OnAir, AFrequencyTheSetReportsIsShownOnceAndGetsItsLevel) {
    emulator.ClearReceivedFrames();
    ASSERT_TRUE(emulator.TuneByHand(433'920'000));
    ASSERT_TRUE(ServeUntil([&] { return main.Count(PostPanelLevelDisplay) >= 1; }));
    EXPECT_EQ(main.Count(PostFrequencyChanged), 1);
    EXPECT_EQ(Payloads(), (std::vector<std::string>{"1502"}));
    EXPECT_EQ(state.Frequency, 4'339'200u);
    EXPECT_EQ(panel.Scale.At(4'339'200), emulators::DefaultSignalPlan().LevelAt(433'920'000));
}

TEST_F(Ic10OnAir, JobCommandsOfTheFineScaleAndTheOthersRefused) {
    EXPECT_EQ(RunJob(312, 300).ReturnCode, 0);
    EXPECT_EQ(panel.ViewStep, 100u);
    RunJob(312, 20000);
    EXPECT_EQ(panel.ViewStep, 20000u);

    const JobStr peak = RunJob(313);  // nothing measured: the scale is flat
    EXPECT_EQ(peak.Message, "Максимумы Шкалы не найдены");
    EXPECT_EQ(peak.ReturnCode, 1);

    for (uint32_t number : {310u, 317u, 411u}) {
        const JobStr line = RunJob(number);
        EXPECT_EQ(line.Message, "Нет доступа к обьекту") << number;
        EXPECT_EQ(line.ReturnCode, 1) << number;
    }

    panel.Scale.SetCell(14'500, 99);
    EXPECT_EQ(RunJob(311).Message, "Вы действительно хотите очистить шкалу?-ДА");
    EXPECT_EQ(panel.Scale.Cell(14'500), 0);
}

TEST_F(Ic10OnAir, TheFineScaleHasRoomForAFullLevelUnderItsStrip) {
    const int base = panel.scale->Geometry().height - 19;
    EXPECT_GE(base - 255 / 2, 60 + 2);
    state.Frequency = 1'450'000;
    panel.Scale.SetCell(panel.Scale.IndexOf(1'450'000), 254);
    RunJob(312, 100);
    const std::vector<ui::Color> pixels = panel.scale->Snapshot();
    const int width = panel.scale->Geometry().width;
    const int cursor = int((1'450'000 - panel.ViewPosition) / 100);
    EXPECT_EQ(pixels[std::size_t((base - 127) * width + cursor)], 0xffff00u);  // the cursor
}

// Locked by a scan or a job: only the view step and the address; the step keys tune unless a
// scan runs.
TEST_F(Ic10OnAir, ALockHoldsTheStepAndTheAddressAndAScanTheStepKeys) {
    Post(PostLockControls);
    EXPECT_FALSE(panel.step->IsEnabled());
    EXPECT_FALSE(panel.address->IsEnabled());
    EXPECT_TRUE(panel.clear->IsEnabled());
    state.Frequency = 1'450'000;
    panel.ViewStep = 1000;
    Post(PostStepUp);
    EXPECT_EQ(emulator.State().frequencyHz, 145'100'000u);
    state.Running = 1;
    Post(PostStepUp);
    EXPECT_EQ(emulator.State().frequencyHz, 145'100'000u);
    EXPECT_EQ(main.Count(PostFrequencyStepped), 2);
    Post(PostUnlockControls);
    EXPECT_TRUE(panel.address->IsEnabled());
}

TEST_F(Ic10OnAir, TheStateFileKeepsTheAddress) {
    panel.Destroy();
    WriteBytes(folder.File("IC10.001"),
               Cp1251Lines({"Адрес=5C", "Измерения=130001", "FL=0", "FC=9", "FL=200"}));
    state.OptRecvSave = 1;
    ASSERT_TRUE(panel.Create(&main, &state));
    EXPECT_EQ(panel.Link.ReceiverAddress, 0x5C);
    EXPECT_EQ(panel.address->Text(), "5C");
    EXPECT_EQ(panel.Scale.Cell(10), 200);
    EXPECT_EQ(panel.Scale.PeakLevel, 200);  // the peak jumps judge against it
    panel.Destroy();
    EXPECT_NE(Cp1251ToUtf8(ReadBytes(folder.File("IC10.001"))).find("\r\nАдрес=5C\r\n"),
              std::string::npos);
    ASSERT_TRUE(panel.Create(&main, &state));
}

// The sets keep no memory the program reaches: a bank item loaded or stored never asks
// the panel, for either model it serves.
TEST(Ic10Traits, NeitherModelSaysItHasBanks) {
    for (const int32_t type : {3, 5}) {
        uint8_t variant = 0;
        EXPECT_FALSE(panel_registry::Traits(panel_registry::ServedType(type, variant)).banks)
            << type;
    }
}

TEST_F(Ic9000OnAir, TheIcR9000TitlesItselfAndTunesItsWiderRange) {
    EXPECT_EQ(panel.LowerLimit, 1000u);
    EXPECT_EQ(panel.UpperLimit, 20'000'000u);
    ASSERT_TRUE(emulator.TuneByHand(150'000));
    ASSERT_TRUE(ServeUntil([&] { return main.Count(PostFrequencyChanged) == 1; }));
    EXPECT_EQ(state.Frequency, 1500u);
    EXPECT_EQ(panel.label_1->Text(), "IC-R9000  0.1500");
    state.Frequency = 19'000'000;
    EXPECT_TRUE(panel.SetFrequencyWait());
    EXPECT_EQ(emulator.State().frequencyHz, 1'900'000'000u);
}

}  // namespace
