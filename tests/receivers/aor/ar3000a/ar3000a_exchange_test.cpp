// The AR3000A panel against the emulated receiver: the command texts, the level letter, the
// start-up sync, refusals and silence, and the job commands; and the replies as the panel
// reads them.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "state/message_bus.h"
#include "tests/receivers/aor/ar3000a/ar3000a_fixture.h"

namespace {

using Strings = std::vector<std::string>;

TEST(Ar3000aReplies, TheLevelIsTheLetterBeforeCrLfAndThePrompt) {
    EXPECT_EQ(ar3000a::LevelOfReply("P\r\n>"), 240);
    EXPECT_EQ(ar3000a::LevelOfReply("A\r\n>"), 0);
    EXPECT_EQ(ar3000a::LevelOfReply("%\r\n>"), 0);  // the squelch is closed
    EXPECT_EQ(ar3000a::LevelOfReply("9\r\n>"), -1);
    EXPECT_EQ(ar3000a::LevelOfReply("Q\r\n>"), -1);
    EXPECT_EQ(ar3000a::LevelOfReply("\r\n>"), -1);
}

// "#nnJ" names the channel; W or X the attenuator; Z the step and Y the frequency, in tens of
// Hz; the mode letter comes last.
TEST(Ar3000aReplies, AChannelReplyIsTakenOnlyForItsOwnChannelAndWithEveryLetter) {
    const auto read = [](const char* reply, int32_t channel) {
        return ar3000a::ParseChannel(reply, channel, AR3000A::kLowerLimit, AR3000A::kUpperLimit);
    };
    const auto channel = read("#05JWZ01250Y014550000Q\r\n>", 5);
    ASSERT_TRUE(channel);
    EXPECT_EQ(channel->Frequency, 1'455'000u);
    EXPECT_EQ(channel->Step, 125u);
    EXPECT_EQ(channel->Modulation, 'F');
    EXPECT_TRUE(channel->Attenuator);

    const auto own = read("XZ10000Y010170000R\r\n>", -1);  // the set's own settings
    ASSERT_TRUE(own);
    EXPECT_EQ(own->Modulation, 'W');
    EXPECT_EQ(own->Step, 1000u);
    EXPECT_FALSE(own->Attenuator);
    EXPECT_EQ(read("XZ00250Y000001000V\r\n>", -1)->Frequency, AR3000A::kLowerLimit);
    EXPECT_EQ(read("XZ00000Y000000000T\r\n>", -1)->Step, ar3000a::kStepLow);

    for (const auto& [reply, number] : std::initializer_list<std::pair<const char*, int32_t>>{
             {"#05JXZ01250Y014550000Q\r\n>", 6},  // another channel
             {"#07J---\r\n>", 7},                 // empty
             {"#05JXZ01250Y014550000Q\r\n>", -1},
             {"XZ01250Y014550000\r\n>", -1},   // no mode
             {"XY01250Z014550000Q\r\n>", -1},  // Y before Z
             {"Z01250Y014550000Q\r\n>", -1},   // Z first
             {"XQZ01250Y014550000\r\n>", -1},  // the mode letter before Y
             {"?\r\n>", -1}})
        EXPECT_FALSE(read(reply, number)) << reply;

    // "---" empties the channel it names alone: another's, coming late, is no answer.
    struct Empty {
        const char* reply;
        int32_t channel;
        bool empty;
    };
    for (const Empty& row : {Empty{"#07J---\r\n>", 7, true}, Empty{"#7J---\r\n>", 7, true},
                             Empty{"#07J---\r\n>", 6, false}, Empty{"#07J---\r\n>", -1, false},
                             Empty{"#0xJ---\r\n>", 0, false}, Empty{"#J---\r\n>", 0, false},
                             Empty{"#07JXZ01250Y014550000Q\r\n>", 7, false}})
        EXPECT_EQ(ar3000a::IsEmptyChannel(row.reply, row.channel), row.empty)
            << row.reply << " " << row.channel;
}

TEST_F(Ar3000aOnAir, TunesInMegahertzTextAndReadsTheLevelLetterIntoTheScale) {
    state.Frequency = 1'455'000;
    ASSERT_TRUE(panel.SetFrequencyWait());
    EXPECT_EQ(panel.ReadLevel(), 240);
    EXPECT_EQ(panel.Scale.At(1'455'000), 240);
    state.Step = 125;
    EXPECT_TRUE(panel.SetStep());
    state.Modulation = 'F';
    EXPECT_TRUE(panel.SetMode());
    EXPECT_EQ(panel.width->Text(), "12.0");
    EXPECT_EQ(panel.Scale.FillWindow, 240);
    state.Attenuator = 1;
    EXPECT_TRUE(panel.SetAttenuator());
    state.Sound = 0;
    EXPECT_TRUE(panel.SetSound());
    state.Modulation = 'W';
    EXPECT_TRUE(panel.SetMode());
    EXPECT_EQ(panel.Scale.FillWindow, 3600);
    EXPECT_EQ(Lines(), (Strings{"145.5000", "Y", " 12.5S", "n", "R", "E", "w"}));
    EXPECT_EQ(emulator.State().tuned.stepHz, 12'500u);
    EXPECT_TRUE(emulator.State().tuned.attenuator);
    EXPECT_EQ(panel.label_1->Text(), " 145.5000 WFM АТТ");

    // RTTY has no mode on the set: nothing goes out and the set fails.
    state.Modulation = 'R';
    EXPECT_FALSE(panel.SetMode());
    EXPECT_EQ(panel.ModeParameter('R'), kNoModeValue);
    EXPECT_EQ(Lines().size(), 7u);

    emulator.SetSquelch(255);
    EXPECT_EQ(panel.ReadLevel(), 0);
}

TEST_F(Ar3000aOnAir, ARefusedCommandFailsAtOnceAndASilentSetAfterASecond) {
    state.Step = 10000;  // 1000 kHz: more than the set takes
    int64_t start = ui::Clock::NowMs();
    EXPECT_FALSE(panel.SetStep());
    EXPECT_LT(ui::Clock::NowMs() - start, 200);

    emulator.SetSilent(true);
    start = ui::Clock::NowMs();
    EXPECT_EQ(panel.ReadLevel(), -1);
    EXPECT_GE(ui::Clock::NowMs() - start, 900);
    EXPECT_EQ(panel.PendingCommand, ReceiverPanel::NoExchange);
    emulator.SetSilent(false);
    EXPECT_EQ(panel.ReadLevel(), 0);
}

TEST_F(Ar3000aOnAir, TheSyncTakesTheSetsOwnSettings) {
    Post(PostSyncReceiver);
    ASSERT_TRUE(ServeUntil([&] { return panel.SyncEnded(); }));
    EXPECT_TRUE(panel.ReceiverAnswered());
    EXPECT_EQ(Lines(), (Strings{"D", "Y"}));
    EXPECT_EQ(state.Frequency, 1'017'000u);
    EXPECT_EQ(state.Modulation, 'W');
    EXPECT_EQ(state.Step, 1000u);
    EXPECT_EQ(state.Attenuator, 0);
    EXPECT_EQ(state.Level, 0);
    EXPECT_EQ(panel.width->Text(), "180.0");
    EXPECT_EQ(main.Count(PostReceiverState), 1);
}

// The step keys tune by the fine scale's step within the limits; nothing at all beyond them,
// and no tuning while a reply is awaited.
TEST_F(Ar3000aOnAir, TheStepKeysTuneWithinTheLimitsAndWaitForNoReply) {
    panel.ViewStep = 10000;
    state.Frequency = AR3000A::kUpperLimit - 500;
    Post(PostStepUp);
    EXPECT_EQ(main.Count(PostFrequencyStepped), 0);
    EXPECT_TRUE(Lines().empty());

    state.Frequency = 1'445'000;
    Post(PostStepUp);
    EXPECT_EQ(main.Count(PostFrequencyStepped), 1);
    EXPECT_EQ(state.Frequency, 1'455'000u);
    EXPECT_EQ(state.Level, 240);
    EXPECT_EQ(Lines(), (Strings{"145.5000", "Y"}));

    emulator.SetSilent(true);
    ASSERT_TRUE(panel.SetFrequency());
    Post(PostStepDown);
    EXPECT_EQ(main.Count(PostFrequencyStepped), 2);
    EXPECT_EQ(state.Frequency, 1'455'000u);
}

TEST_F(Ar3000aOnAir, JobCommandsAnswerInTheirLine) {
    EXPECT_EQ(RunJob(118, 1).ReturnCode, 0u);
    EXPECT_TRUE(panel.catt->IsChecked());
    EXPECT_EQ(RunJob(119, 1).ReturnCode, 0u);
    EXPECT_EQ(RunJob(122, 500).ReturnCode, 0u);
    EXPECT_EQ(panel.ViewStep, 500u);
    EXPECT_EQ(RunJob(122, 300).ReturnCode, 0u);  // not in the list: the first step
    EXPECT_EQ(panel.ViewStep, 100u);
    EXPECT_EQ(RunJob(113).ReturnCode, 0u);
    EXPECT_EQ(panel.CurrentBank, 2);
    EXPECT_TRUE(panel.optb_3->IsChecked());
    EXPECT_EQ(RunJob(128, 1).ReturnCode, 0u);
    EXPECT_TRUE(panel.WholeMemory);
    EXPECT_EQ(Lines(), (Strings{"R", "G"}));

    const JobStr channel = RunJob(127, 100);
    EXPECT_EQ(channel.ReturnCode, 2u);
    EXPECT_EQ(channel.Message, "Не существует канала для данного банка");
    for (const uint32_t number : {110u, 129u}) {
        const JobStr line = RunJob(number);
        EXPECT_EQ(line.ReturnCode, 1u) << number;
        EXPECT_EQ(line.Message, "Нет доступа к объекту") << number;
    }
    emulator.SetRefuseAll(true);
    EXPECT_EQ(RunJob(118, 0).ReturnCode, 1u);
}

// The next maximum: from two cells beside the frequency the first rise, then its top; the
// receiver is tuned to the middle of the rise.
TEST_F(Ar3000aOnAir, TheNextMaximumIsTheMiddleOfTheNextRise) {
    state.Frequency = 1'000'000;  // cell 10000
    for (const auto& [cell, level] : {std::pair{10'001, 90}, {10'005, 20}, {10'006, 60},
                                      {10'007, 80}, {10'008, 80}, {9'990, 50}})
        panel.Scale.SetCell(cell, uint8_t(level));
    EXPECT_EQ(RunJob(126).ReturnCode, 0u);  // the peak at cell 10001 lies before the start
    EXPECT_EQ(state.Frequency, (10'005 + 10'008) * 50u);
    state.Frequency = 1'000'000;
    EXPECT_EQ(RunJob(125).ReturnCode, 0u);
    EXPECT_EQ(state.Frequency, 9'990 * 100u);
    EXPECT_EQ(Lines(), (Strings{"100.0650", "Y", " 99.9000", "Y"}));

    panel.Scale.Clear();
    const JobStr none = RunJob(126);
    EXPECT_EQ(none.ReturnCode, 1u);
    EXPECT_EQ(none.Message, "Максимумы Шкалы не найдены");
}

}  // namespace
