// The job commands the CI-V memory core serves for both HF sets, each numbered from the set's
// own job base.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

#include "tests/receivers/icom/hf/hf_fixture.h"

namespace {

using Texts = std::vector<std::string>;

template <class Fixture>
class HfSharedJobs : public Fixture {
  protected:
    static constexpr uint32_t kJobBase = std::is_same_v<Fixture, Ic756OnAir> ? 1200 : 1000;
    // The status a job's read shows: the IC-756PRO words it otherwise than its button.
    static constexpr const char* kJobReadStatus =
        std::is_same_v<Fixture, Ic756OnAir> ? "Чтение банков приемника" : "Чтение банка";
};

using HfSets = ::testing::Types<Ic756OnAir, Ic75OnAir>;
TYPED_TEST_SUITE(HfSharedJobs, HfSets);

// The AF level and the squelch (held to 255) go into the set's own settings, onto their
// sliders and to the set; a switch onto its box and to the set.
TYPED_TEST(HfSharedJobs, LevelsAndSwitchesReachTheSetFromTheJobBase) {
    const uint32_t base = this->kJobBase;
    this->Sent();
    EXPECT_EQ(this->RunJob(base + 18, 64).ReturnCode, 0u);
    EXPECT_EQ(this->Sent(), (Texts{"14010064"}));
    EXPECT_EQ(this->panel.Settings.AfLevel, 64u);
    EXPECT_EQ(this->panel.sd->Position(), 4);

    EXPECT_EQ(this->RunJob(base + 19, 999).ReturnCode, 0u);
    EXPECT_EQ(this->Sent(), (Texts{"14030255"}));
    EXPECT_EQ(this->panel.Settings.SquelchLevel, 255u);
    EXPECT_EQ(this->panel.sq->Position(), 15);

    EXPECT_EQ(this->RunJob(base + 25, 1).ReturnCode, 0u);
    EXPECT_EQ(this->Sent(), (Texts{"162201"}));
    EXPECT_TRUE(this->panel.fns->IsChecked());
}

// The memory read and written by a job line: every channel moved, the read under the job's own
// status.
TYPED_TEST(HfSharedJobs, ReadAndWriteFromTheJobBaseMoveTheWholeMemory) {
    const uint32_t base = this->kJobBase;
    this->emulator.SetChannel(0, 101, At(7'050'000));
    EXPECT_EQ(this->RunJob(base + 11).ReturnCode, 0u);
    EXPECT_EQ(this->state.PanelStatusText, this->kJobReadStatus);
    EXPECT_EQ(this->panel.Channels[100].Frequency, 70'500u);
    EXPECT_EQ(this->panel.Channels[100].Modulation, 'A');

    this->panel.Channels[2] = this->panel.Channels[100];
    this->panel.Channels[2].Frequency = 140'000;
    EXPECT_EQ(this->RunJob(base + 12).ReturnCode, 0u);
    EXPECT_EQ(this->emulator.Channel(0, 3).frequencyHz, 14'000'000u);
    EXPECT_EQ(this->emulator.Channel(0, 101).frequencyHz, 7'050'000u);
    EXPECT_TRUE(this->messages.empty());
}

// With direct write the store goes into the set's channel at once: a channel the set refuses
// is told as a write tells it, from the button and from the job line (which fails), and the
// entry and its row keep what they had; a channel the set takes is stored in both.
TYPED_TEST(HfSharedJobs, AStoreTheSetRefusesIsToldAndTheEntryKeepsWhatItHad) {
    const uint32_t base = this->kJobBase;
    auto& panel = this->panel;
    this->emulator.SetChannel(0, 51, At(7'050'000));
    MemoryChannel before;
    before.Frequency = 70'500;
    before.Modulation = 'A';
    before.Label = "OLD";
    panel.Channels[50] = before;
    panel.Settings.DirectWrite = true;
    panel.ChooseChannel(50);
    before = panel.Channels[50];
    const std::string shown = panel.lv_1->Cell(50, 0);
    this->state.Frequency = 142'000;
    this->state.Modulation = 'U';
    this->emulator.SetMemoryCapacity(50);  // channel 51 refused
    const Texts told{"Не записано в приемник каналов: 1 (первый: канал 51)"};

    this->Click(panel.cb_3);
    EXPECT_EQ(this->messages, told);
    EXPECT_EQ(panel.Channels[50], before);
    EXPECT_EQ(panel.lv_1->Cell(50, 0), shown);
    EXPECT_EQ(panel.textb_1->Text(), "7.0500");

    this->messages.clear();
    const JobStr line = this->RunJob(base + 13);
    EXPECT_EQ(line.ReturnCode, 1);
    EXPECT_EQ(line.Message, told[0]);
    EXPECT_EQ(panel.Channels[50], before);
    EXPECT_TRUE(this->messages.empty());  // the line carries it

    this->emulator.SetMemoryCapacity(101);
    EXPECT_EQ(this->emulator.Channel(0, 51).frequencyHz, 7'050'000u);
    EXPECT_EQ(this->RunJob(base + 13).ReturnCode, 0);
    EXPECT_EQ(panel.Channels[50].Frequency, 142'000u);
    EXPECT_EQ(this->emulator.Channel(0, 51).frequencyHz, 14'200'000u);
    EXPECT_EQ(panel.lv_1->Cell(50, 0), "  14.2000");
    this->state.Frequency = 143'000;
    this->Click(panel.cb_3);
    EXPECT_EQ(this->emulator.Channel(0, 51).frequencyHz, 14'300'000u);
    EXPECT_EQ(panel.lv_1->Cell(50, 0), "  14.3000");
    EXPECT_TRUE(this->messages.empty());
}

}  // namespace
