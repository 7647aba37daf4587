#include "receivers/icom/civ_link.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "receivers/comm.h"
#include "receivers/panel.h"
#include "state/fdx.h"

namespace {

using Bytes = std::vector<uint8_t>;

TEST(CivBcd, FrequenciesGoOutLeastSignificantByteFirst) {
    EXPECT_EQ(civ::FreqToBcd(1'450'000, 0), "0000004501");   // 145.0000 MHz
    EXPECT_EQ(civ::FreqToBcd(1000, 0), "0000100000");        // 100 kHz
    EXPECT_EQ(civ::FreqToBcd(20'000'000, 0), "0000000020");  // 2 GHz
    EXPECT_EQ(civ::FreqToBcd(1234, 3), "3412");
    EXPECT_EQ(civ::FreqToBcd(1234, 1), "");
    EXPECT_EQ(civ::FreqToBcd(1234, 2), "");
    // More digits than the frame holds never make a longer frame.
    EXPECT_EQ(civ::FreqToBcd(4'294'967'295u, 0).size(), 10u);
    EXPECT_EQ(civ::FreqToBcd(123'456, 3), "9999");
}

TEST(CivBcd, RepliesDecodeBackToTheSameValues) {
    EXPECT_EQ(civ::DecodeFrequency("030000004501"), 1'450'000u);
    EXPECT_EQ(civ::DecodeFrequency("00" + civ::FreqToBcd(19'999'999, 0)), 19'999'999u);
    EXPECT_EQ(civ::DecodeFrequency("03"), 0u);  // a short reply reads as zeros
    EXPECT_EQ(civ::DecodeLevel("15020128"), 128);
    EXPECT_EQ(civ::DecodeLevel("15020999"), 255);
    EXPECT_EQ(civ::DecodeLevel("1502"), 0);
}

TEST(CivHex, OnlyUpperCaseDigitPairsConvert) {
    EXPECT_EQ(civ::HexToBytes("05FEfd"), std::nullopt);
    EXPECT_EQ(civ::HexToBytes("0A1"), std::nullopt);
    EXPECT_EQ(civ::HexToBytes("0G"), std::nullopt);
    EXPECT_EQ(civ::HexToBytes("0A1B"), (Bytes{0x0A, 0x1B}));
    EXPECT_EQ(civ::BytesToHex(Bytes{0x15, 0x02, 0xFD}), "1502FD");
}

TEST(CivHex, NamesNeverCarryFrameBytes) {
    EXPECT_EQ(civ::NameToHex("AB", 5, kPrintableAscii), "4142202020");
    EXPECT_EQ(civ::NameToHex("A\xFD\xFE\xFF\x01Z", 6, kPrintableAscii), "41202020205A");
    // A Cyrillic letter is a character outside printable ASCII: one blank in its place, the
    // name after it where it stands.
    EXPECT_EQ(civ::NameToHex("Ж1", 4, kPrintableAscii), "20312020");
    EXPECT_EQ(civ::NameToHex("TOOLONGNAME", 5, kPrintableAscii), "544F4F4C4F");
}

// Where FindFrame finds the first frame of these bytes.
RingPiece Scan(const Bytes& bytes) {
    Bytes ring(256, 0);
    std::copy(bytes.begin(), bytes.end(), ring.begin());
    return civ::FindFrame(ring, 0, static_cast<uint32_t>(bytes.size()));
}

TEST(CivFraming, APreambleOfFeFeOpensAFrameAndMoreFeBytesBelongToIt) {
    auto scan = Scan({0xFE, 0xFE, 0xFE, 0xE0, 0x4A, 0xFB, 0xFD, 0x11});
    EXPECT_EQ(scan.kind, RingPiece::Kind::Whole);
    EXPECT_EQ(scan.end, 7u);
    EXPECT_EQ(scan.examined, 7u);

    // A lone FE before it is line noise.
    scan = Scan({0xFE, 0x00, 0xFE, 0xFE, 0xE0, 0x4A, 0xFB, 0xFD});
    EXPECT_EQ(scan.kind, RingPiece::Kind::Whole);
    EXPECT_EQ(scan.begin, 2u);
}

TEST(CivFraming, FeInsideAFrameRestartsIt) {
    const auto scan = Scan({0xFE, 0xFE, 0xE0, 0x4A, 0x03, 0xFE, 0xFE, 0xE0, 0x4A, 0xFB, 0xFD});
    EXPECT_EQ(scan.kind, RingPiece::Kind::Whole);
    EXPECT_EQ(scan.begin, 5u);
    EXPECT_EQ(scan.end, 11u);
}

TEST(CivFraming, AFrameWithoutACommandIsMalformedAndAnUnfinishedOneIsNone) {
    auto scan = Scan({0xFE, 0xFE, 0xE0, 0x4A, 0xFD, 0xFE, 0xFE, 0xE0, 0x4A, 0xFB, 0xFD});
    EXPECT_EQ(scan.kind, RingPiece::Kind::Skip);
    EXPECT_EQ(scan.end, 5u);
    scan = Scan({0xFE, 0xFE, 0xE0, 0x4A, 0x03, 0x00});
    EXPECT_EQ(scan.kind, RingPiece::Kind::None);
    EXPECT_EQ(scan.examined, 6u);
}

TEST(CivFraming, AFrameLongerThanAnyReplyIsDropped) {
    Bytes bytes{0xFE, 0xFE, 0xE0, 0x4A, 0x1A};
    bytes.insert(bytes.end(), 80, 0x20);
    bytes.push_back(0xFD);
    EXPECT_EQ(Scan(bytes).kind, RingPiece::Kind::None);
}

// A panel of no model: the exchange state and a port that is not open, whose ring the test
// fills itself.
class BarePanel : public ReceiverPanel {
  public:
    explicit BarePanel(FDX& state) { fdx_ = &state; }
    bool Create(ui::Form*, FDX*) override { return false; }
};

class CivRing : public ::testing::Test {
  protected:
    CivRing() {
        comm.Discarding = false;
        state.Port = &comm;
    }
    void Receive(const Bytes& bytes) { comm.StoreReceived(bytes.data(), bytes.size()); }
    bool Poll() {
        return link.Poll([this](const civ::CivReply& reply) { replies.push_back(reply); });
    }
    uint32_t Unread() const {
        return (comm.WriteIndex - comm.ReadIndex + Comm::kRingSize) % Comm::kRingSize;
    }

    Comm comm;
    FDX state;
    BarePanel panel{state};
    CivLink link{panel, 0x4A};
    std::vector<civ::CivReply> replies;
};

TEST_F(CivRing, BuildsFramesToTheReceiverAndTheIdentityQueryToAll) {
    EXPECT_EQ(link.BuildFrame("05" + civ::FreqToBcd(1'450'000, 0)),
              (Bytes{0xFE, 0xFE, 0x4A, 0xE0, 0x05, 0x00, 0x00, 0x00, 0x45, 0x01, 0xFD}));
    EXPECT_EQ(link.BuildFrame("050a"), std::nullopt);
    ASSERT_TRUE(link.Send("1900", civ::kIdentityCommand));
    EXPECT_EQ(link.BuildFrame("1900"), (Bytes{0xFE, 0xFE, 0x00, 0xE0, 0x19, 0x00, 0xFD}));
    EXPECT_EQ(link.CommandText, "1900");
}

TEST_F(CivRing, ReadReplyCopiesOneFrameAndLeavesAnUnfinishedOneInTheRing) {
    Receive({0x33, 0xFE, 0xFE, 0xE0, 0x4A, 0x15, 0x02, 0x01, 0x28, 0xFD, 0xFE, 0xFE, 0xE0});
    EXPECT_EQ(link.ReadReply(), 4u);
    EXPECT_EQ(link.ReplyBytes, (Bytes{0x15, 0x02, 0x01, 0x28, 0xFD}));
    EXPECT_EQ(link.ReplyText, "15020128");
    EXPECT_EQ(link.ReplySource, 0x4A);
    EXPECT_EQ(comm.ReadIndex, 10u);
    EXPECT_EQ(link.ReadReply(), 0u);
    EXPECT_EQ(comm.ReadIndex, 10u);
}

TEST_F(CivRing, AFrameAcrossTheEndOfTheRingIsReadWhole) {
    comm.ReadIndex = comm.WriteIndex = Comm::kRingSize - 4;
    Receive({0xFE, 0xFE, 0xE0, 0x4A, 0x03, 0x00, 0x00, 0x00, 0x45, 0x01, 0xFD});
    EXPECT_EQ(link.ReadReply(), 6u);
    EXPECT_EQ(link.ReplyText, "030000004501");
    EXPECT_EQ(comm.ReadIndex, 7u);
}

TEST_F(CivRing, AcknowledgementCompletesAndRejectionEndsTheExchangeRefused) {
    ASSERT_TRUE(link.Send("050000004501", 0x05));
    Receive({0xFE, 0xFE, 0xE0, 0x4A, 0xFB, 0xFD});
    EXPECT_TRUE(Poll());
    EXPECT_EQ(panel.PendingCommand, ReceiverPanel::NoExchange);
    EXPECT_EQ(panel.ReplyCountdown, 0);
    EXPECT_TRUE(panel.ReplyEvent.IsSet());

    ASSERT_TRUE(link.Send("1100", 0x11));
    Receive({0xFE, 0xFE, 0xE0, 0x4A, 0xFA, 0xFD});
    EXPECT_FALSE(Poll());
    EXPECT_EQ(panel.PendingCommand, ReceiverPanel::NoExchange);
    EXPECT_EQ(link.RejectCount, 1);
    EXPECT_EQ(link.LastReplyCode, 0xFA);
    Receive({0xFE, 0xFE, 0xE0, 0x4A, 0xFA, 0xFD, 0xFE, 0xFE, 0xE0, 0x4A, 0xFB, 0xFD});
    Poll();
    EXPECT_EQ(link.RejectCount, 0);
}

TEST_F(CivRing, OurEchoAndFramesOfOthersAreRemovedAndCompleteNothing) {
    ASSERT_TRUE(link.Send("03", 0x03));
    Receive({0xFE, 0xFE, 0x4A, 0xE0, 0x03, 0xFD,                                  // our echo
             0xFE, 0xFE, 0xE0, 0x52, 0x03, 0x00, 0x00, 0x00, 0x45, 0x01, 0xFD});  // an IC-R10
    EXPECT_FALSE(Poll());
    EXPECT_EQ(panel.PendingCommand, 0x03);
    EXPECT_EQ(Unread(), 0u);
    ASSERT_EQ(replies.size(), 2u);
    EXPECT_FALSE(replies[0].matched);
    EXPECT_FALSE(replies[1].matched);

    Receive({0xFE, 0xFE, 0xE0, 0x4A, 0x03, 0x00, 0x00, 0x00, 0x45, 0x01, 0xFD});
    EXPECT_TRUE(Poll());
    EXPECT_TRUE(replies.back().matched);
    EXPECT_TRUE(replies.back().completed);
    EXPECT_FALSE(replies.back().awaited);  // nobody is in WaitReply
}

TEST_F(CivRing, TheIdentityAnswerIsTakenFromAnySourceAddressedToUs) {
    ASSERT_TRUE(link.Send("1900", civ::kIdentityCommand));
    Receive({0xFE, 0xFE, 0x00, 0xE0, 0x19, 0x00, 0xFD});  // the echo: to all, from us
    EXPECT_FALSE(Poll());
    EXPECT_EQ(panel.PendingCommand, civ::kIdentityCommand);
    Receive({0xFE, 0xFE, 0xE0, 0x70, 0x19, 0x00, 0x70, 0xFD});
    EXPECT_TRUE(Poll());
    EXPECT_TRUE(replies.back().matched);
}

TEST_F(CivRing, AnUnparseableFrameIsSkippedAndTheGoodReplyBehindItCompletes) {
    ASSERT_TRUE(link.Send("1502", 0x15));
    Receive({0xFE, 0xFE, 0xE0, 0x4A, 0xFD, 0xFE, 0xFE, 0xE0, 0x4A, 0x15, 0x02, 0x00, 0x99, 0xFD});
    EXPECT_TRUE(Poll());
    EXPECT_EQ(link.ReplyText, "15020099");
    EXPECT_EQ(Unread(), 0u);
}

TEST_F(CivRing, MoreThanHalfARingOfNoiseEmptiesItAndCancelsTheExchange) {
    ASSERT_TRUE(link.Send("03", 0x03));
    Receive(Bytes(8192, 0x55));
    Poll();
    EXPECT_EQ(Unread(), 8192u);
    EXPECT_EQ(panel.PendingCommand, 0x03);

    Receive({0x55});
    Poll();
    EXPECT_EQ(Unread(), 0u);
    EXPECT_EQ(panel.PendingCommand, ReceiverPanel::NoExchange);
}

TEST_F(CivRing, NoiseAfterAGoodReplyIsNotAReasonToEmptyTheRing) {
    ASSERT_TRUE(link.Send("03", 0x03));
    Bytes bytes{0xFE, 0xFE, 0xE0, 0x4A, 0x03, 0x00, 0x00, 0x00, 0x45, 0x01,
                0xFD, 0xFE, 0xFE, 0x00, 0x4A, 0x01, 0x05, 0x01, 0xFD};
    bytes.insert(bytes.end(), 9000, 0x55);
    Receive(bytes);
    EXPECT_TRUE(Poll());
    EXPECT_EQ(replies.size(), 2u);
    EXPECT_EQ(Unread(), 9000u);  // judged again by the next pass
    Poll();
    EXPECT_EQ(Unread(), 0u);
}

TEST_F(CivRing, APassInsideAnotherDoesNothing) {
    ASSERT_TRUE(link.Send("03", 0x03));
    Receive({0xFE, 0xFE, 0xE0, 0x4A, 0xFB, 0xFD});
    panel.PollGuard = true;
    EXPECT_FALSE(Poll());
    EXPECT_EQ(Unread(), 6u);
    panel.PollGuard = false;
    EXPECT_TRUE(Poll());
}

TEST(PanelExchange, TenTicksAbandonAnExchange) {
    FDX state;
    BarePanel panel(state);
    ASSERT_TRUE(panel.BeginExchange(0x05));
    panel.ReplyEvent.Reset();
    for (int tick = 0; tick < 9; ++tick) panel.TimerTick();
    EXPECT_EQ(panel.PendingCommand, 0x05);
    EXPECT_FALSE(panel.ReplyEvent.IsSet());
    panel.TimerTick();
    EXPECT_EQ(panel.PendingCommand, ReceiverPanel::NoExchange);
    EXPECT_TRUE(panel.ReplyEvent.IsSet());
    EXPECT_FALSE(panel.ReplyComplete);
    EXPECT_TRUE(panel.BeginExchange(0x03));
}

TEST(PanelExchange, WaitReplyAfterACompleteReplyTouchesNothing) {
    FDX state;
    BarePanel panel(state);
    ASSERT_TRUE(panel.BeginExchange(0x05));
    panel.EndExchange(true);
    panel.PendingCommand = 0x15;  // as a send of the reply's own parser leaves it
    EXPECT_TRUE(panel.WaitReply());
    EXPECT_EQ(panel.PendingCommand, 0x15);
}

TEST(PanelExchange, CancelEndsTheExchangeAndEmptiesThePortUnlessKept) {
    FDX state;
    Comm comm;
    comm.Discarding = false;
    state.Port = &comm;
    BarePanel panel(state);
    ASSERT_TRUE(panel.BeginExchange(0x05));
    const uint8_t bytes[] = {1, 2, 3};
    comm.StoreReceived(bytes, 3);
    panel.FrequencyPosted = panel.LevelPosted = true;
    panel.Cancel(true);
    EXPECT_EQ(panel.PendingCommand, ReceiverPanel::NoExchange);
    EXPECT_EQ(panel.ReplyCountdown, ReceiverPanel::kReplyTicks);
    EXPECT_FALSE(panel.FrequencyPosted || panel.LevelPosted);
    EXPECT_EQ(comm.ReadIndex, 0u);
    panel.Cancel(false);
    EXPECT_EQ(comm.ReadIndex, comm.WriteIndex);
}

}  // namespace
