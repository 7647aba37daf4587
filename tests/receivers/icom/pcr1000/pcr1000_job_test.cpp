// The IC-PCR1000 panel's job commands 613..636 and its bandwidth button, against the
// emulated set.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/receivers/icom/pcr1000/pcr1000_fixture.h"

namespace {

using emulators::Pcr1000State;

TEST_F(Pcr1000OnAir, SettingCommandsReachTheSet) {
    AsConnected();
    const struct {
        uint32_t number;
        uint32_t value;
        const char* line;
        bool (*took)(const Pcr1000State&);
    } cases[] = {
        {613, 0x40, "J4340", [](const Pcr1000State& s) { return s.ifShift == 0x40; }},
        {617, 0, "J4701", [](const Pcr1000State& s) { return s.attenuator; }},
        {614, 0, "J4700", [](const Pcr1000State& s) { return !s.attenuator; }},
        {618, 0x60, "J4060", [](const Pcr1000State& s) { return s.volume == 0x60; }},
        {619, 999, "J41FF", [](const Pcr1000State& s) { return s.squelch == 0xFF; }},
        {623, 1, "J4501", [](const Pcr1000State& s) { return s.agc; }},
        {625, 1, "J4601", [](const Pcr1000State& s) { return s.noiseBlanker; }},
    };
    for (const auto& c : cases) {
        const JobStr line = RunJob(c.number, c.value);
        EXPECT_EQ(line.ReturnCode, 0) << c.number;
        EXPECT_EQ(LastLine(), c.line) << c.number;
        EXPECT_TRUE(c.took(emulator.State())) << c.number;
    }
    EXPECT_EQ(panel.porog->Position(), 31);
    EXPECT_TRUE(panel.faru->IsChecked());
    EXPECT_FALSE(panel.attenuator->IsChecked());
    EXPECT_EQ(state.Attenuator, 0);
}

TEST_F(Pcr1000OnAir, CommandsThePanelDoesNotServeAnswerInItsOwnWords) {
    for (const uint32_t number : {615u, 616u, 620u, 624u, 627u, 628u, 633u, 612u, 637u}) {
        const JobStr line = RunJob(number);
        EXPECT_EQ(line.ReturnCode, 1) << number;
        EXPECT_EQ(line.Message, "Нет доступа к обьекту") << number;
    }
    EXPECT_EQ(RunJob(634).ReturnCode, 0);
    EXPECT_TRUE(Heard().empty());
}

TEST_F(Pcr1000OnAir, ViewStepBandScopeAndPowerCommands) {
    AsConnected();
    RunJob(626, 300);
    EXPECT_EQ(panel.ViewStep, 100u);
    EXPECT_EQ(panel.step->SelectedIndex(), 0);
    RunJob(626, 5000);
    EXPECT_EQ(panel.ViewStep, 5000u);
    EXPECT_EQ(panel.step->SelectedIndex(), 5);

    RunJob(636, 1);
    EXPECT_EQ(state.PcrScope, 1);
    EXPECT_TRUE(panel.fast->IsChecked());
    RunJob(635, 1);
    EXPECT_FALSE(panel.Scope.Paused);
    EXPECT_EQ(panel.stopEL->Text(), "пауза");
    RunJob(635, 0);
    EXPECT_TRUE(panel.Scope.Paused);

    RunJob(622, 0);
    ASSERT_TRUE(ServeUntil([&] { return panel.Busy; }));
    EXPECT_FALSE(emulator.State().powerOn);
}

TEST_F(Pcr1000OnAir, TheBandwidthButtonCyclesTheFiltersAndRetunes) {
    AsConnected();
    const struct {
        int32_t bandwidth;
        const char* filter;
    } cycle[] = {{28, "0000"}, {60, "0100"}, {150, "0200"}, {500, "0300"}, {2300, "0400"}};
    EXPECT_EQ(panel.Settings.Bandwidth, 2300);
    for (const auto& c : cycle) {
        panel.width->Raise(ui::EventId::Click);
        EXPECT_EQ(panel.Settings.Bandwidth, c.bandwidth);
        EXPECT_EQ(LastLine().substr(14), c.filter);
        EXPECT_EQ(emulator.State().filter, std::stoi(std::string(c.filter).substr(0, 2)));
    }
}

}  // namespace
