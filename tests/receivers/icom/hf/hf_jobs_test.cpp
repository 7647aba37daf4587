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
    emulators::CivChannel held;
    held.frequencyHz = 7'050'000;
    held.mode = emulators::kModeAm;
    held.filter = 0x02;
    this->emulator.SetChannel(0, 101, held);
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

}  // namespace
